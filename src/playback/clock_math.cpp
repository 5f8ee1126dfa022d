// Position arithmetic.
#include "playback/clock_math.h"

#include "subtitle/time_base.h"

namespace tessaview {

std::string FormatClock(int32_t seconds) {
    return std::to_string(seconds / 3600) + ":" + std::to_string((seconds % 3600) / 60) + ":" +
           std::to_string(seconds % 60);
}

std::string PositionText(int32_t frames, double rate) {
    return std::to_string(frames) + "/" +
           FormatClock(RoundHalfEven(static_cast<long double>(frames) / static_cast<long double>(rate)));
}

std::string FrameRateText(double rate, char decimalSeparator) {
    return FormatFrameRate(rate, decimalSeparator) + "fps";
}

int32_t SyncFrames(int32_t milliseconds, double rate) {
    // One conversion for the offset and the cue times: equal milliseconds give equal frames.
    return MillisecondsToFrames(milliseconds, rate);
}

int32_t FramesToMilliseconds(int32_t frames, double rate) {
    return RoundHalfEven(static_cast<long double>(frames) / static_cast<long double>(rate) * 1000.0L);
}

}  // namespace tessaview
