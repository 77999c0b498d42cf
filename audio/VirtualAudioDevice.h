#pragma once
// An audio device without sound: time comes from a VirtualClock, and what would have
// been heard is handed to a sink. Used by the unit tests and by the offline renderer.
//
// Timing is kept in frames on a timeline that starts at Open (frame 0 = the clock's
// ElapsedMs at Open; the timeline is at frame floor(ms * 44100 / 1000) after `ms`).
// A written buffer of n frames starts where the previous one ends, or at the current
// frame when nothing is queued, and is done once the timeline reaches its end frame,
// that is at the first whole millisecond whose frame is at or past the end. Buffer
// lengths are never rounded to milliseconds, so any number of buffers stays
// frame-exact.
//
// Completions are reported on the thread that advances the clock, synchronously,
// through the mode chosen at Open; Reset reports the dropped buffers in the calling
// thread before it returns. A completion callback may call PrepareHeader, Write and
// UnprepareHeader of the same device; Reset and Close fail there with WrongThread, as
// they do on a device with a thread of its own.
//
// Every call may be made to fail on purpose (InjectFailure) to test failure paths.
// A failed call changes nothing. A device that was never opened, failed to open or was
// closed fails every call with NotOpen.
//
// Threads: the owner calls and the clock advances from one thread at a time; the
// device's state is locked, so it is safe, but interleaving two threads gives no
// useful timing.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "audio/AudioDevice.h"
#include "audio/Clock.h"

namespace lumbrel {

class VirtualAudioDevice final : public AudioDevice, private VirtualClock::Listener {
public:
    enum class Call { Open, PrepareHeader, Write, UnprepareHeader, Reset, Close };
    static constexpr int kCallKinds = 6;
    static constexpr int kEveryCall = -1;

    // Receives what is heard, as one contiguous stream of bytes: each buffer's bytes
    // once it has played (only its heard part when Reset or Close cut it short), and
    // zero bytes for silence between buffers. Silence before the first buffer is not
    // included.
    using PlaySink = std::function<void(const std::uint8_t* bytes, std::size_t count)>;

    // Owner thread. The clock must outlive the device.
    explicit VirtualAudioDevice(VirtualClock& clock);
    // Owner thread. Closes the device when open.
    ~VirtualAudioDevice() override;

    // Owner thread, as AudioDevice says; Reset reports in the calling thread.
    AudioResult Open(const AudioFormat& format, AudioNotification notification) override;
    AudioResult PrepareHeader(AudioBufferHeader& header) override;
    AudioResult Write(AudioBufferHeader& header) override;
    AudioResult UnprepareHeader(AudioBufferHeader& header) override;
    AudioResult Reset() override;
    AudioResult Close() override;
    bool IsOpen() const override;

    // Owner thread. Makes the next `count` calls of kind `call` (every one with
    // kEveryCall) fail with AudioError::Injected and `text` (a default text when empty).
    void InjectFailure(Call call, std::string text = {}, int count = kEveryCall);
    // Owner thread. No call fails on purpose any more.
    void ClearFailures();
    // Owner thread. How often `call` was made since construction, failed ones included.
    int CallCount(Call call) const;

    // Owner thread. Also gets everything heard from now on.
    void SetPlaySink(PlaySink sink);
    // Owner thread. Also gets each heard piece of a buffer with the frame at which it
    // began, counted from the clock's ElapsedMs 0 (44.1 frames per millisecond), so
    // that the streams of several devices on one clock can be mixed.
    using TimedPlaySink =
        std::function<void(std::int64_t clockFrame, const std::uint8_t* bytes, std::size_t count)>;
    void SetTimedPlaySink(TimedPlaySink sink);
    // Owner thread. Gets each buffer as it is accepted by Write, before it plays.
    using WriteSink = std::function<void(const AudioBufferHeader& header)>;
    void SetWriteSink(WriteSink sink);
    // Owner thread. Whether heard bytes are also kept for PlayedBytes (on at start).
    void KeepPlayedBytes(bool keep);
    // Owner thread. Everything heard so far, as given to the sink.
    std::vector<std::uint8_t> PlayedBytes() const;
    // Owner thread. As PlayedBytes, and forgets them.
    std::vector<std::uint8_t> TakePlayedBytes();

    // Owner thread. Buffers written and not yet reported done.
    std::size_t QueuedCount() const;
    // Owner thread. The timeline position now, in frames since Open (0 when closed).
    std::int64_t NowFrames() const;
    // Owner thread. The clock's ElapsedMs at which the next buffer will be done.
    std::optional<std::int64_t> NextCompletionMs() const;

private:
    struct Queued {
        AudioBufferHeader* header = nullptr;
        std::int64_t startFrame = 0;
        std::int64_t endFrame = 0;
    };
    struct Failure {
        int remaining = 0;  // kEveryCall: always
        std::string text;
    };
    struct Heard {
        std::int64_t silenceFrames = 0;  // zero frames that come first
        const std::uint8_t* bytes = nullptr;
        std::size_t count = 0;
        std::int64_t clockFrame = 0;  // where `bytes` begin on the clock's frame line
    };

    // Advancing thread: when the front buffer is done; reports every buffer done by now.
    std::optional<std::int64_t> NextDueMs() const override;
    void OnClockAdvanced(std::int64_t elapsedMs) override;

    // All below: called with mutex_ held.
    std::optional<AudioResult> Begin(Call call);
    std::int64_t NowFramesLocked() const;
    std::int64_t DueMsLocked(std::int64_t frame) const;
    Heard TakeHeardLocked(const Queued& buffer, std::int64_t heardFrames);
    std::vector<AudioBufferHeader*> DropQueueLocked(std::vector<Heard>& heard);

    // Called without mutex_ held.
    void EmitHeard(const Heard& heard);
    void Notify(AudioBufferHeader* header);
    // Whether this thread is inside a completion report of this device.
    bool Reporting() const;

    VirtualClock& clock_;
    mutable std::mutex mutex_;
    bool open_ = false;
    AudioNotification notification_;
    std::int64_t openMs_ = 0;
    std::int64_t lastEndFrame_ = 0;    // end of the last written buffer
    std::int64_t heardEndFrame_ = -1;  // end of what the sink has been given; -1: nothing yet
    std::deque<Queued> queue_;
    std::array<Failure, kCallKinds> failures_{};
    std::array<int, kCallKinds> callCounts_{};
    PlaySink sink_;
    TimedPlaySink timedSink_;
    WriteSink writeSink_;
    bool keepPlayed_ = true;
    std::vector<std::uint8_t> played_;
    std::atomic<std::thread::id> reporting_{};  // the thread inside a report, if any
};

}  // namespace lumbrel
