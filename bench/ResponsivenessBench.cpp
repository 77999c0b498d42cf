// How long the window waits on work that grows with the user's input.
//   BM_HugeTextFileStart: PlayTextFile on a 100 MB text file (it streams from disk, so
//     starting must take a moment, not a read of the whole file).
//   BM_ScoreLongCopy/N: checking a copy of N characters (10,000 and 199,000, the most a
//     text to score may hold) of groups with about 5 % errors of every kind (dropped,
//     added, wrong) in the first; in the second one group of every 1000 dropped, one
//     added and one with a character wrong, which the alignment still takes exactly.
//   BM_WeakCharacterTallies: what a random-group session with "Favour Missed" asks of
//     the history service as it begins (opening the history to read, then the misses),
//     from a history of 1000 checked sessions of 40 characters, 300 recognition drills
//     of 100 answers and 100 callsign runs of 50 calls.
//   BM_DrillSetUp: a recognition drill and a callsign run of missed calls set up from
//     that history, as the Drills window's Start buttons do.
//   BM_ProgressDrills: reading every drill of that history, as Progress does.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <random>

#include "scoring/CopyScore.h"
#include "scoring/HistoryService.h"
#include "session/VirtualSession.h"

using namespace lumbrel;

namespace {

void BM_HugeTextFileStart(benchmark::State& state) {
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
        session.trainer().Stop();
        session.RunUntilIdle(60'000);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_HugeTextFileStart)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ScoreLongCopy(benchmark::State& state) {
    const int characters = static_cast<int>(state.range(0));
    const double errors = characters > 10'000 ? 0.001 : 0.01;
    std::mt19937 rng(11);
    const QString alphabet = QStringLiteral("kmrsuaptlowi.nj");
    std::uniform_int_distribution<int> pick(0, static_cast<int>(alphabet.size()) - 1);
    std::uniform_int_distribution<int> length(1, 9);
    std::uniform_real_distribution<double> chance(0, 1);
    QStringList sent;
    QStringList copied;
    for (int total = 0; total < characters;) {
        QString group;
        for (int n = length(rng); n > 0; --n)
            group += alphabet[pick(rng)];
        total += static_cast<int>(group.size());
        sent << group;
        const double r = chance(rng);
        if (r < errors)
            continue;
        if (r < 2 * errors)
            copied << QStringLiteral("xyz");
        if (chance(rng) < 5 * errors)
            group[0] = QLatin1Char('q');
        copied << group;
    }
    const QString sentText = sent.join(' ');
    const QString copyText = copied.join(' ');
    bool exact = true;
    for (auto _ : state) {
        const CopyScore score = CopyScore::Score(sentText, copyText);
        exact = exact && score.Exact();
        benchmark::DoNotOptimize(score.Accuracy());
    }
    state.counters["exact"] = exact ? 1 : 0;
}
BENCHMARK(BM_ScoreLongCopy)->Arg(10'000)->Arg(199'000)->Unit(benchmark::kMillisecond);

// The long history of the benchmarks below, made once, behind the program's service;
// Qt SQL needs an application.
HistoryService& LongHistory() {
    static int argc = 1;
    static char name[] = "lumbrel-bench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
    static QTemporaryDir dir;
    static HistoryService service(dir.filePath(QStringLiteral("history.sqlite")));
    static const bool made = [] {
        History* history = service.Open(HistoryService::Use::Write);
        if (!history)
            return false;
        const QString characters = QStringLiteral("kmrsuaptlowi.njef0yv,g5/q9zh38b?427c1d6x");
        const QDateTime start(QDate(2023, 1, 1), QTime(12, 0));
        for (int i = 0; i < 1000; ++i) {
            SessionRecord r;
            r.ended = start.addSecs(i * 3600);
            r.source = QStringLiteral("groups");
            r.order = QStringLiteral("koch");
            for (const QChar c : characters)
                r.characters.push_back({QString(c), 25, i % 3, i % 2, 0});
            history->Add(r);
        }
        for (int i = 0; i < 300; ++i) {
            DrillRecord d;
            d.ended = start.addSecs(i * 3600 + 60);
            for (int k = 0; k < 100; ++k) {
                const QString c = characters.at(k % characters.size());
                d.answers.push_back({c, k % 7 != 0 ? c : QStringLiteral("e"), 300 + 7 * k});
            }
            history->AddDrill(d);
        }
        for (int i = 0; i < 100; ++i) {
            DrillRecord d;
            d.kind = DrillKind::Callsigns;
            d.ended = start.addSecs(i * 3600 + 120);
            for (int k = 0; k < 50; ++k)
                d.calls.push_back({QStringLiteral("DL/K1ABC/P"), QStringLiteral("dl/k1adc/p"), 25, false, 0});
            history->AddDrill(d);
        }
        return true;
    }();
    (void)made;
    return service;
}

void BM_WeakCharacterTallies(benchmark::State& state) {
    SettingsStore store = SettingsStore::InMemory();
    store.Write(keys::FavourMissed, 1);
    const auto favoured = LongHistory().FavouredMissesSource(store);
    for (auto _ : state)
        benchmark::DoNotOptimize(favoured().size());
}
BENCHMARK(BM_WeakCharacterTallies)->Unit(benchmark::kMillisecond);

void BM_DrillSetUp(benchmark::State& state) {
    HistoryService& service = LongHistory();
    const QStringList characters = QStringLiteral("k m r s u a p t l o w i").split(QLatin1Char(' '));
    for (auto _ : state) {
        benchmark::DoNotOptimize(service.SetUpRecognition(characters, {}, 1).drill->Weights());
        benchmark::DoNotOptimize(service.SetUpCallsignRun({}, 1, true, {}).run->Call());
    }
}
BENCHMARK(BM_DrillSetUp)->Unit(benchmark::kMillisecond);

void BM_ProgressDrills(benchmark::State& state) {
    History& history = *LongHistory().Open(HistoryService::Use::Read);
    for (auto _ : state) {
        benchmark::DoNotOptimize(history.Drills(DrillKind::Recognition).size());
        benchmark::DoNotOptimize(history.Drills(DrillKind::Callsigns).size());
    }
}
BENCHMARK(BM_ProgressDrills)->Unit(benchmark::kMillisecond);

}  // namespace
