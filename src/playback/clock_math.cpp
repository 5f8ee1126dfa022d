// Position arithmetic.
#include "playback/clock_math.h"

#include "subtitle/time_base.h"

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tessaview {

int32_t RoundHalfEven(long double value) {
    if (std::isnan(value)) return 0;
    // nearbyint follows the current rounding mode, which is to-nearest-even unless changed.
    const long double rounded = std::nearbyintl(value);
    if (rounded >= static_cast<long double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (rounded <= static_cast<long double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(rounded);
}

std::string FormatClock(int32_t seconds) {
    return std::to_string(seconds / 3600) + ":" + std::to_string((seconds % 3600) / 60) + ":" +
           std::to_string(seconds % 60);
}

std::string PositionText(int32_t frames, double rate) {
    return std::to_string(frames) + "/" +
           FormatClock(RoundHalfEven(static_cast<long double>(frames) / static_cast<long double>(rate)));
}

std::string FrameRateText(double rate, char decimalSeparator) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", rate);
    std::string text(buffer);
    for (char& c : text)
        if (c == '.') c = decimalSeparator;
    return text + "fps";
}

int32_t SyncFrames(int32_t milliseconds, double rate) {
    // One conversion for the offset and the cue times: equal milliseconds give equal frames.
    return MillisecondsToFrames(milliseconds, rate);
}

int32_t FramesToMilliseconds(int32_t frames, double rate) {
    return RoundHalfEven(static_cast<long double>(frames) / static_cast<long double>(rate) * 1000.0L);
}

int32_t SaturatingAdd(int32_t a, int32_t b) {
    const int64_t sum = static_cast<int64_t>(a) + b;
    if (sum > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (sum < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(sum);
}

}  // namespace tessaview
