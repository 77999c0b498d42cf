#pragma once
// What the drills' end screens and the progress window show, worked out from drill
// records: per character the recognition accuracy and median reaction time, which
// characters are known, each character's median reaction time drill by drill, and
// the scores of the callsign runs.
#include <QDateTime>
#include <QSet>
#include <QString>

#include <span>
#include <vector>

#include "scoring/DrillRecord.h"

namespace lumbrel {

// The middle value; for an even count the mean of the two middle ones, rounded down.
// -1 for no values.
int MedianMs(std::vector<int> values);

struct RecognitionStats {
    QString character;
    int shown = 0;
    int right = 0;
    int timedOut = 0;
    int early = 0;      // the right character typed before it was heard (RecognitionAnswer::Early)
    int medianMs = -1;  // of the right answers; -1 when none was right

    // The answers that count: all but the early ones.
    int Counted() const { return shown - early; }
    int Wrong() const { return Counted() - right - timedOut; }
    double Accuracy() const { return Counted() > 0 ? 100.0 * right / Counted() : 0.0; }
};

// Per character, in the order first played.
std::vector<RecognitionStats> RecognitionByCharacter(std::span<const RecognitionAnswer> answers);
// The same over the last `lastDrills` recognition drills of the records (all when < 0).
std::vector<RecognitionStats> RecognitionByCharacter(const std::vector<DrillRecord>& drills,
                                                     int lastDrills = -1);

// Slowest first: the characters never right first, then by longer median, lower
// accuracy, and character.
void SortSlowestFirst(std::vector<RecognitionStats>& stats);

// A character is known when, in each of the last kKnownDrills recognition drills that
// played it at least kKnownAnswers times (early answers aside), at least
// kKnownAccuracyPercent of those answers were right and the median time of the right
// ones was under the target. A drill with fewer answers of it is passed over, unless
// they already fail the rule: it neither makes the character known nor is needed.
inline constexpr int kKnownDrills = 3;
inline constexpr int kKnownAnswers = 5;
inline constexpr int kKnownAccuracyPercent = 90;
QSet<QString> KnownCharacters(const std::vector<DrillRecord>& drills, int targetMs,
                              int drillsNeeded = kKnownDrills);

struct ReactionPoint {
    QDateTime ended;
    int medianMs = 0;
};
struct ReactionSeries {
    QString character;
    std::vector<ReactionPoint> points;  // oldest first
};
// Per character (in the order first played), one point for each recognition drill in
// which it was right at least once: the median time of its right answers.
std::vector<ReactionSeries> ReactionTimesByDrill(const std::vector<DrillRecord>& drills);
// Every character together: one point per recognition drill with a right answer.
std::vector<ReactionPoint> ReactionTimesOfDrills(const std::vector<DrillRecord>& drills);

struct CallsignScore {
    QDateTime ended;
    int score = 0;
    int startWpm = 0;
    int topWpm = 0;
    int calls = 0;
    int missed = 0;
};
// One per callsign run of the records, oldest first.
std::vector<CallsignScore> CallsignScores(const std::vector<DrillRecord>& drills);

}  // namespace lumbrel
