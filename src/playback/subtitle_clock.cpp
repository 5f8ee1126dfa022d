// The subtitle clock's tick.
#include "playback/subtitle_clock.h"

#include "external/movie_engine.h"
#include "playback/clock_math.h"
#include "playback/movie_fields.h"
#include "playback/second_subtitle.h"
#include "presentation/subtitle_display.h"
#include "subtitle/subtitle_core.h"

namespace tessaview {

int32_t tmMovieTimer(MovieEngine& engine, SubtitleCore& core, const MovieFields& fields, ClockWindow& window,
                     SubtitleDisplay& display, SecondSubtitle* second) {
    int32_t p = 0;
    engine.GetPos(p);
    if (!fields.TrackDragging) window.SetTrackPosition(p);
    p = SaturatingAdd(p, fields.ContinuedOffset);
    const double rate = core.MovieFrameRate;
    if (rate > 0) window.SetClockText(PositionText(p, rate));
    if (second && second->Loaded()) display.ShowSecondText(second->TextAt(p, rate), second->Core.CueCodePage());
    if (const std::optional<int32_t> sync = window.SyncOffset()) p = SaturatingAdd(p, SyncFrames(*sync, rate));

    if (core.SubIsVobSub) {
        // Play after a failed first open ticks with no frame rate: no time to ask for.
        display.ShowPicture(rate > 0 ? std::optional(FramesToMilliseconds(p, rate)) : std::nullopt);
    } else {
        display.ShowText(core.FindSubtitleText(p), core.CueCodePage());
    }
    return p;
}

}  // namespace tessaview
