// best[k] after cue i: the best score of cues 0..i with cue i at candidate k. Staying at k
// costs nothing; coming from the best other candidate costs the penalty.
#include "sync/pieces.h"

#include <algorithm>
#include <cstdint>

namespace tessaview {

std::vector<PieceChoice> SplitIntoPieces(const SpeechTrack& track, const std::vector<Span>& spans,
                                         const std::vector<double>& candidateShifts, double penalty) {
    const size_t n = spans.size(), k = candidateShifts.size();
    if (n == 0 || k == 0) return {PieceChoice{}};
    std::vector<double> best(k, 0.0), next(k);
    // split[i * k + c]: cue i at candidate c came from another candidate at cue i - 1, namely
    // leader[i], the best candidate after cue i - 1.
    std::vector<uint8_t> split(n * k, 0);
    std::vector<size_t> leader(n, 0);
    for (size_t i = 0; i < n; ++i) {
        const size_t top = static_cast<size_t>(std::max_element(best.begin(), best.end()) - best.begin());
        leader[i] = top;
        const double switched = best[top] - penalty;
        for (size_t c = 0; c < k; ++c) {
            const bool fromOther = i > 0 && switched > best[c];
            split[i * k + c] = fromOther;
            next[c] = (fromOther ? switched : best[c]) +
                      track.Score(spans[i].start + candidateShifts[c], spans[i].end + candidateShifts[c]);
        }
        best.swap(next);
    }
    std::vector<PieceChoice> pieces;
    size_t c = static_cast<size_t>(std::max_element(best.begin(), best.end()) - best.begin());
    for (size_t i = n; i-- > 0;) {
        if (i == 0 || split[i * k + c]) {
            pieces.push_back({i, c});
            c = leader[i];
        }
    }
    std::reverse(pieces.begin(), pieces.end());
    return pieces;
}

}  // namespace tessaview
