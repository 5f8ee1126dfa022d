// Extensions in any letter case: the files this player reads were named on file systems that
// ignore case, so "film.SRT" and "film.Idx" are the same to it as "film.srt" and "film.idx".
#pragma once

#include <string>
#include <string_view>

namespace tessaview {

// True when `extension` is `lower` (a lower-case ".ext") in any letter case.
bool SameExtension(std::string_view extension, std::string_view lower);

// True when the name ends in an extension of a subtitle file the loader reads (.srt, .ssa,
// .ass, .sub, .idx, .txt), in any letter case.
bool IsSubtitleFileName(std::string_view name);

// The existing regular file named `base` + `lower` with the extension in any letter case:
// the given spelling first, then the others in byte order. Only the extension's case is
// free; the folders and the base name are matched exactly. Empty when there is none.
std::string FindWithExtension(const std::string& base, std::string_view lower);

}  // namespace tessaview
