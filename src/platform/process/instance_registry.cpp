// Per-user registration of running instances and the checked ending of a stale one.
#include "platform/process/instance_registry.h"

#include <cerrno>
#include <charconv>
#include <ctime>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace tessaview {

namespace {

constexpr std::string_view kEntrySuffix = ".instance";

std::string defaultDirectory() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime == '/')
        return std::string(runtime) + "/tessaview";
    return "/tmp/tessaview-" + std::to_string(::getuid());
}

std::string procExe(int64_t pid) {
    return "/proc/" + std::to_string(pid) + "/exe";
}

std::string ownExecutablePath() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

struct Entry {
    int64_t pid = 0;
    std::string executable;
    std::string className;
    std::string title;
};

bool readEntry(const std::filesystem::path& file, Entry& entry) {
    std::ifstream in(file, std::ios::binary);
    std::string pid;
    if (!std::getline(in, pid) || !std::getline(in, entry.executable) || !std::getline(in, entry.className) ||
        !std::getline(in, entry.title))
        return false;
    const auto [end, error] = std::from_chars(pid.data(), pid.data() + pid.size(), entry.pid);
    return error == std::errc() && end == pid.data() + pid.size() && entry.pid > 0;
}

// The real user of process `pid`, from the "Uid:" line of its status.
std::optional<uid_t> realUser(int64_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("Uid:", 0) == 0) {
            std::istringstream fields(line.substr(4));
            uid_t uid = 0;
            if (fields >> uid) return uid;
        }
    return std::nullopt;
}

// When process `pid` started, on the wall clock: its start in clock ticks after boot (field
// 22 of its stat line, counted after the command name, which may hold blanks) carried over
// from the boot-time clock.
std::optional<std::chrono::system_clock::time_point> startTime(int64_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(in, line);
    const auto close = line.rfind(')');
    if (close == std::string::npos) return std::nullopt;
    std::istringstream fields(line.substr(close + 1));
    std::string field;
    for (int i = 3; i < 22 && fields >> field;) ++i;
    unsigned long long ticks = 0;
    timespec boot {}, real {};
    const long perSecond = ::sysconf(_SC_CLK_TCK);
    if (!(fields >> ticks) || perSecond <= 0 || ::clock_gettime(CLOCK_BOOTTIME, &boot) != 0 ||
        ::clock_gettime(CLOCK_REALTIME, &real) != 0)
        return std::nullopt;
    using namespace std::chrono;
    const auto hz = static_cast<unsigned long long>(perSecond);
    const auto sinceStart = seconds(boot.tv_sec) + nanoseconds(boot.tv_nsec) - seconds(ticks / hz) -
                            nanoseconds(ticks % hz * 1'000'000'000ULL / hz);
    const auto now = system_clock::from_time_t(real.tv_sec) + duration_cast<system_clock::duration>(nanoseconds(real.tv_nsec));
    return now - duration_cast<system_clock::duration>(sinceStart);
}

bool isAlive(int64_t pid) {
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// A process handle that stays bound to one process, so the number cannot be reused between
// the check of what it runs and the signal. Absent on kernels without pidfd.
class ProcessHandle {
public:
    explicit ProcessHandle(int64_t pid) {
#ifdef SYS_pidfd_open
        fd_ = static_cast<int>(::syscall(SYS_pidfd_open, static_cast<pid_t>(pid), 0));
        unsupported_ = fd_ < 0 && errno == ENOSYS;
#else
        (void)pid;
        unsupported_ = true;
#endif
    }
    ~ProcessHandle() {
        if (fd_ >= 0) ::close(fd_);
    }
    ProcessHandle(const ProcessHandle&) = delete;
    ProcessHandle& operator=(const ProcessHandle&) = delete;

    bool usable() const { return fd_ >= 0 || unsupported_; }
    void kill(int64_t pid) const {
#ifdef SYS_pidfd_send_signal
        if (fd_ >= 0) {
            ::syscall(SYS_pidfd_send_signal, fd_, SIGKILL, nullptr, 0);
            return;
        }
#endif
        ::kill(static_cast<pid_t>(pid), SIGKILL);
    }

private:
    int fd_ = -1;
    bool unsupported_ = false;
};

}  // namespace

InstanceRegistry::InstanceRegistry() : InstanceRegistry(Options{}) {}

InstanceRegistry::InstanceRegistry(Options options)
    : directory_(options.Directory.empty() ? defaultDirectory() : std::move(options.Directory)) {
    // Compared by file identity, which survives symbolic links and a rebuilt file on disk.
    const bool self = options.OwnExecutable.empty();
    ownExecutablePath_ = self ? ownExecutablePath() : std::move(options.OwnExecutable);
    const std::string probe = self ? std::string("/proc/self/exe") : ownExecutablePath_;
    struct stat info {};
    if (::stat(probe.c_str(), &info) == 0) {
        ownDevice_ = info.st_dev;
        ownInode_ = info.st_ino;
        ownKnown_ = true;
    }
}

InstanceRegistry::~InstanceRegistry() {
    Unregister();
}

int64_t InstanceRegistry::CurrentProcessId() {
    return static_cast<int64_t>(::getpid());
}

std::string InstanceRegistry::entryName(int64_t pid) const {
    return directory_ + "/" + std::to_string(pid) + std::string(kEntrySuffix);
}

bool InstanceRegistry::ensureDirectory() const {
    ::mkdir(directory_.c_str(), 0700);
    // The folder may sit in a shared /tmp: use it only when it is ours and closed to others.
    struct stat info {};
    return ::lstat(directory_.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
           (info.st_mode & 0022) == 0;
}

void InstanceRegistry::Register(std::string_view className, std::string_view title) {
    if (!ensureDirectory()) return;
    const std::string name = entryName(CurrentProcessId());
    const std::string temporary = name + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << CurrentProcessId() << '\n'
            << ownExecutablePath_ << '\n'
            << className << '\n'
            << title << '\n';
        if (!out.flush()) {
            ::unlink(temporary.c_str());
            return;
        }
    }
    if (::rename(temporary.c_str(), name.c_str()) == 0)
        registered_ = true;
    else
        ::unlink(temporary.c_str());
}

void InstanceRegistry::Unregister() {
    if (!registered_) return;
    ::unlink(entryName(CurrentProcessId()).c_str());
    registered_ = false;
}

bool InstanceRegistry::runsOwnExecutable(int64_t pid) const {
    struct stat info {};
    return ownKnown_ && ::stat(procExe(pid).c_str(), &info) == 0 && info.st_dev == ownDevice_ &&
           info.st_ino == ownInode_;
}

bool InstanceRegistry::MainWindowExists() {
    std::error_code error;
    std::filesystem::directory_iterator it(directory_, error);
    if (error) return false;
    bool found = false;
    for (const auto& item : it) {
        const std::filesystem::path& file = item.path();
        if (file.extension() != kEntrySuffix) continue;
        Entry entry;
        if (!readEntry(file, entry)) continue;
        if (!isAlive(entry.pid)) {
            // Left by an instance that did not end normally.
            std::filesystem::remove(file, error);
            continue;
        }
        if (entry.className == kMainWindowClass && entry.title == kMainWindowTitle && runsOwnExecutable(entry.pid))
            found = true;
    }
    return found;
}

void InstanceRegistry::TerminateStaleInstance(int64_t pid, std::chrono::system_clock::time_point storedAt) {
    if (pid <= 0 || pid > INT_MAX || pid == CurrentProcessId()) return;
    const ProcessHandle process(pid);
    if (!process.usable() || !runsOwnExecutable(pid) || realUser(pid) != ::getuid()) return;
    // A number reused by an instance started since cannot be the one stored.
    if (const auto started = startTime(pid); !started || *started >= storedAt) return;
    process.kill(pid);
}

}  // namespace tessaview
