// The typed reading rules of profile values (integers, booleans, text) and the text form written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessaview {

// At most this many characters of a value are returned on reading.
inline constexpr std::size_t kProfileValueMaxLength = 2047;

// Raw text after "=" as it is returned: up to a NUL or CR, blanks around it dropped, one
// enclosing pair of single or double quotes removed, then cut to kProfileValueMaxLength characters.
std::string ProfileTextValue(std::string_view raw);

// "0x"/"0X" + hex when longer than two characters, "$" + hex, or decimal with an optional
// sign; anything else (empty, trailing junk, out of 32-bit range) gives `fallback`.
int32_t ParseProfileInteger(std::string_view text, int32_t fallback);

// An integer read with default 1 or 0; any non-zero value is true.
bool ParseProfileBoolean(std::string_view text, bool fallback);

// The text written for a value. Plain text stays as it is; text that would not read back
// the same (line breaks, blanks at its ends, an enclosing pair of quotes) is made safe.
std::string ProfileWrittenText(std::string_view value);

}  // namespace tessaview
