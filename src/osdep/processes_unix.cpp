// Linux: /proc tells what a process runs and since when; pidfd binds a handle to it.
#include "osdep/processes.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace tessaview {

int64_t CurrentProcessId() { return static_cast<int64_t>(::getpid()); }

int64_t CurrentUserId() { return static_cast<int64_t>(::getuid()); }

bool ProcessAlive(int64_t pid) { return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM; }

// The "Uid:" line of its status.
std::optional<int64_t> ProcessUser(int64_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("Uid:", 0) == 0) {
            std::istringstream fields(line.substr(4));
            int64_t uid = 0;
            if (fields >> uid) return uid;
        }
    return std::nullopt;
}

// Its start in clock ticks after boot (field 22 of its stat line, counted after the command
// name, which may hold blanks) carried over from the boot-time clock.
std::optional<std::chrono::system_clock::time_point> ProcessStartTime(int64_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(in, line);
    const auto close = line.rfind(')');
    if (close == std::string::npos) return std::nullopt;
    std::istringstream fields(line.substr(close + 1));
    std::string field;
    for (int i = 3; i < 22 && fields >> field;) ++i;
    unsigned long long ticks = 0;
    timespec boot{}, real{};
    const long perSecond = ::sysconf(_SC_CLK_TCK);
    if (!(fields >> ticks) || perSecond <= 0 || ::clock_gettime(CLOCK_BOOTTIME, &boot) != 0 ||
        ::clock_gettime(CLOCK_REALTIME, &real) != 0)
        return std::nullopt;
    using namespace std::chrono;
    const auto hz = static_cast<unsigned long long>(perSecond);
    const auto sinceStart = seconds(boot.tv_sec) + nanoseconds(boot.tv_nsec) - seconds(ticks / hz) -
                            nanoseconds(ticks % hz * 1'000'000'000ULL / hz);
    const auto now =
        system_clock::from_time_t(real.tv_sec) + duration_cast<system_clock::duration>(nanoseconds(real.tv_nsec));
    return now - duration_cast<system_clock::duration>(sinceStart);
}

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return FileIdentity{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
}

std::optional<FileIdentity> ExecutableOf(int64_t pid) {
    return IdentityOf(pid == CurrentProcessId() ? std::string("/proc/self/exe")
                                                : "/proc/" + std::to_string(pid) + "/exe");
}

std::string OwnExecutablePath() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

bool MakePrivateFolder(const std::string& path) {
    ::mkdir(path.c_str(), 0700);
    // The folder may sit in a shared /tmp: use it only when it is ours and closed to others.
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
           (info.st_mode & 0022) == 0;
}

ProcessHandle::ProcessHandle(int64_t pid) : pid_(pid) {
#ifdef SYS_pidfd_open
    handle_ = static_cast<int>(::syscall(SYS_pidfd_open, static_cast<pid_t>(pid), 0));
    unsupported_ = handle_ < 0 && errno == ENOSYS;
#else
    unsupported_ = true;
#endif
}

ProcessHandle::~ProcessHandle() {
    if (handle_ >= 0) ::close(handle_);
}

bool ProcessHandle::Usable() const { return handle_ >= 0 || unsupported_; }

void ProcessHandle::Kill() const {
#ifdef SYS_pidfd_send_signal
    if (handle_ >= 0) {
        ::syscall(SYS_pidfd_send_signal, handle_, SIGKILL, nullptr, 0);
        return;
    }
#endif
    ::kill(static_cast<pid_t>(pid_), SIGKILL);
}

}  // namespace tessaview
