#pragma once
// A thread-safe first-in first-out queue of messages: the MessageTarget used by tests
// and by the offline renderer, where no window system runs the message loop.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

#include "audio/Messages.h"

namespace lumbrel {

class MessageQueue final : public MessageTarget {
public:
    MessageQueue() = default;
    MessageQueue(const MessageQueue&) = delete;
    MessageQueue& operator=(const MessageQueue&) = delete;

    // Any thread. Appends the message and wakes one waiting taker.
    void PostMessage(int message, std::intptr_t wParam, std::intptr_t lParam) override;

    // Any thread. The oldest message, or nothing when the queue is empty.
    std::optional<Message> TryTake();

    // Any thread. The oldest message, waiting up to `timeout` for one to arrive.
    std::optional<Message> TakeFor(std::chrono::milliseconds timeout);

    // Any thread. The oldest message, waiting as long as it takes.
    Message Take();

    // Any thread. Every queued message, oldest first; the queue is empty afterwards.
    std::vector<Message> Drain();

    // Any thread. A snapshot: other threads may post at any moment.
    std::size_t Size() const;
    bool Empty() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<Message> messages_;
};

}  // namespace lumbrel
