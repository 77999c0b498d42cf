#include "sending/KeyEventQueue.h"

#include <chrono>

namespace lumbrel {

std::int64_t SteadyMicroseconds() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

static_assert((KeyEventQueue::kCapacity & (KeyEventQueue::kCapacity - 1)) == 0);

KeyEventQueue::KeyEventQueue() {
    for (std::size_t i = 0; i < kCapacity; ++i)
        slots_[i].sequence.store(i, std::memory_order_relaxed);
}

bool KeyEventQueue::Push(const KeyEvent& event) noexcept {
    std::size_t position = tail_.load(std::memory_order_relaxed);
    for (;;) {
        Slot& slot = slots_[position & (kCapacity - 1)];
        const std::size_t sequence = slot.sequence.load(std::memory_order_acquire);
        const auto lead = static_cast<std::ptrdiff_t>(sequence) - static_cast<std::ptrdiff_t>(position);
        if (lead == 0) {
            if (tail_.compare_exchange_weak(position, position + 1, std::memory_order_relaxed)) {
                slot.event = event;
                slot.sequence.store(position + 1, std::memory_order_release);
                return true;
            }
        } else if (lead < 0) {
            dropped_.fetch_add(1, std::memory_order_relaxed);
            return false;  // the consumer has not freed this slot yet: full
        } else {
            position = tail_.load(std::memory_order_relaxed);
        }
    }
}

bool KeyEventQueue::Pop(KeyEvent& event) noexcept {
    Slot& slot = slots_[head_ & (kCapacity - 1)];
    if (slot.sequence.load(std::memory_order_acquire) != head_ + 1)
        return false;
    event = slot.event;
    slot.sequence.store(head_ + kCapacity, std::memory_order_release);
    ++head_;
    return true;
}

}  // namespace lumbrel
