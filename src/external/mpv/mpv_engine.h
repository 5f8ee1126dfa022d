// The movie engine over libmpv. Others create it through create_mpv_engine.h; this header
// is for the engine's own tests and benchmark, and names no libmpv type.
#pragma once

#include <QPointer>
#include <memory>
#include <mutex>
#include <string>

#include "external/movie_engine.h"

struct mpv_handle;
struct mpv_event;
class QWindow;

namespace tessaview {

class MovieSurface;

class MpvEngine final : public MovieEngine {
public:
    MpvEngine();
    ~MpvEngine() override;
    MpvEngine(const MpvEngine&) = delete;
    MpvEngine& operator=(const MpvEngine&) = delete;

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
    QWindow* FullScreenWindow() const override;

    // For tests and measurements.
    int playbackStarts() const { return playbackStarts_; }  // first frames shown after a load or seek
    bool isFullScreen() const { return fullScreen_; }
    bool isPaused() const;
    QWindow* surface() const;  // the window mpv draws into; it takes the keys in full screen

private:
    // The object mpv's wake-up callback posts to; guarded because the callback runs on
    // one of mpv's threads.
    struct WakeTarget {
        std::mutex mutex;
        QObject* target = nullptr;
    };
    // What the engine knows about the loaded movie.
    struct MovieState {
        std::string path;
        bool loaded = false;
        bool stopped = false;  // StopMovie: paused at the start, no end to report
        bool paused = false;   // only in a saved copy
        bool eofReached = false;
        bool endNotified = false;  // WM_MOVIE_END sent for the present arrival at the end
        double fps = 0.0;
        double duration = 0.0;
        double position = 0.0;  // seconds, from mpv's time-pos
        int32_t width = 0;
        int32_t height = 0;
        bool audioOnly = false;  // sound only: the nominal size stands, a cover keeps it
    };
    struct HandleDeleter {
        void operator()(mpv_handle* handle) const;
    };

    static void wakeUp(void* data);
    void prepareSurface(QWidget* panel);
    void embedSurface();
    void createHandle();
    void tearDown();
    void drainEvents();
    void handleEvent(const mpv_event& event);
    // Both return why the movie cannot be played, or an empty string.
    std::string loadAndWait(const std::string& path);
    std::string readMovieFacts();
    void restore(const MovieState& previous);
    void seekSeconds(double seconds);
    void setPaused(bool paused);
    void leaveFullScreen();
    void postToMainWindow(int type, intptr_t wParam = 0, intptr_t lParam = 0);

    WakeTarget wake_;
    std::unique_ptr<mpv_handle, HandleDeleter> handle_;
    // Given before the first movie too: applied when the handle is made.
    double volume_ = 100.0;
    int muted_ = 0;
    QPointer<QWidget> panel_;
    QPointer<QWidget> container_;
    QPointer<MovieSurface> surface_;
    QPointer<QObject> mainWindow_;

    MovieState state_;
    bool fullScreen_ = false;
    int playbackStarts_ = 0;
    std::string lastError_;
};

}  // namespace tessaview
