// Tests of the library's plain parts: unit timing, the timeline lookup, language names.
#include <gtest/gtest.h>

#include <cstring>

#include "external/ffmpeg/language_names.h"
#include "external/ffmpeg/picture_index.h"
#include "external/ffmpeg/spu_timing.h"
#include "unit/vobsub/vobsub_pair_writer.h"

namespace tessaview {
namespace {

std::optional<SpuTiming> timingOf(const std::vector<uint8_t>& unit) { return readSpuTiming(unit.data(), unit.size()); }

TEST(SpuTiming, DatesGiveTheDecodersMillisecondsAndAStopNotAfterTheStartNoEnd) {
    using testpair::effectiveDurationMs;
    const struct {
        int64_t startDelay;
        std::optional<int64_t> stop;
        std::optional<int64_t> expectedStop;
    } cases[] = {
        {0, 2000, effectiveDurationMs(2000)},
        {0, std::nullopt, std::nullopt},
        {0, 0, std::nullopt},  // stop date equal to the start date
        {500, 2000, effectiveDurationMs(2000)},
        {500, 500, std::nullopt},
        {500, 400, std::nullopt},
    };
    for (const auto& c : cases) {
        testpair::Picture picture;
        picture.startDelayMs = c.startDelay;
        picture.durationMs = c.stop;
        const auto timing = timingOf(testpair::subpictureUnit(picture));
        ASSERT_TRUE(timing);
        EXPECT_EQ(timing->startDelayMs, effectiveDurationMs(c.startDelay)) << c.startDelay;
        EXPECT_EQ(timing->stopDelayMs, c.expectedStop) << c.startDelay << " " << c.stop.value_or(-1);
    }
}

TEST(SpuTiming, BrokenUnitsAreRefused) {
    const std::vector<uint8_t> whole = testpair::subpictureUnit(testpair::Picture{});
    const size_t control = size_t(whole[2]) << 8 | whole[3];
    // The unit with the 16-bit word at `at` replaced.
    const auto with = [&](size_t at, size_t word) {
        std::vector<uint8_t> unit = whole;
        unit[at] = uint8_t(word >> 8);
        unit[at + 1] = uint8_t(word);
        return unit;
    };
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
}

std::vector<IndexedPicture> timeline(std::initializer_list<std::pair<int64_t, int64_t>> times) {
    std::vector<IndexedPicture> pictures;
    for (const auto& [start, end] : times) pictures.push_back(IndexedPicture{start, end, pictures.size(), 0});
    finishTimeline(pictures);
    return pictures;
}

TEST(PictureTimeline, DuePictureFollowsStartsAndEnds) {
    // Out of order in the file; an open end lasts to the next start; the next start cuts an
    // overlapping picture short; the last open picture lasts for ever.
    const auto pictures = timeline({{5000, 6000}, {1000, OpenEndMs}, {3000, 9000}, {7000, OpenEndMs}});
    const std::vector<std::pair<int64_t, int64_t>> cases{
        {0, -1}, {999, -1}, {1000, 0}, {2999, 0}, {3000, 1}, {4999, 1}, {5000, 2},
        {5999, 2}, {6000, -1}, {6999, -1}, {7000, 3}, {100000000, 3}};
    for (const auto& [ms, expected] : cases) EXPECT_EQ(findDuePicture(pictures, ms), expected) << "at " << ms;
    EXPECT_EQ(pictures[0].offset, 1u);
}

TEST(PictureTimeline, LaterOfTwoPicturesWithOneStartWins) {
    const auto pictures = timeline({{1000, 2000}, {1000, 3000}});
    EXPECT_EQ(findDuePicture(pictures, 1500), 1);
    EXPECT_EQ(findDuePicture(pictures, 2500), 1);
    EXPECT_EQ(findDuePicture({}, 1500), -1);
}

TEST(LanguageNames, CodesGiveHumanNamesCutToTheBuffer) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"FR", "French"}, {"", "Undetermined"}, {"qq", "qq"}, {"k\x01l", "kl"}};
    for (const auto& [code, name] : cases) EXPECT_EQ(languageName(code), name) << "code " << code;

    // The copy stops at the buffer's end.
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    copyZeroTerminated("Portuguese", buffer, 6);
    EXPECT_STREQ(buffer, "Portu");
    EXPECT_EQ(buffer[6], 'x');
    copyZeroTerminated("", buffer, 6);
    EXPECT_STREQ(buffer, "");
}

}  // namespace
}  // namespace tessaview
