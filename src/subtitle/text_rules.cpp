// The shared reading rules: line ends, Ctrl-Z, trimming, digit tests, number conversion.
#include "subtitle/text_rules.h"

#include "osdep/files.h"
#include "subtitle/runtime_error.h"

#include <cstdio>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <cstring>
#include <memory>

namespace tessaview {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

std::string ReadWholeFile(const std::string& path) {
    FilePtr f(std::fopen(path.c_str(), "rb"));
    if (!f) throw RuntimeError("Cannot open file " + path);
    std::string bytes;
    size_t size = 0;
    if (std::fseek(f.get(), 0, SEEK_END) == 0) {
        const long end = std::ftell(f.get());
        size = end > 0 ? static_cast<size_t>(end) : 0;
        std::rewind(f.get());
    }
    // Read straight into the string; keep reading in case the file grew meanwhile.
    bytes.resize(size);
    size_t got = std::fread(bytes.data(), 1, size, f.get());
    bytes.resize(got);
    char buffer[65536];
    while (!std::ferror(f.get()) && (got = std::fread(buffer, 1, sizeof buffer, f.get())) > 0)
        bytes.append(buffer, got);
    if (std::ferror(f.get()))  // a directory opens but does not read
        throw RuntimeError("Cannot open file " + path);
    return bytes;
}

void WriteWholeFile(const std::string& path, std::string_view bytes) {
    // Never through a name found in place: a link planted there would send the text to its
    // target. Removing the name (not what it points to) and creating anew avoids that.
    if (!RemoveName(path) || !CreatePrivateFile(path, bytes)) throw RuntimeError("Cannot create file " + path);
}

TextFile TextFile::Over(std::string_view text) {
    TextFile file;
    file.text_ = text;
    if (const void* z = text.empty() ? nullptr : std::memchr(text.data(), 26, text.size()))
        file.text_ = text.substr(0, static_cast<size_t>(static_cast<const char*>(z) - text.data()));
    return file;
}

namespace {

// The first CR or LF in [p, end), or end. Sixteen bytes at a time where SSE2 is there.
const char* findLineEnd(const char* p, const char* end) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - p >= 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)));
        if (mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask));
        p += 16;
    }
#endif
    while (p < end && *p != '\r' && *p != '\n') ++p;
    return p;
}

}  // namespace

std::string_view TextFile::ReadLine() {
    if (Eof()) return {};
    const char* begin = text_.data() + pos_;
    const char* end = text_.data() + text_.size();
    const char* lineEnd = findLineEnd(begin, end);
    const char* next = lineEnd;
    if (next < end) {
        if (*next == '\r' && next + 1 < end && next[1] == '\n')
            next += 2;
        else
            next += 1;
    }
    pos_ = static_cast<size_t>(next - text_.data());
    ++lineNumber_;
    return {begin, static_cast<size_t>(lineEnd - begin)};
}

std::string_view Trim(std::string_view s) {
    size_t b = 0;
    size_t e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
    return s.substr(b, e - b);
}

bool IsDigitLine(std::string_view s) {
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

bool IsDigitString(std::string_view s) { return !s.empty() && IsDigitLine(s); }

int32_t StrToInt(std::string_view s) {
    const auto invalid = [&] { return RuntimeError("'" + std::string(s) + "' is not a valid integer value"); };
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    bool hex = false;
    if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= s.size()) throw invalid();
    if (hex) {
        // Hexadecimal takes all 32 bits: $FFFFFFFF is -1.
        uint32_t bits = 0;
        for (; i < s.size(); ++i) {
            const char c = s[i];
            uint32_t digit = 0;
            if (c >= '0' && c <= '9')
                digit = static_cast<uint32_t>(c - '0');
            else if (c >= 'a' && c <= 'f')
                digit = static_cast<uint32_t>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                digit = static_cast<uint32_t>(c - 'A' + 10);
            else
                throw invalid();
            if (bits > 0x0FFFFFFFu) throw invalid();
            bits = (bits << 4) | digit;
        }
        return static_cast<int32_t>(negative ? 0u - bits : bits);
    }
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    int64_t value = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c < '0' || c > '9') throw invalid();
        value = value * 10 + (c - '0');
        if (value > limit) throw invalid();
    }
    return static_cast<int32_t>(negative ? -value : value);
}

std::string_view Before(std::string_view s, char c) {
    const size_t p = s.find(c);
    return p == std::string_view::npos ? std::string_view() : s.substr(0, p);
}

std::string_view After(std::string_view s, char c) {
    const size_t p = s.find(c);
    return p == std::string_view::npos ? s : s.substr(p + 1);
}

int32_t FractionMilliseconds(std::string_view s) {
    int32_t ms = 0;
    int32_t unit = 100;
    for (size_t i = 0; i < s.size() && unit > 0 && s[i] >= '0' && s[i] <= '9'; ++i, unit /= 10)
        ms += (s[i] - '0') * unit;
    return ms;
}

int32_t ParseClockTime(std::string_view s) {
    // No colon leaves an empty field, which the conversion rejects.
    const int32_t h = StrToInt(Before(s, ':'));
    s = After(s, ':');
    const int32_t m = StrToInt(Before(s, ':'));
    s = After(s, ':');
    const size_t dot = s.find('.');
    const std::string_view secondsField = dot == std::string_view::npos ? s : s.substr(0, dot);
    const int32_t sec = StrToInt(secondsField);
    // The fraction belongs to the seconds field: "-0.5" is half a second before 0.
    uint32_t fraction =
        dot == std::string_view::npos ? 0u : static_cast<uint32_t>(FractionMilliseconds(s.substr(dot + 1)));
    if (Trim(secondsField).substr(0, 1) == "-") fraction = 0u - fraction;
    // 32-bit wrap-around instead of undefined overflow on absurd hour counts.
    const uint32_t seconds =
        static_cast<uint32_t>(h) * 3600u + static_cast<uint32_t>(m) * 60u + static_cast<uint32_t>(sec);
    return static_cast<int32_t>(seconds * 1000u + fraction);
}

std::string ReplaceByCrLfIgnoreCase(std::string_view s, std::string_view from) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    std::string out;
    out.reserve(s.size() + 8);
    size_t i = 0;
    while (i < s.size()) {
        bool match = i + from.size() <= s.size();
        for (size_t k = 0; match && k < from.size(); ++k) match = lower(s[i + k]) == lower(from[k]);
        if (match && !from.empty()) {
            out += "\r\n";
            i += from.size();
        } else {
            out += s[i++];
        }
    }
    return out;
}

std::string ReplaceByCrLf(std::string_view s, char c) {
    std::string out;
    out.reserve(s.size() + 8);
    for (char x : s) {
        if (x == c)
            out += "\r\n";
        else
            out += x;
    }
    return out;
}

}  // namespace tessaview
