// tessaview-probe --sync: fits a subtitle's times to a movie's speech and prints the verdict
// with its figures; --write keeps the corrected SubRip when the answer is solid.
#pragma once

#include "sync/speech_profile.h"

#include <optional>
#include <string>

namespace tessaview {

struct SyncProbeOptions {
    std::string movie;
    std::string subtitle;
    bool json = false;
    std::optional<std::string> write;  // the corrected SubRip, written only for a solid answer
    std::optional<std::string> cache;  // where speech profiles are kept
    std::optional<double> fps;         // for frame-numbered subtitles; the movie's by default
    std::string codePage;              // of the cue text when the file does not say
};

// The movie's speech, kept in `cache` (by default where an installed player keeps it), so a
// second look at the same movie does not decode its sound again. Throws when it cannot.
SpeechProfile ReadProbeSpeech(const std::string& movie, const std::optional<std::string>& cache);

// Exit status: 0 done, 1 bad input (with a message), 3 --write given but the answer is not solid.
int RunSyncProbe(const SyncProbeOptions& options);

}  // namespace tessaview
