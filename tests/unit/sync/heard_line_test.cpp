// Heard Now's arithmetic: one line gives a shift, two a minute apart a rate and a shift, two
// closer than that only the shift of the last one; and the sentence on the picture.
#include "sync/heard_line.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tessaview::testing {
namespace {

TEST(HeardLine, OneLineShiftsTwoAMinuteApartFitTheRateAndCloserOnesOnlyShift) {
    // One line: 10 s in the subtitle, heard at 12.4 s.
    const HeardLine first{10000, 12400};
    SyncResult result = FitHeardLines(std::nullopt, first);
    EXPECT_EQ(result.rate, 1.0);
    EXPECT_EQ(result.ShiftMs(), 2400);
    EXPECT_EQ(DescribeHeard(result, first.cueMs), "Moved 2.40 s later");

    // A subtitle timed at 25 fps on a 23.976 fps movie: both lines land where they were heard.
    const double drift = 25 / 23.976;
    const HeardLine late{1000000, std::llround(1000000 * drift) + 2400 - std::llround(10000 * drift - 10000)};
    result = FitHeardLines(first, late);
    EXPECT_NEAR(result.rate, drift, 1e-6);
    EXPECT_EQ(result.CorrectedTime(0, late.cueMs), late.movieMs);
    EXPECT_NEAR(static_cast<double>(result.CorrectedTime(7, first.cueMs)), 12400.0, 1.0);
    EXPECT_EQ(DescribeHeard(result, late.cueMs), "Moved 44.68 s later, rate 1.0427");

    // The order of the clicks does not matter, nor a movie earlier than the subtitle.
    result = FitHeardLines(late, first);
    EXPECT_NEAR(result.rate, drift, 1e-6);
    EXPECT_EQ(result.CorrectedTime(0, first.cueMs), first.movieMs);
    EXPECT_EQ(DescribeHeard(FitHeardLines(std::nullopt, {5000, 3750}), 5000), "Moved 1.25 s earlier");

    // 59.999 s apart: only the last line counts.
    result = FitHeardLines(first, {first.cueMs + HeardRateSpanMs - 1, 80000});
    EXPECT_EQ(result.rate, 1.0);
    EXPECT_EQ(result.ShiftMs(), 80000 - (first.cueMs + HeardRateSpanMs - 1));
    // A minute apart, but heard in the wrong order: no rate could say so.
    result = FitHeardLines(first, {first.cueMs + HeardRateSpanMs, 1000});
    EXPECT_EQ(result.rate, 1.0);
    EXPECT_EQ(result.ShiftMs(), 1000 - 70000);
    EXPECT_EQ(DescribeHeard(FitHeardLines(std::nullopt, {5000, 5000}), 5000), "Already in step");
}

}  // namespace
}  // namespace tessaview::testing
