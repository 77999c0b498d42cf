#pragma once
// The keyed line's edges, from the audio callback that makes the marks to the thread
// that switches the rig's lines: a bounded single-producer, single-consumer queue
// with a wake-up. Pushing never waits, locks or allocates (a POSIX semaphore's post is
// one atomic and, when the consumer sleeps, one futex wake); the consumer sleeps on
// the semaphore until an edge arrives or a moment on the steady clock comes.
#include <semaphore.h>

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace lumbrel {

// One change of the keyed line, timed by when it is heard (the steady clock's
// microseconds, as KeyEvent). A timed element (dit, dah) is one Mark with both ends; a
// mark made by hand is a HandDown and, later, a HandUp, with a HandHeld at the end of
// every callback between (the sound still runs and the key is still down). Marks may
// overlap (a straight key closed during a dit): the line is keyed while any is.
struct KeyingEdge {
    enum class Kind : std::uint8_t { Mark, HandDown, HandHeld, HandUp };
    Kind kind = Kind::Mark;
    std::int64_t atUs = 0;
    std::int64_t untilUs = 0;  // Mark: its end

    friend bool operator==(const KeyingEdge&, const KeyingEdge&) = default;
};

class KeyingEdgeQueue {
public:
    static constexpr std::size_t kCapacity = 256;

    KeyingEdgeQueue();
    ~KeyingEdgeQueue();
    KeyingEdgeQueue(const KeyingEdgeQueue&) = delete;
    KeyingEdgeQueue& operator=(const KeyingEdgeQueue&) = delete;

    // The producer (the audio callback). A push into a full queue is dropped and
    // remembered (TakeOverflow); either way the consumer is woken.
    void Push(const KeyingEdge& edge) noexcept;
    // The consumer. False when nothing is queued.
    bool Pop(KeyingEdge& edge) noexcept;
    // The consumer: whether edges were dropped since the last call.
    bool TakeOverflow() noexcept { return overflow_.exchange(false, std::memory_order_acq_rel); }

    // Any thread: wakes the consumer's WaitUntil.
    void Wake() noexcept;
    // The consumer: sleeps until woken or until the steady clock reaches untilUs
    // (INT64_MAX: until woken).
    void WaitUntil(std::int64_t untilUs) noexcept;

private:
    std::array<KeyingEdge, kCapacity> edges_{};
    alignas(64) std::atomic<std::size_t> head_{0};
    alignas(64) std::atomic<std::size_t> tail_{0};
    std::atomic<bool> overflow_{false};
    sem_t wake_;
};

}  // namespace lumbrel
