// Captions far longer than any panel: only what can be shown is laid out.
#include "presentation/subtitle_font.h"
#include "presentation/subtitle_label.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace tessaview {
namespace {

TEST(LongCaption, OnlyWhatThePanelShowsIsLaidOutAndALongLineStillReachesBothEdges) {
    SubtitleLabel label;
    label.resize(240, 83);
    label.SetSubtitleFont(FromFontSpec(FontSpec{"DejaVu Sans", 14, 1, 0xFFFFFF}));
    // Twice the bound below is enough: laid out whole, either caption would pass it.
    std::string manyLines;
    for (int i = 0; i < 40000; ++i) manyLines += "line\r\n";
    for (const std::string& caption : {std::string(200000, 'W'), manyLines}) {
        label.SetCaption(caption);
        label.grab();  // paints
        EXPECT_GT(label.LaidOutCharacters(), 0);
        EXPECT_LT(label.LaidOutCharacters(), 100000) << "of " << caption.size();
    }
    int left = 240, right = -1;  // the one-line caption's ink in its first row
    label.SetCaption(std::string(200000, 'W'));
    const QImage image = label.grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) > 64) left = std::min(left, x), right = std::max(right, x);
    EXPECT_TRUE(left < 8 && right > image.width() - 8) << left << ".." << right;
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
