// Program entry: the real engine, VobSub library, desktop and instance control, then the
// three windows and the message loop.
#include "app/command_line.h"
#include "app/media_controls.h"
#include "app/program.h"
#include "app/tfm_main_sync.h"
#include "external/ffmpeg/ffmpeg_speech.h"
#include "external/ffmpeg/ffmpeg_text_tracks.h"
#include "external/ffmpeg/ffmpeg_vobsub.h"
#include "external/hook_library.h"
#include "external/mpv/create_mpv_engine.h"
#include "platform/end_signals.h"
#include "platform/process/instance_registry.h"
#include "platform/qt_desktop.h"
#include "shell/settings/file_locations.h"

#include <QApplication>
#include <QPixmapCache>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <iostream>

int main(int argc, char* argv[]) {
    // Before QApplication, so that --help and --version need no display.
    if (const std::optional<int> status = tessaview::AnswerCommandLine(argc, argv, std::cout, std::cerr))
        return *status;
    // The engine draws into a native X11 window of the movie panel; on a Wayland desktop the
    // toolkit must therefore run through XWayland.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    // Under a file-size limit a write fails with EFBIG and is reported, instead of the kernel
    // ending the program halfway through writing tmpsub or set.ini.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");  // libmpv refuses to start otherwise
    // Every open dialog and message box makes its icons anew, and the toolkit caches their
    // pictures under each new icon's key: never found again, they pile up to the cache's
    // limit (10 MB by default). A fifth of that holds every picture our windows draw.
    QPixmapCache::setCacheLimit(2048);

    using namespace tessaview;
    std::unique_ptr<MovieEngine> engine = CreateMpvEngine();
    std::unique_ptr<VobSubLibrary> vobsub = CreateFfmpegVobSub();
    std::unique_ptr<TextTracks> tracks = CreateFfmpegTextTracks();
    HookLibrary hook;
    QtDesktop desktop;
    const FileLocations locations =
        ChooseFileLocations(QCoreApplication::applicationDirPath().toStdString(), std::getenv);
    // An installed copy converts subtitles in a folder of the user's own, gone at the end.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const PrivateFolder scratch =
        locations.Installed ? PrivateFolder(runtime != nullptr && *runtime == '/' ? runtime : "") : PrivateFolder();
    InstanceRegistry instances;

    // The arguments as the system gave them: the toolkit's decoding would spoil a file name
    // that is not valid UTF-8.
    const MainServices services{*engine,
                                *vobsub,
                                hook,
                                desktop,
                                instances,
                                locations.SettingsFolder,
                                std::vector<std::string>(argv, argv + argc),
                                InstanceRegistry::CurrentProcessId(),
                                tracks.get(),
                                scratch.Path(),
                                locations.Installed,
                                locations.StateFolder};
    // The speech reader and the synchronisation's prompts outlive the window that uses them.
    std::unique_ptr<MovieSpeech> speech = CreateFfmpegMovieSpeech();
    QtSyncPrompts syncPrompts;
    Program program(services);
    new SpeechSyncPart(*program.fmMain(), *speech, syncPrompts, SpeechCacheFolder(locations),
                       tracks.get());  // the window owns it
    // The desktop's media controls and media keys; nothing without a session bus.
    MediaControls mediaControls(*program.fmMain(), *engine, services.processId);
    // A logout or `kill` ends the program as Exit does, saving the settings and the play list.
    EndSignals endSignals;
    QObject::connect(&endSignals, &EndSignals::Received, program.fmMain(), [&program] { program.fmMain()->close(); });
    instances.Register();  // from now on a later start finds this instance
    return QApplication::exec();
}
