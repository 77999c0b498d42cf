#pragma once
// The windows' texts in the learner's language: the program's own translation (embedded
// as :/i18n/lumbrel_<language>.qm) and Qt's for its standard buttons and dialogs.
#include <QLocale>

namespace lumbrel {

// Replaces the translators installed by an earlier call with those for `locale`;
// returns whether the program has a translation for it (English needs none).
bool InstallTranslations(const QLocale& locale);

}  // namespace lumbrel
