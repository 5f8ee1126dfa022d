// Cue times fitted to a movie's speech: one shift over the whole movie, a frame-rate ratio when
// one is clearly better, pieces where the releases were cut differently, and a verdict that
// says how far the answer can be trusted.
#pragma once

#include "sync/speech_profile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessaview {

// A cue's times in milliseconds; a cue with no length still moves but weighs nothing.
struct SyncCue {
    int64_t startMs = 0;
    int64_t endMs = 0;
};

enum class SyncVerdict {
    Solid,     // one clear answer
    Unsure,    // a runner-up comes close
    NoSpeech,  // too little speech in the sound to fit anything to
    NoMatch,   // no shift or rate puts the lines on speech: probably another film's subtitle
};

// "solid", "unsure", "no-speech", "no-match".
std::string_view SyncVerdictName(SyncVerdict verdict);

// From cue `fromCue` on (until the next piece), times move by shiftMs after the rate.
struct SyncPiece {
    size_t fromCue = 0;
    int64_t shiftMs = 0;
};

struct SyncResult {
    SyncVerdict verdict = SyncVerdict::NoSpeech;
    double rate = 1.0;                           // factor applied to the subtitle's times
    std::vector<SyncPiece> pieces{SyncPiece{}};  // never empty; the first starts at cue 0
    double margin = 0.0;                         // 0..1: how far the best answer beats the runner-up
    double speechShare = 0.0;                    // 0..1: share of cue time on speech once corrected
    double audioSpeechShare = 0.0;               // 0..1: share of the sound that is speech

    int64_t ShiftMs() const { return pieces.front().shiftMs; }
    // A time of cue `cue` as corrected: time x rate + the shift of the cue's piece.
    int64_t CorrectedTime(size_t cue, int64_t ms) const;
};

struct SyncOptions {
    bool tryRates = true;
    bool trySplits = true;
    // What a split costs, in lines that fall wholly on speech: a piece must win more.
    double splitPenaltyLines = 7.0;
};

SyncResult AlignToSpeech(const std::vector<SyncCue>& cues, const SpeechProfile& speech,
                         const SyncOptions& options = {});

// Another timing of the same speech (the movie's own text track, a second language) as a
// profile to align to: speech wherever one of its cues shows.
SpeechProfile ProfileFromCues(const std::vector<SyncCue>& cues);

// The ratios between the usual frame rates (23.976, 24, 25, 29.97, 30), each once, without 1.
const std::vector<double>& FrameRateRatios();
// "25 fps read as 23.976" for the rate 25 / 23.976 (the subtitle was timed for 25 fps).
std::string FrameRateRatioName(double rate);

}  // namespace tessaview
