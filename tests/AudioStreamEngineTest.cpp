// The stream engine on the virtual device: primed completions, runs, heard times from
// the device's clock, and a device that fails in the middle of a run. The renderer here
// is the test's own (position p: p * 100 frames of the value p), so the audio expected
// follows from the frame counts alone.
#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "audio/Clock.h"
#include "audio/MessageQueue.h"
#include "audio/VirtualAudioDevice.h"
#include "engine/AudioStreamEngine.h"

namespace lumbrel {
namespace {

using Queued = AudioStreamEngine::Queued;
using Call = VirtualAudioDevice::Call;

class ScriptedSource final : public SymbolSource {
public:
    explicit ScriptedSource(std::deque<SourceSymbol> symbols) : symbols_(std::move(symbols)) {}
    SourceSymbol Next() override {
        if (symbols_.empty())
            return {};
        SourceSymbol s = symbols_.front();
        symbols_.pop_front();
        return s;
    }

private:
    std::deque<SourceSymbol> symbols_;
};

std::uint32_t FramesOf(int position) {
    return static_cast<std::uint32_t>(position) * 100;
}

class CountingRenderer final : public SlotRenderer {
public:
    bool Sendable(int position) const override { return position != kRefused; }
    QString Display(int position) const override { return QString::number(position); }
    std::uint32_t Render(int position, bool, std::int16_t* dest, std::uint32_t capacity) override {
        const std::uint32_t frames = std::min(FramesOf(position), capacity / 4);
        std::fill(dest, dest + frames * 2, static_cast<std::int16_t>(position));
        return frames * 4;
    }
    static constexpr int kRefused = 99;
};

class RecordingListener final : public StreamListener {
public:
    void StreamFault(const AudioResult& result, const QString& caption) override {
        faults.push_back(caption + QLatin1Char(':') + QString::fromStdString(result.Text()));
    }
    void BufferFilled(const void* data, std::uint32_t bytes) override {
        const auto* b = static_cast<const std::uint8_t*>(data);
        filled.insert(filled.end(), b, b + bytes);
    }
    QStringList faults;
    std::vector<std::uint8_t> filled;
};

// The bytes heard for these positions back to back.
std::vector<std::uint8_t> Heard(const std::vector<int>& positions) {
    std::vector<std::uint8_t> bytes;
    for (int p : positions)
        for (std::uint32_t f = 0; f < FramesOf(p) * 2; ++f) {
            bytes.push_back(static_cast<std::uint8_t>(p & 0xff));
            bytes.push_back(static_cast<std::uint8_t>(p >> 8));
        }
    return bytes;
}

// The first whole millisecond by which `frames` frames have played.
std::uint32_t PlayedMs(std::int64_t frames) {
    return static_cast<std::uint32_t>((frames * 1000 + 44099) / 44100);
}

SourceSymbol Symbol(int position, bool opens = false, bool last = false) {
    return SourceSymbol{position, {false, opens}, last};
}

class AudioStreamEngineTest : public ::testing::Test {
protected:
    // What the session does: each completion of the current run queues the next symbol
    // while the source has any; the rest are only counted.
    struct Log {
        std::vector<AudioStreamEngine::Completion> completions;
        std::vector<Queued> queued;
        std::vector<int> kinds;
    };
    Log Pump(std::uint32_t run) {
        Log log;
        bool ended = false;
        do {
            while (const std::optional<Message> m = window.TryTake()) {
                log.kinds.push_back(m->message);
                const auto done = engine.Complete(reinterpret_cast<AudioBufferHeader*>(m->lParam));
                log.completions.push_back(done);
                if (ended || (done.buffer && done.run != run))
                    continue;
                const AudioStreamEngine::QueueResult r = engine.QueueNext();
                log.queued.push_back(r.queued);
                ended = r.queued == Queued::SourceEnded || r.last;
            }
        } while (clock.AdvanceToNextDue());
        return log;
    }

    VirtualClock clock{0xFFFFFF00u};  // the tick count wraps 256 ms in
    VirtualAudioDevice device{clock};
    MessageQueue window;
    RecordingListener listener;
    AudioStreamEngine engine{device, window, listener};
    CountingRenderer renderer;
};

TEST_F(AudioStreamEngineTest, ARunPlaysEverySymbolAndEachCompletionCarriesItsHeardTime) {
    const struct {
        bool callbacks;
        bool recorded;
        int message;
    } cases[] = {{false, true, kWaveOutDoneMessage}, {true, false, kBufferDoneMessage}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.callbacks ? "callbacks" : "window");
        listener.filled.clear();
        (void)device.TakePlayedBytes();
        ASSERT_TRUE(engine.Open(c.callbacks));
        ScriptedSource source({Symbol(3), Symbol(1, true), Symbol(120), Symbol(2), Symbol(5)});
        const std::uint32_t started = clock.TickCount();
        const std::uint32_t run = engine.Start(source, renderer, c.recorded);
        EXPECT_EQ(engine.Pending(), AudioStreamEngine::kPrimedCompletions);
        const Log log = Pump(run);

        // Two primed completions, then the five buffers; each queued the next.
        ASSERT_EQ(log.completions.size(), 7u);
        EXPECT_EQ(log.kinds, std::vector<int>(7, c.message));
        EXPECT_EQ(log.queued, (std::vector<Queued>{Queued::Buffer, Queued::Buffer, Queued::Buffer,
                                                   Queued::Buffer, Queued::Buffer, Queued::SourceEnded}));
        const std::vector<int> sent{3, 1, 120, 2, 5};
        const QStringList texts{"3", "^1", "120", "2", "5"};
        std::int64_t endFrame = 0;
        for (std::size_t i = 0; i < log.completions.size(); ++i) {
            const auto& done = log.completions[i];
            if (i < 2) {
                EXPECT_FALSE(done.buffer);
                continue;
            }
            endFrame += FramesOf(sent[i - 2]);
            EXPECT_TRUE(done.buffer);
            EXPECT_EQ(done.text, texts[static_cast<int>(i - 2)]);
            EXPECT_EQ(done.run, run);
            EXPECT_EQ(done.heardTick - started, PlayedMs(endFrame)) << "buffer " << i - 2;
        }
        EXPECT_EQ(device.TakePlayedBytes(), Heard(sent));  // no gap: two buffers always in flight
        EXPECT_EQ(listener.filled, c.recorded ? Heard(sent) : std::vector<std::uint8_t>{});
        EXPECT_EQ(engine.Pending(), 0);
        EXPECT_EQ(engine.InFlight(), 0);
        EXPECT_TRUE(listener.faults.isEmpty());
        clock.Advance(1000);
    }
}

TEST_F(AudioStreamEngineTest, WhatCannotBeSentOrEndsTheRunQueuesNothing) {
    ASSERT_TRUE(engine.Open(false));
    EXPECT_EQ(engine.QueueNext().queued, Queued::SourceEnded);  // before any run
    ScriptedSource source({Symbol(CountingRenderer::kRefused), Symbol(4, false, true)});
    engine.Start(source, renderer);
    const AudioStreamEngine::QueueResult refused = engine.QueueNext();
    EXPECT_EQ(refused.queued, Queued::NotSendable);
    const AudioStreamEngine::QueueResult last = engine.QueueNext();
    EXPECT_EQ(last.queued, Queued::Buffer);
    EXPECT_TRUE(last.last);
    EXPECT_EQ(engine.QueueNext().queued, Queued::SourceEnded);
    EXPECT_EQ(device.QueuedCount(), 1u);
    EXPECT_EQ(engine.Pending(), 3);  // two primed, one buffer

    // A header that is not one of the engine's (a stale message) counts as none, and
    // no completion takes the count below zero.
    AudioBufferHeader stranger;
    EXPECT_FALSE(engine.Complete(&stranger).buffer);
    for (int i = 0; i < 4; ++i)
        (void)engine.Complete(nullptr);
    EXPECT_EQ(engine.Pending(), 0);
}

TEST_F(AudioStreamEngineTest, ACompletionOfAnOldRunArrivingInANewRunKeepsItsRun) {
    ASSERT_TRUE(engine.Open(false));
    ScriptedSource first({Symbol(200), Symbol(200), Symbol(200)});
    const std::uint32_t firstRun = engine.Start(first, renderer);
    for (int i = 0; i < 2; ++i) {
        (void)engine.Complete(nullptr);  // the primed completions
        ASSERT_EQ(engine.QueueNext().queued, Queued::Buffer);
    }
    (void)window.Drain();
    clock.Advance(100);  // the first buffer (20000 frames, 454 ms) plays
    const std::uint32_t dropped = clock.TickCount();
    ASSERT_TRUE(engine.Drop());  // a replay: both buffers come home at once, unprocessed yet

    ScriptedSource second({Symbol(1), Symbol(2)});
    const std::uint32_t secondRun = engine.Start(second, renderer);
    ASSERT_NE(secondRun, firstRun);
    EXPECT_EQ(engine.Pending(), 4);
    const Log log = Pump(secondRun);
    ASSERT_EQ(log.completions.size(), 6u);
    for (int i : {0, 1}) {
        EXPECT_TRUE(log.completions[static_cast<std::size_t>(i)].buffer);
        EXPECT_EQ(log.completions[static_cast<std::size_t>(i)].run, firstRun);
        EXPECT_EQ(log.completions[static_cast<std::size_t>(i)].heardTick, dropped);
    }
    EXPECT_FALSE(log.completions[2].buffer);
    EXPECT_FALSE(log.completions[3].buffer);
    for (int i : {4, 5}) {
        EXPECT_EQ(log.completions[static_cast<std::size_t>(i)].run, secondRun);
        EXPECT_EQ(log.completions[static_cast<std::size_t>(i)].text, QString::number(i - 3));
    }
    EXPECT_EQ(engine.Pending(), 0);
}

TEST_F(AudioStreamEngineTest, ADeviceFailingMidRunIsAFaultAndTheRunGoesOnWithWhatIsLeft) {
    const struct {
        Call call;
        QString caption;
        Queued queued;  // what the failing buffer became
        int buffersHome;
    } cases[] = {
        {Call::Write, "waveOutWrite", Queued::Lost, 2},
        {Call::UnprepareHeader, "Information", Queued::Buffer, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption.toStdString());
        listener.faults.clear();
        ASSERT_TRUE(engine.Open(false));
        ASSERT_TRUE(engine.Ready());
        ScriptedSource source({Symbol(10), Symbol(10), Symbol(10)});
        const std::uint32_t run = engine.Start(source, renderer);
        (void)engine.Complete(nullptr);
        ASSERT_EQ(engine.QueueNext().queued, Queued::Buffer);
        (void)engine.Complete(nullptr);
        ASSERT_EQ(engine.QueueNext().queued, Queued::Buffer);
        (void)window.Drain();
        device.InjectFailure(c.call, "The device went away.", 1);
        EXPECT_EQ(engine.QueueNext().queued, c.queued);
        ASSERT_EQ(listener.faults.size(), 1);
        EXPECT_EQ(listener.faults[0], c.caption + ":The device went away.");
        EXPECT_EQ(engine.LastFault().Text(), "The device went away.");
        EXPECT_FALSE(engine.Ready());
        EXPECT_TRUE(engine.IsOpen());

        int home = 0;
        while (clock.AdvanceToNextDue())
            for (const Message& m : window.Drain())
                home += engine.Complete(reinterpret_cast<AudioBufferHeader*>(m.lParam)).run == run;
        EXPECT_EQ(home, c.buffersHome);
        EXPECT_EQ(engine.Pending(), 0);  // nothing more will come: the owner ends the run
        ASSERT_TRUE(engine.Reopen());
        EXPECT_TRUE(engine.Ready());
    }
}

TEST_F(AudioStreamEngineTest, BuffersDroppedUnreportedByOpeningAgainAreNoLongerPending) {
    for (const bool close : {false, true}) {
        SCOPED_TRACE(close ? "closed" : "opened again");
        ASSERT_TRUE(engine.Open(false));
        ScriptedSource source({Symbol(200), Symbol(200), Symbol(200)});
        engine.Start(source, renderer);
        for (int i = 0; i < 2; ++i) {
            (void)engine.Complete(nullptr);
            ASSERT_EQ(engine.QueueNext().queued, Queued::Buffer);
        }
        (void)window.Drain();
        clock.Advance(10);
        if (close)
            engine.Close();
        else
            ASSERT_TRUE(engine.Reopen());
        // Neither buffer will come home: nothing is left to wait for.
        EXPECT_EQ(engine.InFlight(), 0);
        EXPECT_EQ(engine.Pending(), 0);
        clock.Advance(10'000);
        EXPECT_TRUE(window.Empty());
    }
}

TEST_F(AudioStreamEngineTest, ADeviceThatCannotOpenIsReportedAndTriedAgain) {
    device.InjectFailure(Call::Open, "No audio driver is installed.", 1);
    const AudioResult failed = engine.Open(true);
    EXPECT_EQ(failed.Text(), "No audio driver is installed.");
    EXPECT_FALSE(engine.IsOpen());
    EXPECT_FALSE(engine.Ready());
    ASSERT_TRUE(engine.Reopen());
    ScriptedSource source({Symbol(1)});
    engine.Start(source, renderer);
    EXPECT_EQ(window.TryTake()->message, kBufferDoneMessage);  // the mode of the last Open
    // The session latency: three units of the speed, within its bounds.
    const struct {
        int wpm;
        double seconds;
    } latencies[] = {{0, 0.150}, {5, 0.150}, {24, 0.150}, {36, 0.100}, {80, 0.045}, {100, 0.045}};
    for (const auto& l : latencies)
        EXPECT_DOUBLE_EQ(AudioStreamEngine::SessionLatencySeconds(l.wpm), l.seconds) << l.wpm << " WPM";
}

}  // namespace
}  // namespace lumbrel
