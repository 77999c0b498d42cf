#include "scoring/DrillRecord.h"

#include <algorithm>

#include "scoring/CopyScore.h"

namespace lumbrel {

QString DrillKindName(DrillKind kind) {
    return kind == DrillKind::Callsigns ? QStringLiteral("callsigns") : QStringLiteral("recognition");
}

namespace {
bool Matches(const RecognitionAnswer& a) {
    return !a.answer.isEmpty() && a.answer.compare(a.character, Qt::CaseInsensitive) == 0;
}
}  // namespace

void TallyAnswer(MissTallies& tallies, const RecognitionAnswer& answer, int slowMs) {
    if (answer.Early())
        return;
    MissTally& t = tallies[answer.character.toLower()];
    t.tries += 1;
    if (!answer.Right())
        t.missed += 1;
    else if (answer.reactionMs > slowMs)
        t.missed += kSlowMiss;
}

bool RecognitionAnswer::Right() const {
    return !early && Matches(*this);
}

bool RecognitionAnswer::Early() const {
    return early && Matches(*this);
}

bool CallAttempt::Right() const {
    const QString sent = CopyScore::Normalise(call).remove(QLatin1Char(' '));
    return !sent.isEmpty() && CopyScore::Normalise(copied).remove(QLatin1Char(' ')) == sent;
}

int DrillRecord::CallsMissed() const {
    return static_cast<int>(
        std::count_if(calls.begin(), calls.end(), [](const CallAttempt& c) { return !c.Right(); }));
}

}  // namespace lumbrel
