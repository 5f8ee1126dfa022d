// Every file of the shared corpus loads without a crash and gives the cues its text shows.
#include "subtitle_test_support.h"

#include <filesystem>
#include <map>

namespace tessaview::testing {
namespace {

struct Expected {
    size_t cues;
    const char* message = nullptr;  // the one message box
    const char* error = nullptr;    // the runtime error
    const char* reader = nullptr;   // when not the one its folder is named for
    const char* first = nullptr;    // "start end" of the first cue, where it is checked
};

const char* const fileError = "Subtitle file error";
const char* const unknown = "Unknown subtitle file format, Please contact to support@tessaview.org !!!";
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
    {"tmplayer/gaupol-tmplayer-1.txt", {0, unknown, nullptr, ""}},  // starts with "-0:"
    {"tmplayer/gaupol-tmplayer-2.txt", {0, unknown, nullptr, ""}},
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
    {"weird/subtitlesparser-20140117-211217_invalidSub", {0, unknown, nullptr, ""}},
    {"weird/subtitlesparser-Jack_the_Giant_Slayer.srt", {0, unknown, nullptr, ""}},
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
