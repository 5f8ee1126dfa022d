// The subtitle's lines on the clock's timeline: where each one starts and ends in clock frames,
// which one comes before or after a position, and the way between clock frames, the engine's
// frames and the times the transcript shows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessaview {

class SubtitleCore;
struct VobSubPictureTime;

// One line in clock frames (the frames the clock looks a cue up at), both ends included.
struct LineSpan {
    int32_t start = 0;
    int32_t end = 0;
    bool operator==(const LineSpan&) const = default;
};

// The lines in the subtitle's own order (row = cue), with their order by start beside it.
class SubtitleLines {
public:
    void Assign(std::vector<LineSpan> spans);
    size_t size() const { return spans_.size(); }
    bool empty() const { return spans_.empty(); }
    const LineSpan& operator[](size_t row) const { return spans_[row]; }

    // The line of least start after `position`; of two with one start, the first in the list.
    std::optional<size_t> NextAfter(int32_t position) const;
    // The line of greatest start before `position`; of two with one start, the first.
    std::optional<size_t> PreviousBefore(int32_t position) const;
    // The line of greatest start at or before `position`: the one shown last by then.
    std::optional<size_t> LastStartedBy(int32_t position) const;
    // The lines that start at `start`, in the list's order.
    std::vector<size_t> StartingAt(int32_t start) const;

private:
    std::vector<LineSpan> spans_;
    std::vector<uint32_t> byStart_;  // rows ordered by start, the list's order among equals
    std::vector<int32_t> starts_;    // spans_[byStart_[i]].start
    size_t firstOfStart(size_t sorted) const;
};

// The text cues in clock frames: SpanToPosition of each end, as the lookup converts them.
std::vector<LineSpan> TextLineSpans(const SubtitleCore& core);
// The VobSub pictures in clock frames at `rate`: the first and last frame the clock asks the
// library for a time within the picture's.
std::vector<LineSpan> PictureLineSpans(const std::vector<VobSubPictureTime>& pictures, double rate);

// The ways the clock adds to the engine's position: the continued-play offset, then the
// synchronize value (none while its window does not exist) at the subtitle's frame rate.
struct ClockOffsets {
    int32_t continuedOffset = 0;
    std::optional<int32_t> syncMs;
    double rate = 0.0;  // MovieFrameRate
};

// The position the clock looks subtitles up at for the engine's frame `enginePosition`.
int32_t ClockPosition(int32_t enginePosition, const ClockOffsets& offsets);
// The engine frame at which the clock reaches `clockPosition`; may lie outside the movie.
int32_t EnginePosition(int32_t clockPosition, const ClockOffsets& offsets);

// A line's start as the transcript lists it: the movie's time when it shows, continued-play
// parts before it counted, "h:mm:ss" at the engine's `engineRate` (negative with a '-').
std::string LineTimeText(int32_t clockPosition, const ClockOffsets& offsets, double engineRate);
// Before a movie gives a frame rate: the file's own time less the synchronize value.
std::string LineTimeTextFromMs(int32_t milliseconds, const ClockOffsets& offsets);

}  // namespace tessaview
