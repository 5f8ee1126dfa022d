// The built player under a real X display with the real engine: subtitles shown from every
// kind of source, the window on the screen, drops, keys and clicks, and Exit saving settings.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "unit/vobsub/vobsub_pair_writer.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

std::string Shell(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (const size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
        pclose(pipe);
    }
    output.erase(output.find_last_not_of(" \n") + 1);
    return output;
}

// Polls for a state the player reaches in its own time: at once on an idle machine, within
// `limit` on a loaded one. A fixed pause would be too short on the one and waste the other.
template <class Condition>
bool WaitUntil(Condition done, std::chrono::milliseconds limit = 20s) {
    for (const auto end = std::chrono::steady_clock::now() + limit; !done(); std::this_thread::sleep_for(50ms))
        if (std::chrono::steady_clock::now() > end) return false;
    return true;
}

// Top-level windows are the root's children, or its grandchildren inside a window manager's frames.
std::string Focused() { return Shell("xdotool getwindowfocus -f 2>/dev/null"); }
std::string Titled(const std::string& t) {
    return Shell("xdotool search --maxdepth 2 --onlyvisible --name '^" + t + "$'");
}
// The main window's title names the open movie.
std::string PlayerWindows() { return Titled("(.* - )?Tessaview"); }
// Whether the line-per-window list `ids` holds the window `id`.
bool Lists(const std::string& ids, const std::string& id) {
    return !id.empty() && ("\n" + ids + "\n").find("\n" + id + "\n") != std::string::npos;
}

struct Geometry {
    int x = 0, y = 0, width = 0, height = 0;
};
bool OnScreen(const Geometry& g) { return g.x >= 0 && g.y >= 0 && g.x + g.width <= 1280 && g.y + g.height <= 1024; }

// A screen region: its PPM bytes, and how many pixels are near white, near black and lit.
struct Shades {
    long white = 0, black = 0, lit = 0, total = 0;
    std::string bytes;
};

class PlayerE2E : public ::testing::Test {
protected:
    // Whether a window manager frames, places and stacks the windows, as on a desktop.
    virtual bool Managed() const { return false; }

    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display (DISPLAY is unset): run under xvfb-run";
        char pattern[] = "/tmp/tessaview-e2e-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        // The program keeps set.ini beside itself: a copy of its own gives the test a clean folder.
        fs::copy_file(fs::path(TESSAVIEW_BINARY_DIR) / "src" / "tessaview", dir_ / "tessaview");
        movie_ = MakeMovie("clip.avi", "testsrc=size=640x352:rate=25:duration=8");
        // An X server resets whenever its last client leaves and refuses connections meanwhile:
        // a client held for the whole test keeps the polls' comings and goings from doing that.
        ASSERT_TRUE(WaitUntil([&] {
            if (holder_) pclose(holder_);
            holder_ = popen("echo $$; exec stdbuf -oL xdotool getmouselocation sleep 3600 2>/dev/null", "r");
            char line[80] = {};
            holderPid_ = fgets(line, sizeof line, holder_) ? std::atoi(line) : -1;
            return fgets(line, sizeof line, holder_) && line[0] == 'x';
        })) << "no connection to the X display";
        if (!Managed()) return;
        if (Shell("command -v openbox").empty()) GTEST_SKIP() << "openbox is not installed";
        manager_ = fork();
        if (manager_ == 0) {
            execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
            _exit(127);
        }
        ASSERT_TRUE(WaitUntil([] {
            const std::string check = Shell("xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null");
            const auto id = check.find("# ");
            return id != std::string::npos &&
                   Shell("xprop -id " + check.substr(id + 2) + " _NET_SUPPORTING_WM_CHECK 2>/dev/null") == check;
        })) << "openbox did not start";
    }

    void TearDown() override {
        for (pid_t* child : {&pid_, &manager_})
            if (*child > 0) {
                kill(*child, child == &manager_ ? SIGTERM : SIGKILL);
                waitpid(*child, nullptr, 0);
            }
        if (!dir_.empty()) fs::remove_all(dir_);
        if (holder_ && kill(holderPid_, SIGKILL) == 0) pclose(holder_);
    }

    fs::path MakeMovie(const std::string& name, const std::string& source) {
        const std::string make = "ffmpeg -loglevel error -y -f lavfi -i '" + source + "' -c:v mpeg4 -q:v 5 ";
        EXPECT_EQ(std::system((make + (dir_ / name).string()).c_str()), 0);
        return dir_ / name;
    }

    // Starts the player on `movie_` and returns its window once a native window of `shown`
    // ("WxH+") is inside it; empty when no window titled Tessaview appeared.
    std::string Launch(const std::string& shown = " 640x352+") {
        pid_ = fork();
        if (pid_ == 0) {
            const std::string program = (dir_ / "tessaview").string();
            std::vector<char*> argv{const_cast<char*>(program.c_str())};
            for (std::string& option : options_) argv.push_back(option.data());
            argv.push_back(const_cast<char*>(movie_.c_str()));
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        std::string id;
        WaitUntil([&] { return !(id = PlayerWindows()).empty(); });
        if (!id.empty()) WaitUntil([&] { return Tree(id).find(shown) != std::string::npos; });
        return id;
    }

    // The subtitle panel: 83 px above the 19-px status bar at the window's bottom.
    static Geometry SubtitlePanel(const Geometry& window) {
        return {window.x + 4, window.y + window.height - 19 - 83 + 2, window.width - 8, 60};
    }
    // A part of the movie panel, below menu, tool bar and track bar.
    static Geometry Picture(const Geometry& window) { return {window.x + 20, window.y + 90, 200, 100}; }

    Shades Read(const Geometry& region) {
        const std::string file = (dir_ / "grab.ppm").string();
        Shell("import -window root -depth 8 -crop " + std::to_string(region.width) + "x" +
              std::to_string(region.height) + "+" + std::to_string(region.x) + "+" + std::to_string(region.y) +
              " ppm:" + file + " 2>/dev/null");
        std::ifstream in(file, std::ios::binary);
        std::string magic;
        int width = 0, height = 0, maximum = 0;
        in >> magic >> width >> height >> maximum;
        in.get();
        Shades shades;
        if (magic != "P6" || maximum != 255) return shades;
        shades.bytes.assign(std::istreambuf_iterator<char>(in), {});
        for (size_t i = 0; i + 2 < shades.bytes.size(); i += 3) {
            const auto* rgb = reinterpret_cast<const unsigned char*>(&shades.bytes[i]);
            ++shades.total;
            if (rgb[0] > 200 && rgb[1] > 200 && rgb[2] > 200) ++shades.white;
            if (rgb[0] < 30 && rgb[1] < 30 && rgb[2] < 30) ++shades.black;
            if (std::max({rgb[0], rgb[1], rgb[2]}) > 90) ++shades.lit;
        }
        return shades;
    }
    // A part of the window as it is now: the movie resizes the window once it opens.
    Shades Read(const std::string& id, Geometry (*part)(const Geometry&)) { return Read(part(WindowGeometry(id))); }
    bool Pictured(const std::string& id) {
        const Shades picture = Read(id, Picture);
        return picture.lit > picture.total / 2;
    }

    // The native windows inside the player's: "WxH+x+y  +screenX+screenY" in device pixels.
    std::string Tree(const std::string& id) { return Shell("xwininfo -tree -id " + id); }
    void Focus(const std::string& id) { Shell("xdotool windowfocus --sync " + id + " 2>/dev/null"); }
    // The window's own area on the screen, without the window manager's frame.
    Geometry WindowGeometry(const std::string& id) {
        Geometry g;
        std::sscanf(Shell("xwininfo -id " + id + " | grep -E 'Absolute|Width|Height' | awk '{print $NF}'").c_str(),
                    "%d %d %d %d", &g.x, &g.y, &g.width, &g.height);
        return g;
    }
    // What the user sees of the window: its area and the window manager's frame around it.
    Geometry FrameGeometry(const std::string& id) {
        Geometry g = WindowGeometry(id);
        int left = 0, right = 0, top = 0, bottom = 0;
        std::sscanf(Shell("xprop -id " + id + " _NET_FRAME_EXTENTS").c_str(),
                    "_NET_FRAME_EXTENTS(CARDINAL) = %d, %d, %d, %d", &left, &right, &top, &bottom);
        return {g.x - left, g.y - top, g.width + left + right, g.height + top + bottom};
    }

    // Exit status, or -1 when the program is still running after `limit`.
    int WaitForExit(std::chrono::milliseconds limit) {
        int status = 0;
        if (!WaitUntil([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, limit)) return -1;
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    // The player's shown top-level windows: main window, parked overlay, open menus and boxes.
    int Windows() {
        const std::string ids = Shell("xdotool search --maxdepth 2 --onlyvisible --pid " + std::to_string(pid_));
        return ids.empty() ? 0 : 1 + static_cast<int>(std::count(ids.begin(), ids.end(), '\n'));
    }
    // Opens a menu with the key `open`, presses `keys` in it and waits for it to close.
    void Menu(const std::string& id, const std::string& open, const std::string& keys) {
        Focus(id);
        const int shown = Windows();
        Shell("xdotool key " + open);
        ASSERT_TRUE(WaitUntil([&] { return Windows() > shown; })) << open << " opened no menu";
        Shell("xdotool key " + keys);
        ASSERT_TRUE(WaitUntil([&] { return Windows() <= shown; })) << keys << " left the menu open";
    }
    // Once a menu opened after them shows, the keys and sizes sent before have been handled.
    void Settle(const std::string& id) { Menu(id, "alt+v", "Escape Escape"); }
    void Exit(const std::string& id) {
        Menu(id, "alt+m", "e");  // "&Movie", "&Exit"
        ASSERT_EQ(WaitForExit(20s), 0) << "the program did not close cleanly on Exit";
    }
    std::string Settings() {
        std::ifstream ini(dir_ / "set.ini");
        return {std::istreambuf_iterator<char>(ini), {}};
    }
    // Whether set.ini holds the window's place and size as `seen`.
    void ExpectSaved(const Geometry& seen) {
        const std::string settings = Settings();
        for (const std::string& line : {"Width=" + std::to_string(seen.width), "Height=" + std::to_string(seen.height),
                                        "Left=" + std::to_string(seen.x), "top=" + std::to_string(seen.y)})
            EXPECT_NE(settings.find("\n" + line + "\r\n"), std::string::npos) << line << " not in\n" << settings;
    }

    fs::path dir_;
    fs::path movie_;
    std::vector<std::string> options_;  // given before the movie at the launch
    pid_t pid_ = -1;
    pid_t manager_ = -1;
    FILE* holder_ = nullptr;
    pid_t holderPid_ = -1;
};

// The tests of full screen, window placement, drops and the mouse on the picture run on the
// bare display and again with a window manager (Openbox).
class ManagedE2E : public PlayerE2E, public ::testing::WithParamInterface<bool> {
protected:
    bool Managed() const override { return GetParam(); }
};
INSTANTIATE_TEST_SUITE_P(, ManagedE2E, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Openbox" : "Bare"; });

// A subtitle beside the movie, in any letter case, shows in the panel under the picture, and a
// second one named on the command line grows the strip by its line (that it shows under the
// first is ClockTest's). Exit saves the movie's name as its bytes (the window's place is the
// placement test's).
TEST_F(PlayerE2E, SubtitlesShowInTheStripTheSecondGrowsItAndExitSavesTheNameAsItsBytes) {
    const fs::path cafe = dir_ / "caf\xE9.avi";  // not UTF-8, as a name from another system may be
    fs::rename(movie_, cafe);
    movie_ = cafe;
    std::ofstream(dir_ / "caf\xE9.SRT") << "1\r\n00:00:00,000 --> 00:00:07,000\r\nFIRST LINE\r\n";
    std::ofstream(dir_ / "other.srt") << "1\r\n00:00:00,000 --> 00:00:07,000\r\nSECOND LINE\r\n";
    options_ = {"--second-subtitle", (dir_ / "other.srt").string()};
    const std::string id = Launch();
    ASSERT_FALSE(id.empty()) << "no window titled Tessaview appeared";
    // The strip runs from below the picture's native window (and the 3-px splitter) to the
    // 19-px status bar.
    const auto strip = [&] {
        const std::string tree = Tree(id);
        const size_t at = tree.find(" 640x352+");
        int x = 0, y = 0, screenX = 0, screenY = 0;
        if (at == std::string::npos ||
            std::sscanf(tree.c_str() + at, " 640x352+%d+%d +%d+%d", &x, &y, &screenX, &screenY) != 4)
            return Geometry{};
        const Geometry window = WindowGeometry(id);
        const int top = screenY + 352 + 3;
        return Geometry{window.x + 4, top, window.width - 8, window.y + window.height - 19 - top};
    };
    Geometry area;
    WaitUntil([&] {
        area = strip();
        return area.height > 83 && Read(area).white > 150 && Pictured(id);
    });
    EXPECT_GT(area.height, 83) << "the strip did not grow for the second line";
    const Shades shades = Read(area);
    EXPECT_GT(shades.white, 150) << "no white text in the subtitle panel";
    EXPECT_GT(shades.black, shades.total / 2) << "the panel is not black";
    // The picture is drawn inside the movie panel, and the engine opened no window of its own.
    EXPECT_TRUE(Pictured(id)) << "no movie picture in the movie panel";
    EXPECT_TRUE(Titled(".* - mpv").empty()) << "the engine shows the movie in a window of its own";

    Exit(id);
    const std::string settings = Settings();
    for (const std::string& line : {std::string("Count=1"), "0=" + movie_.string()})
        EXPECT_NE(settings.find(line), std::string::npos) << line << " not in\n" << settings;
}

// With no file beside it, the movie's own text track shows. (That Always on Top keeps the
// engine's native window is QtDesktop's test.)
TEST_F(PlayerE2E, TextTrackInsideTheMovieShows) {
    std::ofstream(dir_ / "track.srt") << "1\r\n00:00:00,000 --> 00:00:07,000\r\nSUBTITLE INSIDE THE MOVIE\r\n";
    const fs::path mkv = dir_ / "clip.mkv";
    ASSERT_EQ(std::system(("ffmpeg -loglevel error -y -i " + movie_.string() + " -i " + (dir_ / "track.srt").string() +
                           " -c:v copy -c:s srt " + mkv.string())
                              .c_str()),
              0);
    movie_ = mkv;
    const std::string id = Launch();
    ASSERT_FALSE(id.empty()) << "no window titled Tessaview appeared";
    EXPECT_TRUE(WaitUntil([&] { return Read(id, SubtitlePanel).white > 150; }))
        << "the movie's own text track is not shown";
}

// A VobSub pair beside the movie shows its picture in the panel. (Its timing is ClockTest's and
// test_vobsub's.)
TEST_F(PlayerE2E, VobSubPairBesideTheMovieShowsItsPictureInThePanel) {
    tessaview::testpair::Picture mark{.startMs = 1000, .durationMs = 4000, .width = 100, .height = 30};
    mark.colours = {4, 4, 4, 4};  // white, opaque
    mark.alphas = {15, 15, 15, 15};
    tessaview::testpair::Pair pair;
    pair.languages.push_back({"en", 0, {mark}});
    tessaview::testpair::writePair(pair, (dir_ / "clip").string());
    const std::string id = Launch();
    ASSERT_FALSE(id.empty());
    EXPECT_TRUE(WaitUntil([&] { return Read(id, SubtitlePanel).lit > 20; }))
        << "the VobSub picture (a small mark) never showed in the subtitle panel";
}

TEST_F(PlayerE2E, FilesThatAreNoMoviesGetTheirMessageAndThePlayerGoesOn) {
    const std::string broken = (dir_ / "broken.avi").string();
    std::ofstream(broken) << std::string(20000, 'x');
    // A container holding only text: neither sound nor picture.
    std::ofstream(dir_ / "words.srt") << "1\r\n00:00:00,000 --> 00:00:02,000\r\nWORDS\r\n";
    const std::string words = (dir_ / "words.mkv").string();
    ASSERT_EQ(std::system(("ffmpeg -loglevel error -y -i " + (dir_ / "words.srt").string() + " " + words).c_str()), 0);
    const std::string id = Launch();
    ASSERT_NE(Tree(id).find(" 640x352+"), std::string::npos) << "the movie did not open";
    for (const std::string& path : {broken, words, broken}) {
        SCOPED_TRACE(path);
        Focus(id);  // back from the box, so that Ctrl+O is the window's
        const Geometry window = WindowGeometry(id);
        Shell("xdotool mousemove " + std::to_string(window.x + 400) + " " + std::to_string(window.y + 40) +
              " click 1 key ctrl+o");  // the empty tool bar takes the keys
        ASSERT_TRUE(WaitUntil([] { return Lists(Titled("Play DivX Movie"), Focused()); })) << "no Play File dialog";
        Shell("xdotool type --delay 5 '" + path + "'");
        Shell("xdotool key Return");
        // The error box is a second window titled Tessaview; Enter closes it once it has the keyboard.
        EXPECT_TRUE(WaitUntil([&] { return Focused() != id && Lists(Titled("Tessaview"), Focused()); }))
            << "no error box";
        Shell("xdotool key Return");
        EXPECT_TRUE(WaitUntil([&] { return Titled("Tessaview").empty(); })) << "the error box stays";
        ASSERT_EQ(WaitForExit(0s), -1) << "the player ended on a file that is no movie";
    }
    Exit(id);  // it still answers
}

// The window fits the screen with its frame, title bar included (at double size too, as
// FittedPanelSize's test shows); the place stored at exit is the one seen, and the next start
// shows the window there again.
TEST_P(ManagedE2E, TooLargeAPictureShrinksTheWindowOntoTheScreenAndTheNextStartKeepsItsPlace) {
    movie_ = MakeMovie("large.avi", "testsrc=size=1440x1080:rate=25:duration=8");  // too tall more than too wide
    std::string id = Launch("");
    ASSERT_FALSE(id.empty());
    Geometry origin;
    EXPECT_TRUE(WaitUntil([&] {
        origin = FrameGeometry(id);
        return OnScreen(origin) && origin.height == 1024;
    })) << origin.x
        << "," << origin.y << " " << origin.width << "x" << origin.height;
    Exit(id);
    ExpectSaved(origin);
    id = Launch("");
    ASSERT_FALSE(id.empty());
    Geometry again;
    EXPECT_TRUE(WaitUntil([&] {
        again = FrameGeometry(id);
        return again.x == origin.x && again.y == origin.y && again.width == origin.width &&
               again.height == origin.height;
    })) << "placed at "
        << again.x << "," << again.y << " " << again.width << "x" << again.height << " after " << origin.x << ","
        << origin.y << " " << origin.width << "x" << origin.height;
    Exit(id);
    ExpectSaved(origin);
}

TEST_F(PlayerE2E, OriginSizeIsOneMoviePixelPerDevicePixel) {
    setenv("QT_SCALE_FACTOR", "2", 1);
    const std::string id = Launch();
    unsetenv("QT_SCALE_FACTOR");
    ASSERT_FALSE(id.empty());
    EXPECT_NE(Tree(id).find(" 640x352+"), std::string::npos) << Tree(id);
    EXPECT_TRUE(WaitUntil([&] { return OnScreen(WindowGeometry(id)); }));
}

TEST_F(PlayerE2E, SizeGivenByTheWindowManagerIsKeptAndAFrameDragFollowsTheWidth) {
    const std::string id = Launch();
    ASSERT_FALSE(id.empty());
    Shell("xdotool windowsize --sync " + id + " 1024 768");  // maximised, snapped or tiled
    Settle(id);
    EXPECT_EQ(WindowGeometry(id).height, 768);
    // A drag of the frame: the button is held outside the window's own area.
    Shell("xdotool mousemove 1270 1015 mousedown 1");
    Shell("xdotool windowsize " + id + " 900 768");
    EXPECT_TRUE(WaitUntil([&] { return WindowGeometry(id).height != 768; }));
    Shell("xdotool mouseup 1");
}

TEST_P(ManagedE2E, FullScreenShowsTheSubtitleInTheStripAndAfterEscapeTheKeysWorkAtOnce) {
    movie_ = MakeMovie("long.avi", "testsrc=size=640x352:rate=25:duration=60");
    std::ofstream(dir_ / "long.srt") << "1\r\n00:00:00,000 --> 00:01:00,000\r\nSUBTITLE IN THE STRIP\r\n";
    const std::string id = Launch();
    ASSERT_FALSE(id.empty());
    // On a loaded machine the first request for the keyboard can come before the window may take it.
    ASSERT_TRUE(WaitUntil([&] {
        Focus(id);
        return Focused() == id;
    }));
    Shell("xdotool key F4");
    // 1280 x 1024 screen, 640 x 352 picture: the strip's top is at (1024 + 704) / 2 = 864.
    const auto strip = [&] { return Read({0, 866, 1280, 60}).white; };
    WaitUntil([&] { return !Lists(PlayerWindows(), id) && strip() > 150; });
    EXPECT_FALSE(Lists(PlayerWindows(), id)) << "the main window stays shown in full screen";
    EXPECT_GT(strip(), 150) << "no subtitle in the full-screen strip";
    Shell("xdotool mousemove 640 300 key Escape");  // keys go to the window under the pointer
    // Back in its window, the player has the keyboard without a click.
    ASSERT_TRUE(WaitUntil([&] { return Lists(PlayerWindows(), id) && Focused() == id; }))
        << "Escape did not bring the main window back with the keyboard";
    EXPECT_TRUE(WaitUntil([&] { return Pictured(id); })) << "no picture after leaving full screen";
    const int shown = Windows();
    Shell("xdotool mousemove 1270 1015 key alt+v");  // the pointer away from the window; "&View"
    EXPECT_TRUE(WaitUntil([&] { return Windows() > shown; })) << "the keys do not reach the window after Escape";
    Shell("xdotool key Escape Escape");
}

TEST_P(ManagedE2E, FileDroppedOnThePictureOpens) {
    const fs::path other = MakeMovie("other.avi", "testsrc=size=320x240:rate=25:duration=8");
    const std::string id = Launch();
    ASSERT_FALSE(id.empty());
    const Geometry window = WindowGeometry(id);
    const pid_t helper = fork();
    if (helper == 0) {
        execl(TESSAVIEW_DRAG_HELPER, TESSAVIEW_DRAG_HELPER, "1180", "920", other.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // The helper's title tells how far the drag has come.
    EXPECT_TRUE(WaitUntil([] { return !Titled("drag-helper").empty(); }));
    Shell("xdotool mousemove 1220 960 mousedown 1");
    EXPECT_TRUE(WaitUntil([] { return !Titled("dragging").empty(); }));
    for (int step = 1; step <= 10; ++step)
        Shell("xdotool mousemove " + std::to_string(1220 + (window.x + 200 - 1220) * step / 10) + " " +
              std::to_string(960 + (window.y + 200 - 960) * step / 10));
    EXPECT_TRUE(WaitUntil([] { return !Titled("accepted").empty(); })) << "the player refused the drag";
    Shell("xdotool mouseup 1");
    EXPECT_TRUE(WaitUntil([&] { return WindowGeometry(id).height != window.height; }))
        << "the dropped movie did not open";
    kill(helper, SIGKILL);
    waitpid(helper, nullptr, 0);
}

// The desktop's media controls, reached as a desktop does over a session bus of the test's own:
// the player is there, and Quit ends it saving. What each call and property does is
// MediaControlsTest's.
TEST_F(PlayerE2E, MediaControlsOverTheSessionBusReachThePlayerAndQuitSaving) {
    struct Daemon {
        FILE* pipe = popen("echo $$; exec dbus-daemon --session --print-address --nofork 2>/dev/null", "r");
        pid_t pid = -1;
        std::string address;
        ~Daemon() {
            if (pid > 0) kill(pid, SIGTERM);
            if (pipe) pclose(pipe);
        }
    } bus;
    char line[512] = {};
    ASSERT_TRUE(bus.pipe && fgets(line, sizeof line, bus.pipe));
    bus.pid = std::atoi(line);
    ASSERT_TRUE(fgets(line, sizeof line, bus.pipe)) << "dbus-daemon gave no address";
    bus.address = std::string(line, strcspn(line, "\n"));
    const std::string quit = "dbus-send --bus='" + bus.address +
                             "' --print-reply --dest=org.mpris.MediaPlayer2.tessaview /org/mpris/MediaPlayer2 "
                             "org.mpris.MediaPlayer2.Quit 2>&1";

    setenv("DBUS_SESSION_BUS_ADDRESS", bus.address.c_str(), 1);
    const std::string id = Launch();
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
    ASSERT_FALSE(id.empty());
    std::string answer;
    // Refused until the player has taken its name on the bus.
    EXPECT_TRUE(WaitUntil([&] { return (answer = Shell(quit)).find("Error") == std::string::npos; })) << answer;
    ASSERT_EQ(WaitForExit(20s), 0) << "the player did not close cleanly on Quit";
    EXPECT_NE(Settings().find("0=" + movie_.string()), std::string::npos) << Settings();
}

// A click on the track bar seeks where it lands, and Exit records that place in the movie
// memory. The next start resuming from there is MovieMemoryTest's, and the real engine taking a
// seek just after the open MpvEngineTest's.
TEST_F(PlayerE2E, AClickOnTheTrackBarSeeksThereAndExitRemembersThePlace) {
    movie_ = MakeMovie("long.avi", "testsrc=size=640x352:rate=25:duration=40");
    const std::string id = Launch();
    ASSERT_FALSE(id.empty());
    Focus(id);
    Shell("xdotool key ctrl+p");  // paused, so that the place stays the one sought
    const Geometry window = WindowGeometry(id);
    const int track = std::atoi(Shell("echo '" + Tree(id) + "' | grep -o 'x17+.*' | cut -d+ -f5").c_str());
    Shell("xdotool mousemove " + std::to_string(window.x + window.width / 2) + " " + std::to_string(track + 8) +
          " click 1");
    Exit(id);
    long left = -1;
    std::ifstream memory(dir_ / "memory.txt");
    for (std::string line; std::getline(memory, line);)
        if (line.rfind("position_ms=", 0) == 0) left = std::atol(line.c_str() + 12);
    EXPECT_GT(left, 15000) << "a click in the middle of the track bar did not seek there";
    EXPECT_LT(left, 25000);
}

// Keys in the real window and the mouse on the picture: the volume key, the wheel and M end
// up in set.ini. A double click's way is the engine's FullScreenTest's and PlayerKeysTest's.
TEST_P(ManagedE2E, KeysInTheWindowAndTheWheelOnThePicture) {
    movie_ = MakeMovie("gray.avi", "color=c=gray:size=640x352:rate=25:duration=30");
    const std::string id = Launch();
    ASSERT_FALSE(id.empty());
    Focus(id);
    const Geometry window = WindowGeometry(id);
    const std::string onPicture = std::to_string(window.x + 300) + " " + std::to_string(window.y + 200);
    Shell("xdotool key 9 key 9 mousemove " + onPicture + " click 5 click 5 click 4 key m");  // 90, 80, 85, muted
    Exit(id);
    EXPECT_NE(Settings().find("[Sound]\r\nVolume=85\r\nMute=1\r\n"), std::string::npos) << Settings();
}

// The transcript in the real player: Ctrl+T shows the lines beside the picture, a click on one
// takes the movie there, and played on with Pause After Each Line it stops as that line ends.
// The line keys and Ctrl+C are ReadingTest's, Heard Now is SpeechSyncTest's.
TEST_F(PlayerE2E, TranscriptBesideThePictureAClickOnALineSeeksAndPauseAfterEachLine) {
    // The picture brightens with time: 6 levels a second, out of black from 2.7 s on.
    movie_ =
        MakeMovie("ramp.avi", "color=c=black:size=640x352:rate=25:duration=40,geq=lum=min(255\\,16+T*6):cb=128:cr=128");
    std::ofstream srt(dir_ / "ramp.srt");
    srt << "1\r\n00:00:00,500 --> 00:00:01,500\r\nFirst words\r\n\r\n";
    for (int line = 2; line <= 9; ++line) {  // from 10 s on, one line every 3 s
        const int start = 10 + 3 * (line - 2);
        srt << line << "\r\n00:00:" << start << ",000 --> 00:00:" << start + 1 << ",000\r\nLine " << line << "\r\n\r\n";
    }
    srt.close();
    const std::string id = Launch();
    ASSERT_FALSE(id.empty());
    Focus(id);
    Shell("xdotool key ctrl+p");
    const Geometry window = WindowGeometry(id);
    // Mean brightness in the middle of the picture, which keeps its place as the panel opens.
    const auto brightness = [&] {
        const std::string bytes = Read({window.x + 60, window.y + 225, 150, 30}).bytes;
        long sum = 0;
        for (const char c : bytes) sum += static_cast<unsigned char>(c);
        return bytes.empty() ? -1L : sum / static_cast<long>(bytes.size());
    };
    const Geometry side{window.x + window.width - 40, window.y + 300, 30, 30};
    EXPECT_LT(Read(side).white, side.width * side.height / 2) << "white beside the picture before Ctrl+T";
    Shell("xdotool key ctrl+t");
    ASSERT_TRUE(WaitUntil([&] { return Read(side).white > side.width * side.height / 2; }))
        << "Ctrl+T showed no transcript beside the picture";
    EXPECT_LT(brightness(), 20) << "the movie did not stay near its start";

    // Below the find field, lines 4 to 7 fill the list's middle (10 s to 31 s).
    Shell("xdotool mousemove " + std::to_string(window.x + window.width - 125) + " " + std::to_string(window.y + 185) +
          " click 1");
    EXPECT_TRUE(WaitUntil([&] { return brightness() >= 45; })) << "a click on a line did not seek there";
    std::this_thread::sleep_for(300ms);
    Geometry subtitle = SubtitlePanel(window);
    subtitle.width = 280;  // under the picture, not the transcript
    // Pause After Each Line: played on, the movie stops as the 1-s line clicked ends, the line still shown.
    Shell("xdotool key ctrl+shift+p");
    const long before = brightness();
    Shell("xdotool key ctrl+p");
    std::this_thread::sleep_for(2500ms);
    const long stopped = brightness();
    std::this_thread::sleep_for(1000ms);
    EXPECT_EQ(brightness(), stopped) << "the movie did not pause at the end of the line";
    EXPECT_LE(stopped - before, 9) << "it paused later than the line's end";
    EXPECT_GT(Read(subtitle).white, 50) << "the line is gone at the pause";
    Exit(id);
}

}  // namespace
