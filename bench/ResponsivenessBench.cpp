// How long the window waits on work that grows with the user's input.
//   BM_HugeTextFileStart: PlayTextFile on a 100 MB text file (it streams from disk, so
//     starting must take a moment, not a read of the whole file).
//   BM_ScoreLongCopy: checking a copy of 10,000 characters of groups with about 5 %
//     errors of every kind (dropped, added, wrong).
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <random>

#include "scoring/CopyScore.h"
#include "session/VirtualSession.h"

using namespace lumbrel;

namespace {

void BM_HugeTextFileStart(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.txt"));
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        const QByteArray block = QByteArray("cq cq de qa1abc qa1abc k\n").repeated(40'000);
        while (file.size() < 100LL * 1024 * 1024)
            file.write(block);
    }
    SettingsStore store = SettingsStore::InMemory();
    store.Write(keys::Letters, 40);
    VirtualSession session(store, 1);
    session.device().KeepPlayedBytes(false);
    session.trainer().SetProgramFolder(dir.path());
    session.CreateAndShow();
    for (auto _ : state) {
        session.trainer().PlayTextFile(path);
        state.PauseTiming();
        session.trainer().StopButtonClick();
        session.RunUntilIdle(60'000);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_HugeTextFileStart)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ScoreLongCopy(benchmark::State& state)
{
    std::mt19937 rng(11);
    const QString alphabet = QStringLiteral("kmrsuaptlowi.nj");
    std::uniform_int_distribution<int> pick(0, static_cast<int>(alphabet.size()) - 1);
    std::uniform_int_distribution<int> length(1, 9);
    std::uniform_real_distribution<double> chance(0, 1);
    QStringList sent;
    QStringList copied;
    for (int total = 0; total < 10'000;) {
        QString group;
        for (int n = length(rng); n > 0; --n)
            group += alphabet[pick(rng)];
        total += static_cast<int>(group.size());
        sent << group;
        const double r = chance(rng);
        if (r < 0.01)
            continue;
        if (r < 0.02)
            copied << QStringLiteral("xyz");
        if (chance(rng) < 0.05)
            group[0] = QLatin1Char('q');
        copied << group;
    }
    const QString sentText = sent.join(' ');
    const QString copyText = copied.join(' ');
    for (auto _ : state)
        benchmark::DoNotOptimize(CopyScore::Score(sentText, copyText).Accuracy());
}
BENCHMARK(BM_ScoreLongCopy)->Unit(benchmark::kMillisecond);

}  // namespace
