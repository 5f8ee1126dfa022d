// The shared reading rules: line ends, Ctrl-Z, trimming, digit tests, number conversion.
#include "subtitle/code_page.h"
#include "subtitle/text_rules.h"
#include "subtitle_test_support.h"

#include <gtest/gtest.h>

namespace tessaview::testing {
namespace {

Strings linesOf(const std::string& text)
{
    TextFile file = TextFile::FromText(text);
    Strings lines;
    while (!file.Eof())
        lines.emplace_back(file.ReadLine());
    return lines;
}

TEST(ReadingRules, EveryKindOfLineEndEndsALine)
{
    const struct {
        std::string text;
        Strings lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},  // LF then CR: two line ends
        {"a\r\r\nb", {"a", "", "b"}},
        {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
        {"\n", {""}},
        {"a\x1a" "b\nc", {"a"}},  // Ctrl-Z ends the file
        {"\x1a" "abc", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(linesOf(c.text), c.lines) << ::testing::PrintToString(c.text);

    const std::string longLine(5000, 'x');  // many 16-byte blocks before the line end
    EXPECT_EQ(linesOf(longLine + "\r\ny"), (Strings{longLine, "y"}));
}

TEST(TextHelpers, TrimDigitTestsAndLineBreakCodes)
{
    EXPECT_EQ(Trim(" \t\x01\nab c\x1f \r"), "ab c");
    EXPECT_EQ(Trim("\xA0x\xA0"), "\xA0x\xA0");  // high bytes are not blanks
    EXPECT_EQ(Trim("   "), "");
    EXPECT_TRUE(IsDigitString("0123"));
    for (const char* text : {"", "+1", "1 "})
        EXPECT_FALSE(IsDigitString(text)) << text;
    EXPECT_TRUE(IsDigitLine(""));
    EXPECT_TRUE(IsDigitLine("42"));
    EXPECT_FALSE(IsDigitLine("4a"));
    EXPECT_EQ(ReplaceByCrLfIgnoreCase("a\\Nb\\nc\\x", "\\n"), "a\r\nb\r\nc\\x");
    EXPECT_EQ(ReplaceByCrLfIgnoreCase("A[BR]b[br][b", "[br]"), "A\r\nb\r\n[b");
    EXPECT_EQ(ReplaceByCrLfIgnoreCase("end\\N", "\\n"), "end\r\n");  // a code that ends the line
    EXPECT_EQ(ReplaceByCrLf("a|b||", '|'), "a\r\nb\r\n\r\n");
}

TEST(UnicodeToCodePage, PairsAtTheEdgesDecodeAndBrokenUnitsBecomeQuestionMarks)
{
    const struct {
        std::string bytes;
        UnicodeForm form;
        const char* utf8;
    } cases[] = {
        {std::string("\x00\xD8\x00\xDC", 4), UnicodeForm::Utf16Le, "\xF0\x90\x80\x80"},  // the first pair
        {"\xDB\xFF\xDF\xFF", UnicodeForm::Utf16Be, "\xF4\x8F\xBF\xBF"},                  // the last pair
        {std::string("a\x00\x00\xD8", 4), UnicodeForm::Utf16Le, "a?"},  // a high half ends the text
        {"a\xFF" "b", UnicodeForm::Utf8, "a?b"},
        {"\xED\xA0\x80", UnicodeForm::Utf8, "???"},  // a surrogate written as UTF-8
    };
    for (const auto& c : cases)
        EXPECT_EQ(UnicodeToCodePage(c.bytes, c.form, "UTF-8"), c.utf8) << ::testing::PrintToString(c.bytes);
}

TEST(StrToInt, AcceptsWhatTheRuntimeAcceptsAndNamesTheTextOtherwise)
{
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"0", 0},          {"007", 7},           {"  12", 12},          {"+5", 5},
        {"-5", -5},        {"$1F", 31},          {"x1f", 31},           {"X10", 16},
        {"0x10", 16},      {"0XfF", 255},        {"-$10", -16},         {"$FFFFFFFF", -1},
        {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}, {"0000000000002", 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
    for (const std::string text : {"", " ", "-", "+", "$", "0x", "12 ", "1a", "\t1", "2147483648", "-2147483649",
                                   "$100000000", "1.5", "--1", "0x-1"})
        EXPECT_EQ(errorOf([&] { StrToInt(text); }), "'" + text + "' is not a valid integer value");
}

TEST(ParseClockTime, ReadsFreeWidthFieldsCutsTheFractionAndNamesABadField)
{
    const struct {
        const char* text;
        int32_t seconds;
    } cases[] = {
        {"0:00:01.50", 1}, {"00:00:01.99", 1}, {"00:00:01", 1}, {"1:2:3", 3723},
        {"10:00:00.00", 36000}, {" 1:02:03", 3723}, {"-00:00:06.84", 6},  // the sign belongs to the hours only
        {"$1:0:0", 3600},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseClockTime(c.text), c.seconds) << c.text;
    const struct {
        const char* text;
        std::string field;
    } bad[] = {
        {"", ""}, {"00:00", ""}, {"00:00:01 ", "01 "}, {"00:0a:01", "0a"}, {"1:2:.5", ""}, {"00 :00:01", "00 "},
    };
    for (const auto& c : bad)
        EXPECT_EQ(errorOf([&] { ParseClockTime(c.text); }), "'" + c.field + "' is not a valid integer value") << c.text;
}

}  // namespace
}  // namespace tessaview::testing
