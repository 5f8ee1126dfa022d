// Which commands are enabled, from the three movie states (none chosen, open, not open).
#pragma once

#include <cstdint>

namespace tessaview {

struct CommandState {
    bool PlayFile = true;
    bool Play = false;
    bool Pause = false;
    bool Stop = false;
    bool OriginSize = false;
    bool DoubleSize = false;
    bool FullScreen = false;
    bool ContinuedPlayFile = false;
    bool ChangeSubtitleLanguage = false;
    bool operator==(const CommandState&) const = default;
};

// movieChosen: MovieFileName is not empty; movieOpen: tmMovie is enabled.
CommandState ComputeCommandState(bool movieChosen, bool movieOpen, int32_t MovieDuration, bool SubIsVobSub);

}  // namespace tessaview
