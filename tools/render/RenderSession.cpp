#include "tools/render/RenderSession.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <optional>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include "audio/Clock.h"
#include "audio/PortAudioDevice.h"
#include "recording/Transcript.h"
#include "scoring/HistoryService.h"
#include "scoring/RecognitionDrill.h"
#include "scoring/SessionFacts.h"
#include "session/QtMessagePump.h"
#include "session/TrainerFactory.h"
#include "session/VirtualSession.h"
#include "settings/SettingsStore.h"
#include "text/DataFolders.h"
#include "tools/render/AudioOutput.h"
#include "tools/render/Mixer.h"
#include "tools/render/Progress.h"

namespace lumbrel::render {
namespace {

void PrintError(const QString& text) {
    std::fputs(("lumbrel-render: " + text + "\n").toLocal8Bit().constData(), stderr);
}

// The session's options as asked for.
SessionOptions OptionsFor(const RenderOptions& o) {
    SessionOptions options;
    // The speed buttons nearest the speeds asked for, which decide where speed dither
    // applies (above 15 WPM, at full effective speed); ApplyAfterShow sets the speeds.
    options.Set(Option::CharacterSpeed, o.wpm > 15 ? std::clamp((o.wpm - 15) / 5, 1, 13) : 0);
    options.Set(Option::Pitch, o.toneHz);
    // Words, QSOs and text files send every character of the list; words of my
    // characters keep the count of --chars.
    options.Set(Option::CharacterCount, o.Session() && !o.groups && !o.myCharacters ? 64 : o.characters);
    options.Set(Option::EffectiveSpeed,
                o.effectivePermille < 1000 ? std::clamp((1000 - o.effectivePermille) / 125, 1, 7) : 0);
    options.Set(Option::Signal, o.signalIndex);
    options.Set(Option::Noise, o.noiseIndex);
    options.Set(Option::Fading, o.qsb ? 1 : 0);
    options.Set(Option::SlowFading, o.qsbMode);
    options.Set(Option::DeepFading, o.qsbType);
    options.Set(Option::SpeedStep, o.speedDither ? 1 : 0);
    options.Set(Option::PitchDither, o.pitchDither ? 1 : 0);
    options.Set(Option::HandSent, o.straightKey ? 1 : 0);
    options.Set(Option::Weighting, o.weighting ? 1 : 0);
    options.Set(Option::Chirp, o.chirp ? 1 : 0);
    options.Set(Option::DisplayDelay, 1);  // show each character as soon as it is heard
    options.Set(Option::Qrm, o.qrm ? 1 : 0);
    return options;
}

// The setup values a session reads from the settings, as the setup dialog leaves them.
SettingsStore SetupStore(const RenderOptions& o) {
    SettingsStore store = SettingsStore::InMemory();
    store.Write(keys::EffectiveMode, o.effectiveMode);
    store.Write(keys::Pause, o.groups ? o.PauseSeconds() : 0);
    store.Write(keys::Session, o.minutes);
    store.Write(keys::StraightKeyFist, o.fist);
    store.Write(keys::FavourRecent, o.favourRecent ? 1 : 0);
    store.Write(keys::FavourMissed, o.favourMissed ? 1 : 0);
    store.Write(keys::IntroduceCharacter, o.introduce ? 1 : 0);
    SessionOpening::StoreGroupLength(store, o.groupLength);
    store.Write(keys::UseMfj, o.order == LearningOrder::Mfj ? 1 : 0);
    if (o.Session() && !o.groups) {
        store.Write(keys::WordFilter, o.wordFilter);
        store.Write(keys::MaxWordLength, o.maxWordLength);
        store.Write(keys::CommonWordsSize, o.wordsSize);
    }
    return store;
}

// A list or text file named on the command line, as the trainer would get it from a dialog.
QString FullPath(const QString& file) {
    return QFileInfo(file).absoluteFilePath();
}

// Begins the session the options ask for. False, with why, when none began; a file the
// trainer refused has already been reported through its message box.
bool StartSession(const RenderOptions& o, Trainer& trainer, QString& why) {
    if (o.groups) {
        if (o.introduce)
            trainer.Opening().Introduction().Arm();
        trainer.Start();
        if (trainer.SessionActive() || trainer.CountdownPending())
            return true;
        why = QStringLiteral("the session was refused");
        return false;
    }
    QString path;
    if (o.words && o.myCharacters) {
        if (trainer.PlayMyCharacterWords())
            return true;
        why = QStringLiteral("no word is made only of the %1 characters").arg(o.characters);
        return false;
    }
    if (o.qso && o.qsoFile == QLatin1String(kGeneratedQso)) {
        if (trainer.PlayGeneratedContact())
            return true;
        why = QStringLiteral("the session was refused");
        return false;
    }
    if (o.words || o.qso) {
        const QString& named = o.words ? o.wordsFile : o.qsoFile;
        if (named.isEmpty()) {
            const QString stored =
                o.words ? trainer.SettingCopies().commonWordFile : trainer.SettingCopies().qsoFile;
            path = ResolveProgramPath(trainer.ProgramFolder(), stored);
        } else {
            path = FullPath(named);
        }
        if (!QFileInfo(path).isFile()) {
            why = QStringLiteral("cannot read %1: %2")
                      .arg(path, QFileInfo::exists(path) ? QStringLiteral("not a plain file")
                                                         : QStringLiteral("no such file"));
            return false;
        }
        trainer.SetEntryListSource(path, o.words, o.qso);
        if (trainer.PlayEntryList())
            return true;
        why = o.words ? QStringLiteral("no words of %1 are left after filtering").arg(path)
                      : QStringLiteral("%1 holds no QSO").arg(path);
        return false;
    }
    path = FullPath(o.textSession);
    if (trainer.PlayTextFile(path))
        return true;
    why = QStringLiteral("cannot play %1").arg(path);
    return false;
}

// Runs the session to its end. Random groups and words have a known length and count
// as stuck well after it; QSOs and text files end with their text, however long, and
// count as stuck only when half an hour of virtual time passes without a character.
bool RunToEnd(const RenderOptions& o, VirtualSession& session) {
    if (o.groups)
        return session.RunUntilIdle((static_cast<std::int64_t>(o.minutes) * 60 + o.PauseSeconds() + 120) *
                                    1000);
    if (o.words)
        return session.RunUntilIdle((static_cast<std::int64_t>(o.minutes) * 60 + 600) * 1000);
    constexpr std::int64_t kQuietMs = 30 * 60 * 1000;
    for (int before = session.trainer().CharactersSent();;) {
        if (session.RunUntilIdle(kQuietMs))
            return true;
        const int sent = session.trainer().CharactersSent();
        if (sent == before)
            return false;
        before = sent;
    }
}

// The speeds asked for, also between the speed buttons' steps, once the window's
// restore has run (a speed reaction would reset them).
void ApplyAfterShow(const RenderOptions& o, Trainer& trainer) {
    trainer.Signal().SetWpm(o.wpm);
    trainer.Signal().Impairments().EffectivePermille = o.effectivePermille;
}

// "Favour characters I miss": random groups weighed by the misses of the last checked
// sessions and drills in the user's history database, read when the session begins. A
// history that cannot be used is said, and the groups are drawn as without the option.
void FavourMissed(const RenderOptions& o, Trainer& trainer) {
    if (!o.favourMissed)
        return;
    trainer.Groups().SetMissTalliesSource([] {
        HistoryService history;
        history.SetListener([](const HistoryService::Report& r) {
            if (!r.notice.isEmpty())
                PrintError(r.notice);
            if (!r.problem.isEmpty())
                PrintError(QStringLiteral("the history cannot be used (%1); groups are drawn without it")
                               .arg(r.problem));
        });
        // Slow: past the learner's own target, from the settings the window keeps.
        return history.RecentMisses(LearnerTargetMs(SettingsStore::UserStore()));
    });
}

// The facts of the session, kept for the transcript's sidecar.
void KeepFacts(Trainer& trainer, std::optional<SessionSummary>& facts) {
    trainer.SetSessionEndedListener([&facts](const SessionSummary& s) { facts = s; });
}

// The transcript, and beside it the session's facts (T.session), from which
// lumbrel-score --save stores a copy checked later in the history.
int WriteTranscript(const RenderOptions& o, const Trainer& trainer,
                    const std::optional<SessionSummary>& facts, std::uint32_t seed) {
    if (o.transcript.isEmpty())
        return 0;
    QString error = SaveTextLines(o.transcript, trainer.Sent().Lines());
    if (!error.isEmpty()) {
        PrintError(QStringLiteral("cannot write %1: %2").arg(o.transcript, error));
        return 1;
    }
    if (facts) {
        const QString path = SessionFactsPath(o.transcript);
        error = WriteSessionFacts(path, *facts, seed);
        if (!error.isEmpty()) {
            PrintError(QStringLiteral("cannot write %1: %2").arg(path, error));
            return 1;
        }
    }
    return 0;
}

int RenderToFile(const RenderOptions& o, std::uint32_t seed) {
    // Everything the session's sinks and listeners reach outlives the session, whose
    // end closes its devices and may still hand them audio.
    QString error;
    const std::unique_ptr<AudioOutput> out = CreateAudioOutput(o.output, o.mp3BitRate, error);
    if (!out) {
        PrintError(error);
        return 1;
    }
    bool writeFailed = false;
    // With QRM the main signal and both stations are mixed on the clock's frame line;
    // a piece never reaches back more than one buffer (12.5 s), so older frames are final.
    Mixer mixer(*out);
    constexpr std::int64_t kSettledFrames = 15 * 44100;
    ProgressBar progress(QStringLiteral("lumbrel-render"));
    std::optional<SessionSummary> facts;
    VirtualSession session(SetupStore(o), seed, QTime(12, 0), nullptr, o.qrm);
    session.trainer().UseOptions(OptionsFor(o));
    session.device().KeepPlayedBytes(false);
    if (o.qrm) {
        for (VirtualAudioDevice* device : {&session.device(), &session.qrmDevice(0), &session.qrmDevice(1)}) {
            device->KeepPlayedBytes(false);
            device->SetTimedPlaySink([&mixer](std::int64_t frame, const std::uint8_t* bytes,
                                              std::size_t count) { mixer.Add(frame, bytes, count); });
        }
    } else {
        session.device().SetPlaySink([&](const std::uint8_t* bytes, std::size_t count) {
            if (!writeFailed && !out->Write(bytes, count))
                writeFailed = true;
        });
    }
    // Sessions of random groups and words have a known length; QSOs and text files
    // end with their text, so only the time rendered is shown for them.
    const double expectedSeconds =
        o.groups ? o.minutes * 60.0 + o.PauseSeconds() : (o.words ? o.minutes * 60.0 : 0.0);
    session.afterMessage = [&](int) {
        if (o.qrm && !mixer.FlushBefore(session.clock().ElapsedMs() * 44100 / 1000 - kSettledFrames))
            writeFailed = true;
        progress.Update(session.clock().ElapsedMs() / 1000.0, expectedSeconds);
    };
    // The countdown of random groups, or the pause asked for, as silence.
    if (!WriteSilence(*out, o.PauseSeconds())) {
        PrintError(QStringLiteral("cannot write %1: %2").arg(o.output, out->Error()));
        return 1;
    }
    session.CreateAndShow();
    ApplyAfterShow(o, session.trainer());
    FavourMissed(o, session.trainer());
    KeepFacts(session.trainer(), facts);
    QString why;
    const bool started = StartSession(o, session.trainer(), why);
    if (started && !RunToEnd(o, session)) {
        PrintError(QStringLiteral("the session did not end"));
        return 1;
    }
    if (o.qrm && !mixer.FlushAll())
        writeFailed = true;
    if (!writeFailed) {
        if (const QString problem = out->Finish(); !problem.isEmpty()) {
            PrintError(problem);
            return 1;
        }
    }
    for (const auto& shown : session.Messages())
        PrintError(QStringLiteral("%1: %2").arg(shown.caption, shown.text));
    if (!started) {
        if (session.Messages().empty())  // otherwise the trainer has said why, in one line
            PrintError(why);
        return 1;
    }
    if (writeFailed) {
        PrintError(QStringLiteral("cannot write %1: %2").arg(o.output, out->Error()));
        return 1;
    }
    if (const int status = WriteTranscript(o, session.trainer(), facts, seed); status != 0)
        return status;
    // Only a render that succeeded takes the place of a file of its name.
    if (const QString problem = out->Commit(); !problem.isEmpty()) {
        PrintError(problem);
        return 1;
    }
    return 0;
}

// Message boxes go to standard error; the close request ends the event loop.
class ConsoleHost final : public TrainerHost {
public:
    void ShowMessage(const QString& text, const QString& caption,
                     MessageKind = MessageKind::Information) override {
        PrintError(QStringLiteral("%1: %2").arg(caption, text));
    }
    void RequestClose() override {}
};

int PlayOnSoundCard(const RenderOptions& o, std::uint32_t seed) {
    SystemClock clock;
    PortAudioDevice device;
    PortAudioDevice qrm1;  // the interfering stations' own streams
    PortAudioDevice qrm2;
    QtMessagePump pump;
    ConsoleHost host;
    WiredTrainer wired;
    BuildTrainer(wired,
                 Trainer::Dependencies{.store = SetupStore(o),
                                       .clock = clock,
                                       .window = pump,
                                       .audio = device,
                                       .host = host,
                                       .rig = nullptr,
                                       .qrmAudio = o.qrm ? std::array<AudioDevice*, 2>{&qrm1, &qrm2}
                                                         : std::array<AudioDevice*, 2>{},
                                       .seed = seed},
                 [&] {
                     TrainerWiring wiring = QtPumpWiring(pump);
                     wiring.beforeRestore = [&o](Trainer& t) {
                         t.UseOptions(OptionsFor(o));
                     };
                     return wiring;
                 }());
    Trainer& trainer = *wired;
    ApplyAfterShow(o, trainer);
    FavourMissed(o, trainer);
    if (!trainer.AudioOpen())
        return 1;
    std::optional<SessionSummary> facts;
    KeepFacts(trainer, facts);

    pump.afterMessage = [&](int) {
        if (!trainer.SessionActive() && !trainer.CountdownPending())
            QCoreApplication::quit();
    };
    // The pause asked for before words, QSOs and text (random groups count it down).
    if (!o.groups && o.PauseSeconds() > 0) {
        QEventLoop pause;
        QTimer::singleShot(o.PauseSeconds() * 1000, &pause, &QEventLoop::quit);
        pause.exec();
    }
    QString why;
    if (!StartSession(o, trainer, why)) {
        PrintError(why);
        trainer.SetListener(nullptr);
        trainer.FormClose();
        return 1;
    }
    // The countdown ends on a timer tick, not a message.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!trainer.SessionActive() && !trainer.CountdownPending())
            QCoreApplication::quit();
    });
    watch.start(200);
    QCoreApplication::exec();
    trainer.SetListener(nullptr);
    trainer.FormClose();
    return WriteTranscript(o, trainer, facts, seed);
}

// Whether two names lead to one file: the same file when both exist (through links
// too), otherwise the same name in the same folder.
bool SameFile(const QString& a, const QString& b) {
    const QFileInfo x(a);
    const QFileInfo y(b);
    if (x.exists() && y.exists()) {
#ifdef Q_OS_UNIX
        struct stat sx {};
        struct stat sy {};
        if (::stat(QFile::encodeName(a).constData(), &sx) == 0 &&
            ::stat(QFile::encodeName(b).constData(), &sy) == 0)
            return sx.st_dev == sy.st_dev && sx.st_ino == sy.st_ino;
#endif
        return x.canonicalFilePath() == y.canonicalFilePath();
    }
    const auto place = [](const QFileInfo& f) {
        const QString folder = QFileInfo(f.absolutePath()).canonicalFilePath();
        return (folder.isEmpty() ? f.absolutePath() : folder) + QLatin1Char('/') + f.fileName();
    };
    return place(x) == place(y);
}

// The output, the transcript and the session's facts beside it must be three files;
// empty when they are, otherwise why not.
QString OutputClash(const RenderOptions& o) {
    if (o.transcript.isEmpty())
        return {};
    const QString facts = SessionFactsPath(o.transcript);
    if (!o.play && o.output != QLatin1String("-")) {
        if (SameFile(o.output, o.transcript))
            return QStringLiteral("-o and --transcript name the same file, %1: give two different files")
                .arg(o.output);
        if (SameFile(o.output, facts))
            return QStringLiteral(
                       "-o %1 is where the session's facts go beside --transcript %2: give another name")
                .arg(o.output, o.transcript);
    }
    if (SameFile(o.transcript, facts))
        return QStringLiteral("--transcript %1 is also where the session's facts go: give another name")
            .arg(o.transcript);
    return {};
}

}  // namespace

int RenderTrainerSession(const RenderOptions& options) {
    if (const QString clash = OutputClash(options); !clash.isEmpty()) {
        PrintError(clash);
        return 2;
    }
    if (const QString note = StretchCapNote(options); !note.isEmpty())
        PrintError(note);
    const std::uint32_t seed =
        options.seed.value_or(static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch()));
    return options.play ? PlayOnSoundCard(options, seed) : RenderToFile(options, seed);
}

}  // namespace lumbrel::render
