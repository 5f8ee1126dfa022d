// LoadSubtitle: VobSub pairs, byte-order marks and tmpsub, detection order, and the state
// a load leaves behind when it fails.
#include "subtitle/file_case.h"
#include "subtitle/readers.h"
#include "subtitle/subtitle_loader.h"
#include "subtitle/text_rules.h"
#include "subtitle_test_support.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tessaview::testing {
namespace {

std::string utf16(const std::u16string& text, bool bigEndian)
{
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t c : text) {
        const char hi = static_cast<char>(c >> 8);
        const char lo = static_cast<char>(c & 0xFF);
        out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return out;
}

const std::string unknownFormat = "Unknown subtitle file format, Please contact to support@tessaview.org !!!";

TEST(Detection, FirstMatchingRuleInTableOrderPicksTheReader)
{
    const struct {
        const char* line;
        const char* reader;
    } cases[] = {
        {"{1}{2}x", "ReadBraceFrames"},      {"{", "ReadBraceFrames"},
        {"[Script Info]", "ReadSsa"},        {"Title:", "ReadSsa"},
        {"# VobSub index file, v7", "ReadSsa"},
        {"[TITLE]", "ReadStartScript"},      {"[INFORMATION]", "ReadSubViewer"},
        {"00:00:01:Hi", "ReadTimeColonText"}, {"0:00:01:Hi", "ReadTimeColonText"},
        {"00:02:17.40,00:02:20.40", "ReadTimeColonText"},  // a headerless SubViewer file
        {"1", "ReadSubRip"},                 {"0", "ReadSubRip"},
        {"[script info]", "ReadBracketFrames"}, {"[1][2]x", "ReadBracketFrames"},
        {"Title: Movie", nullptr},           {"01:00:00:x", nullptr},
        {"-0:00:07:x", nullptr},             {"\xEF\xBB\xBF" "1", nullptr},
        {"1 2", nullptr},                    {"", nullptr},
    };
    for (const auto& c : cases) {
        const ReaderEntry* entry = DetectReader(c.line);
        EXPECT_STREQ(entry ? entry->name : nullptr, c.reader) << c.line;
    }
}

TEST(Detection, ExtensionIsTakenAfterTheLastSeparator)
{
    for (const auto& [path, ext] : {std::pair{"/a/b/movie.idx", ".idx"}, {"/a.b/movie", ""},
                                    {"movie.tar.SUB", ".SUB"}, {"movie.", "."}})
        EXPECT_EQ(ExtractFileExt(path), ext) << path;
}

class Loader : public CoreTest {};

TEST(FindWithExtension, GivenSpellingFirstThenByteOrderBaseNameExactly)
{
    TempDir dir;
    for (const char* name : {"both.SRT", "both.srt", "two.sRt", "two.Srt", "Film.ssa"})
        dir.write(name, "x");
    std::filesystem::create_directory(dir.file("film.ass"));
    for (const auto& [base, found] : {std::pair{"both", "both.srt"}, {"two", "two.Srt"}})
        EXPECT_EQ(FindWithExtension(dir.file(base), ".srt"), dir.file(found));
    EXPECT_EQ(FindWithExtension(dir.file("film"), ".ssa") + FindWithExtension(dir.file("film"), ".ass"), "");
}

TEST_F(Loader, VobSubPairGoesToTheLibraryAndKeepsTheCueList)
{
    load("1\n00:00:01,000 --> 00:00:02,000\nText\n", "text.srt");
    dir.write("movie.idx", "# VobSub index file, v7\n");
    dir.write("movie.sub", "binary");
    for (const char* name : {"movie.idx", "movie.sub", "movie.ifo"}) {
        core.LoadSubtitle(dir.file(name));
        EXPECT_TRUE(core.SubIsVobSub) << name;
        EXPECT_EQ(core.LastReader(), "VobSub");
        EXPECT_EQ(host.vobSubLoads.back(), dir.file("movie"));
        EXPECT_EQ(core.SubFileName, dir.file(name));
        EXPECT_EQ(cues(), (Cues{{1, 2, "Text"}}));
    }
    EXPECT_EQ(host.languageChoices, 3);
    EXPECT_TRUE(core.SubIsTimeBased);
}

TEST_F(Loader, HalfAPairIsReadAsTextWhateverTheCaseOfItsExtension)
{
    dir.write("lone.sub", "{1}{2}frames\n");
    core.LoadSubtitle(dir.file("lone.sub"));
    EXPECT_FALSE(core.SubIsVobSub);
    EXPECT_EQ(core.LastReader(), "ReadBraceFrames");
    dir.write("pair.IDX", "# VobSub index file, v7\nid: de\n");
    core.LoadSubtitle(dir.file("pair.IDX"));
    EXPECT_FALSE(core.SubIsVobSub);
    EXPECT_EQ(core.LastReader(), "ReadSsa");
    EXPECT_TRUE(cues().empty());
    EXPECT_TRUE(host.messages.empty());
    dir.write("pair.Sub", "x");  // now whole, in any spelling
    core.LoadSubtitle(dir.file("pair.IDX"));
    EXPECT_TRUE(core.SubIsVobSub);
    EXPECT_EQ(host.vobSubLoads, Strings{dir.file("pair")});
    // Blank lines before the first line that decides; line feeds alone end lines.
    load("\n\n  1  \n00:00:01,000 --> 00:00:02,000\nA\n");
    EXPECT_EQ(core.LastReader(), "ReadSubRip");
    EXPECT_EQ(cues(), (Cues{{1, 2, "A"}}));
}

TEST_F(Loader, LoadResetsTheFrameRateToTheMovies)
{
    core.EngineFrameRate = 23.976;
    core.n005Click(3);
    load("1\n00:00:01,000 --> 00:00:02,000\nA\n");
    EXPECT_EQ(core.MovieFrameRate, 23.976);
    EXPECT_EQ(host.lastTag, 0);
    EXPECT_EQ(host.lastStatus, "Subtitle FrameRate:Same As Movie");
    core.n005Click(3);
    load("1\n00:00:01 --> 00:00:02\nA\n");  // a reader's message still completes the load
    EXPECT_EQ(host.messages, Strings{"Subtitle file error"});
    EXPECT_EQ(host.lastTag, 0);
}

TEST_F(Loader, ByteOrderMarksConvertThroughTmpsub)
{
    const std::string srt = "1\n00:00:01,000 --> 00:00:02,000\n";
    const struct {
        std::string bytes;
        std::string codePage;
        std::string text;
    } cases[] = {
        {utf16(u"1\r\n00:00:01,000 --> 00:00:02,000\r\nD\u00e9j\u00e0 \U0001F600\r\n", false), "UTF-8",
         "D\xC3\xA9j\xC3\xA0 \xF0\x9F\x98\x80"},
        {utf16(u"1\n00:00:01,000 --> 00:00:02,000\nD\u00e9j\u00e0\n", true), "UTF-8", "D\xC3\xA9j\xC3\xA0"},
        {"\xEF\xBB\xBF" + srt + "D\xC3\xA9j\xC3\xA0\n", "UTF-8", "D\xC3\xA9j\xC3\xA0"},
        {"\xEF\xBB\xBF" + srt + "D\xC3\xA9j\xC3\xA0 \xE2\x82\xAC \xD0\x96\n", "CP1252", "D\xE9j\xE0 \x80 ?"},
        {utf16(u"1\n00:00:01,000 --> 00:00:02,000\nD\u00e9 \u0416 \xD800x\n", false), "ISO-8859-1",
         "D\xE9 ? ?x"},  // an unconvertible character and a lone surrogate
    };
    for (const auto& c : cases) {
        core.SetAnsiCodePage(c.codePage);
        const std::string path = load(c.bytes);
        EXPECT_EQ(core.LastReader(), "ReadSubRip");
        EXPECT_EQ(cues(), (Cues{{1, 2, c.text}})) << c.codePage;
        EXPECT_EQ(core.SubFileName, path);  // the name given, not tmpsub
        EXPECT_FALSE(std::filesystem::exists(core.TmpSubPath()));  // gone after the load
    }
}

TEST_F(Loader, SurrogatePairsSurviveAnyChunkBoundary)
{
    // Place a pair at every offset around the 1024-unit mark the conversion once split at.
    for (int pad = 1015; pad < 1030; ++pad) {
        std::u16string text = u"1\n00:00:01,000 --> 00:00:02,000\n";
        text += std::u16string(static_cast<size_t>(pad) - text.size(), u'a');
        text += u"\U0001F600\n";
        load(utf16(text, false));
        ASSERT_EQ(core.SubList.size(), 1u);
        EXPECT_EQ(core.SubList[0]->Text.substr(core.SubList[0]->Text.size() - 4), "\xF0\x9F\x98\x80") << pad;
    }
}

TEST_F(Loader, UnknownFormatKeepsThePreviousSubtitleInItsOwnUnit)
{
    const std::string first = load("1\n00:00:01,000 --> 00:00:02,000\nA\n", "first.srt");
    for (const std::string bytes : {"", "\n \r\n\t\n", "Hello there\n", "\x1a" "1\n00:00:01,000 --> 00:00:02,000\nA\n"}) {
        host.messages.clear();
        core.n005Click(5);
        load(bytes, "bad.txt");
        EXPECT_EQ(host.messages, Strings{unknownFormat});
        EXPECT_EQ(host.lastTag, 0);  // the frame rate item goes back to the movie's
        EXPECT_EQ(core.LastReader(), "");
        EXPECT_EQ(cues(), (Cues{{1, 2, "A"}}));
        EXPECT_TRUE(core.SubIsTimeBased);
        EXPECT_EQ(core.SubFileName, first);
        EXPECT_EQ(core.FindSubtitleText(30), "A");
    }
}

TEST_F(Loader, RuntimeErrorsLeaveNameRateAndPreviousStateAlone)
{
    load("1\n00:00:01,000 --> 00:00:02,000\nA\n", "first.srt");
    dir.write("movie.idx", "x");
    dir.write("movie.sub", "x");
    core.LoadSubtitle(dir.file("movie.idx"));
    core.n005Click(2);
    EXPECT_EQ(errorOf([&] { core.LoadSubtitle(dir.file("missing.srt")); }), "Cannot open file " + dir.file("missing.srt"));
    EXPECT_TRUE(core.SubIsVobSub);
    EXPECT_EQ(core.SubFileName, dir.file("movie.idx"));
    EXPECT_EQ(core.MovieFrameRate, 24.0);
    // No reader ran: the SubRip cues keep their seconds.
    EXPECT_TRUE(core.SubIsTimeBased);
    EXPECT_EQ(core.FindSubtitleText(48), "A");

    // A reader's conversion error ends the load after the reader ran: its cues stay.
    EXPECT_THROW(load("0:00:01:A\n0:00:02:B\n0:0x:03:C\n", "t.txt"), RuntimeError);
    EXPECT_EQ(core.LastReader(), "ReadTimeColonText");
    EXPECT_FALSE(core.SubIsVobSub);
    EXPECT_EQ(cues().size(), 2u);
    EXPECT_EQ(core.SubFileName, dir.file("movie.idx"));
    EXPECT_TRUE(core.SubIsTimeBased);
}

TEST_F(Loader, TmpsubIsMadeAnewForTheUserAloneNeverThroughALinkInItsPlace)
{
    const std::string victim = dir.write("victim", "keep");
    std::filesystem::create_symlink(victim, core.TmpSubPath());
    load(utf16(u"1\n00:00:01,000 --> 00:00:02,000\nA\n", false));
    EXPECT_EQ(cues(), (Cues{{1, 2, "A"}}));
    EXPECT_EQ(test::readFile(victim), "keep");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(core.TmpSubPath())));
    WriteWholeFile(core.TmpSubPath(), "x");
    EXPECT_EQ(std::filesystem::status(core.TmpSubPath()).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST_F(Loader, UnwritableProgramFolderRaisesCannotCreate)
{
    RecordingHost otherHost;
    SubtitleCore other(otherHost, dir.file("no-such-folder"));
    const std::string path = dir.write("u16.srt", utf16(u"1\n", false));
    EXPECT_EQ(errorOf([&] { other.LoadSubtitle(path); }), "Cannot create file " + dir.file("no-such-folder/tmpsub"));
    EXPECT_EQ(other.SubFileName, "");
}

}  // namespace
}  // namespace tessaview::testing
