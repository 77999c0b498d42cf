#include "scoring/KochStep.h"

#include <QCoreApplication>

#include <QStringList>

namespace lumbrel {

bool RanWholeSession(const SessionSummary& session) {
    return session.elapsedSeconds >= session.sessionMinutes * 60;
}

QString StoppedEarlyText(const SessionSummary& session) {
    if (RanWholeSession(session))
        return {};
    return QCoreApplication::translate(
               "lumbrel::CopyScore",
               "The session was stopped at %1:%2 of %3 minute%4; the next character is added after a "
               "whole session.")
        .arg(session.elapsedSeconds / 60)
        .arg(session.elapsedSeconds % 60, 2, 10, QLatin1Char('0'))
        .arg(session.sessionMinutes)
        .arg(session.sessionMinutes == 1
                 ? QString()
                 : QCoreApplication::translate("lumbrel::CopyScore", "s", "plural ending of minute"));
}

NextCharacterOffer OfferNextCharacter(const TrainerStanding& now, const SessionSummary& session,
                                      const CopyScore& score) {
    NextCharacterOffer offer;
    if (session.source != SourceKind::RandomGroups || !score.ReachesKochThreshold() ||
        !RanWholeSession(session))
        return offer;
    if (now.sessionBusy)
        return offer;
    if (now.characters.Order() != session.order)
        return offer;
    const SessionOptions& options = now.options;
    const int n = options.Get(Option::CharacterCount);
    if (n != session.characterCount || n >= options.Maximum(Option::CharacterCount))
        return offer;
    const auto& list = now.characters.CharacterList();
    if (n + 1 >= static_cast<int>(list.size()))
        return offer;
    offer.available = true;
    offer.count = n + 1;
    offer.character = list[static_cast<std::size_t>(n + 1)]->display;
    return offer;
}

bool OfferHolds(const TrainerStanding& now, const NextCharacterOffer& offer) {
    if (!offer.available || now.sessionBusy)
        return false;
    return now.options.Get(Option::CharacterCount) == offer.count - 1 &&
           offer.count <= now.options.Maximum(Option::CharacterCount);
}

QString ShortfallText(const CopyScore& score) {
    if (score.CharactersSent() <= 0 || score.ReachesKochThreshold())
        return {};
    const int tenths = CopyScore::kKochThresholdPercent * 10 - score.AccuracyTenths();
    const int errors = score.ErrorsAboveThreshold();
    return (errors == 1 ? QCoreApplication::translate("lumbrel::CopyScore",
                                                      "%1.%2 points to go to %3% (%4 error too many)")
                        : QCoreApplication::translate("lumbrel::CopyScore",
                                                      "%1.%2 points to go to %3% (%4 errors too many)"))
        .arg(tenths / 10)
        .arg(tenths % 10)
        .arg(CopyScore::kKochThresholdPercent)
        .arg(errors);
}

QString MostMissedText(const CopyScore& score, int count) {
    QStringList parts;
    for (const CopyScore::Tally& t : score.MostMissed(count)) {
        QString part = QCoreApplication::translate("lumbrel::CopyScore", "%1 %2 of %3")
                           .arg(t.character)
                           .arg(t.Missed())
                           .arg(t.sent);
        const QString as = score.MostTakenFor(t.character);
        if (!as.isEmpty()) {
            int times = 0;
            for (const CopyScore::Confusion& c : score.Confusions())
                if (c.sent == t.character && c.copied == as)
                    times = c.count;
            part += QCoreApplication::translate("lumbrel::CopyScore", " (as %1 %2)").arg(as).arg(times);
        }
        parts << part;
    }
    return parts.join(QStringLiteral(", "));
}

}  // namespace lumbrel
