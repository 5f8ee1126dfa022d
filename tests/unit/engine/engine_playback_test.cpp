// The libmpv engine against movies made with ffmpeg, headless: what it reports about a
// movie, failed loads, position, seek, pause, stop, keys and the end-of-movie message.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QThread>
#include <QWindow>
#include <array>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "engine_test_support.h"
#include "external/messages.h"
#include "subtitle/runtime_error.h"
#include "support/temp_dir.h"

namespace tessaview::test {
namespace {

using namespace std::chrono_literals;

class MpvEngineTest : public EngineTest {
protected:
    void SetUp() override {
        if (!startHeadless()) GTEST_SKIP() << "the process already runs on a real display";
        wire(320, 240);
    }
    // Frame rate in thousandths, length in frames, picture size.
    std::array<int32_t, 4> facts() {
        std::array<int32_t, 4> f{-1, -1, -1, -1};
        engine.GetFrameRate(f[0]);
        engine.GetDur(f[1]);
        engine.GetVideoWH(f[2], f[3]);
        return f;
    }
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

TEST_F(MpvEngineTest, FailedLoadThrowsAndLeavesThePlayingMovieOrNothingAsItWas) {
    const std::filesystem::path folder = std::filesystem::path(moviePath("missing")).parent_path();
    // FFmpeg's demuxer, which mpv would hand it to, writes past its memory on this index.
    const std::string overfull = (folder / "overfull.idx").string();
    std::ofstream((folder / "overfull.sub").string());
    std::ofstream index(overfull);
    index << "# VobSub index file, v7\n";
    for (int k = 0; k < 33; ++k) index << "id: x, index: " << k % 2 << "\ntimestamp: 00:00:01:000, filepos: 0\n";
    index.close();
    const std::string unplayable[] = {moviePath("missing"), moviePath("text"), moviePath("tone"), folder, overfull};

    engine.SetFullScreen(1);  // before any movie there is no picture window to move
    EXPECT_FALSE(engine.isFullScreen());
    for (const std::string& path : unplayable) {
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
    for (const std::string& path : unplayable) {
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

TEST_F(MpvEngineTest, PlayPauseAndStopMoveThePositionAsTheyShould) {
    play("25fps");
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(waitForPos([](int32_t frame) { return frame >= 10; }));
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    EXPECT_LT(pos(), elapsed * 25 + 5) << "position runs ahead of the clock";
    EXPECT_GT(panel->movieEvents, 0) << "mpv's wake-ups never reached the movie panel";

    // Paused, the movie holds; play while paused goes on from where the movie stands.
    engine.PauseMovie();
    EXPECT_TRUE(engine.isPaused());
    pumpFor(150ms);
    const int32_t held = pos();
    pumpFor(300ms);
    EXPECT_EQ(pos(), held);
    engine.PlayMovie();
    EXPECT_FALSE(engine.isPaused());
    EXPECT_GE(pos(), held) << "play while paused goes on from where the movie stands";
    EXPECT_TRUE(waitForPos([&](int32_t frame) { return frame >= held + 5; }));

    engine.StopMovie();
    EXPECT_EQ(pos(), 0);
    pumpFor(400ms);
    EXPECT_EQ(pos(), 0) << "a stopped movie does not move";
    engine.PlayMovie();
    EXPECT_TRUE(waitForPos([](int32_t frame) { return frame >= 3; }));
    EXPECT_LT(pos(), held + 5) << "play after stop starts from the beginning";
}

TEST_F(MpvEngineTest, SetPosLandsOnTheFrameAsked) {
    for (const auto& [movie, frame] : {std::pair{"25fps", 37}, {"25fps", 0}, {"23.976fps", 50}, {"23.976fps", 7}}) {
        SCOPED_TRACE(std::string(movie) + " frame " + std::to_string(frame));
        play(movie);
        engine.PauseMovie();
        engine.SetPos(frame);
        EXPECT_EQ(pos(), frame) << "the new position shows at once";
        pumpFor(400ms);  // the seek has been carried out by now
        EXPECT_EQ(pos(), frame);
    }
}

TEST_F(MpvEngineTest, EndOfMovieIsReportedOncePerRunAndNotAfterStopOrReplace) {
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
            EXPECT_TRUE(waitForPos([](int32_t frame) { return frame >= 3; }));
        }
        EXPECT_EQ(mainWindow.count(WM_MOVIE_END), 2);
    }
}

TEST_F(MpvEngineTest, KeysReachTheProgramAsVirtualKeysOnlyInFullScreen) {
    play("25fps");
    QWindow* surface = engine.surface();
    ASSERT_NE(surface, nullptr);
    const auto press = [&](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(surface, &event);
        pumpFor(20ms);
    };
    press(Qt::Key_Space);
    EXPECT_TRUE(mainWindow.keys().empty());
    engine.SetFullScreen(1);
    EXPECT_TRUE(engine.isFullScreen());
    const std::tuple<int, Qt::KeyboardModifiers, int> keys[] = {
        {Qt::Key_Escape, Qt::NoModifier, 27}, {Qt::Key_Space, Qt::NoModifier, 32}, {Qt::Key_Up, Qt::NoModifier, 38},
        {Qt::Key_Down, Qt::NoModifier, 40},   {Qt::Key_A, Qt::ShiftModifier, 65},  {Qt::Key_9, Qt::NoModifier, 57},
        {Qt::Key_9, Qt::KeypadModifier, 105}, {Qt::Key_F4, Qt::NoModifier, 115},  {Qt::Key_Minus, Qt::NoModifier, 189},
        {Qt::Key_Shift, Qt::ShiftModifier, 16}, {Qt::Key_unknown, Qt::NoModifier, 0}};
    std::vector<intptr_t> expected;
    for (const auto& [key, modifiers, code] : keys) {
        press(key, modifiers);
        if (code != 0) expected.push_back(code);  // a key without a code is not posted
    }
    EXPECT_EQ(mainWindow.keys(), expected);
    engine.SetFullScreen(0);
    EXPECT_FALSE(engine.isFullScreen());
    press(Qt::Key_Escape);
    EXPECT_EQ(mainWindow.keys(), expected);
    EXPECT_EQ(mainWindow.count(WM_FULLSCREEN_LEFT), 0) << "leaving when asked is not reported";
}

}  // namespace
}  // namespace tessaview::test
