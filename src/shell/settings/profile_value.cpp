// The typed reading rules of profile values and the text form written.
#include "shell/settings/profile_value.h"

#include <charconv>

namespace tessaview {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool isQuotePair(std::string_view text) {
    return text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front();
}

// Hex digits only, up to 32 bits; a value above 0x7FFFFFFF wraps to a negative number,
// as a 32-bit integer read from such text always has.
bool parseHex(std::string_view digits, int32_t& out) {
    if (digits.empty()) return false;
    uint32_t value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (error != std::errc() || end != digits.data() + digits.size()) return false;
    out = static_cast<int32_t>(value);
    return true;
}

bool parseDecimal(std::string_view text, int32_t& out) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return false;
    }
    int32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return false;
    out = value;
    return true;
}

}  // namespace

std::string ProfileTextValue(std::string_view raw) {
    // A NUL or a lone CR ends the value, as either ends it on writing: what is read is
    // what a save writes back.
    std::string_view text = trimBlanks(raw.substr(0, raw.find_first_of(std::string_view("\r\0", 2))));
    if (isQuotePair(text)) text = text.substr(1, text.size() - 2);
    if (text.size() > kProfileValueMaxLength) text = text.substr(0, kProfileValueMaxLength);
    return std::string(text);
}

int32_t ParseProfileInteger(std::string_view text, int32_t fallback) {
    int32_t value = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return parseHex(text.substr(2), value) ? value : fallback;
    if (!text.empty() && text[0] == '$') return parseHex(text.substr(1), value) ? value : fallback;
    return parseDecimal(text, value) ? value : fallback;
}

bool ParseProfileBoolean(std::string_view text, bool fallback) {
    return ParseProfileInteger(text, fallback ? 1 : 0) != 0;
}

std::string ProfileWrittenText(std::string_view value) {
    // A value is one line of text; a NUL ends it as it would end any C string.
    value = value.substr(0, value.find('\0'));
    std::string text(value);
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    const bool needsQuotes = !text.empty() && (isBlank(text.front()) || isBlank(text.back()) || isQuotePair(text));
    return needsQuotes ? '"' + text + '"' : text;
}

}  // namespace tessaview
