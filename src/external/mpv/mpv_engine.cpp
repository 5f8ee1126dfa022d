// The movie engine over libmpv: loading, positions in frames, the end of the movie and
// the full-screen window.
#include "external/mpv/mpv_engine.h"

#include <mpv/client.h>

#include <QtGui/qguiapplication_platform.h>
#include <malloc.h>
#include <xcb/xcb.h>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <charconv>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "external/messages.h"
#include "external/mpv/create_mpv_engine.h"
#include "external/mpv/movie_surface.h"
#include "external/virtual_key.h"
#include "subtitle/number_rules.h"
#include "subtitle/runtime_error.h"
#include "subtitle/vobsub_index_scan.h"

namespace tessaview {

namespace {

constexpr auto kLoadTimeout = std::chrono::seconds(15);

// reply_userdata of the observed properties.
constexpr uint64_t kTimePos = 1;
constexpr uint64_t kEofReached = 2;

int32_t toFrames(double seconds, double fps) {
    if (fps <= 0.0 || !std::isfinite(seconds) || seconds <= 0.0) return 0;
    return ClampToInt32(RoundHalfAway(seconds * fps));
}

bool headless() {
    const QString name = QGuiApplication::platformName();
    return name == QLatin1String("offscreen") || name == QLatin1String("minimal");
}

double getDouble(mpv_handle* handle, const char* name) {
    double value = 0.0;
    return mpv_get_property(handle, name, MPV_FORMAT_DOUBLE, &value) >= 0 ? value : 0.0;
}

int64_t getInt(mpv_handle* handle, const char* name) {
    int64_t value = 0;
    return mpv_get_property(handle, name, MPV_FORMAT_INT64, &value) >= 0 ? value : 0;
}

bool getFlag(mpv_handle* handle, const char* name) {
    int value = 0;
    return mpv_get_property(handle, name, MPV_FORMAT_FLAG, &value) >= 0 && value != 0;
}

// A video track that is a real picture stream, not cover art.
bool hasVideo(mpv_handle* handle) {
    int64_t id = 0;
    if (mpv_get_property(handle, "current-tracks/video/id", MPV_FORMAT_INT64, &id) < 0) return false;
    return !getFlag(handle, "current-tracks/video/albumart");
}

// A window manager keeps a top-level window inside a frame of its own until it has seen the
// window withdrawn. Taken into the panel before that, the window is pulled out again (to the
// root, unmapped) when the manager lets go: the picture would stay black.
void waitUntilReleased(QWindow& window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11) return;
    xcb_connection_t* connection = x11->connection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen) return;
    const auto id = static_cast<xcb_window_t>(window.winId());
    for (const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
         std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(std::chrono::milliseconds(5))) {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(connection, xcb_query_tree(connection, id), nullptr);
        const bool released = !tree || tree->parent == screen->root;
        std::free(tree);
        if (released) return;
    }
}

}  // namespace

std::unique_ptr<MovieEngine> CreateMpvEngine() { return std::make_unique<MpvEngine>(); }

void MpvEngine::HandleDeleter::operator()(mpv_handle* handle) const { mpv_terminate_destroy(handle); }

MpvEngine::MpvEngine() {
    std::setlocale(LC_NUMERIC, "C");
    // Every load starts new demuxer and decoder threads, and glibc hands new threads malloc
    // arenas of their own that keep what was freed in them: over hundreds of loads resident
    // memory only grows. Two arenas keep it flat.
    mallopt(M_ARENA_MAX, 2);
    // Picture buffers then go straight back to the system when freed: left to itself glibc
    // raises this threshold after the first frees and keeps later buffers in the heap, which
    // grows in steps as movies of other sizes come and go.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
}

MpvEngine::~MpvEngine() { tearDown(); }

void MpvEngine::wakeUp(void* data) {
    // Runs on an mpv thread: only hand the news to the UI thread.
    auto* wake = static_cast<WakeTarget*>(data);
    std::lock_guard lock(wake->mutex);
    if (wake->target) QCoreApplication::postEvent(wake->target, new WindowMessage(WM_MOVIE_EVENT));
}

void MpvEngine::PlayFile(const std::string& path, QWidget* window) {
    if (!window) throw RuntimeError("No window to show the movie in");
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) throw RuntimeError("Cannot open file " + path);
    // mpv hands such an index to FFmpeg's demuxer, which overruns its memory on it.
    if (IsOverfullVobSubIndex(path))
        throw RuntimeError("Cannot open movie " + path + ": a VobSub index with too many streams");

    prepareSurface(window);
    if (!handle_) createHandle();

    MovieState previous = state_;
    previous.paused = isPaused();
    state_ = MovieState{};
    state_.path = path;
    setPaused(false);
    std::string failure = loadAndWait(path);
    if (failure.empty()) failure = readMovieFacts();
    if (!failure.empty()) {
        restore(previous);
        throw RuntimeError("Cannot open movie " + path + ": " + failure);
    }
    // A movie left paused at its end can pause the next one while it loads.
    setPaused(false);
    state_.loaded = true;
    SizeChange();
}

void MpvEngine::restore(const MovieState& previous) {
    // A movie that cannot be opened leaves the one before it as it was.
    state_ = MovieState{};
    if (!previous.loaded || !handle_) return;
    setPaused(true);
    if (!loadAndWait(previous.path).empty() || !readMovieFacts().empty()) return;
    seekSeconds(previous.position);
    state_ = previous;
    state_.eofReached = false;
    setPaused(previous.paused);
}

void MpvEngine::prepareSurface(QWidget* panel) {
    if (panel_ == panel && container_ && surface_) return;
    tearDown();

    auto* surface = new MovieSurface;
    surface->setFlag(Qt::WindowDoesNotAcceptFocus, true);
    surface->onKey = [this](QKeyEvent* event) {
        if (!fullScreen_) return;
        if (const int code = virtualKeyFromQt(event->key(), event->modifiers())) {
            postToMainWindow(WM_FULLSCREEN_KEY, code, virtualModifiers(event->modifiers()));
        }
    };
    // The mouse over the picture is the program's in the window as in full screen.
    surface->onWheel = [this](QWheelEvent* event) {
        if (const int delta = event->angleDelta().y()) postToMainWindow(WM_PICTURE_WHEEL, delta);
    };
    surface->onDoubleClick = [this](QMouseEvent* event) {
        if (event->button() == Qt::LeftButton) postToMainWindow(WM_PICTURE_DBLCLK);
    };
    surface->onCloseRequest = [this] {
        if (!fullScreen_) return;
        leaveFullScreen();
        postToMainWindow(WM_FULLSCREEN_LEFT);
    };
    surface->onNativeWindowGoing = [this] {
        // mpv must stop drawing before its window disappears.
        handle_.reset();
        state_.loaded = false;
        fullScreen_ = false;
    };
    QObject::connect(surface, &QWindow::windowStateChanged, surface, [this](Qt::WindowState state) {
        if (fullScreen_ && state == Qt::WindowMinimized) {
            leaveFullScreen();
            postToMainWindow(WM_FULLSCREEN_LEFT);
        }
    });

    // In full screen no container ties the panel's end to the surface's.
    QObject::connect(panel, &QObject::destroyed, surface, [this] {
        std::lock_guard lock(wake_.mutex);
        wake_.target = nullptr;
    });

    panel_ = panel;
    surface_ = surface;
    embedSurface();
    surface->winId();
    std::lock_guard lock(wake_.mutex);
    wake_.target = panel;
}

void MpvEngine::embedSurface() {
    // A container owns the surface while it is in the panel. A container whose window has
    // been taken away cannot take it back (Qt drops it), so each stay gets a new one.
    container_ = QWidget::createWindowContainer(surface_, panel_);
    // A container hands drags to the window inside, which knows nothing of files: a drop on
    // the picture belongs to the main window, as one anywhere else does.
    container_->setAcceptDrops(false);
    container_->winId();
    container_->setGeometry(panel_->rect());
    container_->show();
}

void MpvEngine::createHandle() {
    std::setlocale(LC_NUMERIC, "C");
    mpv_handle* handle = mpv_create();
    if (!handle) throw RuntimeError("The movie engine could not start");
    handle_.reset(handle);

    int64_t wid = static_cast<int64_t>(surface_->winId());
    mpv_set_option(handle, "wid", MPV_FORMAT_INT64, &wid);
    // The program draws its own subtitles and takes keys and mouse itself (input-cursor: mpv
    // asks for no pointer events, so they reach the window it draws into).
    const std::pair<const char*, const char*> options[] = {
        {"config", "no"},
        {"terminal", "no"},
        {"idle", "yes"},
        {"keep-open", "yes"},
        {"keep-open-pause", "yes"},
        {"hwdec", "auto-safe"},
        {"hr-seek", "yes"},
        {"sub-auto", "no"},
        {"sid", "no"},
        {"osc", "no"},
        {"osd-level", "0"},
        {"ytdl", "no"},
        {"load-scripts", "no"},
        {"load-stats-overlay", "no"},
        {"load-osd-console", "no"},
        {"load-auto-profiles", "no"},
        {"input-default-bindings", "no"},
        {"input-vo-keyboard", "no"},
        {"input-media-keys", "no"},
        {"input-cursor", "no"},
        {"audio-fallback-to-null", "yes"},
    };
    for (const auto& [name, value] : options) mpv_set_option_string(handle, name, value);
    // Headless means nobody watches or listens.
    if (headless()) {
        mpv_set_option_string(handle, "vo", "null");
        mpv_set_option_string(handle, "ao", "null");
    } else {
        // Only outputs that draw into `wid`: where the GPU output cannot start (no usable GL,
        // as under Xvfb), mpv's own fallback list would reach outputs that open a window of
        // their own beside ours.
        mpv_set_option_string(handle, "vo", "gpu,x11");
        // OpenGL only: the Vulkan display context is no output for `wid` either, and where it
        // fails (no GPU) it closes descriptor 0 on its way out, which later takes down the X
        // connection that reuses that number.
        mpv_set_option_string(handle, "gpu-api", "opengl");
        // The output stays open while no file plays: otherwise a failed open closes it and the
        // reload of the earlier movie opens a new one, and each OpenGL output leaves a pipe
        // (two descriptors) and some memory behind.
        mpv_set_option_string(handle, "force-window", "yes");
    }

    if (const int result = mpv_initialize(handle); result < 0) {
        handle_.reset();
        throw RuntimeError(std::string("The movie engine could not start: ") + mpv_error_string(result));
    }
    mpv_set_property(handle, "volume", MPV_FORMAT_DOUBLE, &volume_);
    mpv_set_property(handle, "mute", MPV_FORMAT_FLAG, &muted_);
    mpv_request_log_messages(handle, "error");
    mpv_observe_property(handle, kTimePos, "time-pos", MPV_FORMAT_DOUBLE);
    mpv_observe_property(handle, kEofReached, "eof-reached", MPV_FORMAT_FLAG);
    mpv_set_wakeup_callback(handle, &MpvEngine::wakeUp, &wake_);
}

void MpvEngine::tearDown() {
    handle_.reset();
    {
        std::lock_guard lock(wake_.mutex);
        wake_.target = nullptr;
    }
    if (surface_) {
        QObject::disconnect(surface_, nullptr, nullptr, nullptr);
        surface_->onKey = nullptr;
        surface_->onWheel = nullptr;
        surface_->onDoubleClick = nullptr;
        surface_->onCloseRequest = nullptr;
        surface_->onNativeWindowGoing = nullptr;
    }
    if (container_) {
        delete container_.data();  // and the surface inside it
    } else {
        delete surface_.data();  // on its own in full screen
    }
    state_.loaded = false;
    fullScreen_ = false;
}

std::string MpvEngine::loadAndWait(const std::string& path) {
    mpv_handle* handle = handle_.get();
    lastError_.clear();
    const char* command[] = {"loadfile", path.c_str(), "replace", nullptr};
    if (const int result = mpv_command(handle, command); result < 0) return mpv_error_string(result);
    const auto fail = [&](std::string why) {
        const char* stop[] = {"stop", nullptr};
        mpv_command(handle, stop);
        if (!lastError_.empty()) why += " (" + lastError_ + ")";
        return why;
    };

    // Only the START_FILE that follows our command names our playlist entry; an END_FILE
    // before it belongs to the movie being replaced.
    int64_t entry = -1;
    const auto deadline = std::chrono::steady_clock::now() + kLoadTimeout;
    for (;;) {
        const std::chrono::duration<double> left = deadline - std::chrono::steady_clock::now();
        if (left.count() <= 0) return fail("no answer from the movie engine");
        mpv_event* event = mpv_wait_event(handle, left.count());
        switch (event->event_id) {
            case MPV_EVENT_START_FILE:
                entry = static_cast<mpv_event_start_file*>(event->data)->playlist_entry_id;
                break;
            case MPV_EVENT_FILE_LOADED:
                if (entry >= 0) return {};
                break;
            case MPV_EVENT_END_FILE: {
                const auto* end = static_cast<mpv_event_end_file*>(event->data);
                if (entry < 0 || end->playlist_entry_id != entry) break;
                return fail(end->reason == MPV_END_FILE_REASON_ERROR ? mpv_error_string(end->error) : "not a movie");
            }
            case MPV_EVENT_SHUTDOWN:
                handle_.reset();
                return "the movie engine stopped";
            default:
                handleEvent(*event);
                break;
        }
    }
}

std::string MpvEngine::readMovieFacts() {
    mpv_handle* handle = handle_.get();
    state_.duration = getDouble(handle, "duration");
    if (hasVideo(handle)) {
        state_.fps = getDouble(handle, "container-fps");
        state_.width = static_cast<int32_t>(getInt(handle, "width"));
        state_.height = static_cast<int32_t>(getInt(handle, "height"));
        return {};
    }
    int64_t audio = 0;
    if (mpv_get_property(handle, "current-tracks/audio/id", MPV_FORMAT_INT64, &audio) < 0) {
        const char* stop[] = {"stop", nullptr};
        mpv_command(handle, stop);
        return "the file has neither sound nor picture";
    }
    // Sound alone (a radio play, a lecture) still has a subtitle to read: positions count at a
    // nominal rate, and the area sized like a small movie shows the cover art or black.
    state_.audioOnly = true;
    state_.fps = AudioOnlyFrameRate;
    state_.width = AudioOnlyWidth;
    state_.height = AudioOnlyHeight;
    return {};
}

void MpvEngine::handleEvent(const mpv_event& event) {
    switch (event.event_id) {
        case MPV_EVENT_PROPERTY_CHANGE: {
            const auto* property = static_cast<const mpv_event_property*>(event.data);
            if (event.reply_userdata == kTimePos && property->format == MPV_FORMAT_DOUBLE) {
                state_.position = *static_cast<const double*>(property->data);
            } else if (event.reply_userdata == kEofReached) {
                state_.eofReached = property->format == MPV_FORMAT_FLAG && *static_cast<const int*>(property->data);
                if (!state_.eofReached) {
                    state_.endNotified = false;
                } else if (state_.loaded && !state_.stopped && !state_.endNotified) {
                    state_.endNotified = true;
                    postToMainWindow(WM_MOVIE_END);
                }
            }
            break;
        }
        case MPV_EVENT_PLAYBACK_RESTART:
            ++playbackStarts_;
            break;
        case MPV_EVENT_END_FILE: {
            // With keep-open the movie normally stays loaded at its end; this covers the rest.
            const auto* end = static_cast<const mpv_event_end_file*>(event.data);
            if (end->reason == MPV_END_FILE_REASON_EOF && state_.loaded && !state_.stopped && !state_.endNotified) {
                state_.endNotified = true;
                postToMainWindow(WM_MOVIE_END);
            }
            state_.loaded = false;
            break;
        }
        case MPV_EVENT_LOG_MESSAGE: {
            std::string text = static_cast<const mpv_event_log_message*>(event.data)->text;
            while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
            lastError_ = std::move(text);
            break;
        }
        default:
            break;
    }
}

void MpvEngine::drainEvents() {
    while (handle_) {
        mpv_event* event = mpv_wait_event(handle_.get(), 0);
        if (event->event_id == MPV_EVENT_NONE) break;
        if (event->event_id == MPV_EVENT_SHUTDOWN) {
            handle_.reset();
            state_.loaded = false;
            break;
        }
        handleEvent(*event);
    }
}

void MpvEngine::GetFrameRate(int32_t& thousandths) {
    thousandths = state_.loaded && state_.fps > 0.0 ? static_cast<int32_t>(RoundHalfAway(state_.fps * 1000.0)) : 0;
}

void MpvEngine::GetDur(int32_t& frames) { frames = state_.loaded ? toFrames(state_.duration, state_.fps) : 0; }

void MpvEngine::GetVideoWH(int32_t& width, int32_t& height) {
    width = state_.loaded ? state_.width : 0;
    height = state_.loaded ? state_.height : 0;
    // Once a picture is decoded mpv knows its display size (pixel aspect applied).
    if (state_.loaded && !state_.audioOnly && handle_) {
        const auto displayWidth = static_cast<int32_t>(getInt(handle_.get(), "dwidth"));
        const auto displayHeight = static_cast<int32_t>(getInt(handle_.get(), "dheight"));
        if (displayWidth > 0 && displayHeight > 0) {
            width = displayWidth;
            height = displayHeight;
        }
    }
}

void MpvEngine::GetPos(int32_t& frame) {
    // Called every 100 ms on the UI thread: read the observed value, never wait on mpv.
    drainEvents();
    frame = state_.loaded ? toFrames(state_.position, state_.fps) : 0;
}

void MpvEngine::SetPos(int32_t frame) {
    if (!state_.loaded || !handle_ || state_.fps <= 0.0) return;
    drainEvents();
    const double seconds = frame > 0 ? frame / state_.fps : 0.0;
    seekSeconds(seconds);
    state_.position = seconds;
}

void MpvEngine::seekSeconds(double seconds) {
    char text[64] = {};
    std::to_chars(text, text + sizeof text - 1, seconds, std::chars_format::fixed, 6);
    const char* command[] = {"seek", text, "absolute+exact", nullptr};
    mpv_command_async(handle_.get(), 0, command);
}

void MpvEngine::setPaused(bool paused) {
    int flag = paused ? 1 : 0;
    mpv_set_property(handle_.get(), "pause", MPV_FORMAT_FLAG, &flag);
}

bool MpvEngine::isPaused() const { return handle_ && getFlag(handle_.get(), "pause"); }

void MpvEngine::PlayMovie() {
    if (!state_.loaded || !handle_) return;
    drainEvents();  // a pending end must be judged before the restart below
    if (!state_.stopped && state_.eofReached) {
        seekSeconds(0.0);
        state_.position = 0.0;
    }
    state_.stopped = false;
    setPaused(false);
}

void MpvEngine::PauseMovie() {
    if (!state_.loaded || !handle_) return;
    drainEvents();
    const bool paused = isPaused();
    state_.stopped = false;
    setPaused(!paused);
}

void MpvEngine::StopMovie() {
    // A stopped movie is not shown on the whole screen: the program shows its window again
    // after a stop, and nothing may cover it.
    leaveFullScreen();
    if (!state_.loaded || !handle_) return;
    state_.stopped = true;  // before draining, so an end that is still queued is not reported
    drainEvents();
    setPaused(true);
    seekSeconds(0.0);
    state_.position = 0.0;
}

void MpvEngine::SizeChange() {
    if (container_ && panel_) container_->setGeometry(panel_->rect());
}

void MpvEngine::GraphNotify() { drainEvents(); }

void MpvEngine::SetVolume(int32_t percent) {
    volume_ = std::clamp(percent, 0, 100);
    if (handle_) mpv_set_property(handle_.get(), "volume", MPV_FORMAT_DOUBLE, &volume_);
}

void MpvEngine::SetMute(bool on) {
    muted_ = on ? 1 : 0;
    if (handle_) mpv_set_property(handle_.get(), "mute", MPV_FORMAT_FLAG, &muted_);
}

void MpvEngine::ShowText(const std::string& text) {
    if (!handle_ || !state_.loaded) return;
    const char* command[] = {"show-text", text.c_str(), "2000", nullptr};
    mpv_command_async(handle_.get(), 0, command);
}

void MpvEngine::SetFullScreen(int32_t on) {
    if (!surface_) return;
    if (!on) {
        leaveFullScreen();
        return;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (fullScreen_ || !screen) return;
    // Taking the window out of the panel keeps its native id, so mpv keeps drawing into it.
    surface_->setParent(nullptr);
    delete container_.data();
    surface_->setFlags(Qt::Window | Qt::FramelessWindowHint);
    surface_->setScreen(screen);
    // Without a window manager nothing sizes a full-screen window; give it the screen.
    surface_->setGeometry(screen->geometry());
    surface_->showFullScreen();
    surface_->setOwnsKeyboard(true);
    fullScreen_ = true;
}

void MpvEngine::leaveFullScreen() {
    if (!fullScreen_ || !surface_) return;
    fullScreen_ = false;
    surface_->setOwnsKeyboard(false);
    surface_->hide();
    waitUntilReleased(*surface_);
    surface_->setWindowState(Qt::WindowNoState);
    surface_->setFlags(Qt::Window | Qt::WindowDoesNotAcceptFocus);
    if (panel_) {
        embedSurface();
    } else {
        surface_->hide();  // the panel is gone; nothing to return to
    }
}

void MpvEngine::SetMainWindow(QObject* mainWindow) { mainWindow_ = mainWindow; }

QWindow* MpvEngine::surface() const { return surface_; }

QWindow* MpvEngine::FullScreenWindow() const { return fullScreen_ ? surface_.data() : nullptr; }

void MpvEngine::postToMainWindow(int type, intptr_t wParam, intptr_t lParam) {
    if (mainWindow_) {
        QCoreApplication::postEvent(mainWindow_, new WindowMessage(static_cast<QEvent::Type>(type), wParam, lParam));
    }
}

}  // namespace tessaview
