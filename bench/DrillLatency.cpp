// What a drill's reaction time is worth on the sound card: plays "e" at 25 WPM through
// the drills' CharacterPlayer and the trainer's engine on PortAudioDevice, and "presses
// the key" a fixed delay after each heard report (the next character is played then). A recording of the
// output ("analyze") shows, for each character, the silence between the end of its mark
// and the start of the next one; less the scripted delay, that is the heard report's
// lateness against the sound plus the delay from the key to the next sound.
//
// Usage: lumbrel-drill-latency play COUNT DELAY_MS | analyze CAPTURE.raw DELAY_MS
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <thread>
#include <vector>

#include "audio/MessageQueue.h"
#include "audio/PortAudioDevice.h"
#include "morse/LearningOrders.h"
#include "engine/CharacterPlayer.h"
#include "settings/SettingsStore.h"

using namespace lumbrel;

namespace {

std::uint32_t NowTick() {
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

// The trainer's engine on the sound card, as the window opens it (completions by callback).
struct NoListener final : StreamListener {
    void StreamFault(const AudioResult& result, const QString&) override {
        std::fprintf(stderr, "device failure: %s\n", result.Text().c_str());
    }
};

int Play(int count, int delayMs) {
    const MorseCharacter* e = nullptr;
    for (const MorseCharacter& c : LearningOrderTable(LearningOrder::Koch))
        if (c.display.compare(QStringLiteral("e"), Qt::CaseInsensitive) == 0)
            e = &c;
    MessageQueue queue;
    PortAudioDevice device;
    NoListener listener;
    AudioStreamEngine engine(device, queue, listener);
    if (!engine.Open(true).Ok()) {
        std::fprintf(stderr, "cannot open the audio output\n");
        return 2;
    }
    while (device.FramesOutput() < 44100 / 2)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    RandomNumber random(1);
    const SessionOptions options;
    const std::vector<const MorseCharacter*> none;
    const SettingsStore store = SettingsStore::InMemory();
    const SignalRenderer main(random, options, none, store);
    CharacterPlayer player(engine, main, options, store);
    std::optional<std::uint32_t> heard;
    player.heard = [&heard](std::uint32_t tick) {
        heard = tick;
    };
    std::printf("output latency %.1f ms\n", device.OutputLatencySeconds() * 1000.0);
    for (int i = 0; i < count; ++i) {
        const std::uint32_t pressed = NowTick();
        heard.reset();
        if (!player.Play({e}, {.wpm = 25, .pitchHz = 700}))
            return 2;
        // The first message is a primed completion: the character is written then.
        std::optional<std::uint32_t> written;
        while (!heard) {
            const Message m = queue.Take();
            (void)player.TakeMessage(m.message, m.lParam);
            if (!written)
                written = NowTick();
        }
        const std::uint32_t reported = NowTick();
        std::printf("character %d: key %u, written %u, heard tick %u, reported at %u\n", i, pressed, *written,
                    *heard, reported);
        // The learner answers delayMs after the heard end.
        while (static_cast<std::int32_t>(NowTick() - (*heard + static_cast<std::uint32_t>(delayMs))) < 0)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    engine.Close();
    return 0;
}

int Analyze(const char* path, int delayMs) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f)
        return 2;
    std::vector<std::int16_t> left;
    std::int16_t frame[2];
    while (std::fread(frame, sizeof frame, 1, f) == 1)
        left.push_back(frame[0]);
    std::fclose(f);
    // Marks: runs of sound with no silence longer than 2 ms inside.
    std::vector<std::pair<std::size_t, std::size_t>> marks;
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (std::abs(left[i]) < 200)
            continue;
        if (!marks.empty() && i - marks.back().second < 88)
            marks.back().second = i;
        else
            marks.push_back({i, i});
    }
    std::printf("marks found: %zu\n", marks.size());
    double sum = 0, low = 1e9, high = -1e9;
    for (std::size_t k = 0; k + 1 < marks.size(); ++k) {
        const double gapMs = static_cast<double>(marks[k + 1].first - marks[k].second) * 1000.0 / 44100.0;
        const double beyond = gapMs - delayMs;
        sum += beyond;
        low = std::min(low, beyond);
        high = std::max(high, beyond);
    }
    if (marks.size() < 2)
        return 1;
    std::printf(
        "silence after each mark less the %d ms answer delay (heard-report lateness + key to sound): "
        "mean %.1f ms, %.1f to %.1f ms over %zu characters\n",
        delayMs, sum / static_cast<double>(marks.size() - 1), low, high, marks.size() - 1);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "play")
        return Play(std::atoi(argv[2]), std::atoi(argv[3]));
    if (argc == 4 && std::string(argv[1]) == "analyze")
        return Analyze(argv[2], std::atoi(argv[3]));
    std::fprintf(stderr, "usage: %s play COUNT DELAY_MS | analyze CAPTURE.raw DELAY_MS\n", argv[0]);
    return 2;
}
