// The main window as built: menu tree, tool bar, panels, status bar, and the enabled state
// of the commands in the three movie states.
#include "window_harness.h"

#include "app/status_panels.h"
#include "app/tfm_about.h"
#include "presentation/subtitle_label.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QFile>
#include <QLabel>
#include <QHeaderView>
#include <array>

namespace tessaview::test {
namespace {

struct MenuEntry {
    const char* menu;
    const char* name;  // "-" for a separator
    const char* caption;
    const char* shortcut;
};

// The whole tree in order; separators carry their item name in `caption`.
const MenuEntry kMenuTree[] = {
    {"&Movie", "PlayFile1", "&Play File ...", "Ctrl+O"},
    {"&Movie", "ContinuedPlayFile1", "Continued Play File ...", ""},
    {"&Movie", "Play1", "Play", ""},
    {"&Movie", "Pause1", "Pause", "Ctrl+P"},
    {"&Movie", "Stop1", "Stop", "Ctrl+S"},
    {"&Movie", "-", "N1", ""},
    {"&Movie", "Exit1", "&Exit", ""},
    {"&Subtitle", "LoadSubtitle1", "&Load Subtitle ...", "Ctrl+L"},
    {"&Subtitle", "EnableAutoloadSubtitle1", "Enable Auto load Subtitle", ""},
    {"&Subtitle", "-", "N2", ""},
    {"&Subtitle", "SetSubtitleFont1", "Set Subtitle Font ...", ""},
    {"&Subtitle", "-", "N3", ""},
    {"&Subtitle", "SubtitleFrameRate1", "Subtitle FrameRate", ""},
    {"&Subtitle", "-", "N6", ""},
    {"&Subtitle", "AdjustSubtitle1", "Synchronize Subtitle", ""},
    {"&Subtitle", "-", "N7", ""},
    {"&Subtitle", "ChangeSubtitleLanguage1", "Change Subtitle Language", ""},
    {"&View", "NN1", "Origin Size", ""},
    {"&View", "NN2", "Double Size", ""},
    {"&View", "NN3", "Full Screen", "F4"},
    {"&View", "AlwaysonTop1", "Always on Top", ""},
    {"&View", "UseSkin1", "Use Skin", ""},
    {"&View", "ciShowPlayList", "Show Play list", ""},
    {"&About", "QuillmarkHomepage1", "&Quillmark Homepage", ""},
    {"&About", "-", "N5", ""},
    {"&About", "About2", "&About ...", ""},
};

TEST_F(MainWindowTest, MenuTreeHasEveryCaptionNameShortcutAndSeparatorInOrder) {
    std::vector<std::array<std::string, 4>> seen;
    QStringList menus;
    for (QAction* top : fmMain().SeSkinMenuBar1->actions()) {
        menus << top->text();
        for (QAction* item : top->menu()->actions()) {
            ASSERT_FALSE(item->objectName().isEmpty()) << item->text().toStdString();
            const bool separator = item->isSeparator();
            seen.push_back({top->text().toStdString(), separator ? "-" : item->objectName().toStdString(),
                            separator ? item->objectName().toStdString() : item->text().toStdString(),
                            item->shortcut().toString().toStdString()});
        }
    }
    EXPECT_EQ(menus, QStringList({"&Movie", "&Subtitle", "&View", "&About"}));
    ASSERT_EQ(seen.size(), std::size(kMenuTree));
    for (size_t i = 0; i < seen.size(); ++i) {
        const MenuEntry& want = kMenuTree[i];
        EXPECT_EQ(seen[i], (std::array<std::string, 4>{want.menu, want.name, want.caption, want.shortcut}));
    }
    EXPECT_FALSE(fmMain().UseSkin1->isVisible());
    QStringList rates;
    for (QAction* rate : fmMain().SubtitleFrameRate1->menu()->actions()) rates << rate->objectName() + "=" + rate->text();
    EXPECT_EQ(rates, QStringList({"SameAsMovie1=Same As Movie", "n001=23.976", "n002=24.000", "n003=25.000",
                                  "n004=29.970", "n005=30.000"}));
}

TEST_F(MainWindowTest, LayoutAtDesignSize) {
    Idle();
    TfmMain& w = fmMain();
    EXPECT_EQ(w.windowTitle(), "Tessaview");
    EXPECT_EQ(w.size(), QSize(546, 404));
    QStringList tools;
    for (QToolButton* b : w.tlbMain->findChildren<QToolButton*>()) {
        tools << b->objectName();
        EXPECT_FALSE(b->icon().isNull());
        EXPECT_EQ(b->iconSize(), QSize(20, 20));
        EXPECT_EQ(b->height(), 26);
    }
    EXPECT_EQ(tools, QStringList({"sbOpenFile", "sbPlay", "sbPause", "sbStop", "sbLoadSub", "sbSubFont", "sbn1",
                                  "sbn2", "sbn3"}));
    EXPECT_EQ(w.tlbMain->height(), 29);
    EXPECT_EQ(w.tbMain->height(), 17);
    EXPECT_EQ(w.tbMain->maximum(), 1000);
    EXPECT_EQ(w.lbSubParent->height(), 83);
    EXPECT_EQ(w.lbSubParent->y() - (w.plMovie->y() + w.plMovie->height()), 3);  // Splitter1
    EXPECT_EQ(w.plMovie->height(), 404 - w.SeSkinMenuBar1->height() - 29 - 17 - 19 - 3 - 83);
    EXPECT_EQ(w.lbSubtitle->geometry(), w.lbSubParent->rect());
    EXPECT_EQ(w.sbMain->height(), 19);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(w.sbMain->Panel(i)->width(), StatusPanels::PanelWidths[i]);
    EXPECT_EQ(w.tmMovie->interval(), 100);
    EXPECT_FALSE(w.tmMovie->isActive());
    // No set.ini: the play list panel starts hidden.
    EXPECT_EQ(w.plPlayList->width(), 0);
    EXPECT_FALSE(w.ciShowPlayList->isChecked());
}

TEST_F(MainWindowTest, PlayListPanelHasItsListAndFourButtons) {
    fmMain().ciShowPlayList->trigger();
    Idle();
    TfmMain& w = fmMain();
    EXPECT_EQ(w.plPlayList->width(), 230);
    EXPECT_EQ(w.lbPlayList->headerItem()->text(0), "PLAY LIST");
    EXPECT_EQ(w.lbPlayList->columnCount(), 1);
    EXPECT_EQ(w.lbPlayList->selectionMode(), QAbstractItemView::ExtendedSelection);
    const QPushButton* buttons[] = {w.sbAdd, w.sbDel, w.sbUp, w.sbDown};
    const char* captions[] = {"ADD", "DEL", "UP", "DOWN"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(buttons[i]->text(), captions[i]);
        EXPECT_EQ(buttons[i]->geometry(), QRect(8 + 56 * i, 8, 49, 25));
        EXPECT_EQ(buttons[i]->parentWidget()->height(), 37);
    }
    EXPECT_EQ(w.lbPlayList->header()->sectionSize(0), w.lbPlayList->viewport()->width());
}

// Enabled state of Play File, Play, Pause, Stop, Origin Size, Double Size, Full Screen; each
// menu entry and its tool button always agree.
std::vector<bool> MovieCommands(const TfmMain& w) {
    const std::pair<QAction*, QToolButton*> pairs[] = {{w.PlayFile1, w.sbOpenFile}, {w.Play1, w.sbPlay},
                                                       {w.Pause1, w.sbPause},       {w.Stop1, w.sbStop},
                                                       {w.NN1, w.sbn1},             {w.NN2, w.sbn2},
                                                       {w.NN3, w.sbn3}};
    std::vector<bool> state;
    for (const auto& [item, button] : pairs) {
        EXPECT_EQ(item->isEnabled(), button->isEnabled()) << item->objectName().toStdString();
        state.push_back(item->isEnabled());
    }
    return state;
}

TEST_F(MainWindowTest, CommandStateFollowsTheThreeMovieStates) {
    Idle();
    TfmMain& w = fmMain();
    using V = std::vector<bool>;
    EXPECT_EQ(MovieCommands(w), V({true, false, false, false, false, false, false}));
    EXPECT_FALSE(w.ContinuedPlayFile1->isEnabled());
    EXPECT_FALSE(w.ChangeSubtitleLanguage1->isEnabled());
    EXPECT_TRUE(w.AlwaysonTop1->isChecked());

    OpenThroughDialog(MakeFile("a.avi"));
    Idle();
    EXPECT_EQ(MovieCommands(w), V({true, false, true, true, true, true, true}));
    EXPECT_TRUE(w.ContinuedPlayFile1->isEnabled());

    w.Pause1->trigger();
    Idle();
    EXPECT_EQ(MovieCommands(w), V({true, false, true, true, true, true, true}));

    w.Stop1->trigger();
    Idle();
    EXPECT_EQ(MovieCommands(w), V({true, true, false, false, false, false, false}));

    // A failing open after a stop leaves Play available.
    engine.failingPaths.insert(Folder() + "/bad.avi");
    OpenThroughDialog(Folder() + "/bad.avi");
    Idle();
    EXPECT_TRUE(w.Play1->isEnabled());
    // Always-available commands are never disabled.
    for (QAction* a : {w.LoadSubtitle1, w.EnableAutoloadSubtitle1, w.SetSubtitleFont1, w.AdjustSubtitle1,
                       w.AlwaysonTop1, w.ciShowPlayList, w.QuillmarkHomepage1, w.About2, w.Exit1})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
}

TEST_F(MainWindowTest, SmallCommandsOnTopSkinHomepage) {
    TfmMain& w = fmMain();
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    w.AlwaysonTop1->trigger();
    EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(w.AlwaysonTop1->isChecked());
    EXPECT_TRUE(w.isVisible());
    w.AlwaysonTop1->trigger();
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(w.AlwaysonTop1->isChecked());

    EXPECT_TRUE(w.UseSkin1->isChecked());
    w.UseSkin1Click();
    EXPECT_FALSE(w.UseSkin1->isChecked());
    EXPECT_EQ(desktop.informations, QStringList({"Skin Changes will be taken effect after program restarted!"}));

    w.EnableAutoloadSubtitle1->trigger();
    EXPECT_FALSE(w.EnableAutoloadSubtitle1->isChecked());
    EXPECT_FALSE(w.AutoloadChecked());

    w.QuillmarkHomepage1->trigger();
    EXPECT_EQ(desktop.urls, QStringList({"https://tessaview.org"}));
}

TEST_F(MainWindowTest, StartUpRunsItsStepsAndClosingReleasesTheHook) {
    EXPECT_EQ(hook.sets, 1);
    EXPECT_TRUE(fmMain().HookInstalled());
    EXPECT_TRUE(fmMain().acceptDrops());
    EXPECT_TRUE(fmMain().FrameRateItems[0]->isChecked());
    EXPECT_TRUE(instances.terminated.empty());
    OpenThroughDialog(MakeFile("a.avi"));
    EXPECT_FALSE(desktop.screenSaverActive);
    fmMain().Exit1->trigger();
    EXPECT_FALSE(fmMain().tmMovie->isActive());
    EXPECT_TRUE(desktop.screenSaverActive);  // closing stops the movie first
    EXPECT_EQ(hook.frees, 1);
    EXPECT_TRUE(QFile::exists(folder.filePath("set.ini")));
}

TEST_F(MainWindowTest, CommandLineOpensTheFirstArgumentOnlyOnceTheLoopRuns) {
    program.reset();
    const std::string movie = MakeFile("first.avi");
    Start({"tessaview", QString::fromStdString(movie), "second.avi"});
    EXPECT_TRUE(engine.path.empty());  // deferred until the message loop runs
    Idle();
    EXPECT_EQ(engine.path, movie);
    EXPECT_EQ(engine.CallCount("PlayFile"), 1);
}

TEST_F(MainWindowTest, RelativeCommandLineNameIsOpenedAndListedWithItsFullPath) {
    program.reset();
    Start({"tessaview", "relative/movie.avi"});
    Idle();
    const std::string full = QDir::current().absoluteFilePath("relative/movie.avi").toStdString();
    EXPECT_EQ(engine.path, full);
    EXPECT_EQ(fmMain().Movie.MovieFileName, full);
}

TEST_F(MainWindowTest, ToolBarTakesTheButtonFaceColourOnceTheLoopRuns) {
    program.reset();
    Start();
    TfmMain& w = fmMain();
    // A point of the bar right of the nine buttons.
    const QPoint empty(w.tlbMain->width() - 4, w.tlbMain->height() / 2);
    auto colourAt = [&w, empty] {
        return w.grab().toImage().pixelColor(w.tlbMain->mapTo(&w, empty));
    };
    EXPECT_EQ(colourAt(), QColor(Qt::white));
    Idle();
    const QColor face = w.tlbMain->palette().color(QPalette::Button);
    ASSERT_NE(face, QColor(Qt::white));
    EXPECT_EQ(colourAt(), face);
}

}  // namespace
}  // namespace tessaview::test

namespace tessaview::test {
namespace {

TEST_F(MainWindowTest, AboutBoxShowsNameBuildAndAWorkingLink) {
    TfmAbout about(desktop, &fmMain());
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(about.size(), QSize(339, 116));
    EXPECT_EQ(about.lbTitle->text(), "Tessaview 5.00 (build 20060612)");
    EXPECT_TRUE(about.lbTitle->font().bold());
    EXPECT_EQ(about.lbTitle->pos(), QPoint(16, 8));
    EXPECT_FALSE(about.lbText->text().isEmpty());
    EXPECT_EQ(about.lbLink->pos(), QPoint(16, 56));
    EXPECT_TRUE(about.lbLink->font().underline());
    EXPECT_EQ(about.lbLink->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    EXPECT_EQ(about.btnOK->geometry(), QRect(216, 80, 75, 25));
    QMouseEvent click(QEvent::MouseButtonRelease, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(about.lbLink, &click);
    EXPECT_EQ(desktop.urls, QStringList({"https://tessaview.org"}));
}

TEST_F(MainWindowTest, DroppedFilesOpenTheFirstOne) {
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(folder.filePath("one.avi")), QUrl::fromLocalFile(folder.filePath("two.avi")),
                   QUrl::fromLocalFile(folder.filePath("three.avi"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&fmMain(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&fmMain(), &drop);
    EXPECT_EQ(engine.CallCount("PlayFile"), 1);
    EXPECT_EQ(engine.path, folder.filePath("one.avi").toStdString());
    delete data;
}

}  // namespace
}  // namespace tessaview::test
