// The trainer's buffer-done handler and a whole offline session.
//   BM_OnBufferDoneEveryImpairment: one handler run (render, copy, queue) at 80 WPM
//     with noise, fading, dither, chirp, straight key and weighting on; reports the
//     median and 99th percentile of single runs in microseconds.
//   BM_FiveMinuteSession: a five-minute random-group session on the virtual device, as
//     lumbrel-render --groups runs it (without the file); x_realtime is audio seconds
//     per wall second.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "session/VirtualSession.h"

using namespace lumbrel;

namespace {

SettingsStore BusyStore(int speedIndex) {
    SettingsStore store = SettingsStore::InMemory();
    store.Write(keys::Speed, speedIndex);
    store.Write(keys::Pause, 0);
    store.Write(keys::Letters, 40);
    store.Write(keys::NoiseLevel, 4);
    store.Write(keys::SignalLevel, 5);
    store.Write(keys::Qsb, 1);
    store.Write(keys::QsbType, 1);
    store.Write(keys::SpeedStep, 1);
    store.Write(keys::SpeedDitherSize, 1);
    store.Write(keys::PitchDither, 1);
    store.Write(keys::StraightKey, 1);
    store.Write(keys::StraightKeyFist, 1);
    store.Write(keys::VariableWeighting, 1);
    store.Write(keys::Chirp, 1);
    store.Write(keys::Session, 60);
    store.Write(keys::Callback, 1);  // the device posts the buffer-done message itself
    return store;
}

void BM_OnBufferDoneEveryImpairment(benchmark::State& state) {
    VirtualSession session(BusyStore(13), 42);  // 80 WPM
    session.device().KeepPlayedBytes(false);
    session.CreateAndShow();
    session.trainer().OptionChosen(Option::Chirp);
    session.trainer().Start();
    session.Pump();

    std::vector<double> micros;
    micros.reserve(1 << 16);
    for (auto _ : state) {
        state.PauseTiming();
        // Let the next buffer come home; timer ticks on the way are handled untimed.
        std::optional<Message> done;
        while (!done) {
            while (session.queue().Empty())
                session.clock().AdvanceToNextDue();
            auto m = session.queue().TryTake();
            if (m->message == kBufferDoneMessage)
                done = m;
            else if (m->message == VirtualSession::kTimerMessage)
                session.trainer().TimerTick();
            else
                session.trainer().HandleMessage(m->message, m->wParam, m->lParam);
        }
        state.ResumeTiming();
        const auto begin = std::chrono::steady_clock::now();
        session.trainer().HandleMessage(done->message, done->wParam, done->lParam);
        const auto end = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - begin).count());
    }
    std::sort(micros.begin(), micros.end());
    if (!micros.empty()) {
        state.counters["median_us"] = micros[micros.size() / 2];
        state.counters["p99_us"] = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
        state.counters["max_us"] = micros.back();
    }
}
BENCHMARK(BM_OnBufferDoneEveryImpairment)->Iterations(3000)->Unit(benchmark::kMicrosecond);

void BM_FiveMinuteSession(benchmark::State& state) {
    double audioSeconds = 0;
    for (auto _ : state) {
        SettingsStore store = SettingsStore::InMemory();
        store.Write(keys::Session, 5);
        store.Write(keys::Letters, 10);
        VirtualSession session(store, 7);
        session.device().KeepPlayedBytes(false);
        std::size_t bytes = 0;
        session.device().SetPlaySink([&](const std::uint8_t*, std::size_t n) { bytes += n; });
        session.CreateAndShow();
        session.trainer().Start();
        session.RunUntilIdle(10 * 60 * 1000);
        audioSeconds += static_cast<double>(bytes) / 176400.0;
    }
    state.counters["x_realtime"] = benchmark::Counter(audioSeconds, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FiveMinuteSession)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
