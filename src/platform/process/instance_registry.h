// The Linux instance control: every running instance registers itself in a per-user folder,
// and a stored process number is ended only when it is a live instance of our executable.
#pragma once

#include "osdep/processes.h"
#include "platform/process/instance_control.h"

#include <optional>
#include <string>
#include <string_view>

namespace tessaview {

// The main window's identity under which a running instance is found.
inline constexpr std::string_view kMainWindowClass = "TfmMain";
inline constexpr std::string_view kMainWindowTitle = "Tessaview";

class InstanceRegistry final : public InstanceControl {
public:
    struct Options {
        // Empty: $XDG_RUNTIME_DIR/tessaview, or /tmp/tessaview-<uid> without it.
        std::string Directory;
        // Empty: the executable this process runs. Tests name another program here.
        std::string OwnExecutable;
    };

    InstanceRegistry();
    explicit InstanceRegistry(Options options);
    ~InstanceRegistry() override;  // unregisters
    InstanceRegistry(const InstanceRegistry&) = delete;
    InstanceRegistry& operator=(const InstanceRegistry&) = delete;

    // Called once the main window is up: from then on this process counts as a running
    // instance. A second call replaces the first. Silent when the folder is unusable.
    void Register(std::string_view className = kMainWindowClass, std::string_view title = kMainWindowTitle);
    // Called when the main window goes away (the destructor does it too).
    void Unregister();

    bool MainWindowExists() override;
    void TerminateStaleInstance(int64_t pid, std::chrono::system_clock::time_point storedAt) override;

    static int64_t CurrentProcessId();
    const std::string& Directory() const { return directory_; }

private:
    bool runsOwnExecutable(int64_t pid) const;
    bool ensureDirectory() const;
    std::string entryName(int64_t pid) const;

    std::string directory_;
    std::string ownExecutablePath_;
    std::optional<FileIdentity> ownExecutable_;
    bool registered_ = false;
};

}  // namespace tessaview
