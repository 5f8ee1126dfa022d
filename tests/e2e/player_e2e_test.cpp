// The built player under a real X display with the real engine: a movie with a SubRip file
// beside it shows its subtitle in the subtitle panel, and Exit saves the settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <signal.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "unit/vobsub/vobsub_pair_writer.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

std::string Shell(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n = 0;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
        pclose(pipe);
    }
    return output;
}

struct Geometry {
    int x = 0, y = 0, width = 0, height = 0;
};

// A pixel count of a screen region: how many are near white and how many near black.
struct Shades {
    long white = 0, black = 0, lit = 0, total = 0;
};

Shades ReadRegion(const Geometry& region, const fs::path& file) {
    std::ostringstream command;
    command << "import -window root -depth 8 -crop " << region.width << "x" << region.height << "+" << region.x << "+"
            << region.y << " ppm:" << file.string() << " 2>/dev/null";
    std::system(command.str().c_str());
    std::ifstream in(file, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maximum = 0;
    in >> magic >> width >> height >> maximum;
    in.get();
    Shades shades;
    if (magic != "P6" || maximum != 255) return shades;
    for (long i = 0; i < static_cast<long>(width) * height; ++i) {
        unsigned char rgb[3];
        if (!in.read(reinterpret_cast<char*>(rgb), 3)) break;
        ++shades.total;
        if (rgb[0] > 200 && rgb[1] > 200 && rgb[2] > 200) ++shades.white;
        if (rgb[0] < 30 && rgb[1] < 30 && rgb[2] < 30) ++shades.black;
        if (std::max({rgb[0], rgb[1], rgb[2]}) > 90) ++shades.lit;
    }
    return shades;
}

class PlayerE2E : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display (DISPLAY is unset): run under xvfb-run";
        char pattern[] = "/tmp/tessaview-e2e-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        // The program keeps set.ini beside itself: a copy of its own gives the test a clean folder.
        fs::copy_file(fs::path(TESSAVIEW_BINARY_DIR) / "src" / "tessaview", dir_ / "tessaview");
        movie_ = dir_ / "clip.avi";
        const std::string make = "ffmpeg -loglevel error -y -f lavfi -i testsrc=size=640x352:rate=25:duration=8 "
                                 "-c:v mpeg4 -q:v 5 " + movie_.string();
        ASSERT_EQ(std::system(make.c_str()), 0);
    }

    void WriteSubRip(const std::string& name = "clip.srt") {
        std::ofstream(dir_ / name) << "1\r\n00:00:00,000 --> 00:00:07,000\r\nSUBTITLE IN THE PANEL\r\n";
    }

    // The subtitle panel: 83 px above the 19-px status bar at the window's bottom.
    static Geometry SubtitlePanel(const Geometry& window) {
        return {window.x + 4, window.y + window.height - 19 - 83 + 2, window.width - 8, 60};
    }

    void Focus(const std::string& id) { Shell("xdotool windowfocus --sync " + id + " 2>/dev/null"); }

    void TearDown() override {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (!dir_.empty()) fs::remove_all(dir_);
    }

    void Launch() {
        pid_ = fork();
        if (pid_ == 0) {
            const std::string program = (dir_ / "tessaview").string();
            execl(program.c_str(), program.c_str(), movie_.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }

    std::string WaitForWindow() {
        for (auto end = std::chrono::steady_clock::now() + 20s; std::chrono::steady_clock::now() < end;) {
            std::string id = Shell("xdotool search --maxdepth 1 --onlyvisible --name '^Tessaview$' 2>/dev/null | head -1");
            while (!id.empty() && (id.back() == '\n' || id.back() == ' ')) id.pop_back();
            if (!id.empty()) return id;
            std::this_thread::sleep_for(200ms);
        }
        return {};
    }

    Geometry WindowGeometry(const std::string& id) {
        Geometry g;
        std::istringstream shell(Shell("xdotool getwindowgeometry --shell " + id));
        std::string line;
        while (std::getline(shell, line)) {
            const auto eq = line.find('=');
            if (eq == std::string::npos) continue;
            const std::string key = line.substr(0, eq);
            const int value = std::atoi(line.c_str() + eq + 1);
            if (key == "X") g.x = value;
            if (key == "Y") g.y = value;
            if (key == "WIDTH") g.width = value;
            if (key == "HEIGHT") g.height = value;
        }
        return g;
    }

    // Exit status, or -1 when the program is still running after `limit`.
    int WaitForExit(std::chrono::seconds limit) {
        for (auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(100ms);
        }
        return -1;
    }

    fs::path dir_;
    fs::path movie_;
    pid_t pid_ = -1;
};

TEST_F(PlayerE2E, SubtitleInAnyLetterCaseShowsInThePanelAndExitSavesTheNameAsItsBytes) {
    const fs::path cafe = dir_ / "caf\xE9.avi";  // not UTF-8, as a name from another system may be
    fs::rename(movie_, cafe);
    movie_ = cafe;
    WriteSubRip("caf\xE9.SRT");
    Launch();
    const std::string id = WaitForWindow();
    ASSERT_FALSE(id.empty()) << "no window titled Tessaview appeared";
    std::this_thread::sleep_for(2500ms);  // the movie opens and the clock ticks

    const Geometry window = WindowGeometry(id);
    ASSERT_GT(window.width, 300);
    const Shades shades = ReadRegion(SubtitlePanel(window), dir_ / "panel.ppm");
    ASSERT_GT(shades.total, 0) << "no screenshot";
    EXPECT_GT(shades.white, 150) << "no white text in the subtitle panel";
    EXPECT_GT(shades.black, shades.total / 2) << "the panel is not black";
    // The picture is drawn inside the movie panel (below menu, tool bar and track bar), and
    // the engine opened no window of its own.
    const Shades picture = ReadRegion({window.x + 20, window.y + 90, 200, 100}, dir_ / "movie.ppm");
    EXPECT_GT(picture.lit, picture.total / 2) << "no movie picture in the movie panel";
    EXPECT_TRUE(Shell("xdotool search --maxdepth 1 --onlyvisible --name ' - mpv$' 2>/dev/null").empty())
        << "the engine shows the movie in a window of its own";

    // Exit through the menu: Alt+M opens "&Movie", E runs "&Exit".
    Focus(id);
    Shell("xdotool key alt+m");
    std::this_thread::sleep_for(500ms);
    Shell("xdotool key e");
    ASSERT_EQ(WaitForExit(15s), 0) << "the program did not close cleanly on Exit";

    std::ifstream ini(dir_ / "set.ini");
    std::stringstream text;
    text << ini.rdbuf();
    const std::string settings = text.str();
    EXPECT_NE(settings.find("Width=" + std::to_string(window.width)), std::string::npos) << settings;
    EXPECT_NE(settings.find("Height=" + std::to_string(window.height)), std::string::npos) << settings;
    EXPECT_NE(settings.find("Left=" + std::to_string(window.x)), std::string::npos) << settings;
    EXPECT_NE(settings.find("top=" + std::to_string(window.y)), std::string::npos) << settings;
    EXPECT_NE(settings.find("Count=1"), std::string::npos) << settings;
    EXPECT_NE(settings.find("0=" + movie_.string()), std::string::npos) << settings;
}

TEST_F(PlayerE2E, TextTrackInsideTheMovieShowsWhenNoFileLiesBeside) {
    std::ofstream(dir_ / "track.srt") << "1\r\n00:00:00,000 --> 00:00:07,000\r\nSUBTITLE INSIDE THE MOVIE\r\n";
    const fs::path mkv = dir_ / "clip.mkv";
    ASSERT_EQ(std::system(("ffmpeg -loglevel error -y -i " + movie_.string() + " -i " + (dir_ / "track.srt").string() +
                           " -c:v copy -c:s srt " + mkv.string()).c_str()),
              0);
    movie_ = mkv;
    Launch();
    const std::string id = WaitForWindow();
    ASSERT_FALSE(id.empty()) << "no window titled Tessaview appeared";
    std::this_thread::sleep_for(2500ms);
    EXPECT_GT(ReadRegion(SubtitlePanel(WindowGeometry(id)), dir_ / "panel.ppm").white, 150)
        << "the movie's own text track is not shown";
}

// With the default character set each file is read in its own encoding: the same line from
// a CP1251 file and then, when the play list moves on and nothing was set, from a UTF-8 file
// draws the same pixels (read as one code page for both, the two would differ).
TEST_F(PlayerE2E, CyrillicInCp1251AndThenInUtf8BothDrawRightWithTheDefaultFont) {
    const auto make = [&](const char* colour, const fs::path& to) {
        return std::system(("ffmpeg -loglevel error -y -f lavfi -i color=c=" + std::string(colour) +
                            ":size=640x352:rate=25:duration=3 -c:v mpeg4 " + to.string()).c_str());
    };
    ASSERT_EQ(make("blue", dir_ / "first.avi"), 0);
    ASSERT_EQ(make("red", dir_ / "second.avi"), 0);
    const std::string cue = "1\r\n00:00:00,000 --> 00:00:09,000\r\n";
    std::ofstream(dir_ / "first.srt", std::ios::binary) << cue << "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0!\r\n";
    std::ofstream(dir_ / "second.srt", std::ios::binary) << cue << "Привет, мир!\r\n";
    std::ofstream(dir_ / "set.ini") << "[PlayList]\nCount=2\n0=" << (dir_ / "first.avi").string() << "\n1="
                                    << (dir_ / "second.avi").string() << "\n";
    movie_ = dir_ / "first.avi";
    Launch();
    const std::string id = WaitForWindow();
    ASSERT_FALSE(id.empty()) << "no window titled Tessaview appeared";
    // The subtitle panel's pixels, and the movie's blue or red shown above it.
    const auto panel = [&](const char* name) {
        std::this_thread::sleep_for(1500ms);
        const Geometry window = WindowGeometry(id);
        const Shades shades = ReadRegion(SubtitlePanel(window), dir_ / name);
        EXPECT_GT(shades.white, 150) << name << ": no text in the subtitle panel";
        std::ifstream in(dir_ / name, std::ios::binary);
        ReadRegion({window.x + 20, window.y + 90, 4, 4}, dir_ / "picture.ppm");
        std::ifstream picture(dir_ / "picture.ppm", std::ios::binary);
        picture.seekg(-3, std::ios::end);
        char rgb[3] = {};
        picture.read(rgb, 3);
        const bool isBlue = static_cast<unsigned char>(rgb[2]) > static_cast<unsigned char>(rgb[0]);
        return std::pair(std::string(std::istreambuf_iterator<char>(in), {}), isBlue);
    };
    const auto [first, blue] = panel("first.ppm");
    std::this_thread::sleep_for(2500ms);  // the first movie ends and the second one opens
    const auto [second, secondBlue] = panel("second.ppm");
    ASSERT_TRUE(blue && !secondBlue) << "the play list did not move on to the red movie";
    EXPECT_TRUE(first == second) << "the CP1251 and the UTF-8 line are drawn differently";
}

TEST_F(PlayerE2E, VobSubPairBesideTheMovieShowsItsPictureInThePanel) {
    // One white picture, due from 1.0 s to 3.0 s.
    tessaview::testpair::Picture mark;
    mark.startMs = 1000;
    mark.durationMs = 2000;
    mark.width = 100;
    mark.height = 30;
    mark.colours = {4, 4, 4, 4};
    mark.alphas = {15, 15, 15, 15};
    tessaview::testpair::Pair pair;
    pair.languages.push_back({"en", 0, {mark}});
    tessaview::testpair::writePair(pair, (dir_ / "clip").string());
    Launch();
    const std::string id = WaitForWindow();
    ASSERT_FALSE(id.empty());
    std::this_thread::sleep_for(300ms);
    const Geometry window = WindowGeometry(id);
    long brightest = 0;
    long before = -1;
    for (auto end = std::chrono::steady_clock::now() + 6s; std::chrono::steady_clock::now() < end;) {
        const Shades shades = ReadRegion(SubtitlePanel(window), dir_ / "panel.ppm");
        if (before < 0) before = shades.lit;
        brightest = std::max(brightest, shades.lit);
        if (brightest > 20) break;
        std::this_thread::sleep_for(150ms);
    }
    EXPECT_EQ(before, 0) << "something bright in the panel before the picture was due";
    EXPECT_GT(brightest, 20) << "the VobSub picture (a small mark) never showed in the subtitle panel";
}

}  // namespace

namespace {

// Runs the n-th entry of the View menu (0 = "Origin Size") from the keyboard.
void RunViewMenuEntry(int index) {
    Shell("xdotool key alt+v");
    std::this_thread::sleep_for(400ms);
    for (int i = 0; i < index; ++i) Shell("xdotool key Down");
    Shell("xdotool key Return");
}

// Types `path` into the Play File dialog; true once the dialog has taken it.
bool OpenThroughDialog(const std::string& path) {
    Shell("xdotool key ctrl+o");
    for (int i = 0; i < 50; ++i) {
        if (!Shell("xdotool search --onlyvisible --name '^Play DivX Movie$' 2>/dev/null").empty()) {
            std::this_thread::sleep_for(300ms);
            Shell("xdotool type --delay 5 '" + path + "'");
            Shell("xdotool key Return");
            return true;
        }
        std::this_thread::sleep_for(100ms);
    }
    return false;
}

// Waits for the error box (a second window titled Tessaview) and closes it with Enter.
bool CloseErrorBox() {
    for (int i = 0; i < 80; ++i) {
        const std::string windows = Shell("xdotool search --onlyvisible --name '^Tessaview$' 2>/dev/null");
        if (std::count(windows.begin(), windows.end(), '\n') >= 2) {
            std::this_thread::sleep_for(200ms);
            Shell("xdotool key Return");
            return true;
        }
        std::this_thread::sleep_for(100ms);
    }
    return false;
}

TEST_F(PlayerE2E, FilesThatAreNoMoviesGetTheirMessageAndThePlayerGoesOn) {
    const std::string broken = (dir_ / "broken.avi").string();
    std::ofstream(broken) << std::string(20000, 'x');
    const std::string sound = (dir_ / "sound.wav").string();
    ASSERT_EQ(std::system(("ffmpeg -loglevel error -y -f lavfi -i sine=duration=3 " + sound).c_str()), 0);
    Launch();
    const std::string id = WaitForWindow();
    ASSERT_FALSE(id.empty());
    std::this_thread::sleep_for(1500ms);
    for (const std::string& path : {broken, sound, broken}) {
        SCOPED_TRACE(path);
        Shell("xdotool mousemove " + std::to_string(WindowGeometry(id).x + 400) + " " +
              std::to_string(WindowGeometry(id).y + 40) + " click 1");  // the empty tool bar takes the keys
        ASSERT_TRUE(OpenThroughDialog(path)) << "no Play File dialog";
        EXPECT_TRUE(CloseErrorBox()) << "no error box";
        std::this_thread::sleep_for(500ms);
        ASSERT_EQ(WaitForExit(1s), -1) << "the player ended on a file that is no movie";
    }
}

TEST_F(PlayerE2E, AlwaysOnTopWhilePlayingKeepsThePlayerAndItsPicture) {
    Launch();
    const std::string id = WaitForWindow();
    ASSERT_FALSE(id.empty());
    std::this_thread::sleep_for(1500ms);
    for (int round = 0; round < 2; ++round) {
        Focus(id);
        RunViewMenuEntry(3);  // "Always on Top", off and then on again
        std::this_thread::sleep_for(1500ms);
        ASSERT_EQ(WaitForExit(1s), -1) << "the player ended when Always on Top was toggled";
        const Geometry window = WindowGeometry(id);
        const Shades picture = ReadRegion({window.x + 20, window.y + 90, 200, 100}, dir_ / "movie.ppm");
        EXPECT_GT(picture.lit, picture.total / 2) << "no movie picture after Always on Top, round " << round;
    }
}

}  // namespace

namespace {

// The window, its screen and its keyboard: the window never leaves the screen, keeps sizes
// given by a window manager, takes files dropped anywhere, and its track bar seeks by click.
class WindowE2E : public PlayerE2E {
protected:
    // Plays the 640 x 352 clip, or a movie made from a picture source of ffmpeg's.
    std::string LaunchWith(const std::string& source = {}) {
        if (!source.empty()) movie_ = MakeMovie("source.avi", source);
        Launch();
        const std::string id = WaitForWindow();
        std::this_thread::sleep_for(2000ms);
        return id;
    }
    fs::path MakeMovie(const std::string& name, const std::string& source) {
        const std::string make = "ffmpeg -loglevel error -y -f lavfi -i '" + source + "' -c:v mpeg4 " + (dir_ / name).string();
        EXPECT_EQ(std::system(make.c_str()), 0);
        return dir_ / name;
    }
    std::string Pixels(const Geometry& region) {
        ReadRegion(region, dir_ / "grab.ppm");
        std::ifstream in(dir_ / "grab.ppm", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // The native windows inside the player's: "WxH+x+y  +screenX+screenY" in device pixels.
    std::string Tree(const std::string& id) { return Shell("xwininfo -tree -id " + id); }
};

bool OnScreen(const Geometry& g) { return g.x >= 0 && g.y >= 0 && g.x + g.width <= 1280 && g.y + g.height <= 1024; }

TEST_F(WindowE2E, TooLargeAPictureShrinksTheWindowOntoTheScreen) {
    const std::string id = LaunchWith("testsrc=size=1920x1080:rate=25:duration=8");
    ASSERT_FALSE(id.empty());
    const Geometry origin = WindowGeometry(id);
    EXPECT_TRUE(OnScreen(origin) && (origin.width == 1280 || origin.height == 1024)) << origin.width << "x" << origin.height;
    Focus(id);
    RunViewMenuEntry(1);  // "Double Size"
    std::this_thread::sleep_for(800ms);
    EXPECT_TRUE(OnScreen(WindowGeometry(id)));
    EXPECT_EQ(WindowGeometry(id).width, origin.width);
}

TEST_F(WindowE2E, OriginSizeIsOneMoviePixelPerDevicePixel) {
    setenv("QT_SCALE_FACTOR", "2", 1);
    const std::string id = LaunchWith();
    unsetenv("QT_SCALE_FACTOR");
    ASSERT_FALSE(id.empty());
    EXPECT_NE(Tree(id).find(" 640x352+"), std::string::npos) << Tree(id);
    EXPECT_TRUE(OnScreen(WindowGeometry(id)));
}

TEST_F(WindowE2E, SizeGivenByTheWindowManagerIsKeptAndAFrameDragFollowsTheWidth) {
    const std::string id = LaunchWith();
    ASSERT_FALSE(id.empty());
    Shell("xdotool windowsize --sync " + id + " 1024 768");  // maximised, snapped or tiled
    std::this_thread::sleep_for(800ms);
    EXPECT_EQ(WindowGeometry(id).height, 768);
    // A drag of the frame: the button is held outside the window's own area.
    Shell("xdotool mousemove 1270 1015 mousedown 1");
    Shell("xdotool windowsize " + id + " 900 768");
    std::this_thread::sleep_for(800ms);
    Shell("xdotool mouseup 1");
    EXPECT_NE(WindowGeometry(id).height, 768);
}

TEST_F(WindowE2E, FullScreenShowsTheSubtitleInTheStripAndAfterEscapeTheKeysWorkAtOnce) {
    movie_ = MakeMovie("long.avi", "testsrc=size=640x352:rate=25:duration=60");  // still playing when paused
    std::ofstream(dir_ / "long.srt") << "1\r\n00:00:00,000 --> 00:01:00,000\r\nSUBTITLE IN THE STRIP\r\n";
    const std::string id = LaunchWith();
    ASSERT_FALSE(id.empty());
    Focus(id);
    Shell("xdotool key F4");
    std::this_thread::sleep_for(1000ms);
    EXPECT_TRUE(Shell("xdotool search --maxdepth 1 --onlyvisible --name '^Tessaview$'").empty())
        << "the main window stays shown in full screen";
    // 1280 x 1024 screen, 640 x 352 picture: the strip's top is at (1024 + 704) / 2 = 864.
    EXPECT_GT(ReadRegion({0, 866, 1280, 60}, dir_ / "strip.ppm").white, 150) << "no subtitle in the full-screen strip";
    Shell("xdotool mousemove 640 300 key Escape");  // keys go to the window under the pointer
    std::string back;
    for (int i = 0; i < 30 && back.empty(); ++i) {
        std::this_thread::sleep_for(100ms);
        back = Shell("xdotool search --maxdepth 1 --onlyvisible --name '^Tessaview$'");
    }
    ASSERT_FALSE(back.empty()) << "Escape did not bring the main window back";
    std::this_thread::sleep_for(500ms);
    Shell("xdotool mousemove 1270 1015 key ctrl+p");  // the pointer away from the window
    std::this_thread::sleep_for(500ms);
    const Geometry window = WindowGeometry(id);
    const Geometry picture{window.x + 20, window.y + 90, 600, 250};  // with the counter and the moving band
    const std::string before = Pixels(picture);
    std::this_thread::sleep_for(600ms);
    EXPECT_TRUE(Pixels(picture) == before) << "Ctrl+P did not pause the movie";
}

TEST_F(WindowE2E, FileDroppedOnThePictureOpens) {
    const fs::path other = MakeMovie("other.avi", "testsrc=size=320x240:rate=25:duration=8");
    const std::string id = LaunchWith();
    ASSERT_FALSE(id.empty());
    const Geometry window = WindowGeometry(id);
    const pid_t helper = fork();
    if (helper == 0) {
        execl(TESSAVIEW_DRAG_HELPER, TESSAVIEW_DRAG_HELPER, "1180", "920", other.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    std::this_thread::sleep_for(1500ms);
    Shell("xdotool mousemove 1220 960 mousedown 1");
    for (int step = 1; step <= 10; ++step) {
        std::this_thread::sleep_for(100ms);
        Shell("xdotool mousemove " + std::to_string(1220 + (window.x + 200 - 1220) * step / 10) + " " +
              std::to_string(960 + (window.y + 200 - 960) * step / 10));
    }
    std::this_thread::sleep_for(300ms);
    Shell("xdotool mouseup 1");
    std::this_thread::sleep_for(2000ms);
    kill(helper, SIGKILL);
    waitpid(helper, nullptr, 0);
    EXPECT_NE(WindowGeometry(id).height, window.height) << "the dropped movie did not open";
}

TEST_F(WindowE2E, ClickOnTheTrackBarSeeksToTheClickedPlace) {
    // The picture brightens with time: 25 levels a second.
    const std::string id =
        LaunchWith("color=c=black:size=640x352:rate=25:duration=8,geq=lum=min(255\\,T*25):cb=128:cr=128");
    ASSERT_FALSE(id.empty());
    Focus(id);
    Shell("xdotool key ctrl+p");
    const Geometry window = WindowGeometry(id);
    const Geometry picture{window.x + 20, window.y + 90, 200, 100};
    EXPECT_EQ(ReadRegion(picture, dir_ / "ramp.ppm").lit, 0);
    const int track = std::atoi(Shell("echo '" + Tree(id) + "' | grep -o 'x17+.*' | cut -d+ -f5").c_str());
    Shell("xdotool mousemove " + std::to_string(window.x + window.width * 3 / 4) + " " + std::to_string(track + 8) + " click 1");
    std::this_thread::sleep_for(1000ms);
    const Shades after = ReadRegion(picture, dir_ / "ramp.ppm");
    EXPECT_GT(after.lit, after.total / 2) << "the movie is not near three quarters of its length";
}

}  // namespace
