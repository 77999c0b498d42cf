// Rendering speed of the character renderer under the heaviest everyday load: random
// Koch characters at 25 WPM with every timing and tone effect on and band noise added.
// x_realtime is seconds of audio produced per second of wall time.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "morse/LearningOrders.h"
#include "morse/MorseCode.h"
#include "morse/SampleFormat.h"

namespace {

using lumbrel::MorseCharacter;

// The 40 characters of the Koch order (position 0, the word space, left out).
std::vector<MorseCharacter> KochCharacters() {
    const auto& table = lumbrel::LearningOrderTable(lumbrel::LearningOrder::Koch);
    return {table.begin() + 1, table.end()};
}

void BM_RenderAndCopyKochCharacter(benchmark::State& state) {
    const auto characters = KochCharacters();
    lumbrel::RandomNumber rng(12345);
    lumbrel::RendererState settings(rng);
    settings.SetChirp(true);
    settings.SetStraightKey(true);
    settings.SetVariableWeighting(true);

    // Large enough for the longest slot: 22 units of 19000 values.
    std::vector<std::int16_t> buffer(22 * lumbrel::MorseCode::kStretchCap);
    long long values = 0;
    for (auto _ : state) {
        const auto& record = characters[static_cast<std::size_t>(rng.Next(40))];
        lumbrel::MorseCode code(settings, record, 25, 700, 1000);
        code.CopyOut(buffer.data(), 4000, false, 100);
        values += code.SlotBytes(false) / 2;
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    const double audioSeconds =
        static_cast<double>(values) / lumbrel::audio::kChannels / lumbrel::audio::kFrameRate;
    state.counters["x_realtime"] = benchmark::Counter(audioSeconds, benchmark::Counter::kIsRate);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RenderAndCopyKochCharacter);

}  // namespace
