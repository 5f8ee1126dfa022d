// Speech profile figures and smoothing.
#include "sync/speech_profile.h"

#include <algorithm>
#include <cstddef>

namespace tessaview {

int64_t SpeechProfile::SpeechMs() const {
    return static_cast<int64_t>(std::count(frames.begin(), frames.end(), uint8_t{1})) * FrameMs;
}

double SpeechProfile::SpeechShare() const {
    return frames.empty() ? 0.0 : static_cast<double>(SpeechMs()) / static_cast<double>(DurationMs());
}

namespace {

// Sets every run of `value` shorter than `shortest` frames to the other value. Runs touching
// either end of the profile are kept: their true length is unknown.
void removeShortRuns(std::vector<uint8_t>& frames, uint8_t value, int shortest) {
    const size_t n = frames.size();
    size_t i = 0;
    while (i < n) {
        size_t end = i;
        while (end < n && frames[end] == frames[i]) ++end;
        const bool inner = i > 0 && end < n;
        if (frames[i] == value && inner && end - i < static_cast<size_t>(shortest))
            std::fill(frames.begin() + static_cast<std::ptrdiff_t>(i),
                      frames.begin() + static_cast<std::ptrdiff_t>(end), static_cast<uint8_t>(!value));
        i = end;
    }
}

}  // namespace

void SmoothSpeech(std::vector<uint8_t>& frames, int minBurstFrames, int maxPauseFrames) {
    removeShortRuns(frames, 1, minBurstFrames);
    removeShortRuns(frames, 0, maxPauseFrames);
}

void AdvanceSpeechStarts(std::vector<uint8_t>& frames, int count) {
    for (size_t k = 1; k < frames.size(); ++k) {
        if (frames[k] && !frames[k - 1]) {
            const size_t from = k > static_cast<size_t>(count) ? k - static_cast<size_t>(count) : 0;
            std::fill(frames.begin() + static_cast<std::ptrdiff_t>(from),
                      frames.begin() + static_cast<std::ptrdiff_t>(k), uint8_t{1});
        }
    }
}

}  // namespace tessaview
