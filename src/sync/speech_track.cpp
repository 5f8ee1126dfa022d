// Prefix sums over the speech profile, read between frames by linear interpolation.
#include "sync/speech_track.h"

#include <algorithm>
#include <cmath>

namespace tessaview {

SpeechTrack::SpeechTrack(const SpeechProfile& profile)
    : before_(profile.frames.size() + 1, 0),
      share_(profile.SpeechShare()),
      lengthMs_(static_cast<double>(profile.DurationMs())) {
    for (size_t k = 0; k < profile.frames.size(); ++k) before_[k + 1] = before_[k] + (profile.frames[k] ? 1 : 0);
}

double SpeechTrack::speechBefore(double ms) const {
    if (ms <= 0) return 0.0;
    if (ms >= lengthMs_) return static_cast<double>(before_.back()) * SpeechProfile::FrameMs;
    const double frame = ms / SpeechProfile::FrameMs;
    const auto k = static_cast<size_t>(frame);
    const double within = static_cast<double>(before_[k + 1] - before_[k]) * (frame - static_cast<double>(k));
    return (static_cast<double>(before_[k]) + within) * SpeechProfile::FrameMs;
}

double SpeechTrack::Inside(double a, double b) const {
    return std::max(0.0, std::min(b, lengthMs_) - std::max(a, 0.0));
}

double SpeechTrack::Score(const std::vector<Span>& spans, size_t from, size_t to, double shift) const {
    double total = 0.0;
    for (size_t i = from; i < to; ++i) total += Score(spans[i].start + shift, spans[i].end + shift);
    return total;
}

std::vector<double> SpeechTrack::Coarse(int binFrames) const {
    const size_t frames = before_.size() - 1;
    const size_t bins = (frames + static_cast<size_t>(binFrames) - 1) / static_cast<size_t>(binFrames);
    std::vector<double> out(bins);
    for (size_t j = 0; j < bins; ++j) {
        const size_t a = j * static_cast<size_t>(binFrames);
        const size_t b = std::min(frames, a + static_cast<size_t>(binFrames));
        out[j] = static_cast<double>(before_[b] - before_[a]) - share_ * static_cast<double>(b - a);
    }
    return out;
}

}  // namespace tessaview
