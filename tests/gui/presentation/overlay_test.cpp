// The overlay window: its surfaces follow its size; the font keys reach both labels.
#include "presentation/bitmap_surface.h"
#include "presentation/subtitle_label.h"
#include "presentation/tfm_sub.h"


#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace tessaview {
namespace {

TEST(TfmSub, BothSurfacesFollowTheWindowsSize) {
    QTemporaryDir dir;
    TfmSub fmSub(dir.path().toStdString(), nullptr);
    // Full screen widens it; both surfaces follow, the bitmap black at the new width.
    fmSub.setGeometry(0, 665, 1024, 173);
    EXPECT_EQ(fmSub.lbSub->width(), 1024);
    EXPECT_EQ(fmSub.imSub->Image().size(), QSize(1024, 173));
    EXPECT_EQ(fmSub.imSub->Image().pixel(1023, 172), qRgb(0, 0, 0));
}

TEST(TfmSub, FontOfTheSettingsFileReachesTheOverlayAndTheMainWindowLabel) {
    QTemporaryDir dir;
    SubtitleLabel lbSubtitle;
    TfmSub(dir.path().toStdString(), &lbSubtitle);
    EXPECT_EQ(ToFontSpec(lbSubtitle.GetSubtitleFont()), FontSpec{});  // no file: the defaults

    QFile ini(dir.filePath("set.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Font]\r\nName=DejaVu Serif\r\nSize=18\r\nCharSet=204\r\nColor=255\r\n");
    ini.close();
    TfmSub fmSub(dir.path().toStdString(), &lbSubtitle);
    for (const SubtitleLabel* label : {fmSub.lbSub, &lbSubtitle})
        EXPECT_EQ(ToFontSpec(label->GetSubtitleFont()), (FontSpec{"DejaVu Serif", 18, 204, 255}));
}

}  // namespace
}  // namespace tessaview
