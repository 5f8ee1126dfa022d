// The synchronize and language dialogs: steps, limits, closing, countdown and choice.
#include "presentation/sync_spin_edit.h"
#include "presentation/tfm_sel_lan.h"
#include "presentation/tfm_synchronize.h"

#include <QApplication>
#include "picture_library.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QKeyEvent>
#include <QTimer>
#include <limits>
#include <map>

namespace tessaview {
namespace {

// A key press and release delivered straight to `widget`, as the keyboard would.
void KeyClick(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
              const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

class SynchronizeTest : public ::testing::Test {
protected:
    void SetUp() override { mainWindow.setGeometry(100, 100, 546, 404); }
    QWidget mainWindow;
    TfmSynchronize fmSynchronize{&mainWindow};
};

TEST_F(SynchronizeTest, StepButtonsAddTheirStepsWithoutAnyLimit) {
    const std::map<QPushButton*, int> steps = {
        {fmSynchronize.SpeedButton8, -10000}, {fmSynchronize.SpeedButton1, -1000},
        {fmSynchronize.SpeedButton2, -100},   {fmSynchronize.SpeedButton5, -10},
        {fmSynchronize.SpeedButton6, 10},     {fmSynchronize.SpeedButton3, 100},
        {fmSynchronize.SpeedButton4, 1000},   {fmSynchronize.SpeedButton7, 10000},
    };
    for (const auto& [button, step] : steps) {
        fmSynchronize.seSyn->setValue(5);
        button->click();
        EXPECT_EQ(fmSynchronize.SyncOffset(), 5 + step) << button->text().toStdString();
    }
    fmSynchronize.seSyn->setValue(1900);  // steps add up from the value shown
    for (int i = 0; i < 3; ++i) fmSynchronize.SpeedButton8->click();
    EXPECT_EQ(fmSynchronize.SyncOffset(), -28100);
}

TEST_F(SynchronizeTest, ValueStopsAtTheEndsOfThe32BitRangeInsteadOfWrapping) {
    constexpr int kMax = std::numeric_limits<int32_t>::max();
    constexpr int kMin = std::numeric_limits<int32_t>::min();
    fmSynchronize.seSyn->setValue(kMax - 5);
    fmSynchronize.SpeedButton7->click();
    EXPECT_EQ(fmSynchronize.SyncOffset(), kMax);
    fmSynchronize.seSyn->stepUp();
    EXPECT_EQ(fmSynchronize.SyncOffset(), kMax);
    EXPECT_EQ(fmSynchronize.seSyn->text(), QString::number(kMax));
    fmSynchronize.seSyn->setValue(kMin + 5);
    fmSynchronize.SpeedButton8->click();
    EXPECT_EQ(fmSynchronize.SyncOffset(), kMin);
    EXPECT_EQ(fmSynchronize.seSyn->text(), QString::number(kMin));
    fmSynchronize.seSyn->Editor()->setText(QStringLiteral("abc"));
    EXPECT_EQ(fmSynchronize.SyncOffset(), 0);  // a text that is not a number reads as 0
}

TEST_F(SynchronizeTest, ResetStaysOpenCancelZeroesAndClosesOkKeepsTheValue) {
    fmSynchronize.show();
    fmSynchronize.SpeedButton3->click();
    fmSynchronize.Button1->click();
    EXPECT_EQ(fmSynchronize.SyncOffset(), 0);
    EXPECT_TRUE(fmSynchronize.isVisible());

    fmSynchronize.SpeedButton4->click();
    fmSynchronize.SpeedButton6->click();
    fmSynchronize.BitBtn2->click();
    EXPECT_EQ(fmSynchronize.SyncOffset(), 0);
    EXPECT_FALSE(fmSynchronize.isVisible());

    fmSynchronize.show();
    fmSynchronize.SpeedButton4->click();
    fmSynchronize.BitBtn1->click();
    EXPECT_FALSE(fmSynchronize.isVisible());
    fmSynchronize.show();  // reopening shows the value left by OK, centred over the main window
    EXPECT_EQ(fmSynchronize.seSyn->text(), QStringLiteral("1000"));
    EXPECT_NEAR(fmSynchronize.frameGeometry().center().x(), mainWindow.frameGeometry().center().x(), 1);
    EXPECT_NEAR(fmSynchronize.frameGeometry().center().y(), mainWindow.frameGeometry().center().y(), 1);

    // Escape and the window's close request leave it open.
    KeyClick(&fmSynchronize, Qt::Key_Escape);
    EXPECT_FALSE(fmSynchronize.close());
    EXPECT_TRUE(fmSynchronize.isVisible());
    EXPECT_EQ(fmSynchronize.SyncOffset(), 1000);
    KeyClick(fmSynchronize.seSyn, Qt::Key_Return);  // Enter presses OK, the default button
    EXPECT_FALSE(fmSynchronize.isVisible());
    EXPECT_EQ(fmSynchronize.SyncOffset(), 1000);
}

TEST_F(SynchronizeTest, NumberCannotBeTypedPastedOrCutButArrowKeysStepByOne) {
    SyncSpinEdit* seSyn = fmSynchronize.seSyn;
    seSyn->setValue(42);
    QApplication::clipboard()->setText(QStringLiteral("777"));
    const std::tuple<int, Qt::KeyboardModifier, const char*> keys[] = {
        {Qt::Key_9, Qt::NoModifier, "9"},       {Qt::Key_Minus, Qt::NoModifier, "-"},
        {Qt::Key_X, Qt::NoModifier, "x"},       {Qt::Key_Backspace, Qt::NoModifier, ""},
        {Qt::Key_Delete, Qt::NoModifier, ""},   {Qt::Key_V, Qt::ControlModifier, ""},
        {Qt::Key_X, Qt::ControlModifier, ""},   {Qt::Key_Insert, Qt::ShiftModifier, ""},
        {Qt::Key_PageUp, Qt::NoModifier, ""}};
    for (const auto& [key, modifier, text] : keys) KeyClick(seSyn, key, modifier, text);
    EXPECT_EQ(seSyn->text(), QStringLiteral("42"));
    EXPECT_TRUE(seSyn->Editor()->isReadOnly());

    KeyClick(seSyn, Qt::Key_Up);
    KeyClick(seSyn, Qt::Key_Up);
    KeyClick(seSyn, Qt::Key_Down);
    EXPECT_EQ(fmSynchronize.SyncOffset(), 43);
    seSyn->stepDown();
    EXPECT_EQ(fmSynchronize.SyncOffset(), 42);
}

// A library offering the given names for indexes 0 .. names.size() - 1.
class LanguageLibrary : public test::PictureLibrary {
public:
    std::vector<std::string> names;
    int32_t langNum = -1;
    std::vector<int32_t> chosen;
    int32_t GetLangNum() override { return langNum; }
    void GetLangName(int32_t index, char* name) override {
        const std::string& text = names.at(static_cast<size_t>(index));
        std::copy(text.begin(), text.end(), name);  // buffer arrives zero-filled or not: end it
        name[text.size()] = '\0';
    }
    void SetCurrentLang(int32_t index) override { chosen.push_back(index); }
};

TEST(TfmSelLan, ListsOnlyDetectedLanguagesAndStartsTheCountdown) {
    LanguageLibrary library;
    library.names = {"English", "(Not detected)", "French", "", "(not detected)"};
    library.langNum = 4;
    TfmSelLan fmSelLan(nullptr);
    fmSelLan.FillLanguageList(library);
    QStringList lines;
    for (int i = 0; i < fmSelLan.ListBox1->count(); ++i) lines << fmSelLan.ListBox1->item(i)->text();
    EXPECT_EQ(lines, QStringList({"0 - English", "2 - French", "4 - (not detected)"}));
    EXPECT_TRUE(fmSelLan.ListBox1->selectedItems().isEmpty());
    EXPECT_TRUE(fmSelLan.Timer1->isActive());
    fmSelLan.show();
    fmSelLan.seOK->click();  // closes at once, not when the countdown ends
    EXPECT_FALSE(fmSelLan.isVisible());

    library.langNum = -1;  // no language at all: an empty list
    fmSelLan.FillLanguageList(library);
    EXPECT_EQ(fmSelLan.ListBox1->count(), 0);
}

TEST(TfmSelLan, CountdownCaptionsThenOkOnTheFifthTick) {
    TfmSelLan fmSelLan(nullptr);
    fmSelLan.show();
    QStringList captions;
    for (int tick = 0; tick < 4; ++tick) {
        fmSelLan.Timer1Timer();
        captions << fmSelLan.seOK->text();
        EXPECT_TRUE(fmSelLan.isVisible());
    }
    EXPECT_EQ(captions, QStringList({"OK(4seconds)", "OK(3seconds)", "OK(2seconds)", "OK(1seconds)"}));
    fmSelLan.Timer1Timer();
    EXPECT_FALSE(fmSelLan.isVisible());
    EXPECT_FALSE(fmSelLan.Timer1->isActive());
    EXPECT_EQ(fmSelLan.seOK->text(), QStringLiteral("OK(1seconds)"));  // never a 0
    EXPECT_EQ(fmSelLan.ChosenLang, 0);
}

// Runs SelectVobSubLanguage and drives the modal dialog with `drive` once it is up.
template <typename Drive>
std::vector<int32_t> RunSelection(LanguageLibrary& library, Drive drive) {
    QWidget mainWindow;
    mainWindow.setGeometry(50, 60, 546, 404);
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<TfmSelLan*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            ADD_FAILURE() << "no language dialog";
            return;
        }
        const QPoint centre = dialog->frameGeometry().center();
        EXPECT_NEAR(centre.x(), mainWindow.frameGeometry().center().x(), 1);
        EXPECT_NEAR(centre.y(), mainWindow.frameGeometry().center().y(), 1);
        drive(*dialog);
    });
    SelectVobSubLanguage(library, &mainWindow);
    return library.chosen;
}

TEST(SelectVobSubLanguage, ChosenLineSetsItsIndexOnOkOrWhenTheCountdownEnds) {
    LanguageLibrary library;
    library.names = {"English", "(Not detected)", "French"};
    library.langNum = 2;
    EXPECT_EQ(RunSelection(library, [](TfmSelLan& d) {
                  d.ListBox1->setCurrentRow(1);
                  for (int tick = 0; tick < 4; ++tick) d.Timer1Timer();
                  EXPECT_TRUE(d.isVisible());  // a choice does not close the dialog
                  d.Timer1Timer();
              }),
              std::vector<int32_t>{2});

    library.chosen.clear();
    EXPECT_EQ(RunSelection(library, [](TfmSelLan& d) {
                  for (int tick = 0; tick < 5; ++tick) d.Timer1Timer();
              }),
              std::vector<int32_t>{0});

    // No language offered: language 0 all the same.
    library.chosen.clear();
    library.langNum = -1;
    EXPECT_EQ(RunSelection(library, [](TfmSelLan& d) { d.seOK->click(); }), std::vector<int32_t>{0});
}

}  // namespace
}  // namespace tessaview
