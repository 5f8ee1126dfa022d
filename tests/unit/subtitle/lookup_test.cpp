// Cue times to frames, and the lookup with its cache.
#include "subtitle/time_base.h"
#include "subtitle_test_support.h"

namespace tessaview::testing {
namespace {

class Lookup : public CoreTest {
protected:
    void add(int32_t start, int32_t end, const std::string& text)
    {
        core.SubList.push_back(std::make_unique<TTimeSpan>(TTimeSpan{start, end, text}));
    }
};

TEST(TimeBase, SecondsToFramesRoundsHalfToEvenAndClamps)
{
    const struct {
        int32_t seconds;
        double rate;
        int32_t frames;
    } cases[] = {
        {3, 23.976, 72},   {7205, 23.976, 172747},  {-3, 24.5, -74},  {1, 25.5, 26},  // ties go to even
        {5, 29.9, 149},  // 149.4999.. in 80 bits, where a 64-bit product gives 149.5
        {EndlessTime, 30.0, INT32_MAX},  {INT32_MIN, 2.0, INT32_MIN},
        {100000000, 21.47483647, 2147483647}, {100000000, 21.474836475, INT32_MAX},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SecondsToFrames(c.seconds, c.rate), c.frames) << c.seconds << " s at " << c.rate;
}

// Inside the cached interval the list is not consulted; at a cached bound it is. A new rate
// or a new list empties the cache.
TEST_F(Lookup, CacheIsStrictAndEmptiedByANewListOrRate)
{
    core.SubIsTimeBased = true;
    add(10, 20, "a");
    add(30, 40, "b");
    EXPECT_EQ(core.FindSubtitleText(15 * 25), "a");
    core.SubList[0]->Text = "changed";
    EXPECT_EQ(core.FindSubtitleText(20 * 25 - 1), "a");
    EXPECT_EQ(core.FindSubtitleText(20 * 25), "changed");
    EXPECT_EQ(core.FindSubtitleText(35 * 25), "b");
    core.n005Click(5);  // 30 fps
    EXPECT_EQ(core.FindSubtitleText(35 * 25), "");
    EXPECT_EQ(core.FindSubtitleText(35 * 30), "b");
    core.ClearSubList();
    add(1, 2, "new");
    EXPECT_EQ(core.FindSubtitleText(35 * 30), "");
}

// Long lists, so that the search runs past the levels it keeps ready, in frames and in
// seconds: every position inside a cue finds it, every gap finds nothing.
TEST_F(Lookup, SearchFindsEveryCueOfALongList)
{
    for (const int count : {1, 2, 5, 9000}) {
        core.ClearSubList();
        for (int i = 0; i < count; ++i)
            add(10 * i, 10 * i + 4, std::to_string(i));
        for (const bool timeBased : {false, true}) {
            core.SubIsTimeBased = timeBased;
            const int32_t scale = timeBased ? 25 : 1;
            for (int i = 0; i < count; i += 1 + count / 300) {
                core.ClearLookupCache();  // the search itself, not the cache
                ASSERT_EQ(core.FindSubtitleText(scale * (10 * i + 4)), std::to_string(i)) << count;
                core.ClearLookupCache();
                ASSERT_EQ(core.FindSubtitleText(scale * (10 * i + 7)), "") << count << " gap " << i;
            }
        }
    }
}

}  // namespace
}  // namespace tessaview::testing
