// Processes and users as the instance control sees them: who runs what, since when, and the
// one signal it ever sends.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace tessaview {

int64_t CurrentProcessId();
int64_t CurrentUserId();

bool ProcessAlive(int64_t pid);
std::optional<int64_t> ProcessUser(int64_t pid);  // its real user
// When it started, on the wall clock.
std::optional<std::chrono::system_clock::time_point> ProcessStartTime(int64_t pid);

// A file as the system knows it, whatever name or link leads there.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};
std::optional<FileIdentity> IdentityOf(const std::string& path);
std::optional<FileIdentity> ExecutableOf(int64_t pid);  // the program file it runs
std::string OwnExecutablePath();                        // empty when unknown

// Makes `path` (one level) if missing; true when it is then a folder of the user's own that
// no one else may write.
bool MakePrivateFolder(const std::string& path);

// A handle that stays bound to one process, so its number cannot be reused between the check
// of what it runs and the signal.
class ProcessHandle {
public:
    explicit ProcessHandle(int64_t pid);
    ~ProcessHandle();
    ProcessHandle(const ProcessHandle&) = delete;
    ProcessHandle& operator=(const ProcessHandle&) = delete;

    bool Usable() const;
    void Kill() const;  // at once, no chance to clean up

private:
    int64_t pid_;
    int handle_ = -1;
    bool unsupported_ = false;  // a system without such handles: the number alone serves
};

}  // namespace tessaview
