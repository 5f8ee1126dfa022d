// Every shift of a set of cue spans scored at once on a coarse grid (cross-correlation through
// the FFT), the best peak with its runner-up, and the best shift refined to the millisecond.
#pragma once

#include "sync/correlator.h"
#include "sync/speech_track.h"

#include <cstddef>
#include <vector>

namespace tessaview {

// The coarse grid shared by the speech and every cue signal: `binFrames` profile frames a
// bin; cue signals start at originMs (<= 0, so negative times fit) and hold `cueBins` bins.
struct ScanGrid {
    int binFrames = 1;
    double binMs = SpeechProfile::FrameMs;
    double originMs = 0.0;
    size_t cueBins = 1;
};

// A grid of at most about `maxBins` bins over the sound and over the spans at any rate up to
// `maxRate` (and down to `minRate`).
ScanGrid MakeScanGrid(const SpeechTrack& track, const std::vector<Span>& spans, double minRate, double maxRate,
                      size_t maxBins);

struct Peak {
    size_t index = 0;
    double shiftMs = 0.0;
    double score = 0.0;     // milliseconds of speech above chance (approximate)
    double runnerUp = 0.0;  // the best score away from the peak's own hill
    // 0..1: how far the peak beats the runner-up; 0 when nothing scores above chance.
    double Margin() const;
};

class ShiftScanner {
public:
    ShiftScanner(const SpeechTrack& track, const ScanGrid& grid);

    // Scores of every shift for spans[from, to): element i is the shift ShiftOf(i).
    std::vector<double> Scan(const std::vector<Span>& spans, size_t from, size_t to);
    double ShiftOf(size_t index) const;
    // The highest score, and the highest one outside the hill around it (at least a second on
    // each side, and down to the valleys below half the peak's).
    Peak FindPeak(const std::vector<double>& scores) const;
    const ScanGrid& Grid() const { return grid_; }

private:
    const SpeechTrack& track_;
    ScanGrid grid_;
    Correlator correlator_;
    void hill(const std::vector<double>& scores, size_t top, size_t& left, size_t& right) const;
};

// The shift of spans[from, to) to the millisecond within `radiusMs` of `centerMs` that puts
// the cues' starts best on the starts of speech, and how well (milliseconds of speech after
// the starts less before them).
struct Refined {
    double shiftMs = 0.0;
    double startScore = 0.0;
};
Refined RefineShift(const SpeechTrack& track, const std::vector<Span>& spans, size_t from, size_t to, double centerMs,
                    double radiusMs);

}  // namespace tessaview
