#include "scoring/LessonGlance.h"

#include <QCoreApplication>

#include <cmath>

#include "scoring/CopyScore.h"

namespace lumbrel {

QString LessonGlance(const QStringList& characters, const std::vector<SessionRecord>& sessions) {
    const SessionRecord* last = nullptr;
    for (const SessionRecord& s : sessions)
        if (s.source == QLatin1String("groups") && (!last || s.ended >= last->ended))
            last = &s;
    if (!last || characters.isEmpty())
        return {};
    QStringList shown;
    for (const QString& c : characters)
        shown << c.toLower();
    // Tenths first, so that 89.99 % is not shown as 90 %.
    const int percent = static_cast<int>(std::floor(last->accuracy * 10 + 1e-6)) / 10;
    const int toGo = CopyScore::kKochThresholdPercent - percent;
    const QString lesson = QCoreApplication::translate("Lesson", "Lesson %1: %2, last copy %3 %")
                               .arg(characters.size())
                               .arg(shown.join(QLatin1Char(' ')))
                               .arg(percent);
    const QString step = toGo > 1    ? QCoreApplication::translate("Lesson", "(%1 points to go)").arg(toGo)
                         : toGo == 1 ? QCoreApplication::translate("Lesson", "(1 point to go)")
                                     : QCoreApplication::translate("Lesson", "(the next character is due)");
    return lesson + QLatin1Char(' ') + step;
}

}  // namespace lumbrel
