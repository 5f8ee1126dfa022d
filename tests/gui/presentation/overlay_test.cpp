// The overlay window: its look and size, its surfaces, and the font keys reaching both labels.
#include "presentation/bitmap_surface.h"
#include "presentation/subtitle_label.h"
#include "presentation/tfm_sub.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace tessaview {
namespace {

TEST(TfmSub, BorderlessBlackOnTopWindowOf1016By173FilledByBothSurfaces) {
    QTemporaryDir dir;
    TfmSub fmSub(dir.path().toStdString(), nullptr);
    EXPECT_TRUE(fmSub.isVisible());
    EXPECT_EQ(fmSub.size(), QSize(1016, 173));
    const Qt::WindowFlags flags = fmSub.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(flags.testFlag(Qt::Tool));
    EXPECT_EQ(fmSub.palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(fmSub.lbSub->geometry(), QRect(0, 0, 1016, 173));
    EXPECT_EQ(fmSub.imSub->geometry(), QRect(0, 0, 1016, 173));

    // Full screen widens it; both surfaces follow, the bitmap black at the new width.
    fmSub.setGeometry(0, 665, 1024, 173);
    EXPECT_EQ(fmSub.lbSub->width(), 1024);
    EXPECT_EQ(fmSub.imSub->Image().size(), QSize(1024, 173));
    EXPECT_EQ(fmSub.imSub->Image().pixel(1023, 172), qRgb(0, 0, 0));
}

TEST(TfmSub, FontKeysOfTheSettingsFileReachTheOverlayAndTheMainWindowLabel) {
    QTemporaryDir dir;
    // Key names in any case; style keys are not read.
    QFile ini(dir.filePath("set.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[font]\r\nNAME=DejaVu Serif\r\nsize=18\r\nCharset=204\r\nColor=255\r\nBold=1\r\n");
    ini.close();
    SubtitleLabel lbSubtitle;
    TfmSub fmSub(dir.path().toStdString(), &lbSubtitle);
    for (const SubtitleLabel* label : {fmSub.lbSub, &lbSubtitle}) {
        const SubtitleFont& font = label->GetSubtitleFont();
        EXPECT_EQ(font.font.family(), QStringLiteral("DejaVu Serif"));
        EXPECT_EQ(font.font.pointSize(), 18);
        EXPECT_EQ(font.charSet, 204);
        EXPECT_EQ(font.color, QColor(255, 0, 0));
        EXPECT_FALSE(font.font.bold());
    }
    // The character set decides how the cue bytes read.
    lbSubtitle.SetCaption("\xCF\xF0\xE8");
    EXPECT_EQ(lbSubtitle.DisplayText(), QStringLiteral("При"));
}

TEST(TfmSub, MissingSettingsGiveTheDefaultFont) {
    QTemporaryDir dir;
    SubtitleLabel lbSubtitle;
    TfmSub fmSub(dir.path().toStdString(), &lbSubtitle);
    const FontSpec expected{"MS Sans Serif", 12, 1, 16777215};
    EXPECT_EQ(ToFontSpec(fmSub.lbSub->GetSubtitleFont()), expected);
    EXPECT_EQ(ToFontSpec(lbSubtitle.GetSubtitleFont()), expected);
    EXPECT_FALSE(lbSubtitle.GetSubtitleFont().font.italic());
}

}  // namespace
}  // namespace tessaview
