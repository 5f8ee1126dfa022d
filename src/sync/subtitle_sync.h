// The alignment as the subtitle sees it: a cue list's times in milliseconds, the result put
// into the cue times, the corrected list written as SubRip, and the result in one sentence.
#pragma once

#include "subtitle/time_span.h"
#include "sync/alignment.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaview {

// Milliseconds of each cue (frames at `frameRate` when the list is not time-based); a cue
// with an open or endless end weighs nothing.
std::vector<SyncCue> CueTimesMs(const TSubList& cues, bool timeBased, double frameRate);
// The cue times of a subtitle file's whole text (a movie's own text track), read by the
// player's readers with their messages kept quiet; the cues read before an error count.
// Empty when no reader knows the text.
std::vector<SyncCue> CueTimesOfText(std::string_view text, double frameRate);

// Moves every cue's times as `result` says, in the list's own unit.
void ApplySync(TSubList& cues, bool timeBased, double frameRate, const SyncResult& result);

// `then` found on times already corrected by `first`: the one result that does both.
SyncResult ComposeSync(const SyncResult& first, const SyncResult& then);

// The pieces after the first as "fromCue:shiftMs,..." (empty for one piece), and a result
// read back from its shift, rate and that text: nothing when the text does not read or the
// pieces do not fit a list of `cueCount` cues.
std::string LaterPiecesText(const SyncResult& result);
std::optional<SyncResult> StoredSync(int64_t shiftMs, double rate, std::string_view laterPieces, size_t cueCount);

// The list as a SubRip file (UTF-8, CR LF): cue text is taken from `codePage`; an open end
// lasts three seconds, an endless one to the last time SubRip can write.
std::string SubRipText(const TSubList& cues, bool timeBased, double frameRate, const std::string& codePage);

// What a subtitle fitted to a movie's speech tells of it, for the doctor: "about 7.3 s late",
// the frame rate it was timed for, the pieces it was cut into, or why it does not fit; nothing
// when it fits already.
std::vector<std::string> SyncFindings(const SyncResult& result, double movieFrameRate);

// "Moved 7.30 s later, 25 fps read as 23.976, in 2 pieces; 94 % of the lines fall on speech".
std::string DescribeSync(const SyncResult& result);

}  // namespace tessaview
