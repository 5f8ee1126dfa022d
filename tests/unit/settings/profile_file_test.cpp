// The profile-file store: reading rules, typed values, in-place writes and bad files.
#include "shell/settings/profile_file.h"
#include "shell/settings/profile_value.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <tuple>

namespace tessaview {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

TEST(ProfileValue, IntegersFollowTheHexAndDecimalRules) {
    struct Case {
        const char* text;
        int32_t expected;
    };
    const Case cases[] = {
        {"42", 42},         {"-12", -12},       {"+7", 7},           {"0x12C", 300},     {"0X1f", 31},
        {"0x", -1},         {"0x1G", -1},       {"$ff", 255},        {"$", -1},          {"$-1", -1},
        {"", -1},           {"12a", -1},        {"yes", -1},         {"1e3", -1},        {"-0x10", -1},
        {"+-5", -1},        {"2147483647", 2147483647},              {"2147483648", -1}, {"-2147483648", INT32_MIN},
        {"0xFFFFFFFF", -1}, {"$80000000", INT32_MIN},                {"$100000000", -1}, {"007", 7},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, ParseProfileInteger(c.text, -1)) << '"' << c.text << '"';
    EXPECT_EQ(5, ParseProfileInteger("0x", 5));
}

TEST(ProfileValue, BooleansAreIntegersWithAOneOrZeroDefault) {
    for (const auto& [text, fallback, expected] : {std::tuple{"2", false, true}, {"-1", false, true}, {"yes", true, true},
                                                   {"yes", false, false}, {"0", true, false}, {"$0", true, false}})
        EXPECT_EQ(expected, ParseProfileBoolean(text, fallback)) << text;
}

TEST(ProfileFile, ReadsTrimUnquoteAndMatchNamesInAnyCase) {
    TempDir folder;
    folder.write("a.ini", "[Main]\r\n"
              "plain=  spaced out \t\r\n"
              "double=\"quoted\"\r\n"
              "single=' inner blanks '\r\n"
              "mixed=\"abc'\r\n"
              "lone=\"\r\n"
              "empty=\"\"\r\n"
              "  Padded Key  =  v\r\n"
              "dup=first\r\n"
              "DUP=second\r\n"
              "; commented=yes\r\n"
              "long=\"" + std::string(3000, 'x') + "\"\r\n"
              "[other]\r\n"
              "plain=other section\r\n"
              "[MAIN]\r\n"
              "late=unreached\r\n");
    const ProfileFile file(folder.file("a.ini"));
    EXPECT_EQ("spaced out", file.ReadString("main", "PLAIN", "d"));
    EXPECT_EQ("quoted", file.ReadString("Main", "double", "d"));
    EXPECT_EQ(" inner blanks ", file.ReadString("Main", "single", "d"));
    EXPECT_EQ("\"abc'", file.ReadString("Main", "mixed", "d"));
    EXPECT_EQ("\"", file.ReadString("Main", "lone", "d"));
    EXPECT_EQ("", file.ReadString("Main", "empty", "d"));
    EXPECT_EQ("v", file.ReadString("Main", "padded key", "d"));
    EXPECT_EQ("first", file.ReadString("Main", "dup", "d"));
    EXPECT_EQ("d", file.ReadString("Main", "; commented", "d"));
    EXPECT_EQ(std::string(2047, 'x'), file.ReadString("Main", "long", "d"));
    EXPECT_EQ("d", file.ReadString("Main", "late", "d"));
    EXPECT_EQ("d", file.ReadString("Absent", "plain", "d"));
    EXPECT_EQ(-3, file.ReadInteger("Main", "absent", -3));
    EXPECT_EQ(-3, file.ReadInteger("Main", "plain", -3));
}

TEST(ProfileFile, WritesChangeOneLineAndKeepEveryOtherByte) {
    TempDir folder;
    const std::string name = folder.file("a.ini");
    writeFile(name,
              "; hand-written notes \xE9\r\n"
              "[One]\n"
              "Key = old\n"
              "other=1\n"
              "\n"
              "[Unknown]\r\n"
              "x=\"keep me\"\r\n"
              "\r\n"
              "; trailing comment");
    ProfileFile file(name);
    file.WriteString("ONE", "key", "new");
    file.WriteString("one", "Added", "2");
    file.WriteString("Fresh", "k", "v");
    file.WriteInteger("Fresh", "n", -5);
    EXPECT_EQ("; hand-written notes \xE9\r\n"
              "[One]\r\n"
              "Key =new\r\n"
              "other=1\r\n"
              "Added=2\r\n"
              "\r\n"
              "[Unknown]\r\n"
              "x=\"keep me\"\r\n"
              "\r\n"
              "; trailing comment\r\n"
              "[Fresh]\r\n"
              "k=v\r\n"
              "n=-5\r\n",
              readFile(name));
    // Only the file itself is left: no temporary stays beside it.
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(folder.path()), {}));
}

// A line break cannot add keys or sections: it is written as two blanks.
TEST(ProfileFile, WrittenValuesReadBackIdenticallyInASecondStore) {
    TempDir folder;
    const std::string name = folder.file("a.ini");
    const std::string values[] = {"plain", " leading blank", "trailing blank\t", "'quoted'", "\"x\"",
                                  "a=b;c", "[not a section]", "caf\xE9", "", "movie\r\n[Evil]\r\nk=1"};
    {
        ProfileFile file(name);
        for (std::size_t i = 0; i < std::size(values); ++i) file.WriteString("S", std::to_string(i), values[i]);
    }
    const ProfileFile second(name);
    for (std::size_t i = 0; i + 1 < std::size(values); ++i)
        EXPECT_EQ(values[i], second.ReadString("s", std::to_string(i), "absent")) << i;
    EXPECT_EQ("absent", second.ReadString("Evil", "k", "absent"));
    EXPECT_EQ("movie  [Evil]  k=1", second.ReadString("S", "9", ""));
}

TEST(ProfileFile, AFailedWriteNamesTheFile) {
    const std::string missing = TempDir().file("set.ini");  // its folder is gone
    EXPECT_EQ("Unable to write to " + missing, test::errorOf([&] { ProfileFile(missing).WriteString("S", "k", "v"); }));
}

TEST(ProfileFile, WritingThroughALinkChangesTheFileItNames) {
    TempDir folder;
    folder.write("real.ini", "[S]\r\nk=1\r\n");
    std::filesystem::create_symlink(folder.file("real.ini"), folder.file("link.ini"));
    ProfileFile(folder.file("link.ini")).WriteString("S", "k", "2");
    EXPECT_TRUE(std::filesystem::is_symlink(folder.file("link.ini")));
    EXPECT_EQ("[S]\r\nk=2\r\n", readFile(folder.file("real.ini")));
}

TEST(ProfileFile, GarbageFilesReadAsDefaultsAndKeepTheirBytes) {
    std::mt19937 random(7);
    std::string binary(1024, '\0');
    for (char& c : binary) c = static_cast<char>(random());
    for (const std::string& bytes : {binary + std::string("\n[S\0]\n=\n[]\n==\n\r\r\n", 17), std::string(8192, '[')}) {
        TempDir folder;
        const std::string name = folder.write("a.ini", bytes);
        EXPECT_EQ(-1, ProfileFile(name).ReadInteger("Pos", "Left", -1));
        ProfileFile(name).WriteInteger("Pos", "Left", 3);
        EXPECT_EQ(3, ProfileFile(name).ReadInteger("Pos", "Left", -1));
        EXPECT_GE(readFile(name).size(), bytes.size());
    }
}

}  // namespace
}  // namespace tessaview
