// The real main window with fake outside libraries and a quiet desktop, in a folder of its
// own: what every window benchmark starts from.
#pragma once

#include "app/program.h"
#include "external/hook_library.h"
#include "support/fake_desktop.h"
#include "support/fake_engine.h"
#include "support/fake_instances.h"
#include "support/fake_vobsub.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

namespace tessaview {

struct WindowFixture {
    // `tracks`: the reader of movies' own text tracks, none by default.
    explicit WindowFixture(TextTracks* tracks = nullptr)
        : program(std::make_unique<Program>(MainServices{
              engine, vobsub, hook, desktop, instances, folder.path().toStdString(), {"tessaview"}, 1, tracks})) {}

    QTemporaryDir folder;
    FakeEngine engine;
    FakeVobSub vobsub;
    HookLibrary hook;
    test::FakeDesktop desktop;
    test::FakeInstances instances;
    std::unique_ptr<Program> program;

    TfmMain& window() { return *program->fmMain(); }
};

// The main of a window benchmark: the toolkit off screen unless told otherwise.
inline int RunWindowBenchmarks(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace tessaview
