// The libmpv engine on a private X server against a movie that ffmpeg makes: what it reports
// (of sound alone too), failed loads, position, pause, stop, the end of the movie, keys and
// full screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QThread>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>
#include <array>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "external/messages.h"
#include "external/mpv/mpv_engine.h"
#include "subtitle/runtime_error.h"
#include "support/temp_dir.h"

namespace tessaview::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Starts Qt on an X server of its own, which ends with this process. Empty, or why not.
std::string startOnPrivateX() {
    if (qApp) return {};
    FILE* server = popen(
        "exec setpriv --pdeathsig TERM Xvfb -displayfd 1 -nolisten tcp "
        "-screen 0 1280x720x24 2>/dev/null",
        "r");
    char display[16] = {};
    if (!server || !fgets(display, sizeof display, server)) return "Xvfb gave no display (is it installed?)";
    qputenv("DISPLAY", ":" + QByteArray(display).trimmed());
    qputenv("QT_QPA_PLATFORM", "xcb");
    static int argc = 1;
    static char* argv[] = {const_cast<char*>("test_engine"), nullptr};
    new QApplication(argc, argv);  // never destroyed: Qt torn down by a static destructor crashes
    return {};
}

bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 5s) {
    for (const auto deadline = std::chrono::steady_clock::now() + timeout; !done(); QThread::msleep(5)) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

void pumpFor(std::chrono::milliseconds duration) {
    waitUntil([] { return false; }, duration);
}

// The movie panel, standing for the main window too: it hands mpv's wake-ups to the engine,
// as the program's panel does, and records the messages the engine posts.
struct Panel : QWidget {
    using Message = std::tuple<int, intptr_t, intptr_t>;  // type, wParam, lParam
    explicit Panel(MovieEngine& engine) : engine(engine) {}
    int count(int type) const {
        return int(std::ranges::count_if(messages, [type](const Message& m) { return std::get<0>(m) == type; }));
    }
    bool event(QEvent* event) override {
        if (event->type() == WM_MOVIE_EVENT) {
            engine.GraphNotify();
        } else if (event->type() >= WM_USER) {
            const auto* message = static_cast<WindowMessage*>(event);
            messages.emplace_back(event->type(), message->wParam(), message->lParam());
        } else {
            return QWidget::event(event);
        }
        return true;
    }
    MovieEngine& engine;
    std::vector<Message> messages;
};

class MpvEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string why = startOnPrivateX(); !why.empty()) GTEST_SKIP() << why;
        // 4 s at 23.976 frames a second (96 frames) with sound; a key frame every 2 s, so that
        // only an exact seek lands between them.
        const std::string make =
            "ffmpeg -loglevel error -nostdin -f lavfi -i testsrc=size=332x186:"
            "rate=24000/1001:duration=4 -f lavfi -i sine=duration=4 -c:v libx264 "
            "-preset ultrafast -g 48 -pix_fmt yuv420p -c:a pcm_s16le " +
            movie_;
        ASSERT_EQ(std::system(make.c_str()), 0) << make;
        panel = std::make_unique<Panel>(engine);
        panel->resize(400, 300);
        panel->show();
        engine.SetMainWindow(panel.get());
    }
    void play() { engine.PlayFile(movie_, panel.get()); }
    int32_t pos() {
        int32_t frame = -1;
        engine.GetPos(frame);
        return frame;
    }
    bool waitForPos(const std::function<bool(int32_t)>& want) {
        return waitUntil([&] { return want(pos()); });
    }
    // Frame rate in thousandths, length in frames, picture size.
    std::array<int32_t, 4> facts() {
        std::array<int32_t, 4> f{-1, -1, -1, -1};
        engine.GetFrameRate(f[0]);
        engine.GetDur(f[1]);
        engine.GetVideoWH(f[2], f[3]);
        return f;
    }

    const TempDir dir;
    const std::string movie_ = dir.file("movie.mkv");
    // Declared first so that the engine, which draws into the panel, goes before it.
    std::unique_ptr<Panel> panel;
    MpvEngine engine;
};

TEST_F(MpvEngineTest, ReportsTheMovieAndAFailedLoadLeavesThePlayingMovieOrNothingAsItWas) {
    // FFmpeg's demuxer, which mpv would hand it to, writes past its memory on this index.
    std::string overfull = "# VobSub index file, v7\n";
    for (int k = 0; k < 33; ++k)
        overfull += "id: x, index: " + std::to_string(k % 2) + "\ntimestamp: 00:00:01:000, filepos: 0\n";
    dir.write("overfull.sub", "");
    const std::string unplayable[] = {dir.file("missing.avi"), dir.write("notes.txt", "Not a movie.\n"), dir.path(),
                                      dir.write("overfull.idx", overfull),
                                      dir.write("overfull.txt", overfull)};  // known by its first line

    // Without a movie the controls do nothing.
    engine.SetFullScreen(1);
    engine.SetPos(10);
    engine.PlayMovie();
    engine.PauseMovie();
    engine.StopMovie();
    EXPECT_FALSE(engine.isFullScreen());
    for (const std::string& path : unplayable) {
        EXPECT_THROW(engine.PlayFile(path, panel.get()), RuntimeError) << path;
        EXPECT_EQ(facts(), (std::array<int32_t, 4>{0, 0, 0, 0}));
        EXPECT_EQ(pos(), 0);
    }

    play();
    const std::array<int32_t, 4> playing{23976, 96, 332, 186};
    EXPECT_EQ(facts(), playing);
    engine.PauseMovie();
    engine.SetPos(30);
    EXPECT_EQ(pos(), 30) << "the new position shows at once";
    pumpFor(300ms);
    // Each failed open reloads the movie before it; its video output must survive that, since
    // each new OpenGL output leaves a pipe open. The first round may set up for good.
    const auto descriptors = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), {}); };
    long before = 0;
    for (int round = 0; round < 2; ++round) {
        if (round == 1) before = descriptors();
        for (const std::string& path : unplayable) {
            SCOPED_TRACE(path);
            EXPECT_NE(errorOf([&] { engine.PlayFile(path, panel.get()); }).find(path), std::string::npos);
            EXPECT_EQ(facts(), playing);
            pumpFor(200ms);
            EXPECT_EQ(pos(), 30);
            EXPECT_TRUE(engine.isPaused());
        }
    }
    EXPECT_EQ(descriptors(), before);
    EXPECT_EQ(panel->count(WM_MOVIE_END), 0);
    engine.PauseMovie();
    EXPECT_TRUE(waitForPos([](int32_t frame) { return frame > 35; }));

    // Sound alone: a small movie's picture at a nominal rate, for the subtitle to be read.
    const std::string sound = dir.file("lecture.ogg");
    ASSERT_EQ(
        std::system(("ffmpeg -loglevel error -nostdin -f lavfi -i sine=duration=4 -c:a libvorbis " + sound).c_str()),
        0);
    engine.PlayFile(sound, panel.get());
    EXPECT_EQ(facts(), (std::array<int32_t, 4>{25000, 100, 640, 360}));
}

TEST_F(MpvEngineTest, PlayPauseAndStopMoveThePositionAsTheyShould) {
    play();
    engine.PauseMovie();
    engine.SetPos(48);  // at once after the open, as a movie resumed from its memory is
    pumpFor(300ms);
    const int32_t held = pos();
    pumpFor(300ms);
    EXPECT_EQ(pos(), held);
    engine.PlayMovie();
    pumpFor(200ms);
    EXPECT_GE(pos(), held) << "play while paused goes on from where the movie stands, the seek made at the open";
    EXPECT_TRUE(waitForPos([&](int32_t frame) { return frame >= held + 5; }));

    engine.StopMovie();
    EXPECT_EQ(pos(), 0);
    pumpFor(400ms);
    EXPECT_EQ(pos(), 0) << "a stopped movie does not move";
    engine.PlayMovie();
    EXPECT_TRUE(waitForPos([](int32_t frame) { return frame >= 3; }));
    EXPECT_LT(pos(), held + 5) << "play after stop starts from the beginning";
}

TEST_F(MpvEngineTest, EndOfMovieIsReportedOncePerRunAndNotAfterStopOrReplace) {
    play();
    engine.SetPos(86);
    ASSERT_TRUE(waitUntil([&] { return panel->count(WM_MOVIE_END) > 0; }));
    pumpFor(500ms);
    EXPECT_EQ(panel->count(WM_MOVIE_END), 1);
    EXPECT_NEAR(pos(), 96, 1);

    // Play after the end runs the movie again, with a new end of its own.
    engine.PlayMovie();
    EXPECT_TRUE(waitForPos([](int32_t frame) { return frame < 20; }));
    engine.SetPos(90);
    ASSERT_TRUE(waitUntil([&] { return panel->count(WM_MOVIE_END) > 1; }));

    for (const bool stop : {true, false}) {
        SCOPED_TRACE(stop ? "stopped" : "replaced");
        play();
        engine.SetPos(90);
        // The movie reaches its end while no event is handled, so the end is still queued
        // inside the engine when the program stops or replaces the movie.
        QThread::msleep(800);
        stop ? engine.StopMovie() : play();
        pumpFor(500ms);
        EXPECT_EQ(panel->count(WM_MOVIE_END), 2);
    }
}

class FullScreenTest : public MpvEngineTest {
protected:
    void SetUp() override {
        MpvEngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        play();  // with sound: no audio device must not matter
        ASSERT_TRUE(waitForPos([](int32_t frame) { return frame >= 2; }));
        engine.PauseMovie();  // held still, so the movie cannot end during the test
        surface = engine.surface();
    }
    // mpv still answers and still plays once its window has moved.
    void expectStillPlaying() {
        engine.SetPos(10);
        engine.PauseMovie();
        EXPECT_TRUE(waitForPos([](int32_t frame) { return frame >= 13; })) << "position stuck at " << pos();
        engine.PauseMovie();
    }
    bool backInThePanel() {
        return waitUntil([&] { return surface->parent() != nullptr && surface->size() == panel->size(); });
    }
    QWindow* surface = nullptr;
};

TEST_F(FullScreenTest, FillsThePrimaryScreenAndComesBackIntoThePanel) {
    const WId id = surface->winId();
    engine.SetFullScreen(1);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_TRUE(waitUntil([&] { return surface->isExposed() && surface->geometry() == screen; }));
    expectStillPlaying();

    engine.SetFullScreen(0);
    EXPECT_TRUE(backInThePanel());
    EXPECT_EQ(surface->winId(), id) << "mpv's window was replaced";
    expectStillPlaying();
    // The panel resized by the program: SizeChange fits the picture to it again.
    panel->resize(200, 150);
    engine.SizeChange();
    EXPECT_TRUE(waitUntil([&] { return surface->size() == QSize(200, 150); }));

    // Stop leaves full screen without telling the program.
    engine.SetFullScreen(1);
    ASSERT_TRUE(waitUntil([&] { return surface->isExposed() && surface->parent() == nullptr; }));
    engine.StopMovie();
    EXPECT_FALSE(engine.isFullScreen());
    EXPECT_TRUE(backInThePanel()) << "the stopped picture still covers the screen";
    pumpFor(100ms);
    EXPECT_EQ(panel->count(WM_FULLSCREEN_LEFT), 0);
}

// Keys only in full screen, with the modifiers held; the wheel and double clicks on the picture
// in the window and in full screen alike.
TEST_F(FullScreenTest, KeysReachTheProgramAsVirtualKeysOnlyInFullScreenAndTheMouseAlways) {
    const auto press = [&](int key, Qt::KeyboardModifiers modifiers = {}) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(surface, &event);
    };
    const auto mouse = [&](int wheel) {
        const QPointF at(10, 10);
        QWheelEvent turn(at, at, {}, QPoint(0, wheel), Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(surface, &turn);
        QMouseEvent click(QEvent::MouseButtonDblClick, at, at, at, Qt::LeftButton, Qt::LeftButton, {});
        QCoreApplication::sendEvent(surface, &click);
    };
    std::vector<Panel::Message> expected;
    press(Qt::Key_Space);
    mouse(-120);
    expected.insert(expected.end(), {{WM_PICTURE_WHEEL, -120, 0}, {WM_PICTURE_DBLCLK, 0, 0}});
    engine.SetFullScreen(1);
    const std::tuple<int, Qt::KeyboardModifiers, int, int> keys[] = {
        {Qt::Key_Escape, {}, 27, 0},
        {Qt::Key_A, Qt::ShiftModifier, 65, MOD_SHIFT},
        {Qt::Key_9, {}, 57, 0},
        {Qt::Key_9, Qt::KeypadModifier, 105, 0},
        {Qt::Key_F4, {}, 115, 0},
        {Qt::Key_Up, Qt::ControlModifier | Qt::AltModifier, 38, MOD_CONTROL | MOD_ALT},
        {Qt::Key_MediaTogglePlayPause, {}, VK_MEDIA_PLAY_PAUSE, 0},
        {Qt::Key_unknown, {}, 0, 0}};
    for (const auto& [key, modifiers, code, bits] : keys) {
        press(key, modifiers);
        if (code != 0) expected.emplace_back(WM_FULLSCREEN_KEY, code, bits);  // a key without a code is not posted
    }
    mouse(240);
    expected.insert(expected.end(), {{WM_PICTURE_WHEEL, 240, 0}, {WM_PICTURE_DBLCLK, 0, 0}});
    engine.SetFullScreen(0);
    press(Qt::Key_Escape);
    pumpFor(100ms);
    EXPECT_EQ(panel->messages, expected) << "leaving when asked is not reported either";
}

TEST_F(FullScreenTest, ClosingTheWindowEndsFullScreenOnceAndALostPanelIsHarmless) {
    engine.SetFullScreen(1);
    ASSERT_TRUE(waitUntil([&] { return surface->isExposed(); }));
    surface->close();  // as a window manager's close button would
    EXPECT_TRUE(waitUntil([&] { return panel->count(WM_FULLSCREEN_LEFT) == 1; }));
    EXPECT_FALSE(engine.isFullScreen());
    EXPECT_TRUE(backInThePanel());
    expectStillPlaying();
    engine.SetFullScreen(0);  // the program's own answer to the message does not repeat it
    pumpFor(100ms);
    EXPECT_EQ(panel->count(WM_FULLSCREEN_LEFT), 1);

    engine.SetFullScreen(1);
    ASSERT_TRUE(waitUntil([&] { return surface->isExposed(); }));
    panel.reset();
    pumpFor(200ms);  // mpv keeps waking the engine; nothing may reach the dead panel
    engine.SetFullScreen(0);
    EXPECT_FALSE(engine.isFullScreen());
}

}  // namespace
}  // namespace tessaview::test
