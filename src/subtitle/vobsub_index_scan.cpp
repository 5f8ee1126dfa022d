// Counting the lines of a VobSub index that open streams and pictures in FFmpeg's demuxer.
#include "subtitle/vobsub_index_scan.h"

#include "subtitle/file_case.h"

#include <fstream>
#include <vector>

namespace tessaview {

namespace {

// Feeds the text chunk by chunk; a key counts when a line starts with it.
class LineStartCounter {
public:
    void feed(std::string_view chunk, VobSubIndexCounts& counts) {
        for (const char c : chunk) {
            if (c == '\n' || c == '\r' || c == '\0') {
                column_ = 0;
                idAlive_ = timestampAlive_ = true;
                continue;
            }
            idAlive_ = idAlive_ && column_ < Id.size() && Id[column_] == c;
            timestampAlive_ = timestampAlive_ && column_ < Timestamp.size() && Timestamp[column_] == c;
            ++column_;
            if (idAlive_ && column_ == Id.size()) {
                ++counts.streamLines;
                idAlive_ = false;
            }
            if (timestampAlive_ && column_ == Timestamp.size()) {
                ++counts.entries;
                timestampAlive_ = false;
            }
        }
    }

private:
    static constexpr std::string_view Id = "id:";
    static constexpr std::string_view Timestamp = "timestamp:";
    std::size_t column_ = 0;
    bool idAlive_ = true;
    bool timestampAlive_ = true;
};

}  // namespace

VobSubIndexCounts ScanVobSubIndex(std::string_view text) {
    VobSubIndexCounts counts;
    LineStartCounter().feed(text, counts);
    return counts;
}

VobSubIndexCounts ScanVobSubIndexFile(const std::string& path) {
    VobSubIndexCounts counts;
    LineStartCounter counter;
    std::ifstream in(path, std::ios::binary);
    std::vector<char> chunk(1 << 16);
    while (in) {
        in.read(chunk.data(), std::streamsize(chunk.size()));
        counter.feed(std::string_view(chunk.data(), std::size_t(in.gcount())), counts);
    }
    return counts;
}

bool IsOverfullVobSubIndex(const std::string& path) {
    constexpr std::string_view Signature = "# VobSub index file,";
    char start[Signature.size()] = {};
    std::ifstream in(path, std::ios::binary);
    in.read(start, std::streamsize(sizeof start));
    const bool looksLikeIndex = std::string_view(start, std::size_t(in.gcount())) == Signature;
    if (!looksLikeIndex && !HasExtension(path, ".idx")) return false;
    return ScanVobSubIndexFile(path).streamLines > MaxVobSubStreams;
}

}  // namespace tessaview
