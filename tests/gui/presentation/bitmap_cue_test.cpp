// VobSub pictures on the two bitmap surfaces: blend, placement, cutting and redraw rules.
#include "presentation/bitmap_cue.h"
#include "support/gui_app_environment.h"
#include "presentation/bitmap_surface.h"

#include "picture_library.h"

#include <gtest/gtest.h>

#include <QImage>
#include <array>

namespace tessaview {
namespace {

using test::PictureLibrary;

QRgb Black() { return qRgb(0, 0, 0); }

// The columns of row `y` that are not black, as [first, last]; {-1, -1} when none.
std::pair<int, int> LitColumns(const QImage& image, int y) {
    int first = -1;
    int last = -1;
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, y) != Black()) {
            if (first < 0) first = x;
            last = x;
        }
    }
    return {first, last};
}

class BitmapCueTest : public ::testing::Test {
protected:
    void SetUp() override {
        imSubtitle.resize(313, 83);
        imSub.resize(1024, 173);
    }
    BitmapSurface imSubtitle;
    BitmapSurface imSub;
    PictureLibrary library;
    int32_t LastBitmapIndex = -1;
};

TEST(BlendOverBlack, MultipliesEachColourByAlphaDiv256) {
    struct Case { std::array<uint8_t, 4> in, out; };
    const Case cases[] = {
        {{255, 255, 255, 0}, {0, 0, 0, 0}},
        {{255, 255, 255, 128}, {127, 127, 127, 128}},
        {{255, 255, 255, 255}, {254, 254, 254, 255}},
        {{10, 200, 100, 255}, {9, 199, 99, 255}},
        {{1, 2, 3, 255}, {0, 1, 2, 255}},
    };
    for (const auto& c : cases) {
        auto pixel = c.in;
        BlendOverBlack(pixel.data(), 1);
        EXPECT_EQ(pixel, c.out) << int(c.in[0]) << "," << int(c.in[1]) << "," << int(c.in[2])
                                << " alpha " << int(c.in[3]);
    }
}

TEST_F(BitmapCueTest, WidePictureIsCentredOnTheOverlayAndCutOnBothSidesOfThePanel) {
    library.SetPicture(7, 720, 100, 255, 255, 255, 255);
    library.rect = {5, 5, 725, 105};  // only width and height count, not the place
    DrawBitmapCue(library, LastBitmapIndex, imSubtitle, imSub);
    EXPECT_EQ(LastBitmapIndex, 7);

    const QImage& overlay = imSub.Image();
    ASSERT_EQ(overlay.size(), QSize(1024, 173));
    EXPECT_EQ(LitColumns(overlay, 0), std::make_pair(152, 152 + 719));
    EXPECT_EQ(LitColumns(overlay, 99), std::make_pair(152, 152 + 719));
    EXPECT_EQ(LitColumns(overlay, 100), std::make_pair(-1, -1));  // below the picture
    EXPECT_EQ(overlay.pixel(152, 0), qRgb(254, 254, 254));

    // x1 = (313 - 720) div 2 = -203: the panel shows picture columns 203 .. 515, all lit.
    const QImage& panel = imSubtitle.Image();
    ASSERT_EQ(panel.size(), QSize(313, 83));
    EXPECT_EQ(LitColumns(panel, 0), std::make_pair(0, 312));
    EXPECT_EQ(LitColumns(panel, 82), std::make_pair(0, 312));  // the picture's bottom is cut
}

TEST_F(BitmapCueTest, SameIndexIsFetchedAndDrawnOnlyOnce) {
    library.SetPicture(3, 10, 10, 255, 255, 255, 255);
    DrawBitmapCue(library, LastBitmapIndex, imSubtitle, imSub);
    EXPECT_EQ(library.dataCalls, 1);

    // Paint over the surface: a second tick on the same index must not draw again.
    imSub.Clear();
    DrawBitmapCue(library, LastBitmapIndex, imSubtitle, imSub);
    DrawBitmapCue(library, LastBitmapIndex, imSubtitle, imSub);
    EXPECT_EQ(library.dataCalls, 1);
    EXPECT_EQ(LitColumns(imSub.Image(), 0), std::make_pair(-1, -1));

    // A new index replaces the old picture on a black background.
    library.SetPicture(4, 4, 2, 10, 100, 255, 255);  // blue, green and red all differ
    DrawBitmapCue(library, LastBitmapIndex, imSubtitle, imSub);
    EXPECT_EQ(library.dataCalls, 2);
    EXPECT_EQ(LitColumns(imSub.Image(), 0), std::make_pair(510, 513));
    EXPECT_EQ(LitColumns(imSub.Image(), 5), std::make_pair(-1, -1));
    EXPECT_EQ(imSub.Image().pixel(510, 0), qRgb(254, 99, 9));
}

TEST_F(BitmapCueTest, ClearPaintsBlackAndTheSamePictureIsDrawnAgainAfterwards) {
    library.SetPicture(9, 20, 5, 255, 255, 255, 128);
    DrawBitmapCue(library, LastBitmapIndex, imSubtitle, imSub);
    ClearBitmapCue(LastBitmapIndex, imSubtitle, imSub);
    EXPECT_EQ(LastBitmapIndex, -1);
    EXPECT_EQ(LitColumns(imSub.Image(), 0), std::make_pair(-1, -1));
    EXPECT_EQ(LitColumns(imSubtitle.Image(), 0), std::make_pair(-1, -1));

    // Moving back into the picture's time: same index, drawn again, blended from a fresh copy.
    DrawBitmapCue(library, LastBitmapIndex, imSubtitle, imSub);
    EXPECT_EQ(library.dataCalls, 2);
    EXPECT_EQ(LitColumns(imSub.Image(), 0), std::make_pair(502, 521));
    EXPECT_EQ(imSub.Image().pixel(502, 0), qRgb(127, 127, 127));
    EXPECT_EQ(imSubtitle.Image().pixel(146, 4), qRgb(127, 127, 127));
}

TEST_F(BitmapCueTest, EmptyOrInvertedRectangleLeavesBothSurfacesBlackButKeepsTheIndex) {
    library.SetPicture(1, 50, 5, 255, 255, 255, 255);
    DrawBitmapCue(library, LastBitmapIndex, imSubtitle, imSub);
    for (const VobSubRect rect : {VobSubRect{0, 0, 0, 10}, VobSubRect{0, 0, 10, 0},
                                  VobSubRect{5, 5, 2, 9}}) {
        library.index += 1;
        library.rect = rect;
        DrawBitmapCue(library, LastBitmapIndex, imSubtitle, imSub);
        EXPECT_EQ(LastBitmapIndex, library.index);
        EXPECT_EQ(LitColumns(imSub.Image(), 0), std::make_pair(-1, -1));
        EXPECT_EQ(LitColumns(imSubtitle.Image(), 0), std::make_pair(-1, -1));
    }
}

}  // namespace
}  // namespace tessaview
