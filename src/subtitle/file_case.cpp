// Extensions, letter case, and finding a file by its extension in any letter case.
#include "subtitle/file_case.h"

#include "osdep/files.h"

namespace tessaview {

namespace {

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string_view ExtractFileExt(std::string_view FileName) {
    const size_t dot = FileName.find_last_of('.');
    if (dot == std::string_view::npos) return {};
    const size_t separator = FileName.find_last_of("/\\:");
    if (separator != std::string_view::npos && separator > dot) return {};
    return FileName.substr(dot);
}

std::string WithoutExtension(const std::string& path) {
    return path.substr(0, path.size() - ExtractFileExt(path).size());
}

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = asciiLower(c);
    return out;
}

bool HasExtension(std::string_view name, std::string_view lower) { return SameExtension(ExtractFileExt(name), lower); }

bool IsSubtitleFileName(std::string_view name) {
    for (const std::string_view lower : {".srt", ".ssa", ".ass", ".sub", ".idx", ".txt"})
        if (HasExtension(name, lower)) return true;
    return false;
}

bool SameExtension(std::string_view extension, std::string_view lower) {
    if (extension.size() != lower.size()) return false;
    for (size_t i = 0; i < extension.size(); ++i)
        if (asciiLower(extension[i]) != lower[i]) return false;
    return true;
}

std::string FindWithExtension(const std::string& base, std::string_view lower) {
    const std::string exact = base + std::string(lower);
    if (IsRegularFile(exact)) return exact;
    // Names are bytes here: the folder is listed as it is, whatever the names' encoding.
    const size_t slash = base.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : base.substr(0, slash + 1);
    const std::string_view name =
        slash == std::string::npos ? std::string_view(base) : std::string_view(base).substr(slash + 1);
    std::string best;
    for (const std::string& entry : FolderEntries(folder)) {
        const std::string_view candidate = entry;
        if (candidate.size() != name.size() + lower.size() || candidate.substr(0, name.size()) != name ||
            !SameExtension(candidate.substr(name.size()), lower))
            continue;
        const std::string path = base.substr(0, base.size() - name.size()) + std::string(candidate);
        if ((best.empty() || path < best) && IsRegularFile(path)) best = path;
    }
    return best;
}

}  // namespace tessaview
