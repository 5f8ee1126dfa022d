// The text subtitle surface: drawing rules, markup and "&", wrapping and shrinking to fit,
// repaint economy, texts far longer than any panel; the stored font's conversion.
#include "presentation/subtitle_label.h"
#include "presentation/subtitle_font.h"

#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>
#include <numeric>

namespace tessaview {
namespace {

constexpr int kWidth = 240;

QFont TestFont() { return FromFontSpec(FontSpec{"DejaVu Sans", 14, 1}).font; }

struct Ink {
    int left = -1, right = -1, top = -1, bottom = -1;
    bool operator==(const Ink&) const = default;
};

Ink InkOf(const QImage& image) {
    Ink ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 64) continue;
            if (ink.left < 0 || x < ink.left) ink.left = x;
            ink.right = std::max(ink.right, x);
            if (ink.top < 0) ink.top = y;
            ink.bottom = y;
        }
    return ink;
}

class SubtitleLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        label.resize(kWidth, 83);
        label.SetTextFont(TestFont(), Qt::white);
    }
    QImage Render(const QString& text) {
        label.SetText(text);
        return label.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    SubtitleLabel label;
};

TEST_F(SubtitleLabelTest, BlackWithTheLineCentredAtTheTopRightToLeftToo) {
    EXPECT_EQ(InkOf(Render("")), Ink{});
    // A Hebrew word: laid out right to left, it must still start inside the label.
    for (const QString& text : {QStringLiteral("Hello"), QStringLiteral("שלום")}) {
        const Ink ink = InkOf(Render(text));
        ASSERT_GE(ink.left, 0) << text.toStdString();
        EXPECT_NEAR((ink.left + ink.right) / 2.0, kWidth / 2.0, 3.0) << text.toStdString();
        EXPECT_LT(ink.top, 8);
        EXPECT_LT(ink.bottom, 30);
    }
}

TEST_F(SubtitleLabelTest, CrLfStartsANewLineAndTabsExpand) {
    const Ink blank = InkOf(Render("a b"));
    const Ink tab = InkOf(Render("a\tb"));
    EXPECT_GT(tab.right - tab.left, (blank.right - blank.left) + 20);

    const Ink one = InkOf(Render("Hello"));
    const Ink two = InkOf(Render("Hello\r\nHello"));
    EXPECT_EQ(label.DisplayText(), QStringLiteral("Hello\nHello"));  // no blank line between
    EXPECT_EQ(two.left, one.left);
    EXPECT_GT(two.bottom, one.bottom + 10);
}

// Bands of inked pixel rows, top to bottom, each with the number of inked column runs in it:
// the glyphs of a row of text when they stand apart.
std::vector<int> GlyphsPerRow(const QImage& image) {
    const auto inked = [&](int x, int top, int bottom) {
        for (int y = top; y < bottom; ++y)
            if (qGray(image.pixel(x, y)) >= 64) return true;
        return false;
    };
    // The inked column runs between rows top and bottom.
    const auto runs = [&](int top, int bottom) {
        int count = 0;
        for (int x = 0; x < image.width(); ++x)
            count += inked(x, top, bottom) && (x == 0 || !inked(x - 1, top, bottom));
        return count;
    };
    std::vector<int> rows;
    for (int top = 0; top < image.height(); ++top) {
        if (!runs(top, top + 1)) continue;
        int bottom = top + 1;
        while (bottom < image.height() && runs(bottom, bottom + 1)) ++bottom;
        rows.push_back(runs(top, bottom));
        top = bottom;
    }
    return rows;
}

TEST_F(SubtitleLabelTest, MarkupDrawsAsStylesAndAmpersandsAsTheyAre) {
    const QImage plain = Render("Hello");
    EXPECT_EQ(Render("{\\an8}<ruby>Hello</ruby>"), plain);
    const QImage italic = Render("<i>Hello</i>");
    EXPECT_NE(italic, plain);
    EXPECT_NEAR(InkOf(italic).right - InkOf(italic).left, InkOf(plain).right - InkOf(plain).left, 6);
    label.SetTextFont(TestFont(), Qt::red);
    const QImage redByFont = Render("Hello");
    label.SetTextFont(TestFont(), Qt::white);
    EXPECT_EQ(Render("<font color=red>Hello</font>"), redByFont);

    const Ink one = InkOf(Render("&"));
    ASSERT_GE(one.left, 0);
    const Ink two = InkOf(Render("&&"));
    EXPECT_GT(two.right - two.left, 2 * (one.right - one.left));
}

TEST_F(SubtitleLabelTest, ALongLineWrapsAtWordsAndAWordWiderThanTheLabelAnywhere) {
    QString words;
    for (int i = 0; i < 40; ++i) words += "x ";
    const QImage wrapped = Render(words);
    const std::vector<int> rows = GlyphsPerRow(wrapped);
    EXPECT_GT(rows.size(), 1u);
    EXPECT_EQ(std::accumulate(rows.begin(), rows.end(), 0), 40);  // no word lost at the edges
    const Ink ink = InkOf(wrapped);
    EXPECT_GT(ink.left, 0);
    EXPECT_LT(ink.right, kWidth - 1);
    EXPECT_NEAR((ink.left + ink.right) / 2.0, kWidth / 2.0, 3.0);

    const Ink word = InkOf(Render(QString(40, 'W')));
    EXPECT_GT(word.left, 0);
    EXPECT_LT(word.right, kWidth - 1);
    EXPECT_GT(word.bottom, 30);
}

TEST_F(SubtitleLabelTest, TextTooTallIsDrawnSmallerWithEveryLineInside) {
    const QFont big = FromFontSpec(FontSpec{"DejaVu Sans", 40, 1}).font;
    label.SetTextFont(big, Qt::white);
    Render("one");
    EXPECT_EQ(label.DrawnFont(), big);  // what fits keeps its size
    const QImage six = Render("one\r\ntwo\r\nthree\r\nfour\r\nfive\r\nend");
    EXPECT_EQ(GlyphsPerRow(six).size(), 6u);
    EXPECT_LT(InkOf(six).bottom, six.height() - 2);
    EXPECT_LT(QFontInfo(label.DrawnFont()).pixelSize(), QFontInfo(big).pixelSize());
}

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

TEST_F(SubtitleLabelTest, SettingTheSameTextDoesNotRepaintANewOneDoes) {
    PaintCounter counter;
    label.installEventFilter(&counter);
    label.show();
    label.SetText("first");
    for (int i = 0; i < 2; ++i) QApplication::processEvents();
    ASSERT_GT(counter.paints, 0);
    counter.paints = 0;
    for (int tick = 0; tick < 3; ++tick) {
        label.SetText("first");
        QApplication::processEvents();
    }
    EXPECT_EQ(counter.paints, 0);
    label.SetText("second");
    QApplication::processEvents();
    EXPECT_GT(counter.paints, 0);
}

TEST(SubtitleFontConversion, StoredFontRoundTripsWithColourAsBgrAndOneByteCharacterSet) {
    const FontSpec spec{"Arial", 20, 204, 0x00FF8000};  // blue FF, green 80, red 00
    EXPECT_EQ(FromFontSpec(spec).color, QColor(0x00, 0x80, 0xFF));
    EXPECT_EQ(ToFontSpec(FromFontSpec(spec)), spec);
    EXPECT_EQ(FromFontSpec(FontSpec{"X", 12, 0x1CC, 255}).charSet, 0xCC);  // one byte kept
    // A size of 0 is the default size, a negative one a height in pixels.
    EXPECT_EQ(FromFontSpec(FontSpec{"X", 0, 1}).font.pointSize(), 12);
    EXPECT_EQ(FromFontSpec(FontSpec{"X", -20, 1}).font.pixelSize(), 20);
}

TEST_F(SubtitleLabelTest, OnlyWhatThePanelShowsIsLaidOutOncePerCaption) {
    QString manyLines;
    for (int i = 0; i < 40000; ++i) manyLines += "line\r\n";
    Render(manyLines);
    EXPECT_GT(label.LaidOutCharacters(), 0);
    EXPECT_LT(label.LaidOutCharacters(), 1000);  // the lines below the bottom edge are not
    Render(QString(200000, 'W'));
    EXPECT_GT(label.LaidOutCharacters(), 0);
    EXPECT_LT(label.LaidOutCharacters(), 10000);
    // Laid out once per caption and size, not again at each paint.
    const int layOuts = label.LayOutCount();
    label.grab();
    EXPECT_EQ(label.LayOutCount(), layOuts);
    label.resize(kWidth, 100);
    label.grab();
    EXPECT_EQ(label.LayOutCount(), layOuts + 1);
}

}  // namespace
}  // namespace tessaview
