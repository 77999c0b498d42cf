// The session clock on virtual time: the countdown stepped by the 50 ms timer, the
// session's seconds on a tick count that wraps, the time-up boundary and the read-out.
#include <gtest/gtest.h>

#include <string>

#include "audio/Clock.h"
#include "session/SessionClock.h"

namespace lumbrel {
namespace {

using Second = SessionClock::Second;

// Runs `ticks` timer ticks and writes what each brought: '.' nothing, 's' a session
// second, 'c' a countdown step, 'O' the countdown's end.
std::string Ticks(SessionClock& clock, int ticks) {
    std::string seen;
    for (int i = 0; i < ticks; ++i) {
        switch (clock.BeginTick()) {
            case Second::None:
                seen += '.';
                break;
            case Second::SessionSecond:
                seen += 's';
                break;
            case Second::CountdownStep:
                seen += 'c';
                break;
            case Second::CountdownOver:
                seen += 'O';
                break;
        }
        clock.EndTick();
    }
    return seen;
}

// Where the marks fall: the tick indices of every character that is not '.'.
std::string Marks(const std::string& ticks) {
    std::string marks;
    for (std::size_t i = 0; i < ticks.size(); ++i)
        if (ticks[i] != '.')
            marks += std::to_string(i) + ticks[i] + ' ';
    return marks;
}

TEST(SessionClockTest, TheCountdownStepsOnceASecondAndEndsOnTheLastStep) {
    const struct {
        int seconds;
        int ticks;
        std::string marks;
    } cases[] = {
        {1, 45, "19O 39s "},  // the tick that ends it counts: the next second is 20 ticks on
        {3, 85, "19c 39c 59O 79s "},
        {0, 45, "19s 39s "},  // nothing to count: seconds of a session at once
    };
    for (const auto& c : cases) {
        VirtualClock time;
        SessionClock clock(time);
        clock.StartCountdown(c.seconds);
        EXPECT_EQ(clock.CountdownPending(), c.seconds > 0);
        EXPECT_EQ(clock.CountdownLeft(), c.seconds);
        EXPECT_EQ(Marks(Ticks(clock, c.ticks)), c.marks) << c.seconds << " s";
        EXPECT_FALSE(clock.CountdownPending());
    }
}

TEST(SessionClockTest, StoppingDuringTheCountdownEndsItWithoutASession) {
    VirtualClock time;
    SessionClock clock(time);
    clock.StartCountdown(5);
    EXPECT_EQ(Marks(Ticks(clock, 30)), "19c ");
    EXPECT_EQ(clock.CountdownLeft(), 4);
    clock.CancelCountdown();
    EXPECT_FALSE(clock.CountdownPending());
    EXPECT_EQ(clock.CountdownLeft(), 0);
    // A countdown started again counts from the start, on ticks of its own.
    clock.StartCountdown(2);
    EXPECT_EQ(Marks(Ticks(clock, 40)), "19c 39O ");
    clock.RestartTicks();
    EXPECT_EQ(Marks(Ticks(clock, 20)), "19s ");
}

TEST(SessionClockTest, SecondsAndTimeUpCountOnTheTickCountAcrossItsWrap) {
    const struct {
        std::uint32_t startTick;
        std::int64_t afterMs;
        int seconds;
        std::uint32_t hundredths;
        bool timeUp;  // of a five-minute session
    } cases[] = {
        {0, 999, 0, 99, false},
        {0, 1000, 1, 100, false},
        {0xFFFFFC18u, 1000, 1, 100, false},  // the tick count wraps at the second
        {0xFFFFFFFFu, 299'999, 299, 29'999, false},
        {0xFFFFFFFFu, 300'000, 300, 30'000, true},
        {0x80000000u, 3'600'000, 3600, 360'000, true},
    };
    for (const auto& c : cases) {
        VirtualClock time(c.startTick, QTime(23, 59, 59));
        SessionClock clock(time);
        clock.StartSessionClock();
        clock.StartTextClock();
        time.Advance(c.afterMs / 2);
        time.SetLocalTimeOfDay(QTime(3, 0));  // midnight, a wall clock set back: no matter
        time.Advance(c.afterMs - c.afterMs / 2);
        EXPECT_EQ(clock.ElapsedSeconds(), c.seconds) << c.startTick << " + " << c.afterMs;
        EXPECT_EQ(clock.HundredthsSinceTextStart(), c.hundredths);
        EXPECT_EQ(clock.TimeUp(), c.timeUp);
    }
}

TEST(SessionClockTest, TheLengthAndTheReadOut) {
    const struct {
        int minutes;
        int seconds;
        bool timeUp;
    } lengths[] = {{5, 299, false}, {5, 300, true}, {1, 59, false}, {1, 60, true}, {0, 0, true}};
    VirtualClock time;
    SessionClock clock(time);
    EXPECT_EQ(clock.LengthMinutes(), 5);
    for (const auto& l : lengths) {
        clock.SetLengthMinutes(l.minutes);
        EXPECT_EQ(clock.TimeUp(l.seconds), l.timeUp) << l.minutes << " min, " << l.seconds << " s";
    }
    const struct {
        int seconds;
        const char* text;
    } readOuts[] = {{0, "00:00"},  {9, "00:09"},    {59, "00:59"},
                    {60, "01:00"}, {3599, "59:59"}, {6000, "100:00"}};
    for (const auto& r : readOuts)
        EXPECT_EQ(SessionClock::ClockText(r.seconds), QString::fromLatin1(r.text));
}

}  // namespace
}  // namespace lumbrel
