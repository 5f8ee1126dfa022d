// The view modes' and splitters' arithmetic, checked on the sizes users meet.
#include "playback/view_modes.h"

#include <gtest/gtest.h>

#include <limits>

namespace tessaview {
namespace {

TEST(FullScreenOverlayTop, SitsBelowThePictureAndNeverLowerThan80AboveTheBottom) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    struct Case {
        int32_t screenW, screenH, videoW, videoH, top;
    };
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
    EXPECT_EQ(SplitterSizesAfterDrag({360, 40}), QList<int>({360, 40}));
    EXPECT_EQ(SplitterSizesAfterDrag({380, 20}), QList<int>({400, 0}));   // collapsed, the space to the movie
    EXPECT_EQ(SecondPartSizes(546, {3}, 230), QList<int>({313, 230}));    // the play list at the design width
    EXPECT_EQ(SecondPartSizes(200, {3, 20}, 190), QList<int>({0, 190}));  // no room left: the first part has none
    // Splitter1 decides the height, the width follows; ties go to the even neighbour: 4.5 -> 4.
    EXPECT_EQ(SplitterWindowChange(Qt::Vertical, {0, 9}, 3, {3, 2}), QSize(4, 0));
    // Splitter2 decides the width: 500 wide at 640 x 352 is 275 high.
    EXPECT_EQ(SplitterWindowChange(Qt::Horizontal, {400, 300}, 500, {640, 352}), QSize(0, 275 - 300));
    EXPECT_EQ(SplitterWindowChange(Qt::Horizontal, {500, 275}, 500, {640, 352}), std::nullopt);  // already so
    // Nothing happens while no picture size is known.
    EXPECT_EQ(SplitterWindowChange(Qt::Vertical, {400, 250}, 250, {640, 0}), std::nullopt);
    EXPECT_EQ(SplitterWindowChange(Qt::Horizontal, {400, 250}, 400, {0, 480}), std::nullopt);
    EXPECT_EQ(SizingHeight(500, 8, 0, 352, {130}, 46), std::nullopt);
    // A frame drag to 400 px inside a frame of 8 x 46: the picture's 220 plus the fixed 130.
    EXPECT_EQ(SizingHeight(8 + 400, 8, 640, 352, {100, 30}, 46), 220 + 130 + 46);
}

// A picture too wide or too tall for the screen shrinks whole, by its tighter side.
TEST(FittedPanelSize, APictureThatDoesNotFitShrinksByItsTighterSide) {
    const QSize around(8, 46), screen(808, 646);  // 800 x 600 of room
    EXPECT_EQ(FittedPanelSize({640, 352}, 1.0, 1.0, around, screen), QSize(640, 352));
    EXPECT_EQ(FittedPanelSize({1000, 300}, 1.0, 1.0, around, screen), QSize(800, 240));
    EXPECT_EQ(FittedPanelSize({300, 500}, 2.0, 1.0, around, screen), QSize(180, 300) * 2);
    EXPECT_EQ(FittedPanelSize({0, 352}, 1.0, 1.0, around, screen), std::nullopt);
}

}  // namespace
}  // namespace tessaview
