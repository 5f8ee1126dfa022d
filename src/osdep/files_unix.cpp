#include "osdep/files.h"

#include <cerrno>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessaview {

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()), ::closedir);
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
    }
    return names;
}

bool RemoveName(const std::string& path) { return ::unlink(path.c_str()) == 0 || errno == ENOENT; }

bool CreatePrivateFile(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    while (!bytes.empty()) {
        const ssize_t done = ::write(fd, bytes.data(), bytes.size());
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) break;
        bytes.remove_prefix(static_cast<size_t>(done));
    }
    if (::close(fd) != 0 || !bytes.empty()) {
        ::unlink(path.c_str());
        return false;
    }
    return true;
}

bool CanWriteFolder(const std::string& folder) { return ::access(folder.c_str(), W_OK) == 0; }

void MakeOwnFolder(const std::string& path) { ::mkdir(path.c_str(), 0700); }

std::string MakeUniqueFolder(const std::string& pattern) {
    std::string name = pattern;
    return ::mkdtemp(name.data()) != nullptr ? name : std::string();
}

std::string UserHomeFolder() {
    const passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? std::string(entry->pw_dir) : std::string();
}

}  // namespace tessaview
