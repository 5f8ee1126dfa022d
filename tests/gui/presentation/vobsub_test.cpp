// VobSub pictures on the two bitmap surfaces and the overlay, and the language dialog.
#include "external/vobsub_library.h"
#include "presentation/bitmap_surface.h"
#include "presentation/subtitle_label.h"
#include "presentation/subtitle_surfaces.h"
#include "presentation/tfm_sel_lan.h"
#include "presentation/tfm_sub.h"
#include "support/gui_app_environment.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

namespace tessaview {
namespace {

// One due picture, handed out as a fresh copy at every GetDataPointer as the real library
// does, and the languages offered.
class FakeLibrary : public VobSubLibrary {
public:
    int32_t index = 0;
    VobSubRect rect;
    std::vector<uint8_t> pixels;     // BGRA
    std::vector<std::string> names;  // languages 0 .. names.size() - 1
    std::vector<int32_t> chosen;
    bool due = true;   // whether GetFrame finds a picture
    int handOuts = 0;  // GetDataPointer calls

    // A w x h picture, every pixel the same.
    void SetPicture(int32_t newIndex, int32_t w, int32_t h, std::vector<uint8_t> bgra) {
        index = newIndex;
        rect = {0, 0, w, h};
        pixels.clear();
        for (int32_t i = 0; i < w * h; ++i) pixels.insert(pixels.end(), bgra.begin(), bgra.end());
    }
    void LoadVobSubFile(const std::string&) override {}
    int32_t GetLangNum() override { return static_cast<int32_t>(names.size()) - 1; }
    void GetLangName(int32_t i, char* name) override {
        const std::string& text = names.at(static_cast<size_t>(i));
        *std::copy(text.begin(), text.end(), name) = '\0';  // the buffer may hold anything
    }
    void SetCurrentLang(int32_t i) override { chosen.push_back(i); }
    bool GetFrame(int32_t) override { return due; }
    int32_t GetCurrentIndex() override { return index; }
    void GetDataPointer(uint8_t** data, VobSubRect* out) override {
        ++handOuts;
        handedOut_ = pixels;
        *data = handedOut_.empty() ? nullptr : handedOut_.data();
        *out = rect;
    }

private:
    std::vector<uint8_t> handedOut_;
};

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

class BitmapCueTest : public ::testing::Test {
protected:
    void SetUp() override {
        surfaces.PanelPicture()->resize(313, 83);
        overlayPicture.resize(1024, 173);
        surfaces.AttachOverlay(&overlayText, &overlayPicture);
    }
    void Draw() { surfaces.ShowPicture(0); }
    FakeLibrary library;
    QWidget panel;
    SubtitleLabel overlayText;
    BitmapSurface overlayPicture;
    SubtitleSurfaces surfaces{library, &panel};
    BitmapSurface& panelPicture = *surfaces.PanelPicture();
};

TEST_F(BitmapCueTest, PictureIsCentredAWideOneCutANewOneReplacesItAndAClearRemovesIt) {
    library.SetPicture(7, 720, 100, {10, 100, 255, 255});  // blue, green and red all differ
    library.rect = {5, 5, 725, 105};                       // only width and height count, not the place
    Draw();
    EXPECT_EQ(LitColumns(overlayPicture.Image(), 0), Columns(152, 152 + 719));
    EXPECT_EQ(LitColumns(overlayPicture.Image(), 100), kNone);          // below the picture
    EXPECT_EQ(overlayPicture.Image().pixel(152, 0), qRgb(254, 99, 9));  // blended over black, div 256
    EXPECT_EQ(LitColumns(panelPicture.Image(), 82), Columns(0, 312));   // its bottom is cut

    library.SetPicture(8, 4, 2, {255, 255, 255, 128});
    Draw();
    EXPECT_EQ(LitColumns(overlayPicture.Image(), 0), Columns(510, 513));
    EXPECT_EQ(LitColumns(overlayPicture.Image(), 5), kNone);
    EXPECT_EQ(LitColumns(panelPicture.Image(), 0), Columns(154, 157));
    EXPECT_EQ(panelPicture.Image().pixel(154, 1), qRgb(127, 127, 127));
    library.due = false;  // its time is over
    Draw();
    EXPECT_EQ(LitColumns(overlayPicture.Image(), 0), kNone);
    EXPECT_EQ(LitColumns(panelPicture.Image(), 0), kNone);
}

TEST_F(BitmapCueTest, APictureIsDrawnOnceUntilInvalidatedOrHidden) {
    library.SetPicture(3, 4, 2, {255, 255, 255, 255});
    Draw();
    Draw();
    EXPECT_EQ(library.handOuts, 1);
    overlayPicture.Clear();  // as a new size leaves it
    surfaces.Invalidate();
    Draw();
    EXPECT_EQ(library.handOuts, 2);
    EXPECT_EQ(LitColumns(overlayPicture.Image(), 0), Columns(510, 513));
    // V: hidden at once; shown again, drawn again at the next tick.
    surfaces.SetShown(false, "");
    Draw();
    EXPECT_EQ(LitColumns(overlayPicture.Image(), 0), kNone);
    surfaces.SetShown(true, "");
    Draw();
    EXPECT_EQ(library.handOuts, 3);
    EXPECT_EQ(LitColumns(panelPicture.Image(), 0), Columns(154, 157));
}

TEST_F(BitmapCueTest, EmptyOrInvertedRectangleLeavesBothSurfacesBlackAndIsAskedForOnce) {
    library.SetPicture(1, 50, 5, {255, 255, 255, 255});
    Draw();
    for (const VobSubRect rect : {VobSubRect{0, 0, 0, 10}, VobSubRect{5, 5, 2, 9}}) {
        library.index += 1;
        library.rect = rect;
        Draw();
        Draw();
        EXPECT_EQ(library.handOuts, library.index);  // asked once per picture
        EXPECT_EQ(LitColumns(overlayPicture.Image(), 0), kNone);
        EXPECT_EQ(LitColumns(panelPicture.Image(), 0), kNone);
    }
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
    FakeLibrary library;
    library.names = {"English", "(Not detected)", "French", "", "(not detected)"};
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
std::vector<int32_t> RunSelection(const std::vector<std::string>& names, Drive drive) {
    FakeLibrary library;
    library.names = names;
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
    return library.chosen;
}

TEST(SelectVobSubLanguage, ChosenLineSetsItsIndexWhenTheCountdownEndsAndNoneSetsZero) {
    EXPECT_EQ(RunSelection({"English", "(Not detected)", "French"},
                           [](TfmSelLan& d) {
                               d.ListBox1->setCurrentRow(1);
                               for (int tick = 0; tick < 4; ++tick) d.Timer1Timer();
                               EXPECT_TRUE(d.isVisible());  // a choice does not close the dialog
                               d.Timer1Timer();
                           }),
              std::vector<int32_t>{2});
    // No language offered: OK closes at once and sets language 0 all the same.
    EXPECT_EQ(RunSelection({},
                           [](TfmSelLan& d) {
                               d.seOK->click();
                               EXPECT_FALSE(d.isVisible());
                           }),
              std::vector<int32_t>{0});
}

}  // namespace
}  // namespace tessaview
