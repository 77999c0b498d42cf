#include "audio/PortAudioDevice.h"

#include "audio/LiveSound.h"

#ifdef LUMBREL_HAVE_ALSA
#include <alsa/asoundlib.h>
#endif

#include <portaudio.h>

#include <dlfcn.h>
#include <semaphore.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "audio/Messages.h"

namespace lumbrel {

namespace {

constexpr int kFrameRate = audio::kFrameRate;
constexpr int kChannels = audio::kChannels;
constexpr std::uint32_t kBytesPerFrame = audio::kBlockAlign;
constexpr std::int64_t kNsPerSecond = 1'000'000'000;
// How long the notifier sleeps when nothing is pending before it looks again (it is
// woken earlier by every completion). It is also how often the stream's health is
// looked at.
constexpr std::int64_t kIdleWaitNs = 200'000'000;
// A stream that has played before and then produces nothing for this long while
// buffers are queued is taken as stopped (a sound server that hangs). Before its first
// callback a stream gets longer: a sound server may take a while to start pulling it.
constexpr std::int64_t kStallNs = static_cast<std::int64_t>(PortAudioDevice::kStallSeconds * 1e9);
constexpr std::int64_t kFirstCallbackGraceNs = 5'000'000'000;

// ---- PortAudio, shared by every device of the process ----

// Serialises PortAudio's global calls (initialise, terminate, open, close, start,
// abort) across devices; never taken by an audio callback or a notifier.
std::mutex& PortAudioMutex() {
    static std::mutex mutex;
    return mutex;
}

int& PortAudioUsers() {
    static int users = 0;
    return users;
}

// Streams of the process open at the moment; under PortAudioMutex.
int& OpenStreams() {
    static int streams = 0;
    return streams;
}

std::string PortAudioErrorText(PaError error) {
    std::string text = Pa_GetErrorText(error);
    if (error == paUnanticipatedHostError) {
        const PaHostErrorInfo* info = Pa_GetLastHostErrorInfo();
        if (info != nullptr && info->errorText != nullptr && info->errorText[0] != '\0') {
            text += ": ";
            text += info->errorText;
        }
    }
    return text;
}

AudioResult HostFailure(PaError error) {
    return AudioResult::Failure(AudioError::HostError, PortAudioErrorText(error));
}

#ifdef LUMBREL_HAVE_ALSA
// ALSA reports the devices it probes and the underruns it recovers from; the user has
// no use for either, and the stream recovers by itself. Does nothing, allocates nothing.
void SilentAlsaError(const char*, int, const char*, int, const char*, ...) {}
#endif

// JACK reports that no JACK server runs each time PortAudio looks for one.
void SilentJackMessage(const char*) {}

// The sound libraries' own messages are dropped through the hooks they offer for them,
// where they are produced and on the thread that produces them. Nothing else of the
// process loses its standard error. JACK is reached through PortAudio, so its hooks
// are looked up in the process rather than linked; a PortAudio without JACK has none.
// With PortAudioMutex held; before and after PortAudio starts (which may load JACK).
void QuietSoundLibrariesLocked() {
#ifdef LUMBREL_HAVE_ALSA
    snd_lib_error_set_handler(SilentAlsaError);
#endif
    using SetJackHandler = void (*)(void (*)(const char*));
    for (const char* name : {"jack_set_error_function", "jack_set_info_function"}) {
        if (void* hook = ::dlsym(RTLD_DEFAULT, name)) {
            reinterpret_cast<SetJackHandler>(hook)(SilentJackMessage);
        }
    }
}

// With PortAudioMutex held.
PaError AcquirePortAudioLocked() {
    int& users = PortAudioUsers();
    if (users == 0) {
        QuietSoundLibrariesLocked();
        const PaError error = Pa_Initialize();
        QuietSoundLibrariesLocked();
        if (error != paNoError) {
            return error;
        }
    }
    ++users;
    return paNoError;
}

// With PortAudioMutex held.
void ReleasePortAudioLocked() {
    int& users = PortAudioUsers();
    if (users > 0 && --users == 0) {
        Pa_Terminate();
    }
}

// With PortAudioMutex held, a user holding it and no stream open: terminates and
// initialises the audio system again, which lists the devices anew. Should the new
// start fail, the device's Open fails with no device, and the next Open tries again.
void RestartPortAudioLocked() {
    Pa_Terminate();
    (void)Pa_Initialize();
}

std::int64_t SteadyNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::int64_t FramesToNs(std::uint64_t frames) {
    return static_cast<std::int64_t>(frames) * kNsPerSecond / kFrameRate;
}

void MarkDone(AudioBufferHeader& header) {
    header.flags.fetch_or(kHeaderDone, std::memory_order_acq_rel);
    header.flags.fetch_and(~kHeaderInQueue, std::memory_order_acq_rel);
}

// A fixed-size lock-free ring for one producer thread and one consumer thread.
// The role of either side may pass to another thread only across a synchronising
// event (here: stopping the stream, which joins the audio thread).
template <typename T, std::size_t N>
class SpscRing {
    static_assert(N > 0 && (N & (N - 1)) == 0, "capacity must be a power of two");

public:
    // Producer. False when full.
    bool Push(const T& value) {
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) == N) {
            return false;
        }
        slots_[tail & (N - 1)] = value;
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }
    // Consumer. False when empty.
    bool Peek(T& value) const {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire)) {
            return false;
        }
        value = slots_[head & (N - 1)];
        return true;
    }
    // Consumer. False when empty.
    bool Pop(T& value) {
        if (!Peek(value)) {
            return false;
        }
        DropFront();
        return true;
    }
    // Consumer, after a successful Peek.
    void DropFront() { head_.store(head_.load(std::memory_order_relaxed) + 1, std::memory_order_release); }

private:
    std::array<T, N> slots_{};
    alignas(64) std::atomic<std::size_t> head_{0};
    alignas(64) std::atomic<std::size_t> tail_{0};
};

}  // namespace

struct PortAudioDevice::Impl {
    // A written buffer on its way to the audio callback.
    struct Pending {
        AudioBufferHeader* header = nullptr;
        const std::uint8_t* data = nullptr;
        std::uint32_t frames = 0;
        std::uint64_t sequence = 0;  // 1, 2, 3, ... in write order
    };
    // A buffer whose last frame has been copied out: reported once the steady clock
    // reaches heardNs.
    struct Completion {
        AudioBufferHeader* header = nullptr;
        std::uint64_t sequence = 0;
        std::int64_t heardNs = 0;
    };

    Impl(AudioDevice& device, double latency) : owner(device), suggestedLatency(latency) {
        ::sem_init(&wake, 0, 0);
    }
    ~Impl() { ::sem_destroy(&wake); }
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    // Why the stream stopped on its own; kPlaying while it plays.
    enum Loss : int { kPlaying = 0, kStreamEnded = 1, kStreamStalled = 2 };

    static int StreamCallback(const void* input, void* output, unsigned long frameCount,
                              const PaStreamCallbackTimeInfo* timeInfo, PaStreamCallbackFlags statusFlags,
                              void* userData);
    static void StreamFinished(void* userData);
    int Render(std::uint8_t* out, unsigned long frames, const PaStreamCallbackTimeInfo* timeInfo,
               PaStreamCallbackFlags statusFlags);
    int RenderQueued(std::uint8_t* out, unsigned long frames, const PaStreamCallbackTimeInfo* timeInfo,
                     PaStreamCallbackFlags statusFlags);
    std::int64_t HeardDelayNs(const PaStreamCallbackTimeInfo* timeInfo) const;

    void NotifierLoop();
    // With PortAudioMutex held. Opens a stream on the default output device.
    static AudioResult OpenDefaultStreamLocked(Impl& d, PaStream** stream, PaStreamParameters* parameters);
    // Notifier thread. Whether the stream still plays; when not, takes over.
    void WatchStream(std::uint64_t& lastFrames, std::int64_t& lastProgressNs);
    // Notifier thread. The stream has stopped on its own: the callback is shut out of
    // the rings, and every buffer it held or had not yet taken becomes a completion due
    // at once, so that no buffer waits for a report forever.
    void TakeOver(Loss loss);
    // Notifier thread, after TakeOver: buffers written since are reported at once.
    void DrainPending();
    void Deliver(const Completion& completion);
    void WaitUntil(std::int64_t steadyNs);
    void StartNotifier();
    void StopNotifier();
    bool OnNotifierThread() const {
        return notifier.joinable() && std::this_thread::get_id() == notifier.get_id();
    }
    // Owner, while the stream is stopped: everything the callback holds or has not yet
    // taken becomes a completion that is due at once.
    void FlushToCompletions();
    // Owner, after the stream is closed and the notifier joined: everything in flight
    // is marked done without a report.
    void DropAll();
    Loss LossNow() const { return static_cast<Loss>(loss.load(std::memory_order_acquire)); }
    static const char* LossText(Loss why);

    AudioDevice& owner;
    double suggestedLatency;
    bool lowestLatency = false;             // owner: ask for the device's lowest latency
    std::atomic<LiveSound*> live{nullptr};  // mixed into every callback's output

    // Serialises the owner's calls. Never taken by the audio callback or the notifier.
    std::mutex apiMutex;
    std::atomic<bool> open{false};
    AudioNotification notification;  // set before the notifier starts, cleared after it stops
    PaStream* stream = nullptr;
    std::atomic<double> outputLatency{0.0};
    std::int64_t outputLatencyNs = 0;  // written before the stream starts
    std::uint64_t lastSequence = 0;    // owner

    // Producer: the owner (Write). Consumer: the audio callback; the owner while the
    // stream is stopped.
    SpscRing<Pending, kMaxBuffersInFlight> pending;
    // Producer: the audio callback; the owner while the stream is stopped.
    // Consumer: the notifier; the owner after the notifier is joined.
    SpscRing<Completion, kMaxBuffersInFlight> completions;

    // The audio callback's own state; the owner touches it only while the stream is
    // stopped.
    Pending current;
    bool hasCurrent = false;
    std::uint32_t offset = 0;  // frames of `current` already copied out

    std::atomic<std::uint64_t> framesOutput{0};
    std::atomic<std::uint64_t> underflows{0};
    std::atomic<int> inFlight{0};                // written and not yet reported
    std::atomic<std::uint64_t> flushThrough{0};  // sequences up to this are due at once
    std::atomic<bool> stopping{false};
    sem_t wake{};  // posted by the audio callback for every batch of completions
    std::thread notifier;

    // The stream stopping on its own. ownerStopping is set while the owner aborts the
    // stream (Reset, Close), whose finished report is no news; streamEnded is set by any
    // other finished report. loss: kPlaying until the notifier took over.
    std::atomic<bool> ownerStopping{false};
    std::atomic<bool> streamEnded{false};
    std::atomic<int> loss{kPlaying};
    // The hand-over of the callback's end of the rings to the notifier: the callback
    // marks itself rendering and then looks for `abandoned`; the notifier sets
    // `abandoned` and then waits until the callback is not rendering. (Both in
    // sequentially consistent order, so one of them always sees the other.)
    std::atomic<bool> rendering{false};
    std::atomic<bool> abandoned{false};
    // Keeps the notifier's take-over apart from the owner's Reset, which also moves
    // the callback's queue while the stream is stopped. Never taken by the callback.
    std::mutex takeOverMutex;

    std::mutex deliveredMutex;
    std::condition_variable deliveredChanged;
    std::uint64_t deliveredSequence = 0;  // guarded by deliveredMutex
};

int PortAudioDevice::Impl::StreamCallback(const void* /*input*/, void* output, unsigned long frameCount,
                                          const PaStreamCallbackTimeInfo* timeInfo,
                                          PaStreamCallbackFlags statusFlags, void* userData) {
    return static_cast<Impl*>(userData)->Render(static_cast<std::uint8_t*>(output), frameCount, timeInfo,
                                                statusFlags);
}

// The thread that ends the stream (the audio thread as it exits, or the owner's abort).
// Only flags and a post of the semaphore, as in the audio callback.
void PortAudioDevice::Impl::StreamFinished(void* userData) {
    Impl& d = *static_cast<Impl*>(userData);
    if (d.ownerStopping.load(std::memory_order_acquire)) {
        return;
    }
    d.streamEnded.store(true, std::memory_order_release);
    ::sem_post(&d.wake);
}

// Audio thread. Silence once the notifier has taken the queue over (a stream that
// stalled and came back); otherwise the queued buffers.
int PortAudioDevice::Impl::Render(std::uint8_t* out, unsigned long frames,
                                  const PaStreamCallbackTimeInfo* timeInfo,
                                  PaStreamCallbackFlags statusFlags) {
    rendering.store(true, std::memory_order_seq_cst);
    int result = paContinue;
    if (abandoned.load(std::memory_order_seq_cst)) {
        std::memset(out, 0, frames * kBytesPerFrame);
        framesOutput.fetch_add(frames, std::memory_order_relaxed);
    } else {
        result = RenderQueued(out, frames, timeInfo, statusFlags);
    }
    if (LiveSound* sound = live.load(std::memory_order_acquire)) {
        const std::uint64_t first = framesOutput.load(std::memory_order_relaxed) - frames;
        const std::int64_t nowNs = SteadyNs();
        sound->Mix(reinterpret_cast<std::int16_t*>(out), static_cast<std::uint32_t>(frames), first, nowNs / 1000,
                   (nowNs + HeardDelayNs(timeInfo)) / 1000);
    }
    rendering.store(false, std::memory_order_seq_cst);
    return result;
}

// Audio thread. How long after now this output's first frame is heard.
std::int64_t PortAudioDevice::Impl::HeardDelayNs(const PaStreamCallbackTimeInfo* timeInfo) const {
    std::int64_t delayNs = outputLatencyNs;
    if (timeInfo != nullptr && timeInfo->currentTime > 0 &&
        timeInfo->outputBufferDacTime > timeInfo->currentTime) {
        const double reported = timeInfo->outputBufferDacTime - timeInfo->currentTime;
        delayNs = std::max(delayNs, static_cast<std::int64_t>(reported * static_cast<double>(kNsPerSecond)));
    }
    return delayNs;
}

// Audio thread. Fills `frames` frames from the queued buffers, back to back, and
// silence after the last one.
int PortAudioDevice::Impl::RenderQueued(std::uint8_t* out, unsigned long frames,
                                        const PaStreamCallbackTimeInfo* timeInfo,
                                        PaStreamCallbackFlags statusFlags) {
    const std::int64_t nowNs = SteadyNs();
    // When this output's first frame will be heard, as a delay from now: the stream's
    // outputBufferDacTime - currentTime, both in stream time, so the difference holds on
    // the steady clock too. The notifier never asks the stream for its time; it waits on
    // the steady clock. Right after a start the stream reports too little: 0 on the first
    // callback, and then only what the driver has buffered so far (the sound server's
    // share comes later). A frame copied out now is never heard sooner than the stream's
    // output latency, so that is the floor; once running, the reports lie at or above it
    // (e.g. 29.6 ms against 29.9 ms, 49.6 ms against 40 ms).
    const std::int64_t firstHeardNs = nowNs + HeardDelayNs(timeInfo);
    if ((statusFlags & paOutputUnderflow) != 0) {
        underflows.fetch_add(1, std::memory_order_relaxed);
    }

    unsigned long filled = 0;
    bool completed = false;
    for (;;) {
        if (!hasCurrent) {
            if (!pending.Pop(current)) {
                break;
            }
            hasCurrent = true;
            offset = 0;
        }
        const unsigned long count = std::min<unsigned long>(frames - filled, current.frames - offset);
        if (count > 0) {
            std::memcpy(out + filled * kBytesPerFrame, current.data + std::size_t{offset} * kBytesPerFrame,
                        count * kBytesPerFrame);
            filled += count;
            offset += static_cast<std::uint32_t>(count);
        }
        if (offset < current.frames) {
            break;  // the output is full; the buffer goes on in the next callback
        }
        // Its last frame sits just before `filled` and has been heard once the output
        // has played up to there.
        const Completion done{current.header, current.sequence, firstHeardNs + FramesToNs(filled)};
        if (!completions.Push(done)) {
            break;  // cannot happen (rings hold every buffer in flight); retried next time
        }
        hasCurrent = false;
        completed = true;
    }
    if (filled < frames) {
        std::memset(out + filled * kBytesPerFrame, 0, (frames - filled) * kBytesPerFrame);
    }
    framesOutput.fetch_add(frames, std::memory_order_relaxed);
    if (completed) {
        ::sem_post(&wake);
    }
    return paContinue;
}

// Notifier thread. Waits on the wake semaphore until `steadyNs` (CLOCK_MONOTONIC,
// the steady clock's base) or an earlier post.
void PortAudioDevice::Impl::WaitUntil(std::int64_t steadyNs) {
    timespec until{};
    until.tv_sec = static_cast<time_t>(steadyNs / kNsPerSecond);
    until.tv_nsec = static_cast<long>(steadyNs % kNsPerSecond);
    ::sem_clockwait(&wake, CLOCK_MONOTONIC, &until);
}

// Notifier thread.
void PortAudioDevice::Impl::NotifierLoop() {
    std::uint64_t lastFrames = framesOutput.load(std::memory_order_relaxed);
    std::int64_t lastProgressNs = SteadyNs();
    while (!stopping.load(std::memory_order_acquire)) {
        if (LossNow() == kPlaying) {
            WatchStream(lastFrames, lastProgressNs);
        } else {
            DrainPending();
        }
        Completion next;
        if (!completions.Peek(next)) {
            WaitUntil(SteadyNs() + kIdleWaitNs);
            continue;
        }
        if (next.sequence > flushThrough.load(std::memory_order_acquire) && LossNow() == kPlaying) {
            const std::int64_t now = SteadyNs();
            if (now < next.heardNs) {
                WaitUntil(std::min(next.heardNs, now + kIdleWaitNs));
                continue;
            }
        }
        completions.DropFront();
        Deliver(next);
    }
}

// Notifier thread. A stream that ended without the owner stopping it (its sound server
// or device went away), or one that has produced nothing for a while although buffers
// are queued (a server that hangs), will report nothing more: the notifier takes over.
void PortAudioDevice::Impl::WatchStream(std::uint64_t& lastFrames, std::int64_t& lastProgressNs) {
    const std::int64_t now = SteadyNs();
    const std::uint64_t frames = framesOutput.load(std::memory_order_relaxed);
    if (frames != lastFrames || inFlight.load(std::memory_order_acquire) == 0) {
        lastFrames = frames;
        lastProgressNs = now;
    }
    if (streamEnded.load(std::memory_order_acquire)) {
        TakeOver(kStreamEnded);
    } else if (now - lastProgressNs >= (frames == 0 ? kFirstCallbackGraceNs : kStallNs)) {
        TakeOver(kStreamStalled);
    }
}

void PortAudioDevice::Impl::TakeOver(Loss why) {
    std::lock_guard lock(takeOverMutex);
    if (ownerStopping.load(std::memory_order_acquire) || LossNow() != kPlaying) {
        return;  // the owner is resetting the stream; looked at again next time
    }
    abandoned.store(true, std::memory_order_seq_cst);
    while (rendering.load(std::memory_order_seq_cst)) {
        std::this_thread::yield();  // the callback never blocks: this is one callback's time at most
    }
    // The callback no longer touches its state or its ends of the rings.
    FlushToCompletions();
    loss.store(why, std::memory_order_release);
}

void PortAudioDevice::Impl::DrainPending() {
    Pending buffer;
    while (pending.Pop(buffer)) {
        completions.Push(Completion{buffer.header, buffer.sequence, 0});
    }
}

const char* PortAudioDevice::Impl::LossText(Loss why) {
    switch (why) {
        case kStreamEnded:
            return "The sound device or sound server went away.";
        case kStreamStalled:
            return "The sound device has played nothing for 2 seconds.";
        case kPlaying:
            break;
    }
    return "";
}

// Notifier thread.
void PortAudioDevice::Impl::Deliver(const Completion& completion) {
    AudioBufferHeader* header = completion.header;
    // The steady clock in milliseconds is SystemClock's tick count. A buffer dropped or
    // taken over (heardNs 0) was heard, as far as it played, no later than now.
    const std::int64_t heardNs = completion.heardNs > 0 ? completion.heardNs : SteadyNs();
    header->heardTick.store(static_cast<std::uint32_t>(heardNs / 1'000'000), std::memory_order_release);
    MarkDone(*header);
    inFlight.fetch_sub(1, std::memory_order_acq_rel);
    if (notification.mode == NotifyMode::Callback) {
        notification.callback(header);
    } else {
        notification.window->PostMessage(kWaveOutDoneMessage, owner.Handle(),
                                         reinterpret_cast<std::intptr_t>(header));
    }
    {
        std::lock_guard lock(deliveredMutex);
        deliveredSequence = completion.sequence;
    }
    deliveredChanged.notify_all();
}

void PortAudioDevice::Impl::StartNotifier() {
    stopping.store(false, std::memory_order_release);
    while (::sem_trywait(&wake) == 0) {
    }
    notifier = std::thread([this] { NotifierLoop(); });
}

void PortAudioDevice::Impl::StopNotifier() {
    stopping.store(true, std::memory_order_release);
    ::sem_post(&wake);
    if (notifier.joinable()) {
        notifier.join();
    }
    deliveredChanged.notify_all();
}

void PortAudioDevice::Impl::FlushToCompletions() {
    if (hasCurrent) {
        completions.Push(Completion{current.header, current.sequence, 0});
        hasCurrent = false;
    }
    Pending buffer;
    while (pending.Pop(buffer)) {
        completions.Push(Completion{buffer.header, buffer.sequence, 0});
    }
    offset = 0;
}

void PortAudioDevice::Impl::DropAll() {
    FlushToCompletions();
    Completion completion;
    while (completions.Pop(completion)) {
        MarkDone(*completion.header);
    }
    inFlight.store(0, std::memory_order_release);
}

PortAudioDevice::PortAudioDevice(double suggestedLatencySeconds)
    : impl_(std::make_unique<Impl>(*this, std::max(suggestedLatencySeconds, kMinimumLatencySeconds))) {}

PortAudioDevice::~PortAudioDevice() {
    if (impl_->open.load()) {
        (void)Close();
    }
}

AudioResult PortAudioDevice::Impl::OpenDefaultStreamLocked(Impl& d, PaStream** stream,
                                                           PaStreamParameters* parameters) {
    const PaDeviceIndex device = Pa_GetDefaultOutputDevice();
    const PaDeviceInfo* info = device == paNoDevice ? nullptr : Pa_GetDeviceInfo(device);
    if (info == nullptr) {
        return AudioResult::Failure(AudioError::NoDevice);
    }
    *parameters = PaStreamParameters{};
    parameters->device = device;
    parameters->channelCount = kChannels;
    parameters->sampleFormat = paInt16;
    parameters->suggestedLatency = d.lowestLatency
                                       ? info->defaultLowOutputLatency
                                       : std::max(d.suggestedLatency, info->defaultLowOutputLatency);
    parameters->hostApiSpecificStreamInfo = nullptr;
    PaError error = paNoError;
    error = Pa_OpenStream(stream, nullptr, parameters, kFrameRate, paFramesPerBufferUnspecified,
                          paClipOff | paDitherOff, &Impl::StreamCallback, &d);
    if (error != paNoError) {
        *stream = nullptr;
        return HostFailure(error);
    }
    return AudioResult::Success();
}

AudioResult PortAudioDevice::Open(const AudioFormat& format, AudioNotification notification) {
    Impl& d = *impl_;
    std::lock_guard api(d.apiMutex);
    if (d.open.load()) {
        return AudioResult::Failure(AudioError::AlreadyOpen);
    }
    if (!IsSupportedFormat(format)) {
        return AudioResult::Failure(AudioError::BadFormat);
    }
    if ((notification.mode == NotifyMode::Callback && !notification.callback) ||
        (notification.mode == NotifyMode::Window && notification.window == nullptr)) {
        return AudioResult::Failure(AudioError::InvalidParameter);
    }

    std::lock_guard pa(PortAudioMutex());
    if (const PaError error = AcquirePortAudioLocked(); error != paNoError) {
        return HostFailure(error);
    }
    PaStream* stream = nullptr;
    PaStreamParameters parameters{};
    AudioResult opened = Impl::OpenDefaultStreamLocked(d, &stream, &parameters);
    if (!opened.Ok() && OpenStreams() == 0) {
        // PortAudio lists the devices once, when it starts, and the program keeps it
        // started: a sound server that came up later, or a headset plugged in since, is
        // not in that list, and a device that went away may still be. With no stream
        // open, the audio system is started afresh to list them again.
        RestartPortAudioLocked();
        opened = Impl::OpenDefaultStreamLocked(d, &stream, &parameters);
    }
    if (!opened.Ok()) {
        ReleasePortAudioLocked();
        return opened;
    }
    PaError error = paNoError;
    const PaStreamInfo* streamInfo = Pa_GetStreamInfo(stream);
    const double latency = streamInfo != nullptr && streamInfo->outputLatency > 0
                               ? streamInfo->outputLatency
                               : parameters.suggestedLatency;
    d.outputLatency.store(latency);
    d.outputLatencyNs = static_cast<std::int64_t>(latency * static_cast<double>(kNsPerSecond));
    d.stream = stream;
    d.notification = std::move(notification);
    d.lastSequence = 0;
    d.flushThrough.store(0);
    {
        std::lock_guard lock(d.deliveredMutex);
        d.deliveredSequence = 0;
    }
    d.inFlight.store(0);
    d.framesOutput.store(0);
    d.underflows.store(0);
    d.hasCurrent = false;
    d.offset = 0;
    d.ownerStopping.store(false);
    d.streamEnded.store(false);
    d.loss.store(Impl::kPlaying);
    d.rendering.store(false);
    d.abandoned.store(false);
    (void)Pa_SetStreamFinishedCallback(stream, &Impl::StreamFinished);
    d.StartNotifier();

    error = Pa_StartStream(stream);
    if (error != paNoError) {
        d.StopNotifier();
        Pa_CloseStream(stream);
        ReleasePortAudioLocked();
        d.stream = nullptr;
        d.notification = AudioNotification{};
        return HostFailure(error);
    }
    ++OpenStreams();
    d.open.store(true);
    return AudioResult::Success();
}

AudioResult PortAudioDevice::PrepareHeader(AudioBufferHeader& header) {
    Impl& d = *impl_;
    std::lock_guard api(d.apiMutex);
    if (!d.open.load()) {
        return AudioResult::Failure(AudioError::NotOpen);
    }
    if (header.data == nullptr && header.length > 0) {
        return AudioResult::Failure(AudioError::InvalidParameter);
    }
    header.flags.fetch_or(kHeaderPrepared, std::memory_order_acq_rel);
    return AudioResult::Success();
}

AudioResult PortAudioDevice::Write(AudioBufferHeader& header) {
    Impl& d = *impl_;
    std::lock_guard api(d.apiMutex);
    if (!d.open.load()) {
        return AudioResult::Failure(AudioError::NotOpen);
    }
    if (auto refused = CheckWritable(header)) {
        return *refused;
    }
    if (const Impl::Loss why = d.LossNow(); why != Impl::kPlaying) {
        return AudioResult::Failure(AudioError::HostError, Impl::LossText(why));
    }
    if (d.inFlight.load(std::memory_order_acquire) >= kMaxBuffersInFlight) {
        return AudioResult::Failure(AudioError::QueueFull);
    }
    const Impl::Pending buffer{&header, static_cast<const std::uint8_t*>(header.data),
                               header.length / kBytesPerFrame, d.lastSequence + 1};
    header.flags.fetch_and(~kHeaderDone, std::memory_order_acq_rel);
    header.flags.fetch_or(kHeaderInQueue, std::memory_order_acq_rel);
    d.inFlight.fetch_add(1, std::memory_order_acq_rel);
    if (!d.pending.Push(buffer)) {
        d.inFlight.fetch_sub(1, std::memory_order_acq_rel);
        header.flags.fetch_and(~kHeaderInQueue, std::memory_order_acq_rel);
        return AudioResult::Failure(AudioError::QueueFull);
    }
    d.lastSequence = buffer.sequence;
    return AudioResult::Success();
}

AudioResult PortAudioDevice::UnprepareHeader(AudioBufferHeader& header) {
    Impl& d = *impl_;
    std::lock_guard api(d.apiMutex);
    if (!d.open.load()) {
        return AudioResult::Failure(AudioError::NotOpen);
    }
    if (header.IsQueued()) {
        return AudioResult::Failure(AudioError::StillPlaying);
    }
    header.flags.fetch_and(~kHeaderPrepared, std::memory_order_acq_rel);
    return AudioResult::Success();
}

AudioResult PortAudioDevice::Reset() {
    Impl& d = *impl_;
    if (d.OnNotifierThread()) {
        return AudioResult::Failure(AudioError::WrongThread);
    }
    AudioResult result = AudioResult::Success();
    std::uint64_t flushed = 0;
    {
        std::lock_guard api(d.apiMutex);
        if (!d.open.load()) {
            return AudioResult::Failure(AudioError::NotOpen);
        }
        std::lock_guard takeOver(d.takeOverMutex);
        flushed = d.lastSequence;
        if (const Impl::Loss why = d.LossNow(); why != Impl::kPlaying) {
            // The notifier holds the queue and reports everything at once already.
            result = AudioResult::Failure(AudioError::HostError, Impl::LossText(why));
        } else {
            d.ownerStopping.store(true, std::memory_order_release);
            PaError error = paNoError;
            {
                std::lock_guard pa(PortAudioMutex());
                error = Pa_AbortStream(d.stream);
            }
            if (error != paNoError) {
                d.ownerStopping.store(false, std::memory_order_release);
                return HostFailure(error);  // the callback may still run: leave its queue alone
            }
            // The audio thread has been joined: its queue and state are the owner's now.
            d.FlushToCompletions();
            d.flushThrough.store(flushed, std::memory_order_release);
            {
                std::lock_guard pa(PortAudioMutex());
                error = Pa_StartStream(d.stream);
            }
            d.ownerStopping.store(false, std::memory_order_release);
            if (error != paNoError) {
                result = HostFailure(error);
            }
        }
        ::sem_post(&d.wake);
    }
    // Wait, without holding the owner lock, until the notifier has reported every
    // dropped buffer; its callback may call PrepareHeader or Write meanwhile.
    std::unique_lock lock(d.deliveredMutex);
    d.deliveredChanged.wait(lock, [&d, flushed] {
        return d.deliveredSequence >= flushed || d.stopping.load(std::memory_order_acquire);
    });
    return result;
}

AudioResult PortAudioDevice::Close() {
    Impl& d = *impl_;
    if (d.OnNotifierThread()) {
        return AudioResult::Failure(AudioError::WrongThread);
    }
    std::lock_guard api(d.apiMutex);
    if (!d.open.load()) {
        return AudioResult::Failure(AudioError::NotOpen);
    }
    d.StopNotifier();
    d.ownerStopping.store(true, std::memory_order_release);
    AudioResult result = AudioResult::Success();
    {
        std::lock_guard pa(PortAudioMutex());
        PaError error = Pa_AbortStream(d.stream);
        const PaError closeError = Pa_CloseStream(d.stream);
        if (error == paNoError) {
            error = closeError;
        }
        if (error != paNoError) {
            result = HostFailure(error);
        }
        --OpenStreams();
        ReleasePortAudioLocked();
    }
    // The audio thread and the notifier are gone: whatever was in flight is the
    // owner's again, marked done without a report.
    d.stream = nullptr;
    d.DropAll();
    d.notification = AudioNotification{};
    d.outputLatency.store(0.0);
    d.open.store(false);
    return result;
}

bool PortAudioDevice::IsOpen() const {
    return impl_->open.load();
}

bool PortAudioDevice::SuggestLatency(double seconds) {
    const double wanted = std::max(seconds, kMinimumLatencySeconds);
    if (std::abs(wanted - impl_->suggestedLatency) < 1e-6)
        return false;
    impl_->suggestedLatency = wanted;
    return IsOpen();
}

bool PortAudioDevice::UseLowestLatency(bool on) {
    if (impl_->lowestLatency == on)
        return false;
    impl_->lowestLatency = on;
    return impl_->open.load();
}

bool PortAudioDevice::AttachLiveSound(LiveSound* sound) {
    impl_->live.store(sound, std::memory_order_release);
    return true;
}

double PortAudioDevice::OutputLatencySeconds() const {
    return impl_->outputLatency.load();
}

std::uint64_t PortAudioDevice::FramesOutput() const {
    return impl_->framesOutput.load(std::memory_order_relaxed);
}

std::uint64_t PortAudioDevice::UnderflowCount() const {
    return impl_->underflows.load(std::memory_order_relaxed);
}

std::string PortAudioDevice::StreamProblem() const {
    return Impl::LossText(impl_->LossNow());
}

PortAudioPreload::PortAudioPreload()
    : thread_([this] {
          std::lock_guard<std::mutex> lock(PortAudioMutex());
          acquired_ = AcquirePortAudioLocked() == paNoError;
      }) {}

PortAudioPreload::~PortAudioPreload() {
    if (thread_.joinable()) {
        thread_.join();
    }
    if (acquired_) {
        std::lock_guard<std::mutex> lock(PortAudioMutex());
        ReleasePortAudioLocked();
    }
}

}  // namespace lumbrel
