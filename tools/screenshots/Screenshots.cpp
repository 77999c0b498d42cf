// lumbrel-screenshots OUTDIR: pictures of the main window, its dialogs and the drills.
//
// The main window runs on a store in memory, a virtual clock and a virtual audio
// device: a random-groups session plays for a few virtual seconds so that the text
// area, the status line and the time show what a user sees during a session.
// Run offscreen (QT_QPA_PLATFORM=offscreen) or on a display (for example under Xvfb).
//
// Besides the pictures in OUTDIR it draws every window again in four looks, each in a
// folder of its own and a process of its own, offscreen:
//   OUTDIR/dark        a dark desktop palette
//   OUTDIR/14pt        a 14 point desktop font
//   OUTDIR/scale2      twice the device pixels per pixel
//   OUTDIR/1280x800    a 1280 x 800 screen at 144 dpi (scale 1.5): the main window's
//                      first size must fit it
//   OUTDIR/de          in German, the translation installed as LANG=de_DE.UTF-8 does
// `--look NAME OUTDIR` draws one look only ("default" for the plain one). With LUMBREL_SIZES=1 it also prints the
// smallest sizes of the option frames, which decide the main window's smallest width.
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>

#include <cmath>
#include <cstdio>
#include <tuple>
#include <vector>

#include "audio/Clock.h"
#include "audio/VirtualAudioDevice.h"
#include "decoder/TimelineDecoder.h"
#include "scoring/History.h"
#include "ui/AboutBox.h"
#include "ui/Application.h"
#include "ui/CheckCopy.h"
#include "ui/Configure.h"
#include "ui/CharactersWindow.h"
#include "ui/DefineMorse.h"
#include "ui/Drills.h"
#include "ui/LearnerGuide.h"
#include "ui/MP3Recording.h"
#include "ui/Main.h"
#include "ui/Progress.h"
#include "ui/RichEditRx.h"
#include "ui/SendWindow.h"
#include "ui/Translations.h"

namespace {

class SilentPrompts final : public lumbrel::Prompts {
public:
    void Message(QWidget*, const QString& text, const QString& caption, lumbrel::MessageKind) override {
        std::fprintf(stderr, "message box \"%s\": %s\n", qPrintable(caption), qPrintable(text));
    }
    bool AskYesNo(QWidget*, const QString&, const QString&) override { return false; }
    void Error(QWidget*, const QString& text) override {
        std::fprintf(stderr, "error box: %s\n", qPrintable(text));
    }
    std::optional<QFont> ChooseFont(QWidget*, const QFont&, int) override { return std::nullopt; }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    lumbrel::AudioFileChoice ChooseAudioFile(QWidget*, const QString&, const QStringList&, int) override {
        return {};
    }
    QString OpenFileName(QWidget*, const QString&, const QString&) override { return {}; }
};

// Four days of drills in the history: instant recognition getting faster, and
// callsign runs scoring more.
void AddDrills(const QString& path) {
    lumbrel::History history(path);
    if (!history.Open())
        return;
    const QDateTime start = QDateTime::currentDateTime().addDays(-4);
    const QString characters = QStringLiteral("kmrsuaptlowi");
    for (int day = 0; day < 4; ++day) {
        lumbrel::DrillRecord drill;
        drill.ended = start.addDays(day);
        drill.characterWpm = 25;
        for (int k = 0; k < 60; ++k) {
            const QString c = characters.at(k % characters.size());
            const int ms = 500 + 90 * (k % characters.size()) - 120 * day + 37 * (k % 5);
            drill.answers.push_back({c, (k + day) % 9 == 0 ? QStringLiteral("e") : c, ms});
        }
        history.AddDrill(drill);
        lumbrel::DrillRecord run;
        run.kind = lumbrel::DrillKind::Callsigns;
        run.ended = start.addDays(day).addSecs(600);
        run.characterWpm = 20;
        run.stepWpm = 2;
        run.topWpm = 24 + 3 * day;
        run.score = 2800 + 650 * day;
        run.calls = {{QStringLiteral("K1ABC"), QStringLiteral("k1abc"), 20, false, 100},
                     {QStringLiteral("DL2XY"), QStringLiteral("dl2xv"), 22, false, 0}};
        history.AddDrill(run);
    }
}

bool Save(QWidget& w, const QDir& dir, const char* name) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    const bool ok = w.grab().save(path);
    std::printf("%s %s (%dx%d)\n", ok ? "wrote" : "FAILED", qPrintable(path), w.width(), w.height());
    return ok;
}

void Settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

// The drills window after a short drill of each kind, answered by a scripted learner
// (a few slow or wrong answers, one call miscopied), with the history's drills before.
bool DrawDrills(lumbrel::MainWindow& window, lumbrel::VirtualClock& clock, const QDir& dir) {
    using Recognition = lumbrel::RecognitionDrillController;
    window.DrillsClick();
    Settle();
    lumbrel::DrillsDialog* drills = window.Drills();
    if (!drills)
        return false;
    drills->RecognitionStart()->click();
    for (int k = 0; k < 5000 && drills->Recognition()->CurrentState() != Recognition::State::Over; ++k) {
        clock.Advance(20);
        Settle();
        Recognition& drill = *drills->Recognition();
        if (drill.CurrentState() == Recognition::State::Waiting) {
            clock.Advance(350 + 90 * (k % 7));
            drill.KeyTyped(k % 6 == 0 ? QStringLiteral("e") : drill.Current());
        }
        drill.Tick();
    }
    Settle();
    bool ok = Save(*drills, dir, "drills-recognition.png");

    drills->Tabs()->setCurrentIndex(1);
    drills->CallsignStart()->click();
    for (int call = 0; drills->Callsigns()->CurrentState() == lumbrel::CallsignRunController::State::Running;
         ++call) {
        for (int ms = 0; ms < 4000; ms += 100) {
            clock.Advance(100);
            Settle();
        }
        QString copy = drills->Callsigns()->Run().Call().toLower();
        if (call == 1)
            copy[1] = copy[1] == QLatin1Char('e') ? QLatin1Char('i') : QLatin1Char('e');
        drills->Callsigns()->Enter(copy);
    }
    Settle();
    ok = Save(*drills, dir, "drills-callsigns.png") && ok;
    drills->close();
    Settle();
    return ok;
}

// The Send window's sound run by hand (the virtual output calls no live sound) beside
// the virtual clock that plays the echo drills' items, 10 ms a step.
struct SendStream {
    lumbrel::SendWindow& window;
    lumbrel::VirtualClock& clock;
    std::uint64_t frame = 0;
    std::int64_t us = 0;
    std::vector<std::int16_t> buffer = std::vector<std::int16_t>(2 * 441);

    void Run(int ms) {
        for (int i = 0; i < ms / 10; ++i) {
            window.Practice().Sound().Mix(buffer.data(), 441, frame, us, us);
            frame += 441;
            us += 10'000;
            clock.Advance(10);
            if (i % 3 == 2) {
                window.TakeMarks();
                Settle();
            }
        }
        window.TakeMarks();
        Settle();
    }
    // Keys text on the straight key at 18 WPM with a slightly heavy hand.
    void Key(const QString& text) {
        const std::int64_t unit = 1200'000 / 18;
        std::int64_t at = us;
        for (const QChar c : text) {
            if (c == QLatin1Char(' ')) {
                at += 4 * unit;
                continue;
            }
            for (const char e : lumbrel::TimelineDecoder::CodeOf(QString(c))) {
                const std::int64_t length = (e == '-' ? 3 : 1) * unit + unit / 8;
                window.Practice().Sound().Events().Push({lumbrel::KeyContact::Straight, true, at});
                window.Practice().Sound().Events().Push({lumbrel::KeyContact::Straight, false, at + length});
                at += length + unit - unit / 8;
            }
            at += 2 * unit;
        }
        Run(static_cast<int>((at - us) / 1000) + 20);
    }
};

// The Send window in each practice, keyed by a scripted learner, and the history's
// sendings in Progress' "Sending" tab.
bool DrawSending(lumbrel::MainWindow& window, lumbrel::VirtualClock& clock, const QDir& dir) {
    using Practice = enum lumbrel::SendWindow::Practice;
    window.SendClick();
    Settle();
    lumbrel::SendWindow* send = window.Sending();
    if (!send)
        return false;
    SendStream stream{*send, clock};
    stream.Key(QStringLiteral("cq cq de dl2xy"));
    stream.Run(200);
    bool ok = Save(*send, dir, "send-free.png");
    stream.Run(1500);  // the line over: its fist
    ok = Save(*send, dir, "send-free-fist.png") && ok;
    for (const auto& [practice, name, answer] :
         {std::tuple{Practice::EchoCharacters, "send-echo-characters.png", "k"},
          std::tuple{Practice::EchoWords, "send-echo-words.png", "mkm"},
          std::tuple{Practice::EchoCalls, "send-echo-calls.png", "dl2xy"},
          std::tuple{Practice::EchoAbbreviations, "send-echo-abbreviations.png", "tnx"}}) {
        send->PracticeBox()->setCurrentIndex(static_cast<int>(practice));
        send->StartButton()->click();
        for (int ms = 0; ms < 8000 && send->PromptLabel()->text() == lumbrel::SendWindow::tr("Listen…");
             ms += 50)
            stream.Run(50);
        stream.Key(QString::fromLatin1(answer));
        stream.Run(600);
        ok = Save(*send, dir, name) && ok;
        send->StartButton()->click();  // stopped: kept in the history
        Settle();
    }
    send->PracticeBox()->setCurrentIndex(static_cast<int>(Practice::Text));
    send->StartButton()->click();
    Settle();
    const QString line = send->PromptLabel()->text().section(QLatin1Char(' '), 1, 2).toLower();
    stream.Key(line);
    stream.Run(200);
    ok = Save(*send, dir, "send-text.png") && ok;
    send->StartButton()->click();
    Settle();
    send->resize(send->minimumSizeHint());
    Settle();
    ok = Save(*send, dir, "send-smallest.png") && ok;
    send->accept();
    Settle();
    return ok;
}

// A dark desktop theme's palette, much like the dark themes of the common desktops.
QPalette DarkPalette() {
    const QColor window(0x2b, 0x2e, 0x33);
    const QColor base(0x1e, 0x21, 0x24);
    const QColor text(0xee, 0xee, 0xee);
    const QColor disabled(0x80, 0x84, 0x8a);
    QPalette p;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, disabled);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(0x35, 0x39, 0x3f));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Light, QColor(0x45, 0x4a, 0x50));
    p.setColor(QPalette::Midlight, QColor(0x3a, 0x3e, 0x44));
    p.setColor(QPalette::Mid, QColor(0x24, 0x26, 0x2a));
    p.setColor(QPalette::Dark, QColor(0x18, 0x1a, 0x1d));
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
    p.setColor(QPalette::HighlightedText, Qt::black);
    p.setColor(QPalette::Link, QColor(0x1d, 0x99, 0xf3));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, disabled);
    return p;
}

// Every window, drawn into `dir`.
bool DrawWindows(const QDir& dir) {
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
                                .trayAvailable = [] { return false; },
                                .rig = nullptr,
                                .qrmAudio = {},
                                .firstStart = true});
    QTemporaryDir history;
    window.SetHistoryPath(history.filePath(QStringLiteral("history.sqlite")));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        std::printf("screen %dx%d free %dx%d, %.2f device pixels per pixel\n", screen->geometry().width(),
                    screen->geometry().height(), screen->availableGeometry().width(),
                    screen->availableGeometry().height(), screen->devicePixelRatio());
    std::printf("main window minimum size hint %dx%d, first size %dx%d\n", window.minimumSizeHint().width(),
                window.minimumSizeHint().height(), window.width(), window.height());
    window.show();
    Settle();
    if (qEnvironmentVariableIsSet("LUMBREL_SIZES")) {
        for (const char* n :
             {"GroupBox4", "GroupBox3", "GroupBox2", "GroupBox1", "RadioGroup1", "CodeSpeedRadioGroup",
              "NoiseRadioGroup", "SignalRadioGroup", "GroupBox5", "ChirpCheckBox", "HandSentCheckBox",
              "WeightingCheckBox", "ToolBar1", "OptionArea", "Sent"})
            if (auto* w = window.findChild<QWidget*>(QString::fromLatin1(n)))
                std::printf("%-22s min %4d x %3d  now %4d x %3d\n", n, w->minimumSizeHint().width(),
                            w->minimumSizeHint().height(), w->width(), w->height());
    }

    // The first start: the welcome in the text area.
    bool ok = Save(window, dir, "welcome.png");

    // A short session: twenty virtual seconds of random groups.
    window.trainer().Start();
    for (int i = 0; i < 200; ++i) {
        clock.Advance(100);
        window.trainer().TimerTick();
        Settle();
    }
    ok = Save(window, dir, "main.png") && ok;
    window.resize(window.minimumSize());
    Settle();
    ok = Save(window, dir, "main-smallest.png") && ok;
    window.trainer().Stop();
    for (int i = 0; i < 100 && window.trainer().SessionActive(); ++i) {
        clock.Advance(100);
        Settle();
    }
    ok = Save(*window.ToolBar(), dir, "toolbar.png") && ok;

    // The copy of the session checked, with two mistakes, and the progress so far.
    lumbrel::CopyChecking& checking = window.copyChecking();
    checking.CheckCopyClick();
    Settle();
    if (lumbrel::CheckCopyDialog* check = checking.Dialog()) {
        QString copy = window.trainer().Sent().Text();
        if (copy.size() > 12)
            copy.replace(3, 1, QStringLiteral("e")).replace(12, 1, QStringLiteral("t"));
        check->CopyEdit()->setPlainText(copy);
        check->Check();
        Settle();
        ok = Save(*check, dir, "check-copy.png") && ok;
        check->close();
        AddDrills(history.filePath(QStringLiteral("history.sqlite")));
        checking.ProgressClick();
        Settle();
        if (lumbrel::ProgressWindow* progress = checking.Progress()) {
            ok = Save(*progress, dir, "progress.png") && ok;
            for (const auto& [tab, name] :
                 {std::pair{2, "progress-characters.png"}, std::pair{3, "progress-recognition.png"},
                  std::pair{4, "progress-callsigns.png"}}) {
                progress->Tabs()->setCurrentIndex(tab);
                Settle();
                ok = Save(*progress, dir, name) && ok;
            }
            progress->Tabs()->setCurrentIndex(3);
            progress->RecognitionTabs()->setCurrentIndex(1);
            Settle();
            ok = Save(*progress, dir, "progress-recognition-accuracy.png") && ok;
            progress->close();
        }
    }
    store.Write(lumbrel::keys::DrillCharacters, 24);
    store.Write(lumbrel::keys::CallsignCalls, 5);
    ok = DrawDrills(window, clock, dir) && ok;
    ok = DrawSending(window, clock, dir) && ok;
    checking.ProgressClick();
    Settle();
    if (lumbrel::ProgressWindow* progress = checking.Progress()) {
        progress->Tabs()->setCurrentIndex(5);
        for (int page = 0; page < 2; ++page) {
            progress->SendingTabs()->setCurrentIndex(page);
            Settle();
            ok = Save(*progress, dir, page == 0 ? "progress-sending.png" : "progress-sending-fist.png") && ok;
        }
        progress->close();
    }

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
    // A user character with a long display text among the built-in ones.
    setup.SetCharacterCaption(40, QStringLiteral("<ar>"));
    setup.SetCharacterCaption(41, QStringLiteral("sos"));
    setup.LoadCharacterChecks(42);
    setup.Pages()->setCurrentIndex(1);
    Settle();
    ok = Save(setup, dir, "setup-characters-own.png") && ok;
    setup.hide();

    store.WriteString(lumbrel::SettingsStore::MorseLetterSection(1), QStringLiteral("Content"),
                      QStringLiteral(".-.-."));
    store.WriteString(lumbrel::SettingsStore::MorseLetterSection(1), QStringLiteral("Display"),
                      QStringLiteral("AR"));
    window.defineDialog().show();
    Settle();
    ok = Save(window.defineDialog(), dir, "define.png") && ok;
    window.defineDialog().hide();

    window.Guide().ShowCharacters();
    Settle();
    if (QWidget* chart = window.Guide().Characters()) {
        ok = Save(*chart, dir, "characters.png") && ok;
        chart->close();
    }

    window.aboutBox().show();
    Settle();
    ok = Save(window.aboutBox(), dir, "about.png") && ok;
    window.aboutBox().hide();

    window.mp3Dialog().show();
    Settle();
    ok = Save(window.mp3Dialog(), dir, "mp3.png") && ok;
    window.mp3Dialog().hide();

    // The platform's Select Font dialog with its colour button, drawn while it is open.
    lumbrel::QtPrompts platform;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            Settle();
            ok = Save(*dialog, dir, "select-font.png") && ok;
            dialog->reject();
        }
    });
    (void)platform.ChooseFontAndColour(&window, {window.Sent()->font(), Qt::darkBlue}, 200);
    return ok;
}

// Makes the look `name` of this process; false for an unknown name.
bool ApplyLook(const QString& name) {
    if (name == QLatin1String("dark")) {
        QApplication::setPalette(DarkPalette());
    } else if (name == QLatin1String("14pt")) {
        QFont font = QApplication::font();
        font.setPointSize(14);
        QApplication::setFont(font);
    } else if (name == QLatin1String("de")) {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        return lumbrel::InstallTranslations(QLocale());
    } else if (name != QLatin1String("default") && name != QLatin1String("scale2") &&
               name != QLatin1String("1280x800")) {
        return false;
    }
    return true;
}

// The child draws offscreen on one screen of `width` x `height` pixels at `dpr` device
// pixels per pixel.
bool OffscreenScreen(QProcessEnvironment& env, const QTemporaryDir& scratch, int width, int height,
                     const QString& dpr) {
    const QString config =
        scratch.filePath(QStringLiteral("screen-%1x%2-%3.json").arg(width).arg(height).arg(dpr));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QStringLiteral(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": %1, "height": %2,)"
                              R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": %3}]})")
                   .arg(width)
                   .arg(height)
                   .arg(dpr)
                   .toUtf8());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + config);
    return true;
}

// Runs this program again for one look, with the environment that look needs.
bool DrawLook(const QString& name, const QDir& dir, const QTemporaryDir& scratch) {
    // A screen large enough for every window (at twice the pixels for "scale2"), or
    // 1280 x 800 device pixels at 1.5 device pixels per pixel.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const bool laptop = name == QLatin1String("1280x800");
    const QString dpr = laptop                            ? QStringLiteral("1.5")
                        : name == QLatin1String("scale2") ? QStringLiteral("2")
                                                          : QStringLiteral("1");
    if (!OffscreenScreen(env, scratch, laptop ? 853 : 1920, laptop ? 533 : 1080, dpr))
        return false;
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--look"), name, dir.filePath(name)});
    return child.waitForFinished(120000) && child.exitStatus() == QProcess::NormalExit &&
           child.exitCode() == 0;
}

}  // namespace

int main(int argc, char** argv) {
    lumbrel::Application app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    QString look;
    if (args.size() >= 2 && args[0] == QLatin1String("--look")) {
        look = args[1];
        args = args.mid(2);
        if (!ApplyLook(look)) {
            std::fprintf(stderr, "unknown look %s\n", qPrintable(look));
            return 2;
        }
    }
    const QDir dir(args.isEmpty() ? QStringLiteral(".") : args[0]);
    if (!dir.exists() && !QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(dir.path()));
        return 1;
    }

    bool ok = DrawWindows(dir);
    if (look.isEmpty()) {
        const QTemporaryDir scratch;
        for (const char* name : {"dark", "14pt", "scale2", "1280x800", "de"})
            ok = DrawLook(QString::fromLatin1(name), dir, scratch) && ok;
    }
    return ok ? 0 : 1;
}
