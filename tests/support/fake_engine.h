// A movie engine for tests: answers from a script, keeps the position the program sets, logs
// every call, and posts the engine's notifications on request.
#pragma once

#include "external/messages.h"
#include "external/movie_engine.h"

#include <QCoreApplication>
#include <algorithm>
#include <set>
#include <stdexcept>
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
    int32_t position = 0;
    bool playing = false;
    bool paused = false;
    bool fullScreen = false;
    int32_t volume = 100;
    bool muted = false;
    std::string shownText;  // the last text over the picture

    // Posts WM_MOVIE_END to the main window (the movie played to its end).
    void EndMovie() {
        playing = false;
        post(WM_MOVIE_END);
    }
    // Posts WM_FULLSCREEN_KEY with a virtual-key code and MOD_ bits, or WM_FULLSCREEN_LEFT.
    void PressFullScreenKey(int virtualKey, int modifiers = 0) { post(WM_FULLSCREEN_KEY, virtualKey, modifiers); }
    void LeaveFullScreen() {
        fullScreen = false;
        post(WM_FULLSCREEN_LEFT);
    }
    // Posts the mouse over the picture: the wheel (120 a notch up) or a double click.
    void TurnWheelOnPicture(int delta) { post(WM_PICTURE_WHEEL, delta); }
    void DoubleClickPicture() { post(WM_PICTURE_DBLCLK); }

    // How often an operation was called ("GetPos", "PlayFile", ...).
    int CallCount(const std::string& operation) const {
        return static_cast<int>(std::ranges::count_if(
            calls, [&](const std::string& call) { return call == operation || call.starts_with(operation + " "); }));
    }
    void ClearCalls() { calls.clear(); }

    void PlayFile(const std::string& moviePath, QWidget*) override {
        calls.push_back("PlayFile " + moviePath);
        // Like the real engine, a movie that cannot be played leaves the earlier one as it was.
        if (failingPaths.count(moviePath)) throw std::runtime_error("cannot play " + moviePath);
        path = moviePath;
        position = 0;
        playing = true;
        paused = false;
    }
    void GetFrameRate(int32_t& thousandths) override { thousandths = answer("GetFrameRate", frameRate); }
    void GetDur(int32_t& frames) override { frames = answer("GetDur", duration); }
    void GetVideoWH(int32_t& w, int32_t& h) override {
        w = answer("GetVideoWH", width);
        h = height;
    }
    void GetPos(int32_t& frame) override { frame = answer("GetPos", position); }
    void SetPos(int32_t frame) override {
        calls.push_back("SetPos " + std::to_string(frame));
        if (!path.empty()) position = frame;
    }
    void PlayMovie() override {
        calls.push_back("PlayMovie");
        if (path.empty()) return;
        if (position >= duration) position = 0;  // played to its end: plays again from the start
        playing = true;
        paused = false;
    }
    void PauseMovie() override {
        calls.push_back("PauseMovie");
        if (!path.empty()) paused = !paused;
    }
    void StopMovie() override {
        calls.push_back("StopMovie");
        playing = paused = fullScreen = false;  // the real engine leaves full screen when stopped
        if (!path.empty()) position = 0;        // and stops at the start of the movie
    }
    void SizeChange() override { calls.push_back("SizeChange"); }
    void GraphNotify() override { calls.push_back("GraphNotify"); }
    void SetFullScreen(int32_t on) override { fullScreen = answer("SetFullScreen " + std::to_string(on), on != 0); }
    void SetMainWindow(QObject* window) override { mainWindow_ = window; }
    void SetVolume(int32_t percent) override { volume = answer("SetVolume " + std::to_string(percent), percent); }
    void SetMute(bool on) override { muted = answer(on ? "SetMute 1" : "SetMute 0", on); }
    void ShowText(const std::string& text) override { shownText = answer("ShowText " + text, text); }

private:
    QObject* mainWindow_ = nullptr;

    // Logs the call and gives back what it answers or keeps.
    template <typename T>
    T answer(const std::string& call, T value) {
        calls.push_back(call);
        return value;
    }
    void post(int type, intptr_t wParam = 0, intptr_t lParam = 0) {
        if (mainWindow_)
            QCoreApplication::postEvent(mainWindow_,
                                        new WindowMessage(static_cast<QEvent::Type>(type), wParam, lParam));
    }
};

}  // namespace tessaview
