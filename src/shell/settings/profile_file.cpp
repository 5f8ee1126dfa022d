// A profile (INI) file store: parsing, case-insensitive lookup and whole-file replacing writes.
#include "shell/settings/profile_file.h"

#include "osdep/whole_file.h"
#include "shell/settings/profile_value.h"
#include "subtitle/runtime_error.h"

#include <utility>

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

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

ProfileFile::ProfileFile(std::string fileName) : fileName_(std::move(fileName)) {
    std::string content;
    ReadRegularFile(fileName_, content, &modified_);
    parse(content);
}

void ProfileFile::reread() {
    // Read afresh so that lines another instance wrote in the meantime are kept; a file that
    // exists but cannot be read is never replaced by one holding only our keys.
    std::string content;
    if (ReadRegularFile(fileName_, content) == ReadResult::Failed) failWrite();
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
    if (!ReplaceWholeFile(fileName_, content)) failWrite();
}

void ProfileFile::RemoveStaleTemporaries() const { tessaview::RemoveStaleTemporaries(fileName_); }

void ProfileFile::failWrite() const { throw RuntimeError("Unable to write to " + fileName_); }

}  // namespace tessaview
