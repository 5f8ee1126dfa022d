// Tests of the library's plain parts: broken units and the language name's copy.
#include <gtest/gtest.h>

#include <cstring>

#include "external/ffmpeg/language_names.h"
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

// A code in any letter case, stray bytes left out; the name cut to the caller's buffer.
TEST(LanguageNames, CodesGiveHumanNamesCutToTheBuffer) {
    EXPECT_EQ(languageName("F\x01R"), "French");
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    copyZeroTerminated("Portuguese", buffer, 6);
    EXPECT_STREQ(buffer, "Portu");
    EXPECT_EQ(buffer[6], 'x');
}

}  // namespace
}  // namespace tessaview
