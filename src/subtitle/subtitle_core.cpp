// The cue list, the time base and the lookup with its cache.
#include "subtitle/subtitle_core.h"

#include "subtitle/time_base.h"

namespace tessaview {

namespace {
const std::string emptyText;
}

SubtitleCore::SubtitleCore(SubtitleHost& host, std::string programFolder)
    : host_(host), programFolder_(std::move(programFolder))
{
}

void SubtitleCore::ClearSubList()
{
    SubList.clear();
    // A new list makes the cached cue meaningless; keeping it would show the old file's
    // text for the rest of that cue's interval.
    ClearLookupCache();
}

void SubtitleCore::ClearLookupCache()
{
    LastSpanStart = 0;
    LastSpanEnd = 0;
    LastSpanText.clear();
}

int32_t SubtitleCore::SpanToPosition(int32_t time) const
{
    return SubIsTimeBased ? SecondsToFrames(time, MovieFrameRate) : time;
}

const std::string& SubtitleCore::FindSubtitleText(int32_t position)
{
    if (SubList.empty())
        return emptyText;
    // Strict, unlike the search: at a cached boundary the search decides again which of two
    // touching cues is shown.
    if (position > LastSpanStart && position < LastSpanEnd)
        return LastSpanText;
    const auto found = [&](const TTimeSpan& cue, int32_t start) -> const std::string& {
        LastSpanStart = start;
        LastSpanEnd = SpanToPosition(cue.EndTime);
        LastSpanText = cue.Text;
        return LastSpanText;
    };
    size_t lo = 0;
    size_t hi = SubList.size() - 1;
    for (;;) {
        const size_t mid = (lo + hi) / 2;
        const TTimeSpan& cue = *SubList[mid];
        const int32_t start = SpanToPosition(cue.StartTime);
        // The end is only needed when the start is not past the position.
        const bool startAfter = start > position;
        if (!startAfter && SpanToPosition(cue.EndTime) >= position)
            return found(cue, start);
        if (hi == lo)
            return emptyText;
        if (hi - lo == 1) {
            const TTimeSpan& last = *SubList[hi];
            const int32_t lastStart = SpanToPosition(last.StartTime);
            if (lastStart <= position && SpanToPosition(last.EndTime) >= position)
                return found(last, lastStart);
            return emptyText;
        }
        if (startAfter)
            hi = mid;
        else
            lo = mid;
    }
}

void SubtitleCore::n005Click(int tag)
{
    if (tag < 0 || tag > 5)
        return;
    MovieFrameRate = tag == 0 ? EngineFrameRate : SubtitleFrameRateOfTag(tag);
    // Cached frame bounds were converted at the old rate.
    ClearLookupCache();
    host_.SubtitleFrameRateChosen(tag, FrameRateStatusText(tag, MovieFrameRate, host_.DecimalSeparator()));
}

}  // namespace tessaview
