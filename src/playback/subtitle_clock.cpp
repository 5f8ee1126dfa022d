// The subtitle clock's tick.
#include "playback/subtitle_clock.h"

#include "external/movie_engine.h"
#include "external/vobsub_library.h"
#include "playback/clock_math.h"
#include "playback/movie_fields.h"
#include "subtitle/subtitle_core.h"

namespace tessaview {

int32_t tmMovieTimer(MovieEngine& engine, SubtitleCore& core, VobSubLibrary& vobsub, const MovieFields& fields,
                     ClockSurfaces& surfaces) {
    int32_t p = 0;
    engine.GetPos(p);
    if (!fields.TrackDragging) surfaces.SetTrackPosition(p);
    p = SaturatingAdd(p, fields.ContinuedOffset);
    const double rate = core.MovieFrameRate;
    if (rate > 0) surfaces.SetClockText(PositionText(p, rate));
    if (const std::optional<int32_t> sync = surfaces.SyncOffset()) p = SaturatingAdd(p, SyncFrames(*sync, rate));

    if (core.SubIsVobSub) {
        surfaces.ShowBitmapSurfaces();
        // Play after a failed first open ticks with no frame rate: no time to ask for.
        if (rate > 0) {
            if (vobsub.GetFrame(FramesToMilliseconds(p, rate)))
                surfaces.DrawBitmapCue();
            else
                surfaces.ClearBitmapCue();
        }
    } else {
        surfaces.ShowTextSurfaces();
        surfaces.SetCaptions(core.FindSubtitleText(p));
    }
    return p;
}

}  // namespace tessaview
