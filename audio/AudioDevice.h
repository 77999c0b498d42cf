#pragma once
// The waveform-output device the session engine plays through.
//
// The engine hands the device buffers of 16-bit stereo frames, one character per
// buffer. The device plays them back to back in the order written and reports each one
// as done once its last frame has been heard, again in the order written. The owner
// keeps every header and its data alive and untouched while the header is queued.
//
// Life of a header:  PrepareHeader -> Write -> (played) -> done reported -> Unprepare,
// or Write again after the done report. Flags show where a header is.
//
// Completion reports come in one of two ways, chosen at Open:
//   callback mode: a function called on a thread owned by the device (never the audio
//                  system's real-time thread); it is meant only to post a message;
//   window mode:   the device posts kWaveOutDoneMessage (957) to a MessageTarget with
//                  wParam = Handle() and lParam = the header.
//
// Threads: every method below is called by the device's owner, one call at a time
// (normally the UI thread), unless its comment says otherwise. Reset and Close must not
// be called from inside the device's own completion callback.
//
// Nothing here throws; every call returns an AudioResult whose text is shown to the
// user when it fails.

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "morse/SampleFormat.h"

namespace lumbrel {

class MessageTarget;
class LiveSound;

// The PCM format record given to Open. Devices accept only the trainer's format:
// PCM, 2 channels, 44100 frames per second, 16 bits, 4-byte frames, 176400 bytes per
// second, no extra bytes.
struct AudioFormat {
    int formatTag = 1;  // 1: PCM
    int channels = audio::kChannels;
    int framesPerSecond = audio::kFrameRate;
    int bytesPerSecond = audio::kByteRate;
    int blockAlign = audio::kBlockAlign;  // bytes per frame
    int bitsPerSample = audio::kBitsPerSample;
    int extraSize = 0;

    friend bool operator==(const AudioFormat&, const AudioFormat&) = default;
};

inline constexpr AudioFormat kTrainerAudioFormat{};

// Header flags. The device sets and clears them; the owner only reads them.
inline constexpr std::uint32_t kHeaderDone = 0x01;      // played (or dropped by Reset)
inline constexpr std::uint32_t kHeaderPrepared = 0x02;  // between PrepareHeader and UnprepareHeader
inline constexpr std::uint32_t kHeaderInQueue = 0x10;   // written and not yet reported done

// One audio buffer as the device sees it.
struct AudioBufferHeader {
    void* data = nullptr;      // the frames: interleaved 16-bit little-endian values
    std::uint32_t length = 0;  // bytes to play; a multiple of 4 (whole frames)
    std::intptr_t user = 0;    // the owner's value, untouched by the device
    std::atomic<std::uint32_t> flags{0};
    // Set by the device before it reports the header done: the moment the buffer's last
    // frame was heard (left the speaker), as a Clock::TickCount of the clock the
    // device runs on. A buffer dropped by Reset or Close gets the moment it was dropped.
    std::atomic<std::uint32_t> heardTick{0};

    AudioBufferHeader() = default;
    // Copies are for resetting a header that is not queued (header = {}).
    AudioBufferHeader(const AudioBufferHeader& other)
        : data(other.data),
          length(other.length),
          user(other.user),
          flags(other.flags.load(std::memory_order_acquire)),
          heardTick(other.heardTick.load(std::memory_order_acquire)) {}
    AudioBufferHeader& operator=(const AudioBufferHeader& other) {
        data = other.data;
        length = other.length;
        user = other.user;
        flags.store(other.flags.load(std::memory_order_acquire), std::memory_order_release);
        heardTick.store(other.heardTick.load(std::memory_order_acquire), std::memory_order_release);
        return *this;
    }

    // Any thread.
    bool IsPrepared() const { return (flags.load(std::memory_order_acquire) & kHeaderPrepared) != 0; }
    bool IsQueued() const { return (flags.load(std::memory_order_acquire) & kHeaderInQueue) != 0; }
    bool IsDone() const { return (flags.load(std::memory_order_acquire) & kHeaderDone) != 0; }
};

// How completions are reported; fixed at Open.
enum class NotifyMode { Callback, Window };

// Called once per finished buffer, in queue order, on a device-owned thread.
using BufferDoneCallback = std::function<void(AudioBufferHeader* header)>;

struct AudioNotification {
    NotifyMode mode = NotifyMode::Window;
    BufferDoneCallback callback;      // callback mode
    MessageTarget* window = nullptr;  // window mode; must outlive the open device

    static AudioNotification ToCallback(BufferDoneCallback done) {
        AudioNotification n;
        n.mode = NotifyMode::Callback;
        n.callback = std::move(done);
        return n;
    }
    static AudioNotification ToWindow(MessageTarget& target) {
        AudioNotification n;
        n.mode = NotifyMode::Window;
        n.window = &target;
        return n;
    }
};

enum class AudioError {
    None,
    NotOpen,  // never opened, failed to open, or closed
    AlreadyOpen,
    NoDevice,          // no output device on this machine
    BadFormat,         // anything but kTrainerAudioFormat
    InvalidParameter,  // missing callback or target, null data, partial frame
    Unprepared,        // Write of a header that was not prepared
    StillPlaying,      // Write or Unprepare of a header that is queued
    QueueFull,         // more headers in flight than the device can hold
    WrongThread,       // Reset or Close from inside the device's completion callback
    HostError,         // the audio system refused; the text is the audio system's
    Injected,          // a failure made on purpose by a test device
};

// The text shown for an error when the audio system gives none of its own.
inline const char* AudioErrorText(AudioError error) {
    switch (error) {
        case AudioError::None:
            return "The operation completed successfully.";
        case AudioError::NotOpen:
            return "The audio output device is not open.";
        case AudioError::AlreadyOpen:
            return "The audio output device is already open.";
        case AudioError::NoDevice:
            return "No audio output device is available.";
        case AudioError::BadFormat:
            return "The audio format is not supported: only 16-bit stereo PCM at 44100 Hz is.";
        case AudioError::InvalidParameter:
            return "An invalid parameter was passed to the audio device.";
        case AudioError::Unprepared:
            return "The audio buffer was not prepared.";
        case AudioError::StillPlaying:
            return "The audio buffer is still in the queue.";
        case AudioError::QueueFull:
            return "Too many audio buffers are queued.";
        case AudioError::WrongThread:
            return "The audio device cannot be reset or closed from its own completion callback.";
        case AudioError::HostError:
            return "The audio system reported an error.";
        case AudioError::Injected:
            return "The audio device failed (simulated).";
    }
    return "Unknown audio error.";
}

// Success, or an error with the text to show.
class [[nodiscard]] AudioResult {
public:
    static AudioResult Success() { return AudioResult(AudioError::None, {}); }
    static AudioResult Failure(AudioError error, std::string text = {}) {
        if (text.empty()) {
            text = AudioErrorText(error);
        }
        return AudioResult(error, std::move(text));
    }

    bool Ok() const { return error_ == AudioError::None; }
    explicit operator bool() const { return Ok(); }
    AudioError Error() const { return error_; }
    // UTF-8; empty on success.
    const std::string& Text() const { return text_; }

private:
    AudioResult(AudioError error, std::string text) : error_(error), text_(std::move(text)) {}

    AudioError error_;
    std::string text_;
};

class AudioDevice {
public:
    virtual ~AudioDevice() = default;
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    // Owner thread. Opens the default output with `format` and the completion route.
    // Callback mode needs a callback, window mode a target.
    virtual AudioResult Open(const AudioFormat& format, AudioNotification notification) = 0;

    // Owner thread. Marks the header prepared; preparing a prepared header succeeds.
    virtual AudioResult PrepareHeader(AudioBufferHeader& header) = 0;

    // Owner thread. Queues a prepared header behind those already queued. Its frames
    // start the moment the previous buffer's last frame has played (at once when
    // nothing is playing). Clears kHeaderDone, sets kHeaderInQueue.
    virtual AudioResult Write(AudioBufferHeader& header) = 0;

    // Owner thread. Clears kHeaderPrepared; fails with StillPlaying while queued;
    // unpreparing a header that is not prepared succeeds.
    virtual AudioResult UnprepareHeader(AudioBufferHeader& header) = 0;

    // Owner thread, not from the completion callback. Stops what is playing, drops
    // every queued buffer and reports each one done, in queue order, before returning.
    virtual AudioResult Reset() = 0;

    // Owner thread, not from the completion callback. Stops playback and closes the
    // device. Buffers still queued are marked done but not reported; no report arrives
    // after Close returns. Every later call fails with NotOpen until the next Open.
    virtual AudioResult Close() = 0;

    // Any thread.
    virtual bool IsOpen() const = 0;

    // Owner thread. The output latency to ask the audio system for at the next Open;
    // true when the open stream was opened with another one (Open again to apply it).
    // Devices without a latency of their own ignore it.
    virtual bool SuggestLatency(double seconds) {
        (void)seconds;
        return false;
    }
    // Owner thread. The smallest output latency the audio system grants, asked for at
    // the next Open instead of the suggested one while `on` (a key's sidetone).
    virtual bool UseLowestLatency(bool on) {
        (void)on;
        return false;
    }
    // Any thread. Sound the audio callback adds to its output (nullptr: none); the
    // object must outlive the device or its next AttachLiveSound. False when the device
    // makes no sound in a callback of its own.
    virtual bool AttachLiveSound(LiveSound* sound) {
        (void)sound;
        return false;
    }

    // Any thread. The wParam of this device's kWaveOutDoneMessage.
    std::intptr_t Handle() const { return reinterpret_cast<std::intptr_t>(this); }

protected:
    AudioDevice() = default;
};

// Any thread. Why a header cannot be written now: data that is not whole frames, a
// header that was not prepared, or one still queued; nothing when it can.
inline std::optional<AudioResult> CheckWritable(const AudioBufferHeader& header) {
    constexpr std::uint32_t kBytesPerFrame = audio::kBlockAlign;
    if ((header.data == nullptr && header.length > 0) || header.length % kBytesPerFrame != 0) {
        return AudioResult::Failure(AudioError::InvalidParameter,
                                    "The audio buffer is not a whole number of 4-byte frames.");
    }
    if (!header.IsPrepared()) {
        return AudioResult::Failure(AudioError::Unprepared);
    }
    if (header.IsQueued()) {
        return AudioResult::Failure(AudioError::StillPlaying);
    }
    return std::nullopt;
}

// Any thread. True when `format` is the one format the devices play.
inline bool IsSupportedFormat(const AudioFormat& format) {
    return format == kTrainerAudioFormat;
}

}  // namespace lumbrel
