// Whole-file reads and replacing writes, shared by set.ini and the movie memory: a write goes
// to a temporary beside the file, is flushed to the disk and renamed over it, so a failure or
// a crash never leaves a torn file.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace tessaview {

enum class ReadResult { Ok, Missing, Failed };

// Reads a regular file whole; a FIFO or device in its place is Failed instead of blocking.
// `modified` (when given) gets the time of the file's last write.
ReadResult ReadRegularFile(const std::string& fileName, std::string& content,
                           std::chrono::system_clock::time_point* modified = nullptr);

// Replaces `fileName` (through a symbolic link, the file it names) by `content`, keeping an
// existing file's mode and owner. False when that failed; the file is then as it was and no
// temporary is left. A read-only file is refused, as a direct write would be.
bool ReplaceWholeFile(const std::string& fileName, std::string_view content);

// Removes temporaries beside `fileName` left by a replacement that was killed; one that a
// running replacement still holds is left alone.
void RemoveStaleTemporaries(const std::string& fileName);

}  // namespace tessaview
