// VobSub pictures on the two bitmap surfaces and the overlay, and the language dialog; the code
// pages of the font's character set and of the file, as both text surfaces read them.
#include "presentation/bitmap_surface.h"
#include "presentation/subtitle_font.h"
#include "presentation/subtitle_label.h"
#include "presentation/subtitle_surfaces.h"
#include "presentation/tfm_sel_lan.h"
#include "presentation/tfm_sub.h"
#include "support/fake_vobsub.h"
#include "support/gui_app_environment.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

namespace tessaview {
namespace {

// A picture due from the start on, every pixel the same.
FakeVobSubPicture Picture(int32_t index, int32_t w, int32_t h, std::vector<uint8_t> bgra) {
    FakeVobSubPicture p{index, 0, INT32_MAX, w, h, {}};
    for (int32_t i = 0; i < w * h; ++i) p.bgra.insert(p.bgra.end(), bgra.begin(), bgra.end());
    return p;
}

using Columns = std::pair<int, int>;
constexpr Columns kNone{-1, -1};

// The columns of row `y` that are not black, as [first, last]; kNone when none.
Columns LitColumns(const QImage& image, int y) {
    Columns lit = kNone;
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, y) == qRgb(0, 0, 0)) continue;
        if (lit.first < 0) lit.first = x;
        lit.second = x;
    }
    return lit;
}

class SurfacesTest : public ::testing::Test {
protected:
    void SetUp() override {
        surfaces.PanelPicture()->resize(313, 83);
        overlayPicture.resize(1024, 173);
        surfaces.AttachOverlay(&overlayText, &overlayPicture);
        library.LoadVobSubFile("pair");
    }
    void Draw() { surfaces.ShowPicture(0); }
    FakeVobSub library;
    QWidget panel;
    SubtitleLabel overlayText;
    BitmapSurface overlayPicture;
    SubtitleSurfaces surfaces{library, &panel};
    BitmapSurface& panelPicture = *surfaces.PanelPicture();
};

TEST_F(SurfacesTest, PictureIsCentredAWideOneCutANewOneReplacesItAndAClearRemovesIt) {
    library.pictures = {Picture(7, 720, 100, {10, 100, 255, 255})};  // blue, green and red all differ
    library.pictures[0].left = library.pictures[0].top = 5;          // only width and height count
    Draw();
    EXPECT_EQ(LitColumns(overlayPicture.Image(), 0), Columns(152, 152 + 719));
    EXPECT_EQ(LitColumns(overlayPicture.Image(), 100), kNone);          // below the picture
    EXPECT_EQ(overlayPicture.Image().pixel(152, 0), qRgb(254, 99, 9));  // blended over black, div 256
    EXPECT_EQ(LitColumns(panelPicture.Image(), 82), Columns(0, 312));   // its bottom is cut

    library.pictures = {Picture(8, 4, 2, {255, 255, 255, 128})};
    Draw();
    EXPECT_EQ(LitColumns(overlayPicture.Image(), 0), Columns(510, 513));
    EXPECT_EQ(LitColumns(overlayPicture.Image(), 5), kNone);
    EXPECT_EQ(LitColumns(panelPicture.Image(), 0), Columns(154, 157));
    EXPECT_EQ(panelPicture.Image().pixel(154, 1), qRgb(127, 127, 127));
    library.pictures.clear();  // its time is over
    Draw();
    EXPECT_EQ(LitColumns(overlayPicture.Image(), 0), kNone);
    EXPECT_EQ(LitColumns(panelPicture.Image(), 0), kNone);
}

TEST_F(SurfacesTest, APictureIsDrawnOnceUntilInvalidatedOrHidden) {
    library.pictures = {Picture(3, 4, 2, {255, 255, 255, 255})};
    Draw();
    Draw();
    EXPECT_EQ(library.CallCount("GetDataPointer"), 1);
    overlayPicture.Clear();  // as a new size leaves it
    surfaces.Invalidate();
    Draw();
    EXPECT_EQ(library.CallCount("GetDataPointer"), 2);
    EXPECT_EQ(LitColumns(overlayPicture.Image(), 0), Columns(510, 513));
    // V: hidden at once; shown again, drawn again at the next tick.
    surfaces.SetShown(false, "");
    Draw();
    EXPECT_EQ(LitColumns(overlayPicture.Image(), 0), kNone);
    surfaces.SetShown(true, "");
    Draw();
    EXPECT_EQ(library.CallCount("GetDataPointer"), 3);
    EXPECT_EQ(LitColumns(panelPicture.Image(), 0), Columns(154, 157));
}

TEST_F(SurfacesTest, EmptyOrInvertedRectangleLeavesBothSurfacesBlackAndIsAskedForOnce) {
    library.pictures = {Picture(1, 50, 5, {255, 255, 255, 255})};
    Draw();
    // Rectangles {0, 0, 0, 10} and {5, 5, 2, 9}.
    for (const auto& [place, width, height] : {std::tuple{0, 0, 10}, {5, -3, 4}}) {
        FakeVobSubPicture& p = library.pictures[0];
        ++p.index;
        p.left = p.top = place;
        p.width = width;
        p.height = height;
        Draw();
        Draw();
        EXPECT_EQ(library.CallCount("GetDataPointer"), p.index);  // asked once per picture
        EXPECT_EQ(LitColumns(overlayPicture.Image(), 0), kNone);
        EXPECT_EQ(LitColumns(panelPicture.Image(), 0), kNone);
    }
}

TEST_F(SurfacesTest, EachFileReadInItsOwnCodePageOnBothLabelsAndAClearEmptiesBothLines) {
    const auto shown = [&] {
        EXPECT_EQ(overlayText.DisplayText(), surfaces.PanelText()->DisplayText());
        return surfaces.PanelText()->DisplayText();
    };
    surfaces.SetFont(FromFontSpec(FontSpec{"DejaVu Sans", 14, 1}));
    surfaces.ShowText("\xCF\xF0\xE8", "UTF-8");
    EXPECT_EQ(shown(), QStringLiteral("Ïðè"));    // not UTF-8: read as CP1252
    surfaces.ShowText("\xCF\xF0\xE8", "CP1251");  // the same bytes from another file
    EXPECT_EQ(shown(), QStringLiteral("При"));
    // A chosen character set reads the shown caption again, and the file's code page no more.
    surfaces.SetFont(FromFontSpec(FontSpec{"DejaVu Sans", 14, 238}));
    EXPECT_EQ(shown(), QStringLiteral("Ďđč"));
    surfaces.ShowText("\xCF\xF0\xE8", "UTF-8");
    EXPECT_EQ(shown(), QStringLiteral("Ďđč"));
    // No subtitle: both lines go.
    surfaces.SetSecondShown(true);
    surfaces.ShowSecondText("Second", "UTF-8");
    EXPECT_EQ(surfaces.PanelSecondText()->DisplayText(), "Second");
    surfaces.Clear();
    EXPECT_EQ(shown(), "");
    EXPECT_EQ(surfaces.PanelSecondText()->DisplayText(), "");
}

TEST(TfmSub, BothSurfacesFollowTheWindowsSize) {
    TfmSub fmSub(nullptr);
    EXPECT_EQ(fmSub.windowTitle(), "fmSub");  // what a task switcher lists
    fmSub.setGeometry(0, 665, 1024, 173);     // as full screen widens and then shows it
    fmSub.show();
    EXPECT_EQ(fmSub.findChild<SubtitleLabel*>("lbSub")->width(), 1024);
    EXPECT_EQ(fmSub.findChild<BitmapSurface*>("imSub")->Image().size(), QSize(1024, 173));
}

TEST(TfmSelLan, ListsOnlyDetectedLanguagesAndCountsDownToOk) {
    FakeVobSub library;
    library.languages = {"English", "(Not detected)", "French", "", "(not detected)"};
    TfmSelLan fmSelLan(nullptr);
    fmSelLan.FillLanguageList(library);
    fmSelLan.FillLanguageList(library);  // a second pair's list replaces the first's
    QStringList lines;
    for (int i = 0; i < fmSelLan.ListBox1->count(); ++i) lines << fmSelLan.ListBox1->item(i)->text();
    EXPECT_EQ(lines, QStringList({"0 - English", "2 - French", "4 - (not detected)"}));
    EXPECT_TRUE(fmSelLan.ListBox1->selectedItems().isEmpty());
    EXPECT_TRUE(fmSelLan.Timer1->isActive());

    fmSelLan.show();
    QStringList captions;
    for (int tick = 0; tick < 4; ++tick) {
        fmSelLan.Timer1Timer();
        captions << fmSelLan.seOK->text();
    }
    EXPECT_EQ(captions, QStringList({"OK(4seconds)", "OK(3seconds)", "OK(2seconds)", "OK(1seconds)"}));
    EXPECT_TRUE(fmSelLan.isVisible());
    fmSelLan.Timer1Timer();
    EXPECT_FALSE(fmSelLan.isVisible());
    EXPECT_FALSE(fmSelLan.Timer1->isActive());
    EXPECT_EQ(fmSelLan.seOK->text(), QStringLiteral("OK(1seconds)"));  // never a 0
}

// Runs SelectVobSubLanguage over `names` and drives the modal dialog with `drive` once it is up.
template <typename Drive>
std::vector<std::string> RunSelection(const std::vector<std::string>& names, Drive drive) {
    FakeVobSub library;
    library.languages = names;
    QWidget mainWindow;
    mainWindow.setGeometry(50, 60, 546, 404);
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TfmSelLan*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr) << "no language dialog";
        EXPECT_NEAR(dialog->frameGeometry().center().x(), mainWindow.frameGeometry().center().x(), 1);
        EXPECT_NEAR(dialog->frameGeometry().center().y(), mainWindow.frameGeometry().center().y(), 1);
        drive(*dialog);
    });
    SelectVobSubLanguage(library, &mainWindow);
    std::erase_if(library.calls, [](const std::string& call) { return !call.starts_with("SetCurrentLang"); });
    return library.calls;
}

TEST(SelectVobSubLanguage, ChosenLineSetsItsIndexWhenTheCountdownEndsAndNoneSetsZero) {
    EXPECT_EQ(RunSelection({"English", "(Not detected)", "French"},
                           [](TfmSelLan& d) {
                               d.ListBox1->setCurrentRow(1);
                               for (int tick = 0; tick < 4; ++tick) d.Timer1Timer();
                               EXPECT_TRUE(d.isVisible());  // a choice does not close the dialog
                               d.Timer1Timer();
                           }),
              std::vector<std::string>{"SetCurrentLang 2"});
    // No language offered: OK closes at once and sets language 0 all the same.
    EXPECT_EQ(RunSelection({},
                           [](TfmSelLan& d) {
                               d.seOK->click();
                               EXPECT_FALSE(d.isVisible());
                           }),
              std::vector<std::string>{"SetCurrentLang 0"});
}

}  // namespace
}  // namespace tessaview
