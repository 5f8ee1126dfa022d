// The main window: owner of the subtitle state, the movie fields and the play list, and the
// wiring between menus, tool bar, timer, messages and the parts that do the work.
#pragma once

#include "app/status_panels.h"
#include "platform/file_chooser.h"
#include "playback/movie_control.h"
#include "playback/movie_fields.h"
#include "playback/second_subtitle.h"
#include "playback/subtitle_clock.h"
#include "shell/command_state.h"
#include "shell/settings/movie_memory.h"
#include "shell/settings/settings.h"
#include "subtitle/subtitle_core.h"
#include "subtitle/subtitle_host.h"
#include "sync/alignment.h"

#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QPushButton;
class QSlider;
class QSplitter;
class QSplitterHandle;
class QTimer;
class QToolButton;
class QTreeWidget;

namespace tessaview {

class Desktop;
class HookLibrary;
class InstanceControl;
class MessageHook;
class MovieEngine;
class PlayList;
class ReadingControl;
class SubtitleSurfaces;
class TextTracks;
class TfmSub;
class TfmSynchronize;
class TranscriptPanel;
class ViewControl;
class VobSubLibrary;
enum class PlayerCommand;

// Everything the main window is given from outside, so tests can hand it fakes.
struct MainServices {
    MovieEngine& engine;
    VobSubLibrary& vobsub;
    HookLibrary& hook;
    Desktop& desktop;
    InstanceControl& instances;
    std::string programFolder;
    std::vector<std::string> arguments;  // the command line as bytes, program name first
    int64_t processId = 0;
    TextTracks* tracks = nullptr;  // text tracks inside movies, for the autoload
    std::string tmpSubFolder{};    // empty: the program folder
    bool makeProgramFolder{};      // made at the first save (an installed copy's)
    std::string stateFolder{};     // the movie memory's; empty: the program folder
};

inline constexpr int DesignClientWidth = 546;
inline constexpr int DesignClientHeight = 404;
extern const char* const HomepageAddress;
extern const char* const SkinNoticeText;

class TfmMain : public QWidget, public SubtitleHost, public SettingsWindow, public MovieWindow, public ClockWindow {
    Q_OBJECT
public:
    explicit TfmMain(const MainServices& services);  // FormCreate
    ~TfmMain() override;                             // FormDestroy

    // The overlay and the synchronize window, created right after the main window.
    void AttachCompanions(TfmSub* fmSub, TfmSynchronize* fmSynchronize);

    // --- state ---
    SubtitleCore Subtitles;
    SecondSubtitle Second;  // a second language under the first (tfm_main_second.cpp)
    MovieFields Movie;
    int32_t FrameWidth = 0;
    int32_t FrameHeight = 0;
    bool HookInstalled() const;

    // --- controls ---
    QMenuBar* SeSkinMenuBar1 = nullptr;
    QWidget* tlbMain = nullptr;
    QToolButton *sbOpenFile = nullptr, *sbPlay = nullptr, *sbPause = nullptr, *sbStop = nullptr, *sbLoadSub = nullptr,
                *sbSubFont = nullptr, *sbn1 = nullptr, *sbn2 = nullptr, *sbn3 = nullptr;
    QSlider* tbMain = nullptr;
    QSplitter* plMain = nullptr;     // plReading | Splitter2 | plPlayList
    QSplitter* plReading = nullptr;  // plClient | plTranscript
    TranscriptPanel* plTranscript = nullptr;
    QSplitter* plClient = nullptr;  // plMovie / Splitter1 / lbSubParent
    QWidget* plMovie = nullptr;
    QSplitterHandle* Splitter1 = nullptr;
    QWidget* lbSubParent = nullptr;
    QSplitterHandle* Splitter2 = nullptr;
    QWidget* plPlayList = nullptr;
    QTreeWidget* lbPlayList = nullptr;
    QPushButton *sbAdd = nullptr, *sbDel = nullptr, *sbUp = nullptr, *sbDown = nullptr;
    StatusPanels* sbMain = nullptr;
    QTimer* tmMovie = nullptr;

    // --- menu entries (objectName = item name) ---
    QAction *PlayFile1 = nullptr, *ContinuedPlayFile1 = nullptr, *Play1 = nullptr, *Pause1 = nullptr, *Stop1 = nullptr,
            *Exit1 = nullptr;
    QAction *LoadSubtitle1 = nullptr, *RemoveSubtitle1 = nullptr, *ShowSubtitles1 = nullptr,
            *EnableAutoloadSubtitle1 = nullptr, *SetSubtitleFont1 = nullptr, *SubtitleFrameRate1 = nullptr,
            *AdjustSubtitle1 = nullptr, *ChangeSubtitleLanguage1 = nullptr;
    std::array<QAction*, 6> FrameRateItems{};  // SameAsMovie1, n001 .. n005 by tag
    QAction *NN1 = nullptr, *NN2 = nullptr, *NN3 = nullptr, *AlwaysonTop1 = nullptr, *UseSkin1 = nullptr,
            *ciShowPlayList = nullptr;
    QAction *QuillmarkHomepage1 = nullptr, *About2 = nullptr;
    QAction *Transcript1 = nullptr, *PauseAfterEachLine1 = nullptr;            // ours (tfm_main_reading.cpp)
    QAction *LoadSecondSubtitle1 = nullptr, *RemoveSecondSubtitle1 = nullptr;  // ours (tfm_main_second.cpp)

    TfmSub* fmSub() const { return fmSub_; }
    TfmSynchronize* fmSynchronize() const { return fmSynchronize_; }
    PlayList& PlayListEntries() { return *playList_; }
    SubtitleSurfaces& Surfaces() { return *surfaces_; }  // the panel's and the overlay's subtitle
    // Moves the cue times in memory (never the file) as a speech synchronisation says, on
    // top of one already in force, and remembers the whole for the movie.
    void ApplySpeechSync(const SyncResult& result);

    // --- handlers ---
    void PlayFile1Click();
    void ContinuedPlayFile1Click();
    void Play1Click();
    void Pause1Click();
    void Stop1Click();
    void Exit1Click();
    void LoadSubtitle1Click();
    void RemoveSubtitle1Click();
    void ShowSubtitles1Click();  // V: hides or shows both surfaces' subtitle
    void EnableAutoloadSubtitle1Click();
    void SetSubtitleFont1Click();
    void n005Click(int tag);
    void AdjustSubtitle1Click();
    void ChangeSubtitleLanguage1Click();
    void NN1Click();
    void NN2Click();
    void NN3Click() override;
    void AlwaysonTop1Click();
    void UseSkin1Click();
    void ciShowPlayListClick();  // TogglePlayList
    void QuillmarkHomepage1Click();
    void About2Click();
    void AddToPlayList();
    void DeleteFromPlayList();
    void MoveUpInPlayList();
    void MoveDownInPlayList();
    void lbPlayListDblClick();
    void DropFiles(const QStringList& files);  // DropFileTarget1Drop
    void tmMovieTimer();
    void RefreshCommandState();
    CommandState CurrentCommandState() const;
    void ApplyOnTop();
    void ShowWindowedLayout() override;
    void OpenMovie();
    void ScaleMovieWindow(double scale);
    // The height the window's frame takes while the user drags it to `outerWidth`; empty
    // when no movie is open or the picture has no width.
    std::optional<int32_t> WindowSizingHeight(int32_t outerWidth) const;
    // Splitter1 (in plClient) or Splitter2 (in plMain) has been dragged.
    void SplitterMoved(QSplitter* splitter);

    // Runs `command` under the exception guard (the default exception box).
    void Guarded(const std::function<void()>& command);

    // Sound level and muting (tfm_main_keys.cpp): kept in set.ini, given to the engine, and
    // each change shown over the picture.
    int32_t VolumePercent() const;
    void SetVolumePercent(int32_t percent);  // held within 0..100
    bool Muted() const;
    void SetMuted(bool on);
    // The keys and gestures of every player; a no-op while no movie is open.
    void RunPlayerCommand(PlayerCommand command);
    MovieControl& MovieCommands() { return *movieControl_; }  // for the desktop's media controls

    // Reading the movie (tfm_main_reading.cpp): the transcript beside the picture, finding in
    // it, and the pause after each line.
    void Transcript1Click();
    void PauseAfterEachLine1Click();
    void FindInTranscript();  // Ctrl+F: the transcript shown, the focus in its find field
    ReadingControl& Reading() { return *reading_; }

    // The second subtitle (tfm_main_second.cpp): loaded and removed by hand, from the command
    // line or the movie memory; shown under the first with its own offset.
    void LoadSecondSubtitle1Click();
    void RemoveSecondSubtitle1Click();
    void LoadSecondSubtitle(const std::string& FileName);
    void StepSecondOffset(int32_t step);  // Shift+Z / Shift+X
    void SetSecondOffset(int32_t milliseconds);

    // --- SubtitleHost ---
    void semsg(const std::string& text) override;
    void LoadError(const std::string& text, const std::string& detail) override;
    void LoadVobSubFile(const std::string& pathWithoutExtension) override;
    void SelectVobSubLanguage() override;
    void SubtitleFrameRateChosen(int tag, const std::string& statusText) override;
    char DecimalSeparator() const override;

    // --- SettingsWindow ---
    SettingsFields& Fields() override { return settings_; }
    WindowBounds Bounds() const override;
    void SetLeft(int32_t left) override;
    void SetTop(int32_t top) override;
    void SetWidth(int32_t width) override;
    void SetHeight(int32_t height) override;
    WindowBounds WorkArea() const override;
    bool AutoloadChecked() const override;
    void SetAutoloadChecked(bool checked) override;
    void SetShowPlayListChecked(bool checked) override;
    void SetPlayListPanelWidth(int32_t width) override;
    std::vector<std::string> PlayListCaptions() const override;
    void AppendPlayListEntry(const std::string& caption) override;
    FontSpec OverlayFont() const override;
    void SetOverlayFont(const FontSpec& font) override;

signals:
    void Closed();  // the close handler has run; the program may end

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Layout (tfm_main_layout.cpp).
    void BuildLayout();
    void BuildMenus();
    void BuildToolBar();
    void BuildPlayListPanel();
    QAction* AddMenuItem(QMenu* menu, const char* name, const QString& caption, const std::function<void()>& handler,
                         const QKeySequence& shortcut = {});
    void MeasureFrame();

    // Reading (tfm_main_reading.cpp).
    QWidget* BuildTranscriptPanel();  // plReading, holding plClient
    void BuildReading();
    void ShowTranscript(bool shown);
    void ApplyTranscriptWidth();
    int TranscriptShare() const;  // what the transcript takes of plReading's width

    // The strip under the picture grows by the second line's height while one is shown.
    void ApplySecondStrip();

    // Player keys (tfm_main_keys.cpp).
    void BuildPlayerKeys();
    bool PlayerMessage(QEvent* event);  // the picture's mouse and full-screen keys; true when handled
    void SeekBy(int32_t seconds);
    void ShowSeekPosition(int32_t frame);
    void ApplySound();  // the stored level and muting to the engine
    bool MoviePaused() const;

    // MovieWindow.
    QWidget* MoviePanel() override { return plMovie; }
    QWidget* DialogParent() override { return this; }
    bool MovieTimerEnabled() const override;
    void SetMovieTimerEnabled(bool enabled) override;
    void SetTrackMaximum(int32_t maximum) override;
    void SetStatusText(int panel, const std::string& text) override;
    QSize MoviePanelSize() const override;
    void ResizeClientBy(int dw, int dh) override;
    // With the window manager's frame, which the toolkit learns only some time after showing.
    QRect OuterGeometry() const override { return geometry().marginsAdded(frame_); }
    void MoveOuterTo(QPoint topLeft) override;
    double PixelRatio() const override { return devicePixelRatioF(); }
    void MovieOpened(const std::string& MovieFileName) override;
    void RemoveSubtitle() override;
    void LoadOpeningSubtitle(const std::function<void()>& load) override;

    // The movie memory (tfm_main_memory.cpp).
    void LeavingMovie() override;
    void EnteredMovie(bool continued) override;
    int CheckedFrameRateItem() const;
    void SetSyncOffset(int32_t milliseconds);
    const SyncResult* SpeechSyncInForce() const;
    MovieSync SpeechSyncRecord() const;  // as the movie memory keeps it
    void RestoreSpeechSync(const MovieRecord& record);

    // ClockWindow.
    void SetTrackPosition(int32_t frame) override;
    void SetClockText(const std::string& text) override;
    std::optional<int32_t> SyncOffset() const override;

    void FormCloseQuery();
    void FormClose();

    MovieEngine& engine_;
    VobSubLibrary& vobsub_;
    HookLibrary& hook_;
    Desktop& desktop_;
    InstanceControl& instances_;
    std::string programFolder_;
    std::vector<std::string> arguments_;
    int64_t processId_;
    bool makeProgramFolder_ = false;
    MovieMemory movieMemory_;
    std::string openedSubtitle_;            // the subtitle in force once the open movie was opened
    std::optional<SyncResult> speechSync_;  // in force while the list numbered speechSyncList_ is
    uint64_t speechSyncList_ = 0;

    SettingsFields settings_;
    bool autoload_ = true;
    bool closed_ = false;
    QSize lastSizingRequest_;
    QSize pendingOuterSize_{-1, -1};
    QMargins frame_;  // the window manager's frame, as MeasureFrame found it
    std::unique_ptr<PlayList> playList_;
    FileChooser fileChooser_{desktop_};
    std::unique_ptr<SubtitleSurfaces> surfaces_;
    std::unique_ptr<MovieControl> movieControl_;
    std::unique_ptr<ViewControl> viewControl_;
    MessageHook* messageHook_ = nullptr;
    QMetaObject::Connection idleConnection_;
    TfmSub* fmSub_ = nullptr;
    TfmSynchronize* fmSynchronize_ = nullptr;
    int wheelRest_ = 0;  // the wheel's turn short of a notch
    std::unique_ptr<ReadingControl> reading_;
    int secondStripExtra_ = 0;  // what the strip grew by for the second line
};

}  // namespace tessaview
