#pragma once
// One checked session as the history keeps it: the session's facts and the score
// of the copy, with the errors per character and what each was taken for.
#include <QDateTime>
#include <QString>

#include <vector>

#include "scoring/CopyScore.h"
#include "engine/SessionSummary.h"

namespace lumbrel {

struct CharacterErrors {
    QString character;
    int sent = 0;
    int dropped = 0;
    int wrong = 0;
    int added = 0;
    int Missed() const { return dropped + wrong; }
};

struct ConfusionCount {
    QString sent;
    QString copied;  // empty: nothing was copied for it
    int count = 0;
};

struct SessionRecord {
    qint64 id = 0;  // the history's; 0 until stored
    QDateTime ended;
    QString source;  // SourceName()
    QString order;   // OrderName()
    int characterCount = 0;
    int characterWpm = 0;
    double effectiveWpm = 0;
    int sessionMinutes = 0;
    int durationSeconds = 0;
    int charactersSent = 0;
    int dropped = 0;
    int added = 0;
    int wrong = 0;
    double accuracy = 0;  // percent
    std::vector<CharacterErrors> characters;
    std::vector<ConfusionCount> confusions;

    int Errors() const { return dropped + added + wrong; }
};

// "groups", "words", "qso" or "text".
QString SourceName(SourceKind source, bool singleEntry);
// "koch" or "mfj".
QString OrderName(LearningOrder order);
// What the progress window shows for a source name.
QString SourceCaption(const QString& source);

SessionRecord MakeSessionRecord(const SessionSummary& session, const QDateTime& ended,
                                const CopyScore& score);

}  // namespace lumbrel
