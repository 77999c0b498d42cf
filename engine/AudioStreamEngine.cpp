#include "engine/AudioStreamEngine.h"

#include <algorithm>

namespace lumbrel {

AudioStreamEngine::AudioStreamEngine(AudioDevice& device, MessageTarget& window, StreamListener& listener)
    : device_(device),
      window_(window),
      listener_(listener) {}

AudioStreamEngine::~AudioStreamEngine() {
    if (open_)
        (void)device_.Close();
}

// Closing drops the buffers still on the device without reporting them: they will
// never come home, so they are no longer in flight or pending.
void AudioStreamEngine::CloseDevice() {
    int dropped = 0;
    for (const AudioBufferHeader& header : buffers_)
        dropped += header.IsQueued() ? 1 : 0;
    (void)device_.Close();
    open_ = false;
    inFlight_ = std::max(inFlight_ - dropped, 0);
    pending_ = std::max(pending_ - dropped, 0);
}

AudioResult AudioStreamEngine::Open(bool callbacks) {
    if (open_)
        CloseDevice();
    callbacks_ = callbacks;
    for (int i = 0; i < kBufferCount; ++i) {
        buffers_[i] = AudioBufferHeader{};
        data_[i].assign(kBufferBytes / 2, 0);
        buffers_[i].data = data_[i].data();
    }
    MessageTarget& window = window_;
    const AudioResult result = device_.Open(
        kTrainerAudioFormat, callbacks ? AudioNotification::ToCallback([&window](AudioBufferHeader* h) {
            // Runs on the device's thread: it only posts the buffer-done message.
            window.PostMessage(kBufferDoneMessage, 0, reinterpret_cast<std::intptr_t>(h));
        })
                                       : AudioNotification::ToWindow(window_));
    open_ = result.Ok();
    if (open_)
        reopen_ = false;
    return result;
}

double AudioStreamEngine::SessionLatencySeconds(int wpm) {
    const double threeUnits = 3 * 1.2 / std::max(wpm, 1);
    return std::clamp(threeUnits, kShortLatencySeconds, kMaxSessionLatencySeconds);
}

AudioResult AudioStreamEngine::UseLatency(double seconds) {
    if (device_.SuggestLatency(seconds) && open_ && !reopen_)
        return Open(callbacks_);
    return AudioResult::Success();
}

void AudioStreamEngine::Close() {
    if (open_)
        CloseDevice();
}

std::uint32_t AudioStreamEngine::Start(SymbolSource& source, SlotRenderer& renderer, bool recorded) {
    source_ = &source;
    renderer_ = &renderer;
    recorded_ = recorded;
    pending_ += kPrimedCompletions;
    for (int i = 0; i < kPrimedCompletions; ++i)
        window_.PostMessage(callbacks_ ? kBufferDoneMessage : kWaveOutDoneMessage, 0, 0);
    return ++run_;
}

AudioResult AudioStreamEngine::Drop() {
    const AudioResult result = device_.Reset();
    if (!result.Ok())
        Fault(result, QStringLiteral("waveOutReset"));
    return result;
}

AudioStreamEngine::Completion AudioStreamEngine::Complete(AudioBufferHeader* header) {
    // A header that is not one of ours (a stale message) is treated as none.
    if (header && (header < buffers_.data() || header >= buffers_.data() + kBufferCount))
        header = nullptr;
    if (pending_ > 0)
        --pending_;
    if (header && inFlight_ > 0)
        --inFlight_;
    Completion completion;
    if (header) {
        completion.buffer = true;
        const auto index = static_cast<std::size_t>(header->user);
        if (index < text_.size()) {
            completion.text = text_[index];
            completion.run = runs_[index];
        }
        completion.heardTick = header->heardTick.load(std::memory_order_acquire);
    }
    return completion;
}

void AudioStreamEngine::Fault(const AudioResult& result, const QString& caption) {
    reopen_ = true;
    lastFault_ = result;
    listener_.StreamFault(result, caption);
}

AudioStreamEngine::QueueResult AudioStreamEngine::QueueNext() {
    if (!source_ || !renderer_)
        return {};
    const SourceSymbol symbol = source_->Next();
    QueueResult result{Queued::SourceEnded, symbol.last};
    if (symbol.Ended())
        return result;
    if (!renderer_->Sendable(symbol.position)) {
        result.queued = Queued::NotSendable;
        return result;
    }

    const int slot = next_;
    AudioBufferHeader& out = buffers_[static_cast<std::size_t>(slot)];
    next_ = (next_ + 1) % kBufferCount;
    if (const AudioResult unprepared = device_.UnprepareHeader(out); !unprepared.Ok())
        Fault(unprepared, QStringLiteral("Information"));

    out.length = renderer_->Render(symbol.position, symbol.slot.joined, static_cast<std::int16_t*>(out.data),
                                   kBufferBytes);
    if (recorded_)
        listener_.BufferFilled(out.data, out.length);
    gain_.Apply(static_cast<std::int16_t*>(out.data), out.length / sizeof(std::int16_t));
    const QString display = renderer_->Display(symbol.position);
    text_[static_cast<std::size_t>(slot)] = symbol.slot.opens ? QLatin1Char('^') + display : display;
    runs_[static_cast<std::size_t>(slot)] = run_;
    out.user = slot;

    if (const AudioResult prepared = device_.PrepareHeader(out); !prepared.Ok())
        Fault(prepared, QStringLiteral("Information"));
    const AudioResult written = device_.Write(out);
    if (!written.Ok()) {
        // One buffer fewer in flight: the run goes on with what is left.
        Fault(written, QStringLiteral("waveOutWrite"));
        result.queued = Queued::Lost;
        return result;
    }
    ++inFlight_;
    ++pending_;
    result.queued = Queued::Buffer;
    return result;
}

}  // namespace lumbrel
