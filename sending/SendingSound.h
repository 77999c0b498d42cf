#pragma once
// The sound of sending: mixed by the audio callback (LiveSound), it takes the key
// events of its KeyEventQueue, runs the Keyer on the stream's frames and renders the
// Sidetone sample-exactly. Every mark made is handed back to the window through a
// second lock-free queue (TakeMark).
//
//   callback at frame F (steady time T): an event stamped t plays at
//   F + (t - T) * 44100 / 1e6 + lag, or at once when that lies behind what has been
//   rendered (the usual case: a key event is always a little older than the callback).
//   Played late by d frames, an event adds d to the lag, so the events after it keep
//   their distance (a mark's length survives a callback that came late); the lag goes
//   back to 0 whenever the key rests.
//   A stream opened again (its frames from 0 again) goes on on the same line.
//
// Settings (SetSettings) are any thread's and reach the callback through one atomic
// word; the keyer uses them from its next element on.
//
// While FollowRig is on, each mark's edges also go to RigEdges, timed by when they are
// heard: the callback's heardUs (the device's time of its first frame) plus the
// frames since at 44100 a second.
#include <array>
#include <atomic>
#include <cstdint>

#include "audio/LiveSound.h"
#include "sending/KeyEventQueue.h"
#include "sending/KeyingEdges.h"
#include "sending/Keyer.h"
#include "sending/Sidetone.h"

namespace lumbrel {

// One mark as the keyer made it, in frames of the stream.
struct SentMark {
    std::int64_t startFrame = 0;
    std::int64_t lengthFrames = 0;
    KeyedElement element = KeyedElement::Hand;
};

class SendingSound final : public LiveSound, private KeyerOutput {
public:
    struct Settings {
        KeyerSettings keyer;
        int pitchHz = 750;        // 100..2000
        int volumePercent = 100;  // 0..100
        friend bool operator==(const Settings&, const Settings&) = default;
    };

    SendingSound();

    // Where the inputs push their events.
    KeyEventQueue& Events() { return events_; }

    // Any thread.
    void SetSettings(const Settings& settings);
    Settings CurrentSettings() const;

    // LiveSound (the audio thread).
    void Mix(std::int16_t* out, std::uint32_t frames, std::uint64_t firstFrame, std::int64_t nowUs,
             std::int64_t heardUs) noexcept override;

    // The one reader of the marks (the window's thread). False when none is waiting.
    bool TakeMark(SentMark& mark) noexcept;
    // Any thread. The frames rendered so far: the audio clock the marks are on, which
    // goes on counting when the stream is opened again.
    std::int64_t RenderedFrames() const { return rendered_.load(std::memory_order_acquire); }

    // Any thread. Whether the marks' edges go to RigEdges (off at first).
    void FollowRig(bool on) { followRig_.store(on, std::memory_order_release); }
    // Their one reader is the rig follower's thread.
    KeyingEdgeQueue& RigEdges() { return rigEdges_; }

    // The stream frame of the moment timeUs, in a callback that begins at firstFrame at
    // steady time nowUs (before firstFrame for a moment before the callback).
    static std::int64_t EventFrame(std::int64_t timeUs, std::uint64_t firstFrame, std::int64_t nowUs);

private:
    static constexpr std::size_t kMarks = 256;
    static constexpr std::size_t kWaiting = 64;

    void MarkBegins(std::int64_t frame, KeyedElement element, std::int64_t lengthFrames) noexcept override;
    void MarkEnds(std::int64_t frame) noexcept override;
    void PushMark(const SentMark& mark) noexcept;
    void PushEdge(KeyingEdge::Kind kind, std::int64_t frame, std::int64_t untilFrame) noexcept;
    std::int64_t HeardUs(std::int64_t frame) const noexcept;
    void LoadSettings() noexcept;

    KeyEventQueue events_;
    std::atomic<std::uint64_t> settings_;
    std::uint64_t applied_ = ~std::uint64_t{0};  // audio thread

    // Audio thread.
    Keyer keyer_;
    Sidetone tone_;
    std::array<KeyEvent, kWaiting> waiting_{};  // popped, due in a later callback
    std::size_t waitingCount_ = 0;
    std::int64_t handStart_ = -1;
    std::int64_t lagFrames_ = 0;
    std::int64_t restartOffset_ = 0;  // the keyer's line less the stream's frames
    std::atomic<std::int64_t> rendered_{0};
    bool following_ = false;  // followRig_ as this callback found it
    std::int64_t firstFrame_ = 0;
    std::int64_t firstHeardUs_ = 0;  // when firstFrame_ is heard
    static constexpr std::int64_t kHeldEveryUs = 50'000;
    std::int64_t heldUs_ = 0;  // when the hand mark's last HandDown or HandHeld is heard

    // Audio thread to the window: single producer, single consumer.
    std::array<SentMark, kMarks> marks_{};
    alignas(64) std::atomic<std::size_t> marksHead_{0};
    alignas(64) std::atomic<std::size_t> marksTail_{0};

    std::atomic<bool> followRig_{false};
    KeyingEdgeQueue rigEdges_;
};

}  // namespace lumbrel
