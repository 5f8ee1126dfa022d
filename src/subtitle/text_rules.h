// The reading rules every text reader shares: whole-file text with its line ends, trimming,
// digit tests, clock times in milliseconds, and the runtime's string-to-integer conversion.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessaview {

// The lines of a subtitle file's 8-bit text, which the caller holds in memory. Lines end at
// CR LF, CR alone or LF alone; the character 26 (Ctrl-Z) ends the text. Lines may be of any
// length.
class TextFile {
public:
    // The lines of `text`, which must outlive this TextFile; cut at the first Ctrl-Z.
    static TextFile Over(std::string_view text);

    // True when no line is left. A final line end does not start another, empty line.
    bool Eof() const { return pos_ >= text_.size(); }
    // The next line without its line end; the empty view at the end of the text.
    // The view stays valid as long as the text does.
    std::string_view ReadLine();

    std::string_view Text() const { return text_; }
    // The number of the line ReadLine returned last, counting from 1.
    int LineNumber() const { return lineNumber_; }

private:
    TextFile() = default;

    std::string_view text_;
    size_t pos_ = 0;
    int lineNumber_ = 0;
};

// Reads a whole file as bytes, untouched. Throws RuntimeError "Cannot open file <path>".
std::string ReadWholeFile(const std::string& path);
// Writes bytes to a new file only the user can read, removing whatever had that name first.
// Throws RuntimeError "Cannot create file <path>".
void WriteWholeFile(const std::string& path, std::string_view bytes);

// Removes from both ends every character whose code is 32 or less.
std::string_view Trim(std::string_view s);

// Not empty and nothing but 0 to 9.
bool IsDigitString(std::string_view s);
// Nothing but 0 to 9; true for the empty string.
bool IsDigitLine(std::string_view s);

// The runtime's string-to-integer conversion: leading blanks, an optional sign, decimal or
// hexadecimal after $, x or 0x. Anything else, and values beyond 32 bits, throw
// RuntimeError "'<s>' is not a valid integer value".
int32_t StrToInt(std::string_view s);

// h:m:s with an optional fraction after a full stop, fields untrimmed and read with StrToInt,
// as milliseconds (wrapping like 32-bit integer arithmetic on absurd hours). The fraction is
// FractionMilliseconds of the text after the full stop.
int32_t ParseClockTime(std::string_view s);

// The run of digits that `s` begins with, read as a decimal fraction of a second, in whole
// milliseconds: "5" and "500" give 500, digits after the third are dropped, no digits give 0,
// and whatever follows the run is ignored.
int32_t FractionMilliseconds(std::string_view s);

// Text before the first `c` (empty when there is none) and text after it (the whole text when
// there is none), the way the readers cut their fields.
std::string_view Before(std::string_view s, char c);
std::string_view After(std::string_view s, char c);

// Replaces every `from` (ASCII, compared ignoring case) by CR LF.
std::string ReplaceByCrLfIgnoreCase(std::string_view s, std::string_view from);
// Replaces every `c` by CR LF.
std::string ReplaceByCrLf(std::string_view s, char c);

}  // namespace tessaview
