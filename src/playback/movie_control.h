// Movie control: opening a movie from any of its entry points, Play, Pause, Stop, the
// play-list marks, continued play and moving on at the end of a movie.
#pragma once

#include "external/text_tracks.h"
#include "playback/movie_fields.h"

#include <QRect>
#include <QSize>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class QObject;
class QWidget;

namespace tessaview {

class Desktop;
class FileChooser;
class MovieEngine;
class PlayList;
class SubtitleCore;
class SubtitleDisplay;

// The first line, CR, the second line: the box shown when the engine cannot play a file.
extern const char* const MovieFileErrorText;
extern const char* const FrameRateErrorText;
extern const char* const MovieFileDialogTitle;
extern const char* const MovieFileDialogFilter;

// What movie control needs from the main window.
class MovieWindow {
public:
    virtual ~MovieWindow() = default;
    virtual QWidget* MoviePanel() = 0;  // plMovie, where the engine draws
    virtual QWidget* DialogParent() = 0;
    virtual void semsg(const std::string& text) = 0;
    virtual bool MovieTimerEnabled() const = 0;  // tmMovie: the movie is open
    virtual void SetMovieTimerEnabled(bool enabled) = 0;
    virtual void SetTrackMaximum(int32_t maximum) = 0;
    virtual void SetStatusText(int panel, const std::string& text) = 0;
    virtual QSize MoviePanelSize() const = 0;
    virtual void ResizeClientBy(int dw, int dh) = 0;
    virtual QRect OuterGeometry() const = 0;  // frame included
    virtual void MoveOuterTo(QPoint topLeft) = 0;
    virtual double PixelRatio() const = 0;  // device pixels per window pixel
    virtual bool AutoloadChecked() const = 0;
    virtual void ShowWindowedLayout() = 0;
    virtual void NN3Click() = 0;                                     // the Full Screen command
    virtual void MovieOpened(const std::string& MovieFileName) = 0;  // the title names it
    virtual void RemoveSubtitle() = 0;                               // no subtitle: cues gone, surfaces empty
    // The movie's own text track, read after the movie opened: `load` loads it, under the
    // exception guard, as if it had been found at the opening.
    virtual void LoadOpeningSubtitle(const std::function<void()>& load) = 0;
    // The per-movie memory: the movie being left (another opens, or it stops) is recorded,
    // and one just opened gets its state back; a continued one goes on with the timeline's.
    virtual void LeavingMovie() {}
    virtual void EnteredMovie(bool /*continued*/) {}
};

// What opening a movie does with the subtitle of the last one when none is found for it.
enum class SubtitleOnOpen { RemoveWhenNoneFound, KeepWhenNoneFound };

class MovieControl {
public:
    MovieControl(MovieEngine& engine, SubtitleCore& core, PlayList& playList, Desktop& desktop, FileChooser& chooser,
                 MovieWindow& window, MovieFields& fields, SubtitleDisplay& display, TextTracks* tracks = nullptr);
    ~MovieControl();

    // Openers: each sets MovieFileName and opens it.
    void PlayFile1Click();
    void ContinuedPlayFile1Click();
    void PlaySelectedEntry();
    void OpenDropped(const std::vector<std::string>& files);
    void OpenFromCommandLine(const std::string& path);
    bool PlayNextEntry();      // true when it opened the next entry
    bool PlayPreviousEntry();  // true when it opened the entry before the playing one

    // False when the movie did not open (its message shown).
    bool OpenMovie(SubtitleOnOpen subtitle = SubtitleOnOpen::RemoveWhenNoneFound);
    // True when it loaded a subtitle for the movie. With none beside it, the movie's own text
    // track is read on a worker thread and loaded when it arrives (false here).
    bool AutoloadSubtitle();
    // A text track still being read arrives to nothing: a subtitle was chosen another way,
    // or the movie left.
    void DropLateTrack();
    bool ReadingTrack() const { return trackReader_.joinable(); }

    void Play1Click();
    void Pause1Click();
    void Stop1Click();
    void ScaleMovieWindow(double scale);
    void MovieEnded();         // WM_MOVIE_END
    void MoviePanelResized();  // plMovie changed size

    void MarkPlayingEntry();
    void TogglePauseMark();
    void ClearPlayMarks();

private:
    std::optional<std::string> PromptMovieName();
    bool PlayEntry(const std::optional<std::string>& entry);  // as the end of a movie does
    void ReadTrackInBackground();
    void TrackRead(uint64_t generation, std::optional<TextTrack> track);

    MovieEngine& engine_;
    SubtitleCore& core_;
    PlayList& playList_;
    Desktop& desktop_;
    FileChooser& chooser_;
    MovieWindow& window_;
    MovieFields& fields_;
    SubtitleDisplay& display_;
    TextTracks* tracks_;                      // text tracks inside movies; none: they are not looked for
    uint64_t trackGeneration_ = 0;            // a read's answer counts while this is the read's number
    std::unique_ptr<QObject> trackReceiver_;  // on the UI thread: the answer is queued to it
    std::jthread trackReader_;                // declared last: stopped and joined before the rest goes
};

}  // namespace tessaview
