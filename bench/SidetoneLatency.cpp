// Key to sidetone on the sound card: the trainer's PortAudio device opened as the
// sending window opens it (the lowest latency granted), the sending sound mixed into
// it, and a straight key pressed COUNT times at known moments of the steady clock.
// Each press is measured twice:
//   dac      the first frame of tone in the callback's output, at the device's DAC time
//            (the callback's heard time plus the frame's offset);
//   monitor  the first frame of tone in the sound server's monitor of the output,
//            recorded by an input stream at its ADC time (the default source, which
//            bench/sidetone_latency.sh sets to the monitor).
// Both clocks are CLOCK_MONOTONIC. Prints one line each and, last,
// "key-to-sound median N ms p99 M ms" of the monitor (of dac when nothing was recorded).
//
// Usage: lumbrel-sidetone-latency [COUNT]
#include <portaudio.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

#include "audio/PortAudioDevice.h"
#include "sending/SendingSound.h"

using namespace lumbrel;

namespace {

constexpr int kMaxPresses = 2000;

// Watches the output for the first frame of each tone.
struct Probe final : LiveSound {
    SendingSound sound;
    std::atomic<std::int64_t> keyUs{0};  // the press awaited; 0 when none
    std::array<double, kMaxPresses> dacMs{};
    std::atomic<int> found{0};

    void Mix(std::int16_t* out, std::uint32_t frames, std::uint64_t first, std::int64_t nowUs,
             std::int64_t heardUs) noexcept override {
        sound.Mix(out, frames, first, nowUs, heardUs);
        const std::int64_t key = keyUs.load(std::memory_order_acquire);
        if (key == 0)
            return;
        for (std::uint32_t i = 0; i < frames; ++i) {
            if (out[2 * i] != 0) {
                const int n = found.load(std::memory_order_relaxed);
                if (n < kMaxPresses)
                    dacMs[static_cast<std::size_t>(n)] =
                        static_cast<double>(heardUs - key) / 1000.0 + (i - 1.0) * 1000.0 / 44100.0;
                found.store(n + 1, std::memory_order_release);
                keyUs.store(0, std::memory_order_release);
                return;
            }
        }
    }
};

// The monitor: the first frame of each tone after the press, at its ADC time.
struct Monitor {
    std::atomic<std::int64_t> keyUs{0};
    std::array<double, kMaxPresses> ms{};
    std::atomic<int> found{0};
    bool sounding = false;

    static int Callback(const void* input, void*, unsigned long frames, const PaStreamCallbackTimeInfo* time,
                        PaStreamCallbackFlags, void* self) {
        auto& m = *static_cast<Monitor*>(self);
        const auto* in = static_cast<const std::int16_t*>(input);
        const std::int64_t key = m.keyUs.load(std::memory_order_acquire);
        const std::int64_t nowUs = SteadyMicroseconds();
        for (unsigned long i = 0; i < frames && in != nullptr; ++i) {
            const bool loud = std::abs(int{in[2 * i]}) > 0;
            if (loud && !m.sounding && key != 0) {
                // Stream time is not the steady clock: the ADC time as an age from now.
                const double at = static_cast<double>(nowUs) / 1e6 +
                                  (time->inputBufferAdcTime - time->currentTime) +
                                  (static_cast<double>(i) - 1.0) / 44100.0;
                const int n = m.found.load(std::memory_order_relaxed);
                if (n < kMaxPresses)
                    m.ms[static_cast<std::size_t>(n)] = (at - static_cast<double>(key) / 1e6) * 1000.0;
                m.found.store(n + 1, std::memory_order_release);
                m.keyUs.store(0, std::memory_order_release);
            }
            m.sounding = loud;
        }
        return paContinue;
    }
};

void Print(const char* what, std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const double median = v[v.size() / 2];
    const double p99 = v[std::min(v.size() - 1, v.size() * 99 / 100)];
    std::printf("%s median %.1f ms p99 %.1f ms (min %.1f, max %.1f, %zu presses)\n", what, median, p99,
                v.front(), v.back(), v.size());
}

}  // namespace

int main(int argc, char** argv) {
    const int count = std::clamp(argc > 1 ? std::atoi(argv[1]) : 100, 1, kMaxPresses);
    PortAudioDevice device;
    (void)device.UseLowestLatency(true);
    if (!device.Open(kTrainerAudioFormat, AudioNotification::ToCallback([](AudioBufferHeader*) {})).Ok()) {
        std::fprintf(stderr, "cannot open the audio output\n");
        return 2;
    }
    std::printf("output latency %.1f ms\n", device.OutputLatencySeconds() * 1000.0);
    auto probe = std::make_unique<Probe>();
    SendingSound::Settings settings;
    settings.keyer.mode = KeyerMode::Straight;
    probe->sound.SetSettings(settings);
    device.AttachLiveSound(probe.get());

    // The monitor, on the default input (PortAudio is initialised by the device).
    auto monitor = std::make_unique<Monitor>();
    PaStream* input = nullptr;
    PaStreamParameters in{};
    in.device = Pa_GetDefaultInputDevice();
    if (in.device != paNoDevice) {
        in.channelCount = 2;
        in.sampleFormat = paInt16;
        in.suggestedLatency = Pa_GetDeviceInfo(in.device)->defaultLowInputLatency;
        if (Pa_OpenStream(&input, &in, nullptr, 44100, paFramesPerBufferUnspecified, paClipOff,
                          &Monitor::Callback, monitor.get()) != paNoError ||
            Pa_StartStream(input) != paNoError)
            input = nullptr;
    }
    // The sound server starts pulling a new stream only after a while: the presses
    // begin once half a second has played.
    while (device.FramesOutput() < 44100 / 2)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));

    std::mt19937 random(7);
    std::uniform_int_distribution<int> pause(120, 220);
    for (int i = 0; i < count; ++i) {
        const std::int64_t at = SteadyMicroseconds();
        probe->keyUs.store(at);
        monitor->keyUs.store(at);
        (void)probe->sound.Events().Push({KeyContact::Straight, true, at});
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
        (void)probe->sound.Events().Push({KeyContact::Straight, false, SteadyMicroseconds()});
        std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    device.AttachLiveSound(nullptr);
    if (input != nullptr) {
        Pa_StopStream(input);
        Pa_CloseStream(input);
    }
    (void)device.Close();

    int marks = 0;
    SentMark mark;
    while (probe->sound.TakeMark(mark))
        ++marks;
    std::printf("%d presses, %d marks made\n", count, marks);
    const int dacFound = std::min(probe->found.load(), kMaxPresses);
    const int monitorFound = std::min(monitor->found.load(), kMaxPresses);
    if (dacFound == 0) {
        std::fprintf(stderr, "no tone was rendered\n");
        return 1;
    }
    const std::vector<double> dac(probe->dacMs.begin(), probe->dacMs.begin() + dacFound);
    Print("dac", dac);
    // A tone cannot be heard before its key: such a time is the input's first report,
    // which lags the monitor; it is left out and counted.
    std::vector<double> heard;
    for (int i = 0; i < monitorFound; ++i) {
        if (monitor->ms[static_cast<std::size_t>(i)] >= 0)
            heard.push_back(monitor->ms[static_cast<std::size_t>(i)]);
    }
    if (heard.size() < static_cast<std::size_t>(monitorFound))
        std::printf("monitor: %zu presses left out (heard before the key)\n", monitorFound - heard.size());
    if (!heard.empty()) {
        Print("monitor", heard);
        const auto median = [](std::vector<double> v) {
            std::sort(v.begin(), v.end());
            return std::pair{v[v.size() / 2], v[std::min(v.size() - 1, v.size() * 99 / 100)]};
        };
        const auto [m, p] = median(heard);
        std::printf("key-to-sound median %.0f ms p99 %.0f ms\n", m, p);
    } else {
        std::vector<double> v = dac;
        std::sort(v.begin(), v.end());
        std::printf("key-to-sound median %.0f ms p99 %.0f ms\n", v[v.size() / 2],
                    v[std::min(v.size() - 1, v.size() * 99 / 100)]);
    }
    return 0;
}
