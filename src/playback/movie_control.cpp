// Movie control.
#include "playback/movie_control.h"

#include "external/movie_engine.h"
#include "external/text_tracks.h"
#include "platform/desktop.h"
#include "platform/file_chooser.h"
#include "playback/clock_math.h"
#include "playback/file_names.h"
#include "playback/subtitle_search.h"
#include "playback/view_modes.h"
#include "shell/play_list.h"
#include "subtitle/file_case.h"
#include "subtitle/subtitle_core.h"
#include "subtitle/text_encoding.h"
#include "subtitle/text_rules.h"

#include <QWidget>

namespace tessaview {

const char* const MovieFileErrorText =
    "Movie file error or DivX codec not installed properly!\r"
    "See https://tessaview.org/help for more information.";
const char* const FrameRateErrorText = "Can not get the frame rate of the movie";
const char* const MovieFileDialogTitle = "Play DivX Movie";
// The classic entries first; the last one lists the containers common today.
const char* const MovieFileDialogFilter =
    "Movie files|*.avi;*.mpg;*.mpeg;*.dat;*.divx;*.wmv;*.asf|All Files|*.*|"
    "Other movie files|*.mkv;*.mp4;*.m4v;*.mov;*.webm;*.ts;*.m2ts;*.ogv;*.flv;*.wmv";

MovieControl::MovieControl(MovieEngine& engine, SubtitleCore& core, PlayList& playList, Desktop& desktop,
                           FileChooser& chooser, MovieWindow& window, MovieFields& fields, TextTracks* tracks)
    : engine_(engine),
      core_(core),
      playList_(playList),
      desktop_(desktop),
      chooser_(chooser),
      window_(window),
      fields_(fields),
      tracks_(tracks) {}

void MovieControl::PromptOpenMovie() {
    FileDialogRequest request{MovieFileDialogTitle, MovieFileDialogFilter, false};
    const std::vector<std::string> chosen = chooser_.Choose(window_.DialogParent(), request);
    if (chosen.empty()) return;
    fields_.MovieFileName = chosen.front();
    OpenMovie();
}

void MovieControl::PlayFile1Click() {
    fields_.ContinuedOffset = 0;
    fields_.MovieDuration = 0;
    PromptOpenMovie();
}

void MovieControl::ContinuedPlayFile1Click() {
    fields_.ContinuedOffset = SaturatingAdd(fields_.ContinuedOffset, fields_.MovieDuration);
    PromptOpenMovie();
}

void MovieControl::PlaySelectedEntry() {
    const std::optional<std::string> entry = playList_.FirstSelected();
    if (!entry) return;
    fields_.ContinuedOffset = 0;
    fields_.MovieDuration = 0;
    fields_.MovieFileName = *entry;
    OpenMovie();
}

void MovieControl::OpenDropped(const std::vector<std::string>& files) {
    if (files.empty()) return;
    fields_.MovieFileName = files.front();
    OpenMovie();
}

void MovieControl::OpenFromCommandLine(const std::string& path) {
    fields_.MovieFileName = path;
    OpenMovie();
}

bool MovieControl::PlayNextEntry() {
    const std::optional<std::string> next = playList_.EntryAfterPlaying();
    if (!next) return false;
    Stop1Click();
    window_.ShowWindowedLayout();
    fields_.ContinuedOffset = 0;
    fields_.MovieDuration = 0;
    fields_.MovieFileName = *next;
    OpenMovie();
    if (fields_.IsFullScreen) window_.NN3Click();
    return true;
}

void MovieControl::OpenMovie() {
    chooser_.WasAt(fields_.MovieFileName);
    try {
        engine_.PlayFile(fields_.MovieFileName, window_.MoviePanel());
    } catch (...) {
        window_.semsg(MovieFileErrorText);
        return;
    }
    fields_.LastBitmapIndex = -1;
    int32_t thousandths = 0;
    engine_.GetFrameRate(thousandths);
    core_.MovieFrameRate = thousandths / 1000.0;
    if (!(core_.MovieFrameRate > 0)) {
        Stop1Click();
        window_.semsg(FrameRateErrorText);
        return;
    }
    core_.EngineFrameRate = core_.MovieFrameRate;
    window_.SetMovieTimerEnabled(true);
    int32_t duration = 0;
    engine_.GetDur(duration);
    fields_.MovieDuration = duration;
    window_.SetTrackMaximum(duration);
    window_.SetStatusText(1, PositionText(duration, core_.MovieFrameRate));
    window_.SetStatusText(2, FrameRateText(core_.MovieFrameRate, core_.Host().DecimalSeparator()));
    engine_.GetVideoWH(fields_.VideoWidth, fields_.VideoHeight);
    window_.SetStatusText(3, std::to_string(fields_.VideoWidth) + "*" + std::to_string(fields_.VideoHeight));
    ScaleMovieWindow(1.0);
    if (window_.AutoloadChecked()) AutoloadSubtitle();
    MarkPlayingEntry();
}

void MovieControl::AutoloadSubtitle() {
    const std::string base = WithoutExtension(fields_.MovieFileName);
    for (const char* extension : {".idx", ".sub", ".srt", ".ssa"}) {
        const std::string candidate = FindWithExtension(base, extension);
        if (candidate.empty()) continue;
        core_.LoadSubtitle(candidate);
        return;
    }
    for (const std::string& candidate :
         ExtraSubtitleNames(fields_.MovieFileName, NamesBeside(fields_.MovieFileName), LocaleLanguage())) {
        core_.LoadSubtitle(candidate);
        return;
    }
    // A text track inside the movie loads as if its file lay beside the movie.
    const std::optional<TextTrack> track = tracks_ ? tracks_->FirstTextTrack(fields_.MovieFileName) : std::nullopt;
    if (!track) return;
    const std::string path = TrackFilePath(core_.TmpSubPath(), track->extension);
    WriteWholeFile(path, track->text);
    core_.LoadSubtitle(path);
}

void MovieControl::Play1Click() {
    engine_.PlayMovie();
    window_.SetMovieTimerEnabled(true);
    ScaleMovieWindow(1.0);
    MarkPlayingEntry();
}

void MovieControl::Pause1Click() {
    engine_.PauseMovie();
    TogglePauseMark();
}

void MovieControl::Stop1Click() {
    window_.SetMovieTimerEnabled(false);
    engine_.StopMovie();
    ClearPlayMarks();
}

void MovieControl::ScaleMovieWindow(double scale) {
    if (fields_.MovieFileName.empty()) return;
    // The size is one movie pixel per screen pixel, within the screen the window is on. With
    // no picture size known (a failed first open) there is nothing to size the window to.
    const QSize panel = window_.MoviePanelSize();
    const QRect outer = window_.OuterGeometry();
    const QRect available = desktop_.AvailableArea(window_.DialogParent());
    const std::optional<QSize> fitted =
        FittedPanelSize(QSize(fields_.VideoWidth, fields_.VideoHeight), scale, window_.PixelRatio(),
                        outer.size() - panel, available.size());
    if (!fitted) return;
    window_.ResizeClientBy(fitted->width() - panel.width(), fitted->height() - panel.height());
    window_.MoveOuterTo(KeptInside(window_.OuterGeometry(), available));
    engine_.SizeChange();
}

void MovieControl::MovieEnded() {
    if (PlayNextEntry()) return;
    Stop1Click();
    window_.ShowWindowedLayout();
}

void MovieControl::MoviePanelResized() {
    if (!window_.MovieTimerEnabled()) return;
    engine_.SizeChange();
    fields_.LastBitmapIndex = -1;
}

void MovieControl::MarkPlayingEntry() {
    desktop_.SetScreenSaverActive(false);
    playList_.MarkPlayingEntry(fields_.MovieFileName);
}

void MovieControl::TogglePauseMark() { playList_.TogglePauseMark(fields_.MovieFileName); }

void MovieControl::ClearPlayMarks() {
    desktop_.SetScreenSaverActive(true);
    playList_.ClearPlayMarks();
}

}  // namespace tessaview
