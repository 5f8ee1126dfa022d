// Where an installed and a portable copy keep set.ini, and the private folder for tmpsub.
#include "shell/settings/file_locations.h"
#include "shell/settings/settings.h"
#include "unit/settings/fake_settings_window.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <map>

#include <sys/stat.h>

namespace tessaview {
namespace {

using test::TempDir;

TEST(FileLocations, OnlyAnInstalledCopyKeepsItsSettingsInTheConfigurationFolder) {
    struct Case {
        bool marker;
        std::map<std::string, std::string> environment;
        std::string expected;  // "" for the executable's folder
    };
    const Case cases[] = {
        {false, {{"XDG_CONFIG_HOME", "/cfg"}, {"HOME", "/home/u"}}, ""},
        {true, {{"XDG_CONFIG_HOME", "/cfg/"}, {"HOME", "/home/u"}}, "/cfg/tessaview"},
        {true, {{"XDG_CONFIG_HOME", "relative"}, {"HOME", "/home/u"}}, "/home/u/.config/tessaview"},
        {true, {{"HOME", "/home/u"}}, "/home/u/.config/tessaview"},
    };
    for (const Case& c : cases) {
        TempDir prefix;
        std::filesystem::create_directories(prefix.file("bin"));
        if (c.marker) {
            std::filesystem::create_directories(prefix.file("share/tessaview"));
            test::writeFile(prefix.file("share/tessaview/installed"), "");
        }
        const auto environment = [&c](const char* name) {
            const auto found = c.environment.find(name);
            return found == c.environment.end() ? nullptr : found->second.c_str();
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
