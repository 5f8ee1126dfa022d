// The keys and gestures every player has, in the window and in full screen, the sound level
// and muting, and the short texts over the picture that answer them.
#include "app/tfm_main.h"

#include "external/messages.h"
#include "external/movie_engine.h"
#include "playback/clock_math.h"
#include "playback/player_keys.h"
#include "playback/reading_control.h"
#include "playback/view_control.h"
#include "presentation/tfm_synchronize.h"
#include "shell/play_list.h"

#include <QAction>
#include <QTimer>

namespace tessaview {

void TfmMain::BuildPlayerKeys() {
    // Shortcuts of the window, so a text field or a dialog with the focus keeps its own keys.
    // Full screen has the engine's window and its keys come as WM_FULLSCREEN_KEY.
    for (const PlayerKey& entry : PlayerKeys()) {
        if (!entry.inWindow) continue;
        auto* action = new QAction(this);
        action->setShortcut(QKeySequence(entry.key));
        action->setShortcutContext(Qt::WindowShortcut);
        const PlayerCommand command = entry.command;
        connect(action, &QAction::triggered, this,
                [this, command] { Guarded([this, command] { RunPlayerCommand(command); }); });
        addAction(action);
    }
}

bool TfmMain::PlayerMessage(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == WM_PICTURE_WHEEL) {
        if (!tmMovie->isActive()) {
            wheelRest_ = 0;
            return true;
        }
        const int notches = WheelNotches(wheelRest_, static_cast<WindowMessage*>(event)->wParam());
        if (notches != 0) Guarded([this, notches] { SetVolumePercent(SteppedVolume(VolumePercent(), notches)); });
        return true;
    }
    if (type == WM_PICTURE_DBLCLK) {
        Guarded([this] {
            if (Movie.IsFullScreen)
                viewControl_->LeaveFullScreen();
            else if (CurrentCommandState().FullScreen)
                NN3Click();
        });
        return true;
    }
    return false;
}

void TfmMain::RunPlayerCommand(PlayerCommand command) {
    using enum PlayerCommand;
    // The media keys do what the Movie menu would, where its command is available.
    const CommandState state = CurrentCommandState();
    switch (command) {
        case MediaPlay:
            if (state.Play)
                Play1Click();
            else if (state.Pause && MoviePaused())
                Pause1Click();
            return;
        case MediaPause:
            if (state.Pause && !MoviePaused()) Pause1Click();
            return;
        case MediaPlayPause:
            if (state.Play)
                Play1Click();
            else if (state.Pause)
                Pause1Click();
            return;
        case MediaStop:
            if (!state.Stop) return;
            viewControl_->LeaveFullScreen();
            Stop1Click();
            return;
        default:
            break;
    }
    if (!tmMovie->isActive()) return;  // every other key needs an open movie
    switch (command) {
        case PauseOrGoOn:
            Pause1Click();
            break;
        case SeekBack:
            SeekBy(-ShortSeekSeconds);
            break;
        case SeekForward:
            SeekBy(ShortSeekSeconds);
            break;
        case SeekBackLong:
            SeekBy(-LongSeekSeconds);
            break;
        case SeekForwardLong:
            SeekBy(LongSeekSeconds);
            break;
        case ToStart:
            engine_.SetPos(0);
            ShowSeekPosition(0);
            break;
        case VolumeUp:
            SetVolumePercent(SteppedVolume(VolumePercent(), 1));
            break;
        case VolumeDown:
            SetVolumePercent(SteppedVolume(VolumePercent(), -1));
            break;
        case Mute:
            SetMuted(!Muted());
            break;
        case SubtitlesEarlier:
        case SubtitlesLater:
            // The clock adds the synchronize value to the movie's position: more is earlier.
            if (!fmSynchronize_) break;
            fmSynchronize_->StepBy(command == SubtitlesEarlier ? SyncStepMs : -SyncStepMs);
            engine_.ShowText(SyncOffsetText(fmSynchronize_->SyncOffset()));
            break;
        case SecondSubtitlesEarlier:
            StepSecondOffset(SyncStepMs);
            break;
        case SecondSubtitlesLater:
            StepSecondOffset(-SyncStepMs);
            break;
        case MediaNext:
            movieControl_->PlayNextEntry();
            break;
        case MediaPrevious:
            movieControl_->PlayPreviousEntry();
            break;
        case PreviousLine:
            reading_->PreviousLine();
            break;
        case NextLine:
            reading_->NextLine();
            break;
        case RepeatLine:
            reading_->RepeatLine();
            break;
        case CopyLine:
            reading_->CopyLine();
            break;
        case PauseAfterLine:
            PauseAfterEachLine1Click();
            break;
        default:
            break;
    }
}

void TfmMain::SeekBy(int32_t seconds) {
    int32_t position = 0;
    engine_.GetPos(position);
    const int32_t target = SeekTarget(position, SeekFrames(seconds, Subtitles.EngineFrameRate), Movie.MovieDuration);
    engine_.SetPos(target);
    ShowSeekPosition(target);
}

void TfmMain::ShowSeekPosition(int32_t frame) {
    if (Subtitles.EngineFrameRate > 0)
        engine_.ShowText(PositionLengthText(frame, Movie.MovieDuration, Subtitles.EngineFrameRate));
}

bool TfmMain::MoviePaused() const {
    for (int i = 0; i < playList_->Count(); ++i)
        if (playList_->Mark(i) == MarkPaused) return true;
    return false;
}

int32_t TfmMain::VolumePercent() const { return settings_.Volume; }

void TfmMain::SetVolumePercent(int32_t percent) {
    settings_.Volume = ValidVolume(percent);
    engine_.SetVolume(settings_.Volume);
    engine_.ShowText(VolumeText(settings_.Volume, settings_.Muted));
}

bool TfmMain::Muted() const { return settings_.Muted; }

void TfmMain::SetMuted(bool on) {
    settings_.Muted = on;
    engine_.SetMute(on);
    engine_.ShowText(on ? "Muted" : "Sound on");
}

void TfmMain::ApplySound() {
    engine_.SetVolume(settings_.Volume);
    engine_.SetMute(settings_.Muted);
}

}  // namespace tessaview
