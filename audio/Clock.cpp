#include "audio/Clock.h"

#include <algorithm>
#include <chrono>

namespace lumbrel {

namespace {

constexpr std::int64_t kMsPerDay = 24LL * 60 * 60 * 1000;

}  // namespace

std::uint32_t SystemClock::TickCount() const {
    const auto sinceBoot = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(sinceBoot).count();
    return static_cast<std::uint32_t>(ms);
}

QTime SystemClock::LocalTimeOfDay() const {
    return QTime::currentTime();
}

VirtualClock::VirtualClock(std::uint32_t startTickCount, QTime startTimeOfDay) {
    SetTickCount(startTickCount);
    SetLocalTimeOfDay(startTimeOfDay);
}

std::uint32_t VirtualClock::TickCount() const {
    return tickOffset_.load() + static_cast<std::uint32_t>(elapsed_.load());
}

QTime VirtualClock::LocalTimeOfDay() const {
    std::int64_t ms = (dayOffsetMs_.load() + elapsed_.load()) % kMsPerDay;
    if (ms < 0) {
        ms += kMsPerDay;
    }
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms));
}

std::int64_t VirtualClock::ElapsedMs() const {
    return elapsed_.load();
}

void VirtualClock::SetTickCount(std::uint32_t tickCount) {
    tickOffset_.store(tickCount - static_cast<std::uint32_t>(elapsed_.load()));
}

void VirtualClock::SetLocalTimeOfDay(QTime timeOfDay) {
    const std::int64_t ms = timeOfDay.isValid() ? timeOfDay.msecsSinceStartOfDay() : 0;
    dayOffsetMs_.store(ms - elapsed_.load());
}

void VirtualClock::AddListener(Listener& listener) {
    std::lock_guard lock(listenersMutex_);
    if (std::find(listeners_.begin(), listeners_.end(), &listener) == listeners_.end()) {
        listeners_.push_back(&listener);
    }
}

void VirtualClock::RemoveListener(Listener& listener) {
    std::lock_guard lock(listenersMutex_);
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), &listener), listeners_.end());
}

// The earliest due time strictly after `after`, or the earliest of all when `after`
// is the smallest int64.
std::optional<std::int64_t> VirtualClock::EarliestDue(std::int64_t after) const {
    std::lock_guard lock(listenersMutex_);
    std::optional<std::int64_t> earliest;
    for (const Listener* listener : listeners_) {
        const std::optional<std::int64_t> due = listener->NextDueMs();
        if (due && *due > after && (!earliest || *due < *earliest)) {
            earliest = due;
        }
    }
    return earliest;
}

void VirtualClock::NotifyAll(std::int64_t elapsedMs) {
    // Walk the live list by index without holding the lock during the call, so that a
    // listener may add or remove listeners (itself included) while it is called.
    for (std::size_t i = 0;; ++i) {
        Listener* listener = nullptr;
        {
            std::lock_guard lock(listenersMutex_);
            if (i >= listeners_.size()) {
                return;
            }
            listener = listeners_[i];
        }
        listener->OnClockAdvanced(elapsedMs);
    }
}

void VirtualClock::Advance(std::int64_t ms) {
    if (ms > 0) {
        AdvanceTo(elapsed_.load() + ms);
    }
}

void VirtualClock::AdvanceTo(std::int64_t elapsedMs) {
    std::int64_t now = elapsed_.load();
    if (elapsedMs < now) {
        return;
    }
    // Something already due at the current time (written while the clock stood still)
    // is handled before time moves on.
    const std::optional<std::int64_t> first = EarliestDue(std::numeric_limits<std::int64_t>::min());
    if (first && *first <= now) {
        NotifyAll(now);
    }
    for (;;) {
        std::int64_t next = elapsedMs;
        const std::optional<std::int64_t> due = EarliestDue(now);
        if (due && *due < next) {
            next = *due;
        }
        elapsed_.store(next);
        now = next;
        NotifyAll(now);
        if (now >= elapsedMs) {
            return;
        }
    }
}

bool VirtualClock::AdvanceToNextDue(std::int64_t limitMs) {
    const std::int64_t now = elapsed_.load();
    const std::optional<std::int64_t> first = EarliestDue(std::numeric_limits<std::int64_t>::min());
    if (!first || *first > limitMs) {
        return false;
    }
    if (*first <= now) {
        NotifyAll(now);
    } else {
        AdvanceTo(*first);
    }
    return true;
}

}  // namespace lumbrel
