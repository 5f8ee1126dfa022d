// What every main-window test needs: the application, a desktop that answers dialogs from
// a script, fake outside libraries, a temporary program folder, and the three windows.
#pragma once

#include "support/fake_instances.h"
#include "app/program.h"
#include "external/fake_engine.h"
#include "external/fake_vobsub.h"
#include "external/text_tracks.h"
#include "external/hook_library.h"
#include "platform/desktop.h"
#include "shell/play_list.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QSlider>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <deque>
#include <gtest/gtest.h>

namespace tessaview::test {

class FakeDesktop : public Desktop {
public:
    std::deque<QStringList> fileAnswers;  // one per dialog; empty list = cancel
    std::vector<FileDialogRequest> fileRequests;
    std::optional<FontChoice> fontAnswer;
    std::vector<FontChoice> fontRequests;
    QStringList errors, informations, exceptions, urls;
    QRect virtualDesktop{0, 0, 1024, 768};
    bool screenSaverActive = true;

    QStringList OpenFiles(QWidget*, const FileDialogRequest& request) override {
        fileRequests.push_back(request);
        if (fileAnswers.empty()) return {};
        QStringList answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
    std::optional<FontChoice> ChooseFont(QWidget*, const FontChoice& current) override {
        fontRequests.push_back(current);
        return fontAnswer;
    }
    void ErrorBox(QWidget*, const QString& text) override { errors << text; }
    void InformationBox(QWidget*, const QString& text) override { informations << text; }
    void ExceptionBox(QWidget*, const QString& text) override { exceptions << text; }
    void OpenUrl(const QString& url) override { urls << url; }
    QRect ScreenGeometry() const override { return {0, 0, 1024, 768}; }
    QRect WorkArea() const override { return {0, 0, 1024, 740}; }
    QRect VirtualDesktop() const override { return virtualDesktop; }
    void SetScreenSaverActive(bool active) override { screenSaverActive = active; }
};

class FakeHook : public HookLibrary {
public:
    int sets = 0, frees = 0;
    void SetHook() override { ++sets; }
    void FreeHook() override { ++frees; }
};

struct MovieShape {  // of the movie the fake engine plays next
    int32_t frameRate = 25000, duration = 2500, width = 640, height = 480;
};

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() { Start(); }
    ~MainWindowTest() override { program.reset(); }

    void Start(std::vector<std::string> arguments = {"tessaview"});
    void CloseAndRestart();
    void Close();
    TfmMain& fmMain() { return *program->fmMain(); }
    std::string Folder() const { return folder.path().toStdString(); }
    // Writes `text` into the file `name` (bytes) of the program folder and returns its full name.
    std::string MakeFile(const std::string& name, const std::string& text = "x");
    void OpenThroughDialog(const std::string& path);  // the Play File command
    // Makes the movie file `name` of that shape, opens it through Play File, returns its name.
    std::string OpenMovie(const std::string& name, MovieShape shape = {});
    void Idle();  // lets posted events run and the idle handler refresh the commands
    // From now on every language dialog is answered at once: `line` selected (-1 none), then OK.
    void AnswerLanguageDialogs(int line = -1);
    std::string Panel(int index) { return fmMain().sbMain->Text(index).toStdString(); }
    std::vector<int> Marks();  // the play list's marks, entry by entry

    QTemporaryDir folder;
    FakeEngine engine;
    FakeVobSub vobsub;
    FakeTextTracks tracks;
    FakeHook hook;
    FakeDesktop desktop;
    FakeInstances instances;
    std::unique_ptr<Program> program;
};

}  // namespace tessaview::test
