// Path helpers for movie and subtitle names.
#pragma once

#include <string>

namespace tessaview {

// The path without its extension (from the last "." after the last "/", "\" or ":"); whole
// when none.
std::string WithoutExtension(const std::string& path);

// The path with only its extension in lower case. Folders and the base name keep their
// case, since the file system tells "Film" from "film".
std::string LowerCaseExtension(const std::string& path);

}  // namespace tessaview
