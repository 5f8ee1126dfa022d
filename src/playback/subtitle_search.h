// Where the autoload looks once the four names beside the movie are missing: base.ass, then
// base.<language>.<ext> files, the user's language first.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessaview {

// Paths to try in order, picked from `namesBeside` (the names of the files in the movie's
// folder): base.ass, then base.TAG.EXT for EXT srt, ssa, ass, sub, idx (letter case aside),
// where TAG is the locale's `language` first ("en" also matches "eng", "en-US"), then the
// other tags in the order of their extension and name.
std::vector<std::string> ExtraSubtitleNames(const std::string& movie, const std::vector<std::string>& namesBeside,
                                            std::string_view language);

// The names of the regular files in the folder of `path`; none when it cannot be listed.
std::vector<std::string> NamesBeside(const std::string& path);

// Where a track taken out of a movie is written: beside tmpsub, named tmptrack + extension.
std::string TrackFilePath(const std::string& tmpSubPath, const std::string& extension);

}  // namespace tessaview
