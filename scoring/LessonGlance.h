#pragma once
// The lesson at a glance, for the window's title: the characters in use and how the
// last checked random-group session went against the 90 % of the Koch step.
#include <QString>
#include <QStringList>

#include <vector>

#include "scoring/SessionRecord.h"

namespace lumbrel {

// "Lesson 5: k m r s u, last copy 87 % (3 points to go)", from the characters in use
// and the checked sessions of the history (any order); empty while the history holds
// no checked random-group session. The percentage is rounded down, as the check shows
// it. Translated ("Lesson" context).
QString LessonGlance(const QStringList& characters, const std::vector<SessionRecord>& sessions);

}  // namespace lumbrel
