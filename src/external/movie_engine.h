// The movie engine as the program calls it: twelve operations, results through
// out-parameters, positions and lengths in whole frames.
#pragma once

#include <cstdint>
#include <string>

class QObject;
class QWidget;
class QWindow;

namespace tessaview {

// A file with sound and no picture plays as a movie of this rate and size.
inline constexpr double AudioOnlyFrameRate = 25.0;
inline constexpr int32_t AudioOnlyWidth = 640;
inline constexpr int32_t AudioOnlyHeight = 360;

class MovieEngine {
public:
    virtual ~MovieEngine() = default;

    // Loads `path` and starts playing it inside `window`. Throws (std::exception) when the
    // movie cannot be played; the failure is known when the call returns.
    virtual void PlayFile(const std::string& path, QWidget* window) = 0;
    virtual void GetFrameRate(int32_t& thousandths) = 0;  // 23976 for 23.976 fps; <= 0: none
    virtual void GetDur(int32_t& frames) = 0;
    virtual void GetVideoWH(int32_t& width, int32_t& height) = 0;
    virtual void GetPos(int32_t& frame) = 0;
    virtual void SetPos(int32_t frame) = 0;  // harmless without a movie
    virtual void PlayMovie() = 0;            // plays the loaded movie again after StopMovie
    virtual void PauseMovie() = 0;           // toggles paused / playing
    virtual void StopMovie() = 0;
    virtual void SizeChange() = 0;   // fit the picture to the PlayFile window
    virtual void GraphNotify() = 0;  // handle pending engine events
    virtual void SetFullScreen(int32_t on) = 0;
    // The top-level window showing the picture in full screen; none otherwise.
    virtual QWindow* FullScreenWindow() const { return nullptr; }

    // Where WM_MOVIE_END, WM_FULLSCREEN_KEY and WM_FULLSCREEN_LEFT are posted.
    virtual void SetMainWindow(QObject* mainWindow) = 0;

    // What every player has besides: sound level and muting, kept across movies, and short
    // text over the picture (in the window and in full screen). Harmless without a movie.
    virtual void SetVolume(int32_t percent) = 0;  // 0..100
    virtual void SetMute(bool on) = 0;
    virtual void ShowText(const std::string& text) = 0;
};

}  // namespace tessaview
