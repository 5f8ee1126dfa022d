// The timeline of one language's pictures: when each is due and where its bytes are kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace tessaview {

inline constexpr int64_t OpenEndMs = std::numeric_limits<int64_t>::max();

struct IndexedPicture {
    int64_t startMs = 0;
    // Exclusive; OpenEndMs until the timeline is finished when the unit has no stop.
    int64_t endMs = OpenEndMs;
    // Where the unit's bytes start in the pair's byte store, and how many there are.
    size_t offset = 0;
    size_t size = 0;
};

// Sorts by start (file order kept for equal starts) and ends every picture at the latest where
// the next one begins: one subpicture shows at a time, and a picture without a stop lasts
// until the next one starts (the last one to the end of the movie).
void finishTimeline(std::vector<IndexedPicture>& pictures);

// Position of the picture due at `ms` in a finished timeline, or -1 when none is.
int64_t findDuePicture(const std::vector<IndexedPicture>& pictures, int64_t ms);

}  // namespace tessaview
