// What every fuzz target needs: a private folder for the files it writes, removed at exit.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace tessaview::fuzz {

// A folder made once per process under the temporary folder.
inline const std::string& Folder() {
    // Never destroyed: the removal at exit runs after the destructors of static objects.
    static const std::string* folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "tessaview-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(*folder, ignored);
        });
        return new std::string(pattern);
    }();
    return *folder;
}

inline std::string WriteFile(const std::string& name, std::string_view bytes) {
    const std::string path = Folder() + "/" + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
    return path;
}

// Stops the run with the input kept as a finding.
#define FUZZ_CHECK(condition) \
    do {                      \
        if (!(condition)) {   \
            __builtin_trap(); \
        }                     \
    } while (false)

}  // namespace tessaview::fuzz
