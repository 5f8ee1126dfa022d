// What a VobSub index holds, counted the way FFmpeg's vobsub demuxer reads it, so that an
// index the demuxer cannot take is refused before the demuxer sees it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessaview {

struct VobSubIndexCounts {
    std::size_t streamLines = 0;  // lines starting "id:"; each may open a stream
    std::size_t entries = 0;      // lines starting "timestamp:"; one demuxer read each
};

// The demuxer keeps at most this many streams and writes past its table beyond them; no DVD
// holds more subtitle streams.
inline constexpr std::size_t MaxVobSubStreams = 32;

// Lines end at LF, CR or NUL, as the demuxer splits them.
VobSubIndexCounts ScanVobSubIndex(std::string_view text);
// The same for a file; a file that cannot be read counts nothing.
VobSubIndexCounts ScanVobSubIndexFile(const std::string& path);

// True when FFmpeg would take `path` for a VobSub index (its first bytes or its extension)
// and the index holds more streams than the demuxer can keep.
bool IsOverfullVobSubIndex(const std::string& path);

}  // namespace tessaview
