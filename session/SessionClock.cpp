#include "session/SessionClock.h"

#include "audio/Clock.h"

namespace lumbrel {

void SessionClock::StartCountdown(int seconds) {
    tickCounter_ = 1;
    countdown_ = seconds;
}

SessionClock::Second SessionClock::BeginTick() {
    if (tickCounter_ % 20 != 0)
        return Second::None;
    if (countdown_ == 0)
        return Second::SessionSecond;
    countdown_ -= 1;
    if (countdown_ > 0)
        return Second::CountdownStep;
    tickCounter_ = 0;
    return Second::CountdownOver;
}

void SessionClock::StartSessionClock() {
    startTick_ = clock_.TickCount();
}

int SessionClock::ElapsedSeconds() const {
    return static_cast<int>((clock_.TickCount() - startTick_) / 1000u);
}

QString SessionClock::ClockText(int seconds) {
    return QStringLiteral("%1:%2")
        .arg(seconds / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

void SessionClock::StartTextClock() {
    textStartTick_ = clock_.TickCount();
}

std::uint32_t SessionClock::HundredthsSinceTextStart() const {
    return (clock_.TickCount() - textStartTick_) / 10u;
}

}  // namespace lumbrel
