// Movie control.
#include "playback/movie_control.h"

#include "external/movie_engine.h"
#include "external/text_tracks.h"
#include "osdep/memory.h"
#include "platform/desktop.h"
#include "platform/file_chooser.h"
#include "playback/clock_math.h"
#include "playback/subtitle_search.h"
#include "playback/view_modes.h"
#include "presentation/subtitle_display.h"
#include "shell/play_list.h"
#include "subtitle/file_case.h"
#include "subtitle/subtitle_core.h"
#include "subtitle/text_encoding.h"
#include "subtitle/text_rules.h"

#include <QMetaObject>
#include <QObject>
#include <QWidget>

namespace tessaview {

const char* const MovieFileErrorText =
    "Movie file error or DivX codec not installed properly!\r"
    "See https://tessaview.org/help for more information.";
const char* const FrameRateErrorText = "Can not get the frame rate of the movie";
const char* const MovieFileDialogTitle = "Play DivX Movie";
// The first entry is the one the dialog opens with: it lists the containers common today too,
// or a folder of Matroska and MP4 files would look empty.
const char* const MovieFileDialogFilter =
    "Movie files|*.avi;*.mpg;*.mpeg;*.dat;*.divx;*.wmv;*.asf;*.mkv;*.mp4;*.m4v;*.mov;*.webm;*.ts;*.m2ts;*.ogv;*.flv"
    "|All Files|*.*|"
    "Other movie files|*.mkv;*.mp4;*.m4v;*.mov;*.webm;*.ts;*.m2ts;*.ogv;*.flv;*.wmv";

MovieControl::MovieControl(MovieEngine& engine, SubtitleCore& core, PlayList& playList, Desktop& desktop,
                           FileChooser& chooser, MovieWindow& window, MovieFields& fields, SubtitleDisplay& display,
                           TextTracks* tracks)
    : engine_(engine),
      core_(core),
      playList_(playList),
      desktop_(desktop),
      chooser_(chooser),
      window_(window),
      fields_(fields),
      display_(display),
      tracks_(tracks),
      trackReceiver_(std::make_unique<QObject>()) {}

MovieControl::~MovieControl() = default;

std::optional<std::string> MovieControl::PromptMovieName() {
    FileDialogRequest request{MovieFileDialogTitle, MovieFileDialogFilter, false};
    const std::vector<std::string> chosen = chooser_.Choose(window_.DialogParent(), request);
    if (chosen.empty()) return std::nullopt;
    return chosen.front();
}

void MovieControl::PlayFile1Click() {
    fields_.ContinuedOffset = 0;
    fields_.MovieDuration = 0;
    if (const std::optional<std::string> name = PromptMovieName()) {
        fields_.MovieFileName = *name;
        OpenMovie();
    }
}

void MovieControl::ContinuedPlayFile1Click() {
    // Cancel changes nothing, and neither does a movie that will not open: the offset is the
    // length of a movie that was really followed by another.
    const std::optional<std::string> name = PromptMovieName();
    if (!name) return;
    const int32_t offset = fields_.ContinuedOffset;
    const std::string previous = fields_.MovieFileName;
    fields_.ContinuedOffset = SaturatingAdd(offset, fields_.MovieDuration);
    fields_.MovieFileName = *name;
    if (!OpenMovie(SubtitleOnOpen::KeepWhenNoneFound) && window_.MovieTimerEnabled()) {
        fields_.ContinuedOffset = offset;
        fields_.MovieFileName = previous;
    }
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
    // The first movie among the files opens as before; a subtitle among them loads after it,
    // so the movie's own autoload does not replace it.
    std::vector<std::string> movies, subtitles;
    for (const std::string& file : files) (IsSubtitleFileName(file) ? subtitles : movies).push_back(file);
    if (!movies.empty()) {
        fields_.MovieFileName = movies.front();
        OpenMovie();
    }
    if (subtitles.empty()) return;
    DropLateTrack();
    core_.LoadSubtitle(subtitles.front());
}

void MovieControl::OpenFromCommandLine(const std::string& path) {
    fields_.MovieFileName = path;
    OpenMovie();
}

bool MovieControl::PlayNextEntry() { return PlayEntry(playList_.EntryAfterPlaying()); }

bool MovieControl::PlayPreviousEntry() { return PlayEntry(playList_.EntryBeforePlaying()); }

bool MovieControl::PlayEntry(const std::optional<std::string>& entry) {
    if (!entry) return false;
    Stop1Click();
    window_.ShowWindowedLayout();
    fields_.ContinuedOffset = 0;
    fields_.MovieDuration = 0;
    fields_.MovieFileName = *entry;
    OpenMovie();
    if (fields_.IsFullScreen) window_.NN3Click();
    return true;
}

bool MovieControl::OpenMovie(SubtitleOnOpen subtitle) {
    chooser_.WasAt(fields_.MovieFileName);
    window_.LeavingMovie();
    try {
        engine_.PlayFile(fields_.MovieFileName, window_.MoviePanel());
    } catch (const std::exception& error) {
        window_.semsg(std::string(MovieFileErrorText) + "\r" + error.what());
        return false;  // the message box hands the failed movie's memory back as it closes
    } catch (...) {
        window_.semsg(MovieFileErrorText);
        return false;
    }
    // The movie left is freed now: without this its pages stay in the allocator's heaps and
    // resident memory creeps up movie after movie.
    ReturnFreedMemory();
    fields_.RememberedFileName.clear();  // the engine no longer holds the movie left
    DropLateTrack();
    display_.Invalidate();
    int32_t thousandths = 0;
    engine_.GetFrameRate(thousandths);
    core_.MovieFrameRate = thousandths / 1000.0;
    if (!(core_.MovieFrameRate > 0)) {
        Stop1Click();
        window_.semsg(FrameRateErrorText);
        return false;
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
    window_.MovieOpened(fields_.MovieFileName);
    // The last movie's subtitle belongs to it; one timeline (continued play) keeps it.
    const bool found = window_.AutoloadChecked() && AutoloadSubtitle();
    if (!found && subtitle == SubtitleOnOpen::RemoveWhenNoneFound) window_.RemoveSubtitle();
    MarkPlayingEntry();
    window_.EnteredMovie(subtitle == SubtitleOnOpen::KeepWhenNoneFound);
    return true;
}

bool MovieControl::AutoloadSubtitle() {
    const std::string base = WithoutExtension(fields_.MovieFileName);
    for (const char* extension : {".idx", ".sub", ".srt", ".ssa"}) {
        const std::string candidate = FindWithExtension(base, extension);
        if (candidate.empty()) continue;
        core_.LoadSubtitle(candidate);
        return true;
    }
    for (const std::string& candidate :
         ExtraSubtitleNames(fields_.MovieFileName, NamesBeside(fields_.MovieFileName), LocaleLanguage())) {
        core_.LoadSubtitle(candidate);
        return true;
    }
    ReadTrackInBackground();
    return false;
}

void MovieControl::ReadTrackInBackground() {
    if (!tracks_) return;
    DropLateTrack();
    // Reading a track walks the whole movie file: the movie plays meanwhile.
    trackReader_ = std::jthread([this, movie = fields_.MovieFileName, generation = trackGeneration_,
                                 receiver = trackReceiver_.get()](std::stop_token stop) {
        std::optional<TextTrack> track;
        try {
            track = tracks_->FirstTextTrack(movie, stop);
        } catch (...) {
            // Unreadable is no track.
        }
        if (stop.stop_requested()) return;
        QMetaObject::invokeMethod(
            receiver,
            [this, generation, track = std::move(track)]() mutable { TrackRead(generation, std::move(track)); },
            Qt::QueuedConnection);
    });
}

void MovieControl::TrackRead(uint64_t generation, std::optional<TextTrack> track) {
    if (generation != trackGeneration_) return;
    if (trackReader_.joinable()) trackReader_.join();  // posting this was its last act
    if (!track) return;
    // A text track inside the movie loads as if its file lay beside the movie.
    window_.LoadOpeningSubtitle([this, &track] {
        const std::string path = TrackFilePath(core_.TmpSubPath(), track->extension);
        WriteWholeFile(path, track->text);
        core_.LoadSubtitle(path);
    });
}

void MovieControl::DropLateTrack() {
    ++trackGeneration_;
    // A reader that is told to stop ends at its next packet.
    if (trackReader_.joinable()) {
        trackReader_.request_stop();
        trackReader_.join();
    }
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
    DropLateTrack();
    window_.LeavingMovie();  // the stop goes back to the start
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
    const std::optional<QSize> fitted = FittedPanelSize(QSize(fields_.VideoWidth, fields_.VideoHeight), scale,
                                                        window_.PixelRatio(), outer.size() - panel, available.size());
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
    display_.Invalidate();
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
