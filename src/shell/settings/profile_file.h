// A profile (INI) file store with the rules of the classic profile functions: names match
// without regard to case, absent keys give the caller's default, values are trimmed and
// unquoted and cut to 2047 characters, writes change one line or add one, nothing is deleted.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tessaview {

class ProfileFile {
public:
    // Reads the file once; a missing or unreadable file reads as empty.
    explicit ProfileFile(std::string fileName);

    const std::string& FileName() const { return fileName_; }

    std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;
    bool ReadBoolean(std::string_view section, std::string_view key, bool fallback) const;

    // Each write reaches the file at once: the file is read afresh, changed in one line (or
    // one added) and replaced whole through a temporary beside it, so a failure never leaves
    // a torn file. Throws RuntimeError("Unable to write to <file>") when that fails.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int64_t value);
    void WriteBoolean(std::string_view section, std::string_view key, bool value);

private:
    struct Section {
        std::size_t header = 0;       // line of "[name]"
        std::size_t lastKeyLine = 0;  // where a new key goes after; the header when none
        std::unordered_map<std::string, std::size_t> keys;  // lower-case name -> first line
    };

    void parse(std::string_view content);
    void index();
    std::optional<std::string_view> rawValue(std::string_view section, std::string_view key) const;
    void setLine(std::string_view section, std::string_view key, const std::string& text);
    void replaceFile() const;
    [[noreturn]] void failWrite() const;

    std::string fileName_;
    std::vector<std::string> lines_;
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> sectionByName_;  // lower-case name -> first
};

}  // namespace tessaview
