// Code-page decoding of cue bytes for display, one open converter per character set.
#include "presentation/code_page_decoder.h"

#include "subtitle/code_page.h"

#include <algorithm>
#include <stdexcept>

namespace tessaview {

namespace {

std::unique_ptr<CodePageConverter> OpenConverter(const std::string& codePage) {
    try {
        return std::make_unique<CodePageConverter>(codePage);
    } catch (const std::invalid_argument&) {
        return nullptr;
    }
}

bool IsAscii(const std::string& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

CodePageDecoder::CodePageDecoder(int charSet, const std::string& fileCodePage) : charSet_(charSet) {
    const std::string codePage = charSet == 1 && !fileCodePage.empty() ? fileCodePage : WindowsCharSetCodePage(charSet);
    primary_ = OpenConverter(codePage);
    if (!primary_)
        primary_ = OpenConverter("CP1252");
    else if (IsUtf8CodePage(codePage))
        fallback_ = OpenConverter("CP1252");
}

CodePageDecoder::~CodePageDecoder() = default;

QString CodePageDecoder::Decode(const std::string& bytes) const {
    if (IsAscii(bytes) || !primary_) return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    std::string text;
    if (!primary_->Convert(bytes, text) && fallback_) {
        std::string fallback;
        fallback_->Convert(bytes, fallback);
        return FromUtf8(fallback);
    }
    return FromUtf8(text);
}

}  // namespace tessaview
