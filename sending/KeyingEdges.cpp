#include "sending/KeyingEdges.h"

#include <cerrno>
#include <ctime>
#include <limits>

namespace lumbrel {

KeyingEdgeQueue::KeyingEdgeQueue() {
    ::sem_init(&wake_, 0, 0);
}

KeyingEdgeQueue::~KeyingEdgeQueue() {
    ::sem_destroy(&wake_);
}

void KeyingEdgeQueue::Push(const KeyingEdge& edge) noexcept {
    const std::size_t tail = tail_.load(std::memory_order_relaxed);
    if (tail - head_.load(std::memory_order_acquire) >= kCapacity) {
        overflow_.store(true, std::memory_order_release);
    } else {
        edges_[tail % kCapacity] = edge;
        tail_.store(tail + 1, std::memory_order_release);
    }
    Wake();
}

bool KeyingEdgeQueue::Pop(KeyingEdge& edge) noexcept {
    const std::size_t head = head_.load(std::memory_order_relaxed);
    if (head == tail_.load(std::memory_order_acquire))
        return false;
    edge = edges_[head % kCapacity];
    head_.store(head + 1, std::memory_order_release);
    return true;
}

void KeyingEdgeQueue::Wake() noexcept {
    ::sem_post(&wake_);
}

void KeyingEdgeQueue::WaitUntil(std::int64_t untilUs) noexcept {
    // Every wake-up is one post: a sleep ends at the first, the rest end the next sleeps
    // at once, and the consumer looks at the queue each time.
    if (untilUs == std::numeric_limits<std::int64_t>::max()) {
        while (::sem_wait(&wake_) != 0 && errno == EINTR) {
        }
        return;
    }
    timespec until{};
    until.tv_sec = static_cast<std::time_t>(untilUs / 1'000'000);
    until.tv_nsec = static_cast<long>(untilUs % 1'000'000) * 1000;
    while (::sem_clockwait(&wake_, CLOCK_MONOTONIC, &until) != 0 && errno == EINTR) {
    }
}

}  // namespace lumbrel
