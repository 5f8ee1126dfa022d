// Where the program keeps its files. A copy run from its build folder or any folder the user
// can write keeps set.ini (and tmpsub) beside the executable; an installed copy never writes
// into its own folder: set.ini goes to the user's configuration folder and tmpsub to a
// private folder that lives as long as the program. The movie memory and the movies' speech
// profiles follow the same rule: beside the executable, or in the user's state folder.
#pragma once

#include <functional>
#include <string>

namespace tessaview {

struct FileLocations {
    std::string SettingsFolder;  // holds set.ini; the "program folder" of messages
    bool Installed = false;      // then SettingsFolder is made at the first save
    std::string StateFolder;     // holds the movie memory; made at its first save when installed
};

// Present in "<prefix>/share/tessaview/" when the program was installed into <prefix>.
inline constexpr const char* kInstalledMarker = "../share/tessaview/installed";

// `environment` reads a variable (null when unset); the real one is std::getenv.
FileLocations ChooseFileLocations(const std::string& executableFolder,
                                  const std::function<const char*(const char*)>& environment);

// The folders of an installed copy, whatever the executable's folder.
FileLocations InstalledFileLocations(const std::function<const char*(const char*)>& environment);

// Where movies' speech profiles are kept: "speech-cache" in the state folder.
std::string SpeechCacheFolder(const FileLocations& locations);

// Makes `folder` and its missing parents, readable by the user only. Silent on failure:
// the write that follows reports it.
void MakePrivateFolders(const std::string& folder);

// A fresh folder only the user can open (mode 0700) under `runtimeFolder` when that is
// given and usable, else in the temporary folder; removed with its contents when the object
// goes away. Path() is empty when no folder could be made.
class PrivateFolder {
public:
    PrivateFolder() = default;
    explicit PrivateFolder(const std::string& runtimeFolder);
    ~PrivateFolder();
    PrivateFolder(PrivateFolder&& other) noexcept;
    PrivateFolder& operator=(PrivateFolder&& other) noexcept;
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

}  // namespace tessaview
