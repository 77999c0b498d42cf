#pragma once
// The audio stream engine: four buffers that take turns on one device, one character
// per buffer. A run is primed with two completions that carry no buffer; each
// completion that comes home asks the owner whether to queue the next character, which
// the engine takes from a symbol source and has a renderer turn into samples. UI
// thread only; the device's thread only posts the completions to the window's queue.
//
//   Start ─► 2 primed completions ─► QueueNext ─► write ─► buffer done ─► QueueNext ...
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

#include "audio/AudioDevice.h"
#include "audio/Messages.h"
#include "audio/OutputGain.h"
#include "text/SymbolSource.h"

namespace lumbrel {

// Turns a source's symbols into samples.
class SlotRenderer {
public:
    virtual ~SlotRenderer() = default;
    // Whether position names a character that can be sent now.
    virtual bool Sendable(int position) const = 0;
    // What the display shows for it.
    virtual QString Display(int position) const = 0;
    // Renders its slot (joined: without closing gap and stretch) into dest, at most
    // capacityBytes; returns the bytes written, whole frames.
    virtual std::uint32_t Render(int position, bool joined, std::int16_t* dest,
                                 std::uint32_t capacityBytes) = 0;
};

// What the engine tells its owner besides completions.
class StreamListener {
public:
    virtual ~StreamListener() = default;
    // A device call failed; caption names the call. The engine goes on with the
    // buffers that are left and opens the device again before the next Open.
    virtual void StreamFault(const AudioResult& result, const QString& caption) = 0;
    // A buffer was filled and is about to be written (a recording takes it here).
    virtual void BufferFilled(const void* data, std::uint32_t bytes) {
        (void)data;
        (void)bytes;
    }
};

class AudioStreamEngine {
public:
    static constexpr std::uint32_t kBufferBytes = 2'205'000;  // 12.5 s of audio
    static constexpr int kBufferCount = 4;
    static constexpr int kPrimedCompletions = 2;
    // The output latency of the drills (a replay must start at once, a little more
    // would be heard as lag). Sessions ask for more: the sound server then has more
    // audio in hand when the machine is busy, while the buffers are still reported at
    // the moment they were heard, so the display and the heard times do not change.
    // Up to three units of the session's speed, below the shortest slot (a dot and its
    // character gap, four units), so that the next buffer is queued in time.
    static constexpr double kShortLatencySeconds = 0.045;
    static constexpr double kMaxSessionLatencySeconds = 0.150;
    static double SessionLatencySeconds(int wpm);

    AudioStreamEngine(AudioDevice& device, MessageTarget& window, StreamListener& listener);
    // The device may still hold the buffers; they go with the engine, so it is closed first.
    ~AudioStreamEngine();

    AudioStreamEngine(const AudioStreamEngine&) = delete;
    AudioStreamEngine& operator=(const AudioStreamEngine&) = delete;

    // Opens the device with fresh buffers. callbacks: completions come from the
    // device's thread as kBufferDoneMessage; otherwise the device posts them to the
    // window (kWaveOutDoneMessage), as the window's own queue relays them.
    AudioResult Open(bool callbacks);
    void Close();
    // Opens the device again in the mode of the last Open (after a failure, or when it
    // could not be opened); what is still on the device is dropped unreported.
    AudioResult Reopen() { return Open(callbacks_); }
    // Asks the device for this output latency, opening it again when it is open with
    // another one. Only while nothing of a run is left on the device unreported.
    AudioResult UseLatency(double seconds);
    bool IsOpen() const { return open_; }
    // Open, and no device call has failed since.
    bool Ready() const { return open_ && !reopen_; }

    // A run of source through renderer begins: the primed completions are posted.
    // recorded: the listener gets each buffer filled (BufferFilled). Returns the run's
    // number, which the completions of its buffers carry.
    std::uint32_t Start(SymbolSource& source, SlotRenderer& renderer, bool recorded = true);
    // Drops every buffer on the device at once (a short sound played again at a key);
    // their completions still come home, with the run they were written in.
    AudioResult Drop();
    // The last device failure told to the listener.
    const AudioResult& LastFault() const { return lastFault_; }

    // What a buffer-done message brought home.
    struct Completion {
        bool buffer = false;          // one of the buffers (false: a primed completion or a stray header)
        QString text;                 // the buffer's display text
        std::uint32_t run = 0;        // the run the buffer was written in
        std::uint32_t heardTick = 0;  // when its last frame was heard (or it was dropped)
    };
    Completion Complete(AudioBufferHeader* header);

    // Asks the source for the next symbol and queues it.
    enum class Queued {
        Buffer,       // written to the device
        Lost,         // the device refused it (StreamFault told why)
        SourceEnded,  // the source has nothing more
        NotSendable,  // the renderer cannot send what the source gave
    };
    struct QueueResult {
        Queued queued = Queued::SourceEnded;
        bool last = false;  // the source's time is up: nothing after this symbol
    };
    QueueResult QueueNext();

    // The volume applied to every buffer after it was handed to the listener (a
    // recording keeps the full level) and before it goes to the device.
    OutputGain& Gain() { return gain_; }

    // Completions still to come: primed ones and buffers in flight. At 0 nothing will
    // come home to carry a run on.
    int Pending() const { return pending_; }
    // Buffers written and not home yet.
    int InFlight() const { return inFlight_; }

private:
    void CloseDevice();
    void Fault(const AudioResult& result, const QString& caption);

    AudioDevice& device_;
    MessageTarget& window_;
    StreamListener& listener_;
    SymbolSource* source_ = nullptr;
    SlotRenderer* renderer_ = nullptr;
    bool callbacks_ = false;
    bool open_ = false;
    bool reopen_ = false;
    bool recorded_ = true;
    std::uint32_t run_ = 0;
    AudioResult lastFault_ = AudioResult::Success();
    OutputGain gain_;
    std::array<AudioBufferHeader, kBufferCount> buffers_{};
    std::array<std::vector<std::int16_t>, kBufferCount> data_;
    std::array<QString, kBufferCount> text_;          // display text of each queued buffer
    std::array<std::uint32_t, kBufferCount> runs_{};  // the run of each queued buffer
    int next_ = 0;
    int inFlight_ = 0;
    int pending_ = 0;
};

}  // namespace lumbrel
