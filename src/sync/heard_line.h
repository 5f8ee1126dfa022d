// Lines heard at a known moment of the movie: one such line moves the subtitle there, two a
// minute or more apart also fit its rate, so a drifting subtitle is put right in two clicks.
#pragma once

#include "sync/alignment.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tessaview {

// A line's start in the subtitle's times as they are now, and the time the clock looked the
// subtitle up at when the line was heard, both in milliseconds.
struct HeardLine {
    int64_t cueMs = 0;
    int64_t movieMs = 0;
};

// Two heard lines closer than this in the subtitle tell a slip, not a rate.
inline constexpr int64_t HeardRateSpanMs = 60000;

// The correction that starts `latest` where it was heard; with an `earlier` line at least
// HeardRateSpanMs away, the rate and shift that start both where they were heard. A rate no
// frame-rate mix-up could give (a line heard twice, crossed clicks) falls back to the shift.
SyncResult FitHeardLines(const std::optional<HeardLine>& earlier, const HeardLine& latest);

// How far the line heard at `cueMs` moved, and the rate when there is one: "Moved 2.40 s
// later", "Moved 2.40 s later, rate 1.001", "Already in step".
std::string DescribeHeard(const SyncResult& result, int64_t cueMs);

}  // namespace tessaview
