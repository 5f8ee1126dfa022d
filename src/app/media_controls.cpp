// The main window as the desktop's media controls see it.
#include "app/media_controls.h"

#include "app/tfm_main.h"
#include "external/movie_engine.h"
#include "platform/mpris_service.h"
#include "shell/play_list.h"
#include "subtitle/number_rules.h"

#include <QTimer>
#include <cmath>

namespace tessaview {

namespace {

// The entry marked playing or paused; -1 when none is.
int MarkedEntry(const PlayList& list) {
    for (int i = 0; i < list.Count(); ++i)
        if (list.Mark(i) == MarkPlaying || list.Mark(i) == MarkPaused) return i;
    return -1;
}

}  // namespace

MediaPlayerState MainWindowMediaHost::State() const {
    const PlayList& list = window_.PlayListEntries();
    const int marked = MarkedEntry(list);
    const bool open = window_.tmMovie->isActive();
    const double rate = window_.Subtitles.EngineFrameRate;
    MediaPlayerState state;
    state.status = !open                                            ? PlaybackStatus::Stopped
                   : marked >= 0 && list.Mark(marked) == MarkPaused ? PlaybackStatus::Paused
                                                                    : PlaybackStatus::Playing;
    state.track = window_.Movie.MovieFileName;
    state.lengthUs = rate > 0 ? RoundHalfAway(window_.Movie.MovieDuration / rate * 1e6) : 0;
    state.volumePercent = window_.VolumePercent();
    const CommandState commands = window_.CurrentCommandState();
    state.canPlay = commands.Play || commands.Pause;
    state.canGoNext = open && marked >= 0 && marked + 1 < list.Count();
    state.canGoPrevious = open && marked > 0;
    return state;
}

int64_t MainWindowMediaHost::PositionUs() {
    const double rate = window_.Subtitles.EngineFrameRate;
    if (!(rate > 0)) return 0;
    int32_t frame = 0;
    engine_.GetPos(frame);
    return RoundHalfAway(frame / rate * 1e6);
}

void MainWindowMediaHost::SetPositionUs(int64_t position) {
    const double rate = window_.Subtitles.EngineFrameRate;
    if (!(rate > 0)) return;
    // As the track bar seeks: engine frames, without the continued-play offset.
    window_.Guarded([&] { engine_.SetPos(static_cast<int32_t>(RoundHalfAway(position / 1e6 * rate))); });
}

void MainWindowMediaHost::SetVolumePercent(int32_t percent) { window_.SetVolumePercent(percent); }

void MainWindowMediaHost::Play() {
    window_.Guarded([this] { window_.Play1Click(); });
}
void MainWindowMediaHost::Pause() {
    window_.Guarded([this] { window_.Pause1Click(); });
}
void MainWindowMediaHost::Stop() {
    window_.Guarded([this] { window_.Stop1Click(); });
}

// The play list moves on from the entry marked playing: a paused movie goes on first.
void MainWindowMediaHost::Next() {
    window_.Guarded([this] {
        if (State().status == PlaybackStatus::Paused) window_.Pause1Click();
        window_.MovieCommands().PlayNextEntry();
    });
}

void MainWindowMediaHost::Previous() {
    window_.Guarded([this] {
        if (State().status == PlaybackStatus::Paused) window_.Pause1Click();
        window_.MovieCommands().PlayPreviousEntry();
    });
}

void MainWindowMediaHost::OpenFile(const std::string& path) {
    window_.Guarded([this, &path] {
        window_.Movie.ContinuedOffset = 0;
        window_.Movie.MovieDuration = 0;
        window_.Movie.MovieFileName = path;
        window_.OpenMovie();
    });
}

void MainWindowMediaHost::Raise() {
    // In full screen the picture is already in front; the window is hidden behind it.
    if (window_.Movie.IsFullScreen) return;
    window_.setWindowState(window_.windowState() & ~Qt::WindowMinimized);
    window_.show();
    window_.raise();
    window_.activateWindow();
}

void MainWindowMediaHost::Quit() { window_.Exit1Click(); }

MediaControls::MediaControls(TfmMain& window, MovieEngine& engine, int64_t processId, const QString& busAddress)
    : host_(window, engine), service_(std::make_unique<MprisService>(host_, processId, busAddress)) {
    QObject::connect(&window, &TfmMain::Closed, service_.get(), [service = service_.get()] { service->Withdraw(); });
}

MediaControls::~MediaControls() = default;

}  // namespace tessaview
