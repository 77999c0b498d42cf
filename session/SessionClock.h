#pragma once
// The session's time: the countdown before a session of random groups, the 50 ms
// timer's ticks that step it and the clock read-out once a second, and the session
// clock on the tick count with the session's length. Time comes from an injected
// Clock, so that tests and the offline renderer run on virtual time.
#include <QString>

#include <cstdint>

namespace lumbrel {

class Clock;

class SessionClock {
public:
    explicit SessionClock(const Clock& clock) : clock_(clock) {}

    // --- Countdown -------------------------------------------------------------------
    // Counts `seconds` down, one each second from the next tick on.
    void StartCountdown(int seconds);
    void CancelCountdown() { countdown_ = 0; }
    bool CountdownPending() const { return countdown_ > 0; }
    int CountdownLeft() const { return countdown_; }

    // --- The timer's ticks -------------------------------------------------------------
    // What a tick brings: every twentieth tick (once a second) the clock read-out of a
    // session, or a countdown step, or the countdown's end.
    enum class Second { None, SessionSecond, CountdownStep, CountdownOver };
    // Called at the start of each tick.
    Second BeginTick();
    // Called at the end of each tick: the tick counts even when the tick began a
    // session, so that its first second falls one tick early as it always did.
    void EndTick() { ++tickCounter_; }
    // The next second falls twenty ticks from now (a session or countdown begins).
    void RestartTicks() { tickCounter_ = 1; }

    // --- Session clock -------------------------------------------------------------------
    // The session begins now.
    void StartSessionClock();
    // Whole seconds since the session began, on the tick count: a wall clock set back
    // or forward (a correction, summer time) or midnight changes nothing.
    int ElapsedSeconds() const;
    // The read-out of `seconds`: "mm:ss".
    static QString ClockText(int seconds);

    // The session length is the setup dialog's spinner, read when it is needed.
    void SetLengthMinutes(int minutes) { lengthMinutes_ = minutes; }
    int LengthMinutes() const { return lengthMinutes_; }
    bool TimeUp(int elapsedSeconds) const { return elapsedSeconds >= 60 * lengthMinutes_; }
    bool TimeUp() const { return TimeUp(ElapsedSeconds()); }

    // A text file of station lines begins now; its log lines tell the time since.
    void StartTextClock();
    std::uint32_t HundredthsSinceTextStart() const;

private:
    const Clock& clock_;
    int countdown_ = 0;
    int tickCounter_ = 0;
    std::uint32_t startTick_ = 0;
    std::uint32_t textStartTick_ = 0;
    int lengthMinutes_ = 5;
};

}  // namespace lumbrel
