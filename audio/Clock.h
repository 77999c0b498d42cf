#pragma once
// Time as the trainer reads it: a 32-bit millisecond tick count that wraps after
// 2^32 ms (about 49.7 days) and the local time of day. Code that needs time takes a
// Clock so that tests and the offline renderer can run on a VirtualClock.

#include <QTime>

#include <atomic>
#include <cstdint>
#include <limits>
#include <mutex>
#include <optional>
#include <vector>

namespace lumbrel {

class Clock {
public:
    virtual ~Clock() = default;

    // Any thread. Milliseconds since an arbitrary origin, modulo 2^32. Compare ticks
    // by unsigned difference (now - then), never by <.
    virtual std::uint32_t TickCount() const = 0;

    // Any thread. Local wall-clock time of day, millisecond resolution.
    virtual QTime LocalTimeOfDay() const = 0;
};

// The machine's clocks: the tick count is the monotonic clock (milliseconds since
// boot, truncated to 32 bits), the time of day the local wall clock.
class SystemClock final : public Clock {
public:
    // Any thread.
    std::uint32_t TickCount() const override;
    // Any thread.
    QTime LocalTimeOfDay() const override;
};

// A clock that stands still until a test or the offline renderer moves it.
//
// Time is kept as 64-bit milliseconds elapsed since construction (ElapsedMs, never
// wraps); the tick count and the time of day are that plus settable offsets.
//
// Listeners (such as a VirtualAudioDevice) tell the clock when they next have
// something due. Advancing stops at every due time on the way, in time order, and
// calls every listener there, so a listener observes ElapsedMs() equal to its own due
// time and several listeners interleave correctly. Listener calls happen on the thread
// that advances the clock.
class VirtualClock final : public Clock {
public:
    class Listener {
    public:
        virtual ~Listener() = default;
        // Advancing thread (or any thread holding no lock of the listener). The
        // ElapsedMs at which the listener next needs a call, or nothing.
        virtual std::optional<std::int64_t> NextDueMs() const = 0;
        // Advancing thread. The clock now reads `elapsedMs`.
        virtual void OnClockAdvanced(std::int64_t elapsedMs) = 0;
    };

    static constexpr std::int64_t kNoLimit = std::numeric_limits<std::int64_t>::max();

    // Any thread. Starts at ElapsedMs 0 with the given tick count and time of day.
    explicit VirtualClock(std::uint32_t startTickCount = 0, QTime startTimeOfDay = QTime(0, 0));
    VirtualClock(const VirtualClock&) = delete;
    VirtualClock& operator=(const VirtualClock&) = delete;

    // Any thread.
    std::uint32_t TickCount() const override;
    // Any thread.
    QTime LocalTimeOfDay() const override;
    // Any thread. Milliseconds since construction.
    std::int64_t ElapsedMs() const;

    // One thread at a time, not from inside a listener. Moves time forward by `ms`
    // (negative values do nothing), stopping at each listener due time on the way.
    void Advance(std::int64_t ms);
    // As Advance, to an absolute ElapsedMs; a time in the past does nothing.
    void AdvanceTo(std::int64_t elapsedMs);
    // As Advance, to the earliest listener due time, if there is one not later than
    // `limitMs`. Returns false (and leaves time alone) when there is none.
    bool AdvanceToNextDue(std::int64_t limitMs = kNoLimit);

    // Any thread. Sets what TickCount() reads now; later advances count on from it.
    void SetTickCount(std::uint32_t tickCount);
    // Any thread. Sets what LocalTimeOfDay() reads now (an invalid time counts as
    // midnight); it wraps at midnight as time advances.
    void SetLocalTimeOfDay(QTime timeOfDay);

    // Any thread, but not while the listener is being called. The listener must stay
    // alive until it is removed.
    void AddListener(Listener& listener);
    void RemoveListener(Listener& listener);

private:
    std::optional<std::int64_t> EarliestDue(std::int64_t after) const;
    void NotifyAll(std::int64_t elapsedMs);

    std::atomic<std::int64_t> elapsed_{0};
    std::atomic<std::uint32_t> tickOffset_{0};  // TickCount = offset + elapsed (mod 2^32)
    std::atomic<std::int64_t> dayOffsetMs_{0};  // time of day = offset + elapsed (mod 1 day)
    mutable std::mutex listenersMutex_;
    std::vector<Listener*> listeners_;
};

}  // namespace lumbrel
