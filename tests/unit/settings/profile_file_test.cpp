// The profile-file store: reading rules, typed values, and writes that keep every other byte.
#include "shell/settings/profile_file.h"
#include "shell/settings/profile_value.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tessaview {
namespace {

using test::readFile;
using test::TempDir;

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

// A line break cannot add keys or sections: it is written as two blanks.
TEST(ProfileFile, WrittenValuesReadBackIdenticallyInASecondStore) {
    TempDir folder;
    const std::string name = folder.file("a.ini");
    const std::string values[] = {
        " leading blank",        "trailing blank\t", "'quoted'", "\"x\"", "a=b;c", "[not a section]", "caf\xE9", "",
        "movie\r\n[Evil]\r\nk=1"};
    ProfileFile file(name);
    for (std::size_t i = 0; i < std::size(values); ++i) file.WriteString("S", std::to_string(i), values[i]);
    const ProfileFile second(name);
    for (std::size_t i = 0; i + 1 < std::size(values); ++i)
        EXPECT_EQ(values[i], second.ReadString("s", std::to_string(i), "absent")) << i;
    EXPECT_EQ("absent", second.ReadString("Evil", "k", "absent"));
    EXPECT_EQ("movie  [Evil]  k=1", second.ReadString("S", "8", ""));
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

}  // namespace
}  // namespace tessaview
