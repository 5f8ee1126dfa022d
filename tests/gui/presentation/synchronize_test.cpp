// The synchronize dialog: steps, limits, closing, and a number that cannot be typed.
#include "presentation/sync_spin_edit.h"
#include "presentation/tfm_synchronize.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace tessaview {
namespace {

// A key press delivered straight to `widget`, as the keyboard would.
void Press(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = {}, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &press);
}

class SynchronizeTest : public ::testing::Test {
protected:
    QWidget mainWindow;
    TfmSynchronize fmSynchronize{&mainWindow};
};

TEST_F(SynchronizeTest, EachStepButtonAddsWhatItsCaptionSays) {
    int stepButtons = 0;
    for (QPushButton* button : fmSynchronize.findChildren<QPushButton*>()) {
        const QString caption = button->text();  // "-10s", "+100ms", ...
        if (!caption.startsWith(u'-') && !caption.startsWith(u'+')) continue;
        const bool ms = caption.endsWith(u"ms");
        const int step = caption.chopped(ms ? 2 : 1).toInt() * (ms ? 1 : 1000);
        fmSynchronize.seSyn->setValue(5);
        button->click();
        EXPECT_EQ(fmSynchronize.SyncOffset(), 5 + step) << caption.toStdString();
        ++stepButtons;
    }
    EXPECT_EQ(stepButtons, 8);
}

TEST_F(SynchronizeTest, ValueStopsAtTheEndsOfThe32BitRangeInsteadOfWrapping) {
    fmSynchronize.seSyn->setValue(INT32_MAX - 5);
    fmSynchronize.SpeedButton7->click();
    fmSynchronize.seSyn->stepUp();
    EXPECT_EQ(fmSynchronize.seSyn->text(), QString::number(INT32_MAX));
    fmSynchronize.seSyn->setValue(INT32_MIN + 5);
    fmSynchronize.SpeedButton8->click();
    EXPECT_EQ(fmSynchronize.SyncOffset(), INT32_MIN);
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
    fmSynchronize.BitBtn2->click();
    EXPECT_EQ(fmSynchronize.SyncOffset(), 0);
    EXPECT_FALSE(fmSynchronize.isVisible());

    fmSynchronize.show();
    fmSynchronize.SpeedButton4->click();
    // Escape and the window's close request leave it open; Enter presses OK, the default.
    Press(&fmSynchronize, Qt::Key_Escape);
    EXPECT_FALSE(fmSynchronize.close());
    EXPECT_TRUE(fmSynchronize.isVisible());
    Press(fmSynchronize.seSyn, Qt::Key_Return);
    EXPECT_FALSE(fmSynchronize.isVisible());
    fmSynchronize.show();
    EXPECT_EQ(fmSynchronize.seSyn->text(), QStringLiteral("1000"));  // as OK left it
}

TEST_F(SynchronizeTest, NumberCannotBeTypedPastedOrCutButArrowKeysStepByOne) {
    SyncSpinEdit* seSyn = fmSynchronize.seSyn;
    seSyn->setValue(42);
    QApplication::clipboard()->setText(QStringLiteral("777"));
    Press(seSyn, Qt::Key_9, {}, QStringLiteral("9"));
    Press(seSyn, Qt::Key_V, Qt::ControlModifier);
    Press(seSyn, Qt::Key_PageUp);
    EXPECT_EQ(seSyn->text(), QStringLiteral("42"));
    EXPECT_TRUE(seSyn->Editor()->isReadOnly());  // nor dropped or pasted with the mouse

    Press(seSyn, Qt::Key_Up);
    Press(seSyn, Qt::Key_Up);
    Press(seSyn, Qt::Key_Down);
    EXPECT_EQ(fmSynchronize.SyncOffset(), 43);
}

}  // namespace
}  // namespace tessaview
