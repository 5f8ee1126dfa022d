// The text subtitle surface: drawing rules, markup and "&", wrapping and shrinking to fit,
// repaint economy, the code pages of the font's character set, and captions far longer than
// any panel.
#include "presentation/subtitle_font.h"
#include "presentation/subtitle_label.h"

#include <QApplication>
#include <QFontInfo>
#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>
#include <numeric>

namespace tessaview {
namespace {

constexpr int kWidth = 240;

SubtitleFont TestFont(int charSet = 1) { return FromFontSpec(FontSpec{"DejaVu Sans", 14, charSet}); }

struct Ink {
    int left = -1, right = -1, top = -1, bottom = -1;
    bool operator==(const Ink&) const = default;
};

Ink InkOf(const QImage& image) {
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 64) continue;
            if (ink.left < 0 || x < ink.left) ink.left = x;
            ink.right = std::max(ink.right, x);
            if (ink.top < 0) ink.top = y;
            ink.bottom = y;
        }
    }
    return ink;
}

class SubtitleLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        label.resize(kWidth, 83);
        label.SetSubtitleFont(TestFont());
    }
    QImage Render(const std::string& caption) {
        label.SetCaption(caption);
        return label.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    SubtitleLabel label;
};

TEST_F(SubtitleLabelTest, BlackWithTheLineCentredAtTheTopRightToLeftToo) {
    EXPECT_EQ(InkOf(Render("")), Ink{});
    // A Hebrew word in CP1255: laid out right to left, it must still start inside the label.
    for (const auto& [charSet, caption] : {std::pair{1, "Hello"}, std::pair{177, "\xF9\xEC\xE5\xED"}}) {
        label.SetSubtitleFont(TestFont(charSet));
        const Ink ink = InkOf(Render(caption));
        ASSERT_GE(ink.left, 0) << caption;
        EXPECT_NEAR((ink.left + ink.right) / 2.0, kWidth / 2.0, 3.0) << caption;
        EXPECT_LT(ink.top, 8);
        EXPECT_LT(ink.bottom, 30);
    }
    EXPECT_EQ(label.DisplayText(), QStringLiteral("שלום"));
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
    const auto inked = [&](int x, int y) { return qGray(image.pixel(x, y)) >= 64; };
    const auto rowInked = [&](int y) {
        for (int x = 0; x < image.width(); ++x)
            if (inked(x, y)) return true;
        return false;
    };
    std::vector<int> rows;
    for (int top = 0; top < image.height();) {
        if (!rowInked(top)) { ++top; continue; }
        int bottom = top;
        while (bottom < image.height() && rowInked(bottom)) ++bottom;
        int glyphs = 0;
        bool inGlyph = false;
        for (int x = 0; x < image.width(); ++x) {
            bool column = false;
            for (int y = top; y < bottom; ++y) column = column || inked(x, y);
            glyphs += column && !inGlyph;
            inGlyph = column;
        }
        rows.push_back(glyphs);
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
    SubtitleFont red = TestFont();
    red.color = Qt::red;
    label.SetSubtitleFont(red);
    const QImage redByFont = Render("Hello");
    label.SetSubtitleFont(TestFont());
    EXPECT_EQ(Render("<font color=red>Hello</font>"), redByFont);

    const Ink one = InkOf(Render("&"));
    ASSERT_GE(one.left, 0);
    const Ink two = InkOf(Render("&&"));
    EXPECT_GT(two.right - two.left, 2 * (one.right - one.left));
}

TEST_F(SubtitleLabelTest, ALongLineWrapsAtWordsAndAWordWiderThanTheLabelAnywhere) {
    std::string words;
    for (int i = 0; i < 40; ++i) words += "x ";
    const QImage wrapped = Render(words);
    const std::vector<int> rows = GlyphsPerRow(wrapped);
    EXPECT_GT(rows.size(), 1u);
    EXPECT_EQ(std::accumulate(rows.begin(), rows.end(), 0), 40);  // no word lost at the edges
    const Ink ink = InkOf(wrapped);
    EXPECT_GT(ink.left, 0);
    EXPECT_LT(ink.right, kWidth - 1);
    EXPECT_NEAR((ink.left + ink.right) / 2.0, kWidth / 2.0, 3.0);

    const Ink word = InkOf(Render(std::string(40, 'W')));
    EXPECT_GT(word.left, 0);
    EXPECT_LT(word.right, kWidth - 1);
    EXPECT_GT(word.bottom, 30);
}

TEST_F(SubtitleLabelTest, TextTooTallIsDrawnSmallerWithEveryLineInside) {
    label.SetSubtitleFont(FromFontSpec(FontSpec{"DejaVu Sans", 40, 1}));
    Render("one");
    EXPECT_EQ(label.DrawnFont(), label.GetSubtitleFont().font);  // what fits keeps its size
    const QImage six = Render("one\r\ntwo\r\nthree\r\nfour\r\nfive\r\nend");
    EXPECT_EQ(GlyphsPerRow(six).size(), 6u);
    EXPECT_LT(InkOf(six).bottom, six.height() - 2);
    EXPECT_LT(QFontInfo(label.DrawnFont()).pixelSize(), QFontInfo(label.GetSubtitleFont().font).pixelSize());
}

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

TEST_F(SubtitleLabelTest, SettingTheSameCaptionDoesNotRepaintANewOneDoes) {
    PaintCounter counter;
    label.installEventFilter(&counter);
    label.show();
    label.SetCaption("first");
    for (int i = 0; i < 2; ++i) QApplication::processEvents();
    ASSERT_GT(counter.paints, 0);
    counter.paints = 0;
    for (int tick = 0; tick < 3; ++tick) {
        label.SetCaption("first");
        QApplication::processEvents();
    }
    EXPECT_EQ(counter.paints, 0);
    label.SetCaption("second");
    QApplication::processEvents();
    EXPECT_GT(counter.paints, 0);
}

TEST(SubtitleLabelCodePage, CueBytesAreReadInTheCodePageOfTheFontsCharacterSet) {
    struct Case { int charSet; const char* bytes; const char16_t* text; };
    const Case cases[] = {
        {204, "\xCF\xF0\xE8", u"При"},   // CP1251
        {1, "caf\xC3\xA9", u"café"},     // the ANSI code page of a UTF-8 system
        {1, "\xE9t\xE9", u"été"},        // ... which reads text that is not UTF-8 as CP1252
        {129, "ok\xFF", u"ok\uFFFD"},    // a byte the code page lacks does not stop the rest
    };
    for (const auto& c : cases) {
        SubtitleLabel label;
        label.SetSubtitleFont(TestFont(c.charSet));
        label.SetCaption(c.bytes);
        EXPECT_EQ(label.DisplayText(), QString::fromUtf16(c.text)) << "charset " << c.charSet;
    }
}

TEST(SubtitleLabelCodePage, DefaultCharacterSetReadsEachFileInItsOwnCodePage) {
    SubtitleLabel label;
    label.SetSubtitleFont(TestFont(1));
    label.SetCaption("\xCF\xF0\xE8");
    label.SetFileCodePage("CP1251");
    EXPECT_EQ(label.DisplayText(), QStringLiteral("При"));
    label.SetFileCodePage("UTF-8");
    label.SetCaption("\xD0\x9F\xD1\x80\xD0\xB8");
    EXPECT_EQ(label.DisplayText(), QStringLiteral("При"));
    // A chosen character set reads the shown caption again, as it always did.
    label.SetSubtitleFont(TestFont(238));
    label.SetFileCodePage("CP1251");
    EXPECT_EQ(label.DisplayText(), QStringLiteral("ĐźŃ€Đ¸"));
}

TEST(SubtitleFontConversion, StoredFontRoundTripsWithColourAsBgrAndOneByteCharacterSet) {
    const FontSpec spec{"Arial", 20, 204, 0x00FF8000};  // blue FF, green 80, red 00
    EXPECT_EQ(FromFontSpec(spec).color, QColor(0x00, 0x80, 0xFF));
    EXPECT_EQ(ToFontSpec(FromFontSpec(spec)), spec);
    EXPECT_EQ(FromFontSpec(FontSpec{"X", 12, 0x1CC, 255}).charSet, 0xCC);  // one byte kept
}

TEST_F(SubtitleLabelTest, OnlyWhatThePanelShowsIsLaidOutOncePerCaption) {
    std::string manyLines;
    for (int i = 0; i < 40000; ++i) manyLines += "line\r\n";
    Render(manyLines);
    EXPECT_GT(label.LaidOutCharacters(), 0);
    EXPECT_LT(label.LaidOutCharacters(), 1000);  // the lines below the bottom edge are not
    Render(std::string(200000, 'W'));
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
