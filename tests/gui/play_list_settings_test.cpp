// The play list commands, the settings that survive a close and a new start, file names that
// are not UTF-8, and where the open dialogs start.
#include "window_harness.h"

#include "presentation/subtitle_surfaces.h"

#include <QDir>
#include <QFileInfo>

namespace tessaview::test {
namespace {

class PlayListTest : public MainWindowTest {
protected:
    PlayList& List() { return fmMain().PlayListEntries(); }
    void Fill(int count) {
        for (int i = 0; i < count; ++i) List().Append("/m/" + std::to_string(i) + ".avi");
    }
    void Select(const std::vector<int>& rows) {
        fmMain().lbPlayList->clearSelection();
        for (int row : rows) fmMain().lbPlayList->topLevelItem(row)->setSelected(true);
    }
    std::string Names() {  // the entries' base names, one after another
        std::string names;
        for (const std::string& caption : List().Captions())
            names += QFileInfo(QString::fromStdString(caption)).baseName().toStdString();
        return names;
    }
};

TEST_F(PlayListTest, AddStopsAtTheFirstListedFileAndAsksForSeveral) {
    Fill(2);
    desktop.fileAnswers.push_back({"/m/new.avi", "/m/1.avi", "/m/later.avi"});
    fmMain().sbAdd->click();
    EXPECT_EQ(Names(), "01new");
    EXPECT_TRUE(desktop.fileRequests.back().multiple);
    fmMain().sbAdd->click();  // cancelled
    EXPECT_EQ(List().Count(), 3);
    OpenThroughDialog("/m/x.avi");  // the next Play File asks for one file again
    EXPECT_FALSE(desktop.fileRequests.back().multiple);
}

TEST_F(PlayListTest, UpDownAndDeleteActOnTheSelectionAndKeepTheMarks) {
    Fill(5);
    List().SetMark(1, MarkPaused);
    // One list, one step after another: each step starts from what the one before left.
    const struct {
        std::vector<int> select;
        QPushButton* TfmMain::*button;
        const char* names;
        std::vector<int> selected;
    } steps[] = {
        {{1, 3}, &TfmMain::sbUp, "10234", {0}},  // the first selected entry moves, with its mark
        {{0}, &TfmMain::sbUp, "10234", {0}},     // the first entry stays
        {{3}, &TfmMain::sbDown, "10243", {4}},    {{4}, &TfmMain::sbDown, "10243", {4}},  // the last entry stays
        {{}, &TfmMain::sbUp, "10243", {}},        {{}, &TfmMain::sbDown, "10243", {}},
        {{0, 2, 4}, &TfmMain::sbDel, "104", {0}},  // a marked entry is never deleted
    };
    for (const auto& step : steps) {
        Select(step.select);
        (fmMain().*step.button)->click();
        EXPECT_EQ(Names(), step.names);
        std::vector<int> selected;
        for (int i = 0; i < List().Count(); ++i)
            if (fmMain().lbPlayList->topLevelItem(i)->isSelected()) selected.push_back(i);
        EXPECT_EQ(selected, step.selected) << step.names;
    }
    EXPECT_EQ(List().Mark(0), MarkPaused);
}

TEST_F(PlayListTest, DoubleClickPlaysTheFirstSelectedAndResetsContinuedPlay) {
    Fill(3);
    fmMain().lbPlayListDblClick();  // nothing selected
    EXPECT_EQ(engine.CallCount("PlayFile"), 0);
    fmMain().Movie.ContinuedOffset = 99;
    Select({2, 1});
    fmMain().lbPlayListDblClick();
    EXPECT_EQ(engine.path, "/m/1.avi");
    EXPECT_EQ(fmMain().Movie.ContinuedOffset, 0);
    EXPECT_EQ(List().Mark(1), MarkPlaying);
}

TEST_F(MainWindowTest, SettingsAndTheChosenFontSurviveACloseAndANewStart) {
    fmMain().ciShowPlayList->trigger();
    const QWidget* list = fmMain().lbPlayList;  // the buttons sit below the list, not over it
    EXPECT_GE(fmMain().sbAdd->mapTo(fmMain().plPlayList, QPoint()).y(),
              list->mapTo(fmMain().plPlayList, QPoint(0, list->height())).y());
    fmMain().plMain->setSizes({fmMain().plMain->width() - 260, 260});
    fmMain().ciShowPlayList->trigger();
    EXPECT_EQ(fmMain().plPlayList->width(), 0);
    fmMain().ciShowPlayList->trigger();  // shown again as wide as it was
    EXPECT_EQ(fmMain().plPlayList->width(), 260);
    fmMain().AlwaysonTop1->trigger();
    EXPECT_EQ(desktop.onTop, std::vector<bool>({true, false}));  // on as the window was made, then off
    fmMain().EnableAutoloadSubtitle1->trigger();
    desktop.fileAnswers.push_back({"/m/a.avi", "/m/b.avi"});
    fmMain().sbAdd->click();
    fmMain().SetSubtitleFont1->trigger();  // cancelled: the stored font is asked for and kept
    ASSERT_EQ(desktop.fontRequests.size(), 1u);
    EXPECT_EQ(desktop.fontRequests[0].font.family(), "MS Sans Serif");
    EXPECT_EQ(fmMain().Surfaces().Font().font.family(), "MS Sans Serif");
    desktop.fontAnswer = FontChoice{QFont("DejaVu Serif", 18, QFont::Bold), QColor(0, 255, 0), 238};
    fmMain().SetSubtitleFont1->trigger();
    const FontSpec font{"DejaVu Serif", 18, 238, 0x00FF00};  // the colour as blue-green-red
    EXPECT_EQ(ToFontSpec(fmMain().Surfaces().Font()), font);
    EXPECT_TRUE(fmMain().Surfaces().Font().font.bold());  // kept while running, though not stored
    fmMain().move(33, 44);
    fmMain().resize(600, 420);
    const QRect bounds = fmMain().frameGeometry();

    CloseAndRestart();
    EXPECT_EQ(hook.frees, 1);  // each window sets the hook once and frees it as it closes
    EXPECT_EQ(hook.sets, 2);
    TfmMain& w = fmMain();
    EXPECT_EQ(w.frameGeometry(), bounds);
    EXPECT_FALSE(w.AlwaysonTop1->isChecked());
    EXPECT_FALSE(desktop.onTop.back());
    EXPECT_FALSE(w.EnableAutoloadSubtitle1->isChecked());
    EXPECT_EQ(w.PlayListEntries().Captions(), std::vector<std::string>({"/m/a.avi", "/m/b.avi"}));
    EXPECT_EQ(w.plPlayList->width(), 260);
    EXPECT_EQ(ToFontSpec(w.Surfaces().Font()), font);
}

TEST_F(MainWindowTest, AFailedSaveIsShownAndTheWindowStillCloses) {
    ASSERT_TRUE(QDir(folder.path()).mkdir("set.ini"));  // a folder in its place: every write fails
    bool closed = false;
    QObject::connect(&fmMain(), &TfmMain::Closed, [&closed] { closed = true; });
    fmMain().Exit1->trigger();
    EXPECT_TRUE(closed);
    ASSERT_EQ(desktop.exceptions.size(), 1);
    EXPECT_TRUE(desktop.exceptions[0].startsWith("Unable to write to")) << desktop.exceptions[0].toStdString();
    EXPECT_FALSE(fmMain().isVisible());
}

TEST_F(MainWindowTest, NamesThatAreNotUtf8OpenAndSurviveARestartByteForByte) {
    const std::string cafe = MakeFile("caf\xE9.avi"), naive = MakeFile("na\xEFve.avi");
    OpenThroughDialog(cafe);  // the toolkit's string has lost the byte
    EXPECT_EQ(engine.path, cafe);
    fmMain().DropFiles({QString::fromStdString(naive)});
    EXPECT_EQ(engine.path, naive);
    // Rows show the file name; the full path is the tooltip.
    EXPECT_EQ(fmMain().lbPlayList->topLevelItem(1)->text(0), "na\uFFFDve.avi");
    EXPECT_EQ(fmMain().lbPlayList->topLevelItem(1)->toolTip(0), folder.filePath("na\uFFFDve.avi"));
    CloseAndRestart();
    EXPECT_EQ(fmMain().PlayListEntries().Captions(), (std::vector<std::string>{cafe, naive}));
}

TEST_F(MainWindowTest, OpenDialogsStartInTheFolderOfTheLastFileChosenOrOpenedAndListTodaysContainers) {
    QDir(folder.path()).mkpath("a");
    QDir(folder.path()).mkpath("b");
    OpenMovie("a/one.avi");
    EXPECT_EQ(desktop.fileRequests.back().folder, "");  // nothing chosen yet: the working folder
    const QStringList filter = desktop.fileRequests.back().filter.split('|');
    ASSERT_EQ(filter.size(), 6);  // the classic two entries first, then one for today's containers
    for (const char* container : {"*.mkv", "*.mp4", "*.m4v", "*.mov", "*.webm", "*.ts", "*.m2ts", "*.ogv", "*.flv"}) {
        EXPECT_TRUE(filter[1].split(';').contains(container)) << container;  // the one the dialog opens with
        EXPECT_TRUE(filter[5].split(';').contains(container)) << container;
    }
    fmMain().LoadSubtitle1->trigger();
    EXPECT_EQ(desktop.fileRequests.back().folder, folder.filePath("a/"));
    fmMain().DropFiles({QString::fromStdString(MakeFile("b/two.avi"))});
    fmMain().AddToPlayList();
    EXPECT_EQ(desktop.fileRequests.back().folder, folder.filePath("b/"));
}

}  // namespace
}  // namespace tessaview::test
