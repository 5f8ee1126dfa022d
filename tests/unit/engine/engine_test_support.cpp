// Helpers for the engine tests.
#include "engine_test_support.h"

#include <QApplication>
#include <QThread>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "external/messages.h"

namespace tessaview::test {

namespace {

int argc = 1;
char programName[] = "test_engine";
char* argv[] = {programName, nullptr};
// Never destroyed: tearing Qt down from a static destructor crashes, and the process ends anyway.
QApplication* application = nullptr;

// A private X server for this process, ended when the process ends.
struct PrivateX {
    pid_t pid = 0;
    ~PrivateX() {
        if (pid > 0 && kill(pid, SIGTERM) == 0) waitpid(pid, nullptr, 0);
    }
};
PrivateX privateX;

}  // namespace

bool startHeadless() {
    if (application) return QGuiApplication::platformName() == QLatin1String("offscreen");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    application = new QApplication(argc, argv);
    return true;
}

std::string startOnPrivateX() {
    if (application) {
        return QGuiApplication::platformName() == QLatin1String("xcb")
                   ? std::string()
                   : "this process already runs headless; run the test on its own (ctest does)";
    }
    int fds[2];
    if (pipe(fds) != 0) return "no pipe for Xvfb";
    const std::string fd = std::to_string(fds[1]);
    privateX.pid = fork();
    if (privateX.pid < 0) return "Xvfb did not start";
    if (privateX.pid == 0) {
        // The server ends with this process, however it ends, and keeps its chatter to itself.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        const int null = open("/dev/null", O_RDWR);
        dup2(null, 0);
        dup2(null, 1);
        dup2(null, 2);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x720x24", "-nolisten",
               "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string display;
    char c = 0;
    while (read(fds[0], &c, 1) == 1 && c != '\n') display += c;
    close(fds[0]);
    if (display.empty()) return "Xvfb gave no display (is it installed?)";
    qputenv("DISPLAY", QByteArray(":") + display.c_str());
    qputenv("QT_QPA_PLATFORM", "xcb");
    application = new QApplication(argc, argv);
    return {};
}

std::string moviePath(const std::string& name) {
    static const std::map<std::string, std::string> recipes = {
        {"25fps", "25fps.mkv|-f lavfi -i testsrc=size=320x240:rate=25:duration=4 "
                  "-c:v libx264 -preset ultrafast -g 25 -pix_fmt yuv420p"},
        {"23.976fps", "23976fps.mp4|-f lavfi -i testsrc=size=320x240:rate=24000/1001:duration=3 "
                      "-c:v libx264 -preset ultrafast -g 24 -pix_fmt yuv420p"},
        {"odd", "odd.mkv|-f lavfi -i testsrc=size=333x187:rate=25:duration=2 "
                "-f lavfi -i sine=frequency=440:duration=2 -c:v ffv1 -c:a pcm_s16le"},
        {"tone", "tone.wav|-f lavfi -i sine=frequency=440:duration=1"},
    };
    const std::filesystem::path folder = std::filesystem::path(TESSAVIEW_BINARY_DIR) / "engine-test-movies";
    std::filesystem::create_directories(folder);
    if (name == "missing") return (folder / "no-such-movie.avi").string();
    if (name == "text") {
        const auto path = folder / "notes.txt";
        std::ofstream(path) << "These are notes, not a movie.\nSecond line.\n";
        return path.string();
    }
    const std::string& recipe = recipes.at(name);
    const auto bar = recipe.find('|');
    const auto path = folder / recipe.substr(0, bar);
    if (!std::filesystem::exists(path)) {
        // Made under a private name and renamed, so tests running side by side never see half a file.
        const auto partial = folder / (std::to_string(getpid()) + "-" + path.filename().string());
        const std::string command = "ffmpeg -hide_banner -loglevel error -nostdin -y " +
                                    recipe.substr(bar + 1) + " '" + partial.string() + "'";
        if (std::system(command.c_str()) != 0) return {};
        std::filesystem::rename(partial, path);
    }
    return path.string();
}

bool waitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

void pumpFor(std::chrono::milliseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    waitUntil([&] { return std::chrono::steady_clock::now() > end; }, duration * 2);
}

void EngineTest::wire(int width, int height) {
    panel = std::make_unique<Panel>();
    panel->resize(width, height);
    panel->show();
    panel->engine = &engine;
    engine.SetMainWindow(&mainWindow);
}

void EngineTest::play(const std::string& name) {
    const std::string path = moviePath(name);
    ASSERT_FALSE(path.empty()) << "ffmpeg could not make " << name;
    engine.PlayFile(path, panel.get());
}

int32_t EngineTest::pos() {
    int32_t frame = -1;
    engine.GetPos(frame);
    return frame;
}

bool Panel::event(QEvent* event) {
    if (event->type() == WM_MOVIE_EVENT) {
        ++movieEvents;
        if (engine) engine->GraphNotify();
        return true;
    }
    return QWidget::event(event);
}

std::vector<intptr_t> MainWindow::keys() const {
    std::vector<intptr_t> codes;
    for (const auto& [type, wParam] : messages)
        if (type == WM_FULLSCREEN_KEY) codes.push_back(wParam);
    return codes;
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == WM_FULLSCREEN_KEY || event->type() == WM_FULLSCREEN_LEFT ||
        event->type() == WM_MOVIE_END || event->type() == WM_MOVIE_EVENT) {
        messages.emplace_back(event->type(), static_cast<WindowMessage*>(event)->wParam());
        return true;
    }
    return QObject::event(event);
}

}  // namespace tessaview::test
