// The cue record and the owning cue list.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tessaview {

// EndTime of a cue whose end is not known yet; such a cue never shows.
inline constexpr int32_t OpenEndTime = -1;
// EndTime of a cue that lasts to the end of the movie; stays endless at every frame rate.
inline constexpr int32_t EndlessTime = 2147483647;

// Times are milliseconds in a time-based list (SubIsTimeBased), frame numbers otherwise.
struct TTimeSpan {
    int32_t StartTime = 0;
    int32_t EndTime = 0;
    std::string Text;  // 8-bit text as in the file, lines joined with CR LF
};

// Owns its cues; order is file order.
using TSubList = std::vector<std::unique_ptr<TTimeSpan>>;

}  // namespace tessaview
