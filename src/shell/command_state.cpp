// The enabled-state table of the movie commands.
#include "shell/command_state.h"

namespace tessaview {

CommandState ComputeCommandState(bool movieChosen, bool movieOpen, int32_t MovieDuration, bool SubIsVobSub) {
    CommandState state;
    const bool open = movieChosen && movieOpen;
    const bool notOpen = movieChosen && !movieOpen;
    state.Play = notOpen;
    state.Pause = state.Stop = open;
    state.OriginSize = state.DoubleSize = state.FullScreen = open;
    state.ContinuedPlayFile = MovieDuration != 0;
    state.ChangeSubtitleLanguage = SubIsVobSub;
    return state;
}

}  // namespace tessaview
