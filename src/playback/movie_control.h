// Movie control: opening a movie from any of its entry points, Play, Pause, Stop, the
// play-list marks, continued play and moving on at the end of a movie.
#pragma once

#include "playback/movie_fields.h"

#include <QRect>
#include <QSize>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace tessaview {

class Desktop;
class FileChooser;
class MovieEngine;
class PlayList;
class SubtitleCore;
class SubtitleDisplay;
class TextTracks;

// The first line, CR, the second line: the box shown when the engine cannot play a file.
extern const char* const MovieFileErrorText;
extern const char* const FrameRateErrorText;
extern const char* const MovieFileDialogTitle;
extern const char* const MovieFileDialogFilter;

// What movie control needs from the main window.
class MovieWindow {
public:
    virtual ~MovieWindow() = default;
    virtual QWidget* MoviePanel() = 0;       // plMovie, where the engine draws
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
    virtual double PixelRatio() const = 0;    // device pixels per window pixel
    virtual bool AutoloadChecked() const = 0;
    virtual void ShowWindowedLayout() = 0;
    virtual void NN3Click() = 0;  // the Full Screen command
    virtual void MovieOpened(const std::string& MovieFileName) = 0;  // the title names it
    virtual void RemoveSubtitle() = 0;  // no subtitle: cues gone, surfaces empty
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
    bool AutoloadSubtitle();  // true when it found a subtitle for the movie

    void Play1Click();
    void Pause1Click();
    void Stop1Click();
    void ScaleMovieWindow(double scale);
    void MovieEnded();          // WM_MOVIE_END
    void MoviePanelResized();   // plMovie changed size

    void MarkPlayingEntry();
    void TogglePauseMark();
    void ClearPlayMarks();

private:
    std::optional<std::string> PromptMovieName();
    bool PlayEntry(const std::optional<std::string>& entry);  // as the end of a movie does

    MovieEngine& engine_;
    SubtitleCore& core_;
    PlayList& playList_;
    Desktop& desktop_;
    FileChooser& chooser_;
    MovieWindow& window_;
    MovieFields& fields_;
    SubtitleDisplay& display_;
    TextTracks* tracks_;  // text tracks inside movies; none: they are not looked for
};

}  // namespace tessaview
