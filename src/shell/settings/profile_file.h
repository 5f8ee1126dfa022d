// A profile (INI) file store with the rules of the classic profile functions: names match
// without regard to case, absent keys give the caller's default, values are trimmed and
// unquoted and cut to 2047 characters, writes change one line or add one, nothing is deleted.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessaview {

class ProfileFile {
public:
    // Reads the file once; a missing or unreadable file reads as empty. A UTF-8 byte-order
    // mark at its top is skipped (and kept when the file is written).
    explicit ProfileFile(std::string fileName);

    const std::string& FileName() const { return fileName_; }
    // When the file read was last written; the epoch when there was none.
    std::chrono::system_clock::time_point ModifiedTime() const { return modified_; }

    std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;
    bool ReadBoolean(std::string_view section, std::string_view key, bool fallback) const;

    // Each write reaches the file at once: the file is read afresh, changed in one line (or
    // one added) and replaced whole through a temporary beside it, so a failure never leaves
    // a torn file. Throws RuntimeError("Unable to write to <file>") when that fails.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int64_t value);
    void WriteBoolean(std::string_view section, std::string_view key, bool value);

    // Between these two, writes change only the lines held here, and CommitWrites replaces
    // the file once with the bytes the same writes one by one would have left. BeginWrites
    // reads the file afresh; both throw like a single write. A store destroyed in between
    // writes nothing.
    void BeginWrites();
    void CommitWrites();

    // Removes temporaries beside the file left by a save that was killed; one that a running
    // save still holds is left alone.
    void RemoveStaleTemporaries() const;

private:
    struct Section {
        std::vector<std::string> lines;                     // lines[0] is the "[name]" line
        std::size_t lastKeyLine = 0;                        // where a new key goes after; the header when none
        std::unordered_map<std::string, std::size_t> keys;  // lower-case name -> first line
    };

    void reread();
    void parse(std::string_view content);
    std::optional<std::string_view> rawValue(std::string_view section, std::string_view key) const;
    void setLine(std::string_view section, std::string_view key, const std::string& text);
    void replaceFile() const;
    [[noreturn]] void failWrite() const;

    std::string fileName_;
    bool byteOrderMark_ = false;
    std::vector<std::string> preamble_;  // lines before the first section
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> sectionByName_;  // lower-case name -> first
    std::chrono::system_clock::time_point modified_;
    bool collecting_ = false;
};

}  // namespace tessaview
