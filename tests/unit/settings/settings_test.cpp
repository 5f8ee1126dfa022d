// The profile-file store (reading rules, typed values, and writes that keep every other byte);
// LoadSettings and SaveSettings against a window without any window, files that must not be
// replaced, and where an installed and a portable copy keep set.ini.
#include "shell/settings/settings.h"
#include "shell/settings/file_locations.h"
#include "shell/settings/profile_file.h"
#include "shell/settings/profile_value.h"
#include "support/temp_dir.h"
#include "unit/settings/fake_settings_window.h"

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

TEST(ProfileValue, IntegersFollowTheHexAndDecimalRules) {
    for (const auto& [text, expected] : {std::pair{"-12", -12},
                                         {"+7", 7},
                                         {"0x12C", 300},
                                         {"0X1f", 31},
                                         {"$ff", 255},
                                         {"2147483647", INT32_MAX},
                                         {"$80000000", INT32_MIN}})
        EXPECT_EQ(expected, ParseProfileInteger(text, -1)) << text;
    // No number: the default.
    for (const char* text :
         {"0x", "0x1G", "$", "$-1", "", "12a", "-0x10", "+-5", "2147483648", "0xFFFFFFFF", "$100000000"})
        EXPECT_EQ(-1, ParseProfileInteger(text, -1)) << '"' << text << '"';
    EXPECT_EQ(5, ParseProfileInteger("0x", 5));
}

TEST(ProfileFile, ReadsTrimUnquoteAndMatchNamesInAnyCase) {
    const std::pair<const char*, const char*> lines[] = {
        // a line of [Main], and what its key reads
        {"plain=  spaced out \t", "spaced out"},
        {"double=\"quoted\"", "quoted"},
        {"single=' inner blanks '", " inner blanks "},
        {"mixed=\"abc'", "\"abc'"},
        {"lone=\"", "\""},
        {"empty=\"\"", ""},
        {"  Padded Key  =  v", "v"},
        {"dup=first", "first"},
        {"DUP=second", "first"},
        {"; commented=yes", "d"},
    };
    std::string text = "[Main]\r\n";
    for (const auto& line : lines) text += line.first + std::string("\r\n");
    text += "[other]\r\nlate=other section\r\n[MAIN]\r\nlate=unreached\r\n";
    TempDir folder;
    const ProfileFile file(folder.write("a.ini", text));
    for (const auto& [line, expected] : lines) {
        const std::string key(line, std::string_view(line).find('='));
        EXPECT_EQ(expected, file.ReadString("MAIN", key, "d")) << line;
    }
    EXPECT_EQ("d", file.ReadString("Main", "late", "d"));
}

// Through a link, as a settings file kept elsewhere would be: the file it names changes. A
// mark or a tab before a name hides nothing.
TEST(ProfileFile, WritesThroughALinkChangeOneLineAndKeepEveryOtherByte) {
    TempDir folder;
    const std::string name = folder.write("real.ini",
                                          "\xEF\xBB\xBF[One]\n\tKey = old\nother=1\n\n"
                                          " \t[Unknown]\r\n\tx=\"keep me\"\r\n; trailing comment \xE9");
    std::filesystem::create_symlink(name, folder.file("a.ini"));
    ProfileFile file(folder.file("a.ini"));
    EXPECT_EQ("old", file.ReadString("one", "KEY", ""));
    EXPECT_EQ("keep me", file.ReadString("unknown", "x", ""));
    file.WriteString("ONE", "key", "new");
    file.WriteString("one", "Added", "2");
    file.WriteInteger("Fresh", "n", -5);
    EXPECT_EQ(
        "\xEF\xBB\xBF[One]\r\n\tKey =new\r\nother=1\r\nAdded=2\r\n\r\n"
        " \t[Unknown]\r\n\tx=\"keep me\"\r\n; trailing comment \xE9\r\n"
        "[Fresh]\r\nn=-5\r\n",
        readFile(name));
}

// A line break cannot add keys or sections: it is written as two blanks. A NUL ends a value.
TEST(ProfileFile, WrittenValuesReadBackIdenticallyInASecondStore) {
    TempDir folder;
    const std::string name = folder.file("a.ini");
    const std::string values[] = {
        " leading blank",        "trailing blank\t", "'quoted'", "\"x\"", "a=b;c", "[not a section]", "caf\xE9", "",
        "movie\r\n[Evil]\r\nk=1"};
    ProfileFile file(name);
    for (std::size_t i = 0; i < std::size(values); ++i) file.WriteString("S", std::to_string(i), values[i]);
    file.WriteString("S", "nul", std::string("ends\0here", 9));
    const ProfileFile second(name);
    for (std::size_t i = 0; i + 1 < std::size(values); ++i)
        EXPECT_EQ(values[i], second.ReadString("s", std::to_string(i), "absent")) << i;
    EXPECT_EQ("absent", second.ReadString("Evil", "k", "absent"));
    EXPECT_EQ("movie  [Evil]  k=1", second.ReadString("S", "8", ""));
    EXPECT_NE(std::string::npos, readFile(name).find("nul=ends\r\n"));
}

TEST(ProfileFile, WritesCollectedInMemoryLeaveTheBytesOfWritesOneByOne) {
    const std::pair<const char*, const char*> writes[] = {{"S", "a"},      {"S", "new"}, {"T", "k"}, {"U", "first"},
                                                          {"S", "second"}, {"u", "b"},   {"T", "K"}, {"S", "NEW"}};
    for (const char* bytes : {"\xEF\xBB\xBF[S]\r\na=1\r\n; note\r\n\r\n[T]\n[s]\nb=2\n",
                              "; top\r\nx=y\r\n[T]\r\n\tk=0\r\n; after\r\n[S]\r\n[t]\r\nk=dup\r\n"}) {
        TempDir folder;
        folder.write("one.ini", bytes);
        ProfileFile collected(folder.write("all.ini", bytes));
        collected.BeginWrites();
        for (const std::string round : {"0", "1"})
            for (const auto& [section, key] : writes) {
                ProfileFile(folder.file("one.ini")).WriteString(section, key, key + round);
                collected.WriteString(section, key, key + round);
            }
        collected.CommitWrites();
        EXPECT_EQ(readFile(folder.file("one.ini")), readFile(folder.file("all.ini"))) << bytes;
    }
}

struct Loaded {
    FakeWindow window;
    test::FakeInstances instances;
};

Loaded load(const TempDir& folder, const std::string& ini, bool windowExists = false) {
    Loaded result;
    if (!ini.empty()) folder.write("set.ini", ini);
    result.instances.windowExists = windowExists;
    LoadSettings(result.window, folder.path(), result.instances);
    return result;
}

long entries(const TempDir& folder) { return std::distance(std::filesystem::directory_iterator(folder.path()), {}); }

TEST(LoadSettings, StepsRunInTheirOrderWithTheStoredValuesOrTheDefaults) {
    const std::vector<std::string> plain{"Autoload 1", "ShowChecked 0", "PanelWidth 0", "Left 190", "Top 130"};
    const struct {
        std::string ini;
        std::vector<std::string> calls;
        SettingsFields fields;  // {}: the defaults
    } cases[] = {
        {"", plain, {}},
        {"[Pos]\r\nHeight=300\r\nWidth=400\r\ntop=20\r\nLeft=-2\r\n"
         "[useskin]\r\nplaylistwidth=0x12C\r\nshowplaylist=1\r\nUseSkin=0\r\n"
         "[PlayList]\r\n2=c\r\nCount=3\r\n0=a\r\n3=left over\r\n"
         "[Autoload]\r\nEnable=0\r\n[Setting]\r\nOnTop=0\r\n[LastProcessHandle]\r\nHandle=-1\r\n",
         {"Autoload 0", "Entry a", "Entry ", "Entry c", "ShowChecked 1", "PanelWidth 300", "Left -2", "Top 20",
          "Width 400", "Height 300"},
         {false, false, true, 300}},
        // An absent Left centres with the design size; a stored Top and size come after. A
        // width that is not positive falls back.
        {"[Pos]\r\nTop=40\r\nWidth=1000\r\n[useskin]\r\nshowplaylist=1\r\nplaylistwidth=-5\r\n",
         {"Autoload 1", "ShowChecked 1", "PanelWidth 230", "Left 190", "Top 130", "Top 40", "Width 1000"},
         {true, true, true, 230}},
        {"[useskin]\r\nplaylistwidth=0\r\n", plain, {}},
        // The sound: a level out of range or not a number, and muting that is no number, are
        // the defaults, quietly.
        {"[sound]\r\nvolume=55\r\nmute=1\r\n", plain, {true, true, false, 230, 55, true}},
        {"[Sound]\r\nVolume=101\r\nMute=yes\r\n", plain, {}},
        {"[Sound]\r\nVolume=loud\r\n", plain, {}},
        {"[Sound]\r\nVolume=-5\r\n", plain, {}},
        // The transcript: shown with its width, or a width that is not positive falls back.
        {"[transcript]\r\nshow=1\r\nwidth=320\r\n", plain, {true, true, false, 230, 100, false, true, 320}},
        {"[Transcript]\r\nWidth=0\r\n", plain, {}},
    };
    for (const auto& c : cases) {
        TempDir folder;
        const Loaded l = load(folder, c.ini, true);
        EXPECT_EQ(c.calls, l.window.calls);
        const SettingsFields& f = l.window.fields;
        EXPECT_EQ(std::tuple(c.fields.OnTop, c.fields.UseSkin, c.fields.ShowPlayList, c.fields.PlayListWidth,
                             c.fields.Volume, c.fields.Muted, c.fields.ShowTranscript, c.fields.TranscriptWidth),
                  std::tuple(f.OnTop, f.UseSkin, f.ShowPlayList, f.PlayListWidth, f.Volume, f.Muted, f.ShowTranscript,
                             f.TranscriptWidth));
        EXPECT_TRUE(l.instances.terminated.empty());
        EXPECT_EQ(!c.ini.empty(), std::filesystem::exists(folder.file("set.ini")));  // loading writes nothing
    }
}

// The subtitle font is read with the rest and handed to the window; its character set is one byte.
TEST(LoadSettings, TheFontIsReadWithTheRest) {
    TempDir folder;
    const Loaded l = load(folder, "[Font]\r\nName=DejaVu Sans\r\nSize=20\r\nCharSet=460\r\nColor=65280\r\n");
    EXPECT_EQ((FontSpec{"DejaVu Sans", 20, 0xCC, 0x00FF00}), l.window.font);
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

TEST(SaveSettings, AFileCreatedFromNothingHasTheSevenSectionsInOrderAndOursAfterThem) {
    TempDir folder;
    FakeWindow window;
    window.fields = {false, true, true, 250, 35, true, true, 310};
    window.autoload = true;
    window.bounds = {-3, 40, 800, 600};
    window.captions = {"/movies/a b.avi", "/movies/c.mkv"};
    window.font = {"DejaVu Sans", 20, 0x1CC, 0x00FF00};
    SaveSettings(window, folder.path(), 4321);
    EXPECT_EQ(
        "[Setting]\r\nOnTop=0\r\n"
        "[LastProcessHandle]\r\nHandle=4321\r\n"
        "[Font]\r\nName=DejaVu Sans\r\nSize=20\r\nCharSet=204\r\nColor=65280\r\n"
        "[Autoload]\r\nEnable=1\r\n"
        "[PlayList]\r\nCount=2\r\n0=/movies/a b.avi\r\n1=/movies/c.mkv\r\n"
        "[UseSkin]\r\nUseSkin=1\r\nshowplaylist=1\r\nplaylistwidth=250\r\n"
        "[Pos]\r\nLeft=-3\r\ntop=40\r\nHeight=600\r\nWidth=800\r\n"
        "[Sound]\r\nVolume=35\r\nMute=1\r\n"
        "[Transcript]\r\nShow=1\r\nWidth=310\r\n",
        readFile(folder.file("set.ini")));
}

// A save over an earlier one: list keys beyond the new count, the file's mode and owner stay;
// the stored number is then judged by when the file was written.
TEST(SaveSettings, ASaveOverAnEarlierOneKeepsOldKeysModeAndOwner) {
    TempDir folder;
    const std::string name = folder.file("set.ini");
    FakeWindow saved;
    saved.captions = {"0", "1", "2", "3", "4"};
    SaveSettings(saved, folder.path(), 1);
    const uid_t owner = ::geteuid() == 0 ? 65534 : ::geteuid();
    ASSERT_EQ(0, ::chown(name.c_str(), owner, static_cast<gid_t>(-1)));
    ::chmod(name.c_str(), 0640);
    saved.captions = {"first", "second"};
    SaveSettings(saved, folder.path(), 2);
    EXPECT_NE(std::string::npos, readFile(name).find("Count=2\r\n0=first\r\n1=second\r\n2=2\r\n3=3\r\n4=4\r\n"));
    struct stat info {};
    ASSERT_EQ(0, ::stat(name.c_str(), &info));
    EXPECT_EQ(0640u, info.st_mode & 07777);
    EXPECT_EQ(owner, info.st_uid);

    std::filesystem::last_write_time(name, std::filesystem::file_time_type::clock::now() - 1h);
    EXPECT_TRUE(load(folder, "").instances.terminated.empty());  // no main window: nothing to end
    const Loaded l = load(folder, "", true);
    EXPECT_EQ(std::vector<int64_t>{2}, l.instances.terminated);
    EXPECT_LT(std::chrono::system_clock::now() - 61min, l.instances.storedAt);
    EXPECT_GT(std::chrono::system_clock::now() - 59min, l.instances.storedAt);
}

TEST(SaveSettings, NeverReplacesAFileItCannotReadOrWrite) {
    rlimit unlimited{};
    ::getrlimit(RLIMIT_FSIZE, &unlimited);
    const std::tuple<const char*, bool, void (*)(const std::string&)> cases[] = {
        // what lies there, whether root reads and writes it all the same, how it is made
        {"unreadable", true,
         [](const std::string& n) {
             writeFile(n, "[S]\r\nk=1\r\n");
             ::chmod(n.c_str(), 0200);
         }},
        {"read-only", true,
         [](const std::string& n) {
             writeFile(n, "[S]\r\nk=1\r\n");
             ::chmod(n.c_str(), 0444);
         }},
        {"directory", false, [](const std::string& n) { std::filesystem::create_directory(n); }},
        {"fifo", false, [](const std::string& n) { ::mkfifo(n.c_str(), 0600); }},
        {"link to itself", false, [](const std::string& n) { std::filesystem::create_symlink("set.ini", n); }},
        // Without the signal ignored, this ends the test program.
        {"over the file-size limit", false,
         [](const std::string& n) {
             writeFile(n, "[S]\r\nk=1\r\n");
             const rlimit limit{64, RLIM_INFINITY};
             ::setrlimit(RLIMIT_FSIZE, &limit);
         }},
    };
    for (const auto& [what, rootGetsRoundIt, make] : cases) {
        if (rootGetsRoundIt && ::geteuid() == 0) continue;
        TempDir folder;
        make(folder.file("set.ini"));
        FakeWindow window;
        const std::string error = test::errorOf([&] { SaveSettings(window, folder.path(), 1); });
        ::setrlimit(RLIMIT_FSIZE, &unlimited);
        EXPECT_EQ("Unable to write to " + folder.file("set.ini"), error) << what;
        EXPECT_EQ(1, entries(folder)) << what;  // no temporary is left beside it
        if (std::filesystem::is_regular_file(std::filesystem::symlink_status(folder.file("set.ini")))) {
            ::chmod(folder.file("set.ini").c_str(), 0600);
            EXPECT_EQ("[S]\r\nk=1\r\n", readFile(folder.file("set.ini"))) << what;
        }
    }
}

// A portable copy in a folder the user cannot write is kept like an installed one.
TEST(FileLocations, AnInstalledOrUnwritableCopyKeepsItsSettingsInTheConfigurationFolder) {
    const auto environment = [](const char*) { return "/cfg/./"; };  // every variable
    for (const auto& [installed, writable] : {std::pair{false, true}, {true, true}, {false, false}}) {
        TempDir prefix;
        std::filesystem::create_directories(prefix.file("bin"));
        std::filesystem::create_directories(prefix.file("share/tessaview"));
        if (installed) prefix.write("share/tessaview/installed", "");
        if (!writable) ::chmod(prefix.file("bin").c_str(), 0555);
        const auto chosen = [&] { return ChooseFileLocations(prefix.file("bin"), environment); };
        if (writable || ::getuid() != 0) {
            EXPECT_EQ(installed || !writable ? "/cfg/tessaview" : prefix.file("bin"), chosen().SettingsFolder);
            EXPECT_EQ(installed || !writable, chosen().Installed);
            // The movie memory: beside the executable, or in the state folder.
            EXPECT_EQ(installed || !writable ? "/cfg/tessaview" : prefix.file("bin"), chosen().StateFolder);
            EXPECT_EQ(chosen().StateFolder + "/speech-cache", SpeechCacheFolder(chosen()));
            continue;
        }
        // Root writes anywhere: the unwritable folder is tried as another user, in a child.
        const pid_t child = ::fork();
        if (child == 0) ::_exit(::setuid(65534) == 0 && chosen().Installed ? 0 : 1);
        int status = -1;
        ::waitpid(child, &status, 0);
        EXPECT_EQ(0, status) << "an unwritable portable copy keeps set.ini beside the executable";
    }
    // Without the base-directory variables, the folders under the home folder.
    TempDir prefix;
    std::filesystem::create_directories(prefix.file("share/tessaview"));
    prefix.write("share/tessaview/installed", "");
    const FileLocations home = ChooseFileLocations(
        prefix.file("bin"), [](const char* name) { return std::string_view(name) == "HOME" ? "/home/u" : nullptr; });
    EXPECT_EQ("/home/u/.config/tessaview", home.SettingsFolder);
    EXPECT_EQ("/home/u/.local/state/tessaview", home.StateFolder);
    EXPECT_EQ("/home/u/.local/state/tessaview/speech-cache", SpeechCacheFolder(home));
}

}  // namespace
}  // namespace tessaview
