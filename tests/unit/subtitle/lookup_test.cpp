// Cue times to frames, the lookup with its cache, and the Subtitle FrameRate choice.
#include "subtitle/time_base.h"
#include "subtitle_test_support.h"

#include <gtest/gtest.h>

#include <random>

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
        {1, 23.976, 24},   {3, 23.976, 72},   {1, 29.97, 30},      {10, 29.97, 300},
        {5, 29.9, 149},  // 149.4999.. in 80 bits, where a 64-bit product gives 149.5
        {1, 24.5, 24},     {3, 24.5, 74},     {1, 25.5, 26},  // ties go to even
        {-1, 24.5, -24},   {-3, 24.5, -74},   {0, 30.0, 0},        {7205, 23.976, 172747},
        {EndlessTime, 23.976, INT32_MAX},     {EndlessTime, 1.0, INT32_MAX},
        {INT32_MIN, 2.0, INT32_MIN},          {-1, 23.976, -24},   {OpenEndTime, 25.0, -25},
        {100000000, 21.47483647, 2147483647}, {100000000, 21.474836475, INT32_MAX},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SecondsToFrames(c.seconds, c.rate), c.frames) << c.seconds << " s at " << c.rate;
}

TEST_F(Lookup, OpenEndNeverShowsAndEndlessShowsAtEveryRate)
{
    core.SubIsTimeBased = true;
    add(10, OpenEndTime, "open");
    add(20, EndlessTime, "endless");
    for (int tag = 1; tag <= 5; ++tag) {
        core.n005Click(tag);
        const int32_t start = SecondsToFrames(20, core.MovieFrameRate);
        EXPECT_EQ(core.FindSubtitleText(SecondsToFrames(10, core.MovieFrameRate)), "") << tag;
        EXPECT_EQ(core.FindSubtitleText(start - 1), "") << tag;
        EXPECT_EQ(core.FindSubtitleText(start), "endless") << tag;
        EXPECT_EQ(core.FindSubtitleText(INT32_MAX - 1), "endless") << tag;
        EXPECT_EQ(core.FindSubtitleText(INT32_MAX), "endless") << tag;
    }
}

TEST_F(Lookup, CacheIsStrictWrittenByAHitAndEmptiedByANewListOrRate)
{
    add(10, 20, "a");
    add(30, 40, "b");
    EXPECT_EQ(core.FindSubtitleText(15), "a");
    // Inside the cached interval the list is not consulted; at a cached bound it is.
    core.SubList[0]->Text = "changed";
    EXPECT_EQ(core.FindSubtitleText(19), "a");
    EXPECT_EQ(core.FindSubtitleText(20), "changed");
    EXPECT_EQ(core.FindSubtitleText(25), "");
    EXPECT_EQ(core.LastSpanText, "changed");  // a miss keeps the cache
    EXPECT_EQ(core.FindSubtitleText(35), "b");
    EXPECT_EQ(core.FindSubtitleText(12), "changed");  // seeking back finds by search
    // Same count, new records; then times changed in place and announced.
    core.SubList.clear();
    add(100, 200, "c");
    add(300, 400, "d");
    EXPECT_EQ(core.FindSubtitleText(150), "c");
    core.SubList[1]->StartTime = 250;
    core.SubListChanged();
    EXPECT_EQ(core.FindSubtitleText(260), "d");
    // A new unit or rate converts again and empties the cache.
    core.SubIsTimeBased = true;
    EXPECT_EQ(core.FindSubtitleText(260 * 25), "d");
    core.n005Click(5);  // 30 fps
    EXPECT_EQ(core.LastSpanText, "");
    EXPECT_EQ(core.FindSubtitleText(260 * 25), "");
    EXPECT_EQ(core.FindSubtitleText(260 * 30), "d");
    core.ClearSubList();
    add(1, 2, "new");
    EXPECT_EQ(core.FindSubtitleText(260 * 30), "");
}

// The lookup as written out step by step, converting each cue when it is met: with shared
// bounds the cue the search meets first wins, so the reference must take the same steps.
std::string referenceLookup(const SubtitleCore& core, int32_t p)
{
    const auto contains = [&](size_t i) {
        return core.SpanToPosition(core.SubList[i]->StartTime) <= p && core.SpanToPosition(core.SubList[i]->EndTime) >= p;
    };
    if (core.SubList.empty())
        return "";
    size_t lo = 0;
    size_t hi = core.SubList.size() - 1;
    for (;;) {
        const size_t mid = (lo + hi) / 2;
        if (contains(mid))
            return core.SubList[mid]->Text;
        if (hi - lo == 0)
            return "";
        if (hi - lo == 1)
            return contains(hi) ? core.SubList[hi]->Text : "";
        if (core.SpanToPosition(core.SubList[mid]->StartTime) > p)
            hi = mid;
        else
            lo = mid;
    }
}

TEST_F(Lookup, SearchMatchesTheStepByStepLookupOnAnyList)
{
    std::mt19937 random(5);
    for (int round = 0; round < 200; ++round) {
        core.ClearSubList();
        core.SubIsTimeBased = round % 2 == 0;
        core.MovieFrameRate = (round % 3 == 0) ? 23.976 : 29.97;
        // Every tenth list is long enough that the search runs past its cached first levels.
        const int count = 1 + static_cast<int>(random() % (round % 10 == 9 ? 9000 : 40));
        const bool sorted = round % 4 != 3;
        int32_t t = 0;
        for (int i = 0; i < count; ++i) {
            t = sorted ? t + static_cast<int32_t>(random() % 5) : static_cast<int32_t>(random() % 100);
            const int32_t end = random() % 10 == 0 ? OpenEndTime : t + static_cast<int32_t>(random() % 4);
            add(t, end, std::to_string(i));
        }
        const int32_t last = count > 40 ? core.SpanToPosition(t) + 3200 : 3200;
        for (int32_t p = -30; p < last; p += 1 + static_cast<int32_t>(random() % (count > 40 ? 97 : 7))) {
            core.ClearLookupCache();  // compare the search itself
            ASSERT_EQ(core.FindSubtitleText(p), referenceLookup(core, p)) << "round " << round << " at " << p;
        }
    }
}

// The status text as the user's locale writes the rate; an unknown item changes nothing.
TEST_F(Lookup, FrameRateChoiceSetsRateAndStatusText)
{
    const struct {
        int tag;
        char separator;
        double rate;
        const char* status;
    } cases[] = {
        {2, '.', 24.0, "Subtitle FrameRate:24fps"}, {4, ',', 29.97, "Subtitle FrameRate:29,97fps"},
        {9, '.', 29.97, "Subtitle FrameRate:29,97fps"}, {0, '.', 25.0, "Subtitle FrameRate:Same As Movie"},
    };
    for (const auto& c : cases) {
        host.separator = c.separator;
        core.n005Click(c.tag);
        EXPECT_EQ(core.MovieFrameRate, c.rate) << c.tag;
        EXPECT_EQ(host.lastStatus, c.status) << c.tag;
        EXPECT_EQ(host.lastTag, c.tag == 9 ? 4 : c.tag);
    }
}

}  // namespace
}  // namespace tessaview::testing
