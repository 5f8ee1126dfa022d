// LoadSubtitle: detection, VobSub pairs, byte-order marks and tmpsub, the state a load leaves
// behind when it fails; cue times to frames and the lookup with its cache; and every file of the
// shared corpus, which loads without a crash and gives the cues its text shows.
#include "subtitle/file_case.h"
#include "subtitle/number_rules.h"
#include "subtitle/subtitle_loader.h"
#include "subtitle/text_rules.h"
#include "subtitle/time_base.h"
#include "subtitle/vobsub_index_scan.h"
#include "subtitle_test_support.h"

#include <filesystem>
#include <map>

namespace tessaview::testing {
namespace {

std::string utf16(const std::u16string& text, bool bigEndian = false) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t c : text) {
        const char hi = static_cast<char>(c >> 8);
        const char lo = static_cast<char>(c & 0xFF);
        out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return out;
}

const std::string srtA = "1\n00:00:01,000 --> 00:00:02,000\nA\n";
const char* const unknownFormat = "Unknown subtitle file format, Please contact to support@tessaview.org !!!";

TEST(Detection, FirstMatchingRuleInTableOrderPicksTheReader) {
    const std::pair<const char*, const char*> cases[] = {
        {"Title:", "ReadSsa"},
        {"Title: Movie", nullptr},
        {"[TITLE]", "ReadStartScript"},
        {"1 2", nullptr},
        {"0:00:01:Hi", "ReadTimeColonText"},
        {"01:00:00:x", nullptr},
        {"[script info]", "ReadBracketFrames"},
    };
    for (const auto& [line, reader] : cases) {
        const ReaderEntry* entry = DetectReader(line);
        EXPECT_STREQ(entry ? entry->name : nullptr, reader) << line;
    }
}

// Any spelling of an extension: the given one first, then byte order; base name and folder exactly.
TEST(FileNames, ExtensionAfterTheLastSeparatorAndFoundInAnyLetterCase) {
    for (const auto& [path, ext] :
         {std::pair{"/a/b/movie.idx", ".idx"}, {"/a.b/movie", ""}, {"movie.tar.SUB", ".SUB"}, {"movie.", "."}})
        EXPECT_EQ(ExtractFileExt(path), ext) << path;
    EXPECT_EQ(WithoutExtension("movie.tar.SUB"), "movie.tar");
    EXPECT_EQ(WithoutExtension("C:\\a.b\\movie"), "C:\\a.b\\movie");
    EXPECT_TRUE(IsSubtitleFileName("/m/Film.SrT"));
    EXPECT_FALSE(IsSubtitleFileName("/m/film.srt/clip"));
    EXPECT_EQ(AsciiLower("Film.\xC9N.SRT"), "film.\xC9n.srt");  // letters beyond ASCII stay
    TempDir dir;
    for (const char* name : {"both.SRT", "both.srt", "two.sRt", "two.Srt", "Film.ssa"}) dir.write(name, "x");
    std::filesystem::create_directory(dir.file("film.ass"));
    for (const auto& [base, found] : {std::pair{"both", "both.srt"}, {"two", "two.Srt"}})
        EXPECT_EQ(FindWithExtension(dir.file(base), ".srt"), dir.file(found));
    EXPECT_EQ(FindWithExtension(dir.file("film"), ".ssa") + FindWithExtension(dir.file("film"), ".ass"), "");
}

class Loader : public CoreTest {};

TEST_F(Loader, AWholeVobSubPairGoesToTheLibraryAndHalfAPairIsReadAsText) {
    load(srtA, "text.srt");
    dir.write("movie.idx", "# VobSub index file, v7\n");
    dir.write("movie.sub", "binary");
    for (const char* name : {"movie.idx", "movie.sub", "movie.ifo"}) {
        core.LoadSubtitle(dir.file(name));
        EXPECT_TRUE(core.SubIsVobSub) << name;
        EXPECT_EQ(host.vobSubLoads.back(), dir.file("movie"));
        EXPECT_EQ(core.SubFileName, dir.file(name));
        EXPECT_EQ(cues(), Strings{"1000 2000 A"});
    }
    EXPECT_EQ(host.languageChoices, 3);
    dir.write("lone.sub", "{1}{2}frames\n");
    core.LoadSubtitle(dir.file("lone.sub"));
    EXPECT_EQ(core.LastReader(), "ReadBraceFrames");
    dir.write("pair.IDX", "# VobSub index file, v7\nid: de\n");
    core.LoadSubtitle(dir.file("pair.IDX"));
    EXPECT_FALSE(core.SubIsVobSub);
    EXPECT_EQ(core.LastReader(), "ReadSsa");
    dir.write("pair.Sub", "x");  // now whole, in any spelling
    core.LoadSubtitle(dir.file("pair.IDX"));
    EXPECT_TRUE(core.SubIsVobSub);
    EXPECT_EQ(host.vobSubLoads.back(), dir.file("pair"));
}

// The status text writes the rate as the user's locale does; whatever rate the user chose, a
// load that reads a file goes back to the movie's.
TEST_F(Loader, FrameRateItemAndItsResetByALoad) {
    host.separator = ',';
    core.n005Click(4);
    core.n005Click(9);  // no such item: nothing changes
    EXPECT_EQ(host.lastStatus, "Subtitle FrameRate:29,97fps");
    core.EngineFrameRate = 23.976;
    load("\n\n  1  \n00:00:01 --> 00:00:02\n");                // blank lines before the line that decides
    EXPECT_EQ(host.messages, Strings{"Subtitle file error"});  // a reader's message completes the load
    EXPECT_EQ(core.MovieFrameRate, 23.976);
    EXPECT_EQ(host.lastStatus, "Subtitle FrameRate:Same As Movie");
}

// Pairs at both edges decode; a high half ending the text, a stray byte and a surrogate written
// as UTF-8 each become question marks.
TEST(UnicodeToCodePage, PairsAtTheEdgesDecodeAndBrokenUnitsBecomeQuestionMarks) {
    const std::tuple<std::string, UnicodeForm, std::string> cases[] = {
        {std::string("\x00\xD8\x00\xDC", 4), UnicodeForm::Utf16Le, "\xF0\x90\x80\x80"},
        {"\xDB\xFF\xDF\xFF", UnicodeForm::Utf16Be, "\xF4\x8F\xBF\xBF"},
        {std::string("a\x00\x00\xD8", 4), UnicodeForm::Utf16Le, "a?"},
        {"a\377b", UnicodeForm::Utf8, "a?b"},
        {"\xED\xA0\x80", UnicodeForm::Utf8, "???"},
    };
    for (const auto& [bytes, form, utf8] : cases)
        EXPECT_EQ(UnicodeToCodePage(bytes, form, "UTF-8"), utf8) << ::testing::PrintToString(bytes);
}

// tmpsub is made anew for the user alone, never through a link planted in its place, and
// removed after the load; bytes given in memory load the same without their file.
TEST_F(Loader, ByteOrderMarksConvertThroughTmpsub) {
    const std::string victim = dir.write("victim", "keep");
    std::filesystem::create_symlink(victim, core.TmpSubPath());
    const std::string srt = "1\n00:00:01,000 --> 00:00:02,000\n";
    const std::tuple<std::string, std::string, std::string> cases[] = {
        // bytes, code page, cue text
        {utf16(u"1\r\n00:00:01,000 --> 00:00:02,000\r\nD\u00e9j\u00e0 \U0001F600\r\n"), "UTF-8",
         "D\xC3\xA9j\xC3\xA0 \xF0\x9F\x98\x80"},
        {utf16(u"1\n00:00:01,000 --> 00:00:02,000\nD\u00e9j\u00e0\n", true), "UTF-8", "D\xC3\xA9j\xC3\xA0"},
        {"\xEF\xBB\xBF" + srt + "D\xC3\xA9j\xC3\xA0 \xE2\x82\xAC \xD0\x96\n", "CP1252", "D\xE9j\xE0 \x80 ?"},
        {utf16(u"1\n00:00:01,000 --> 00:00:02,000\nD\u00e9 \u0416 \xD800x\n"), "ISO-8859-1",
         "D\xE9 ? ?x"},  // an unconvertible character and a lone surrogate
    };
    for (const auto& [bytes, codePage, text] : cases) {
        core.SetAnsiCodePage(codePage);
        const std::string path = load(bytes);
        EXPECT_EQ(cues(), Strings{"1000 2000 " + text}) << codePage;
        EXPECT_EQ(core.SubFileName, path);  // the name given, not tmpsub
        EXPECT_FALSE(std::filesystem::exists(core.TmpSubPath()));
        // The same bytes already in memory: nothing opens a file of that name.
        core.ClearSubList();
        core.LoadSubtitleText(dir.file("gone.srt"), bytes);
        EXPECT_EQ(cues(), Strings{"1000 2000 " + text}) << codePage;
        EXPECT_EQ(core.SubFileName, dir.file("gone.srt"));
        EXPECT_FALSE(std::filesystem::exists(core.TmpSubPath()));
    }
    core.LoadSubtitleText(dir.file("gone.srt"), srtA);
    EXPECT_EQ(cues(), Strings{"1000 2000 A"});
    EXPECT_EQ(test::readFile(victim), "keep");
    WriteWholeFile(core.TmpSubPath(), "x");
    EXPECT_EQ(std::filesystem::status(core.TmpSubPath()).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    SubtitleCore other(host, dir.file("no-such-folder"));
    EXPECT_EQ(errorOf([&] { other.LoadSubtitle(dir.file("sub.txt")); }),
              "Cannot create file " + dir.file("no-such-folder/tmpsub"));
}

// A load that fails keeps the previous subtitle, its name and its unit; an unknown format also
// sets the frame-rate item back to the movie's, a runtime error leaves it alone.
TEST_F(Loader, FailedLoadsKeepThePreviousSubtitle) {
    const std::string first = load(srtA, "first.srt");
    for (const std::string& bytes : Strings{"", "\n \r\n\t\n", "Hello there\n", "\x1a" + srtA}) {
        host.messages.clear();
        core.n005Click(5);
        load(bytes, "bad.txt");
        EXPECT_EQ(host.messages, Strings{unknownFormat});
        EXPECT_EQ(host.lastTag, 0);
        EXPECT_EQ(core.SubFileName, first);
        EXPECT_EQ(core.FindSubtitleText(30), "A");  // still time-based: frames 25 to 50
    }
    dir.write("movie.idx", "x");
    dir.write("movie.sub", "x");
    core.LoadSubtitle(dir.file("movie.idx"));
    core.n005Click(2);
    const std::string missing = dir.file("missing.srt");
    EXPECT_EQ(errorOf([&] { core.LoadSubtitle(missing); }), "Cannot open file " + missing);
    EXPECT_TRUE(core.SubIsVobSub);
    EXPECT_EQ(core.SubFileName, dir.file("movie.idx"));
    EXPECT_EQ(core.MovieFrameRate, 24.0);
    EXPECT_EQ(core.FindSubtitleText(48), "A");  // no reader ran: the SubRip cues keep their times
    load("\n\nHello there\n", "unknown.txt");   // nor does a file of unknown format
    EXPECT_TRUE(core.SubIsVobSub);
    // A reader's conversion error ends the load after the reader ran: its cues stay.
    EXPECT_THROW(load("0:00:01:A\n0:00:02:B\n0:0x:03:C\n", "t.txt"), RuntimeError);
    EXPECT_FALSE(core.SubIsVobSub);
    EXPECT_EQ(cues().size(), 2u);
    EXPECT_EQ(core.SubFileName, dir.file("movie.idx"));
}

TEST(TimeBase, MillisecondsToFramesRoundsHalfToEvenAndClamps) {
    const std::tuple<int32_t, double, int32_t> cases[] = {
        // milliseconds, rate, frames
        {3000, 23.976, 72},
        {1999, 25.0, 50},
        {1000, 24.5, 24},
        {-3000, 24.5, -74},  // ties go to even
        {20, 25.0, 0},
        {60, 25.0, 2},
        {-60, 25.0, -2},
        {1900, 25.0, 48},
        {1180, 25.0, 30},   // an exact tie; 1.18 x 25 in 80 bits is 29.4999..
        {5000, 29.9, 149},  // 149.4999.. in 80 bits, where a 64-bit product gives 149.5
        {INT32_MAX, 1001.0, INT32_MAX},
        {INT32_MIN, 2000.0, INT32_MIN},
        {100000000, 21474.836475, INT32_MAX},
    };
    for (const auto& [ms, rate, frames] : cases)
        EXPECT_EQ(MillisecondsToFrames(ms, rate), frames) << ms << " ms at " << rate;
}

// One text for a frame rate wherever one is shown: menu items, probe, doctor; the status bar's
// is read back in FrameRateItemAndItsResetByALoad.
TEST(TimeBase, FrameRatesAsText) {
    EXPECT_EQ(FormatFrameRate(24000 / 1001.0), "23.976023976024");
    EXPECT_EQ(FormatFrameRate(24000 / 1001.0, '.', 6), "23.976");
    EXPECT_EQ(FormatFrameRate(25.0), "25");
    EXPECT_EQ(FormatFrameRate(1e6), "1000000");  // never in exponent form at 15 digits
    std::vector<std::string> captions;
    for (int tag = 0; tag < 6; ++tag) captions.push_back(FrameRateItemCaption(tag));
    EXPECT_EQ(captions, (std::vector<std::string>{"Same As Movie", "23.976", "24.000", "25.000", "29.970", "30.000"}));
}

// The two roundings and the 32-bit range, at the edges the windows and readers never reach.
TEST(NumberRules, TiesGoToTheEvenNeighbourOrAwayFromZeroAndResultsStayInRange) {
    const std::tuple<long double, int32_t, int64_t> cases[] = {
        // value, half to even, half away
        {0.5L, 0, 1},
        {1.5L, 2, 2},
        {2.5L, 2, 3},
        {-2.5L, -2, -3},
        {-0.4L, 0, 0},
        {2.4999L, 2, 2},
        {2147483647.5L, INT32_MAX, 2147483648},
        {-2147483648.5L, INT32_MIN, -2147483649},
        {1e30L, INT32_MAX, INT64_MAX},
        {-1e30L, INT32_MIN, INT64_MIN},
        {NAN, 0, 0},
    };
    for (const auto& [value, even, away] : cases) {
        EXPECT_EQ(RoundHalfEven(value), even) << static_cast<double>(value);
        EXPECT_EQ(RoundHalfAway(static_cast<double>(value)), away) << static_cast<double>(value);
    }
    EXPECT_EQ(RoundHalfEven<int64_t>(4294967296.5L), 4294967296);
    EXPECT_EQ(RoundHalfEven<int64_t>(-1e30L), INT64_MIN);
    EXPECT_EQ(ClampToInt32(int64_t{INT32_MAX} + 1), INT32_MAX);
    EXPECT_EQ(ClampToInt32(int64_t{INT32_MIN} - 1), INT32_MIN);
    EXPECT_EQ(SaturatingAdd(2147483600, 100), INT32_MAX);
    EXPECT_EQ(SaturatingAdd(-2147483600, -100), INT32_MIN);
}

// Streams and entries are counted where a line starts, the file's first line too.
TEST(VobSubIndexScan, CountsLineStartsFromTheFirstLine) {
    const VobSubIndexCounts counts =
        ScanVobSubIndex("id: en, index: 0\ntimestamp: 00:00:01:000, filepos: 0\n x id: no\nid: fr, index: 1\n");
    EXPECT_EQ(counts.streamLines, 2u);
    EXPECT_EQ(counts.entries, 1u);
}

// Decimals up to the 32-bit edge; hexadecimals take all 32 bits, in either letter case.
TEST(NumberRules, TextToNumberStopsAtThe32BitEdge) {
    const std::pair<const char*, int32_t> numbers[] = {
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"+12", 12},
        {"$7fffffff", INT32_MAX},
        {"0xAbCdEf", 0xABCDEF},
        {"x10", 16},
        {"$FFFFFFFF", -1},
        {"-$a", -10},
    };
    for (const auto& [text, value] : numbers) EXPECT_EQ(StrToInt(text), value) << text;
    for (const char* text : {"2147483648", "-2147483649", "$100000000", "", "-", "12a", "$g", "0x"})
        EXPECT_ANY_THROW(StrToInt(text)) << text;
}

// Cues shorter than a second, in one second, each show for their own frames; the ends no
// file time gives stay special at every rate.
TEST_F(Loader, CuesWithinOneSecondShowAndSpecialEndsStaySpecial) {
    load("1\n00:00:01,200 --> 00:00:01,600\nShort\n\n2\n00:00:01,800 --> 00:00:01,900\nShorter\n");
    const std::pair<int32_t, const char*> due[] = {
        {29, ""}, {30, "Short"}, {40, "Short"}, {41, ""}, {44, ""}, {45, "Shorter"}, {48, "Shorter"}, {49, ""},
    };
    for (const auto& [frame, text] : due) EXPECT_EQ(core.FindSubtitleText(frame), text) << frame;
    core.ClearSubList();
    add(0, OpenEndTime, "open");
    add(1000, EndlessTime, "endless");
    for (int tag = 0; tag <= 5; ++tag) {
        core.n005Click(tag);
        EXPECT_EQ(core.FindSubtitleText(0), "") << tag;
        EXPECT_EQ(core.FindSubtitleText(2000000000), "endless") << tag;
    }
}

// Inside the cached interval the list is not consulted; at a cached bound it is. A new rate
// or a new list empties the cache.
TEST_F(Loader, CacheIsStrictAndEmptiedByANewListOrRate) {
    core.SubIsTimeBased = true;
    add(10000, 20000, "a");
    add(30000, 40000, "b");
    EXPECT_EQ(core.FindSubtitleText(15 * 25), "a");
    core.SubList[0]->Text = "changed";
    EXPECT_EQ(core.FindSubtitleText(20 * 25 - 1), "a");
    EXPECT_EQ(core.FindSubtitleText(20 * 25), "changed");
    EXPECT_EQ(core.FindSubtitleText(35 * 25), "b");
    core.n005Click(5);  // 30 fps
    EXPECT_EQ(core.FindSubtitleText(35 * 25), "");
    EXPECT_EQ(core.FindSubtitleText(35 * 30), "b");
    core.ClearSubList();
    add(1000, 2000, "new");
    EXPECT_EQ(core.FindSubtitleText(35 * 30), "");
}

// Long lists, so that the search runs past the levels it keeps ready, in frames and in
// milliseconds (40 ms a frame at 25 fps): every position inside a cue finds it, every gap
// finds nothing. Each position lies outside the interval the one before cached, so the search
// answers each time.
TEST_F(Loader, SearchFindsEveryCueOfALongList) {
    for (const int count : {1, 2, 5, 9000}) {
        core.ClearSubList();
        for (int i = 0; i < count; ++i) add(400 * i, 400 * i + 160, std::to_string(i));
        for (const bool timeBased : {false, true}) {
            core.SubIsTimeBased = timeBased;
            core.ClearLookupCache();  // as a reader does: the cached bounds are in the other unit
            const int32_t scale = timeBased ? 1 : 40;
            for (int i = 0; i < count; i += 1 + count / 300) {
                ASSERT_EQ(core.FindSubtitleText(scale * (10 * i + 4)), std::to_string(i)) << count;
                ASSERT_EQ(core.FindSubtitleText(scale * (10 * i + 7)), "") << count << " gap " << i;
            }
        }
    }
}

struct Expected {
    size_t cues;
    const char* message = nullptr;  // the one message box
    const char* error = nullptr;    // the runtime error
    const char* reader = nullptr;   // when not the one its folder is named for
    const char* first = nullptr;    // "start end" of the first cue, where it is checked
};

const char* const fileError = "Subtitle file error";
const char* const noInteger = "'' is not a valid integer value";

const std::map<std::string, const char*> folderReaders = {
    {"microdvd", "ReadBraceFrames"},   {"srt", "ReadSubRip"},   {"ssa", "ReadSsa"},   {"subviewer2", "ReadSubViewer"},
    {"tmplayer", "ReadTimeColonText"}, {"utf16", "ReadSubRip"}, {"vobsub", "VobSub"}, {"weird", "ReadSubRip"},
};

// Counts from reading the files: SubRip blocks with empty first text lines are dropped,
// negative times fail the digit tests, MPL2 is not frame-numbered, and so on.
const std::map<std::string, Expected> expectations = {
    {"microdvd/gaupol-microdvd.sub", {0, fileError}},  // {-164} is not a number
    {"microdvd/mantas-sub_microdvd_with_styles.sub", {2}},
    {"microdvd/subconvert-microdvd-1.txt", {3}},
    {"microdvd/subtitlesparser-Freaks.sub", {714}},
    {"microdvd/subtitlesparser-Pirates_of_Caraibean_CD1.sub", {421}},
    {"microdvd/swiftsubtitles-97620.sub", {684}},
    {"srt/astisub-example-in-styled.srt", {10}},
    {"srt/mantas-srt.srt", {2, nullptr, nullptr, nullptr, "137400 140400"}},
    {"srt/pysrt-capability_tester.srt", {37}},
    {"srt/pysrt-windows-1252.srt", {1332}},
    {"srt/subtitlesparser-Salvage.SRT", {474}},
    {"srt/swiftsubtitles-zorro.srt", {1291}},  // 1293 blocks, 2 without text
    {"ssa/astisub-example-in.ssa", {6}},
    {"ssa/mantas-ass_different_format2.ass", {2}},
    // Four-field events: the start time is taken as the dropped first field.
    {"ssa/mantas-ass_different_format3.ass", {0, nullptr, noInteger}},
    {"ssa/pysubs2-subtitle_with_attached_images_aegisub.ass", {1}},
    {"ssa/subtitlesparser-HP2.ssa", {622}},
    {"ssa/swiftsubtitles-sample1.ssa", {2, nullptr, nullptr, nullptr, "101700 106840"}},
    {"subviewer2/gaupol-subviewer2.sub", {8, nullptr, nullptr, nullptr, "950 3360"}},
    // Without a header the first timing line looks like an "H:MM:SS:text" line.
    {"subviewer2/mantas-sub_viewer.sub", {1, nullptr, noInteger, "ReadTimeColonText"}},
    {"subviewer2/mantas-sub_viewer_with_headers.sub", {2}},
    {"subviewer2/subconvert-subviewer-1.txt", {2}},
    {"subviewer2/subtitlesparser-battlestar.galactica.s03e09.sub", {336}},
    {"tmplayer/gaupol-tmplayer-1.txt", {0, unknownFormat, nullptr, ""}},  // starts with "-0:"
    {"tmplayer/gaupol-tmplayer-2.txt", {0, unknownFormat, nullptr, ""}},
    {"tmplayer/subconvert-tmp-1.txt", {2}},
    {"utf16/astisub-example-in-non-utf8.srt", {0, fileError}},  // 00:01:39 has no ",ms"
    {"utf16/mantas-utf16.srt", {1}},
    {"utf16/pysrt-bom-utf-16-le.srt", {7}},
    {"utf16/swiftsubtitles-utf16-test.srt", {2}},
    {"vobsub/example.idx", {0}},
    {"vobsub/example.sub", {0}},
    {"vobsub/tiny.idx", {0}},
    {"vobsub/tiny.sub", {0}},
    {"vobsub/tiny-split.idx", {0}},
    {"vobsub/tiny-split.sub", {0}},
    {"weird/astisub-example-in-carriage-return.srt", {0, fileError}},
    {"weird/astisub-example-in-carriage-return.ssa", {3, nullptr, nullptr, "ReadSsa"}},
    {"weird/astisub-example-in.srt", {0, fileError}},
    {"weird/astisub-missing-sequence-in.srt",
     {0, nullptr, "'39 --> 00' is not a valid integer value", "ReadTimeColonText"}},
    {"weird/gaupol-mpl2.txt", {0, fileError, nullptr, "ReadBracketFrames"}},
    {"weird/gaupol-subrip.srt", {0, fileError}},
    {"weird/pysrt-bom-utf-16-be.srt", {7}},
    {"weird/pysrt-empty.srt", {5}},
    {"weird/pysrt-invalid.srt", {0, fileError}},
    {"weird/subtitlesparser-20140117-211217_invalidSub", {0, unknownFormat, nullptr, ""}},
    {"weird/subtitlesparser-Jack_the_Giant_Slayer.srt", {0, unknownFormat, nullptr, ""}},
};

TEST(Corpus, EveryFileLoadsAsExpected) {
    const std::filesystem::path root = TESSAVIEW_CORPUS_DIR;
    if (!std::filesystem::exists(root))
        GTEST_SKIP() << "the subtitle corpus is not at " << root.string() << " (it is not part of the repository)";
    size_t seen = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file() || entry.path().filename() == "SOURCES.md") continue;
        const std::string name = entry.path().lexically_relative(root).generic_string();
        SCOPED_TRACE(name);
        TempDir dir;
        RecordingHost host;
        SubtitleCore core(host, dir.path());
        core.SetAnsiCodePage("UTF-8");
        core.EngineFrameRate = core.MovieFrameRate = 25.0;
        const std::string error = errorOf([&] { core.LoadSubtitle(entry.path().string()); });
        for (int32_t frame = -100; frame < 200000; frame += 97) core.FindSubtitleText(frame);
        const auto it = expectations.find(name);
        ASSERT_NE(it, expectations.end()) << "no expectation for a new corpus file";
        ++seen;
        const Expected& want = it->second;
        const std::string folder = name.substr(0, name.find('/'));
        EXPECT_EQ(core.LastReader(), want.reader ? want.reader : folderReaders.at(folder));
        EXPECT_EQ(core.SubList.size(), want.cues);
        EXPECT_EQ(host.messages, want.message ? Strings{want.message} : Strings{});
        EXPECT_EQ(error, want.error ? want.error : "no error");
        if (want.first && !core.SubList.empty()) {
            EXPECT_EQ(std::to_string(core.SubList[0]->StartTime) + " " + std::to_string(core.SubList[0]->EndTime),
                      want.first);
        }
    }
    EXPECT_EQ(seen, expectations.size());
}

}  // namespace
}  // namespace tessaview::testing
