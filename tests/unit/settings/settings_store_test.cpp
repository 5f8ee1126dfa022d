// The settings file as the user meets it: one replacement per save, odd files, killed saves,
// files that must not be replaced, and file-size limits.
#include "shell/settings/profile_file.h"
#include "shell/settings/settings.h"
#include "unit/settings/fake_settings_window.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

namespace tessaview {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

TEST(ProfileFile, WritesCollectedInMemoryLeaveTheBytesOfWritesOneByOne) {
    const std::string files[] = {
        "",
        "\xEF\xBB\xBF[S]\r\na=1\r\n; note\r\n\r\n[T]\n[s]\nb=2\n",
        "; top\r\nx=y\r\n[T]\r\n\tk=0\r\n; after\r\n[S]\r\n[t]\r\nk=dup\r\n",
    };
    const std::pair<const char*, const char*> writes[] = {
        {"S", "a"}, {"S", "new"}, {"T", "k"}, {"U", "first"}, {"S", "second"}, {"u", "b"}, {"T", "K"}, {"S", "NEW"}};
    for (const std::string& bytes : files) {
        TempDir folder;
        writeFile(folder.file("one.ini"), bytes);
        writeFile(folder.file("all.ini"), bytes);
        ProfileFile collected(folder.file("all.ini"));
        collected.BeginWrites();
        for (int round = 0; round < 2; ++round)
            for (const auto& [section, key] : writes) {
                const std::string value = std::string(key) + std::to_string(round);
                ProfileFile(folder.file("one.ini")).WriteString(section, key, value);
                collected.WriteString(section, key, value);
            }
        collected.CommitWrites();
        EXPECT_EQ(readFile(folder.file("one.ini")), readFile(folder.file("all.ini"))) << bytes;
    }
}

TEST(ProfileFile, AMarkOrATabBeforeANameHidesNothing) {
    TempDir folder;
    const std::string name = folder.file("a.ini");
    writeFile(name, "\xEF\xBB\xBF[Setting]\r\n\tOnTop=0\r\n\t[Pos]\r\n \tLeft=7\r\n");
    EXPECT_EQ(0, ProfileFile(name).ReadInteger("Setting", "OnTop", 1));
    EXPECT_EQ(7, ProfileFile(name).ReadInteger("Pos", "Left", -1));
    ProfileFile(name).WriteInteger("setting", "ontop", 1);
    EXPECT_EQ("\xEF\xBB\xBF[Setting]\r\n\tOnTop=1\r\n\t[Pos]\r\n \tLeft=7\r\n", readFile(name));
}

TEST(LoadSettings, RemovesTemporariesOfAKilledSaveButNotOfARunningOne) {
    TempDir folder;
    for (const char* name : {".set.ini.Killed", ".set.ini.Active", ".set.ini.x", "set.ini.Killed", ".a.ini.Killed"})
        writeFile(folder.file(name), "[PlayList]\r\n");
    const int active = ::open(folder.file(".set.ini.Active").c_str(), O_RDONLY);
    ASSERT_EQ(0, ::flock(active, LOCK_EX));
    test::FakeWindow window;
    test::FakeInstances instances;
    LoadSettings(window, folder.path(), instances);
    ::close(active);
    EXPECT_FALSE(std::filesystem::exists(folder.file(".set.ini.Killed")));
    for (const char* name : {".set.ini.Active", ".set.ini.x", "set.ini.Killed", ".a.ini.Killed"})
        EXPECT_TRUE(std::filesystem::exists(folder.file(name))) << name;
}

TEST(SaveSettings, NeverReplacesAFileItCannotReadOrWrite) {
    struct Case {
        const char* what;
        bool rootGetsRoundIt;
        void (*make)(const std::string& name);
    };
    const Case cases[] = {
        {"unreadable", true, [](const std::string& n) { writeFile(n, "[S]\r\nk=1\r\n"); ::chmod(n.c_str(), 0200); }},
        {"read-only", true, [](const std::string& n) { writeFile(n, "[S]\r\nk=1\r\n"); ::chmod(n.c_str(), 0444); }},
        {"directory", false, [](const std::string& n) { std::filesystem::create_directory(n); }},
        {"fifo", false, [](const std::string& n) { ::mkfifo(n.c_str(), 0600); }},
    };
    for (const Case& c : cases) {
        if (c.rootGetsRoundIt && ::geteuid() == 0) continue;
        TempDir folder;
        c.make(folder.file("set.ini"));
        test::FakeWindow window;
        EXPECT_EQ("Unable to write to " + folder.file("set.ini"),
                  test::errorOf([&] { SaveSettings(window, folder.path(), 1); })) << c.what;
        // No temporary is left beside it.
        EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(folder.path()), {})) << c.what;
        if (std::filesystem::is_regular_file(folder.file("set.ini"))) {
            ::chmod(folder.file("set.ini").c_str(), 0600);
            EXPECT_EQ("[S]\r\nk=1\r\n", readFile(folder.file("set.ini"))) << c.what;
        }
    }
}

TEST(SaveSettings, KeepsTheFilesPermissionsAndOwner) {
    TempDir folder;
    const std::string name = folder.file("set.ini");
    writeFile(name, "");
    ::chmod(name.c_str(), 0640);
    const uid_t owner = ::geteuid() == 0 ? 65534 : ::geteuid();
    ASSERT_EQ(0, ::chown(name.c_str(), owner, static_cast<gid_t>(-1)));
    test::FakeWindow window;
    SaveSettings(window, folder.path(), 1);
    struct stat info {};
    ASSERT_EQ(0, ::stat(name.c_str(), &info));
    EXPECT_EQ(0640u, info.st_mode & 07777);
    EXPECT_EQ(owner, info.st_uid);
}

TEST(SaveSettings, AFileSizeLimitFailsTheSaveInsteadOfEndingTheProgram) {
    TempDir folder;
    writeFile(folder.file("set.ini"), "[S]\r\nk=1\r\n");
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit limit{64, 64};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        test::FakeWindow window;
        const std::string error = test::errorOf([&] { SaveSettings(window, folder.path(), 1); });
        ::_exit(error == "Unable to write to " + folder.file("set.ini") ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(child, ::waitpid(child, &status, 0));
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ("[S]\r\nk=1\r\n", readFile(folder.file("set.ini")));
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(folder.path()), {}));
}

}  // namespace
}  // namespace tessaview
