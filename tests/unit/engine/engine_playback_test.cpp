// The libmpv engine against movies made with ffmpeg, headless: what it reports about a
// movie, failed loads, position, seek, pause, stop and the end-of-movie message.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QThread>
#include <QWindow>
#include <array>
#include <filesystem>
#include <fstream>
#include <memory>

#include "engine_test_support.h"
#include "external/messages.h"
#include "external/mpv/mpv_engine.h"
#include "subtitle/runtime_error.h"
#include "support/temp_dir.h"

namespace tessaview::test {
namespace {

using namespace std::chrono_literals;

class MpvEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!startHeadless()) GTEST_SKIP() << "the process already runs on a real display";
        panel = std::make_unique<Panel>();
        panel->resize(320, 240);
        panel->show();
        panel->engine = &engine;
        engine.SetMainWindow(&mainWindow);
    }

    void play(const std::string& name) {
        const std::string path = moviePath(name);
        ASSERT_FALSE(path.empty()) << "ffmpeg could not make " << name;
        engine.PlayFile(path, panel.get());
    }

    int32_t pos() { return posOf(engine); }
    // Frame rate in thousandths, length in frames, picture size.
    std::array<int32_t, 4> facts() {
        std::array<int32_t, 4> f{-1, -1, -1, -1};
        engine.GetFrameRate(f[0]);
        engine.GetDur(f[1]);
        engine.GetVideoWH(f[2], f[3]);
        return f;
    }

    bool waitForPos(const std::function<bool(int32_t)>& wanted, std::chrono::milliseconds timeout = 5s) {
        return waitUntil([&] { return wanted(pos()); }, timeout);
    }

    // Declared first so the engine, which draws into the panel, goes before it.
    MainWindow mainWindow;
    std::unique_ptr<Panel> panel;
    MpvEngine engine;
};

TEST_F(MpvEngineTest, ReportsFrameRateLengthAndPictureSize) {
    const std::pair<const char*, std::array<int32_t, 4>> movies[] = {
        {"25fps", {25000, 100, 320, 240}}, {"23.976fps", {23976, 72, 320, 240}}, {"odd", {25000, 50, 333, 187}}};
    for (const auto& [name, expected] : movies) {
        SCOPED_TRACE(name);
        play(name);
        std::array<int32_t, 4> got = facts();
        EXPECT_NEAR(got[1], expected[1], 1);  // the length may count the last frame or not
        got[1] = expected[1];
        EXPECT_EQ(got, expected);
    }
}

std::vector<std::string> unplayable() {
    const std::filesystem::path folder = std::filesystem::path(moviePath("missing")).parent_path();
    // FFmpeg's demuxer, which mpv would hand it to, writes past its memory on this index.
    const std::string overfull = (folder / "overfull.idx").string();
    std::ofstream((folder / "overfull.sub").string());
    std::ofstream index(overfull);
    index << "# VobSub index file, v7\n";
    for (int k = 0; k < 33; ++k) index << "id: x, index: " << k % 2 << "\ntimestamp: 00:00:01:000, filepos: 0\n";
    return {moviePath("missing"), moviePath("text"), moviePath("tone"), folder.string(), overfull};
}

TEST_F(MpvEngineTest, FailedLoadThrowsAndLeavesThePlayingMovieOrNothingAsItWas) {
    engine.SetFullScreen(1);  // before any movie there is no picture window to move
    EXPECT_FALSE(engine.isFullScreen());
    for (const std::string& path : unplayable()) {
        SCOPED_TRACE(path);
        EXPECT_THROW(engine.PlayFile(path, panel.get()), RuntimeError);
        EXPECT_EQ(facts(), (std::array<int32_t, 4>{0, 0, 0, 0}));
        // Without a movie the controls do nothing.
        engine.SetPos(10);
        engine.PlayMovie();
        engine.PauseMovie();
        engine.StopMovie();
        engine.SizeChange();
        engine.SetFullScreen(1);
        engine.SetFullScreen(0);
        EXPECT_EQ(pos(), 0);
    }
    play("25fps");
    engine.PauseMovie();
    engine.SetPos(30);
    pumpFor(300ms);
    for (const std::string& path : unplayable()) {
        SCOPED_TRACE(path);
        EXPECT_NE(errorOf([&] { engine.PlayFile(path, panel.get()); }).find(path), std::string::npos);
        EXPECT_EQ(facts(), (std::array<int32_t, 4>{25000, 100, 320, 240}));
        pumpFor(200ms);
        EXPECT_EQ(pos(), 30);
        EXPECT_TRUE(engine.isPaused());
    }
    EXPECT_EQ(mainWindow.count(WM_MOVIE_END), 0);
    engine.PauseMovie();
    EXPECT_TRUE(waitForPos([](int32_t frame) { return frame > 35; }));
}

TEST_F(MpvEngineTest, PositionAdvancesWhilePlayingAndHoldsWhilePaused) {
    play("25fps");
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(waitForPos([](int32_t frame) { return frame >= 10; }));
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    EXPECT_LT(pos(), elapsed * 25 + 5) << "position runs ahead of the clock";
    EXPECT_GT(panel->movieEvents, 0) << "mpv's wake-ups never reached the movie panel";

    engine.PauseMovie();
    EXPECT_TRUE(engine.isPaused());
    pumpFor(150ms);
    const int32_t held = pos();
    pumpFor(300ms);
    EXPECT_EQ(pos(), held);

    engine.PauseMovie();
    EXPECT_FALSE(engine.isPaused());
    EXPECT_TRUE(waitForPos([&](int32_t frame) { return frame >= held + 5; }));
}

TEST_F(MpvEngineTest, SetPosLandsOnTheFrameAsked) {
    struct Case {
        const char* movie;
        int32_t frame;
    };
    for (const Case& c : {Case{"25fps", 37}, Case{"25fps", 0}, Case{"23.976fps", 50}, Case{"23.976fps", 7}}) {
        SCOPED_TRACE(std::string(c.movie) + " frame " + std::to_string(c.frame));
        play(c.movie);
        engine.PauseMovie();
        engine.SetPos(c.frame);
        EXPECT_EQ(pos(), c.frame) << "the new position shows at once";
        pumpFor(400ms);  // the seek has been carried out by now
        EXPECT_EQ(pos(), c.frame);
    }
}

TEST_F(MpvEngineTest, StopReturnsToTheStartAndPlayStartsAgain) {
    play("25fps");
    ASSERT_TRUE(waitForPos([](int32_t frame) { return frame >= 20; }));
    engine.StopMovie();
    EXPECT_EQ(pos(), 0);
    pumpFor(400ms);
    EXPECT_EQ(pos(), 0) << "a stopped movie does not move";

    engine.PlayMovie();
    EXPECT_TRUE(waitForPos([](int32_t frame) { return frame >= 3; }));
    EXPECT_LT(pos(), 20) << "play after stop starts from the beginning";

    // Play while paused goes on from where the movie stands.
    engine.PauseMovie();
    pumpFor(150ms);
    const int32_t held = pos();
    engine.PlayMovie();
    EXPECT_TRUE(waitForPos([&](int32_t frame) { return frame > held; }));
    EXPECT_LT(pos(), held + 15);
}

TEST_F(MpvEngineTest, EndOfMovieIsReportedOncePerRun) {
    play("odd");  // 50 frames
    engine.SetPos(40);
    ASSERT_TRUE(waitUntil([&] { return mainWindow.count(WM_MOVIE_END) > 0; }));
    pumpFor(500ms);
    EXPECT_EQ(mainWindow.count(WM_MOVIE_END), 1);
    EXPECT_NEAR(pos(), 50, 1);

    // Play after the end runs the movie again, with a new end of its own.
    engine.PlayMovie();
    EXPECT_TRUE(waitForPos([](int32_t frame) { return frame < 20; }, 1s));
    engine.SetPos(45);
    ASSERT_TRUE(waitUntil([&] { return mainWindow.count(WM_MOVIE_END) > 1; }));
    pumpFor(300ms);
    EXPECT_EQ(mainWindow.count(WM_MOVIE_END), 2);
}

TEST_F(MpvEngineTest, NoEndMessageAfterStopOrAfterAnotherMovieReplacesIt) {
    for (const bool stop : {true, false}) {
        SCOPED_TRACE(stop ? "stopped" : "replaced");
        play("odd");
        engine.SetPos(45);
        // Let the movie reach its end without handling events, so the end is still queued
        // inside the engine when the program stops or replaces the movie.
        QThread::msleep(800);
        if (stop) {
            engine.StopMovie();
            pumpFor(500ms);
            EXPECT_EQ(pos(), 0);
        } else {
            play("23.976fps");
            EXPECT_EQ(facts()[0], 23976);
            EXPECT_TRUE(waitForPos([](int32_t frame) { return frame >= 3; }));
        }
        EXPECT_EQ(mainWindow.count(WM_MOVIE_END), 0);
    }
}

TEST_F(MpvEngineTest, KeysReachTheProgramOnlyInFullScreen) {
    play("25fps");
    QWindow* surface = engine.surface();
    ASSERT_NE(surface, nullptr);
    const auto press = [&](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(surface, &event);
    };
    press(Qt::Key_Space);
    pumpFor(50ms);
    EXPECT_TRUE(mainWindow.keys().empty());

    engine.SetFullScreen(1);
    EXPECT_TRUE(engine.isFullScreen());
    for (int key : {Qt::Key_Escape, Qt::Key_Space, Qt::Key_Up, Qt::Key_Down, Qt::Key_A, Qt::Key_Shift}) press(key);
    press(Qt::Key_5, Qt::KeypadModifier);
    pumpFor(50ms);
    EXPECT_EQ(mainWindow.keys(), (std::vector<intptr_t>{27, 32, 38, 40, 65, 16, 101}));

    engine.SetFullScreen(0);
    EXPECT_FALSE(engine.isFullScreen());
    press(Qt::Key_Escape);
    pumpFor(50ms);
    EXPECT_EQ(mainWindow.keys().size(), 7u);
    EXPECT_EQ(mainWindow.count(WM_FULLSCREEN_LEFT), 0) << "leaving when asked is not reported";
}

}  // namespace
}  // namespace tessaview::test
