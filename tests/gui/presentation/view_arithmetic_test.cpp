// The view modes' and splitters' arithmetic, checked on the sizes users meet.
#include "playback/view_modes.h"

#include <gtest/gtest.h>

#include <limits>

namespace tessaview {
namespace {

TEST(FullScreenOverlayTop, SitsBelowThePictureAndNeverLowerThan80AboveTheBottom) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    struct Case { int32_t screenW, screenH, videoW, videoH, top; };
    const Case cases[] = {
        {1024, 768, 640, 352, 665},  // (768 + 563) / 2, above the cap
        {1024, 768, 640, 440, 688},  // (768 + 704) / 2 = 736: capped
        {1280, 720, 3, 1, 573},      // 426.66 truncated before halving: (720 + 426) / 2
        {kMax, 768, 1, kMax, 688},   // 32-bit products would wrap here
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FullScreenOverlayTop(c.screenW, c.screenH, c.videoW, c.videoH), c.top)
            << c.videoW << "x" << c.videoH << " on " << c.screenW << "x" << c.screenH;
    }
    EXPECT_EQ(FullScreenOverlayTop(1024, 768, 0, 352), std::nullopt);
}

TEST(Splitters, PanelCollapsesAt30TheOtherSideKeeps30AndDragsKeepThePicturesProportions) {
    EXPECT_EQ(SplitterPanelSize(31, 400), 31);
    EXPECT_EQ(SplitterPanelSize(30, 400), 0);
    EXPECT_EQ(SplitterPanelSize(390, 400), 370);  // the movie panel keeps 30
    EXPECT_EQ(SplitterPanelSize(50, 55), 0);      // limited to 25, which collapses
    EXPECT_EQ(Splitter1Moved(0, 3, 3, 2), 4);     // ties go to the even neighbour: 4.5 -> 4
    EXPECT_EQ(Splitter2Moved(500, 300, 640, 352), 275 - 300);  // 500 wide at 640 x 352: 275 high
    // Nothing happens while no picture size is known.
    EXPECT_EQ(Splitter1Moved(400, 250, 640, 0), std::nullopt);
    EXPECT_EQ(Splitter2Moved(400, 250, 0, 480), std::nullopt);
    EXPECT_EQ(SizingHeight(500, 8, 0, 352, 130, 46), std::nullopt);
    // A frame drag to 400 px inside a frame of 8 x 46: the picture's 220 plus the fixed 130.
    EXPECT_EQ(SizingHeight(8 + 400, 8, 640, 352, 130, 46), 220 + 130 + 46);
}

}  // namespace
}  // namespace tessaview
