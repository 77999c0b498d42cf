#pragma once
// The session tests' fixture: a trainer on virtual time and the virtual device, with a
// data folder of its own, run to its end; a record of every buffer the engine fills and
// of the text area it leaves.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "morse/LearningOrders.h"
#include "session/VirtualSession.h"
#include "tests/TestSupport.h"
#include "text/DataFolders.h"
#include "text/ProsignRun.h"

namespace lumbrel::test {

// One buffer filled by the engine.
struct Filled {
    std::int64_t ms = 0;      // virtual time when it was queued
    std::uint32_t bytes = 0;  // its length
    int pitchDither = 0;      // the dither it was rendered with
    int speedDither = 0;
    int wpm = 0;    // the signal's speed when it was queued
    int pitch = 0;  // the signal's tone when it was queued
    bool chirp = false;
    bool drift = false;
    bool weighting = false;
    bool windingDown = false;  // the session winds down right after it was queued
    QString sentBefore;        // the text area just before it was queued
};

// Every stored value of "Setup" and "FormState", to show that nothing was written.
inline std::map<QString, QString> Snapshot(const SettingsStore& store) {
    std::map<QString, QString> values;
    for (const keys::AnyKey& any : keys::kAllKeys) {
        std::visit(
            [&](const auto* key) {
                const auto raw = store.Raw(QString::fromLatin1(key->section), QString::fromLatin1(key->name));
                QString text = QStringLiteral("<none>");
                if (raw) {
                    if (const auto* n = std::get_if<qint32>(&*raw))
                        text = QString::number(*n);
                    else
                        text = QStringLiteral("\"%1\"").arg(std::get<QString>(*raw));
                }
                values[QStringLiteral("%1/%2").arg(QString::fromLatin1(key->section),
                                                   QString::fromLatin1(key->name))] = text;
            },
            any);
    }
    return values;
}

// The settings are written to store before Create; a test that needs the two
// interfering stations sets qrmStations first.
struct SessionFixture : ::testing::Test {
    QTemporaryDir dir;
    SettingsStore store = SettingsStore::InMemory();
    bool qrmStations = false;
    std::unique_ptr<VirtualSession> s;
    std::vector<Filled> filled;
    QString sentBefore;  // the text area after the last message

    // The trainer before its first showing, for a device failure to be injected.
    void Make(std::uint32_t seed = 1, QTime start = QTime(12, 0)) {
        ASSERT_TRUE(dir.isValid());
        s = std::make_unique<VirtualSession>(store, seed, start, nullptr, qrmStations);
        s->device().KeepPlayedBytes(false);
        for (int i = 0; qrmStations && i < 2; ++i)
            s->qrmDevice(i).KeepPlayedBytes(false);
        filled.clear();
        sentBefore.clear();
        // Each buffer as the engine writes it to the device, with the signal it was rendered with.
        s->device().SetWriteSink([this](const AudioBufferHeader& header) {
            const SignalRenderer& signal = t().Signal();
            Filled f;
            f.ms = s->clock().ElapsedMs();
            f.bytes = header.length;
            f.pitchDither = signal.Impairments().PitchDither;
            f.speedDither = signal.Impairments().SpeedDither;
            f.wpm = signal.Wpm();
            f.pitch = signal.Pitch();
            f.chirp = signal.Switches().ChirpOn;
            f.drift = signal.Switches().DriftOn;
            f.weighting = signal.Switches().VariableWeightingOn;
            f.sentBefore = sentBefore;
            filled.push_back(f);
        });
        s->afterMessage = [this, done = std::size_t{0}](int) mutable {
            for (; done < filled.size(); ++done)
                filled[done].windingDown = t().WindingDown();
            sentBefore = t().Sent().Text();
        };
    }

    void Create(std::uint32_t seed = 1, QTime start = QTime(12, 0)) {
        Make(seed, start);
        s->CreateAndShow();
        t().SetProgramFolder(dir.path());
    }

    Trainer& t() { return s->trainer(); }

    // Writes a file below the data folder (or anywhere, for an absolute path).
    QString Write(const QString& relative, const QByteArray& bytes) {
        const QString path = QDir::isAbsolutePath(relative) ? relative : dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        WriteAll(path, bytes);
        return path;
    }

    // Runs the session to its end; the text area then.
    QString RunToEnd(std::int64_t limitMs = 600'000) {
        EXPECT_TRUE(s->RunUntilIdle(limitMs));
        return t().Sent().Text();
    }

    // Stops the session and runs it out; the text area then.
    QString StopAndRunOut(std::int64_t limitMs = 30'000) {
        t().Stop();
        return RunToEnd(limitMs);
    }
    // Lets the session run for ms, then stops it and runs it out.
    QString RunAndStop(std::int64_t ms, std::int64_t limitMs = 30'000) {
        s->RunFor(ms);
        return StopAndRunOut(limitMs);
    }

    // Idle with the commands back and the clock stopped, and nothing ever written to the device.
    void ExpectIdleAndSilent() {
        EXPECT_TRUE(Idle());
        EXPECT_TRUE(t().Readouts().CommandsEnabled());
        EXPECT_FALSE(t().Readouts().ClockRunning());
        EXPECT_EQ(s->device().CallCount(VirtualAudioDevice::Call::Write), 0);
    }

    bool Idle() const { return !s->trainer().SessionActive() && !s->trainer().CountdownPending(); }

    // The byte length of a character's buffer at the given speed, no weighting, fist or
    // chirp, by the timing rules: a unit is 1200/wpm whole milliseconds of 44.1 frames
    // of 4 bytes; a dot with its gap takes 2 units, a dash with its gap 4, a word space
    // 7, and the closing gap 2 more. A joined slot has no closing gap and no stretch;
    // the effective speed stretches each unit to 1000/permille (at most 19000 values)
    // and the slot keeps whole frames.
    static std::uint32_t SlotBytes(const char* text, int wpm, bool joined, int permille = 1000) {
        const int position = CharacterMap(LearningOrder::Koch)[static_cast<unsigned char>(text[0])];
        const QByteArray& code =
            LearningOrderTable(LearningOrder::Koch)[static_cast<std::size_t>(position)].code;
        int units = 2;
        for (const char symbol : code)
            units += symbol == '.' ? 2 : symbol == '-' ? 4 : symbol == ' ' ? 5 : 0;
        const int unitValues = (1200 / wpm) * 441 / 10 * 2;  // two values a frame
        if (joined)
            return static_cast<std::uint32_t>(2 * (units - 2) * unitValues);
        const int stretched = std::min(unitValues * 1000 / permille, 19000);
        return static_cast<std::uint32_t>(2 * (units * stretched / 2 * 2));
    }
    static std::uint32_t WordSpaceBytes(int wpm, int permille = 1000) {
        return SlotBytes(" ", wpm, false, permille);
    }

    // The buffer lengths that send a text as the display shows it: " " is a word space
    // (stretched by wordSpacePermille), "^" is the prosign marker before a joined run.
    static std::vector<std::uint32_t> ExpectedBytes(const QString& shown, int wpm,
                                                    int wordSpacePermille = 1000) {
        std::vector<std::uint32_t> bytes;
        ProsignRun prosign;
        for (const QChar ch : shown) {
            const char c = static_cast<char>(ch.toLatin1());
            if (prosign.Take(c == ' ' ? kWordSpace : c == '^' ? kProsignMarker : 1))
                continue;
            const char text[2] = {c, 0};
            bytes.push_back(c == ' ' ? WordSpaceBytes(wpm, wordSpacePermille)
                                     : SlotBytes(text, wpm, prosign.Emit().joined));
        }
        return bytes;
    }

    // Each word space draws the dither that holds for the word after it (and for the
    // space itself when it plays with the new draw); a space plays at its dithered speed.
    // The pitch dithers drawn.
    std::set<int> DitherOfEachWord(const QString& shown, int wpm, bool spaceHasTheNewDraw) const {
        EXPECT_EQ(filled.size(), static_cast<std::size_t>(shown.size()));
        std::set<int> pitches;
        const Filled* draw = nullptr;
        for (std::size_t i = 0; i < std::min(filled.size(), static_cast<std::size_t>(shown.size())); ++i) {
            const Filled& f = filled[i];
            if (shown[static_cast<qsizetype>(i)] == QLatin1Char(' ')) {
                EXPECT_EQ(f.bytes, WordSpaceBytes(wpm - f.speedDither)) << i;
                draw = spaceHasTheNewDraw ? &f : nullptr;
            } else if (!draw) {
                draw = &f;
            }
            EXPECT_EQ(f.pitchDither, draw ? draw->pitchDither : f.pitchDither) << i;
            EXPECT_EQ(f.speedDither, draw ? draw->speedDither : f.speedDither) << i;
            if (draw)
                pitches.insert(draw->pitchDither);
        }
        return pitches;
    }

    std::vector<std::uint32_t> FilledBytes() const {
        std::vector<std::uint32_t> bytes;
        for (const Filled& f : filled)
            bytes.push_back(f.bytes);
        return bytes;
    }
};

// Word, QSO and text-file sessions: every character in use with the mask the sources
// write already in place, no display delay, one-minute sessions.
struct TextSessionTest : SessionFixture {
    void SetUp() override {
        store.Write(keys::Letters, 64);
        WriteFirstCharactersMask(store, 40);
        store.Write(keys::DisplayDelay, 1);  // delay 0
        store.Write(keys::Session, 1);
    }
};

}  // namespace lumbrel::test
