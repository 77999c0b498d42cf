// Audio device layer: the message queue, the virtual clock, and what only the virtual
// device does (timing in frames, the heard stream, failures on purpose, what a reset
// cuts short). What every device does is in AudioDeviceContractTest.cpp.
//
// Durations below are worked out by hand from 44100 frames per second: a buffer is done
// at the first whole millisecond ms with floor(ms * 44.1) >= its end frame.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "audio/AudioDevice.h"
#include "audio/Clock.h"
#include "audio/MessageQueue.h"
#include "audio/Messages.h"
#include "audio/VirtualAudioDevice.h"
#include "tests/audio/TestBuffer.h"

namespace lumbrel {
namespace {

using Call = VirtualAudioDevice::Call;

using test::TestBuffer;

using test::RunList;
using test::Runs;

// ---------------------------------------------------------------- MessageQueue

TEST(MessageQueueTest, TakesAndDrainsMessagesInPostingOrder) {
    MessageQueue queue;
    EXPECT_FALSE(queue.TryTake());
    EXPECT_FALSE(queue.TakeFor(std::chrono::milliseconds(0)));

    queue.PostMessage(kBufferDoneMessage, 0, 11);
    queue.PostMessage(kDisplayMessage, 1, 0);
    queue.PostMessage(kWaveOutDoneMessage, 2, 22);
    EXPECT_EQ(queue.Size(), 3u);

    EXPECT_EQ(queue.TryTake(), (Message{kBufferDoneMessage, 0, 11}));
    EXPECT_EQ(queue.Take(), (Message{kDisplayMessage, 1, 0}));
    EXPECT_EQ(queue.TakeFor(std::chrono::milliseconds(0)), (Message{kWaveOutDoneMessage, 2, 22}));
    EXPECT_TRUE(queue.Empty());

    // Drain empties the queue, oldest first.
    queue.PostMessage(kStartRequestMessage, 0, 0);
    queue.PostMessage(kStopRequestMessage, 0, 0);
    EXPECT_EQ(queue.Drain(),
              (std::vector<Message>{{kStartRequestMessage, 0, 0}, {kStopRequestMessage, 0, 0}}));
    EXPECT_TRUE(queue.Empty());
    EXPECT_TRUE(queue.Drain().empty());
}

TEST(MessageQueueTest, ConcurrentPostersLoseNothingAndKeepEachPostersOrder) {
    constexpr int kPosters = 4;
    constexpr int kEach = 2000;
    MessageQueue queue;
    std::vector<std::thread> posters;
    for (int p = 0; p < kPosters; ++p) {
        posters.emplace_back([&queue, p] {
            for (int i = 0; i < kEach; ++i) {
                queue.PostMessage(kBufferDoneMessage, p, i);
            }
        });
    }
    std::vector<Message> taken;
    while (taken.size() < std::size_t{kPosters * kEach}) {
        taken.push_back(queue.Take());  // blocks while the posters are behind
    }
    for (std::thread& t : posters) {
        t.join();
    }
    EXPECT_TRUE(queue.Empty());
    std::vector<std::intptr_t> next(kPosters, 0);
    for (const Message& m : taken) {
        ASSERT_GE(m.wParam, 0);
        ASSERT_LT(m.wParam, kPosters);
        auto& expected = next[static_cast<std::size_t>(m.wParam)];
        ASSERT_EQ(m.lParam, expected) << "poster " << m.wParam;
        ++expected;
    }
}

// ---------------------------------------------------------------- VirtualClock

class RecordingListener final : public VirtualClock::Listener {
public:
    RecordingListener(VirtualClock& clock, std::deque<std::int64_t> dues)
        : clock_(clock),
          dues_(std::move(dues)) {}

    std::optional<std::int64_t> NextDueMs() const override {
        if (dues_.empty()) {
            return std::nullopt;
        }
        return dues_.front();
    }
    void OnClockAdvanced(std::int64_t elapsedMs) override {
        calls.push_back(elapsedMs);
        seenByClock.push_back(clock_.ElapsedMs());
        while (!dues_.empty() && dues_.front() <= elapsedMs) {
            dues_.pop_front();
        }
    }

    std::vector<std::int64_t> calls;
    std::vector<std::int64_t> seenByClock;

private:
    VirtualClock& clock_;
    std::deque<std::int64_t> dues_;
};

TEST(VirtualClockTest, TickCountWrapsAfter32Bits) {
    VirtualClock clock(0xFFFFFFF0u);
    const std::uint32_t before = clock.TickCount();
    clock.Advance(0x20);
    EXPECT_EQ(clock.TickCount(), 0x10u);
    EXPECT_EQ(static_cast<std::uint32_t>(clock.TickCount() - before), 0x20u);
    EXPECT_EQ(clock.ElapsedMs(), 0x20);

    clock.SetTickCount(1000);
    clock.Advance(5);
    EXPECT_EQ(clock.TickCount(), 1005u);
    EXPECT_EQ(clock.ElapsedMs(), 0x25);
}

TEST(VirtualClockTest, TimeOfDayWrapsAtMidnight) {
    VirtualClock clock(0, QTime(23, 59, 59, 990));
    clock.Advance(25);
    EXPECT_EQ(clock.LocalTimeOfDay(), QTime(0, 0, 0, 15));
    clock.SetLocalTimeOfDay(QTime(12, 0));
    clock.Advance(1500);
    EXPECT_EQ(clock.LocalTimeOfDay(), QTime(12, 0, 1, 500));
}

TEST(VirtualClockTest, TimeNeverGoesBack) {
    VirtualClock clock;
    clock.Advance(10);
    clock.Advance(-5);
    clock.AdvanceTo(3);
    EXPECT_EQ(clock.ElapsedMs(), 10);
}

TEST(VirtualClockTest, AdvanceStopsAtEveryDueTimeInOrder) {
    VirtualClock clock;
    RecordingListener listener(clock, {5, 12});
    clock.AddListener(listener);
    clock.Advance(20);
    clock.RemoveListener(listener);
    EXPECT_EQ(listener.calls, (std::vector<std::int64_t>{5, 12, 20}));
    EXPECT_EQ(listener.seenByClock, listener.calls);
}

TEST(VirtualClockTest, AdvanceToNextDueJumpsToTheEarliestListener) {
    VirtualClock clock;
    RecordingListener early(clock, {7});
    RecordingListener late(clock, {9});
    EXPECT_FALSE(clock.AdvanceToNextDue());
    clock.AddListener(late);
    clock.AddListener(early);
    EXPECT_FALSE(clock.AdvanceToNextDue(6));
    EXPECT_EQ(clock.ElapsedMs(), 0);
    EXPECT_TRUE(clock.AdvanceToNextDue());
    EXPECT_EQ(clock.ElapsedMs(), 7);
    EXPECT_TRUE(clock.AdvanceToNextDue());
    EXPECT_EQ(clock.ElapsedMs(), 9);
    EXPECT_FALSE(clock.AdvanceToNextDue());
    clock.RemoveListener(early);
    clock.RemoveListener(late);
}

// ---------------------------------------------------------------- VirtualAudioDevice

class VirtualAudioDeviceTest : public ::testing::Test {
protected:
    TestBuffer& NewBuffer(std::uint32_t frames, std::int16_t value) {
        buffers_.push_back(std::make_unique<TestBuffer>(frames, value));
        return *buffers_.back();
    }

    void OpenWithCallback() {
        auto record = [this](AudioBufferHeader* h) {
            done.push_back(h);
            doneAtMs.push_back(clock.ElapsedMs());
        };
        const AudioResult opened = device.Open(kTrainerAudioFormat, AudioNotification::ToCallback(record));
        ASSERT_TRUE(opened) << opened.Text();
    }

    void OpenWithWindow() {
        const AudioResult opened = device.Open(kTrainerAudioFormat, AudioNotification::ToWindow(window));
        ASSERT_TRUE(opened) << opened.Text();
    }

    void Queue(TestBuffer& buffer) {
        ASSERT_TRUE(device.PrepareHeader(buffer.header));
        const AudioResult written = device.Write(buffer.header);
        ASSERT_TRUE(written) << written.Text();
    }

    VirtualClock clock;
    MessageQueue window;
    VirtualAudioDevice device{clock};
    std::vector<AudioBufferHeader*> done;
    std::vector<std::int64_t> doneAtMs;

private:
    std::vector<std::unique_ptr<TestBuffer>> buffers_;
};

// -- timing

TEST_F(VirtualAudioDeviceTest, ManyShortBuffersStayFrameExact) {
    // 100 buffers of 43 frames (0.975 ms each) end at frame 4300 = 97.5 ms: 99 are done
    // at 97 ms (frame 4277), the last one at 98 ms. Rounding each buffer to whole
    // milliseconds would be off by several milliseconds.
    OpenWithCallback();
    for (int i = 0; i < 100; ++i) {
        Queue(NewBuffer(43, static_cast<std::int16_t>(i)));
    }
    clock.AdvanceTo(97);
    EXPECT_EQ(done.size(), 99u);
    clock.AdvanceTo(98);
    EXPECT_EQ(done.size(), 100u);
}

TEST_F(VirtualAudioDeviceTest, OddLengthsAccumulateInFramesNotMilliseconds) {
    // Ends at frames 1, 44100 and 44101: done at 1 ms, 1000 ms and 1001 ms.
    OpenWithCallback();
    Queue(NewBuffer(1, 1));
    Queue(NewBuffer(44099, 2));
    Queue(NewBuffer(1, 3));
    EXPECT_EQ(device.NextCompletionMs(), 1);
    clock.Advance(5000);
    EXPECT_EQ(doneAtMs, (std::vector<std::int64_t>{1, 1000, 1001}));
}

TEST_F(VirtualAudioDeviceTest, QueuedBuffersPlayBackToBackWithoutGap) {
    OpenWithCallback();
    TestBuffer& a = NewBuffer(441, 100);
    TestBuffer& b = NewBuffer(300, 200);
    Queue(a);
    clock.Advance(5);  // b is written while a plays: it starts where a ends
    Queue(b);
    clock.Advance(100);
    EXPECT_EQ(doneAtMs, (std::vector<std::int64_t>{10, 17}));  // frame 741 -> 16.8 ms
    EXPECT_EQ(Runs(device.PlayedBytes()), (RunList{{100, 441}, {200, 300}}));
}

TEST_F(VirtualAudioDeviceTest, BufferWrittenAfterSilenceStartsAtTheCurrentFrame) {
    OpenWithCallback();
    TestBuffer& a = NewBuffer(441, 7);
    TestBuffer& b = NewBuffer(441, 9);
    Queue(a);
    clock.AdvanceTo(50);  // a ended at frame 441; the timeline is at frame 2205
    Queue(b);
    clock.AdvanceTo(59);
    EXPECT_EQ(done.size(), 1u);
    clock.AdvanceTo(60);
    ASSERT_EQ(done.size(), 2u);
    // What was heard: a, 1764 frames of silence, b.
    EXPECT_EQ(Runs(device.PlayedBytes()), (RunList{{7, 441}, {0, 1764}, {9, 441}}));
}

TEST_F(VirtualAudioDeviceTest, SinkReceivesExactlyWhatWasHeard) {
    std::vector<std::uint8_t> sunk;
    device.SetPlaySink([&sunk](const std::uint8_t* bytes, std::size_t count) {
        sunk.insert(sunk.end(), bytes, bytes + count);
    });
    device.KeepPlayedBytes(false);
    OpenWithCallback();
    Queue(NewBuffer(441, 5));
    clock.AdvanceTo(300);  // 12789 frames of silence follow
    Queue(NewBuffer(2, -5));
    clock.AdvanceTo(400);
    EXPECT_TRUE(device.PlayedBytes().empty());
    EXPECT_EQ(Runs(sunk), (RunList{{5, 441}, {0, 12789}, {-5, 2}}));
    // Both channels carry what the buffer holds.
    EXPECT_EQ(sunk.size(), (441u + 12789u + 2u) * 4u);
}

TEST_F(VirtualAudioDeviceTest, TimingIsUnaffectedByTheTickCountWrapping) {
    clock.SetTickCount(0xFFFFFFFFu - 4);  // wraps 5 ms from now
    std::vector<std::uint32_t> ticks;
    const AudioResult opened = device.Open(
        kTrainerAudioFormat,
        AudioNotification::ToCallback([&](AudioBufferHeader*) { ticks.push_back(clock.TickCount()); }));
    ASSERT_TRUE(opened);
    const std::uint32_t written = clock.TickCount();
    Queue(NewBuffer(441, 1));
    Queue(NewBuffer(441, 2));
    clock.Advance(30);
    ASSERT_EQ(ticks.size(), 2u);
    EXPECT_EQ(ticks[0], 5u);
    EXPECT_EQ(static_cast<std::uint32_t>(ticks[0] - written), 10u);
    EXPECT_EQ(static_cast<std::uint32_t>(ticks[1] - written), 20u);
}

// -- failures

TEST_F(VirtualAudioDeviceTest, FailedOpenLeavesTheDeviceClosedUntilItOpens) {
    device.InjectFailure(Call::Open, "No audio driver is installed.");
    const AudioResult opened = device.Open(kTrainerAudioFormat, AudioNotification::ToWindow(window));
    EXPECT_EQ(opened.Error(), AudioError::Injected);
    EXPECT_EQ(opened.Text(), "No audio driver is installed.");
    EXPECT_FALSE(device.IsOpen());

    TestBuffer& a = NewBuffer(441, 1);
    EXPECT_EQ(device.PrepareHeader(a.header).Error(), AudioError::NotOpen);
    EXPECT_EQ(device.Write(a.header).Error(), AudioError::NotOpen);
    clock.Advance(100);
    EXPECT_TRUE(window.Empty());

    device.ClearFailures();
    OpenWithWindow();
    Queue(a);
    clock.Advance(100);
    EXPECT_EQ(window.Drain().size(), 1u);
}

TEST_F(VirtualAudioDeviceTest, FailedWriteQueuesNothingAndTheNextWritePlays) {
    OpenWithCallback();
    TestBuffer& lost = NewBuffer(441, 1);
    TestBuffer& next = NewBuffer(441, 2);
    device.InjectFailure(Call::Write, "The device is busy.", 1);
    ASSERT_TRUE(device.PrepareHeader(lost.header));
    const AudioResult refused = device.Write(lost.header);
    EXPECT_EQ(refused.Text(), "The device is busy.");
    EXPECT_FALSE(lost.header.IsQueued());
    EXPECT_EQ(device.QueuedCount(), 0u);

    Queue(next);  // the failure was for one call only; the lost buffer took no time
    clock.Advance(100);
    EXPECT_EQ(done, (std::vector<AudioBufferHeader*>{&next.header}));
    EXPECT_EQ(doneAtMs, (std::vector<std::int64_t>{10}));
    EXPECT_EQ(device.CallCount(Call::Write), 2);
}

TEST_F(VirtualAudioDeviceTest, FailedPrepareAndUnprepareChangeNoFlags) {
    OpenWithWindow();
    TestBuffer& a = NewBuffer(441, 1);
    device.InjectFailure(Call::PrepareHeader, {}, 1);
    const AudioResult prepare = device.PrepareHeader(a.header);
    EXPECT_EQ(prepare.Error(), AudioError::Injected);
    EXPECT_FALSE(prepare.Text().empty());
    EXPECT_FALSE(a.header.IsPrepared());
    EXPECT_EQ(device.Write(a.header).Error(), AudioError::Unprepared);

    ASSERT_TRUE(device.PrepareHeader(a.header));
    device.InjectFailure(Call::UnprepareHeader);
    EXPECT_EQ(device.UnprepareHeader(a.header).Error(), AudioError::Injected);
    EXPECT_EQ(device.UnprepareHeader(a.header).Error(), AudioError::Injected);  // every call
    EXPECT_TRUE(a.header.IsPrepared());
    device.ClearFailures();
    EXPECT_TRUE(device.UnprepareHeader(a.header));
    EXPECT_FALSE(a.header.IsPrepared());
}

// -- reset and close

TEST_F(VirtualAudioDeviceTest, ResetCutsThePlayingBufferShortWhereItWas) {
    OpenWithCallback();
    TestBuffer& a = NewBuffer(441, 1);
    TestBuffer& b = NewBuffer(441, 2);
    TestBuffer& c = NewBuffer(441, 3);
    Queue(a);
    Queue(b);
    Queue(c);
    clock.AdvanceTo(15);  // a is done; b has played 220 of its frames (frame 661)
    ASSERT_EQ(done.size(), 1u);
    ASSERT_TRUE(device.Reset());
    EXPECT_EQ(doneAtMs, (std::vector<std::int64_t>{10, 15, 15}));
    EXPECT_EQ(device.QueuedCount(), 0u);
    EXPECT_EQ(Runs(device.PlayedBytes()), (RunList{{1, 441}, {2, 220}}));
}

}  // namespace
}  // namespace lumbrel
