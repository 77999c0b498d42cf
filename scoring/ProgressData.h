#pragma once
// What the progress window shows, worked out from the history's records: the
// characters learnt day by day, and the error rates and confusions per character.
#include <QDate>
#include <QString>
#include <QStringList>

#include <vector>

#include "scoring/SessionRecord.h"

namespace lumbrel {

struct LearntOnDay {
    QDate day;
    int characters = 0;  // the highest N of the day's random-group sessions
};

// One point per day with a random-group session, oldest first.
std::vector<LearntOnDay> CharactersLearntByDay(const std::vector<SessionRecord>& records);

struct CharacterRate {
    QString character;
    int sent = 0;
    int dropped = 0;
    int wrong = 0;
    int Missed() const { return dropped + wrong; }
    double Rate() const { return sent > 0 ? static_cast<double>(Missed()) / sent : 0.0; }
    // What was copied for it instead, most often first ("" for nothing), with counts.
    std::vector<std::pair<QString, int>> takenFor;
};

// Errors per sent character over the last `lastSessions` records (all when < 0),
// highest error rate first; ties by more errors, then in learning order.
std::vector<CharacterRate> ErrorRates(const std::vector<SessionRecord>& records, int lastSessions = -1);

// "m 5, r 2, (none) 1": what a character was taken for.
QString TakenForText(const CharacterRate& rate, int count = 3);

// The confusion matrix over the same records: rows the sent characters, columns the
// copied characters and, last, "" for nothing copied; counts[row][column].
struct ConfusionMatrix {
    QStringList rows;
    QStringList columns;
    std::vector<std::vector<int>> counts;
    std::vector<int> sent;  // times each row's character was sent
};
ConfusionMatrix Confusions(const std::vector<SessionRecord>& records, int lastSessions = -1);

}  // namespace lumbrel
