// The lines on the clock's timeline and the clock's arithmetic run both ways.
#include "playback/subtitle_lines.h"

#include "external/vobsub_library.h"
#include "playback/clock_math.h"
#include "subtitle/subtitle_core.h"
#include "subtitle/time_base.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <numeric>

namespace tessaview {

namespace {

int32_t Negated(int32_t value) {
    return value == std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::max() : -value;
}

int32_t SyncFramesOf(const ClockOffsets& offsets) {
    return offsets.syncMs ? SyncFrames(*offsets.syncMs, offsets.rate) : 0;
}

std::string ClockText(int64_t seconds) {
    const std::string sign = seconds < 0 ? "-" : "";
    seconds = std::llabs(seconds);
    const auto two = [](int64_t value) { return (value < 10 ? "0" : "") + std::to_string(value); };
    return sign + std::to_string(seconds / 3600) + ":" + two(seconds % 3600 / 60) + ":" + two(seconds % 60);
}

// The first clock frame at which the library is asked for `ms` or later.
int32_t FirstFrameAtOrAfter(int32_t ms, double rate) {
    int32_t frame = MillisecondsToFrames(ms, rate);
    while (frame < std::numeric_limits<int32_t>::max() && FramesToMilliseconds(frame, rate) < ms) ++frame;
    while (frame > std::numeric_limits<int32_t>::min() && FramesToMilliseconds(frame - 1, rate) >= ms) --frame;
    return frame;
}

}  // namespace

void SubtitleLines::Assign(std::vector<LineSpan> spans) {
    spans_ = std::move(spans);
    byStart_.resize(spans_.size());
    std::iota(byStart_.begin(), byStart_.end(), 0U);
    std::stable_sort(byStart_.begin(), byStart_.end(),
                     [this](uint32_t a, uint32_t b) { return spans_[a].start < spans_[b].start; });
    starts_.resize(spans_.size());
    for (size_t i = 0; i < byStart_.size(); ++i) starts_[i] = spans_[byStart_[i]].start;
}

size_t SubtitleLines::firstOfStart(size_t sorted) const {
    // The first row among those sharing the start at `sorted`.
    const auto first = std::lower_bound(starts_.begin(), starts_.end(), starts_[sorted]);
    return byStart_[static_cast<size_t>(first - starts_.begin())];
}

std::optional<size_t> SubtitleLines::NextAfter(int32_t position) const {
    const auto at = std::upper_bound(starts_.begin(), starts_.end(), position);
    if (at == starts_.end()) return std::nullopt;
    return byStart_[static_cast<size_t>(at - starts_.begin())];
}

std::optional<size_t> SubtitleLines::PreviousBefore(int32_t position) const {
    const auto at = std::lower_bound(starts_.begin(), starts_.end(), position);
    if (at == starts_.begin()) return std::nullopt;
    return firstOfStart(static_cast<size_t>(at - starts_.begin()) - 1);
}

std::optional<size_t> SubtitleLines::LastStartedBy(int32_t position) const {
    const auto at = std::upper_bound(starts_.begin(), starts_.end(), position);
    if (at == starts_.begin()) return std::nullopt;
    return firstOfStart(static_cast<size_t>(at - starts_.begin()) - 1);
}

std::vector<size_t> SubtitleLines::StartingAt(int32_t start) const {
    const auto [first, last] = std::equal_range(starts_.begin(), starts_.end(), start);
    std::vector<size_t> rows;
    for (auto it = first; it != last; ++it) rows.push_back(byStart_[static_cast<size_t>(it - starts_.begin())]);
    return rows;
}

std::vector<LineSpan> TextLineSpans(const SubtitleCore& core) {
    std::vector<LineSpan> spans;
    spans.reserve(core.SubList.size());
    for (const auto& cue : core.SubList)
        spans.push_back({core.SpanToPosition(cue->StartTime), core.SpanToPosition(cue->EndTime)});
    return spans;
}

std::vector<LineSpan> PictureLineSpans(const std::vector<VobSubPictureTime>& pictures, double rate) {
    std::vector<LineSpan> spans;
    if (!(rate > 0)) return spans;
    spans.reserve(pictures.size());
    for (const VobSubPictureTime& picture : pictures) {
        const int32_t end = picture.endMs == std::numeric_limits<int32_t>::max()
                                ? std::numeric_limits<int32_t>::max()
                                : FirstFrameAtOrAfter(picture.endMs, rate) - 1;
        spans.push_back({FirstFrameAtOrAfter(picture.startMs, rate), end});
    }
    return spans;
}

int32_t ClockPosition(int32_t enginePosition, const ClockOffsets& offsets) {
    return SaturatingAdd(SaturatingAdd(enginePosition, offsets.continuedOffset), SyncFramesOf(offsets));
}

int32_t EnginePosition(int32_t clockPosition, const ClockOffsets& offsets) {
    const int32_t withoutSync = SaturatingAdd(clockPosition, Negated(SyncFramesOf(offsets)));
    return SaturatingAdd(withoutSync, Negated(offsets.continuedOffset));
}

std::string LineTimeText(int32_t clockPosition, const ClockOffsets& offsets, double engineRate) {
    if (!(engineRate > 0)) return {};
    const int32_t timeline = SaturatingAdd(EnginePosition(clockPosition, offsets), offsets.continuedOffset);
    return ClockText(RoundHalfEven(static_cast<long double>(timeline) / static_cast<long double>(engineRate)));
}

std::string LineTimeTextFromMs(int32_t milliseconds, const ClockOffsets& offsets) {
    const int64_t shown = int64_t{milliseconds} - offsets.syncMs.value_or(0);
    return ClockText(RoundHalfEven(static_cast<long double>(shown) / 1000.0L));
}

}  // namespace tessaview
