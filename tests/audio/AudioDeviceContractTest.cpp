// What every audio device promises the engine, run on each device: the virtual one on
// virtual time, and PortAudio on the machine's output. PortAudio's cases skip where
// there is no output, unless LUMBREL_TEST_SOUND_OUTPUT is set (device_contract_test.sh
// sets it after starting a sound server of its own), where no output is a failure.
//
// Completions of both modes land in one queue: callback mode posts kBufferDoneMessage
// with the device's handle, window mode is the device's own kWaveOutDoneMessage.
// Heard times are checked against the timing rules: a buffer ending at frame n is heard
// at the first whole millisecond at or past n / 44.1, exactly on the virtual device, and
// never sooner (nor after its report came) on a real one.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "audio/AudioDevice.h"
#include "audio/Clock.h"
#include "audio/MessageQueue.h"
#include "audio/Messages.h"
#include "audio/PortAudioDevice.h"
#include "audio/VirtualAudioDevice.h"
#include "tests/audio/TestBuffer.h"

namespace lumbrel {
namespace {

using test::TestBuffer;

// The first whole millisecond by which `frames` frames have played.
std::uint32_t PlayedMs(std::int64_t frames) {
    return static_cast<std::uint32_t>((frames * 1000 + audio::kFrameRate - 1) / audio::kFrameRate);
}

using test::RunList;
using test::Runs;

class VirtualRig {
public:
    using Device = VirtualAudioDevice;
    static constexpr bool kVirtual = true;

    std::unique_ptr<Device> MakeDevice() { return std::make_unique<Device>(clock_); }
    const Clock& Time() const { return clock_; }
    static std::string Unavailable() { return {}; }
    // Lets time pass until a report is there; nothing when none is due.
    std::optional<Message> NextReport(MessageQueue& reports) {
        while (reports.Empty() && clock_.AdvanceToNextDue()) {
        }
        return reports.TryTake();
    }
    // Lets every due time and a second more pass.
    void RunOut() {
        while (clock_.AdvanceToNextDue()) {
        }
        clock_.Advance(1000);
    }
    void ExpectHeard(std::uint32_t heard, std::uint32_t written, std::int64_t frames) const {
        EXPECT_EQ(heard - written, PlayedMs(frames)) << frames << " frames";
    }
    static void ExpectOpened(const Device& device) { EXPECT_EQ(device.NowFrames(), 0); }
    static void ExpectPlayed(const Device& device, const RunList& runs) {
        EXPECT_EQ(Runs(device.PlayedBytes()), runs);
    }

private:
    VirtualClock clock_;
};

class PortAudioRig {
public:
    using Device = PortAudioDevice;
    static constexpr bool kVirtual = false;

    static std::unique_ptr<Device> MakeDevice() { return std::make_unique<Device>(); }
    const Clock& Time() const { return clock_; }
    // Why no stream can be opened here; empty when one can. Asked once.
    static std::string Unavailable() {
        static const std::string why = [] {
            MessageQueue queue;
            PortAudioDevice probe;
            const AudioResult opened = probe.Open(kTrainerAudioFormat, AudioNotification::ToWindow(queue));
            if (opened) {
                (void)probe.Close();
                return std::string();
            }
            return "no audio output here: " + opened.Text();
        }();
        return why;
    }
    static std::optional<Message> NextReport(MessageQueue& reports) {
        return reports.TakeFor(std::chrono::seconds(5));
    }
    // Long enough for a stray report of the short buffers below to come.
    static void RunOut() { std::this_thread::sleep_for(std::chrono::milliseconds(300)); }
    void ExpectHeard(std::uint32_t heard, std::uint32_t written, std::int64_t frames) const {
        const std::uint32_t now = clock_.TickCount();
        EXPECT_GE(heard - written + 1, PlayedMs(frames)) << frames << " frames";
        EXPECT_LE(heard - written, now - written) << "heard after it was reported";
    }
    static void ExpectOpened(const Device& device) { EXPECT_GT(device.OutputLatencySeconds(), 0.0); }
    static void ExpectPlayed(const Device&, const RunList&) {}  // the real-audio test records it

private:
    SystemClock clock_;
};

// Closes a device before the locals its callback uses go, whatever check fails.
struct CloseFirst {
    AudioDevice& device;
    ~CloseFirst() { (void)device.Close(); }
};

bool OutputExpected() {
    const char* expected = std::getenv("LUMBREL_TEST_SOUND_OUTPUT");
    return expected != nullptr && *expected != '\0';
}

#define LUMBREL_NEEDS_OUTPUT()                            \
    do {                                                  \
        const std::string why = TypeParam::Unavailable(); \
        if (!why.empty()) {                               \
            if (OutputExpected())                         \
                FAIL() << why;                            \
            GTEST_SKIP() << why;                          \
        }                                                 \
    } while (false)

template <typename Rig>
class AudioDeviceContract : public ::testing::Test {
protected:
    using Device = typename Rig::Device;

    Device& NewDevice() {
        devices_.push_back(rig.MakeDevice());
        return *devices_.back();
    }
    TestBuffer& NewBuffer(std::uint32_t frames, std::int16_t value) {
        return buffers_.emplace_back(frames, value);
    }
    AudioResult Open(Device& device, NotifyMode mode) {
        if (mode == NotifyMode::Window) {
            return device.Open(kTrainerAudioFormat, AudioNotification::ToWindow(reports));
        }
        const std::intptr_t handle = device.Handle();
        return device.Open(
            kTrainerAudioFormat, AudioNotification::ToCallback([this, handle](AudioBufferHeader* h) {
                reports.PostMessage(kBufferDoneMessage, handle, reinterpret_cast<std::intptr_t>(h));
            }));
    }
    static Message Report(NotifyMode mode, const Device& device, const TestBuffer& buffer) {
        return Message{mode == NotifyMode::Window ? kWaveOutDoneMessage : kBufferDoneMessage, device.Handle(),
                       reinterpret_cast<std::intptr_t>(&buffer.header)};
    }
    static void Queue(Device& device, TestBuffer& buffer) {
        ASSERT_TRUE(device.PrepareHeader(buffer.header));
        const AudioResult written = device.Write(buffer.header);
        ASSERT_TRUE(written) << written.Text();
    }
    std::uint32_t Now() const { return rig.Time().TickCount(); }
    // Reports of `count` buffers, waiting for each.
    std::vector<Message> Reports(std::size_t count) {
        std::vector<Message> got;
        while (got.size() < count) {
            const std::optional<Message> next = rig.NextReport(reports);
            if (!next) {
                break;
            }
            got.push_back(*next);
        }
        return got;
    }
    // Nothing more is reported, however long one waits.
    void ExpectQuiet() {
        rig.RunOut();
        EXPECT_TRUE(reports.Empty()) << reports.Size() << " reports too many";
    }

    // Destroyed in this order from the bottom: the devices before the buffers they may
    // still hold, and both before the clock and the queue.
    Rig rig;
    MessageQueue reports;

private:
    std::deque<TestBuffer> buffers_;
    std::vector<std::unique_ptr<Device>> devices_;
};

TYPED_TEST_SUITE_P(AudioDeviceContract);

constexpr NotifyMode kModes[] = {NotifyMode::Callback, NotifyMode::Window};
const char* ModeName(NotifyMode mode) {
    return mode == NotifyMode::Window ? "window mode" : "callback mode";
}

TYPED_TEST_P(AudioDeviceContract, ClosedDeviceRefusesEveryCallWithAText) {
    auto& device = this->NewDevice();
    TestBuffer& a = this->NewBuffer(441, 1);
    for (const AudioResult& r : {device.PrepareHeader(a.header), device.Write(a.header),
                                 device.UnprepareHeader(a.header), device.Reset(), device.Close()}) {
        EXPECT_EQ(r.Error(), AudioError::NotOpen);
        EXPECT_FALSE(r.Text().empty());
    }
    EXPECT_EQ(a.header.flags.load(), 0u);

    AudioFormat mono = kTrainerAudioFormat;
    mono.channels = 1;
    mono.blockAlign = 2;
    mono.bytesPerSecond = 88200;
    AudioFormat fast = kTrainerAudioFormat;
    fast.framesPerSecond = 48000;
    AudioNotification noTarget;
    noTarget.mode = NotifyMode::Window;
    const struct {
        AudioFormat format;
        AudioNotification route;
        AudioError error;
    } refusals[] = {
        {mono, AudioNotification::ToWindow(this->reports), AudioError::BadFormat},
        {fast, AudioNotification::ToWindow(this->reports), AudioError::BadFormat},
        {kTrainerAudioFormat, AudioNotification::ToCallback({}), AudioError::InvalidParameter},
        {kTrainerAudioFormat, noTarget, AudioError::InvalidParameter},
    };
    for (const auto& refusal : refusals) {
        const AudioResult opened = device.Open(refusal.format, refusal.route);
        EXPECT_EQ(opened.Error(), refusal.error);
        EXPECT_FALSE(opened.Text().empty());
        EXPECT_FALSE(device.IsOpen());
    }
}

TYPED_TEST_P(AudioDeviceContract, OpenDeviceRefusesHeadersItCannotPlay) {
    LUMBREL_NEEDS_OUTPUT();
    auto& device = this->NewDevice();
    ASSERT_TRUE(this->Open(device, NotifyMode::Window));
    TypeParam::ExpectOpened(device);
    EXPECT_EQ(this->Open(device, NotifyMode::Window).Error(), AudioError::AlreadyOpen);

    TestBuffer& unprepared = this->NewBuffer(441, 1);
    EXPECT_EQ(device.Write(unprepared.header).Error(), AudioError::Unprepared);

    TestBuffer& queued = this->NewBuffer(441 * 4, 2);
    this->Queue(device, queued);
    EXPECT_EQ(device.Write(queued.header).Error(), AudioError::StillPlaying);
    EXPECT_EQ(device.UnprepareHeader(queued.header).Error(), AudioError::StillPlaying);

    TestBuffer& partial = this->NewBuffer(441, 3);
    partial.header.length -= 2;  // half a frame at the end
    ASSERT_TRUE(device.PrepareHeader(partial.header));
    const AudioResult refused = device.Write(partial.header);
    EXPECT_EQ(refused.Error(), AudioError::InvalidParameter);
    EXPECT_FALSE(refused.Text().empty());

    AudioBufferHeader noData;
    noData.length = 16;
    EXPECT_EQ(device.PrepareHeader(noData).Error(), AudioError::InvalidParameter);
    EXPECT_FALSE(noData.IsPrepared());

    // Only the one buffer that was accepted plays and is reported.
    EXPECT_EQ(this->Reports(1), (std::vector<Message>{this->Report(NotifyMode::Window, device, queued)}));
    this->ExpectQuiet();
    EXPECT_FALSE(unprepared.header.IsQueued());
    EXPECT_FALSE(partial.header.IsQueued());
    EXPECT_TRUE(device.Close());
}

TYPED_TEST_P(AudioDeviceContract, ReportsEachBufferOnceInQueueOrderWhenHeard) {
    LUMBREL_NEEDS_OUTPUT();
    for (const NotifyMode mode : kModes) {
        SCOPED_TRACE(ModeName(mode));
        auto& device = this->NewDevice();
        ASSERT_TRUE(this->Open(device, mode));
        TestBuffer& a = this->NewBuffer(882, 1);
        TestBuffer& b = this->NewBuffer(1, 2);
        TestBuffer& c = this->NewBuffer(0, 3);  // done when the one before it is
        TestBuffer& d = this->NewBuffer(441, 4);
        ASSERT_TRUE(device.PrepareHeader(a.header));  // preparing twice is harmless
        EXPECT_EQ(a.header.flags.load(), kHeaderPrepared);
        const std::uint32_t written = this->Now();
        std::int64_t endFrame = 0;
        std::vector<std::int64_t> endFrames;
        for (TestBuffer* t : {&a, &b, &c, &d}) {
            this->Queue(device, *t);
            EXPECT_EQ(t->header.flags.load(), kHeaderPrepared | kHeaderInQueue);
            endFrames.push_back(endFrame += t->Frames());
        }
        EXPECT_EQ(this->Reports(4),
                  (std::vector<Message>{this->Report(mode, device, a), this->Report(mode, device, b),
                                        this->Report(mode, device, c), this->Report(mode, device, d)}));
        std::size_t i = 0;
        for (TestBuffer* t : {&a, &b, &c, &d}) {
            EXPECT_EQ(t->header.flags.load(), kHeaderPrepared | kHeaderDone);
            this->rig.ExpectHeard(t->header.heardTick.load(), written, endFrames[i++]);
        }
        this->ExpectQuiet();
        TypeParam::ExpectPlayed(device, RunList{{1, 882}, {2, 1}, {4, 441}});

        // A reported header may be written again, and unprepared (twice too).
        const std::uint32_t again = this->Now();
        ASSERT_TRUE(device.Write(a.header));
        EXPECT_EQ(this->Reports(1), (std::vector<Message>{this->Report(mode, device, a)}));
        this->rig.ExpectHeard(a.header.heardTick.load(), again, 882);
        ASSERT_TRUE(device.UnprepareHeader(a.header));
        EXPECT_EQ(a.header.flags.load(), kHeaderDone);
        EXPECT_TRUE(device.UnprepareHeader(a.header));
        EXPECT_TRUE(device.Close());
    }
}

TYPED_TEST_P(AudioDeviceContract, ResetReportsEveryQueuedBufferBeforeItReturns) {
    LUMBREL_NEEDS_OUTPUT();
    for (const NotifyMode mode : kModes) {
        SCOPED_TRACE(ModeName(mode));
        auto& device = this->NewDevice();
        ASSERT_TRUE(this->Open(device, mode));
        TestBuffer& longOne = this->NewBuffer(44100 * 5, 1);
        TestBuffer& b = this->NewBuffer(441, 2);
        TestBuffer& c = this->NewBuffer(441, 3);
        const std::uint32_t written = this->Now();
        for (TestBuffer* t : {&longOne, &b, &c}) {
            this->Queue(device, *t);
        }
        ASSERT_TRUE(device.Reset());
        const std::uint32_t reset = this->Now();
        EXPECT_EQ(this->reports.Drain(),
                  (std::vector<Message>{this->Report(mode, device, longOne), this->Report(mode, device, b),
                                        this->Report(mode, device, c)}));
        for (TestBuffer* t : {&longOne, &b, &c}) {
            EXPECT_EQ(t->header.flags.load(), kHeaderPrepared | kHeaderDone);
            EXPECT_LE(t->header.heardTick.load() - written, reset - written) << "dropped, so heard at once";
        }
        EXPECT_TRUE(device.UnprepareHeader(longOne.header));
        EXPECT_TRUE(device.Reset());  // nothing queued: nothing reported
        EXPECT_TRUE(this->reports.Empty());

        // The device plays on: the next buffer starts at once.
        const std::uint32_t next = this->Now();
        ASSERT_TRUE(device.Write(b.header));
        EXPECT_EQ(this->Reports(1), (std::vector<Message>{this->Report(mode, device, b)}));
        this->rig.ExpectHeard(b.header.heardTick.load(), next, 441);
        this->ExpectQuiet();
        EXPECT_TRUE(device.Close());
    }
}

TYPED_TEST_P(AudioDeviceContract, CloseDropsQueuedBuffersUnreportedAndTheDeviceOpensAgain) {
    LUMBREL_NEEDS_OUTPUT();
    for (const NotifyMode mode : kModes) {
        SCOPED_TRACE(ModeName(mode));
        auto& device = this->NewDevice();
        ASSERT_TRUE(this->Open(device, mode));
        TestBuffer& longOne = this->NewBuffer(44100 * 5, 1);
        TestBuffer& b = this->NewBuffer(441, 2);
        this->Queue(device, longOne);
        this->Queue(device, b);
        ASSERT_TRUE(device.Close());
        EXPECT_FALSE(device.IsOpen());
        for (TestBuffer* t : {&longOne, &b}) {
            EXPECT_TRUE(t->header.IsDone());
            EXPECT_FALSE(t->header.IsQueued());
        }
        this->ExpectQuiet();
        EXPECT_EQ(device.Write(b.header).Error(), AudioError::NotOpen);
        EXPECT_EQ(device.Close().Error(), AudioError::NotOpen);

        // Opened again (in the other mode), it starts afresh at the current time.
        const NotifyMode other = mode == NotifyMode::Window ? NotifyMode::Callback : NotifyMode::Window;
        ASSERT_TRUE(this->Open(device, other));
        const std::uint32_t written = this->Now();
        this->Queue(device, b);
        EXPECT_EQ(this->Reports(1), (std::vector<Message>{this->Report(other, device, b)}));
        this->rig.ExpectHeard(b.header.heardTick.load(), written, 441);
        EXPECT_TRUE(device.Close());
    }
}

TYPED_TEST_P(AudioDeviceContract, CompletionCallbackKeepsTwoBuffersInFlight) {
    // The engine's pattern: two buffers primed, each completion queues one more into
    // the next of four headers, from the device's own thread. Odd lengths.
    LUMBREL_NEEDS_OUTPUT();
    constexpr int kTotal = 12;
    auto& device = this->NewDevice();
    std::vector<TestBuffer*> ring;
    for (int i = 0; i < 4; ++i) {
        ring.push_back(&this->NewBuffer(0, 0));
    }
    std::vector<std::vector<std::int16_t>> data(4);
    std::mutex queueing;  // the first two are written while the first may come home
    int queued = 0;
    AudioResult failed = AudioResult::Success();
    auto queueNext = [&] {
        std::lock_guard lock(queueing);
        if (queued == kTotal) {
            return;
        }
        AudioBufferHeader& h = ring[static_cast<std::size_t>(queued % 4)]->header;
        std::vector<std::int16_t>& values = data[static_cast<std::size_t>(queued % 4)];
        const auto frames = static_cast<std::size_t>(97 + 31 * queued);
        AudioResult r = device.UnprepareHeader(h);
        values.assign(frames * 2, static_cast<std::int16_t>(queued + 1));
        h.data = values.data();
        h.length = static_cast<std::uint32_t>(frames * 4);
        if (r) {
            r = device.PrepareHeader(h);
        }
        if (r) {
            r = device.Write(h);
        }
        if (!r && failed) {
            failed = r;
        }
        ++queued;
    };
    const CloseFirst closeFirst{device};
    const std::intptr_t handle = device.Handle();
    ASSERT_TRUE(device.Open(kTrainerAudioFormat, AudioNotification::ToCallback([&](AudioBufferHeader* h) {
                                queueNext();
                                this->reports.PostMessage(kBufferDoneMessage, handle,
                                                          reinterpret_cast<std::intptr_t>(h));
                            })));
    queueNext();
    queueNext();
    const std::vector<Message> got = this->Reports(kTotal);
    ASSERT_EQ(got.size(), std::size_t{kTotal});
    EXPECT_TRUE(failed) << failed.Text();
    RunList expected;
    for (int i = 0; i < kTotal; ++i) {
        expected.emplace_back(static_cast<std::int16_t>(i + 1), static_cast<std::size_t>(97 + 31 * i));
        EXPECT_EQ(got[static_cast<std::size_t>(i)].lParam,
                  reinterpret_cast<std::intptr_t>(&ring[static_cast<std::size_t>(i % 4)]->header));
    }
    this->ExpectQuiet();
    TypeParam::ExpectPlayed(device, expected);  // one unbroken stream, no gap anywhere
    EXPECT_TRUE(device.Close());
}

TYPED_TEST_P(AudioDeviceContract, ResetAndCloseFromItsCompletionCallbackAreRefused) {
    LUMBREL_NEEDS_OUTPUT();
    auto& device = this->NewDevice();
    TestBuffer& a = this->NewBuffer(441, 1);
    TestBuffer& b = this->NewBuffer(441, 2);
    std::mutex guard;
    std::vector<AudioError> refused;
    const CloseFirst closeFirst{device};
    const std::intptr_t handle = device.Handle();
    ASSERT_TRUE(device.Open(kTrainerAudioFormat, AudioNotification::ToCallback([&](AudioBufferHeader* h) {
                                if (h == &a.header) {
                                    const AudioError reset = device.Reset().Error();
                                    const AudioError close = device.Close().Error();
                                    std::lock_guard lock(guard);
                                    refused = {reset, close};
                                }
                                this->reports.PostMessage(kBufferDoneMessage, handle,
                                                          reinterpret_cast<std::intptr_t>(h));
                            })));
    this->Queue(device, a);
    this->Queue(device, b);
    EXPECT_EQ(this->Reports(2).size(), 2u);  // b played on: nothing was reset or closed
    {
        std::lock_guard lock(guard);
        EXPECT_EQ(refused, (std::vector<AudioError>{AudioError::WrongThread, AudioError::WrongThread}));
    }
    EXPECT_TRUE(device.IsOpen());
    EXPECT_TRUE(device.Close());
}

TYPED_TEST_P(AudioDeviceContract, SeveralDevicesPlayAtOnceAndCloseInAnyOrder) {
    // The trainer runs three streams; closing one must not stop the others.
    LUMBREL_NEEDS_OUTPUT();
    auto& first = this->NewDevice();
    auto& second = this->NewDevice();
    auto& third = this->NewDevice();
    for (auto* device : {&first, &second, &third}) {
        ASSERT_TRUE(this->Open(*device, NotifyMode::Window));
    }
    ASSERT_TRUE(second.Close());
    std::vector<TestBuffer*> mine = {&this->NewBuffer(441, 1), &this->NewBuffer(441, 2),
                                     &this->NewBuffer(441, 3)};
    TestBuffer& theirs = this->NewBuffer(661, 4);
    const std::uint32_t written = this->Now();
    for (TestBuffer* t : mine) {
        this->Queue(first, *t);
    }
    this->Queue(third, theirs);
    std::vector<Message> got = this->Reports(4);
    ASSERT_EQ(got.size(), 4u);
    if constexpr (TypeParam::kVirtual) {
        // One clock: the reports of both come in the order they were heard.
        EXPECT_EQ(got[1], this->Report(NotifyMode::Window, third, theirs));
    }
    std::vector<std::intptr_t> firstReports;
    for (const Message& m : got) {
        if (m.wParam == first.Handle()) {
            firstReports.push_back(m.lParam);
        } else {
            EXPECT_EQ(m, this->Report(NotifyMode::Window, third, theirs));
        }
    }
    ASSERT_EQ(firstReports.size(), 3u);
    for (std::size_t i = 0; i < mine.size(); ++i) {
        EXPECT_EQ(firstReports[i], reinterpret_cast<std::intptr_t>(&mine[i]->header));
        this->rig.ExpectHeard(mine[i]->header.heardTick.load(), written,
                              441 * static_cast<std::int64_t>(i + 1));
    }
    this->rig.ExpectHeard(theirs.header.heardTick.load(), written, 661);

    ASSERT_TRUE(first.Close());
    ASSERT_TRUE(this->Open(second, NotifyMode::Window));
    EXPECT_TRUE(third.Close());
    EXPECT_TRUE(second.Close());
}

REGISTER_TYPED_TEST_SUITE_P(AudioDeviceContract, ClosedDeviceRefusesEveryCallWithAText,
                            OpenDeviceRefusesHeadersItCannotPlay, ReportsEachBufferOnceInQueueOrderWhenHeard,
                            ResetReportsEveryQueuedBufferBeforeItReturns,
                            CloseDropsQueuedBuffersUnreportedAndTheDeviceOpensAgain,
                            CompletionCallbackKeepsTwoBuffersInFlight,
                            ResetAndCloseFromItsCompletionCallbackAreRefused,
                            SeveralDevicesPlayAtOnceAndCloseInAnyOrder);
INSTANTIATE_TYPED_TEST_SUITE_P(VirtualContract, AudioDeviceContract, VirtualRig);
INSTANTIATE_TYPED_TEST_SUITE_P(PortAudioContract, AudioDeviceContract, PortAudioRig);

}  // namespace
}  // namespace lumbrel
