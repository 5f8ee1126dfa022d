// Tests of the library's plain parts: broken units, the timeline lookup, language names.
#include <gtest/gtest.h>

#include <cstring>

#include "external/ffmpeg/language_names.h"
#include "external/ffmpeg/picture_index.h"
#include "external/ffmpeg/spu_timing.h"
#include "unit/vobsub/vobsub_pair_writer.h"

namespace tessaview {
namespace {

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
}

TEST(PictureTimeline, DuePictureFollowsStartsAndEnds) {
    // Out of order in the file; an open end lasts to the next start; the next start cuts an
    // overlapping picture short; the last open picture lasts for ever.
    std::vector<IndexedPicture> pictures;
    using Times = std::pair<int64_t, int64_t>;
    const Times times[]{{5000, 6000}, {1000, OpenEndMs}, {3000, 9000}, {7000, OpenEndMs}};
    for (const auto& [start, end] : times) pictures.push_back({start, end, pictures.size(), 0});
    finishTimeline(pictures);
    const std::pair<int64_t, int64_t> cases[]{{999, -1}, {1000, 0}, {2999, 0}, {3000, 1},  {4999, 1},
                                              {5999, 2}, {6000, -1}, {6999, -1}, {7000, 3}, {100000000, 3}};
    for (const auto& [ms, expected] : cases) EXPECT_EQ(findDuePicture(pictures, ms), expected) << "at " << ms;
    EXPECT_EQ(pictures[0].offset, 1u);
    EXPECT_EQ(findDuePicture({}, 1500), -1);
}

TEST(LanguageNames, CodesGiveHumanNamesCutToTheBuffer) {
    const std::pair<std::string, std::string> cases[]{
        {"FR", "French"}, {"", "Undetermined"}, {"qq", "qq"}, {"k\x01l", "kl"}};
    for (const auto& [code, name] : cases) EXPECT_EQ(languageName(code), name) << "code " << code;
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    copyZeroTerminated("Portuguese", buffer, 6);
    EXPECT_STREQ(buffer, "Portu");
    EXPECT_EQ(buffer[6], 'x');
}

}  // namespace
}  // namespace tessaview
