// Path helpers.
#include "playback/file_names.h"

#include <cctype>

namespace tessaview {

namespace {

size_t ExtensionStart(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string::npos;
    return dot;
}

}  // namespace

std::string WithoutExtension(const std::string& path) {
    const size_t dot = ExtensionStart(path);
    return dot == std::string::npos ? path : path.substr(0, dot);
}

std::string LowerCaseExtension(const std::string& path) {
    std::string result = path;
    const size_t dot = ExtensionStart(path);
    if (dot == std::string::npos) return result;
    for (size_t i = dot; i < result.size(); ++i)
        result[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(result[i])));
    return result;
}

}  // namespace tessaview
