// Real-audio check of PortAudioDevice, in two modes:
//
//   lumbrel-play-bursts play [--window] [--latency-ms N]
//       Plays a fixed sequence of buffers on the default output, two in flight as the
//       session engine keeps them, and checks the completions: in queue order, none
//       before its last frame could have been heard, spaced like the buffers.
//       --window: reports as kWaveOutDoneMessage instead of through a callback;
//       --latency-ms: the device's suggested latency instead of its default.
//
//   lumbrel-play-bursts analyze CAPTURE.raw
//       Reads a recording of that playback (s16le, 2 channels, 44100 Hz) and checks
//       that every mark and gap has its rendered length within 5 ms, that no gap
//       (dropout) or click (a step larger than the tone allows) appears, and reports how
//       many frames came through bit for bit.
//
// The sequence: an empty buffer; 20 buffers of 100 to 154 ms, each holding a mark (a
// 700 Hz sine, amplitude 16000, with 80-frame linear ramps) and then silence, lengths
// all different; then a tone that runs across three buffer boundaries without a ramp,
// so that a gap or a slip between buffers would show as a dropout or a jump; then two
// more marks.
//
// Exit codes: 0 passed, 1 failed, 2 usage or set-up error.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "audio/AudioDevice.h"
#include "audio/MessageQueue.h"
#include "audio/Messages.h"
#include "audio/PortAudioDevice.h"

namespace {

using namespace lumbrel;

constexpr int kRate = 44100;
constexpr double kToneHz = 700.0;
constexpr double kAmplitude = 16000.0;
constexpr int kRampFrames = 80;
constexpr int kToleranceFrames = kRate * 5 / 1000;  // 5 ms
constexpr int kMergeZeroFrames = 8;                 // zero runs this short lie inside a tone
constexpr double kPi = 3.14159265358979323846;

// ---------------------------------------------------------------- the sequence

struct Plan {
    std::vector<std::vector<std::int16_t>> buffers;  // interleaved stereo values
    std::vector<std::int16_t> stream;                // left channel of all buffers back to back
    std::vector<std::size_t> boundaries;             // stream frame where each buffer starts
};

class PlanBuilder {
public:
    // Starts a new buffer.
    void Begin() {
        plan_.boundaries.push_back(plan_.stream.size());
        plan_.buffers.emplace_back();
    }
    // Appends `frames` frames of tone. The phase follows the stream position, so a
    // tone continued in the next buffer joins without a step. Ramps are 80 frames.
    void Tone(int frames, bool rampUp, bool rampDown) {
        for (int i = 0; i < frames; ++i) {
            double envelope = 1.0;
            if (rampUp && i < kRampFrames) {
                envelope = static_cast<double>(i) / kRampFrames;
            }
            if (rampDown && frames - 1 - i < kRampFrames) {
                envelope = std::min(envelope, static_cast<double>(frames - 1 - i) / kRampFrames);
            }
            const double phase = 2.0 * kPi * kToneHz * static_cast<double>(plan_.stream.size()) / kRate;
            Put(static_cast<std::int16_t>(std::lround(kAmplitude * envelope * std::sin(phase))));
        }
    }
    void Silence(int frames) {
        for (int i = 0; i < frames; ++i) {
            Put(0);
        }
    }
    Plan Take() { return std::move(plan_); }

private:
    void Put(std::int16_t value) {
        plan_.buffers.back().push_back(value);
        plan_.buffers.back().push_back(value);
        plan_.stream.push_back(value);
    }

    Plan plan_;
};

Plan MakePlan() {
    PlanBuilder b;
    // An empty buffer first: it is reported as soon as it is taken. (Inside the
    // sequence it would hold one of the two places in flight, and the next buffer would
    // arrive late by a whole output latency.)
    b.Begin();
    for (int k = 0; k < 20; ++k) {
        b.Begin();
        b.Tone(1323 + 199 * k, true, true);  // 30 ms to 116 ms
        b.Silence(3087 - 73 * k);            // 70 ms to 38.5 ms
    }
    // One tone across buffer boundaries.
    b.Begin();
    b.Silence(4410);
    b.Tone(3001, true, false);
    b.Begin();
    b.Tone(6617, false, false);
    // 2646 frames: the shortest slot the trainer queues outside a prosign ("e" at
    // 80 WPM). A buffer shorter than the output latency cannot arrive in time with
    // only two in flight.
    b.Begin();
    b.Tone(2646, false, false);
    b.Begin();
    b.Tone(2503, false, true);
    b.Silence(4410);
    for (int k = 0; k < 2; ++k) {
        b.Begin();
        b.Tone(3307 + 1000 * k, true, true);
        b.Silence(5000);
    }
    return b.Take();
}

// ---------------------------------------------------------------- analysis helpers

struct Segment {
    std::size_t start = 0;  // first non-zero frame
    std::size_t end = 0;    // one past the last non-zero frame
};

// The marks of `x`: runs of non-zero values, joined across zero runs of at most
// kMergeZeroFrames (where the sine crosses zero).
std::vector<Segment> FindMarks(const std::vector<std::int16_t>& x) {
    std::vector<Segment> marks;
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (x[i] == 0) {
            continue;
        }
        if (!marks.empty() && i - marks.back().end <= kMergeZeroFrames) {
            marks.back().end = i + 1;
        } else {
            marks.push_back(Segment{i, i + 1});
        }
    }
    return marks;
}

int MaxStep(const std::vector<std::int16_t>& x, std::size_t from, std::size_t to) {
    int step = 0;
    for (std::size_t i = std::max<std::size_t>(from, 1); i < to && i < x.size(); ++i) {
        step = std::max(step, std::abs(x[i] - x[i - 1]));
    }
    return step;
}

double Ms(double frames) {
    return frames * 1000.0 / kRate;
}

// ---------------------------------------------------------------- analyze

int Analyze(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path);
        return 2;
    }
    const std::vector<char> raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::int16_t> left;
    std::size_t channelMismatches = 0;
    for (std::size_t i = 0; i + 3 < raw.size(); i += 4) {
        const auto l = static_cast<std::int16_t>(static_cast<std::uint8_t>(raw[i]) |
                                                 (static_cast<std::uint8_t>(raw[i + 1]) << 8));
        const auto r = static_cast<std::int16_t>(static_cast<std::uint8_t>(raw[i + 2]) |
                                                 (static_cast<std::uint8_t>(raw[i + 3]) << 8));
        left.push_back(l);
        channelMismatches += l != r ? 1 : 0;
    }
    const Plan plan = MakePlan();
    const std::vector<Segment> expected = FindMarks(plan.stream);
    const std::vector<Segment> captured = FindMarks(left);
    std::printf("capture: %zu frames (%.0f ms); marks expected %zu, found %zu\n", left.size(),
                Ms(static_cast<double>(left.size())), expected.size(), captured.size());

    bool ok = true;
    if (channelMismatches > 0) {
        std::printf("FAIL: left and right differ in %zu frames\n", channelMismatches);
        ok = false;
    }
    if (captured.size() != expected.size()) {
        std::printf("FAIL: mark count differs (a dropout splits a mark, a lost buffer drops marks)\n");
        for (std::size_t i = 0; i < captured.size() && i < 40; ++i) {
            std::printf("  captured mark %zu: at %.1f ms, %.1f ms long\n", i,
                        Ms(static_cast<double>(captured[i].start - captured[0].start)),
                        Ms(static_cast<double>(captured[i].end - captured[i].start)));
        }
        return 1;
    }
    if (captured.empty()) {
        std::printf("FAIL: nothing was recorded\n");
        return 1;
    }

    // Lengths of marks and gaps, and positions relative to the first mark.
    const std::size_t e0 = expected[0].start;
    const std::size_t c0 = captured[0].start;
    long worstMark = 0;
    long worstGap = 0;
    long worstPosition = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const long markError = static_cast<long>(captured[i].end - captured[i].start) -
                               static_cast<long>(expected[i].end - expected[i].start);
        const long positionError =
            static_cast<long>(captured[i].start - c0) - static_cast<long>(expected[i].start - e0);
        worstMark = std::max(worstMark, std::labs(markError));
        worstPosition = std::max(worstPosition, std::labs(positionError));
        if (std::labs(markError) > kToleranceFrames) {
            std::printf("FAIL: mark %zu is %ld frames off its length of %zu\n", i, markError,
                        expected[i].end - expected[i].start);
            ok = false;
        }
        if (i > 0) {
            const long gapError = static_cast<long>(captured[i].start - captured[i - 1].end) -
                                  static_cast<long>(expected[i].start - expected[i - 1].end);
            worstGap = std::max(worstGap, std::labs(gapError));
            if (std::labs(gapError) > kToleranceFrames) {
                std::printf("FAIL: gap before mark %zu is %ld frames off its length of %zu\n", i, gapError,
                            expected[i].start - expected[i - 1].end);
                ok = false;
            }
        }
    }
    std::printf(
        "worst error: mark length %ld frames (%.2f ms), gap length %ld frames (%.2f ms), "
        "position %ld frames (%.2f ms); limit %.1f ms\n",
        worstMark, Ms(static_cast<double>(worstMark)), worstGap, Ms(static_cast<double>(worstGap)),
        worstPosition, Ms(static_cast<double>(worstPosition)), Ms(kToleranceFrames));

    // Clicks: no step inside a captured mark larger than the rendered stream has.
    const int allowedStep = MaxStep(plan.stream, 0, plan.stream.size()) + 64;
    int worstStep = 0;
    for (const Segment& mark : captured) {
        worstStep = std::max(worstStep, MaxStep(left, mark.start, mark.end));
    }
    std::printf("largest step inside marks: %d (rendered tone: %d)\n", worstStep, allowedStep - 64);
    if (worstStep > allowedStep) {
        std::printf("FAIL: a click: step %d exceeds %d\n", worstStep, allowedStep);
        ok = false;
    }

    // Buffer boundaries that fall inside a tone: no zero and no jump around them.
    int boundariesInTone = 0;
    for (const std::size_t boundary : plan.boundaries) {
        if (boundary == 0 || boundary >= plan.stream.size() || plan.stream[boundary] == 0 ||
            plan.stream[boundary - 1] == 0) {
            continue;
        }
        ++boundariesInTone;
        const std::size_t at = c0 + (boundary - e0);
        if (at < 3 || at + 3 >= left.size()) {
            std::printf("FAIL: boundary at stream frame %zu lies outside the capture\n", boundary);
            ok = false;
            continue;
        }
        int zeros = 0;
        for (std::size_t i = at - 3; i < at + 3; ++i) {
            zeros += left[i] == 0 ? 1 : 0;
        }
        const int step = MaxStep(left, at - 3, at + 3);
        std::printf("boundary inside tone at stream frame %zu: largest step %d, zero frames %d\n", boundary,
                    step, zeros);
        if (zeros > 1 || step > allowedStep) {
            std::printf("FAIL: gap or click at a buffer boundary\n");
            ok = false;
        }
    }
    if (boundariesInTone < 3) {
        std::printf("FAIL: expected at least 3 boundaries inside a tone, found %d\n", boundariesInTone);
        ok = false;
    }

    // Bit-exactness, for information: the sound server may scale or resample.
    std::size_t exact = 0;
    const std::size_t span = plan.stream.size() - e0;
    for (std::size_t i = 0; i < span && c0 + i < left.size(); ++i) {
        exact += left[c0 + i] == plan.stream[e0 + i] ? 1 : 0;
    }
    std::printf("frames identical to the rendered stream: %zu of %zu\n", exact, span);
    std::printf(ok ? "analysis passed\n" : "analysis FAILED\n");
    return ok ? 0 : 1;
}

// ---------------------------------------------------------------- play

std::int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int Play(bool windowMode, double latencySeconds) {
    Plan plan = MakePlan();
    const std::size_t count = plan.buffers.size();
    MessageQueue queue;
    std::vector<std::int64_t> doneNs(count, 0);
    PortAudioDevice device(latencySeconds);
    const AudioNotification route =
        windowMode ? AudioNotification::ToWindow(queue)
                   : AudioNotification::ToCallback([&queue, &doneNs](AudioBufferHeader* header) {
                         doneNs[static_cast<std::size_t>(header->user)] = NowNs();
                         queue.PostMessage(kBufferDoneMessage, 0, reinterpret_cast<std::intptr_t>(header));
                     });
    const AudioResult opened = device.Open(kTrainerAudioFormat, route);
    if (!opened) {
        std::fprintf(stderr, "cannot open the audio output: %s\n", opened.Text().c_str());
        return 2;
    }
    const double latency = device.OutputLatencySeconds();
    std::printf("mode %s, output latency %.1f ms, %zu buffers\n", windowMode ? "window" : "callback",
                latency * 1000.0, count);

    // Let the stream run for a moment first: a sound server may take a while to start
    // pulling a new stream, and the first buffers should not wait in front of that.
    const std::int64_t startWait = NowNs();
    while (device.FramesOutput() < static_cast<std::uint64_t>(kRate / 4)) {
        if (NowNs() - startWait > 5'000'000'000) {
            std::fprintf(stderr, "the output stream does not run\n");
            return 2;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }

    // Four headers used in turn, two buffers in flight.
    std::vector<AudioBufferHeader> headers(4);
    std::vector<std::int64_t> writtenNs(count, 0);
    std::size_t nextToWrite = 0;
    bool ok = true;
    auto writeNext = [&] {
        AudioBufferHeader& h = headers[nextToWrite % headers.size()];
        if (!device.UnprepareHeader(h)) {
            ok = false;
        }
        std::vector<std::int16_t>& data = plan.buffers[nextToWrite];
        h.data = data.data();
        h.length = static_cast<std::uint32_t>(data.size() * sizeof(std::int16_t));
        h.user = static_cast<std::intptr_t>(nextToWrite);
        const AudioResult prepared = device.PrepareHeader(h);
        writtenNs[nextToWrite] = NowNs();
        const AudioResult written = device.Write(h);
        if (!prepared || !written) {
            std::printf("FAIL: buffer %zu not queued: %s\n", nextToWrite,
                        (prepared ? written : prepared).Text().c_str());
            ok = false;
        }
        ++nextToWrite;
    };
    writeNext();
    writeNext();

    std::size_t expectedIndex = 0;
    while (expectedIndex < count) {
        const std::optional<Message> m = queue.TakeFor(std::chrono::seconds(5));
        if (!m) {
            std::printf("FAIL: no completion for buffer %zu within 5 s\n", expectedIndex);
            return 1;
        }
        const auto* header = reinterpret_cast<const AudioBufferHeader*>(m->lParam);
        const auto index = static_cast<std::size_t>(header->user);
        if (windowMode) {
            doneNs[index] = NowNs();
            if (m->message != kWaveOutDoneMessage || m->wParam != device.Handle()) {
                std::printf("FAIL: unexpected message %d\n", m->message);
                ok = false;
            }
        }
        if (index != expectedIndex) {
            std::printf("FAIL: completion of buffer %zu arrived where %zu was due\n", index, expectedIndex);
            ok = false;
        }
        if (!header->IsDone() || header->IsQueued()) {
            std::printf("FAIL: buffer %zu reported without its done flag\n", index);
            ok = false;
        }
        ++expectedIndex;
        if (nextToWrite < count) {
            writeNext();
        }
    }
    const std::uint64_t underflows = device.UnderflowCount();
    const AudioResult closed = device.Close();
    if (!closed) {
        std::printf("FAIL: close: %s\n", closed.Text().c_str());
        ok = false;
    }

    // earliest[k]: when buffer k's last frame could at the soonest have been heard:
    // not before it was written, not before the buffer ahead of it ended, plus its
    // own length.
    double earliest = 0;
    double minMargin = 1e9;
    double maxMargin = -1e9;
    double worstSpacing = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const double written = static_cast<double>(writtenNs[k]) / 1e6;
        const double length = Ms(static_cast<double>(plan.buffers[k].size() / 2));
        const bool backToBack = k > 0 && written < earliest;
        earliest = std::max(written, k == 0 ? written : earliest) + length;
        const double done = static_cast<double>(doneNs[k]) / 1e6;
        const double margin = done - earliest;
        minMargin = std::min(minMargin, margin);
        maxMargin = std::max(maxMargin, margin);
        if (margin < 0) {
            std::printf("FAIL: buffer %zu reported %.1f ms before its last frame could be heard\n", k,
                        -margin);
            ok = false;
        } else if (margin < latency * 1000.0 / 2) {
            // Every frame passes through the output latency after it is copied out; a
            // report this soon means the buffer was counted done when copied, not heard.
            std::printf(
                "FAIL: buffer %zu reported %.1f ms after the soonest its last frame could have "
                "been played, less than half the output latency of %.1f ms\n",
                k, margin, latency * 1000.0);
            ok = false;
        }
        if (margin > latency * 1000.0 + 150.0) {
            std::printf("FAIL: buffer %zu reported %.1f ms after its last frame could be heard\n", k, margin);
            ok = false;
        }
        if (backToBack) {
            const double spacing = done - static_cast<double>(doneNs[k - 1]) / 1e6;
            worstSpacing = std::max(worstSpacing, std::fabs(spacing - length));
        }
    }
    std::printf("report delay after the earliest possible hearing: %.1f to %.1f ms\n", minMargin, maxMargin);
    std::printf("largest deviation of report spacing from buffer length: %.1f ms (limit 15 ms)\n",
                worstSpacing);
    std::printf("output underflows reported by the stream: %llu\n",
                static_cast<unsigned long long>(underflows));
    if (worstSpacing > 15.0) {
        std::printf("FAIL: completions are not spaced like the buffers\n");
        ok = false;
    }
    std::printf(ok ? "playback passed\n" : "playback FAILED\n");
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "play") {
        bool window = false;
        double latency = PortAudioDevice::kDefaultLatencySeconds;
        bool usable = true;
        for (int i = 2; i < argc && usable; ++i) {
            const std::string option = argv[i];
            if (option == "--window") {
                window = true;
            } else if (option == "--latency-ms" && i + 1 < argc) {
                latency = std::atof(argv[++i]) / 1000.0;
            } else {
                usable = false;
            }
        }
        if (usable) {
            return Play(window, latency);
        }
    }
    if (mode == "analyze" && argc == 3) {
        return Analyze(argv[2]);
    }
    std::fprintf(stderr, "usage: %s play [--window] [--latency-ms N] | analyze CAPTURE.raw\n", argv[0]);
    return 2;
}
