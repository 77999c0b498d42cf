#include "sending/SendingSound.h"

#include <algorithm>
#include <limits>

#include "morse/SampleFormat.h"

namespace lumbrel {

namespace {

// The settings in one word: so the callback reads them whole, without a lock.
std::uint64_t Pack(const SendingSound::Settings& s) {
    const KeyerSettings k = s.keyer.Clamped();
    return std::uint64_t(k.mode) | std::uint64_t(k.wpm) << 4 | std::uint64_t(k.weightPercent) << 12 |
           std::uint64_t(k.dashRatioTenths) << 20 | std::uint64_t(k.dotMemory) << 28 |
           std::uint64_t(std::clamp(s.pitchHz, 100, 2000)) << 32 |
           std::uint64_t(std::clamp(s.volumePercent, 0, 100)) << 48;
}

SendingSound::Settings Unpack(std::uint64_t word) {
    SendingSound::Settings s;
    s.keyer.mode = static_cast<KeyerMode>(word & 0xf);
    s.keyer.wpm = static_cast<int>(word >> 4 & 0xff);
    s.keyer.weightPercent = static_cast<int>(word >> 12 & 0xff);
    s.keyer.dashRatioTenths = static_cast<int>(word >> 20 & 0xff);
    s.keyer.dotMemory = (word >> 28 & 1) != 0;
    s.pitchHz = static_cast<int>(word >> 32 & 0xffff);
    s.volumePercent = static_cast<int>(word >> 48 & 0xff);
    return s;
}

}  // namespace

SendingSound::SendingSound() : settings_(Pack(Settings{})), keyer_(*this) {
    LoadSettings();
}

void SendingSound::SetSettings(const Settings& settings) {
    settings_.store(Pack(settings), std::memory_order_release);
}

SendingSound::Settings SendingSound::CurrentSettings() const {
    return Unpack(settings_.load(std::memory_order_acquire));
}

void SendingSound::LoadSettings() noexcept {
    const std::uint64_t word = settings_.load(std::memory_order_acquire);
    if (word == applied_)
        return;
    applied_ = word;
    const Settings s = Unpack(word);
    keyer_.Configure(s.keyer);
    tone_.SetPitch(s.pitchHz);
    tone_.SetVolumePercent(s.volumePercent);
}

std::int64_t SendingSound::EventFrame(std::int64_t timeUs, std::uint64_t firstFrame, std::int64_t nowUs) {
    const std::int64_t us = timeUs - nowUs;  // rounded down, before or after the callback alike
    const std::int64_t frames = (us * audio::kFrameRate - (us < 0 ? 999'999 : 0)) / 1'000'000;
    return static_cast<std::int64_t>(firstFrame) + frames;
}

void SendingSound::Mix(std::int16_t* out, std::uint32_t frames, std::uint64_t firstFrame, std::int64_t nowUs,
                       std::int64_t heardUs) noexcept {
    LoadSettings();
    following_ = followRig_.load(std::memory_order_acquire);
    firstFrame_ = static_cast<std::int64_t>(firstFrame);
    firstHeardUs_ = std::max(heardUs, nowUs);  // never heard before it is made
    KeyEvent event;
    while (waitingCount_ < kWaiting && events_.Pop(event))
        waiting_[waitingCount_++] = event;

    // A stream opened again counts its frames from 0: the keyer's line goes on from
    // where the last callback ended, so that its elements keep their lengths.
    if (static_cast<std::int64_t>(firstFrame) + restartOffset_ < rendered_.load(std::memory_order_relaxed))
        restartOffset_ = rendered_.load(std::memory_order_relaxed) - static_cast<std::int64_t>(firstFrame);
    firstFrame += static_cast<std::uint64_t>(restartOffset_);
    const auto first = static_cast<std::int64_t>(firstFrame);
    const std::int64_t end = first + frames;
    std::int64_t at = first;
    std::size_t next = 0;  // waiting_ is played in the order events arrived
    while (at < end) {
        std::int64_t eventAt = end;
        std::int64_t stamped = end;
        if (next < waitingCount_) {
            stamped = EventFrame(waiting_[next].timeUs, firstFrame, nowUs) + lagFrames_;
            eventAt = std::max(stamped, at);
        }
        const std::int64_t until = std::min({eventAt, keyer_.NextDue(), end});
        tone_.Render(out + 2 * (at - first), until - at);
        at = until;
        if (at == end)
            break;
        if (eventAt == at) {
            // Late: what follows keeps its distance from it.
            lagFrames_ += at - std::min(stamped, at);
            keyer_.Key(waiting_[next].contact, waiting_[next].down, at);
            ++next;
        } else {
            keyer_.AdvanceTo(at);
        }
    }
    keyer_.AdvanceTo(end - 1);
    std::copy(waiting_.begin() + static_cast<std::ptrdiff_t>(next),
              waiting_.begin() + static_cast<std::ptrdiff_t>(waitingCount_), waiting_.begin());
    waitingCount_ -= next;
    // A hand mark still down: a sign of life for the rig's follower, a few a second.
    if (handStart_ >= 0 && HeardUs(end) - heldUs_ >= kHeldEveryUs) {
        heldUs_ = HeardUs(end);
        PushEdge(KeyingEdge::Kind::HandHeld, end, end);
    }
    if (waitingCount_ == 0 && !keyer_.LineClosed() &&
        keyer_.NextDue() == std::numeric_limits<std::int64_t>::max())
        lagFrames_ = 0;  // the key rests: the next event plays as soon as it can
    rendered_.store(end, std::memory_order_release);
}

void SendingSound::MarkBegins(std::int64_t frame, KeyedElement element, std::int64_t lengthFrames) noexcept {
    tone_.MarkBegins(lengthFrames);
    if (lengthFrames > 0) {
        PushMark({frame, lengthFrames, element});
        PushEdge(KeyingEdge::Kind::Mark, frame, frame + lengthFrames);
    } else {
        handStart_ = frame;
        heldUs_ = HeardUs(frame);
        PushEdge(KeyingEdge::Kind::HandDown, frame, frame);
    }
}

void SendingSound::MarkEnds(std::int64_t frame) noexcept {
    tone_.HandOpens();
    if (handStart_ >= 0)
        PushMark({handStart_, frame - handStart_, KeyedElement::Hand});
    handStart_ = -1;
    PushEdge(KeyingEdge::Kind::HandUp, frame, frame);
}

std::int64_t SendingSound::HeardUs(std::int64_t frame) const noexcept {
    return firstHeardUs_ + (frame - firstFrame_) * 1'000'000 / audio::kFrameRate;
}

void SendingSound::PushEdge(KeyingEdge::Kind kind, std::int64_t frame, std::int64_t untilFrame) noexcept {
    if (following_)
        rigEdges_.Push({kind, HeardUs(frame), HeardUs(untilFrame)});
}

void SendingSound::PushMark(const SentMark& mark) noexcept {
    const std::size_t tail = marksTail_.load(std::memory_order_relaxed);
    if (tail - marksHead_.load(std::memory_order_acquire) >= kMarks)
        return;  // the window has not taken the older ones: this one is not shown
    marks_[tail % kMarks] = mark;
    marksTail_.store(tail + 1, std::memory_order_release);
}

bool SendingSound::TakeMark(SentMark& mark) noexcept {
    const std::size_t head = marksHead_.load(std::memory_order_relaxed);
    if (head == marksTail_.load(std::memory_order_acquire))
        return false;
    mark = marks_[head % kMarks];
    marksHead_.store(head + 1, std::memory_order_release);
    return true;
}

}  // namespace lumbrel
