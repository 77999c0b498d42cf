#pragma once
// The one way key events reach the audio callback: a bounded lock-free queue that any
// number of input threads push to (keyboard on the UI thread, the serial and MIDI
// readers on their own) and the audio callback alone pops from. Neither side ever
// waits or allocates; a push into a full queue is dropped and counted.
//
// Each slot carries a sequence number (the bounded queue of D. Vyukov): a producer
// claims a position with one compare-and-swap on the tail, writes the slot and then
// publishes it by its sequence, so the consumer never reads a slot half written.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "sending/KeyEvent.h"

namespace lumbrel {

class KeyEventQueue {
public:
    static constexpr std::size_t kCapacity = 256;  // a power of two

    KeyEventQueue();
    KeyEventQueue(const KeyEventQueue&) = delete;
    KeyEventQueue& operator=(const KeyEventQueue&) = delete;

    // Any thread. False (the event dropped) when the queue is full.
    bool Push(const KeyEvent& event) noexcept;
    // The one consumer (the audio callback). False when nothing is queued.
    bool Pop(KeyEvent& event) noexcept;
    // Any thread. Pushes dropped because the queue was full.
    std::uint64_t Dropped() const { return dropped_.load(std::memory_order_relaxed); }

private:
    struct Slot {
        std::atomic<std::size_t> sequence{0};
        KeyEvent event;
    };
    std::array<Slot, kCapacity> slots_;
    alignas(64) std::atomic<std::size_t> tail_{0};  // next position to claim
    alignas(64) std::size_t head_ = 0;              // the consumer's next position
    std::atomic<std::uint64_t> dropped_{0};
};

}  // namespace lumbrel
