// The file system below the standard library: the few calls whose guarantees (no link
// followed, private modes, plain files only) it cannot give. Names are bytes, as the system
// holds them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessaview {

bool IsRegularFile(const std::string& path);

// The names in `folder`, without "." and ".."; empty when it cannot be read.
std::vector<std::string> FolderEntries(const std::string& folder);

// Removes the name `path` itself, never what a link there points to. True when the name is
// gone, also when there was none.
bool RemoveName(const std::string& path);

// Creates `path` as a new file only the user may read, never through a name or link already
// there, and writes `bytes` into it. False, with nothing left behind, when any of that fails.
bool CreatePrivateFile(const std::string& path, std::string_view bytes);

}  // namespace tessaview
