// iconv behind the code-page helpers; whole texts are converted in one pass.
#include "subtitle/code_page.h"

#include <iconv.h>
#include <langinfo.h>
#include <cerrno>
#include <clocale>
#include <stdexcept>
#include <vector>

namespace tessaview {

namespace {

iconv_t openIconv(const std::string& to, const std::string& from) {
    const iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::invalid_argument("unknown code page: " + (to == "UTF-8" ? from : to));
    return cd;
}

// Converts what it can; returns false and leaves `in` at the offending sequence when the
// input holds something invalid or unconvertible.
bool convertWith(iconv_t cd, const char*& in, size_t& inLeft, std::string& out) {
    char buffer[8192];
    while (inLeft > 0) {
        char* o = buffer;
        size_t oLeft = sizeof buffer;
        char* i = const_cast<char*>(in);
        const size_t r = iconv(cd, &i, &inLeft, &o, &oLeft);
        in = i;
        out.append(buffer, static_cast<size_t>(o - buffer));
        if (r == static_cast<size_t>(-1) && errno != E2BIG) return false;
    }
    return true;
}

// Writes out what a code page that composes characters (CP1255) still holds back.
void flushWith(iconv_t cd, std::string& out) {
    char buffer[64];
    char* o = buffer;
    size_t oLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &o, &oLeft);
    out.append(buffer, static_cast<size_t>(o - buffer));
}

class Iconv {
public:
    Iconv(const std::string& to, const std::string& from) : cd_(openIconv(to, from)) {}
    ~Iconv() { iconv_close(cd_); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool convert(const char*& in, size_t& inLeft, std::string& out) { return convertWith(cd_, in, inLeft, out); }

private:
    iconv_t cd_;
};

void appendUtf32Le(std::string& out, char32_t c) {
    for (int k = 0; k < 4; ++k) out += static_cast<char>((c >> (8 * k)) & 0xFF);
}

// Decodes to UTF-32LE bytes; broken sequences become '?' right away.
std::string toUtf32(std::string_view bytes, UnicodeForm form) {
    std::string out;
    out.reserve(bytes.size() * 2);
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    if (form == UnicodeForm::Utf8) {
        size_t i = 0;
        while (i < n) {
            const unsigned char c = b[i];
            int len = 0;
            char32_t cp = 0;
            if (c < 0x80) {
                len = 1;
                cp = c;
            } else if (c >= 0xC2 && c < 0xE0) {
                len = 2;
                cp = c & 0x1F;
            } else if (c >= 0xE0 && c < 0xF0) {
                len = 3;
                cp = c & 0x0F;
            } else if (c >= 0xF0 && c < 0xF5) {
                len = 4;
                cp = c & 0x07;
            }
            bool ok = len > 0 && i + static_cast<size_t>(len) <= n;
            for (int k = 1; ok && k < len; ++k) {
                ok = (b[i + k] & 0xC0) == 0x80;
                cp = (cp << 6) | (b[i + k] & 0x3F);
            }
            const char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
            if (ok && (cp < minimum[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000))) ok = false;
            if (ok) {
                appendUtf32Le(out, cp);
                i += static_cast<size_t>(len);
            } else {
                appendUtf32Le(out, U'?');
                i += 1;
            }
        }
        return out;
    }
    const bool le = form == UnicodeForm::Utf16Le;
    const auto unit = [&](size_t i) -> char32_t {
        return le ? static_cast<char32_t>(b[i] | (b[i + 1] << 8)) : static_cast<char32_t>((b[i] << 8) | b[i + 1]);
    };
    const size_t units = n / 2;  // an odd last byte is not a code unit
    size_t u = 0;
    while (u < units) {
        const char32_t c = unit(2 * u);
        if (c >= 0xD800 && c < 0xDC00 && u + 1 < units) {
            const char32_t d = unit(2 * (u + 1));
            if (d >= 0xDC00 && d < 0xE000) {
                appendUtf32Le(out, 0x10000 + ((c - 0xD800) << 10) + (d - 0xDC00));
                u += 2;
                continue;
            }
        }
        appendUtf32Le(out, (c >= 0xD800 && c < 0xE000) ? U'?' : c);
        u += 1;
    }
    return out;
}

}  // namespace

const std::string& LocaleAnsiCodePage() {
    static const std::string codePage = [] {
        const char* current = std::setlocale(LC_CTYPE, nullptr);
        const std::string saved = current ? current : "C";
        std::setlocale(LC_CTYPE, "");
        std::string name = nl_langinfo(CODESET);
        std::setlocale(LC_CTYPE, saved.c_str());
        if (name.empty() || name == "ANSI_X3.4-1968" || name == "ASCII" || name == "US-ASCII")
            return std::string("UTF-8");
        return name;
    }();
    return codePage;
}

bool IsUtf8CodePage(std::string_view codePage) {
    std::string plain;
    for (char c : codePage)
        if (c != '-' && c != '_') plain += static_cast<char>((c >= 'a' && c <= 'z') ? c - 32 : c);
    return plain == "UTF8" || plain == "CP65001";
}

std::string UnicodeToCodePage(std::string_view bytes, UnicodeForm form, const std::string& codePage) {
    const std::string wide = toUtf32(bytes, form);
    Iconv cd(codePage, "UTF-32LE");
    std::string out;
    out.reserve(bytes.size());
    const char* in = wide.data();
    size_t left = wide.size();
    while (!cd.convert(in, left, out)) {
        // Unconvertible character: the default character, then on with the next one.
        out += '?';
        in += 4;
        left -= 4;
    }
    return out;
}

std::string CharSetOwnCodePage(int charSet) {
    switch (charSet) {
        case 0:
            return "CP1252";
        case 77:
            return "MACINTOSH";
        case 128:
            return "CP932";
        case 129:
            return "CP949";
        case 130:
            return "JOHAB";
        case 134:
            return "CP936";
        case 136:
            return "CP950";
        case 161:
            return "CP1253";
        case 162:
            return "CP1254";
        case 163:
            return "CP1258";
        case 177:
            return "CP1255";
        case 178:
            return "CP1256";
        case 186:
            return "CP1257";
        case 204:
            return "CP1251";
        case 222:
            return "CP874";
        case 238:
            return "CP1250";
        case 255:
            return "CP437";
        default:
            return {};
    }
}

std::string WindowsCharSetCodePage(int charSet) {
    std::string codePage = CharSetOwnCodePage(charSet);
    return codePage.empty() ? LocaleAnsiCodePage() : codePage;
}

CodePageConverter::CodePageConverter(const std::string& codePage) : cd_(openIconv("UTF-8", codePage)) {}

CodePageConverter::~CodePageConverter() { iconv_close(static_cast<iconv_t>(cd_)); }

bool CodePageConverter::Convert(std::string_view bytes, std::string& utf8) {
    const auto cd = static_cast<iconv_t>(cd_);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial shift state
    utf8.reserve(utf8.size() + bytes.size() + bytes.size() / 4);
    const char* in = bytes.data();
    size_t left = bytes.size();
    bool clean = true;
    while (!convertWith(cd, in, left, utf8)) {
        clean = false;
        flushWith(cd, utf8);
        utf8 += "\xEF\xBF\xBD";
        in += 1;
        left -= 1;
    }
    flushWith(cd, utf8);
    return clean;
}

std::string CodePageToUtf8(std::string_view bytes, const std::string& codePage) {
    CodePageConverter converter(codePage);
    std::string out;
    converter.Convert(bytes, out);
    return out;
}

}  // namespace tessaview
