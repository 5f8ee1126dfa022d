// Captions far longer than any panel: only what can be shown is laid out.
#include "presentation/subtitle_font.h"
#include "presentation/subtitle_label.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace tessaview {
namespace {

TEST(LongCaption, AMegabyteLineIsLaidOutOnlyAroundItsMiddleAndStillFillsThePanel) {
    SubtitleLabel label;
    label.resize(240, 83);
    label.SetSubtitleFont(FromFontSpec(FontSpec{"DejaVu Sans", 14, 1, 0xFFFFFF}));
    const std::vector<std::pair<std::string, int>> captions = {
        {std::string(3 << 20, 'W'), 1},          // one line of 3 MB
        {[] {                                    // 300,000 short lines
             std::string many;
             for (int i = 0; i < 300000; ++i) many += "line\r\n";
             return many;
         }(), 83 / 10 + 1},
    };
    for (const auto& [caption, maxLines] : captions) {
        label.SetCaption(caption);
        const QImage image = label.grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_LE(label.LaidOutCharacters(), 8192 * maxLines);
        EXPECT_GT(label.LaidOutCharacters(), 0);
        // The line is cut at both edges of the panel, not drawn short of them.
        int left = image.width(), right = -1;
        for (int y = 0; y < image.height() / 4; ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) > 64) left = std::min(left, x), right = std::max(right, x);
        if (maxLines == 1) {
            EXPECT_TRUE(left < 8 && right > image.width() - 8) << left << ".." << right;
        }
    }
}

TEST(LongCaption, TheMiddleKeptIsCentredAndNeverSplitsASurrogatePair) {
    const QString plain = QString(1000, u'a') + u'M' + QString(1000, u'b');
    EXPECT_EQ(VisibleMiddle(plain, 3), u"aMb");
    EXPECT_EQ(VisibleMiddle(u"short", 100), u"short");
    QString emoji;
    for (int i = 0; i < 50; ++i) emoji += QString::fromUtf16(u"\U0001F600");
    for (qsizetype max : {5, 6, 7, 8}) {
        const QStringView middle = VisibleMiddle(emoji, max);
        EXPECT_TRUE(middle.front().isHighSurrogate() && middle.back().isLowSurrogate()) << max;
        EXPECT_LE(middle.size(), max);
    }
}

}  // namespace
}  // namespace tessaview
