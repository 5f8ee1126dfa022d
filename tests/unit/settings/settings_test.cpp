// LoadSettings, SaveSettings and the overlay font read, against a window without any window.
#include "platform/process/instance_control.h"
#include "shell/settings/settings.h"
#include "unit/settings/fake_settings_window.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tessaview {
namespace {

using namespace std::chrono_literals;
using test::FakeInstances;
using test::FakeWindow;
using test::readFile;
using test::TempDir;

struct Loaded {
    FakeWindow window;
    FakeInstances instances;
};

Loaded load(const TempDir& folder, const std::string& ini, bool windowExists = false) {
    Loaded result;
    if (!ini.empty()) folder.write("set.ini", ini);
    result.instances.windowExists = windowExists;
    LoadSettings(result.window, folder.path(), result.instances);
    return result;
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
        int32_t width, panel;  // the list's width, and the panel's (0: hidden)
        WindowBounds area = {0, 0, 1920, 1040};
    } cases[] = {
        // An absent Left centres with the design size; Top 40 overrides the centred top, the
        // stored size comes after the centring.
        {"[Pos]\r\nLeft=-1\r\nTop=40\r\nWidth=1000\r\n", {640, 40, 1000, 480}, 230, 0},
        {"", {10 + 180, 20 + 110, 640, 480}, 230, 0, {10, 20, 1001, 701}},
        // A work area smaller than the window: the halves truncate toward zero.
        {"[Pos]\r\nHeight=-1\r\n", {-70, -90, 640, 480}, 230, 0, {0, 0, 500, 300}},
        {"[Pos]\r\nLeft=-2\r\ntop=-1\r\n", {-2, 6, 640, 480}, 230, 0, {0, 0, 800, 600}},
        // A non-positive width falls back; the panel follows the check.
        {"[useskin]\r\nshowplaylist=1\r\nplaylistwidth=-5\r\n", {640, 280, 640, 480}, 230, 230},
        {"[useskin]\r\nshowplaylist=1\r\nplaylistwidth=0\r\n", {640, 280, 640, 480}, 230, 230},
        {"[useskin]\r\nshowplaylist=1\r\nplaylistwidth=1\r\n", {640, 280, 640, 480}, 1, 1},
        {"[useskin]\r\nshowplaylist=0\r\nplaylistwidth=300\r\n", {640, 280, 640, 480}, 300, 0},
    };
    for (const auto& c : cases) {
        TempDir folder;
        Loaded l;
        l.window.workArea = c.area;
        if (*c.ini) folder.write("set.ini", c.ini);
        LoadSettings(l.window, folder.path(), l.instances);
        EXPECT_EQ(c.expected, l.window.bounds) << c.ini;
        EXPECT_EQ(c.width, l.window.fields.PlayListWidth) << c.ini;
        EXPECT_EQ(c.panel != 0, l.window.showPlayListChecked) << c.ini;
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
    Loaded l = load(folder, "[PlayList]\r\nCount=2000000000\r\n");
    EXPECT_EQ(100000u, l.window.captions.size());
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

TEST(SaveSettings, WhatIsSavedLoadsBackAndAShorterListLeavesOldKeys) {
    TempDir folder;
    FakeWindow saved;
    saved.fields = {false, false, true, 321};
    saved.bounds = {100, 200, 700, 500};
    saved.captions = {"0", "1", "2", "3", "4"};
    SaveSettings(saved, folder.path(), 1);
    saved.captions = {"first", "second"};
    SaveSettings(saved, folder.path(), 2);
    const std::string text = readFile(folder.file("set.ini"));
    EXPECT_NE(std::string::npos, text.find("Count=2\r\n0=first\r\n1=second\r\n2=2\r\n3=3\r\n4=4\r\n"));

    // The stored number is judged by when set.ini was written.
    std::filesystem::last_write_time(folder.file("set.ini"), std::filesystem::file_time_type::clock::now() - 1h);
    Loaded l = load(folder, "", true);
    EXPECT_EQ(std::vector<int64_t>{2}, l.instances.terminated);
    EXPECT_LT(std::chrono::system_clock::now() - 61min, l.instances.storedAt);
    EXPECT_GT(std::chrono::system_clock::now() - 59min, l.instances.storedAt);
    EXPECT_EQ((std::vector<std::string>{"first", "second"}), l.window.captions);
    EXPECT_EQ(saved.bounds, l.window.bounds);
    EXPECT_FALSE(l.window.fields.OnTop);
    EXPECT_FALSE(l.window.fields.UseSkin);
    EXPECT_TRUE(l.window.fields.ShowPlayList);
    EXPECT_EQ(321, l.window.fields.PlayListWidth);
    EXPECT_FALSE(l.window.autoload);
}

TEST(ReadOverlayFont, ReadsTheFourKeysWithTheirDefaults) {
    TempDir folder;
    EXPECT_EQ(FontSpec{}, ReadOverlayFont(folder.path()));
    folder.write("set.ini", "[FONT]\r\nNAME=\"Noto Sans\"\r\nSIZE=big\r\nCHARSET=0x1CC\r\nCOLOR=$FF\r\n");
    EXPECT_EQ((FontSpec{"Noto Sans", 12, 0xCC, 255}), ReadOverlayFont(folder.path()));
}

}  // namespace
}  // namespace tessaview
