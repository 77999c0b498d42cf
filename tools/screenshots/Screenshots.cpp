// lumbrel-screenshots OUTDIR: pictures of the main window and its dialogs.
//
// The main window runs on a store in memory, a virtual clock and a virtual audio
// device: a random-groups session plays for a few virtual seconds so that the text
// area, the status line and the time show what a user sees during a session.
// Run offscreen (QT_QPA_PLATFORM=offscreen) or on a display (for example under Xvfb).
// With LUMBREL_SIZES=1 it also prints the smallest sizes of the option frames, which
// decide the main window's smallest width at the user's font.
#include <QCoreApplication>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>

#include "session/Clock.h"
#include "session/VirtualAudioDevice.h"
#include "ui/AboutBox.h"
#include "ui/Application.h"
#include "ui/Configure.h"
#include "ui/DefineMorse.h"
#include "ui/MP3Recording.h"
#include "ui/Main.h"

#include <QToolBar>

namespace {

class SilentPrompts final : public lumbrel::Prompts {
public:
    void Message(QWidget*, const QString& text, const QString& caption, lumbrel::MessageKind) override
    {
        std::fprintf(stderr, "message box \"%s\": %s\n", qPrintable(caption), qPrintable(text));
    }
    bool AskYesNo(QWidget*, const QString&, const QString&) override { return false; }
    void Error(QWidget*, const QString& text) override { std::fprintf(stderr, "error box: %s\n", qPrintable(text)); }
    std::optional<QFont> ChooseFont(QWidget*, const QFont&, int) override { return std::nullopt; }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    lumbrel::AudioFileChoice ChooseAudioFile(QWidget*, const QString&, const QStringList&, int) override { return {}; }
    QString OpenFileName(QWidget*, const QString&, const QString&) override { return {}; }
};

bool Save(QWidget& w, const QDir& dir, const char* name)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    const bool ok = w.grab().save(path);
    std::printf("%s %s (%dx%d)\n", ok ? "wrote" : "FAILED", qPrintable(path), w.width(), w.height());
    return ok;
}

void Settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

}  // namespace

int main(int argc, char** argv)
{
    lumbrel::Application app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QDir dir(args.size() > 1 ? args[1] : QStringLiteral("."));
    if (!dir.exists() && !QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(dir.path()));
        return 1;
    }

    lumbrel::VirtualClock clock(0, QTime(12, 0));
    lumbrel::VirtualAudioDevice audio(clock);
    SilentPrompts prompts;
    lumbrel::SettingsStore store = lumbrel::SettingsStore::InMemory();
    store.Write(lumbrel::keys::Letters, 40);
    store.Write(lumbrel::keys::Pause, 0);
    store.Write(lumbrel::keys::DisplayDelay, 3);
    store.Write(lumbrel::keys::Qsb, 1);
    lumbrel::MainWindow window({.store = store,
                                .clock = clock,
                                .audio = audio,
                                .seed = 12345,
                                .prompts = &prompts,
                                .trayAvailable = [] { return false; }});
    std::printf("main window minimum size hint %dx%d\n", window.minimumSizeHint().width(),
                window.minimumSizeHint().height());
    window.show();
    Settle();
    if (qEnvironmentVariableIsSet("LUMBREL_SIZES")) {
        for (const char* n : {"GroupBox4", "GroupBox3", "GroupBox2", "GroupBox1", "RadioGroup1", "CodeSpeedRadioGroup",
                              "NoiseRadioGroup", "SignalRadioGroup", "GroupBox5", "ChirpCheckBox", "HandSentCheckBox",
                              "WeightingCheckBox", "ToolBar1"})
            if (auto* w = window.findChild<QWidget*>(QString::fromLatin1(n)))
                std::printf("%-22s min %4d x %3d  now %4d x %3d\n", n, w->minimumSizeHint().width(),
                            w->minimumSizeHint().height(), w->width(), w->height());
    }

    // A short session: twenty virtual seconds of random groups.
    window.trainer().StartButtonClick();
    for (int i = 0; i < 200; ++i) {
        clock.Advance(100);
        window.trainer().Timer1Timer();
        Settle();
    }
    bool ok = Save(window, dir, "main.png");
    window.resize(lumbrel::MainWindow::kMinimumWidth, lumbrel::MainWindow::kMinimumHeight);
    Settle();
    ok = Save(window, dir, "main-smallest.png") && ok;
    window.trainer().StopButtonClick();
    for (int i = 0; i < 100 && window.trainer().SessionActive(); ++i) {
        clock.Advance(100);
        Settle();
    }
    ok = Save(*window.ToolBar(), dir, "toolbar.png") && ok;

    lumbrel::ConfigureDialog& setup = window.setupDialog();
    setup.SetCharacterCount(40);
    setup.show();
    Settle();
    const char* pages[] = {"setup-general.png", "setup-characters.png", "setup-words.png"};
    for (int page = 0; page < 3; ++page) {
        setup.Pages()->setCurrentIndex(page);
        Settle();
        ok = Save(setup, dir, pages[page]) && ok;
    }
    setup.hide();

    store.WriteString(lumbrel::SettingsStore::MorseLetterSection(1), QStringLiteral("Content"), QStringLiteral(".-.-."));
    store.WriteString(lumbrel::SettingsStore::MorseLetterSection(1), QStringLiteral("Display"), QStringLiteral("AR"));
    window.defineDialog().show();
    Settle();
    ok = Save(window.defineDialog(), dir, "define.png") && ok;
    window.defineDialog().hide();

    window.aboutBox().show();
    Settle();
    ok = Save(window.aboutBox(), dir, "about.png") && ok;
    window.aboutBox().hide();

    window.mp3Dialog().show();
    Settle();
    ok = Save(window.mp3Dialog(), dir, "mp3.png") && ok;
    window.mp3Dialog().hide();
    return ok ? 0 : 1;
}
