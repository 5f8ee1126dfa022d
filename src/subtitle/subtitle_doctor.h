// Why a loaded subtitle does not show, or shows wrong: facts gathered beside the readers
// (ReadFacts) and read off the cue list, each with the file's line number; and how the cue
// times fit a movie's frame rate and length.
#pragma once

#include "subtitle/read_facts.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessaview {

class SubtitleCore;

struct Problem {
    int line = 0;  // 0 when no line of the file is to blame
    std::string kind;
    std::string detail;
};

// `messages` and `error`: what the load showed. Times in the details as h:mm:ss.mmm, frames
// converted at core.MovieFrameRate.
std::vector<Problem> DiagnoseSubtitle(const SubtitleCore& core, const ReadFacts& facts,
                                      const std::vector<std::string>& messages,
                                      const std::optional<std::string>& error);

// Seconds as h:mm:ss.mmm (3723.5 gives 1:02:03.500).
std::string ClockText(double seconds);
// "1:02:03.5", "2:03", "75.25" as seconds; nothing when it is not such a time.
std::optional<double> ParseClockText(std::string_view text);

struct MovieFit {
    double frameRate = 0.0;
    double lengthSeconds = 0.0;
    double lastCueSeconds = 0.0;         // where the last cue ends, on the movie's clock today
    std::optional<int32_t> lastFrame;    // frame-numbered files: the last cue's end frame
    std::optional<double> fitRate;       // frame-numbered files: the rate their numbers fit
    std::optional<double> declaredRate;  // the rate a frame-rate line names
    std::string frameRateItem;           // the Subtitle FrameRate item to choose, or empty
    std::string verdict;                 // one sentence for a person
};

// Nothing when the list holds no cue with a real end.
std::optional<MovieFit> FitToMovie(const SubtitleCore& core, double frameRate, double lengthSeconds);

}  // namespace tessaview
