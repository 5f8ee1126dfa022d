// The cue list, the time base and the lookup with its cache.
#include "subtitle/subtitle_core.h"

#include "subtitle/time_base.h"

#include <algorithm>
#include <bit>

namespace tessaview {

namespace {
const std::string emptyText;
}

SubtitleCore::SubtitleCore(SubtitleHost& host, std::string programFolder)
    : host_(host), programFolder_(std::move(programFolder)) {}

void SubtitleCore::ClearSubList() {
    SubList.clear();
    ++listNumber_;
    indexStale_ = true;
    ++listGeneration_;
    // A new list makes the cached cue meaningless; keeping it would show the old file's
    // text for the rest of that cue's interval.
    ClearLookupCache();
}

void SubtitleCore::RemoveSubtitle() {
    ClearSubList();
    SubLines.clear();
    SubIsVobSub = false;
    SubFileName.clear();
    lastReader_.clear();
    n005Click(0);
}

void SubtitleCore::ClearLookupCache() {
    LastSpanStart = 0;
    LastSpanEnd = 0;
    LastSpanText.clear();
}

int32_t SubtitleCore::SpanToPosition(int32_t time) const {
    if (!SubIsTimeBased) return time;
    // The two ends no file time gives stay beyond every position at every rate: converted,
    // -1 ms would round to frame 0 and 2147483647 ms to a mere 596 hours.
    if (time == OpenEndTime) return INT32_MIN;
    if (time == EndlessTime) return INT32_MAX;
    return MillisecondsToFrames(time, MovieFrameRate);
}

void SubtitleCore::SubListChanged() {
    indexStale_ = true;
    ++listGeneration_;
}

const std::vector<SubtitleCore::SpanFrames>& SubtitleCore::spanIndex() {
    const bool same = !indexStale_ && spanFrames_.size() == SubList.size() && indexedData_ == SubList.data() &&
                      indexedFront_ == SubList.front().get() && indexedBack_ == SubList.back().get() &&
                      indexedFrontStart_ == indexedFront_->StartTime && indexedBackEnd_ == indexedBack_->EndTime &&
                      indexedRate_ == MovieFrameRate && indexedTimeBased_ == SubIsTimeBased;
    if (!same) {
        spanFrames_.resize(SubList.size());
        for (size_t i = 0; i < SubList.size(); ++i)
            spanFrames_[i] = {SpanToPosition(SubList[i]->StartTime), SpanToPosition(SubList[i]->EndTime)};
        indexedData_ = SubList.data();
        indexedFront_ = SubList.front().get();
        indexedBack_ = SubList.back().get();
        indexedFrontStart_ = indexedFront_->StartTime;
        indexedBackEnd_ = indexedBack_->EndTime;
        indexedRate_ = MovieFrameRate;
        indexedTimeBased_ = SubIsTimeBased;
        indexStale_ = false;
        buildSearchTop();
    }
    return spanFrames_;
}

void SubtitleCore::buildSearchTop() {
    // Replays the search's ranges level by level; a range of fewer than three cues ends the
    // search at its own level, so it has no next nodes.
    // A search takes at most bit_width(count) + 1 steps: no more levels than that are kept.
    const int levels = std::min<int>(SearchTopLevels, static_cast<int>(std::bit_width(spanFrames_.size())) + 1);
    const size_t nodes = spanFrames_.empty() ? 0 : (size_t{1} << levels) - 1;
    searchTop_.assign(nodes, SpanFrames{});
    struct Range {
        size_t lo, hi;
    };
    std::vector<Range> ranges(nodes, Range{1, 0});
    if (spanFrames_.empty()) return;
    ranges[0] = {0, spanFrames_.size() - 1};
    for (size_t k = 0; k < ranges.size(); ++k) {
        const Range r = ranges[k];
        if (r.lo > r.hi) continue;
        const size_t mid = (r.lo + r.hi) / 2;
        searchTop_[k] = spanFrames_[mid];
        if (r.hi - r.lo > 1 && 2 * k + 2 < ranges.size()) {
            ranges[2 * k + 1] = {r.lo, mid};
            ranges[2 * k + 2] = {mid, r.hi};
        }
    }
}

const std::string& SubtitleCore::FindSubtitleText(int32_t position) {
    if (SubList.empty()) return emptyText;
    // Strict, unlike the search: at a cached boundary the search decides again which of two
    // touching cues is shown.
    if (position > LastSpanStart && position < LastSpanEnd) return LastSpanText;
    const SpanFrames* frames = spanIndex().data();
    const auto found = [&](size_t index) -> const std::string& {
        LastSpanStart = frames[index].start;
        LastSpanEnd = frames[index].end;
        LastSpanText = SubList[index]->Text;
        return LastSpanText;
    };
    // Binary search with inclusive bounds, halving as mid = (lo + hi) div 2 and stopping at
    // hi - lo of 0 or 1, so that unsorted lists and shared bounds give the same cue as ever.
    size_t lo = 0;
    size_t hi = spanFrames_.size() - 1;
    const SpanFrames* top = searchTop_.data();
    const size_t topNodes = searchTop_.size();
    size_t node = 0;  // the step's place in searchTop_, while the search is in its first levels
    for (;;) {
        const size_t mid = (lo + hi) / 2;
        SpanFrames span;
        if (node < topNodes) {
            span = top[node];
        } else {
            // Both possible next middles are fetched while this one is compared.
            __builtin_prefetch(&frames[(lo + mid) / 2]);
            __builtin_prefetch(&frames[(mid + hi) / 2]);
            span = frames[mid];
        }
        if (span.start <= position && span.end >= position) return found(mid);
        if (hi - lo <= 1) {
            if (hi != lo && frames[hi].start <= position && frames[hi].end >= position) return found(hi);
            return emptyText;
        }
        const bool before = span.start > position;
        hi = before ? mid : hi;
        lo = before ? lo : mid;
        node = 2 * node + (before ? 1 : 2);
    }
}

void SubtitleCore::n005Click(int tag) {
    if (tag < 0 || tag > 5) return;
    MovieFrameRate = tag == 0 ? EngineFrameRate : SubtitleFrameRateOfTag(tag);
    // Cached frame bounds were converted at the old rate.
    ClearLookupCache();
    host_.SubtitleFrameRateChosen(tag, FrameRateStatusText(tag, MovieFrameRate, host_.DecimalSeparator()));
}

}  // namespace tessaview
