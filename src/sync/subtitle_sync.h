// The alignment as the subtitle sees it: a cue list's times in milliseconds, the result put
// into the cue times, the corrected list written as SubRip, and the result in one sentence.
#pragma once

#include "subtitle/time_span.h"
#include "sync/alignment.h"

#include <string>
#include <vector>

namespace tessaview {

// Milliseconds of each cue (frames at `frameRate` when the list is not time-based); a cue
// with an open or endless end weighs nothing.
std::vector<SyncCue> CueTimesMs(const TSubList& cues, bool timeBased, double frameRate);

// Moves every cue's times as `result` says, in the list's own unit.
void ApplySync(TSubList& cues, bool timeBased, double frameRate, const SyncResult& result);

// The list as a SubRip file (UTF-8, CR LF): cue text is taken from `codePage`; an open end
// lasts three seconds, an endless one to the last time SubRip can write.
std::string SubRipText(const TSubList& cues, bool timeBased, double frameRate, const std::string& codePage);

// "Moved 7.30 s later, 25 fps read as 23.976, in 2 pieces; 94 % of the lines fall on speech".
std::string DescribeSync(const SyncResult& result);

}  // namespace tessaview
