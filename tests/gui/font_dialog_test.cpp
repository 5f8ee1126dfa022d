// The subtitle font dialog keeps what the user did not touch, offers only character sets
// whose text it can decode as that set does, and Escape anywhere in it cancels it; the real
// desktop stacks windows without taking a native window from under the engine, and shows its
// messages in one kept box and its file dialog anew each time in one kept dialog.
#include "platform/qt_desktop.h"
#include "platform/subtitle_font_dialog.h"
#include "presentation/code_page_decoder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>
#include <set>

namespace tessaview::test {
namespace {

// Always on Top on a shown window tells its native window, which stays, as does a native child
// the engine would draw into; a strip's owner is set and taken back.
TEST(QtDesktop, StackingKeepsTheNativeWindowsAndTheWindowShown) {
    QWidget window;
    auto* picture = new QWidget(&window);
    picture->setAttribute(Qt::WA_NativeWindow);
    window.show();
    const WId id = window.winId();
    const WId pictureId = picture->winId();
    QtDesktop desktop;
    desktop.SetStaysOnTop(&window, true);
    EXPECT_TRUE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.winId(), id);
    EXPECT_EQ(picture->winId(), pictureId);
    desktop.SetStaysOnTop(&window, false);
    EXPECT_FALSE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));

    QWidget strip;
    QWindow owner;
    desktop.SetTransientFor(&strip, &owner);
    EXPECT_EQ(strip.windowHandle()->transientParent(), &owner);
    desktop.SetTransientFor(&strip, nullptr);
    EXPECT_EQ(strip.windowHandle()->transientParent(), nullptr);
}

// A message that comes while the box still waits on another gets a box of its own; otherwise
// every message of a kind is shown in the one box the window keeps.
TEST(QtDesktop, MessagesShareOneBoxAndOneWhileAnotherWaitsGetsItsOwn) {
    QWidget window;
    QtDesktop desktop;
    QStringList answered;
    const auto answer = [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            answered << box->text();
            box->accept();
        }
    };
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, answer);
        desktop.ErrorBox(&window, "second");
        answer();
    });
    desktop.ErrorBox(&window, "first");
    EXPECT_EQ(window.findChildren<QMessageBox*>().size(), 1);
    QTimer::singleShot(0, answer);
    desktop.ExceptionBox(&window, "third");
    EXPECT_EQ(answered, QStringList({"second", "first", "third"}));
    EXPECT_EQ(window.findChildren<QMessageBox*>().size(), 1);
}

// The kept file dialog comes back with this request's title and no name left from the last one.
TEST(QtDesktop, TheFileDialogComesBackEmptyWithTheNewRequest) {
    QWidget window;
    QtDesktop desktop;
    const TempDir folder;
    const QString movie = QString::fromStdString(folder.write("a.avi", "movie"));
    const FileDialogRequest request{"Play DivX Movie", "Movies|*.avi", false, QString::fromStdString(folder.path())};
    QStringList names, titles;
    const auto answer = [&](const QString& typed) {
        QTimer::singleShot(0, [&, typed] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            names << name->text();
            titles << dialog->windowTitle();
            name->setText(typed);
            QDialog* box = dialog;
            typed.isEmpty() ? box->reject() : box->accept();
        });
    };
    answer("a.avi");
    EXPECT_EQ(desktop.OpenFiles(&window, request), QStringList{movie});
    answer("");
    EXPECT_EQ(desktop.OpenFiles(&window, {"Load Subtitle", "Subtitles|*.srt", false, request.folder}), QStringList());
    EXPECT_EQ(names, QStringList({"", ""}));
    EXPECT_EQ(titles, QStringList({"Play DivX Movie", "Load Subtitle"}));
    EXPECT_EQ(window.findChildren<QFileDialog*>().size(), 1);
}

TEST(SubtitleFontDialog, KeepsAFaceThisSystemLacksUntilTheUserPicksAnother) {
    SubtitleFontDialog dialog(nullptr, FontChoice{QFont("MS Sans Serif", 12), QColor(10, 20, 30), 129});
    EXPECT_EQ(dialog.Choice().font.family(), "MS Sans Serif");
    EXPECT_EQ(dialog.Choice().color, QColor(10, 20, 30));
    EXPECT_EQ(dialog.Choice().charSet, 129);
    QFont other = dialog.fontPart->currentFont();
    for (const QString& family : QFontDatabase::families())
        if (family != other.family()) other.setFamily(family);
    other.setPointSize(20);
    dialog.fontPart->setCurrentFont(other);
    EXPECT_EQ(dialog.Choice().font.family(), other.family());
    EXPECT_EQ(dialog.Choice().font.pointSize(), 20);
}

TEST(SubtitleFontDialog, EveryCharacterSetOfferedDecodesItsOwnLetters) {
    const std::tuple<int, std::string, QString> letters[] = {
        {0, "\x80", "€"},
        {77, "\x8E", "é"},
        {128, "\x82\xA0", "あ"},
        {129, "\xB0\xA1", "가"},
        {130, "\x88\x61", "가"},
        {134, "\xC4\xE3", "你"},
        {136, "\xA7\x41", "你"},
        {161, "\xE1", "α"},
        {162, "\xFD", "ı"},
        {163, "\xF5", "ơ"},
        {177, "\xE0", "א"},
        {178, "\xC7", "ا"},
        {186, "\xE0", "ą"},
        {204, "\xC0", "А"},
        {222, "\xA1", "ก"},
        {238, "\xB9", "ą"},
        {255, "\x82", "é"},
        {1, "caf\xC3\xA9", "café"},   // the ANSI code page of a UTF-8 system...
        {1, "\xE9t\xE9", "été"},      // ...which reads text that is not UTF-8 as CP1252
        {129, "ok\xFF", "ok\uFFFD"},  // a byte the code page lacks does not stop the rest
    };
    SubtitleFontDialog dialog(nullptr, FontChoice{});
    std::set<int> offered, expected;
    for (int i = 0; i < dialog.charSetBox->count(); ++i) offered.insert(dialog.charSetBox->itemData(i).toInt());
    for (const auto& [set, bytes, text] : letters) {
        expected.insert(set);
        EXPECT_EQ(CodePageDecoder(set).Decode(bytes), text) << set << " " << bytes;
    }
    EXPECT_EQ(offered, expected);  // and not Symbol, which has no code page here
}

TEST(SubtitleFontDialog, EscapeInTheFontPartCancelsTheWholeDialog) {
    SubtitleFontDialog dialog(nullptr, FontChoice{QFont("DejaVu Sans", 12), Qt::white, 0});
    bool stayedOpen = false;
    QTimer::singleShot(0, &dialog, [&] {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(dialog.fontPart, &escape);
        QTimer::singleShot(0, &dialog, [&] {  // still running: close it so that the test ends
            stayedOpen = dialog.isVisible();
            dialog.reject();
        });
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_FALSE(stayedOpen) << "the dialog stayed open without its font part";
    EXPECT_FALSE(dialog.fontPart->isHidden());  // the next showing has its chooser
}

}  // namespace
}  // namespace tessaview::test
