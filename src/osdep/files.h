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

// Whether the user may create files in `folder`.
bool CanWriteFolder(const std::string& folder);
// Makes `path` (its last part only), open to the user alone, unless it is there already.
void MakeOwnFolder(const std::string& path);
// Makes a new folder, open to the user alone, named `pattern` with its last six characters
// ("XXXXXX") made unique; its name, or empty when none could be made.
std::string MakeUniqueFolder(const std::string& pattern);
// The user's home folder as the user database gives it; empty when it gives none.
std::string UserHomeFolder();

}  // namespace tessaview
