#pragma once
// Helpers for the word, QSO and text-file session tests: a trainer on virtual time
// with every character in use and a data folder of its own, and a record of every
// buffer the engine fills.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <map>
#include <memory>
#include <vector>

#include "morse/LearningOrders.h"
#include "morse/MorseCode.h"
#include "session/VirtualSession.h"
#include "tests/TestSupport.h"
#include "text/DataFolders.h"

namespace lumbrel::test {

// One buffer filled by the engine.
struct Filled {
    std::int64_t ms = 0;        // virtual time when it was queued
    std::uint32_t bytes = 0;    // its length
    int pitchDither = 0;        // the dither it was rendered with
    int speedDither = 0;
    int wpm = 0;                // CharacterWpm when it was queued
    int pitch = 0;              // CurrentPitch when it was queued
    bool chirp = false;
    bool drift = false;
    bool weighting = false;
    int sessionState = 0;       // SessionState right after it was queued
    QString sentBefore;         // the text area just before it was queued
};

// Every stored value of "Setup" and "FormState", to show that nothing was written.
inline std::map<QString, QString> Snapshot(const SettingsStore& store)
{
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
                values[QStringLiteral("%1/%2").arg(QString::fromLatin1(key->section), QString::fromLatin1(key->name))] = text;
            },
            any);
    }
    return values;
}

struct TextSessionTest : ::testing::Test {
    QTemporaryDir dir;
    SettingsStore store = SettingsStore::InMemory();
    std::unique_ptr<VirtualSession> s;
    std::vector<Filled> filled;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // Every character in use, and the mask the sources write already in place.
        store.Write(keys::Letters, 64);
        WriteFirstCharactersMask(store, 40);
        store.Write(keys::DisplayDelay, 1);  // delay 0
        store.Write(keys::Session, 1);
    }

    void Create(std::uint32_t seed = 1)
    {
        s = std::make_unique<VirtualSession>(store, seed);
        s->device().KeepPlayedBytes(false);
        s->CreateAndShow();
        t().SetProgramFolder(dir.path());
        t().SetSessionLengthMinutes(store.Read(keys::Session));
        filled.clear();
        int next = t().NextBufferIndex();
        QString sent;
        s->afterMessage = [this, next, sent](int) mutable {
            if (t().NextBufferIndex() != next) {
                const int slot = next;
                next = t().NextBufferIndex();
                Filled f;
                f.ms = s->clock().ElapsedMs();
                f.bytes = t().Buffer(slot).length;
                f.pitchDither = t().Signal().PitchDither;
                f.speedDither = t().Signal().SpeedDither;
                f.wpm = t().CharacterWpm();
                f.pitch = t().CurrentPitch();
                f.chirp = t().Renderer().ChirpOn;
                f.drift = t().Renderer().DriftOn;
                f.weighting = t().Renderer().VariableWeightingOn;
                f.sessionState = t().SessionState();
                f.sentBefore = sent;
                filled.push_back(f);
            }
            sent = t().Sent().Text();
        };
    }

    Trainer& t() { return s->trainer(); }

    // Writes a file below the data folder (or anywhere, for an absolute path).
    QString Write(const QString& relative, const QByteArray& bytes)
    {
        const QString path = QDir::isAbsolutePath(relative) ? relative : dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        WriteAll(path, bytes);
        return path;
    }

    // Runs the session to its end; the text area then.
    QString RunToEnd(std::int64_t limitMs = 600'000)
    {
        EXPECT_TRUE(s->RunUntilIdle(limitMs));
        return t().Sent().Text();
    }

    // Lets the session run for ms, stops it and runs it out; the text area then.
    QString RunAndStop(std::int64_t ms)
    {
        s->RunFor(ms);
        s->trainer().StopButtonClick();
        return RunToEnd();
    }

    bool Idle() const { return !s->trainer().SessionActive() && !s->trainer().CountdownPending(); }

    // The byte length of a character's buffer at the given speed, full effective speed,
    // no weighting, fist or chirp: what the engine must have queued for it.
    static std::uint32_t SlotBytes(const char* text, int wpm, bool joined, int permille = 1000)
    {
        static RandomNumber random(1);
        static RendererState renderer(random);
        const auto& table = LearningOrderTable(LearningOrder::Koch);
        const int position = CharacterMap(LearningOrder::Koch)[static_cast<unsigned char>(text[0])];
        MorseCode code(renderer, table[static_cast<std::size_t>(position)], wpm, 750, permille);
        return static_cast<std::uint32_t>(code.SlotBytes(joined));
    }
    static std::uint32_t WordSpaceBytes(int wpm, int permille = 1000) { return SlotBytes(" ", wpm, false, permille); }

    // The buffer lengths that send a text as the display shows it: " " is a word space
    // (stretched by wordSpacePermille), "^" marks the first character of a joined run
    // that lasts up to the next space.
    static std::vector<std::uint32_t> ExpectedBytes(const QString& shown, int wpm, int wordSpacePermille = 1000)
    {
        std::vector<std::uint32_t> bytes;
        bool joined = false;
        for (const QChar ch : shown) {
            const char c = static_cast<char>(ch.toLatin1());
            if (c == ' ') {
                joined = false;
                bytes.push_back(WordSpaceBytes(wpm, wordSpacePermille));
            } else if (c == '^') {
                joined = true;
            } else {
                const char text[2] = {c, 0};
                bytes.push_back(SlotBytes(text, wpm, joined));
            }
        }
        return bytes;
    }

    std::vector<std::uint32_t> FilledBytes() const
    {
        std::vector<std::uint32_t> bytes;
        for (const Filled& f : filled)
            bytes.push_back(f.bytes);
        return bytes;
    }
};

}  // namespace lumbrel::test
