// The subtitle clock: what one 100 ms tick of tmMovie does, against the surfaces it writes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tessaview {

class MovieEngine;
class SubtitleCore;
class VobSubLibrary;
struct MovieFields;

// The window side of a tick.
class ClockSurfaces {
public:
    virtual ~ClockSurfaces() = default;
    virtual void SetTrackPosition(int32_t frame) = 0;
    virtual void SetClockText(const std::string& text) = 0;  // status panel 0
    // The synchronize offset in ms; empty while the synchronize window does not exist.
    virtual std::optional<int32_t> SyncOffset() const = 0;
    virtual void ShowTextSurfaces() = 0;    // lbSubtitle shown, imSubtitle hidden, lbSub shown, imSub hidden
    virtual void ShowBitmapSurfaces() = 0;  // the other way round
    virtual void SetCaptions(const std::string& text) = 0;  // lbSubtitle, then lbSub from it
    virtual void DrawBitmapCue() = 0;
    virtual void ClearBitmapCue() = 0;
};

// One tick. Returns the position the subtitle was chosen for (frames, after every offset).
int32_t tmMovieTimer(MovieEngine& engine, SubtitleCore& core, VobSubLibrary& vobsub, const MovieFields& fields,
                     ClockSurfaces& surfaces);

}  // namespace tessaview
