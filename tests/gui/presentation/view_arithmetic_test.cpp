// The view modes' and splitters' arithmetic, checked on the sizes users meet.
#include "playback/view_modes.h"
#include "presentation/splitter_rules.h"

#include <gtest/gtest.h>

#include <limits>

namespace tessaview {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

struct OverlayTopCase {
    int32_t screenW, screenH, videoW, videoH;
    int32_t top;
};

TEST(FullScreenOverlayTop, SitsBelowThePictureAndNeverLowerThan80AboveTheBottom) {
    const OverlayTopCase cases[] = {
        {1024, 768, 640, 352, 665},  // (768 + 563) / 2, below the cap
        {1024, 768, 640, 480, 688},  // 768 reaches the cap
        {1024, 768, 640, 272, 601},  // (768 + 435) / 2
        {1024, 768, 640, 440, 688},  // (768 + 704) / 2 = 736: over the cap
        {1024, 768, 1024, 608, 688},  // exactly at the cap: capped to itself
        {1920, 1080, 1920, 800, 940},  // 1880 / 2
        {1280, 720, 3, 1, 573},       // 426.66 truncated before halving: (720 + 426) / 2
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FullScreenOverlayTop(c.screenW, c.screenH, c.videoW, c.videoH), c.top)
            << c.videoW << "x" << c.videoH << " on " << c.screenW << "x" << c.screenH;
    }
}

TEST(FullScreenOverlayTop, ZeroPictureWidthLeavesTheLayoutAndHugeSizesDoNotOverflow) {
    EXPECT_EQ(FullScreenOverlayTop(1024, 768, 0, 352), std::nullopt);
    // 32-bit products would wrap here; the cap still holds.
    EXPECT_EQ(FullScreenOverlayTop(kMax, 768, 1, kMax), 688);
    EXPECT_EQ(FullScreenOverlayTop(1024, 768, kMax, 1), 384);
}

TEST(SizingHeight, PictureHeightAtTheNewWidthPlusTheFixedHeightsAndFrame) {
    // 400 px wide at 640 x 352 is 220 px high.
    EXPECT_EQ(SizingHeight(8 + 400, 8, 640, 352, 19 + 83 + 3 + 25, 46), 220 + 130 + 46);
    // 322 / 640 x 352 = 177.1 -> 177; 20 / 640 x 16 = 0.5 -> 0 (half to even);
    // 60 / 640 x 16 = 1.5 -> 2 (half to even, up).
    EXPECT_EQ(SizingHeight(322, 0, 640, 352, 0, 0), 177);
    EXPECT_EQ(SizingHeight(20, 0, 640, 16, 0, 0), 0);
    EXPECT_EQ(SizingHeight(60, 0, 640, 16, 0, 0), 2);
    EXPECT_EQ(SizingHeight(500, 8, 0, 352, 130, 46), std::nullopt);
    EXPECT_EQ(SizingHeight(kMax, -kMax, 1, kMax, kMax, kMax), kMax);
}

TEST(SplitterPanelSize, CollapsesAt30OrLessAndLeavesTheOtherSide30) {
    struct Case { int32_t proposed, shared, size; };
    const Case cases[] = {
        {83, 400, 83}, {31, 400, 31}, {30, 400, 0}, {1, 400, 0}, {0, 400, 0}, {-12, 400, 0},
        {390, 400, 370},  // the movie panel keeps 30
        {50, 70, 40},     // limited so the other side keeps 30
        {50, 55, 0},      // limited to 25, which collapses
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitterPanelSize(c.proposed, c.shared), c.size) << c.proposed << " of " << c.shared;
    }
}

TEST(SplitterMoves, WindowFollowsSoThatTheMoviePanelKeepsThePicturesProportions) {
    // 640 x 480 movie, plMovie 400 x 250 after Splitter1: width should become 333.33 -> 333.
    EXPECT_EQ(Splitter1Moved(400, 250, 640, 480), 333 - 400);
    // Ties go to the even neighbour: 3 x 1.5 = 4.5 -> 4, 5 x 1.5 = 7.5 -> 8.
    EXPECT_EQ(Splitter1Moved(0, 3, 3, 2), 4);
    EXPECT_EQ(Splitter1Moved(0, 3, 5, 2), 8);
    // Splitter2: plMovie 500 wide at 640 x 352 -> 275 high.
    EXPECT_EQ(Splitter2Moved(500, 300, 640, 352), 275 - 300);
    EXPECT_EQ(Splitter2Moved(1, 0, 2, 5), 2);  // 2.5 -> 2
    // Nothing happens while no picture size is known.
    EXPECT_EQ(Splitter1Moved(400, 250, 640, 0), std::nullopt);
    EXPECT_EQ(Splitter2Moved(400, 250, 0, 480), std::nullopt);
}

}  // namespace
}  // namespace tessaview
