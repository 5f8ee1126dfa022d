// The real main window with fake outside libraries and a quiet desktop, in a folder of its
// own: what every window benchmark starts from.
#pragma once

#include "app/program.h"
#include "external/hook_library.h"
#include "support/fake_desktop.h"
#include "support/fake_engine.h"
#include "support/fake_instances.h"
#include "support/fake_vobsub.h"

#include <QTemporaryDir>
#include <memory>

namespace tessaview {

struct WindowFixture {
    QTemporaryDir folder;
    FakeEngine engine;
    FakeVobSub vobsub;
    HookLibrary hook;
    test::FakeDesktop desktop;
    test::FakeInstances instances;
    std::unique_ptr<Program> program = std::make_unique<Program>(
        MainServices{engine, vobsub, hook, desktop, instances, folder.path().toStdString(), {"tessaview"}, 1});

    TfmMain& window() { return *program->fmMain(); }
};

}  // namespace tessaview
