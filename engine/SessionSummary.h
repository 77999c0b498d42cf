#pragma once
// The facts of a session at its end, for checking the copy: what was sent, from which
// source, at which speed and for how long.
#include <QString>
#include <QStringList>

#include "morse/LearningOrders.h"
#include "engine/SessionTypes.h"

namespace lumbrel {

struct SessionSummary {
    SourceKind source = SourceKind::RandomGroups;
    bool singleEntry = false;  // a list session that plays one entry (a sample QSO)
    LearningOrder order = LearningOrder::Koch;
    int characterCount = 0;  // N, the spinner
    int characterWpm = 0;
    int effectivePermille = 1000;
    int sessionMinutes = 0;             // the setting that ends a random-group session
    int elapsedSeconds = 0;             // from the start to the end
    QString text;                       // every character heard, as the display shows it
    QStringList multiLetterCharacters;  // user-defined characters of more than one letter
};

}  // namespace lumbrel
