// What every main-window test needs: the application, a desktop that answers dialogs from
// a script, fake outside libraries, a temporary program folder, and the three windows.
#pragma once

#include "app/program.h"
#include "external/hook_library.h"
#include "shell/play_list.h"
#include "support/fake_desktop.h"
#include "support/fake_engine.h"
#include "support/fake_instances.h"
#include "support/fake_text_tracks.h"
#include "support/fake_vobsub.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QSlider>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

namespace tessaview::test {

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
    void ChooseFile(QAction* command, const std::string& path);  // `command` with its file dialog answered
    void OpenThroughDialog(const std::string& path);             // the Play File command
    // Makes the movie file `name` of that shape, opens it through Play File, returns its name.
    std::string OpenMovie(const std::string& name, MovieShape shape = {});
    void Idle();      // lets posted events run and the idle handler refresh the commands
    void Activate();  // makes the window the active one, as for keys pressed in it
    // A key pressed in the window, through its shortcuts; with no text, as QTest has none for
    // the media keys.
    void Press(QKeyCombination key);
    void FullScreenKey(int virtualKey, int modifiers = 0);  // as the engine posts it in full screen
    void Tick(int32_t position);                            // the movie timer with the engine at `position`
    // Waits until `reads` text-track reads have ended, their answers left queued for the loop.
    void WaitForTrackReads(int reads);
    // Lets events run until the subtitle in force is `name` (at most 5 s).
    bool SubtitleBecomes(const std::string& name);
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
