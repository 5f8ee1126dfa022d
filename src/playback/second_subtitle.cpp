// The second subtitle's loading and lookup.
#include "playback/second_subtitle.h"

#include "playback/clock_math.h"
#include "subtitle/runtime_error.h"

namespace tessaview {

namespace {
const std::string kNoText;
}

SecondSubtitle::SecondSubtitle(SubtitleHost& window, std::string tmpFolder)
    : Core(*this, std::move(tmpFolder)), window_(window) {}

void SecondSubtitle::LoadVobSubFile(const std::string&) { throw RuntimeError(SecondVobSubText); }

void SecondSubtitle::Load(const std::string& FileName) {
    try {
        Core.LoadSubtitle(FileName);
    } catch (...) {
        // The pair was refused before anything was read: the list before is still there.
        Core.SubIsVobSub = false;
        throw;
    }
}

void SecondSubtitle::Remove() { Core.RemoveSubtitle(); }

const std::string& SecondSubtitle::TextAt(int32_t position, double movieFrameRate, bool withOffset) {
    if (!Loaded()) return kNoText;
    if (Core.MovieFrameRate != movieFrameRate) {
        Core.MovieFrameRate = movieFrameRate;
        Core.ClearLookupCache();
    }
    return Core.FindSubtitleText(withOffset ? SaturatingAdd(position, SyncFrames(OffsetMs, movieFrameRate)) : position);
}

}  // namespace tessaview
