// Code-page decoding of cue bytes through iconv, one open converter per character set.
#include "presentation/code_page_decoder.h"

#include <cerrno>
#include <cstdint>
#include <clocale>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>

namespace tessaview {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(static_cast<intptr_t>(-1));

// The locale's own encoding stands for the ANSI code page. A plain "C" locale reports
// ASCII; like Qt we read such a system as UTF-8.
std::string AnsiCodePageName() {
    const char* codeset = nl_langinfo(CODESET);
    std::string name = codeset ? codeset : "";
    if (name.empty() || name == "ANSI_X3.4-1968" || name == "ASCII" || name == "US-ASCII") {
        return "UTF-8";
    }
    return name;
}

bool IsUtf8Name(const std::string& name) {
    return strcasecmp(name.c_str(), "UTF-8") == 0 || strcasecmp(name.c_str(), "UTF8") == 0;
}

bool IsAscii(const std::string& bytes) {
    for (unsigned char c : bytes) {
        if (c >= 0x80) return false;
    }
    return true;
}

}  // namespace

std::string CodePageName(int charSet) {
    switch (charSet) {
    case 0: return "CP1252";
    case 128: return "CP932";
    case 129: return "CP949";
    case 134: return "CP936";
    case 136: return "CP950";
    case 161: return "CP1253";
    case 162: return "CP1254";
    case 177: return "CP1255";
    case 178: return "CP1256";
    case 186: return "CP1257";
    case 204: return "CP1251";
    case 222: return "CP874";
    case 238: return "CP1250";
    default: return {};
    }
}

struct CodePageDecoder::Converter {
    iconv_t cd = kNoConverter;

    explicit Converter(const std::string& from) : cd(iconv_open("UTF-8", from.c_str())) {}
    ~Converter() {
        if (cd != kNoConverter) iconv_close(cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Valid() const { return cd != kNoConverter; }

    // Converts all of `bytes`; an unreadable byte becomes U+FFFD and sets `clean` false.
    QString Convert(const std::string& bytes, bool& clean) const {
        clean = true;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial shift state
        std::string out(bytes.size() * 4 + 16, '\0');
        size_t used = 0;
        // Code pages that compose characters (CP1255) hold the last one back until flushed.
        const auto flush = [&] {
            for (;;) {
                if (out.size() - used < 16) out.resize(out.size() + 16);
                char* dst = out.data() + used;
                size_t outLeft = out.size() - used;
                const size_t r = iconv(cd, nullptr, nullptr, &dst, &outLeft);
                used = out.size() - outLeft;
                if (r != static_cast<size_t>(-1) || errno != E2BIG) break;
            }
        };
        char* in = const_cast<char*>(bytes.data());
        size_t inLeft = bytes.size();
        while (inLeft > 0) {
            char* dst = out.data() + used;
            size_t outLeft = out.size() - used;
            const size_t r = iconv(cd, &in, &inLeft, &dst, &outLeft);
            used = out.size() - outLeft;
            if (r != static_cast<size_t>(-1)) break;
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            // EILSEQ or EINVAL (cut short at the end): skip one byte, show a replacement.
            clean = false;
            flush();
            if (out.size() - used < 3) out.resize(out.size() * 2);
            std::memcpy(out.data() + used, "\xEF\xBF\xBD", 3);
            used += 3;
            ++in;
            --inLeft;
        }
        flush();
        return QString::fromUtf8(out.data(), static_cast<qsizetype>(used));
    }
};

CodePageDecoder::CodePageDecoder(int charSet) : charSet_(charSet) {
    std::string name = CodePageName(charSet);
    if (name.empty()) name = AnsiCodePageName();
    primaryIsUtf8_ = IsUtf8Name(name);
    primary_ = std::make_unique<Converter>(name);
    if (!primary_->Valid()) {
        primary_ = std::make_unique<Converter>("CP1252");
        primaryIsUtf8_ = false;
    }
    if (primaryIsUtf8_) fallback_ = std::make_unique<Converter>("CP1252");
}

CodePageDecoder::~CodePageDecoder() = default;

QString CodePageDecoder::Decode(const std::string& bytes) const {
    if (IsAscii(bytes)) return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (!primary_->Valid()) return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    bool clean = true;
    QString text = primary_->Convert(bytes, clean);
    if (!clean && fallback_ && fallback_->Valid()) {
        bool fallbackClean = true;
        return fallback_->Convert(bytes, fallbackClean);
    }
    return text;
}

}  // namespace tessaview
