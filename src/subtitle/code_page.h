// 8-bit code pages through iconv: the locale's ANSI code page, Unicode text into a code page
// (the loader's conversion), and code-page bytes into UTF-8 (for whatever displays cue text).
#pragma once

#include <string>
#include <string_view>

namespace tessaview {

// The locale's character set (LC_CTYPE from the environment), e.g. "UTF-8" or "CP1252".
// A plain ASCII locale counts as UTF-8, as the windowing toolkit reads it too. Read once;
// the process's own locale is left as it was.
const std::string& LocaleAnsiCodePage();

// The code page behind a Windows font character set (0 CP1252, 128 CP932, 204 CP1251, ...);
// the character sets without one of their own (1 DEFAULT, 2 SYMBOL, unknown) use the ANSI
// code page.
std::string WindowsCharSetCodePage(int charSet);
// The code page of a character set that has one of its own (77 Mac Roman, 163 CP1258, 255
// CP437, ...); empty for the others.
std::string CharSetOwnCodePage(int charSet);

// True when `codePage` names UTF-8 in any of its spellings.
bool IsUtf8CodePage(std::string_view codePage);

// Unicode text in one of these encodings (without its byte-order mark) into `codePage`.
// A character the code page cannot hold, or a broken sequence, becomes '?'. Surrogate pairs
// are decoded whole. Throws std::invalid_argument when iconv does not know `codePage`.
enum class UnicodeForm { Utf16Le, Utf16Be, Utf8 };
std::string UnicodeToCodePage(std::string_view bytes, UnicodeForm form, const std::string& codePage);

// Bytes in `codePage` into UTF-8; a byte that does not decode becomes U+FFFD.
// Throws std::invalid_argument when iconv does not know `codePage`.
std::string CodePageToUtf8(std::string_view bytes, const std::string& codePage);

// The same conversion with the converter opened once, for text converted again and again.
class CodePageConverter {
public:
    // Throws std::invalid_argument when iconv does not know `codePage`.
    explicit CodePageConverter(const std::string& codePage);
    ~CodePageConverter();
    CodePageConverter(const CodePageConverter&) = delete;
    CodePageConverter& operator=(const CodePageConverter&) = delete;

    // Appends the UTF-8 form of `bytes` to `utf8`; false when some byte did not decode.
    bool Convert(std::string_view bytes, std::string& utf8);

private:
    void* cd_;
};

}  // namespace tessaview
