// A profile (INI) file store: parsing, case-insensitive lookup and whole-file replacing writes.
#include "shell/settings/profile_file.h"

#include "shell/settings/profile_value.h"
#include "subtitle/runtime_error.h"

#include <cerrno>
#include <filesystem>
#include <utility>

#include <fcntl.h>
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
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_ = -1;
};

enum class ReadResult { Ok, Missing, Failed };

ReadResult readWholeFile(const std::string& fileName, std::string& content) {
    content.clear();
    FileDescriptor fd(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
    struct stat info {};
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

}  // namespace

ProfileFile::ProfileFile(std::string fileName) : fileName_(std::move(fileName)) {
    std::string content;
    readWholeFile(fileName_, content);
    parse(content);
}

void ProfileFile::parse(std::string_view content) {
    lines_.clear();
    while (!content.empty()) {
        const auto end = content.find('\n');
        std::string_view line = content.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines_.emplace_back(line);
        if (end == std::string_view::npos) break;
        content.remove_prefix(end + 1);
    }
    index();
}

void ProfileFile::index() {
    sections_.clear();
    sectionByName_.clear();
    Section* current = nullptr;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (const auto name = sectionName(lines_[i])) {
            sectionByName_.try_emplace(lowerCase(*name), sections_.size());
            current = &sections_.emplace_back(Section{i, i, {}});
        } else if (current != nullptr) {
            if (const auto key = keyName(lines_[i])) {
                current->keys.try_emplace(lowerCase(*key), i);
                current->lastKeyLine = i;
            }
        }
    }
}

std::optional<std::string_view> ProfileFile::rawValue(std::string_view section, std::string_view key) const {
    const auto found = sectionByName_.find(lowerCase(trimBlanks(section)));
    if (found == sectionByName_.end()) return std::nullopt;
    const Section& s = sections_[found->second];
    const auto line = s.keys.find(lowerCase(trimBlanks(key)));
    if (line == s.keys.end()) return std::nullopt;
    const std::string_view text = lines_[line->second];
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

void ProfileFile::setLine(std::string_view section, std::string_view key, const std::string& text) {
    const auto found = sectionByName_.find(lowerCase(section));
    if (found == sectionByName_.end()) {
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(std::string(key) + "=" + text);
    } else {
        const Section& s = sections_[found->second];
        const auto line = s.keys.find(lowerCase(key));
        if (line != s.keys.end()) {
            std::string& old = lines_[line->second];
            old.replace(old.find('=') + 1, std::string::npos, text);
        } else {
            const auto at = lines_.begin() + static_cast<std::ptrdiff_t>(s.lastKeyLine + 1);
            lines_.insert(at, std::string(key) + "=" + text);
        }
    }
    index();
}

void ProfileFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    // Read afresh so that lines another instance wrote in the meantime are kept.
    std::string content;
    if (readWholeFile(fileName_, content) == ReadResult::Failed) failWrite();
    parse(content);
    setLine(trimBlanks(section), trimBlanks(key), ProfileWrittenText(value));
    replaceFile();
}

void ProfileFile::WriteInteger(std::string_view section, std::string_view key, int64_t value) {
    WriteString(section, key, std::to_string(value));
}

void ProfileFile::WriteBoolean(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void ProfileFile::replaceFile() const {
    std::error_code error;
    // Write through a symbolic link to the file it names, not over the link.
    std::filesystem::path target = std::filesystem::canonical(fileName_, error);
    if (error) target = fileName_;

    mode_t mode = 0644;
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0) {
        // Replacing by rename would get round a read-only file; refuse as a direct write would.
        if (!S_ISREG(info.st_mode) || ::access(target.c_str(), W_OK) != 0) failWrite();
        mode = info.st_mode & 07777;
    }

    std::string content;
    std::size_t size = 0;
    for (const auto& line : lines_) size += line.size() + 2;
    content.reserve(size);
    for (const auto& line : lines_) {
        content += line;
        content += "\r\n";
    }

    std::filesystem::path parent = target.parent_path();
    if (parent.empty()) parent = ".";
    std::string temporary = (parent / ("." + target.filename().string() + ".XXXXXX")).string();
    FileDescriptor fd(::mkstemp(temporary.data()));
    if (fd.get() < 0) failWrite();
    const bool written = writeAll(fd.get(), content) && ::fchmod(fd.get(), mode) == 0 && ::fsync(fd.get()) == 0 &&
                         ::close(fd.release()) == 0 && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!written) {
        ::unlink(temporary.c_str());
        failWrite();
    }
}

void ProfileFile::failWrite() const {
    throw RuntimeError("Unable to write to " + fileName_);
}

}  // namespace tessaview
