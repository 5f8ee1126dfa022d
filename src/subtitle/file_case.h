// The rules of file names: where the extension starts, and letter case, which extensions
// ignore: the files this player reads were named on file systems that ignore case, so
// "film.SRT" and "film.Idx" are the same to it as "film.srt" and "film.idx".
#pragma once

#include <string>
#include <string_view>

namespace tessaview {

// The extension of `FileName`: from the last "." after the last "/", "\" or ":", dot included.
std::string_view ExtractFileExt(std::string_view FileName);

// The path without its extension (as ExtractFileExt finds it); whole when it has none.
std::string WithoutExtension(const std::string& path);

// `text` with A to Z made a to z; other bytes as they are.
std::string AsciiLower(std::string_view text);

// True when `extension` is `lower` (a lower-case ".ext") in any letter case.
bool SameExtension(std::string_view extension, std::string_view lower);

// True when the name's extension is `lower` (a lower-case ".ext") in any letter case.
bool HasExtension(std::string_view name, std::string_view lower);

// True when the name ends in an extension of a subtitle file the loader reads (.srt, .ssa,
// .ass, .sub, .idx, .txt), in any letter case.
bool IsSubtitleFileName(std::string_view name);

// The existing regular file named `base` + `lower` with the extension in any letter case:
// the given spelling first, then the others in byte order. Only the extension's case is
// free; the folders and the base name are matched exactly. Empty when there is none.
std::string FindWithExtension(const std::string& base, std::string_view lower);

}  // namespace tessaview
