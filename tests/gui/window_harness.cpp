// The main-window test harness and the one application all tests of this program share.
#include "window_harness.h"

#include "playback/reading_control.h"
#include "presentation/tfm_sel_lan.h"
#include "support/gui_app_environment.h"

#include <QListWidget>
#include <QTest>
#include <chrono>
#include <fstream>
#include <thread>

namespace tessaview::test {

void MainWindowTest::Start(std::vector<std::string> arguments) {
    program = std::make_unique<Program>(
        MainServices{engine, vobsub, hook, desktop, instances, Folder(), std::move(arguments), 4242, &tracks});
}

void MainWindowTest::Close() {
    fmMain().close();
    program.reset();
}

void MainWindowTest::CloseAndRestart() {
    Close();
    Start();
    Idle();
}

std::string MainWindowTest::MakeFile(const std::string& name, const std::string& text) {
    const std::string path = Folder() + "/" + name;
    EXPECT_TRUE(std::ofstream(path, std::ios::binary) << text) << path;
    return path;
}

void MainWindowTest::ChooseFile(QAction* command, const std::string& path) {
    desktop.fileAnswers.push_back({QString::fromStdString(path)});
    command->trigger();
}

void MainWindowTest::OpenThroughDialog(const std::string& path) { ChooseFile(fmMain().PlayFile1, path); }

std::string MainWindowTest::OpenMovie(const std::string& name, MovieShape shape) {
    engine.frameRate = shape.frameRate;
    engine.duration = shape.duration;
    engine.width = shape.width;
    engine.height = shape.height;
    const std::string path = MakeFile(name);
    OpenThroughDialog(path);
    return path;
}

void MainWindowTest::Idle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    fmMain().RefreshCommandState();
    fmMain().Reading().Refresh();
}

void MainWindowTest::Activate() {
    fmMain().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&fmMain()));
}

void MainWindowTest::Press(QKeyCombination key) {
    QTest::sendKeyEvent(QTest::Click, &fmMain(), key.key(), QString(), key.keyboardModifiers());
    Idle();
}

void MainWindowTest::FullScreenKey(int virtualKey, int modifiers) {
    engine.PressFullScreenKey(virtualKey, modifiers);
    Idle();
}

void MainWindowTest::Tick(int32_t position) {
    engine.position = position;
    fmMain().tmMovieTimer();
}

void MainWindowTest::WaitForTrackReads(int reads) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (tracks.Finished() < reads && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(tracks.Finished(), reads) << "a text-track read did not end";
}

bool MainWindowTest::SubtitleBecomes(const std::string& name) {
    return QTest::qWaitFor([&] { return fmMain().Subtitles.SubFileName == name; }, 5000);
}

void MainWindowTest::AnswerLanguageDialogs(int line) {
    auto* watcher = new QTimer(&fmMain());
    QObject::connect(watcher, &QTimer::timeout, watcher, [line] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<TfmSelLan*>(window);
            if (!dialog || !dialog->isVisible()) continue;
            if (line >= 0 && line < dialog->ListBox1->count()) dialog->ListBox1->item(line)->setSelected(true);
            dialog->Button1Click();
        }
    });
    watcher->start(1);
}

std::vector<int> MainWindowTest::Marks() {
    std::vector<int> marks;
    const PlayList& list = fmMain().PlayListEntries();
    for (int i = 0; i < list.Count(); ++i) marks.push_back(list.Mark(i));
    return marks;
}

}  // namespace tessaview::test
