// The windows as a person reads them: status texts and button captions show whole, play-list
// captions line up, and Escape in the font dialog cancels it.
#include "window_harness.h"

#include "platform/subtitle_font_dialog.h"
#include "presentation/tfm_synchronize.h"

#include <QApplication>
#include <QFontDialog>
#include <QKeyEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionButton>

namespace tessaview::test {
namespace {

struct MovieShape {
    int32_t frameRate, duration, width, height;
};

TEST_F(MainWindowTest, StatusPanelsShowTheirWholeText) {
    TfmMain& w = fmMain();
    w.resize(1200, w.height());  // room for all panels: the test is about each panel's own width
    const MovieShape movies[] = {
        {29970, 1078921, 3840, 2160},  // ten hours: "1078921/10:0:0", "29.97fps", "3840*2160"
        {25000, 100, 320, 240},        // shorter texts after longer ones
    };
    for (const MovieShape& m : movies) {
        engine.frameRate = m.frameRate;
        engine.duration = m.duration;
        engine.width = m.width;
        engine.height = m.height;
        OpenThroughDialog(MakeFile("m.avi"));
        w.FrameRateItems[1]->trigger();  // "23.976" for the last panel
        w.resize(1200, w.height());
        engine.position = m.duration;
        w.tmMovieTimer();
        int left = 0;
        for (int i = 0; i < 5; ++i) {
            QLabel* panel = w.sbMain->Panel(i);
            SCOPED_TRACE(panel->text().toStdString());
            EXPECT_FALSE(panel->text().isEmpty());
            EXPECT_GE(panel->width(), StatusPanels::PanelWidths[i]);
            EXPECT_EQ(panel->x(), left);  // side by side, none over another
            const QFontMetrics metrics = panel->fontMetrics();
            // A framed label without an indent of its own sets its text in by half an "x".
            const int indent = panel->indent() >= 0 ? panel->indent() : metrics.horizontalAdvance('x') / 2;
            EXPECT_GE(panel->contentsRect().width() - indent, metrics.horizontalAdvance(panel->text()));
            left += panel->width();
        }
    }
}

TEST_F(MainWindowTest, SynchronizeStepCaptionsFitTheirButtons) {
    TfmSynchronize& dialog = *fmMain().fmSynchronize();
    for (QPushButton* button : {dialog.SpeedButton8, dialog.SpeedButton1, dialog.SpeedButton2, dialog.SpeedButton5,
                                dialog.SpeedButton6, dialog.SpeedButton3, dialog.SpeedButton4, dialog.SpeedButton7}) {
        SCOPED_TRACE(button->text().toStdString());
        QStyleOptionButton option;
        option.initFrom(button);
        option.rect = button->rect();
        option.text = button->text();
        const QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), room.width());
        EXPECT_GE(button->font().pixelSize(), 7);  // still readable
    }
}

TEST_F(MainWindowTest, PlayListCaptionsLineUpWithAndWithoutAMark) {
    TfmMain& w = fmMain();
    w.ciShowPlayListClick();
    desktop.fileAnswers.push_back({QString::fromStdString(MakeFile("a.avi")), QString::fromStdString(MakeFile("b.avi")),
                                   QString::fromStdString(MakeFile("c.avi"))});
    w.sbAdd->click();
    OpenThroughDialog(Folder() + "/b.avi");
    w.Pause1->trigger();  // marks: none, paused, none
    Idle();
    QTreeWidget* view = w.lbPlayList;
    ASSERT_EQ(view->topLevelItemCount(), 3);
    const int height = view->visualItemRect(view->topLevelItem(1)).height();
    for (int i : {0, 2}) {
        QTreeWidgetItem* item = view->topLevelItem(i);
        EXPECT_EQ(view->visualItemRect(item).height(), height) << i;
        // The room of the mark is there, drawn as nothing.
        EXPECT_FALSE(item->icon(0).isNull()) << i;
        const QImage picture = item->icon(0).pixmap(view->iconSize()).toImage();
        EXPECT_EQ(picture.pixelColor(10, 10).alpha(), 0) << i;
    }
}

TEST(SubtitleFontDialogKeys, EscapeInTheFontPartCancelsTheWholeDialog) {
    FontChoice current;
    current.font = QFont("DejaVu Sans", 12);
    SubtitleFontDialog dialog(nullptr, current);
    int result = -1;
    QTimer::singleShot(0, &dialog, [&] {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(dialog.fontPart, &escape);
        // Still running: the empty dialog stayed up; close it so the test ends.
        QTimer::singleShot(0, &dialog, [&] {
            if (dialog.isVisible()) {
                result = -2;
                dialog.reject();
            }
        });
    });
    const int code = dialog.exec();
    EXPECT_EQ(result, -1) << "the dialog stayed open without its font part";
    EXPECT_EQ(code, QDialog::Rejected);
    EXPECT_FALSE(dialog.fontPart->isHidden());  // the next showing has its chooser
}

}  // namespace
}  // namespace tessaview::test
