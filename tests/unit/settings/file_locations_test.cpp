// Where an installed and a portable copy keep set.ini, and the private folder for tmpsub.
#include "shell/settings/file_locations.h"
#include "shell/settings/settings.h"
#include "unit/settings/fake_settings_window.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tessaview {
namespace {

using test::TempDir;

TEST(FileLocations, OnlyAnInstalledCopyKeepsItsSettingsInTheConfigurationFolder) {
    const struct {
        bool marker;
        const char* configHome;  // HOME is always /home/u
        std::string expected;    // "" for the executable's folder
    } cases[] = {
        {false, "/cfg", ""},
        {true, "/cfg/./", "/cfg/tessaview"},
        {true, "relative", "/home/u/.config/tessaview"},
        {true, nullptr, "/home/u/.config/tessaview"},
    };
    for (const auto& c : cases) {
        TempDir prefix;
        std::filesystem::create_directories(prefix.file("bin"));
        if (c.marker) {
            std::filesystem::create_directories(prefix.file("share/tessaview"));
            test::writeFile(prefix.file("share/tessaview/installed"), "");
        }
        const auto environment = [&c](const char* name) {
            return std::string_view(name) == "HOME" ? "/home/u" : c.configHome;
        };
        const FileLocations chosen = ChooseFileLocations(prefix.file("bin"), environment);
        EXPECT_EQ(c.expected.empty() ? prefix.file("bin") : c.expected, chosen.SettingsFolder) << c.expected;
        EXPECT_EQ(c.marker, chosen.Installed);
    }
}

TEST(FileLocations, TheFirstSaveOfAnInstalledCopyMakesItsPrivateFolder) {
    TempDir home;
    const std::string folder = home.file(".config/tessaview");
    test::FakeWindow window;
    SaveSettings(window, folder, 1, true);
    EXPECT_TRUE(std::filesystem::is_regular_file(folder + "/set.ini"));
    struct stat info {};
    ASSERT_EQ(0, ::stat(home.file(".config").c_str(), &info));
    EXPECT_EQ(0700u, info.st_mode & 0777);
}

TEST(PrivateFolder, IsTheUsersAloneAndGoesAwayWithItsContents) {
    TempDir runtime;
    for (const std::string& base : {runtime.path(), runtime.file("missing")}) {
        std::string path;
        {
            const PrivateFolder folder(base);
            path = folder.Path();
            test::writeFile(path + "/tmpsub", "x");
            struct stat info {};
            ASSERT_EQ(0, ::stat(path.c_str(), &info)) << base;
            EXPECT_EQ(0700u, info.st_mode & 0777);
            EXPECT_EQ(base == runtime.path(), path.rfind(runtime.path(), 0) == 0) << path;
        }
        EXPECT_FALSE(std::filesystem::exists(path));
    }
}

}  // namespace
}  // namespace tessaview
