// Path helpers.
#include "playback/file_names.h"

#include "subtitle/subtitle_loader.h"

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

}  // namespace tessaview
