#include "tests/fuzz/FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

#include "engine/CharacterSet.h"

namespace lumbrel::fuzz {

void Fail(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "\n==== Property broken: %s\n     at %s:%d\n", condition, file, line);
    std::fflush(stderr);
    std::abort();
}

const QString& DataFolder() {
    // Removed by its destructor at exit; the targets never remove it themselves.
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/lumbrel-fuzz-XXXXXX"));
    static const QString path = dir.path();
    FUZZ_CHECK(dir.isValid());
    return path;
}

QString WriteDataFile(const QString& relative, QByteArrayView bytes) {
    const QString path = DataFolder() + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes.data(), bytes.size()) == bytes.size());
    return path;
}

std::uint32_t InputHash(QByteArrayView bytes) {
    // FNV-1a: cheap and spreads one changed byte over every bit.
    std::uint32_t h = 2166136261u;
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 16777619u;
    }
    return h;
}

SettingsStore EveryCharacterStore() {
    SettingsStore store = SettingsStore::InMemory();
    store.Write(keys::Letters, 64);
    WriteFirstCharactersMask(store, 64);
    store.Write(keys::DisplayDelay, 1);  // delay 0: the text shows as it is sent
    store.Write(keys::Session, 1);
    return store;
}

void VarySignal(SettingsStore& store, std::uint32_t h) {
    // Mostly fast speeds at full effective speed: a character's rendering costs time in
    // proportion to its length, and the slow ones only need to come up now and then.
    const bool slow = (h & 3) == 0;
    store.Write(keys::Speed, static_cast<int>(slow ? (h >> 2) % 10 : 10 + (h >> 2) % 4));
    store.Write(keys::Delay, static_cast<int>((h >> 4) % 4 == 0 ? (h >> 6) % 8 : 0));
    store.Write(keys::EffectiveMode, static_cast<int>((h >> 9) & 1));
    store.Write(keys::SpeedStep, static_cast<int>((h >> 10) & 1));
    store.Write(keys::PitchDither, static_cast<int>((h >> 11) & 1));
    store.Write(keys::Chirp, static_cast<int>((h >> 12) & 1));
    store.Write(keys::VariableWeighting, static_cast<int>((h >> 13) & 1));
    store.Write(keys::StraightKey, static_cast<int>((h >> 14) & 1));
    store.Write(keys::StraightKeyFist, static_cast<int>((h >> 15) & 1));
    store.Write(keys::NoiseLevel, static_cast<int>((h >> 16) % 5));
    store.Write(keys::Qsb, static_cast<int>((h >> 19) & 1));
    store.Write(keys::SpeedDitherSize, static_cast<int>((h >> 20) & 1));
}

Session::Session(SettingsStore store, std::uint32_t seed)
    : session_(std::make_unique<VirtualSession>(std::move(store), seed)) {
    session_->device().KeepPlayedBytes(false);
    session_->CreateAndShow();
    session_->trainer().SetProgramFolder(DataFolder());
}

bool Session::Idle() const {
    return !session_->trainer().SessionActive() && !session_->trainer().CountdownPending();
}

void Session::CheckNoMessages() const {
    for (const VirtualSession::Shown& shown : session_->Messages())
        std::fprintf(stderr, "Message box \"%s\": %s\n", qPrintable(shown.caption), qPrintable(shown.text));
    FUZZ_CHECK(session_->Messages().empty());
}

int Session::BuffersWritten() const {
    return session_->device().CallCount(VirtualAudioDevice::Call::Write);
}

void Session::RunBounded(int maxBuffers, std::int64_t limitMs) {
    const int end = BuffersWritten() + maxBuffers;
    session_->RunUntil([&] { return Idle() || BuffersWritten() >= end; }, limitMs);
    if (!Idle())
        session_->trainer().Stop();
    // At most the buffers in flight still play: a few of at most 12.5 s each.
    FUZZ_CHECK(session_->RunUntilIdle(120'000));
    FUZZ_CHECK(session_->device().QueuedCount() == 0);
    FUZZ_CHECK(session_->trainer().Engine().InFlight() == 0);
}

}  // namespace lumbrel::fuzz
