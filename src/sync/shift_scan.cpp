// Coarse scores of every shift through the correlator, peaks, and the exact refinement.
#include "sync/shift_scan.h"

#include "subtitle/number_rules.h"

#include <algorithm>
#include <cmath>

namespace tessaview {

ScanGrid MakeScanGrid(const SpeechTrack& track, const std::vector<Span>& spans, double minRate, double maxRate,
                      size_t maxBins) {
    double first = 0.0, last = 0.0;
    for (const Span& span : spans) {
        first = std::min({first, span.start * minRate, span.start * maxRate});
        last = std::max({last, span.end * minRate, span.end * maxRate});
    }
    const double longest = std::max(track.LengthMs(), last - first) / SpeechProfile::FrameMs;
    ScanGrid grid;
    grid.binFrames = std::max(1, static_cast<int>(std::ceil(longest / static_cast<double>(maxBins))));
    grid.binMs = grid.binFrames * SpeechProfile::FrameMs;
    grid.originMs = std::floor(first / grid.binMs) * grid.binMs;
    grid.cueBins = static_cast<size_t>(std::ceil((last - grid.originMs) / grid.binMs)) + 1;
    return grid;
}

double Peak::Margin() const {
    if (!(score > 0)) return 0.0;
    return std::clamp((score - std::max(runnerUp, 0.0)) / score, 0.0, 1.0);
}

ShiftScanner::ShiftScanner(const SpeechTrack& track, const ScanGrid& grid)
    : track_(track), grid_(grid), correlator_(track.Coarse(grid.binFrames), grid.cueBins) {}

std::vector<double> ShiftScanner::Scan(const std::vector<Span>& spans, size_t from, size_t to) {
    // How many frames of each bin the spans cover.
    std::vector<double> cover(grid_.cueBins, 0.0);
    const double lastBin = static_cast<double>(grid_.cueBins);
    for (size_t i = from; i < to; ++i) {
        const double x0 = std::clamp((spans[i].start - grid_.originMs) / grid_.binMs, 0.0, lastBin);
        const double x1 = std::clamp((spans[i].end - grid_.originMs) / grid_.binMs, 0.0, lastBin);
        for (double x = x0; x < x1;) {
            const double next = std::min(std::floor(x) + 1.0, x1);
            const auto j = std::min(static_cast<size_t>(x), grid_.cueBins - 1);
            cover[j] += (next - x) * grid_.binFrames;
            x = next;
        }
    }
    std::vector<double> scores = correlator_.Correlate(cover);
    const double toMs = static_cast<double>(SpeechProfile::FrameMs) / grid_.binFrames;
    for (double& score : scores) score *= toMs;
    return scores;
}

double ShiftScanner::ShiftOf(size_t index) const {
    return (static_cast<double>(index) - static_cast<double>(grid_.cueBins - 1)) * grid_.binMs - grid_.originMs;
}

void ShiftScanner::hill(const std::vector<double>& scores, size_t top, size_t& left, size_t& right) const {
    // Down from the peak while above half of it, then on down to the valley: a score climbing
    // back up by more than a twentieth of the peak starts another hill.
    const double half = scores[top] / 2, rise = scores[top] / 20;
    double low = scores[top];
    left = top;
    while (left > 0 && (scores[left - 1] >= half || scores[left - 1] <= low + rise))
        low = std::min(low, scores[--left]);
    low = scores[top];
    right = top;
    while (right + 1 < scores.size() && (scores[right + 1] >= half || scores[right + 1] <= low + rise))
        low = std::min(low, scores[++right]);
    const auto second = static_cast<size_t>(std::ceil(1000.0 / grid_.binMs));
    left = std::min(left, top > second ? top - second : 0);
    right = std::max(right, top + second);
}

Peak ShiftScanner::FindPeak(const std::vector<double>& scores) const {
    Peak peak;
    if (scores.empty()) return peak;
    peak.index = static_cast<size_t>(std::max_element(scores.begin(), scores.end()) - scores.begin());
    peak.score = scores[peak.index];
    peak.shiftMs = ShiftOf(peak.index);
    size_t left = 0, right = 0;
    hill(scores, peak.index, left, right);
    double runnerUp = 0.0;
    for (size_t i = 0; i < scores.size(); ++i)
        if (i < left || i > right) runnerUp = std::max(runnerUp, scores[i]);
    peak.runnerUp = runnerUp;
    return peak;
}

Refined RefineShift(const SpeechTrack& track, const std::vector<Span>& spans, size_t from, size_t to, double centerMs,
                    double radiusMs) {
    // Subtitles start a line where its speech starts and leave it on screen a while after it
    // ends, and a detector finds where speech begins more sharply than where it ends: so the
    // score here is how much speech follows each cue's start, less how much comes before it.
    constexpr double window = 400.0;
    const auto steps = static_cast<size_t>(std::ceil(radiusMs)) * 2 + 1;
    const double first = static_cast<double>(RoundHalfAway(centerMs)) - std::ceil(radiusMs);
    std::vector<double> score(steps, 0.0);
    for (size_t s = 0; s < steps; ++s) {
        const double shift = first + static_cast<double>(s);
        double total = 0.0;
        for (size_t i = from; i < to; ++i) {
            const double start = spans[i].start + shift;
            total += track.SpeechIn(start, start + window) - track.SpeechIn(start - window, start);
        }
        score[s] = total;
    }
    const size_t top = static_cast<size_t>(std::max_element(score.begin(), score.end()) - score.begin());
    // Scores within a percent of the top count as the top: a detector's edges are no finer.
    const double floor = score[top] - 0.01 * std::abs(score[top]) - 1e-9;
    size_t left = top, right = top;
    while (left > 0 && score[left - 1] >= floor) --left;
    while (right + 1 < steps && score[right + 1] >= floor) ++right;
    const double middle =
        static_cast<double>(RoundHalfAway((static_cast<double>(left) + static_cast<double>(right)) / 2));
    return {first + middle, score[static_cast<size_t>(middle)]};
}

}  // namespace tessaview
