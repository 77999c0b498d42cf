#include "audio/VirtualAudioDevice.h"

#include <algorithm>
#include <utility>

#include "audio/Messages.h"

namespace lumbrel {

namespace {

constexpr std::int64_t kFrameRate = audio::kFrameRate;
constexpr std::int64_t kBytesPerFrame = audio::kBlockAlign;

int Index(VirtualAudioDevice::Call call) {
    return static_cast<int>(call);
}

// heardTick: the clock's tick count now, which is when the buffer was heard (or dropped).
void MarkDone(AudioBufferHeader& header, std::uint32_t heardTick) {
    header.heardTick.store(heardTick, std::memory_order_release);
    header.flags.fetch_or(kHeaderDone, std::memory_order_acq_rel);
    header.flags.fetch_and(~kHeaderInQueue, std::memory_order_acq_rel);
}

}  // namespace

VirtualAudioDevice::VirtualAudioDevice(VirtualClock& clock) : clock_(clock) {
    clock_.AddListener(*this);
}

VirtualAudioDevice::~VirtualAudioDevice() {
    clock_.RemoveListener(*this);
    std::vector<Heard> heard;
    std::vector<AudioBufferHeader*> dropped;
    {
        std::lock_guard lock(mutex_);
        if (!open_) {
            return;
        }
        dropped = DropQueueLocked(heard);
        open_ = false;
    }
    for (const Heard& h : heard) {
        EmitHeard(h);
    }
    for (AudioBufferHeader* header : dropped) {
        MarkDone(*header, clock_.TickCount());
    }
}

std::optional<AudioResult> VirtualAudioDevice::Begin(Call call) {
    ++callCounts_[Index(call)];
    Failure& failure = failures_[Index(call)];
    if (failure.remaining != 0) {
        if (failure.remaining > 0) {
            --failure.remaining;
        }
        return AudioResult::Failure(AudioError::Injected, failure.text);
    }
    if (call != Call::Open && !open_) {
        return AudioResult::Failure(AudioError::NotOpen);
    }
    return std::nullopt;
}

std::int64_t VirtualAudioDevice::NowFramesLocked() const {
    if (!open_) {
        return 0;
    }
    return (clock_.ElapsedMs() - openMs_) * kFrameRate / 1000;
}

// The first whole millisecond at which the timeline has reached `frame`.
std::int64_t VirtualAudioDevice::DueMsLocked(std::int64_t frame) const {
    return openMs_ + (frame * 1000 + kFrameRate - 1) / kFrameRate;
}

VirtualAudioDevice::Heard VirtualAudioDevice::TakeHeardLocked(const Queued& buffer,
                                                              std::int64_t heardFrames) {
    Heard heard;
    if (heardFrames <= 0) {
        return heard;
    }
    if (heardEndFrame_ >= 0 && buffer.startFrame > heardEndFrame_) {
        heard.silenceFrames = buffer.startFrame - heardEndFrame_;
    }
    heard.bytes = static_cast<const std::uint8_t*>(buffer.header->data);
    heard.count = static_cast<std::size_t>(heardFrames * kBytesPerFrame);
    heard.clockFrame = openMs_ * kFrameRate / 1000 + buffer.startFrame;
    heardEndFrame_ = buffer.startFrame + heardFrames;
    return heard;
}

std::vector<AudioBufferHeader*> VirtualAudioDevice::DropQueueLocked(std::vector<Heard>& heard) {
    const std::int64_t now = NowFramesLocked();
    std::vector<AudioBufferHeader*> dropped;
    dropped.reserve(queue_.size());
    for (const Queued& buffer : queue_) {
        const std::int64_t frames = buffer.endFrame - buffer.startFrame;
        const std::int64_t heardFrames = std::clamp<std::int64_t>(now - buffer.startFrame, 0, frames);
        if (heardFrames > 0) {
            heard.push_back(TakeHeardLocked(buffer, heardFrames));
        }
        dropped.push_back(buffer.header);
    }
    queue_.clear();
    lastEndFrame_ = now;
    return dropped;
}

void VirtualAudioDevice::EmitHeard(const Heard& heard) {
    static constexpr std::array<std::uint8_t, 4096> kZeros{};
    PlaySink sink;
    TimedPlaySink timed;
    {
        std::lock_guard lock(mutex_);
        timed = timedSink_;
        if (keepPlayed_) {
            played_.insert(played_.end(), static_cast<std::size_t>(heard.silenceFrames * kBytesPerFrame),
                           std::uint8_t{0});
            if (heard.count > 0) {
                played_.insert(played_.end(), heard.bytes, heard.bytes + heard.count);
            }
        }
        sink = sink_;
    }
    if (timed && heard.count > 0) {
        timed(heard.clockFrame, heard.bytes, heard.count);
    }
    if (!sink) {
        return;
    }
    auto silence = static_cast<std::size_t>(heard.silenceFrames * kBytesPerFrame);
    while (silence > 0) {
        const std::size_t chunk = std::min(silence, kZeros.size());
        sink(kZeros.data(), chunk);
        silence -= chunk;
    }
    if (heard.count > 0) {
        sink(heard.bytes, heard.count);
    }
}

void VirtualAudioDevice::Notify(AudioBufferHeader* header) {
    AudioNotification route;
    {
        std::lock_guard lock(mutex_);
        route = notification_;
    }
    const std::thread::id outer = reporting_.exchange(std::this_thread::get_id());
    if (route.mode == NotifyMode::Callback) {
        if (route.callback) {
            route.callback(header);
        }
    } else if (route.window != nullptr) {
        route.window->PostMessage(kWaveOutDoneMessage, Handle(), reinterpret_cast<std::intptr_t>(header));
    }
    reporting_.store(outer);
}

bool VirtualAudioDevice::Reporting() const {
    return reporting_.load() == std::this_thread::get_id();
}

AudioResult VirtualAudioDevice::Open(const AudioFormat& format, AudioNotification notification) {
    std::lock_guard lock(mutex_);
    if (auto refused = Begin(Call::Open)) {
        return *refused;
    }
    if (open_) {
        return AudioResult::Failure(AudioError::AlreadyOpen);
    }
    if (!IsSupportedFormat(format)) {
        return AudioResult::Failure(AudioError::BadFormat);
    }
    if ((notification.mode == NotifyMode::Callback && !notification.callback) ||
        (notification.mode == NotifyMode::Window && notification.window == nullptr)) {
        return AudioResult::Failure(AudioError::InvalidParameter);
    }
    notification_ = std::move(notification);
    open_ = true;
    openMs_ = clock_.ElapsedMs();
    lastEndFrame_ = 0;
    heardEndFrame_ = -1;
    return AudioResult::Success();
}

AudioResult VirtualAudioDevice::PrepareHeader(AudioBufferHeader& header) {
    std::lock_guard lock(mutex_);
    if (auto refused = Begin(Call::PrepareHeader)) {
        return *refused;
    }
    if (header.data == nullptr && header.length > 0) {
        return AudioResult::Failure(AudioError::InvalidParameter);
    }
    header.flags.fetch_or(kHeaderPrepared, std::memory_order_acq_rel);
    return AudioResult::Success();
}

AudioResult VirtualAudioDevice::Write(AudioBufferHeader& header) {
    WriteSink sink;
    {
        std::lock_guard lock(mutex_);
        if (auto refused = Begin(Call::Write)) {
            return *refused;
        }
        if (auto refused = CheckWritable(header)) {
            return *refused;
        }
        Queued buffer;
        buffer.header = &header;
        buffer.startFrame = std::max(lastEndFrame_, NowFramesLocked());
        buffer.endFrame = buffer.startFrame + header.length / kBytesPerFrame;
        lastEndFrame_ = buffer.endFrame;
        queue_.push_back(buffer);
        header.flags.fetch_and(~kHeaderDone, std::memory_order_acq_rel);
        header.flags.fetch_or(kHeaderInQueue, std::memory_order_acq_rel);
        sink = writeSink_;
    }
    if (sink) {
        sink(header);
    }
    return AudioResult::Success();
}

void VirtualAudioDevice::SetWriteSink(WriteSink sink) {
    std::lock_guard lock(mutex_);
    writeSink_ = std::move(sink);
}

AudioResult VirtualAudioDevice::UnprepareHeader(AudioBufferHeader& header) {
    std::lock_guard lock(mutex_);
    if (auto refused = Begin(Call::UnprepareHeader)) {
        return *refused;
    }
    if (header.IsQueued()) {
        return AudioResult::Failure(AudioError::StillPlaying);
    }
    header.flags.fetch_and(~kHeaderPrepared, std::memory_order_acq_rel);
    return AudioResult::Success();
}

AudioResult VirtualAudioDevice::Reset() {
    std::vector<Heard> heard;
    std::vector<AudioBufferHeader*> dropped;
    {
        std::lock_guard lock(mutex_);
        if (auto refused = Begin(Call::Reset)) {
            return *refused;
        }
        if (Reporting()) {
            return AudioResult::Failure(AudioError::WrongThread);
        }
        dropped = DropQueueLocked(heard);
    }
    for (const Heard& h : heard) {
        EmitHeard(h);
    }
    for (AudioBufferHeader* header : dropped) {
        MarkDone(*header, clock_.TickCount());
        Notify(header);
    }
    return AudioResult::Success();
}

AudioResult VirtualAudioDevice::Close() {
    std::vector<Heard> heard;
    std::vector<AudioBufferHeader*> dropped;
    {
        std::lock_guard lock(mutex_);
        if (auto refused = Begin(Call::Close)) {
            return *refused;
        }
        if (Reporting()) {
            return AudioResult::Failure(AudioError::WrongThread);
        }
        dropped = DropQueueLocked(heard);
        open_ = false;
        notification_ = AudioNotification{};
    }
    for (const Heard& h : heard) {
        EmitHeard(h);
    }
    for (AudioBufferHeader* header : dropped) {
        MarkDone(*header, clock_.TickCount());
    }
    return AudioResult::Success();
}

bool VirtualAudioDevice::IsOpen() const {
    std::lock_guard lock(mutex_);
    return open_;
}

void VirtualAudioDevice::InjectFailure(Call call, std::string text, int count) {
    std::lock_guard lock(mutex_);
    Failure& failure = failures_[Index(call)];
    failure.remaining = count < 0 ? kEveryCall : count;
    failure.text = text.empty() ? AudioErrorText(AudioError::Injected) : std::move(text);
}

void VirtualAudioDevice::ClearFailures() {
    std::lock_guard lock(mutex_);
    failures_.fill(Failure{});
}

int VirtualAudioDevice::CallCount(Call call) const {
    std::lock_guard lock(mutex_);
    return callCounts_[Index(call)];
}

void VirtualAudioDevice::SetPlaySink(PlaySink sink) {
    std::lock_guard lock(mutex_);
    sink_ = std::move(sink);
}

void VirtualAudioDevice::SetTimedPlaySink(TimedPlaySink sink) {
    std::lock_guard lock(mutex_);
    timedSink_ = std::move(sink);
}

void VirtualAudioDevice::KeepPlayedBytes(bool keep) {
    std::lock_guard lock(mutex_);
    keepPlayed_ = keep;
}

std::vector<std::uint8_t> VirtualAudioDevice::PlayedBytes() const {
    std::lock_guard lock(mutex_);
    return played_;
}

std::vector<std::uint8_t> VirtualAudioDevice::TakePlayedBytes() {
    std::lock_guard lock(mutex_);
    std::vector<std::uint8_t> taken;
    taken.swap(played_);
    return taken;
}

std::size_t VirtualAudioDevice::QueuedCount() const {
    std::lock_guard lock(mutex_);
    return queue_.size();
}

std::int64_t VirtualAudioDevice::NowFrames() const {
    std::lock_guard lock(mutex_);
    return NowFramesLocked();
}

std::optional<std::int64_t> VirtualAudioDevice::NextCompletionMs() const {
    return NextDueMs();
}

std::optional<std::int64_t> VirtualAudioDevice::NextDueMs() const {
    std::lock_guard lock(mutex_);
    if (!open_ || queue_.empty()) {
        return std::nullopt;
    }
    return DueMsLocked(queue_.front().endFrame);
}

void VirtualAudioDevice::OnClockAdvanced(std::int64_t /*elapsedMs*/) {
    // One buffer at a time, unlocked while reporting, so that the completion route may
    // write the next buffer.
    for (;;) {
        Heard heard;
        AudioBufferHeader* header = nullptr;
        {
            std::lock_guard lock(mutex_);
            if (!open_ || queue_.empty() || queue_.front().endFrame > NowFramesLocked()) {
                return;
            }
            const Queued buffer = queue_.front();
            queue_.pop_front();
            heard = TakeHeardLocked(buffer, buffer.endFrame - buffer.startFrame);
            header = buffer.header;
        }
        EmitHeard(heard);
        MarkDone(*header, clock_.TickCount());
        Notify(header);
    }
}

}  // namespace lumbrel
