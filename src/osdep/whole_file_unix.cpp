// Whole-file reads, and replacement through a locked temporary, fsync and rename.
#include "osdep/whole_file.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaview {

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_ = -1;
};

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t done = ::write(fd, data.data(), data.size());
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(done));
    }
    return true;
}

// Under a file-size limit the kernel would end the program in the middle of a save; ignored,
// the write fails with EFBIG and the save reports it like any other failure.
void ignoreFileSizeSignal() {
    static const bool ignored = std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
    (void)ignored;
}

// "<folder>/.<name>.XXXXXX": the temporaries a save makes beside the file.
std::string temporaryPrefix(const std::filesystem::path& target) { return "." + target.filename().string() + "."; }

std::filesystem::path writeTarget(const std::string& fileName) {
    std::error_code error;
    // Write through a symbolic link to the file it names, not over the link.
    std::filesystem::path target = std::filesystem::canonical(fileName, error);
    if (error) target = fileName;
    if (target.parent_path().empty()) target = "." / target;
    return target;
}

// A temporary beside `target`, locked for as long as it is open so that a later start can
// tell it from one a killed save left. Closed (-1) on failure.
FileDescriptor lockedTemporary(const std::filesystem::path& target, std::string& name) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        name = (target.parent_path() / (temporaryPrefix(target) + "XXXXXX")).string();
        FileDescriptor fd(::mkostemp(name.data(), O_CLOEXEC));
        if (fd.get() < 0) return FileDescriptor(-1);
        struct stat info {};
        // A clean-up that took it between creation and lock has unlinked it: make another.
        if (::flock(fd.get(), LOCK_EX) == 0 && ::fstat(fd.get(), &info) == 0 && info.st_nlink > 0) return fd;
    }
    return FileDescriptor(-1);
}

}  // namespace

ReadResult ReadRegularFile(const std::string& fileName, std::string& content,
                           std::chrono::system_clock::time_point* modified) {
    content.clear();
    FileDescriptor fd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return ReadResult::Failed;
    content.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return ReadResult::Failed;
        if (got == 0) break;
        content.append(buffer, static_cast<std::size_t>(got));
    }
    if (modified)
        *modified = std::chrono::system_clock::from_time_t(info.st_mtim.tv_sec) +
                    std::chrono::duration_cast<std::chrono::system_clock::duration>(
                        std::chrono::nanoseconds(info.st_mtim.tv_nsec));
    return ReadResult::Ok;
}

bool ReplaceWholeFile(const std::string& fileName, std::string_view content) {
    ignoreFileSizeSignal();
    const std::filesystem::path target = writeTarget(fileName);

    struct stat info {};
    const bool exists = ::stat(target.c_str(), &info) == 0;
    // Replacing by rename would get round a read-only file; refuse as a direct write would.
    if (exists && (!S_ISREG(info.st_mode) || ::access(target.c_str(), W_OK) != 0)) return false;

    std::string temporary;
    FileDescriptor fd = lockedTemporary(target, temporary);
    if (fd.get() < 0) return false;
    // Owner first, since changing it may clear mode bits. Only root may give the file to
    // another user; anyone else's copy stays their own, as a direct write would leave it.
    [[maybe_unused]] const int owned = exists ? ::fchown(fd.get(), info.st_uid, info.st_gid) : 0;
    const mode_t mode = exists ? (info.st_mode & 07777) : 0644;
    const bool written = writeAll(fd.get(), content) && ::fchmod(fd.get(), mode) == 0 && ::fsync(fd.get()) == 0 &&
                         ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!written) ::unlink(temporary.c_str());
    return written;
}

void RemoveStaleTemporaries(const std::string& fileName) {
    const std::filesystem::path target = writeTarget(fileName);
    const std::string prefix = temporaryPrefix(target);
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(target.parent_path(), error)) {
        const std::string name = item.path().filename().string();
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) continue;
        FileDescriptor fd(::open(item.path().c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
        struct stat info {};
        if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid())
            continue;
        // A running save holds its lock until the rename; a killed one held it no longer.
        if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) ::unlink(item.path().c_str());
    }
}

}  // namespace tessaview
