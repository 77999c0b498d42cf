// Long runs on virtual time: an hour of random groups with every impairment and both
// interfering stations, and ten-megabyte text files played to their end. The heap may
// grow by the text the learner is shown, and by nothing else; once the trainer is gone,
// every byte and every file it held is given back.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>

#include "engine/CharacterSet.h"
#include "session/VirtualSession.h"
#include "settings/SettingsStore.h"

#if defined(__SANITIZE_ADDRESS__)
#define LUMBREL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LUMBREL_ASAN 1
#endif
#endif
#ifdef LUMBREL_ASAN
// From the sanitizer runtime (declared here: not every compiler ships its header).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace lumbrel {
namespace {

// Bytes handed out by the allocator and not yet given back.
std::int64_t HeapInUse() {
#ifdef LUMBREL_ASAN
    return static_cast<std::int64_t>(__sanitizer_get_current_allocated_bytes());
#else
    return static_cast<std::int64_t>(mallinfo2().uordblks);
#endif
}

int OpenFileCount() {
    return static_cast<int>(
        QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

// What the trainer holds for the text it shows: the one thing allowed to grow.
std::int64_t ShownTextBytes(Trainer& trainer) {
    return static_cast<std::int64_t>(trainer.Sent().Text().capacity()) * 2;
}

// Growth of the heap that the shown text does not explain, with room for the
// allocator's own bookkeeping.
constexpr std::int64_t kSlackBytes = 256 * 1024;

class LongSessions : public ::testing::Test {
protected:
    void SetUp() override {
        // A first trainer warms up what Qt and the C++ library keep for the whole run
        // (locale data, the format tables, ...), so it is not counted against a later one.
        SettingsStore warm = SettingsStore::InMemory();
        {
            VirtualSession s(warm, 1);
            s.CreateAndShow();
        }
        baselineHeap_ = HeapInUse();
        baselineFiles_ = OpenFileCount();
    }

    // After the trainer is gone: nothing it allocated or opened is left.
    void ExpectEverythingGivenBack() {
        EXPECT_LT(HeapInUse() - baselineHeap_, kSlackBytes)
            << "bytes still held after the trainer was destroyed";
        EXPECT_EQ(OpenFileCount(), baselineFiles_) << "files still open after the trainer was destroyed";
    }

    static SettingsStore EveryCharacter() {
        SettingsStore store = SettingsStore::InMemory();
        store.Write(keys::Letters, 64);
        WriteFirstCharactersMask(store, 40);
        store.Write(keys::DisplayDelay, 1);  // shown at once
        store.Write(keys::Pause, 1);
        return store;
    }

    std::int64_t baselineHeap_ = 0;
    int baselineFiles_ = 0;
};

TEST_F(LongSessions, AnHourOfRandomGroupsWithEveryImpairmentKeepsMemoryFlat) {
    SettingsStore store = SettingsStore::InMemory();
    store.Write(keys::Letters, 40);
    store.Write(keys::Speed, 2);  // 25 WPM
    store.Write(keys::NoiseLevel, 4);
    store.Write(keys::Qsb, 1);
    store.Write(keys::QsbType, 1);
    store.Write(keys::Chirp, 1);
    store.Write(keys::StraightKey, 1);
    store.Write(keys::StraightKeyFist, 1);
    store.Write(keys::SpeedStep, 1);
    store.Write(keys::PitchDither, 1);
    store.Write(keys::VariableWeighting, 1);
    store.Write(keys::Qrm, 1);
    store.Write(keys::Pause, 1);
    store.Write(keys::Session, 60);
    {
        VirtualSession s(store, 2026, QTime(23, 40), nullptr, /*qrmStations=*/true);
        s.device().KeepPlayedBytes(false);
        s.qrmDevice(0).KeepPlayedBytes(false);
        s.qrmDevice(1).KeepPlayedBytes(false);
        s.CreateAndShow();
        s.trainer().SetSessionLengthMinutes(60);
        s.trainer().Start();

        // Ten minutes in, everything a session needs has been made.
        s.RunFor(10 * 60'000);
        ASSERT_TRUE(s.trainer().SessionActive());
        const std::int64_t heapAtTen = HeapInUse() - ShownTextBytes(s.trainer());
        std::int64_t largest = heapAtTen;
        for (int minute = 15; minute <= 60; minute += 5) {
            s.RunFor(5 * 60'000);
            largest = std::max(largest, HeapInUse() - ShownTextBytes(s.trainer()));
        }
        EXPECT_LT(largest - heapAtTen, kSlackBytes) << "the heap grew by more than the text shown";
        std::printf("heap at 10 min %lld bytes beside the text shown; most growth after %lld bytes\n",
                    static_cast<long long>(heapAtTen - baselineHeap_),
                    static_cast<long long>(largest - heapAtTen));

        // The hour ends by itself, across midnight, and the trainer is idle again.
        ASSERT_TRUE(s.RunUntilIdle(120'000));
        EXPECT_GE(s.clock().ElapsedMs(), 60 * 60'000);
        EXPECT_EQ(s.device().QueuedCount(), 0u);
        EXPECT_EQ(s.qrmDevice(0).QueuedCount(), 0u);
        EXPECT_EQ(s.qrmDevice(1).QueuedCount(), 0u);
        EXPECT_GT(s.trainer().Sent().Text().size(), 60 * 80);  // about 90 characters a minute with the dither
        EXPECT_TRUE(s.Messages().empty());
        s.trainer().Finish();
        EXPECT_TRUE(s.Closed());
    }
    ExpectEverythingGivenBack();
}

// Writes a file of exactly `bytes`: numbered lines, each followed by the filler, as
// many as fit, then blank lines. Returns the number of numbered lines (0 on failure).
int WriteBigText(const QString& path, qint64 bytes, const QByteArray& filler) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    qint64 written = 0;
    int n = 0;
    for (;; ++n) {
        const QByteArray line =
            "qa" + QByteArray::number(n) + " de qb" + QByteArray::number(n) + " k" + filler + '\n';
        if (written + line.size() > bytes)
            break;
        written += file.write(line);
    }
    written += file.write(QByteArray(static_cast<qsizetype>(bytes - written), '\n'));
    return written == bytes ? n : 0;
}

// Plays the text file to its end at 80 WPM; returns the number of lines it found in
// the shown text, in order, with at most maxGap characters between two of them.
int PlayToTheEnd(const QString& path, qsizetype maxGap, std::int64_t limitMs, std::int64_t* largestGrowth) {
    SettingsStore store = SettingsStore::InMemory();
    store.Write(keys::Letters, 64);
    WriteFirstCharactersMask(store, 40);
    store.Write(keys::DisplayDelay, 1);
    store.Write(keys::Pause, 1);
    store.Write(keys::Speed, 13);  // 80 WPM
    VirtualSession s(store, 7);
    s.device().KeepPlayedBytes(false);
    s.CreateAndShow();
    if (!s.trainer().PlayTextFile(path))
        return -1;
    s.RunFor(60'000);
    const std::int64_t start = HeapInUse() - ShownTextBytes(s.trainer());
    *largestGrowth = 0;
    bool idle = false;
    for (std::int64_t ms = 0; ms < limitMs && !idle; ms += 3'600'000) {
        idle = s.RunUntilIdle(3'600'000);
        *largestGrowth = std::max(*largestGrowth, HeapInUse() - ShownTextBytes(s.trainer()) - start);
    }
    if (!idle || !s.Messages().empty())
        return -2;
    std::printf("played %lld s of Morse; the heap grew by %lld bytes beside %lld bytes of text shown\n",
                static_cast<long long>(s.clock().ElapsedMs() / 1000), static_cast<long long>(*largestGrowth),
                static_cast<long long>(ShownTextBytes(s.trainer())));
    // Every line arrived, in order.
    const QString shown = s.trainer().Sent().Text();
    int lines = 0;
    qsizetype at = 0;
    for (;; ++lines) {
        const QString expected = QStringLiteral("qa%1 de qb%1 k").arg(lines);
        const qsizetype found = shown.indexOf(expected, at);
        if (found < 0)
            break;
        if (found - at > maxGap)
            return -3;
        at = found + expected.size();
    }
    return lines;
}

TEST_F(LongSessions, TenMegabytesOfMostlyBlankTextPlayToTheEndAndCloseTheFile) {
    QTemporaryDir dir;
    // Each line is followed by 8 KB of blanks and characters without a code: the
    // whole file is read, in chunks, while an hour or two of Morse is played.
    QByteArray filler(8 * 1024, ' ');
    for (int i = 0; i < filler.size(); i += 97)
        filler[i] = (i / 97) % 2 ? '\t' : '~';
    const QString path = dir.filePath(QStringLiteral("big.txt"));
    const int written = WriteBigText(path, 10LL * 1024 * 1024, filler);
    ASSERT_GT(written, 1000);
    std::int64_t growth = 0;
    EXPECT_EQ(PlayToTheEnd(path, 2, 24LL * 3'600'000, &growth), written);  // the blanks are one word space
    EXPECT_LT(growth, kSlackBytes) << "the heap grew by more than the text shown";
    ExpectEverythingGivenBack();
}

TEST_F(LongSessions, TenMegabytesOfWordsPlayToTheEnd) {
    // About three weeks of Morse at 80 WPM: a quarter of an hour or more of a fast build.
    if (qEnvironmentVariableIntValue("LUMBREL_LONG") == 0)
        GTEST_SKIP() << "set LUMBREL_LONG=1 to play ten megabytes of words";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("words.txt"));
    const QByteArray filler = " the and for";
    const int written = WriteBigText(path, 10LL * 1024 * 1024, filler);
    ASSERT_GT(written, 300'000);
    std::int64_t growth = 0;
    EXPECT_EQ(PlayToTheEnd(path, filler.size() + 2, 30LL * 24 * 3'600'000, &growth), written);
    EXPECT_LT(growth, kSlackBytes) << "the heap grew by more than the text shown";
    ExpectEverythingGivenBack();
}

}  // namespace
}  // namespace lumbrel
