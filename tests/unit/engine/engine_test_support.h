// Helpers for the engine tests: the Qt application (headless or on a private X server),
// movies made with ffmpeg, a movie panel and a main window that record what the engine posts.
#pragma once

#include <QObject>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "external/movie_engine.h"

namespace tessaview::test {

// Creates the process's QApplication on the offscreen platform. Returns false when the
// application already runs on another platform.
bool startHeadless();
// Creates the QApplication on a private Xvfb server (1280x720). Returns an empty string on
// success, or why the test has to be skipped.
std::string startOnPrivateX();

// A movie made once per build tree with `ffmpeg -f lavfi`, by name:
// "25fps" 320x240 4 s, "23.976fps" 320x240 3 s, "odd" 333x187 2 s with sound,
// "tone" sound only, "text" a plain text file, "missing" a path that does not exist.
std::string moviePath(const std::string& name);

// The engine's position in frames.
inline int32_t posOf(MovieEngine& engine) {
    int32_t frame = -1;
    engine.GetPos(frame);
    return frame;
}

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

}  // namespace tessaview::test
