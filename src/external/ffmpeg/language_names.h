// Human names for the two-letter language codes of a VobSub index.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessaview {

// "en" gives "English"; an unknown code is returned as written (printable ASCII only), and
// an empty or undetermined code gives "Undetermined".
std::string languageName(std::string_view code);

// Writes `text` zero-terminated into `buffer` of `capacity` bytes, cut to fit.
void copyZeroTerminated(std::string_view text, char* buffer, size_t capacity);

}  // namespace tessaview
