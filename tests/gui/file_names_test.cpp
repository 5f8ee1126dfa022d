// File names through the main window: names that are not UTF-8, and where the open dialogs start.
#include "window_harness.h"

#include <QDir>
#include <QFile>

namespace tessaview::test {
namespace {

TEST_F(MainWindowTest, NamesThatAreNotUtf8OpenAndSurviveARestartByteForByte) {
    const std::string cafe = MakeFile("caf\xE9.avi"), naive = MakeFile("na\xEFve.avi");
    const QString lossy = QFile::decodeName(QByteArray::fromStdString(naive));  // the toolkit's string lost the byte
    program.reset();
    Start({"tessaview", cafe});
    Idle();
    EXPECT_EQ(engine.path, cafe);
    desktop.fileAnswers.push_back({lossy});
    fmMain().AddToPlayList();
    fmMain().DropFiles({lossy});
    EXPECT_EQ(engine.path, naive);
    CloseAndRestart();
    EXPECT_EQ(fmMain().PlayListEntries().Captions(), (std::vector<std::string>{cafe, naive}));
    fmMain().lbPlayList->topLevelItem(0)->setSelected(true);
    fmMain().lbPlayListDblClick();
    EXPECT_EQ(engine.path, cafe);
}

TEST_F(MainWindowTest, OpenDialogsStartInTheFolderOfTheLastFileChosenOrOpenedAndListTodaysContainers) {
    QDir(folder.path()).mkpath("a");
    QDir(folder.path()).mkpath("b");
    OpenMovie("a/one.avi");
    EXPECT_EQ(desktop.fileRequests.back().folder, "");  // nothing chosen yet: the working folder
    const QStringList filter = desktop.fileRequests.back().filter.split('|');
    ASSERT_EQ(filter.size(), 6);  // the classic two entries first, then one for today's containers
    EXPECT_EQ(filter.mid(0, 4).join('|'), "Movie files|*.avi;*.mpg;*.mpeg;*.dat;*.divx;*.wmv;*.asf|All Files|*.*");
    for (const char* container : {"*.mkv", "*.mp4", "*.m4v", "*.mov", "*.webm", "*.ts", "*.m2ts", "*.ogv", "*.flv"})
        EXPECT_TRUE(filter[5].split(';').contains(container)) << container;
    fmMain().LoadSubtitle1->trigger();
    EXPECT_EQ(desktop.fileRequests.back().folder, folder.filePath("a/"));
    fmMain().DropFiles({QString::fromStdString(MakeFile("b/two.avi"))});
    fmMain().AddToPlayList();
    EXPECT_EQ(desktop.fileRequests.back().folder, folder.filePath("b/"));
}

}  // namespace
}  // namespace tessaview::test
