// The subtitle clock: what one 100 ms tick of tmMovie does, against the window and the
// subtitle display it writes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tessaview {

class MovieEngine;
class SecondSubtitle;
class SubtitleCore;
class SubtitleDisplay;
struct MovieFields;

// The window side of a tick.
class ClockWindow {
public:
    virtual ~ClockWindow() = default;
    virtual void SetTrackPosition(int32_t frame) = 0;
    virtual void SetClockText(const std::string& text) = 0;  // status panel 0
    // The synchronize offset in ms; empty while the synchronize window does not exist.
    virtual std::optional<int32_t> SyncOffset() const = 0;
};

// One tick. Returns the position the subtitle was chosen for (frames, after every offset).
// A loaded `second` subtitle's line is looked up at the same movie position with its own offset.
int32_t tmMovieTimer(MovieEngine& engine, SubtitleCore& core, const MovieFields& fields, ClockWindow& window,
                     SubtitleDisplay& display, SecondSubtitle* second = nullptr);

}  // namespace tessaview
