#pragma once
// The sound card: an AudioDevice on PortAudio's default output device.
//
// One output stream runs from Open to Close and plays silence whenever no buffer is
// queued, so buffers written at any time start cleanly and the last one is heard to
// its end. Written buffers go to the audio callback through a lock-free single-
// producer single-consumer ring; the callback copies them into the output back to back,
// frame by frame, with no gap between buffers. When it has copied a buffer's last
// frame it pushes a completion carrying the moment that frame will have been heard
// (the stream's DAC time of the output plus the frame's offset in it) onto a second
// ring. A notifier thread owned by the device sleeps until that moment and then reports
// the buffer through the mode chosen at Open, in queue order.
//
// The audio callback allocates nothing, takes no lock and calls neither Qt nor the
// owner; its only system call is the post of a semaphore that wakes the notifier.
//
// A stream can stop on its own: the sound server goes away (PortAudio ends the stream),
// or hangs (the callback is no longer called). The notifier watches for both: a stream
// that ended without the owner stopping it, or that has produced nothing for
// kStallSeconds while buffers are queued, is taken over: the callback is shut out of
// the queue, and every buffer in flight is reported done at once, in queue order, so
// that the owner never waits for a report forever. From then on Write fails with
// HostError and the reason (StreamProblem), which is how the owner tells those reports
// from buffers that were heard; Close and Open make a new stream.
//
// Any number of devices may be open at once (the trainer runs three streams);
// PortAudio is initialised by the first and terminated by the last. What ALSA and JACK
// print while PortAudio probes them is dropped through those libraries' message hooks;
// the process's standard error is never redirected, so other messages still reach it.

#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "audio/AudioDevice.h"

namespace lumbrel {

// Initialises the audio system on a thread of its own, so that a program can build its
// windows meanwhile (probing the sound system takes about a tenth of a second); a
// device's Open waits for it. Destroying the object waits for the thread and gives up
// its hold on the audio system.
class PortAudioPreload {
public:
    // Any thread.
    PortAudioPreload();
    // The thread that made it; after every device has been closed or destroyed.
    ~PortAudioPreload();

    PortAudioPreload(const PortAudioPreload&) = delete;
    PortAudioPreload& operator=(const PortAudioPreload&) = delete;

private:
    // Before the thread, which sets it: members are initialised in this order.
    bool acquired_ = false;
    std::thread thread_;
};

class PortAudioDevice final : public AudioDevice {
public:
    // The stream's suggested output latency. Lower latency means a buffer is reported
    // done sooner after the callback copied it, so the next buffer has more time to
    // arrive; below 20 ms the sound server tends to run dry.
    static constexpr double kMinimumLatencySeconds = 0.020;
    static constexpr double kDefaultLatencySeconds = 0.045;
    // Buffers written and not yet reported done, at most.
    static constexpr int kMaxBuffersInFlight = 64;
    // Nothing played for this long while buffers are queued: the stream has stopped.
    static constexpr double kStallSeconds = 2.0;

    // Owner thread. Latencies below the minimum are raised to it.
    explicit PortAudioDevice(double suggestedLatencySeconds = kDefaultLatencySeconds);
    // Owner thread, not from the completion callback. Closes the device when open.
    ~PortAudioDevice() override;

    // Owner thread, as AudioDevice says. Reset and Close refuse (WrongThread) when
    // called from the completion callback.
    AudioResult Open(const AudioFormat& format, AudioNotification notification) override;
    AudioResult PrepareHeader(AudioBufferHeader& header) override;
    AudioResult Write(AudioBufferHeader& header) override;
    AudioResult UnprepareHeader(AudioBufferHeader& header) override;
    AudioResult Reset() override;
    AudioResult Close() override;
    bool IsOpen() const override;
    // Owner thread. Raised to kMinimumLatencySeconds as in the constructor.
    bool SuggestLatency(double seconds) override;
    bool UseLowestLatency(bool on) override;
    bool AttachLiveSound(LiveSound* sound) override;

    // Any thread. The output latency the open stream reports, in seconds (0 when closed).
    double OutputLatencySeconds() const;
    // Any thread. Frames the stream has produced since Open, silence included.
    std::uint64_t FramesOutput() const;
    // Any thread. Callbacks since Open for which the audio system reported an output
    // underflow (audio it had to make up).
    std::uint64_t UnderflowCount() const;
    // Any thread. Why the open stream stopped playing on its own (its sound server went
    // away, or nothing played for kStallSeconds while buffers were queued); empty while
    // it plays.
    std::string StreamProblem() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace lumbrel
