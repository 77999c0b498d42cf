#pragma once
// A drill as the history keeps it: an instant-recognition drill (each character
// played, what was typed for it and how fast) or a callsign run (each call, what was
// copied, at what speed and for how many points).
#include <QDateTime>
#include <QString>

#include <vector>

#include "text/WeakCharacters.h"

namespace lumbrel {

enum class DrillKind { Recognition, Callsigns };

// "recognition" or "callsigns", as the history stores the kind.
QString DrillKindName(DrillKind kind);

struct RecognitionAnswer {
    QString character;    // as the character list shows it, lower case
    QString answer;       // what was typed; empty: nothing within the time limit
    int reactionMs = -1;  // from the heard end of the character to the key; -1: none
    bool early = false;   // typed before the character had been heard to its end: no time

    // The right character, typed after the heard end.
    bool Right() const;
    // The right character, typed before the heard end: neither right nor wrong, it
    // counts for nothing (accuracy, times, known, misses).
    bool Early() const;
    bool TimedOut() const { return answer.isEmpty(); }
    bool Wrong() const { return !answer.isEmpty() && !Right() && !Early(); }
};

// Adds an answer to its character's tally: a try, a miss when wrong or none within the
// time limit, half a miss (kSlowMiss) when right but slower than slowMs, the learner's
// target; an early answer adds nothing.
inline constexpr double kSlowMiss = 0.5;
void TallyAnswer(MissTallies& tallies, const RecognitionAnswer& answer, int slowMs);

struct CallAttempt {
    QString call;    // as sent
    QString copied;  // as typed
    int wpm = 0;     // the speed it was sent at
    bool replayed = false;
    int points = 0;  // 0 for a wrong call, half for one wrong character

    // The copy equals the call, case and spaces aside.
    bool Right() const;
};

struct DrillRecord {
    qint64 id = 0;  // the history's; 0 until stored
    DrillKind kind = DrillKind::Recognition;
    QDateTime ended;
    int durationSeconds = 0;
    int characterWpm = 0;  // the character speed; of a callsign run, the speed it began at

    // Instant recognition, in the order played.
    std::vector<RecognitionAnswer> answers;

    // Callsign run, in the order played.
    std::vector<CallAttempt> calls;
    int stepWpm = 0;
    int topWpm = 0;
    int score = 0;

    int CallsMissed() const;
};

}  // namespace lumbrel
