// The Lumbrel program: the trainer's main window, or, with --start or --stop, a
// request to the trainer that is already running.
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <memory>

#include "keying/RigPort.h"
#include "keying/SystemSerialLines.h"
#include "session/Clock.h"
#include "session/PortAudioDevice.h"
#include "settings/SettingsStore.h"
#include "ui/Application.h"
#include "ui/Main.h"
#include "ui/RemoteControl.h"

namespace {

void PrintUsage()
{
    std::printf(
        "Usage: lumbrel [--start | --stop | --help | --version]\n"
        "\n"
        "Without options, opens the Lumbrel Morse trainer.\n"
        "\n"
        "  --start    start a session in the trainer that is running (like its Start button)\n"
        "  --stop     stop the session of the trainer that is running (like its Stop button)\n"
        "  --help     show this help\n"
        "  --version  show the version\n"
        "\n"
        "--start and --stop exit with status 0 when the trainer took the request, and 1 when no\n"
        "trainer of this user is running.\n");
}

int SendRequest(int argc, char** argv, lumbrel::RemoteCommand command)
{
    QCoreApplication app(argc, argv);
    const lumbrel::RemoteResult result = lumbrel::SendRemoteCommand(lumbrel::DefaultControlSocketName(), command);
    if (result.delivered)
        return 0;
    std::fprintf(stderr, "lumbrel: %s\n", qPrintable(result.error));
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--start") == 0)
            return SendRequest(argc, argv, lumbrel::RemoteCommand::Start);
        if (std::strcmp(argv[i], "--stop") == 0)
            return SendRequest(argc, argv, lumbrel::RemoteCommand::Stop);
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            PrintUsage();
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("lumbrel %s\n", LUMBREL_VERSION);
            return 0;
        }
    }

    // The sound system is probed while the windows are built.
    lumbrel::PortAudioPreload audioPreload;
    lumbrel::Application app(argc, argv);  // takes Qt's own options (-platform, ...)
    const QStringList rest = QCoreApplication::arguments().mid(1);
    if (!rest.isEmpty()) {
        std::fprintf(stderr, "lumbrel: unknown argument '%s' (see lumbrel --help)\n", qPrintable(rest.first()));
        return 2;
    }

    // One trainer per user: a second copy brings the running one to the front instead
    // of opening another window on the same settings.
    if (lumbrel::SendRemoteCommand(lumbrel::DefaultControlSocketName(), lumbrel::RemoteCommand::Show, 1000).delivered)
        return 0;

    lumbrel::SystemClock clock;
    lumbrel::PortAudioDevice audio;
    lumbrel::PortAudioDevice qrmAudio1;  // the interfering stations' own streams
    lumbrel::PortAudioDevice qrmAudio2;
    lumbrel::SettingsStore store = lumbrel::SettingsStore::UserStore();
    // The rig's keying lines; a port that cannot be opened leaves keying off until a
    // session start finds it (an interface plugged in later).
    lumbrel::RigPort rig(std::make_unique<lumbrel::SystemSerialLines>());
    rig.Open(store);
    int status = 0;
    {
        lumbrel::MainWindow window({.store = store,
                                    .clock = clock,
                                    .audio = audio,
                                    .seed = clock.TickCount(),
                                    .prompts = nullptr,
                                    .trayAvailable = {},
                                    .rig = &rig,
                                    .qrmAudio = {&qrmAudio1, &qrmAudio2}});
        // Say once why the rig will not key, so the learner need not guess.
        if (!rig.Problem().isEmpty())
            window.trainer().Controls().SetText(lumbrel::ControlId::StatusBar1, QStringLiteral("  ") + rig.Problem());

        lumbrel::RemoteControlServer remote(window.pump());
        remote.SetStartAllowed([&window] { return !window.SetupOpen(); });
        remote.SetShowRequested([&window] { window.TrayIcon1Click(); });
        if (!remote.Listen(lumbrel::DefaultControlSocketName()))
            std::fprintf(stderr, "lumbrel: start and stop from other programs are off: %s\n",
                         qPrintable(remote.ErrorText()));

        QObject::connect(&window, &lumbrel::MainWindow::Closed, &app, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        window.show();
        status = app.exec();
        remote.Close();
        rig.Close();
        // No completion may reach the window once it is gone.
        (void)audio.Close();
    }
    return status;
}
