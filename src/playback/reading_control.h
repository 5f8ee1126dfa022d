// Reading a movie line by line: the transcript kept up to date with the subtitle and the
// clock, the keys that go from line to line, copying the line on screen, the pause after
// each line, and the subtitle moved to a line heard.
#pragma once

#include "external/vobsub_library.h"
#include "playback/subtitle_lines.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tessaview {

class MovieEngine;
class SubtitleCore;
class SecondSubtitle;
class TranscriptPanel;
class VobSubLibrary;
struct MovieFields;
struct SyncResult;

// What reading needs of the main window.
struct ReadingWindow {
    std::function<bool()> movieOpen;     // the clock runs
    std::function<bool()> moviePlaying;  // the clock runs and the movie is not paused
    std::function<void()> pauseMovie;
    std::function<void()> tick;  // one tick of the clock, now
    std::function<std::optional<int32_t>()> syncOffset;
    std::function<int()> charSet;  // the subtitle font's character set, which reads the cue bytes
    // The one way cue times are corrected, as a fit to speech does (and remembered per movie).
    std::function<void(const SyncResult&)> applySync;
};

class ReadingControl : public QObject {
    Q_OBJECT
public:
    ReadingControl(MovieEngine& engine, SubtitleCore& core, VobSubLibrary& vobsub, const MovieFields& fields,
                   TranscriptPanel& panel, ReadingWindow window);
    ~ReadingControl() override;

    // Brings a shown transcript up to date with the subtitle and its times; cheap when
    // nothing changed.
    void Refresh();
    // After each tick of the clock, with the position it looked the subtitle up at.
    void Tick(int32_t clockPosition);
    // A VobSub pair was loaded or its language changed.
    void VobSubChanged() { ++vobsubGeneration_; }
    // The second subtitle, whose line at each line's start fills the transcript's second column.
    void SetSecond(SecondSubtitle* second) { second_ = second; }

    // The keys; each does nothing without a movie or without lines.
    void PreviousLine();
    void NextLine();
    void RepeatLine();  // the current line's start, or the last one shown's
    void CopyLine();    // the text on screen, without markup, to the clipboard
    // A row of the transcript clicked: the movie to its line's start.
    void GoToLine(int line);
    // Enter or F3 (forward), Shift+F3: the next or previous match of the find field.
    void FindStep(bool forward);

    // Heard Now on a row: the subtitle moved so that `line` starts where the movie is, its rate
    // fitted as well when the line heard before lies a minute or more away.
    bool HeardNowAvailable();  // a movie and a text subtitle
    void HeardNow(int line);

    void SetPauseAfterLine(bool on);
    bool PauseAfterLine() const { return pauseAfterLine_; }

    // The line the clock shows at `clockPosition`.
    std::optional<size_t> LineOnScreen(int32_t clockPosition);
    const SubtitleLines& Lines();

private:
    MovieEngine& engine_;
    SubtitleCore& core_;
    VobSubLibrary& vobsub_;
    const MovieFields& fields_;
    TranscriptPanel& panel_;
    ReadingWindow window_;
    SecondSubtitle* second_ = nullptr;

    struct LinesKey {
        uint64_t generation = 0;
        bool vobsub = false;
        uint64_t vobsubGeneration = 0;
        double rate = 0.0;
        bool timeBased = false;
        bool operator==(const LinesKey&) const = default;
    };
    struct TextsKey {
        uint64_t generation = 0;
        bool vobsub = false;
        uint64_t vobsubGeneration = 0;
        int charSet = 0;
        std::string codePage;
        uint64_t secondGeneration = 0;  // 0: no second subtitle
        double rate = 0.0;              // the second is matched in frames at the first's rate
        bool operator==(const TextsKey&) const = default;
    };
    struct TimesKey {
        LinesKey lines;
        double engineRate = 0.0;
        int32_t continuedOffset = 0;
        std::optional<int32_t> syncMs;
        bool operator==(const TimesKey&) const = default;
    };
    LinesKey CurrentLinesKey() const;
    ClockOffsets Offsets() const;
    int32_t ClockNow();
    const std::vector<VobSubPictureTime>& Pictures();
    void BuildTexts();
    QString TimeText(int line);
    void JumpTo(size_t line);
    void OnPauseTimer();

    SubtitleLines lines_;
    std::optional<LinesKey> linesKey_;
    std::optional<TextsKey> textsKey_;
    std::optional<TimesKey> timesKey_;
    uint64_t vobsubGeneration_ = 0;
    std::optional<uint64_t> picturesGeneration_;
    std::vector<VobSubPictureTime> pictures_;
    std::vector<std::optional<int32_t>> rowMs_;  // each row's time in the file, when it has one

    bool pauseAfterLine_ = false;
    QTimer pauseTimer_;
    std::optional<size_t> armedLine_;  // the line the pause timer waits for the end of
    std::optional<size_t> doneLine_;   // the line paused after; not again until it shows anew
    int32_t lastClock_ = 0;

    struct HeardAnchor {
        size_t line = 0;
        int64_t movieMs = 0;
        uint64_t generation = 0;  // the list's after the correction; another change forgets it
    };
    std::optional<HeardAnchor> heard_;
    int64_t StartMs(size_t line) const;
};

}  // namespace tessaview
