// Per-user registration of running instances and the checked ending of a stale one.
#include "platform/process/instance_registry.h"

#include "osdep/files.h"

#include <charconv>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <utility>

namespace tessaview {

namespace {

constexpr std::string_view kEntrySuffix = ".instance";

std::string defaultDirectory() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime == '/')
        return std::string(runtime) + "/tessaview";
    return "/tmp/tessaview-" + std::to_string(CurrentUserId());
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

}  // namespace

InstanceRegistry::InstanceRegistry() : InstanceRegistry(Options{}) {}

InstanceRegistry::InstanceRegistry(Options options)
    : directory_(options.Directory.empty() ? defaultDirectory() : std::move(options.Directory)) {
    // Compared by file identity, which survives symbolic links and a rebuilt file on disk.
    const bool self = options.OwnExecutable.empty();
    ownExecutablePath_ = self ? OwnExecutablePath() : std::move(options.OwnExecutable);
    ownExecutable_ = self ? ExecutableOf(tessaview::CurrentProcessId()) : IdentityOf(ownExecutablePath_);
}

InstanceRegistry::~InstanceRegistry() { Unregister(); }

int64_t InstanceRegistry::CurrentProcessId() { return tessaview::CurrentProcessId(); }

std::string InstanceRegistry::entryName(int64_t pid) const {
    return directory_ + "/" + std::to_string(pid) + std::string(kEntrySuffix);
}

bool InstanceRegistry::ensureDirectory() const { return MakePrivateFolder(directory_); }

void InstanceRegistry::Register(std::string_view className, std::string_view title) {
    if (!ensureDirectory()) return;
    const std::string name = entryName(CurrentProcessId());
    const std::string temporary = name + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << CurrentProcessId() << '\n' << ownExecutablePath_ << '\n' << className << '\n' << title << '\n';
        if (!out.flush()) {
            RemoveName(temporary);
            return;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, name, error);
    if (!error)
        registered_ = true;
    else
        RemoveName(temporary);
}

void InstanceRegistry::Unregister() {
    if (!registered_) return;
    RemoveName(entryName(CurrentProcessId()));
    registered_ = false;
}

bool InstanceRegistry::runsOwnExecutable(int64_t pid) const {
    return ownExecutable_ && ExecutableOf(pid) == ownExecutable_;
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
        if (!ProcessAlive(entry.pid)) {
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
    if (!process.Usable() || !runsOwnExecutable(pid) || ProcessUser(pid) != CurrentUserId()) return;
    // A number reused by an instance started since cannot be the one stored.
    if (const auto started = ProcessStartTime(pid); !started || *started >= storedAt) return;
    process.Kill();
}

}  // namespace tessaview
