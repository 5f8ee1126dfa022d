// The text subtitle surface: drawing rules, the mnemonic marker, repaint economy and the
// code pages of the font's character set.
#include "presentation/subtitle_font.h"
#include "presentation/subtitle_label.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <QEvent>
#include <QImage>
#include <QPixmap>
#include <vector>

namespace tessaview {
namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 83;

SubtitleFont TestFont(int charSet = 1) {
    FontSpec spec;
    spec.Name = "DejaVu Sans";
    spec.Size = 14;
    spec.CharSet = charSet;
    return FromFontSpec(spec);
}

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
            if (x > ink.right) ink.right = x;
            if (ink.top < 0) ink.top = y;
            ink.bottom = y;
        }
    }
    return ink;
}

class SubtitleLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        label.resize(kWidth, kHeight);
        label.SetSubtitleFont(TestFont());
    }
    QImage Render(const std::string& caption) {
        label.SetCaption(caption);
        return label.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    SubtitleLabel label;
};

TEST_F(SubtitleLabelTest, OpaqueBlackWithTheLineCentredAtTheTop) {
    const QImage empty = Render("");
    EXPECT_EQ(InkOf(empty), Ink{});
    EXPECT_EQ(empty.pixel(0, 0), qRgb(0, 0, 0));

    const Ink ink = InkOf(Render("Hello"));
    ASSERT_GE(ink.left, 0);
    EXPECT_NEAR((ink.left + ink.right) / 2.0, kWidth / 2.0, 2.0);
    EXPECT_LT(ink.top, 8);
    EXPECT_LT(ink.bottom, 30);
}

TEST_F(SubtitleLabelTest, CrLfStartsANewLineTabsExpandAndALongLineIsCutAtBothEdges) {
    const Ink blank = InkOf(Render("a b"));
    const Ink tab = InkOf(Render("a\tb"));
    EXPECT_GT(tab.right - tab.left, (blank.right - blank.left) + 20);

    const Ink one = InkOf(Render("Hello"));
    const Ink two = InkOf(Render("Hello\r\nHello"));
    EXPECT_EQ(label.DisplayText(), QStringLiteral("Hello\nHello"));
    EXPECT_EQ(two.left, one.left);
    EXPECT_GT(two.bottom, one.bottom + 10);

    const QImage wide = Render(std::string(60, 'W'));
    const Ink ink = InkOf(wide);
    EXPECT_EQ(ink.left, 0);
    EXPECT_EQ(ink.right, kWidth - 1);
    EXPECT_LT(ink.bottom, 30);  // no word wrap onto a second line
}

TEST(StripMnemonics, SingleAmpersandMarksTheNextCharacterAndDoubledOneDrawsOne) {
    struct Case { const char* line; const char* text; std::vector<int> underlined; };
    const Case cases[] = {
        {"one & two", "one  two", {4}},
        {"fish && chips", "fish & chips", {}},
        {"&File", "File", {0}},
        {"a&&&b", "a&b", {2}},
        {"&&&&", "&&", {}},
        {"Tom&", "Tom", {}},  // nothing to underline after a final "&"
        {"&a&b", "ab", {0, 1}},
        {"", "", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StripMnemonics(QString::fromUtf8(c.line)),
                  (MnemonicLine{QString::fromUtf8(c.text), c.underlined}))
            << c.line;
    }
}

// The widest run of columns without ink between the ink's ends: the gap between two words.
std::pair<int, int> WidestGap(const QImage& image, const Ink& ink) {
    std::pair<int, int> best{-1, -2};
    int start = -1;
    for (int x = ink.left; x <= ink.right; ++x) {
        bool lit = false;
        for (int y = 0; y < image.height() && !lit; ++y) lit = qGray(image.pixel(x, y)) >= 64;
        if (!lit && start < 0) start = x;
        if (lit && start >= 0) {
            if (x - 1 - start > best.second - best.first) best = {start, x - 1};
            start = -1;
        }
    }
    return best;
}

TEST_F(SubtitleLabelTest, LoneAmpersandIsNotDrawnAndUnderlinesTheBlankAfterIt) {
    const QImage plain = Render("one  two");
    const QImage marked = Render("one & two");
    const Ink plainInk = InkOf(plain);
    // The same words in the same places, plus an underline below the baseline.
    for (int y = 0; y <= plainInk.bottom; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            ASSERT_EQ(plain.pixel(x, y), marked.pixel(x, y)) << x << "," << y;
        }
    }
    ASSERT_GT(InkOf(marked).bottom, plainInk.bottom);
    const Ink under = InkOf(marked.copy(0, plainInk.bottom + 1, kWidth, kHeight - plainInk.bottom - 1));
    const auto [gapLeft, gapRight] = WidestGap(plain, plainInk);
    // Under the second of the two blanks: in the right half of the gap between the words.
    EXPECT_GE(under.left, (gapLeft + gapRight) / 2 - 1);
    EXPECT_LE(under.right, gapRight + 1);
}

TEST_F(SubtitleLabelTest, RightToLeftLineIsCentredToo) {
    label.SetSubtitleFont(TestFont(177));
    const Ink ink = InkOf(Render("\xF9\xEC\xE5\xED"));  // a Hebrew word in CP1255
    EXPECT_EQ(label.DisplayText(), QStringLiteral("שלום"));
    ASSERT_GE(ink.left, 0);
    EXPECT_NEAR((ink.left + ink.right) / 2.0, kWidth / 2.0, 3.0);
}

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST_F(SubtitleLabelTest, SettingTheSameCaptionDoesNotRepaint) {
    PaintCounter counter;
    label.installEventFilter(&counter);
    label.show();
    label.SetCaption("first");
    for (int i = 0; i < 2; ++i) QApplication::processEvents();
    ASSERT_GT(counter.paints, 0);

    counter.paints = 0;
    for (int tick = 0; tick < 10; ++tick) {
        label.SetCaption("first");
        QApplication::processEvents();
    }
    EXPECT_EQ(counter.paints, 0);

    label.SetCaption("second");
    QApplication::processEvents();
    EXPECT_GT(counter.paints, 0);
    EXPECT_EQ(label.Caption(), "second");
}

TEST(SubtitleLabelCodePage, CueBytesAreReadInTheCodePageOfTheFontsCharacterSet) {
    struct Case { int charSet; const char* bytes; const char16_t* text; };
    // Every set's own letters are checked where the font dialog offers the sets.
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

TEST(SubtitleLabelCodePage, ChangingTheCharacterSetReadsTheShownCaptionAgain) {
    SubtitleLabel label;
    label.SetSubtitleFont(TestFont(0));
    label.SetCaption("\xC0");
    EXPECT_EQ(label.DisplayText(), QStringLiteral("À"));
    label.SetSubtitleFont(TestFont(204));
    EXPECT_EQ(label.DisplayText(), QStringLiteral("А"));
    EXPECT_EQ(label.Caption(), "\xC0");
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
    label.SetSubtitleFont(TestFont(238));  // a chosen character set reads as it always did
    label.SetFileCodePage("CP1251");
    EXPECT_EQ(label.DisplayText(), QStringLiteral("ĐźŃ€Đ¸"));
}

TEST(SubtitleFontConversion, StoredFontRoundTripsWithStyleDroppedAndColourAsBgr) {
    const FontSpec spec{"Arial", 20, 204, 0x00FF8000};  // blue FF, green 80, red 00
    SubtitleFont font = FromFontSpec(spec);
    EXPECT_EQ(font.font.family(), QStringLiteral("Arial"));
    EXPECT_EQ(font.font.pointSize(), 20);
    EXPECT_FALSE(font.font.bold() || font.font.italic() || font.font.underline() ||
                 font.font.strikeOut());
    EXPECT_EQ(font.color, QColor(0x00, 0x80, 0xFF));
    EXPECT_EQ(font.charSet, 204);
    font.font.setBold(true);
    EXPECT_EQ(ToFontSpec(font), spec);

    EXPECT_EQ(FromFontSpec(FontSpec{"X", 12, 0x1CC, 255}).charSet, 0xCC);  // one byte kept
}

}  // namespace
}  // namespace tessaview
