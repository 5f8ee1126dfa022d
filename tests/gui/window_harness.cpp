// The main-window test harness and the one application all tests of this program share.
#include "window_harness.h"

#include "presentation/tfm_sel_lan.h"
#include "support/gui_app_environment.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>

namespace tessaview::test {

MainWindowTest::MainWindowTest() { Start(); }

MainWindowTest::~MainWindowTest() { program.reset(); }

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
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.data(), static_cast<qint64>(text.size()));
    return path;
}

void MainWindowTest::OpenThroughDialog(const std::string& path) {
    desktop.fileAnswers.push_back({QString::fromStdString(path)});
    fmMain().PlayFile1->trigger();
}

void MainWindowTest::Idle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    fmMain().RefreshCommandState();
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

std::string MainWindowTest::Panel(int index) { return fmMain().sbMain->Text(index).toStdString(); }

}  // namespace tessaview::test
