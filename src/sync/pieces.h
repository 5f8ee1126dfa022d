// Cues split into pieces where two releases were cut differently: each piece takes one of a
// few candidate shifts, chosen by dynamic programming over the cue boundaries so that the
// whole list scores best once every split has paid its penalty.
#pragma once

#include "sync/speech_track.h"

#include <cstddef>
#include <vector>

namespace tessaview {

struct PieceChoice {
    size_t fromCue = 0;
    size_t candidate = 0;  // index into the candidate shifts
};

// Pieces in cue order, the first from cue 0; neighbours never share a candidate.
std::vector<PieceChoice> SplitIntoPieces(const SpeechTrack& track, const std::vector<Span>& spans,
                                         const std::vector<double>& candidateShifts, double penalty);

}  // namespace tessaview
