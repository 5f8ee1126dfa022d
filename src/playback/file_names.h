// Path helpers for movie and subtitle names.
#pragma once

#include <string>

namespace tessaview {

// The path without its extension (from the last "." after the last "/", "\" or ":"); whole
// when none.
std::string WithoutExtension(const std::string& path);

}  // namespace tessaview
