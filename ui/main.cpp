// The Lumbrel program: the trainer's main window, or, with --start or --stop, a
// request to the trainer that is already running.
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSessionManager>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "audio/Clock.h"
#include "audio/PortAudioDevice.h"
#include "audio/StreamIdentity.h"
#include "keying/RigPort.h"
#include "keying/SystemSerialLines.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsStore.h"
#include "ui/Application.h"
#include "ui/Main.h"
#include "ui/QuitSignals.h"
#include "ui/RemoteControl.h"
#include "ui/Translations.h"

namespace {

void PrintUsage(std::FILE* to) {
    std::fputs(
        "Usage: lumbrel [FILE | --start | --stop | --help | --version]\n"
        "\n"
        "Without options, opens the Lumbrel Morse trainer; with a text FILE (the last one when\n"
        "several are named), plays it as dropping it on the window does, once every character\n"
        "is in use.\n"
        "\n"
        "  --start    start a session in the trainer that is running (like its Start button)\n"
        "  --stop     stop the session of the trainer that is running (like its Stop button)\n"
        "  --help     show this help\n"
        "  --version  show the version\n"
        "\n"
        "--start and --stop exit with status 0 when the trainer took the request, and 1 when no\n"
        "trainer of this user is running.\n",
        to);
}

// Qt's own options, which the application object takes (-platform offscreen, -style
// fusion, -session ID from the session manager, ...); they may also be written with
// two dashes or as -name=value.
bool IsQtOption(const char* argument, bool& takesValue) {
    static constexpr const char* kWithValue[] = {"platform",
                                                 "platformpluginpath",
                                                 "platformtheme",
                                                 "plugin",
                                                 "qwindowgeometry",
                                                 "qwindowicon",
                                                 "qwindowtitle",
                                                 "session",
                                                 "display",
                                                 "geometry",
                                                 "title",
                                                 "icon",
                                                 "name",
                                                 "style",
                                                 "stylesheet",
                                                 "qmljsdebugger",
                                                 "dialogs",
                                                 "fontengine"};
    static constexpr const char* kFlags[] = {"reverse", "widgetcount", "nograb",
                                             "dograb",  "sync",        "testability"};
    const char* name = argument + (std::strncmp(argument, "--", 2) == 0 ? 2 : 1);
    const char* equals = std::strchr(name, '=');
    const std::size_t length = equals ? static_cast<std::size_t>(equals - name) : std::strlen(name);
    auto is = [&](const char* option) {
        return std::strlen(option) == length && std::strncmp(name, option, length) == 0;
    };
    for (const char* option : kWithValue)
        if (is(option)) {
            takesValue = equals == nullptr;
            return true;
        }
    for (const char* option : kFlags)
        if (is(option) && equals == nullptr) {
            takesValue = false;
            return true;
        }
    return false;
}

// The first argument that is neither Lumbrel's nor Qt's nor a file name, or null.
const char* FirstUnknownArgument(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        bool takesValue = false;
        if (argv[i][0] != '-')
            continue;  // a file to play
        if (argv[i][1] == '\0' || !IsQtOption(argv[i], takesValue))
            return argv[i];
        if (takesValue)
            ++i;
    }
    return nullptr;
}

int UnknownArgument(const char* argument) {
    if (argument[0] == '-')
        std::fprintf(stderr, "lumbrel: unknown option '%s'\n\n", argument);
    else
        std::fprintf(stderr, "lumbrel: unexpected argument '%s'\n\n", argument);
    PrintUsage(stderr);
    return 2;
}

// Qt's messages while the application object opens the display are held back. When no
// display can be opened Qt would advise reinstalling and abort; instead one line says
// what is wrong and the program ends with status 1. Otherwise the messages are given
// out as they came once the display is open.
class DisplayOpening {
public:
    DisplayOpening() { previous_ = qInstallMessageHandler(&DisplayOpening::Hold); }
    ~DisplayOpening() { Release(); }
    DisplayOpening(const DisplayOpening&) = delete;
    DisplayOpening& operator=(const DisplayOpening&) = delete;

    void Release() {
        std::vector<Held> held;
        {
            std::lock_guard lock(mutex_);
            if (!holding_)
                return;
            holding_ = false;
            held.swap(held_);
        }
        qInstallMessageHandler(previous_);
        for (const Held& m : held)
            qt_message_output(m.type, QMessageLogContext(m.file, m.line, m.function, m.category), m.text);
    }

private:
    struct Held {
        QtMsgType type;
        const char* file;
        int line;
        const char* function;
        const char* category;
        QString text;
    };

    static void Hold(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        std::unique_lock lock(mutex_);
        if (type == QtFatalMsg && text.contains(QLatin1String("platform plugin"))) {
            QString cause;
            for (const Held& m : held_)
                if (cause.isEmpty() && m.category && std::strncmp(m.category, "qt.qpa", 6) == 0)
                    cause = QStringLiteral(" (%1)").arg(m.text.trimmed());
            std::fprintf(
                stderr,
                "lumbrel: no display could be opened%s. Lumbrel is a desktop program: start it in a "
                "graphical session (X11 or Wayland); lumbrel-render makes practice audio without one.\n",
                qPrintable(cause));
            std::fflush(stderr);
            std::_Exit(1);
        }
        if (type == QtFatalMsg) {
            // Some other fatal error: what was held, then Qt's own report and abort.
            std::vector<Held> held;
            held.swap(held_);
            holding_ = false;
            lock.unlock();
            for (const Held& m : held)
                previous_(m.type, QMessageLogContext(m.file, m.line, m.function, m.category), m.text);
            previous_(type, context, text);
            return;
        }
        held_.push_back({type, context.file, context.line, context.function, context.category, text});
    }

    static inline std::mutex mutex_;
    static inline std::vector<Held> held_;
    static inline bool holding_ = true;
    static inline QtMessageHandler previous_ = nullptr;
};

int SendRequest(int argc, char** argv, lumbrel::RemoteCommand command) {
    QCoreApplication app(argc, argv);
    const lumbrel::RemoteResult result =
        lumbrel::SendRemoteCommand(lumbrel::DefaultControlSocketName(), command);
    if (result.delivered)
        return 0;
    std::fprintf(stderr, "lumbrel: %s\n", qPrintable(result.error));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--start") == 0)
            return SendRequest(argc, argv, lumbrel::RemoteCommand::Start);
        if (std::strcmp(argv[i], "--stop") == 0)
            return SendRequest(argc, argv, lumbrel::RemoteCommand::Stop);
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            PrintUsage(stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("lumbrel %s\n", LUMBREL_VERSION);
            return 0;
        }
    }

    if (const char* unknown = FirstUnknownArgument(argc, argv))
        return UnknownArgument(unknown);

    // The sound server lists the trainer's sound as "Lumbrel" with its icon; then the
    // sound system is probed while the windows are built.
    lumbrel::AnnounceSoundStreams(
        {.applicationName = "Lumbrel", .iconName = "io.github.lumbrel.Lumbrel", .mediaRole = "music"});
    lumbrel::PortAudioPreload audioPreload;
    DisplayOpening displayOpening;
    lumbrel::Application app(argc, argv);  // takes Qt's own options (-platform, ...)
    displayOpening.Release();
    // The windows speak the desktop's language where Lumbrel has it (LANG=de_DE.UTF-8).
    lumbrel::InstallTranslations(QLocale::system());
    // What Qt has not taken are the files to play.
    const QStringList files = QCoreApplication::arguments().mid(1);

    // One trainer per user: a second copy brings the running one to the front instead
    // of opening another window on the same settings.
    if (lumbrel::SendRemoteCommand(lumbrel::DefaultControlSocketName(), lumbrel::RemoteCommand::Show, 1000)
            .delivered) {
        if (!files.isEmpty())
            std::fprintf(stderr, "lumbrel: a trainer is running already: drop %s on its window to play it\n",
                         qPrintable(files.last()));
        return 0;
    }

    lumbrel::SystemClock clock;
    lumbrel::PortAudioDevice audio;
    lumbrel::PortAudioDevice qrmAudio1;  // the interfering stations' own streams
    lumbrel::PortAudioDevice qrmAudio2;
    const QString settingsPath = lumbrel::UserSettingsPath();
    const bool firstStart = !settingsPath.isEmpty() && !QFileInfo::exists(settingsPath);
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
                                    .qrmAudio = {&qrmAudio1, &qrmAudio2},
                                    .firstStart = firstStart});
        // Say once why the rig will not key, so the learner need not guess, after the
        // note that there is no sound output when there is one.
        if (!rig.Problem().isEmpty()) {
            const QString shown = window.trainer().Readouts().Status();
            window.trainer().ShowStatus((shown.isEmpty() ? QString() : shown + QStringLiteral(" \u2014")) +
                                        QStringLiteral("  ") + rig.Problem());
        }

        lumbrel::RemoteControlServer remote(window.pump());
        lumbrel::ServeWindow(remote, window);
        if (!remote.Listen(lumbrel::DefaultControlSocketName()))
            std::fprintf(stderr, "lumbrel: start and stop from other programs are off: %s\n",
                         qPrintable(remote.ErrorText()));

        QObject::connect(&window, &lumbrel::MainWindow::Closed, &app, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        // The desktop ending the program (a signal, logout, shutdown) closes it as Exit does.
        lumbrel::QuitSignals quitSignals;
        QObject::connect(&quitSignals, &lumbrel::QuitSignals::Requested, &window,
                         &lumbrel::MainWindow::EndForDesktop);
        QObject::connect(
            &app, &QGuiApplication::commitDataRequest, &window,
            [&window](QSessionManager&) { window.EndForDesktop(); }, Qt::DirectConnection);
        QObject::connect(&app, &QCoreApplication::aboutToQuit, &window, &lumbrel::MainWindow::EndForDesktop,
                         Qt::DirectConnection);
        window.show();
        window.PlayFileArguments(files);
        status = app.exec();
        remote.Close();
        rig.Close();
        // No completion may reach the window once it is gone.
        (void)audio.Close();
    }
    return status;
}
