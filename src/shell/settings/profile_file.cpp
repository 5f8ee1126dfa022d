// A profile (INI) file store: parsing, case-insensitive lookup and whole-file replacing writes.
#include "shell/settings/profile_file.h"

#include "shell/settings/profile_value.h"
#include "subtitle/runtime_error.h"

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

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::string lowerCase(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return result;
}

// The name of a "[name]" line, or nothing when the line opens no section.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trimBlanks(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    const auto close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return trimBlanks(line.substr(1, close - 1));
}

// The key of a "key=value" line, or nothing for comments and other lines.
std::optional<std::string_view> keyName(std::string_view line) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    const std::string_view key = trimBlanks(line.substr(0, equals));
    if (key.empty() || key.front() == ';') return std::nullopt;
    return key;
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_ = -1;
};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

enum class ReadResult { Ok, Missing, Failed };

// A FIFO or device in the file's place reads as a failure instead of blocking the start.
ReadResult readWholeFile(const std::string& fileName, std::string& content, struct stat& info) {
    content.clear();
    FileDescriptor fd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
    if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return ReadResult::Failed;
    content.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return ReadResult::Failed;
        if (got == 0) return ReadResult::Ok;
        content.append(buffer, static_cast<std::size_t>(got));
    }
}

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
std::string temporaryPrefix(const std::filesystem::path& target) {
    return "." + target.filename().string() + ".";
}

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

ProfileFile::ProfileFile(std::string fileName) : fileName_(std::move(fileName)) {
    std::string content;
    struct stat info {};
    if (readWholeFile(fileName_, content, info) == ReadResult::Ok)
        modified_ = std::chrono::system_clock::from_time_t(info.st_mtim.tv_sec) +
                    std::chrono::duration_cast<std::chrono::system_clock::duration>(
                        std::chrono::nanoseconds(info.st_mtim.tv_nsec));
    parse(content);
}

void ProfileFile::reread() {
    // Read afresh so that lines another instance wrote in the meantime are kept; a file that
    // exists but cannot be read is never replaced by one holding only our keys.
    std::string content;
    struct stat info {};
    if (readWholeFile(fileName_, content, info) == ReadResult::Failed) failWrite();
    parse(content);
}

void ProfileFile::parse(std::string_view content) {
    preamble_.clear();
    sections_.clear();
    sectionByName_.clear();
    byteOrderMark_ = content.substr(0, kByteOrderMark.size()) == kByteOrderMark;
    if (byteOrderMark_) content.remove_prefix(kByteOrderMark.size());
    Section* current = nullptr;
    while (!content.empty()) {
        const auto end = content.find('\n');
        std::string_view line = content.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (const auto name = sectionName(line)) {
            sectionByName_.try_emplace(lowerCase(*name), sections_.size());
            current = &sections_.emplace_back();
            current->lines.emplace_back(line);
        } else if (current == nullptr) {
            preamble_.emplace_back(line);
        } else {
            if (const auto key = keyName(line)) {
                current->lastKeyLine = current->lines.size();
                current->keys.try_emplace(lowerCase(*key), current->lastKeyLine);
            }
            current->lines.emplace_back(line);
        }
        if (end == std::string_view::npos) break;
        content.remove_prefix(end + 1);
    }
}

std::optional<std::string_view> ProfileFile::rawValue(std::string_view section, std::string_view key) const {
    const auto found = sectionByName_.find(lowerCase(trimBlanks(section)));
    if (found == sectionByName_.end()) return std::nullopt;
    const Section& s = sections_[found->second];
    const auto line = s.keys.find(lowerCase(trimBlanks(key)));
    if (line == s.keys.end()) return std::nullopt;
    const std::string_view text = s.lines[line->second];
    return text.substr(text.find('=') + 1);
}

std::string ProfileFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
    const auto raw = rawValue(section, key);
    return raw ? ProfileTextValue(*raw) : std::string(fallback);
}

int32_t ProfileFile::ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const {
    const auto raw = rawValue(section, key);
    return raw ? ParseProfileInteger(ProfileTextValue(*raw), fallback) : fallback;
}

bool ProfileFile::ReadBoolean(std::string_view section, std::string_view key, bool fallback) const {
    const auto raw = rawValue(section, key);
    return raw ? ParseProfileBoolean(ProfileTextValue(*raw), fallback) : fallback;
}

// Lines only move inside their own section, and only those after its last key, so the
// line numbers of every key stay valid without indexing the file again.
void ProfileFile::setLine(std::string_view section, std::string_view key, const std::string& text) {
    const std::string lowerSection = lowerCase(section);
    const auto found = sectionByName_.find(lowerSection);
    if (found == sectionByName_.end()) {
        sectionByName_.emplace(lowerSection, sections_.size());
        Section& added = sections_.emplace_back();
        added.lines = {"[" + std::string(section) + "]", std::string(key) + "=" + text};
        added.lastKeyLine = 1;
        added.keys.emplace(lowerCase(key), 1);
        return;
    }
    Section& s = sections_[found->second];
    const std::string lowerKey = lowerCase(key);
    if (const auto line = s.keys.find(lowerKey); line != s.keys.end()) {
        std::string& old = s.lines[line->second];
        old.replace(old.find('=') + 1, std::string::npos, text);
        return;
    }
    ++s.lastKeyLine;
    s.lines.insert(s.lines.begin() + static_cast<std::ptrdiff_t>(s.lastKeyLine), std::string(key) + "=" + text);
    s.keys.emplace(lowerKey, s.lastKeyLine);
}

void ProfileFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    if (!collecting_) reread();
    setLine(trimBlanks(section), trimBlanks(key), ProfileWrittenText(value));
    if (!collecting_) replaceFile();
}

void ProfileFile::WriteInteger(std::string_view section, std::string_view key, int64_t value) {
    WriteString(section, key, std::to_string(value));
}

void ProfileFile::WriteBoolean(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void ProfileFile::BeginWrites() {
    reread();
    collecting_ = true;
}

void ProfileFile::CommitWrites() {
    collecting_ = false;
    replaceFile();
}

void ProfileFile::replaceFile() const {
    ignoreFileSizeSignal();
    const std::filesystem::path target = writeTarget(fileName_);

    struct stat info {};
    const bool exists = ::stat(target.c_str(), &info) == 0;
    // Replacing by rename would get round a read-only file; refuse as a direct write would.
    if (exists && (!S_ISREG(info.st_mode) || ::access(target.c_str(), W_OK) != 0)) failWrite();

    std::string content(byteOrderMark_ ? kByteOrderMark : std::string_view());
    std::size_t size = content.size();
    for (const auto& line : preamble_) size += line.size() + 2;
    for (const auto& section : sections_)
        for (const auto& line : section.lines) size += line.size() + 2;
    content.reserve(size);
    const auto append = [&content](const std::string& line) {
        content += line;
        content += "\r\n";
    };
    for (const auto& line : preamble_) append(line);
    for (const auto& section : sections_)
        for (const auto& line : section.lines) append(line);

    std::string temporary;
    FileDescriptor fd = lockedTemporary(target, temporary);
    if (fd.get() < 0) failWrite();
    // Owner first, since changing it may clear mode bits. Only root may give the file to
    // another user; anyone else's copy stays their own, as a direct write would leave it.
    [[maybe_unused]] const int owned = exists ? ::fchown(fd.get(), info.st_uid, info.st_gid) : 0;
    const mode_t mode = exists ? (info.st_mode & 07777) : 0644;
    const bool written = writeAll(fd.get(), content) && ::fchmod(fd.get(), mode) == 0 && ::fsync(fd.get()) == 0 &&
                         ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!written) {
        ::unlink(temporary.c_str());
        failWrite();
    }
}

void ProfileFile::RemoveStaleTemporaries() const {
    const std::filesystem::path target = writeTarget(fileName_);
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

void ProfileFile::failWrite() const {
    throw RuntimeError("Unable to write to " + fileName_);
}

}  // namespace tessaview
