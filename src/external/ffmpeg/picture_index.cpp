// Ordering a language's pictures and finding the one due at a movie time.
#include "external/ffmpeg/picture_index.h"

#include <algorithm>

namespace tessaview {

void finishTimeline(std::vector<IndexedPicture>& pictures) {
    std::stable_sort(pictures.begin(), pictures.end(),
                     [](const IndexedPicture& a, const IndexedPicture& b) { return a.startMs < b.startMs; });
    for (size_t i = 0; i + 1 < pictures.size(); ++i) {
        pictures[i].endMs = std::min(pictures[i].endMs, pictures[i + 1].startMs);
    }
}

int64_t findDuePicture(const std::vector<IndexedPicture>& pictures, int64_t ms) {
    const auto after = std::upper_bound(pictures.begin(), pictures.end(), ms,
                                        [](int64_t t, const IndexedPicture& p) { return t < p.startMs; });
    if (after == pictures.begin()) {
        return -1;
    }
    const auto candidate = after - 1;
    return ms < candidate->endMs ? int64_t(candidate - pictures.begin()) : -1;
}

}  // namespace tessaview
