// Helpers for the engine tests: the Qt application (headless or on a private X server),
// movies made with ffmpeg, and an engine with a movie panel and a main window that record
// what the engine posts.
#pragma once

#include <gtest/gtest.h>

#include <QObject>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "external/mpv/mpv_engine.h"

namespace tessaview::test {

// Creates the QApplication on the offscreen platform; false when it already runs on another.
bool startHeadless();
// Creates the QApplication on a private Xvfb server (1280x720). Returns an empty string on
// success, or why the test has to be skipped.
std::string startOnPrivateX();

// A movie made once per build tree with `ffmpeg -f lavfi`, by name:
// "25fps" 320x240 4 s, "23.976fps" 320x240 3 s, "odd" 333x187 2 s with sound,
// "tone" sound only, "text" a plain text file, "missing" a path that does not exist.
std::string moviePath(const std::string& name);

// Pumps Qt events until `done` holds or `timeout` passes; returns `done()`.
bool waitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));
void pumpFor(std::chrono::milliseconds duration);

// The movie panel: like the program's message hook, it calls GraphNotify for each
// WM_MOVIE_EVENT it receives.
class Panel : public QWidget {
public:
    MovieEngine* engine = nullptr;
    int movieEvents = 0;

protected:
    bool event(QEvent* event) override;
};

// The main window: records the engine's messages as (type, wParam).
class MainWindow : public QObject {
public:
    std::vector<std::pair<int, intptr_t>> messages;
    int count(int type) const { return int(std::ranges::count(messages, type, &std::pair<int, intptr_t>::first)); }
    std::vector<intptr_t> keys() const;  // the full-screen keys' virtual-key codes

protected:
    bool event(QEvent* event) override;
};

// An engine wired to a shown panel and a main window, once the application runs.
class EngineTest : public ::testing::Test {
protected:
    void wire(int width, int height);
    void play(const std::string& name);
    int32_t pos();
    bool waitForPos(const std::function<bool(int32_t)>& wanted,
                    std::chrono::milliseconds timeout = std::chrono::milliseconds(5000)) {
        return waitUntil([&] { return wanted(pos()); }, timeout);
    }

    // Declared first so the engine, which draws into the panel, goes before it.
    MainWindow mainWindow;
    std::unique_ptr<Panel> panel;
    MpvEngine engine;
};

}  // namespace tessaview::test
