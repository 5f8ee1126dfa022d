// Path helpers.
#include "playback/file_names.h"

#include "subtitle/subtitle_loader.h"

#include <cctype>

namespace tessaview {

namespace {

// Where the extension starts, by the same rule the subtitle loader splits names with.
size_t ExtensionStart(const std::string& path) {
    const std::string_view ext = ExtractFileExt(path);
    return ext.empty() ? std::string::npos : path.size() - ext.size();
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
