// A movie engine for tests: answers from a script, keeps a position on a virtual clock that
// the test advances, logs every call, and posts the engine's notifications on request.
#pragma once

#include "external/movie_engine.h"

#include <set>
#include <string>
#include <vector>

namespace tessaview {

class FakeEngine : public MovieEngine {
public:
    // --- the script (set before the calls) ---
    int32_t frameRate = 25000;  // thousandths of frames per second
    int32_t duration = 2500;    // frames
    int32_t width = 640;
    int32_t height = 480;
    std::set<std::string> failingPaths;  // PlayFile throws std::runtime_error for these

    // --- what the engine was told ---
    std::vector<std::string> calls;  // "PlayFile /m.avi", "SetPos 100", "GetPos", ...
    std::string path;                // the movie loaded last (empty when none)
    QWidget* window = nullptr;       // the window given to PlayFile
    QObject* mainWindow = nullptr;
    int32_t position = 0;
    bool open = false;
    bool playing = false;
    bool paused = false;
    bool fullScreen = false;

    // The virtual clock: moves the position on by `frames` while playing and not paused,
    // stopping at the movie's length.
    void Advance(int32_t frames);
    // Posts WM_MOVIE_END to the main window (the movie played to its end).
    void EndMovie();
    // Posts WM_FULLSCREEN_KEY with a virtual-key code and MOD_ bits, or WM_FULLSCREEN_LEFT.
    void PressFullScreenKey(int virtualKey, int modifiers = 0);
    void LeaveFullScreen();
    // Posts the mouse over the picture: the wheel (120 a notch up) or a double click.
    void TurnWheelOnPicture(int delta);
    void DoubleClickPicture();

    // How often an operation was called ("GetPos", "PlayFile", ...); forgets the log.
    int CallCount(const std::string& operation) const;
    void ClearCalls() { calls.clear(); }

    void PlayFile(const std::string& path, QWidget* window) override;
    void GetFrameRate(int32_t& thousandths) override;
    void GetDur(int32_t& frames) override;
    void GetVideoWH(int32_t& width, int32_t& height) override;
    void GetPos(int32_t& frame) override;
    void SetPos(int32_t frame) override;
    void PlayMovie() override;
    void PauseMovie() override;
    void StopMovie() override;
    void SizeChange() override;
    void GraphNotify() override;
    void SetFullScreen(int32_t on) override;
    void SetMainWindow(QObject* mainWindow) override;
    void SetVolume(int32_t percent) override;
    void SetMute(bool on) override;
    void ShowText(const std::string& text) override;

    int32_t volume = 100;
    bool muted = false;
    std::string shownText;  // the last text over the picture

private:
    void post(int type, intptr_t wParam = 0, intptr_t lParam = 0);
};

}  // namespace tessaview
