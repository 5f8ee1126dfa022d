// LoadSettings, SaveSettings and the overlay font read, against a window without any window;
// files that must not be replaced; where an installed and a portable copy keep set.ini.
#include "shell/settings/file_locations.h"
#include "shell/settings/settings.h"
#include "unit/settings/fake_settings_window.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <tuple>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tessaview {
namespace {

using namespace std::chrono_literals;
using test::FakeWindow;
using test::readFile;
using test::TempDir;
using test::writeFile;

struct Loaded {
    FakeWindow window;
    test::FakeInstances instances;
};

Loaded load(const TempDir& folder, const std::string& ini, bool windowExists = false,
            WindowBounds area = {0, 0, 1920, 1040}) {
    Loaded result;
    if (!ini.empty()) folder.write("set.ini", ini);
    result.instances.windowExists = windowExists;
    result.window.workArea = area;
    LoadSettings(result.window, folder.path(), result.instances);
    return result;
}

std::string saveError(const TempDir& folder) {
    FakeWindow window;
    return test::errorOf([&] { SaveSettings(window, folder.path(), 1); });
}

long entries(const TempDir& folder) {
    return std::distance(std::filesystem::directory_iterator(folder.path()), {});
}

mode_t modeOf(const std::string& name) {
    struct stat info {};
    return ::stat(name.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(LoadSettings, StepsRunInTheirOrderWithTheStoredValuesOrTheDefaults) {
    const struct {
        std::string ini;
        std::vector<std::string> calls;
        SettingsFields fields;
    } cases[] = {
        {"", {"Autoload 1", "ShowChecked 0", "PanelWidth 0", "Left 640", "Top 280"}, {true, true, false, 230}},
        {"[Pos]\r\nHeight=300\r\nWidth=400\r\ntop=20\r\nLeft=10\r\n"
         "[useskin]\r\nplaylistwidth=0x12C\r\nshowplaylist=1\r\nUseSkin=0\r\n"
         "[PlayList]\r\n2=c\r\nCount=3\r\n0=a\r\n3=left over\r\n"
         "[Autoload]\r\nEnable=0\r\n[Setting]\r\nOnTop=0\r\n",
         {"Autoload 0", "Entry a", "Entry ", "Entry c", "ShowChecked 1", "PanelWidth 300", "Left 10", "Top 20",
          "Width 400", "Height 300"},
         {false, false, true, 300}},
    };
    for (const auto& c : cases) {
        TempDir folder;
        const Loaded l = load(folder, c.ini, true);
        EXPECT_EQ(c.calls, l.window.calls);
        const SettingsFields& f = l.window.fields;
        EXPECT_EQ(std::tuple(c.fields.OnTop, c.fields.UseSkin, c.fields.ShowPlayList, c.fields.PlayListWidth),
                  std::tuple(f.OnTop, f.UseSkin, f.ShowPlayList, f.PlayListWidth));
        EXPECT_TRUE(l.instances.terminated.empty());
        EXPECT_EQ(!c.ini.empty(), std::filesystem::exists(folder.file("set.ini")));  // loading writes nothing
    }
}

TEST(LoadSettings, PlaceAndPanelFollowTheStoredValuesOrTheirFallbacks) {
    const struct {
        const char* ini;
        WindowBounds expected;
        int32_t panel;  // the panel's width, the list's too when shown
        WindowBounds area = {0, 0, 1920, 1040};
    } cases[] = {
        // An absent Left centres with the design size; a stored Top and size come after.
        {"[Pos]\r\nLeft=-1\r\nTop=40\r\nWidth=1000\r\n", {640, 40, 1000, 480}, 0},
        {"", {10 + 180, 20 + 110, 640, 480}, 0, {10, 20, 1001, 701}},
        {"[Pos]\r\nLeft=-2\r\ntop=-1\r\n", {-2, 6, 640, 480}, 0},
        // A non-positive width falls back.
        {"[useskin]\r\nshowplaylist=1\r\nplaylistwidth=-5\r\n", {640, 280, 640, 480}, 230},
        {"[useskin]\r\nshowplaylist=1\r\nplaylistwidth=0\r\n", {640, 280, 640, 480}, 230},
        {"[useskin]\r\nshowplaylist=1\r\nplaylistwidth=1\r\n", {640, 280, 640, 480}, 1},
    };
    for (const auto& c : cases) {
        TempDir folder;
        const Loaded l = load(folder, c.ini, false, c.area);
        EXPECT_EQ(c.expected, l.window.bounds) << c.ini;
        EXPECT_EQ(c.panel, l.window.panelWidth) << c.ini;
    }
}

TEST(LoadSettings, AStoredProcessIsEndedOnlyWhenAMainWindowExists) {
    const std::string stored = "[LastProcessHandle]\r\nHandle=";
    const std::tuple<bool, std::string, bool> cases[] = {
        {false, stored + "1234", false}, {true, stored + "1234", true}, {true, stored + "-1", false},
        {true, "[Setting]\r\nOnTop=1", false}};
    for (const auto& [exists, ini, ended] : cases) {
        TempDir folder;
        const auto terminated = load(folder, ini + "\r\n", exists).instances.terminated;
        EXPECT_EQ(ended ? std::vector<int64_t>{1234} : std::vector<int64_t>{}, terminated) << ini;
    }
}

TEST(LoadSettings, ADamagedCountCannotHangTheStart) {
    TempDir folder;
    EXPECT_EQ(100000u, load(folder, "[PlayList]\r\nCount=2000000000\r\n").window.captions.size());
}

TEST(LoadSettings, RemovesTemporariesOfAKilledSaveButNotOfARunningOne) {
    TempDir folder;
    for (const char* name : {".set.ini.Killed", ".set.ini.Active", ".set.ini.x", "set.ini.Killed", ".a.ini.Killed"})
        folder.write(name, "[PlayList]\r\n");
    const int active = ::open(folder.file(".set.ini.Active").c_str(), O_RDONLY);
    ASSERT_EQ(0, ::flock(active, LOCK_EX));
    load(folder, "");
    ::close(active);
    EXPECT_FALSE(std::filesystem::exists(folder.file(".set.ini.Killed")));
    EXPECT_EQ(4, entries(folder));
}

TEST(SaveSettings, AFileCreatedFromNothingHasTheSevenSectionsInOrder) {
    TempDir folder;
    FakeWindow window;
    window.fields = {false, true, true, 250};
    window.autoload = true;
    window.bounds = {-3, 40, 800, 600};
    window.captions = {"/movies/a b.avi", "/movies/c.mkv"};
    window.font = {"DejaVu Sans", 20, 0x1CC, 0x00FF00};
    SaveSettings(window, folder.path(), 4321);
    EXPECT_EQ("[Setting]\r\nOnTop=0\r\n"
              "[LastProcessHandle]\r\nHandle=4321\r\n"
              "[Font]\r\nName=DejaVu Sans\r\nSize=20\r\nCharSet=204\r\nColor=65280\r\n"
              "[Autoload]\r\nEnable=1\r\n"
              "[PlayList]\r\nCount=2\r\n0=/movies/a b.avi\r\n1=/movies/c.mkv\r\n"
              "[UseSkin]\r\nUseSkin=1\r\nshowplaylist=1\r\nplaylistwidth=250\r\n"
              "[Pos]\r\nLeft=-3\r\ntop=40\r\nHeight=600\r\nWidth=800\r\n",
              readFile(folder.file("set.ini")));
}

TEST(SaveSettings, AShorterListLeavesOldKeysAndTheNumberIsJudgedByTheFilesTime) {
    TempDir folder;
    FakeWindow saved;
    saved.captions = {"0", "1", "2", "3", "4"};
    SaveSettings(saved, folder.path(), 1);
    saved.captions = {"first", "second"};
    SaveSettings(saved, folder.path(), 2);
    EXPECT_NE(std::string::npos,
              readFile(folder.file("set.ini")).find("Count=2\r\n0=first\r\n1=second\r\n2=2\r\n3=3\r\n4=4\r\n"));

    std::filesystem::last_write_time(folder.file("set.ini"), std::filesystem::file_time_type::clock::now() - 1h);
    const Loaded l = load(folder, "", true);
    EXPECT_EQ(std::vector<int64_t>{2}, l.instances.terminated);
    EXPECT_LT(std::chrono::system_clock::now() - 61min, l.instances.storedAt);
    EXPECT_GT(std::chrono::system_clock::now() - 59min, l.instances.storedAt);
    EXPECT_EQ((std::vector<std::string>{"first", "second"}), l.window.captions);
}

TEST(SaveSettings, NeverReplacesAFileItCannotReadOrWrite) {
    const struct {
        const char* what;
        bool rootGetsRoundIt;
        void (*make)(const std::string& name);
    } cases[] = {
        {"unreadable", true, [](const std::string& n) { writeFile(n, "[S]\r\nk=1\r\n"); ::chmod(n.c_str(), 0200); }},
        {"read-only", true, [](const std::string& n) { writeFile(n, "[S]\r\nk=1\r\n"); ::chmod(n.c_str(), 0444); }},
        {"directory", false, [](const std::string& n) { std::filesystem::create_directory(n); }},
        {"fifo", false, [](const std::string& n) { ::mkfifo(n.c_str(), 0600); }},
    };
    for (const auto& [what, rootGetsRoundIt, make] : cases) {
        if (rootGetsRoundIt && ::geteuid() == 0) continue;
        TempDir folder;
        make(folder.file("set.ini"));
        EXPECT_EQ("Unable to write to " + folder.file("set.ini"), saveError(folder)) << what;
        EXPECT_EQ(1, entries(folder)) << what;  // no temporary is left beside it
        if (std::filesystem::is_regular_file(folder.file("set.ini"))) {
            ::chmod(folder.file("set.ini").c_str(), 0600);
            EXPECT_EQ("[S]\r\nk=1\r\n", readFile(folder.file("set.ini"))) << what;
        }
    }
}

TEST(SaveSettings, KeepsTheFilesPermissionsAndOwner) {
    TempDir folder;
    const std::string name = folder.write("set.ini", "");
    ::chmod(name.c_str(), 0640);
    const uid_t owner = ::geteuid() == 0 ? 65534 : ::geteuid();
    ASSERT_EQ(0, ::chown(name.c_str(), owner, static_cast<gid_t>(-1)));
    FakeWindow window;
    SaveSettings(window, folder.path(), 1);
    struct stat info {};
    ASSERT_EQ(0, ::stat(name.c_str(), &info));
    EXPECT_EQ(0640u, info.st_mode & 07777);
    EXPECT_EQ(owner, info.st_uid);
}

TEST(SaveSettings, AFileSizeLimitFailsTheSaveInsteadOfEndingTheProgram) {
    TempDir folder;
    folder.write("set.ini", "[S]\r\nk=1\r\n");
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit limit{64, 64};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(saveError(folder) == "Unable to write to " + folder.file("set.ini") ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(child, ::waitpid(child, &status, 0));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ("[S]\r\nk=1\r\n", readFile(folder.file("set.ini")));
    EXPECT_EQ(1, entries(folder));
}

TEST(ReadOverlayFont, ReadsTheFourKeysWithTheirDefaults) {
    TempDir folder;
    EXPECT_EQ(FontSpec{}, ReadOverlayFont(folder.path()));
    folder.write("set.ini", "[FONT]\r\nNAME=\"Noto Sans\"\r\nSIZE=big\r\nCHARSET=0x1CC\r\nCOLOR=$FF\r\n");
    EXPECT_EQ((FontSpec{"Noto Sans", 12, 0xCC, 255}), ReadOverlayFont(folder.path()));
}

TEST(FileLocations, OnlyAnInstalledCopyKeepsItsSettingsInTheConfigurationFolder) {
    const std::tuple<bool, const char*, std::string> cases[] = {  // marker, XDG_CONFIG_HOME, folder
        {false, "/cfg", ""},  // "": the executable's own folder
        {true, "/cfg/./", "/cfg/tessaview"},
        {true, "relative", "/home/u/.config/tessaview"},
    };
    for (const auto& [marker, configHome, expected] : cases) {
        TempDir prefix;
        std::filesystem::create_directories(prefix.file("bin"));
        if (marker) {
            std::filesystem::create_directories(prefix.file("share/tessaview"));
            prefix.write("share/tessaview/installed", "");
        }
        const auto environment = [home = configHome](const char* name) {
            return std::string_view(name) == "HOME" ? "/home/u" : home;
        };
        const FileLocations chosen = ChooseFileLocations(prefix.file("bin"), environment);
        EXPECT_EQ(expected.empty() ? prefix.file("bin") : expected, chosen.SettingsFolder);
        EXPECT_EQ(marker, chosen.Installed);
    }
}

TEST(FileLocations, TheFirstSaveOfAnInstalledCopyMakesItsPrivateFolder) {
    TempDir home;
    FakeWindow window;
    SaveSettings(window, home.file(".config/tessaview"), 1, true);
    EXPECT_TRUE(std::filesystem::is_regular_file(home.file(".config/tessaview/set.ini")));
    EXPECT_EQ(0700u, modeOf(home.file(".config")));
}

TEST(PrivateFolder, IsTheUsersAloneAndGoesAwayWithItsContents) {
    TempDir runtime;
    for (const std::string& base : {runtime.path(), runtime.file("missing")}) {
        std::string path;
        {
            const PrivateFolder folder(base);
            path = folder.Path();
            writeFile(path + "/tmpsub", "x");
            EXPECT_EQ(0700u, modeOf(path)) << base;
            EXPECT_EQ(base == runtime.path(), path.rfind(runtime.path(), 0) == 0) << path;
        }
        EXPECT_FALSE(std::filesystem::exists(path));
    }
}

}  // namespace
}  // namespace tessaview
