// Tests of the library's plain parts: broken units, the timeline and the language name's copy;
// and text tracks taken out of movies that ffmpeg makes here, with the movies' timing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "external/ffmpeg/ffmpeg_text_tracks.h"
#include "external/ffmpeg/language_names.h"
#include "external/ffmpeg/picture_index.h"
#include "external/ffmpeg/spu_timing.h"
#include "support/temp_dir.h"
#include "unit/vobsub/vobsub_pair_writer.h"

namespace tessaview {
namespace {

TEST(SpuTiming, BrokenUnitsAreRefusedAndAUnitFilledToItsLastByteIsRead) {
    const std::vector<uint8_t> whole = testpair::subpictureUnit(testpair::Picture{});
    const size_t control = size_t(whole[2]) << 8 | whole[3];
    // The unit with the 16-bit word at `at` replaced.
    const auto with = [&](size_t at, size_t word) {
        std::vector<uint8_t> unit = whole;
        unit[at] = uint8_t(word >> 8);
        unit[at + 1] = uint8_t(word);
        return unit;
    };
    const auto timingOf = [](const std::vector<uint8_t>& u) { return readSpuTiming(u.data(), u.size()); };
    // Cut short, control outside the unit, a size below the header, the area command's
    // last argument cut off by the declared size, nothing at all.
    for (const auto& unit : {std::vector<uint8_t>(whole.begin(), whole.end() - 3), with(2, 0xff00 | whole[3]),
                             with(0, 2), with(0, control + 17), std::vector<uint8_t>{}})
        EXPECT_FALSE(timingOf(unit)) << "unit of " << unit.size() << " bytes";
    // A control sequence pointing backwards, or past the unit, ends the walk.
    for (const size_t next : {4, 0xffff}) {
        const auto timing = timingOf(with(control + 2, next));
        ASSERT_TRUE(timing);
        EXPECT_FALSE(timing->stopDelayMs);
    }
    // Header, then one control sequence whose only command (stop) is the unit's last byte.
    const auto tight = timingOf({0, 9, 0, 4, 0, 0x10, 0, 4, 0x02});
    ASSERT_TRUE(tight);
    EXPECT_TRUE(tight->stopDelayMs);
}

// Out of file order; an open or overlapping picture ends where the next starts; of two with
// one start the later in the file wins. Due pictures are named by their offset.
TEST(PictureTimeline, DuePictureFollowsStartsAndEnds) {
    std::vector<IndexedPicture> pictures{
        {5000, 6000, 0}, {1000, OpenEndMs, 1}, {3000, 9000, 2}, {3000, 4000, 3}, {7000, OpenEndMs, 4}};
    finishTimeline(pictures);
    const std::pair<int64_t, int> cases[] = {{999, -1}, {1000, 1},  {2999, 1}, {3000, 3},     {4000, -1},
                                             {5999, 0}, {6000, -1}, {7000, 4}, {100000000, 4}};
    for (const auto& [ms, offset] : cases) {
        const int64_t due = findDuePicture(pictures, ms);
        EXPECT_EQ(due < 0 ? -1 : int(pictures[due].offset), offset) << "at " << ms;
    }
}

// A code in any letter case, stray bytes left out; the name cut to the caller's buffer.
TEST(LanguageNames, CodesGiveHumanNamesCutToTheBuffer) {
    EXPECT_EQ(languageName("F\x01R"), "French");
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    copyZeroTerminated("Portuguese", buffer, 6);
    EXPECT_STREQ(buffer, "Portu");
    EXPECT_EQ(buffer[6], 'x');
}

TEST(FfmpegTextTracks, FirstTextTrackComesBackAsItsFileAndTheMovieTellsItsTiming) {
    const std::string dialogue = "Dialogue: 0,0:00:00.50,0:00:01.25,Default,,0,0,0,,Hi\\Nthere";
    const std::string ass =
        "[Script Info]\nScriptType: v4.00+\n\n[Events]\nFormat: Layer, Start, End, "
        "Style, Name, MarginL, MarginR, MarginV, Effect, Text\n" +
        dialogue + "\n";
    // ffmpeg's subtitle encoder and the file it reads, the lines that must come back.
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"srt", "1\n00:00:00,050 --> 00:00:01,005\nHello\n", "00:00:00,050 --> 00:00:01,005\r\nHello\r\n"},
        {"ass", ass, dialogue + "\r\n"}};
    const test::TempDir dir;
    const auto tracks = CreateFfmpegTextTracks();
    for (const auto& [codec, text, lines] : cases) {
        const std::string movie = dir.file(codec + ".mkv");
        const std::string input = dir.write("in." + codec, text);
        const std::string make = "ffmpeg -loglevel error -nostdin -f lavfi -i color=s=32x32:r=25:d=2 -i " + input +
                                 " -c:v mpeg4 -c:s " + codec + " " + movie;
        ASSERT_EQ(std::system(make.c_str()), 0) << make;
        const std::optional<TextTrack> track = tracks->FirstTextTrack(movie);
        ASSERT_TRUE(track) << codec;
        EXPECT_EQ(track->extension, "." + codec);
        EXPECT_EQ(track->text.substr(0, 3), "\xEF\xBB\xBF");
        EXPECT_NE(track->text.find(lines), std::string::npos) << track->text;
    }
    const std::optional<MovieTiming> timing = tracks->ReadMovieTiming(dir.file("ass.mkv"));
    ASSERT_TRUE(timing);
    EXPECT_DOUBLE_EQ(timing->frameRate, 25.0);
    EXPECT_NEAR(timing->lengthSeconds, 2.0, 0.1);
    EXPECT_FALSE(tracks->FirstTextTrack(dir.file("none.mkv")));
    // Told to stop (another movie opened), a read answers nothing.
    std::stop_source stopped;
    stopped.request_stop();
    EXPECT_FALSE(tracks->FirstTextTrack(dir.file("srt.mkv"), stopped.get_token()));
    EXPECT_FALSE(tracks->ReadMovieTiming(dir.file("none.mkv")));
}

}  // namespace
}  // namespace tessaview
