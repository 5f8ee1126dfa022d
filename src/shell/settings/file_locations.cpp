// Choosing the settings folder of an installed or a portable copy, and private folders.
#include "shell/settings/file_locations.h"

#include "osdep/files.h"

#include <filesystem>
#include <utility>

namespace tessaview {

namespace {

// Relative values are ignored, as the base-directory rules of the desktop ask.
std::string absoluteVariable(const std::function<const char*(const char*)>& environment, const char* name) {
    const char* value = environment(name);
    return value != nullptr && value[0] == '/' ? std::string(value) : std::string();
}

std::string homeFolder(const std::function<const char*(const char*)>& environment) {
    std::string home = absoluteVariable(environment, "HOME");
    return home.empty() ? UserHomeFolder() : home;
}

}  // namespace

FileLocations ChooseFileLocations(const std::string& executableFolder,
                                  const std::function<const char*(const char*)>& environment) {
    std::error_code error;
    // A portable copy in a folder the user cannot write (unpacked by another user, on a
    // read-only medium) keeps its files where an installed copy would, rather than failing.
    if (!std::filesystem::exists(std::filesystem::path(executableFolder) / kInstalledMarker, error) &&
        CanWriteFolder(executableFolder))
        return {executableFolder, false, executableFolder};
    return InstalledFileLocations(environment);
}

FileLocations InstalledFileLocations(const std::function<const char*(const char*)>& environment) {
    const auto folder = [&](const char* variable, const char* fallback) {
        std::string base = absoluteVariable(environment, variable);
        if (base.empty()) base = homeFolder(environment) + fallback;
        return (std::filesystem::path(base) / "tessaview").lexically_normal().string();
    };
    return {folder("XDG_CONFIG_HOME", "/.config"), true, folder("XDG_STATE_HOME", "/.local/state")};
}

std::string SpeechCacheFolder(const FileLocations& locations) {
    return (std::filesystem::path(locations.StateFolder) / "speech-cache").string();
}

void MakePrivateFolders(const std::string& folder) {
    std::filesystem::path made;
    for (const auto& part : std::filesystem::path(folder)) {
        made /= part;
        MakeOwnFolder(made.string());
    }
}

PrivateFolder::PrivateFolder(const std::string& runtimeFolder) {
    std::error_code error;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    for (const std::filesystem::path& base : {std::filesystem::path(runtimeFolder), temporary}) {
        if (base.empty()) continue;
        path_ = MakeUniqueFolder((base / "tessaview-XXXXXX").string());
        if (!path_.empty()) return;
    }
}

PrivateFolder::~PrivateFolder() {
    std::error_code error;
    if (!path_.empty()) std::filesystem::remove_all(path_, error);
}

PrivateFolder::PrivateFolder(PrivateFolder&& other) noexcept : path_(std::exchange(other.path_, {})) {}

PrivateFolder& PrivateFolder::operator=(PrivateFolder&& other) noexcept {
    std::swap(path_, other.path_);
    return *this;
}

}  // namespace tessaview
