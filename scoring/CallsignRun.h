#pragma once
// The rules of a callsign run, without sound or window: a run of calls in the formats
// heard on the air (text/Callsigns.h) or drawn from a list of real calls, each played once, copied and entered; the
// speed follows the learner, a step up after a right call and a step down after a
// wrong one, within kMinWpm and the run's ceiling (at most kMaxWpm). Each call may
// sound at a pitch of its own, within the run's spread of the main pitch.
//
// Points: a right call scores its speed in WPM times its number of characters (the
// slashes included), K1ABC at 30 WPM 150 points; a call replayed scores half of that,
// rounded down; a call copied with one character wrong, missing or added scores half
// of what it would have scored right, rounded down; more, and it scores nothing. Only
// one replay per call.
//
// The window plays Call() at Wpm(), offers Replay() on a key, and hands over what was
// typed with Enter(); the copy of a wrong call comes back aligned with the call, the
// wrong characters marked (CopyScore). UI thread only.
#include <QDateTime>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scoring/CopyScore.h"
#include "scoring/DrillRecord.h"
#include "text/Callsigns.h"

namespace lumbrel {

struct CallsignRunOptions {
    int calls = 50;
    int startWpm = 20;
    int stepWpm = 2;
    int maxWpm = 150;       // the ceiling, kMinWpm..kMaxWpm
    int pitchSpreadHz = 0;  // each call's pitch within this of the main pitch; 0: the main pitch
};

class CallsignRun {
public:
    static constexpr int kMinWpm = 10;
    static constexpr int kMaxWpm = 150;
    static constexpr int kMaxStepWpm = 20;
    static constexpr int kMaxPitchSpreadHz = 200;

    // bestBefore: the best score of the runs before (History::BestCallsignScore).
    CallsignRun(CallsignRunOptions options, std::uint32_t seed, std::optional<int> bestBefore);

    // The call to play now and its speed; the call is empty once the run is over.
    const QString& Call() const { return call_; }
    int Wpm() const { return wpm_; }
    // The call's pitch, from the main pitch.
    int PitchOffsetHz() const { return pitchOffsetHz_; }
    // The number of the call playing now, from 1; the number of calls once over.
    int CallNumber() const { return std::min(static_cast<int>(played_.size()) + 1, options_.calls); }
    // Plays the call again: true the first time for a call (its points are halved),
    // false after that or once the run is over.
    bool Replay();

    struct Checked {
        CallAttempt attempt;
        CopyScore score;  // the call against the copy, each character marked
    };
    // The copy of the current call: scored, the speed moved, the next call drawn.
    // Nothing once the run is over.
    std::optional<Checked> Enter(const QString& copied);

    bool Over() const { return played_.size() >= static_cast<std::size_t>(options_.calls); }
    int Score() const { return score_; }
    // The fastest call copied right; 0 when none was.
    int TopWpm() const { return topWpm_; }
    const std::vector<CallAttempt>& Played() const { return played_; }
    std::vector<CallAttempt> Missed() const;
    // The best score before this run, and whether this one beats it.
    std::optional<int> BestBefore() const { return bestBefore_; }
    bool NewBest() const { return score_ > 0 && (!bestBefore_ || score_ > *bestBefore_); }
    const CallsignRunOptions& Options() const { return options_; }

    // The points of a call: wrong is the number of characters wrong, missing or added.
    static int Points(int wpm, const QString& call, bool replayed, int wrong = 0);

    // Draws the calls from these (real calls, text/RealCalls.h, or the ones missed
    // before) rather than making them; the current call is drawn again when none was
    // entered yet. An empty list leaves the made calls.
    void DrawFrom(std::vector<std::string> calls);
    // The calls copied wrong in the runs, each once, in the order first missed.
    static std::vector<std::string> MissedCalls(const std::vector<DrillRecord>& runs);

    DrillRecord Record(const QDateTime& ended, int durationSeconds) const;

private:
    void Draw();

    CallsignRunOptions options_;
    callsigns::Draw draw_;
    callsigns::CallsignMaker maker_;
    std::vector<std::string> pool_;
    std::optional<int> bestBefore_;
    QString call_;
    int wpm_ = 0;
    int pitchOffsetHz_ = 0;
    bool replayed_ = false;
    int score_ = 0;
    int topWpm_ = 0;
    std::vector<CallAttempt> played_;
};

}  // namespace lumbrel
