// Every file of the shared corpus loads without a crash and gives the cues its text shows.
#include "subtitle_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace tessaview::testing {
namespace {

struct Expected {
    const char* reader;  // nullptr: none ran
    size_t cues;
    const char* message;  // the one message box, or nullptr
    const char* error;    // the runtime error, or nullptr
};

const char* const NoCorpus = "the subtitle corpus is not at " TESSAVIEW_CORPUS_DIR " (it is not part of the repository)";
const char* const fileError = "Subtitle file error";
const char* const unknown = "Unknown subtitle file format, Please contact to support@tessaview.org !!!";

// Counts from reading the files: SubRip blocks with empty first text lines are dropped,
// negative times fail the digit tests, MPL2 is not frame-numbered, and so on.
const std::map<std::string, Expected> expectations = {
    {"microdvd/gaupol-microdvd.sub", {"ReadBraceFrames", 0, fileError, nullptr}},  // {-164} is not a number
    {"microdvd/mantas-sub_microdvd_with_styles.sub", {"ReadBraceFrames", 2, nullptr, nullptr}},
    {"microdvd/subconvert-microdvd-1.txt", {"ReadBraceFrames", 3, nullptr, nullptr}},
    {"microdvd/subtitlesparser-Freaks.sub", {"ReadBraceFrames", 714, nullptr, nullptr}},
    {"microdvd/subtitlesparser-Pirates_of_Caraibean_CD1.sub", {"ReadBraceFrames", 421, nullptr, nullptr}},
    {"microdvd/swiftsubtitles-97620.sub", {"ReadBraceFrames", 684, nullptr, nullptr}},
    {"srt/astisub-example-in-styled.srt", {"ReadSubRip", 10, nullptr, nullptr}},
    {"srt/mantas-srt.srt", {"ReadSubRip", 2, nullptr, nullptr}},
    {"srt/pysrt-capability_tester.srt", {"ReadSubRip", 37, nullptr, nullptr}},
    {"srt/pysrt-windows-1252.srt", {"ReadSubRip", 1332, nullptr, nullptr}},
    {"srt/subtitlesparser-Salvage.SRT", {"ReadSubRip", 474, nullptr, nullptr}},
    {"srt/swiftsubtitles-zorro.srt", {"ReadSubRip", 1291, nullptr, nullptr}},  // 1293 blocks, 2 without text
    {"ssa/astisub-example-in.ssa", {"ReadSsa", 6, nullptr, nullptr}},
    {"ssa/mantas-ass_different_format2.ass", {"ReadSsa", 2, nullptr, nullptr}},
    // Four-field events: the start time is taken as the dropped first field.
    {"ssa/mantas-ass_different_format3.ass", {"ReadSsa", 0, nullptr, "'' is not a valid integer value"}},
    {"ssa/pysubs2-subtitle_with_attached_images_aegisub.ass", {"ReadSsa", 1, nullptr, nullptr}},
    {"ssa/subtitlesparser-HP2.ssa", {"ReadSsa", 622, nullptr, nullptr}},
    {"ssa/swiftsubtitles-sample1.ssa", {"ReadSsa", 2, nullptr, nullptr}},
    {"subviewer2/gaupol-subviewer2.sub", {"ReadSubViewer", 8, nullptr, nullptr}},
    // Without a header the first timing line looks like an "H:MM:SS:text" line.
    {"subviewer2/mantas-sub_viewer.sub", {"ReadTimeColonText", 1, nullptr, "'' is not a valid integer value"}},
    {"subviewer2/mantas-sub_viewer_with_headers.sub", {"ReadSubViewer", 2, nullptr, nullptr}},
    {"subviewer2/subconvert-subviewer-1.txt", {"ReadSubViewer", 2, nullptr, nullptr}},
    {"subviewer2/subtitlesparser-battlestar.galactica.s03e09.sub", {"ReadSubViewer", 336, nullptr, nullptr}},
    {"tmplayer/gaupol-tmplayer-1.txt", {nullptr, 0, unknown, nullptr}},  // starts with "-0:"
    {"tmplayer/gaupol-tmplayer-2.txt", {nullptr, 0, unknown, nullptr}},
    {"tmplayer/subconvert-tmp-1.txt", {"ReadTimeColonText", 2, nullptr, nullptr}},
    {"utf16/astisub-example-in-non-utf8.srt", {"ReadSubRip", 0, fileError, nullptr}},  // 00:01:39 has no ",ms"
    {"utf16/mantas-utf16.srt", {"ReadSubRip", 1, nullptr, nullptr}},
    {"utf16/pysrt-bom-utf-16-le.srt", {"ReadSubRip", 7, nullptr, nullptr}},
    {"utf16/swiftsubtitles-utf16-test.srt", {"ReadSubRip", 2, nullptr, nullptr}},
    {"vobsub/example.idx", {"VobSub", 0, nullptr, nullptr}},
    {"vobsub/example.sub", {"VobSub", 0, nullptr, nullptr}},
    {"vobsub/tiny.idx", {"VobSub", 0, nullptr, nullptr}},
    {"vobsub/tiny.sub", {"VobSub", 0, nullptr, nullptr}},
    {"vobsub/tiny-split.idx", {"VobSub", 0, nullptr, nullptr}},
    {"vobsub/tiny-split.sub", {"VobSub", 0, nullptr, nullptr}},
    {"weird/astisub-example-in-carriage-return.srt", {"ReadSubRip", 0, fileError, nullptr}},
    {"weird/astisub-example-in-carriage-return.ssa", {"ReadSsa", 3, nullptr, nullptr}},
    {"weird/astisub-example-in.srt", {"ReadSubRip", 0, fileError, nullptr}},
    {"weird/astisub-missing-sequence-in.srt", {"ReadTimeColonText", 0, nullptr, "'39 --> 00' is not a valid integer value"}},
    {"weird/gaupol-mpl2.txt", {"ReadBracketFrames", 0, fileError, nullptr}},
    {"weird/gaupol-subrip.srt", {"ReadSubRip", 0, fileError, nullptr}},
    {"weird/pysrt-bom-utf-16-be.srt", {"ReadSubRip", 7, nullptr, nullptr}},
    {"weird/pysrt-empty.srt", {"ReadSubRip", 5, nullptr, nullptr}},
    {"weird/pysrt-invalid.srt", {"ReadSubRip", 0, fileError, nullptr}},
    {"weird/subtitlesparser-20140117-211217_invalidSub", {nullptr, 0, unknown, nullptr}},
    {"weird/subtitlesparser-Jack_the_Giant_Slayer.srt", {nullptr, 0, unknown, nullptr}},
};

TEST(Corpus, EveryFileLoadsAsExpected)
{
    const std::filesystem::path root = TESSAVIEW_CORPUS_DIR;
    if (!std::filesystem::exists(root))
        GTEST_SKIP() << NoCorpus;
    size_t seen = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file() || entry.path().filename() == "SOURCES.md")
            continue;
        const std::string name = entry.path().lexically_relative(root).generic_string();
        SCOPED_TRACE(name);
        TempDir dir;
        RecordingHost host;
        SubtitleCore core(host, dir.path());
        core.SetAnsiCodePage("UTF-8");
        core.EngineFrameRate = core.MovieFrameRate = 25.0;
        const std::string error = errorOf([&] { core.LoadSubtitle(entry.path().string()); });
        for (int32_t frame = -100; frame < 200000; frame += 97)
            core.FindSubtitleText(frame);
        const auto it = expectations.find(name);
        if (it == expectations.end()) {
            ADD_FAILURE() << "no expectation for a new corpus file";
            continue;
        }
        ++seen;
        const Expected& want = it->second;
        EXPECT_EQ(core.LastReader(), want.reader ? want.reader : "");
        EXPECT_EQ(core.SubList.size(), want.cues);
        EXPECT_EQ(host.messages, want.message ? Strings{want.message} : Strings{});
        EXPECT_EQ(error, want.error ? want.error : "no error");
    }
    EXPECT_EQ(seen, expectations.size());
}

}  // namespace
}  // namespace tessaview::testing
