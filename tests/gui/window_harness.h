// What every main-window test needs: the application, a desktop that answers dialogs from
// a script, fake outside libraries, a temporary program folder, and the three windows.
#pragma once

#include "support/fake_instances.h"
#include "app/program.h"
#include "app/tfm_main.h"
#include "external/fake_engine.h"
#include "external/fake_vobsub.h"
#include "external/text_tracks.h"
#include "external/hook_library.h"
#include "platform/desktop.h"
#include "platform/process/instance_control.h"

#include <QAction>
#include <QPushButton>
#include <QSlider>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <deque>
#include <gtest/gtest.h>
#include <memory>

namespace tessaview::test {

class FakeDesktop : public Desktop {
public:
    std::deque<QStringList> fileAnswers;  // one per dialog; empty list = cancel
    std::vector<FileDialogRequest> fileRequests;
    std::optional<FontChoice> fontAnswer;
    std::vector<FontChoice> fontRequests;
    QStringList errors, informations, exceptions, urls;
    QRect screen{0, 0, 1024, 768};
    QRect workArea{0, 0, 1024, 740};
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
    QRect ScreenGeometry() const override { return screen; }
    QRect WorkArea() const override { return workArea; }
    QRect AvailableArea(const QWidget*) const override { return workArea; }
    QRect VirtualDesktop() const override { return virtualDesktop; }
    void SetScreenSaverActive(bool active) override { screenSaverActive = active; }
};

class FakeHook : public HookLibrary {
public:
    int sets = 0, frees = 0;
    void SetHook() override { ++sets; }
    void FreeHook() override { ++frees; }
};

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest();
    ~MainWindowTest() override;

    void Start(std::vector<std::string> arguments = {"tessaview"});
    void CloseAndRestart();
    void Close();
    TfmMain& fmMain() { return *program->fmMain(); }
    std::string Folder() const { return folder.path().toStdString(); }
    // Writes a file (its text) into the program folder and returns its full name.
    std::string MakeFile(const std::string& name, const std::string& text = "x");
    // Opens `path` through the Play File command.
    void OpenThroughDialog(const std::string& path);
    void Idle();  // lets posted events run and the idle handler refresh the commands
    // From now on every language dialog that opens is answered at once: `line` selected
    // (-1 none), then OK.
    void AnswerLanguageDialogs(int line = -1);
    std::string Panel(int index);

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
