#include "audio/MessageQueue.h"

#include <utility>

namespace lumbrel {

void MessageQueue::PostMessage(int message, std::intptr_t wParam, std::intptr_t lParam) {
    {
        std::lock_guard lock(mutex_);
        messages_.push_back(Message{message, wParam, lParam});
    }
    posted_.notify_one();
}

std::optional<Message> MessageQueue::TryTake() {
    std::lock_guard lock(mutex_);
    if (messages_.empty()) {
        return std::nullopt;
    }
    Message front = messages_.front();
    messages_.pop_front();
    return front;
}

std::optional<Message> MessageQueue::TakeFor(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    if (!posted_.wait_for(lock, timeout, [this] { return !messages_.empty(); })) {
        return std::nullopt;
    }
    Message front = messages_.front();
    messages_.pop_front();
    return front;
}

Message MessageQueue::Take() {
    std::unique_lock lock(mutex_);
    posted_.wait(lock, [this] { return !messages_.empty(); });
    Message front = messages_.front();
    messages_.pop_front();
    return front;
}

std::vector<Message> MessageQueue::Drain() {
    std::deque<Message> taken;
    {
        std::lock_guard lock(mutex_);
        taken.swap(messages_);
    }
    return std::vector<Message>(taken.begin(), taken.end());
}

std::size_t MessageQueue::Size() const {
    std::lock_guard lock(mutex_);
    return messages_.size();
}

bool MessageQueue::Empty() const {
    std::lock_guard lock(mutex_);
    return messages_.empty();
}

}  // namespace lumbrel
