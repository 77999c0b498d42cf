#include "scoring/SessionRecord.h"

#include <QCoreApplication>

namespace lumbrel {

QString SourceName(SourceKind source, bool singleEntry) {
    switch (source) {
        case SourceKind::RandomGroups:
            return QStringLiteral("groups");
        case SourceKind::RandomEntries:
            return singleEntry ? QStringLiteral("qso") : QStringLiteral("words");
        case SourceKind::SequentialText:
            return QStringLiteral("text");
    }
    return QStringLiteral("groups");
}

QString OrderName(LearningOrder order) {
    return order == LearningOrder::Mfj ? QStringLiteral("mfj") : QStringLiteral("koch");
}

QString SourceCaption(const QString& source) {
    if (source == QLatin1String("groups"))
        return QCoreApplication::translate("lumbrel::SessionRecord", "Random groups");
    if (source == QLatin1String("words"))
        return QCoreApplication::translate("lumbrel::SessionRecord", "Words");
    if (source == QLatin1String("qso"))
        return QCoreApplication::translate("lumbrel::SessionRecord", "QSO");
    if (source == QLatin1String("text"))
        return QCoreApplication::translate("lumbrel::SessionRecord", "Text file");
    return source;
}

SessionRecord MakeSessionRecord(const SessionSummary& session, const QDateTime& ended,
                                const CopyScore& score) {
    SessionRecord r;
    r.ended = ended;
    r.source = SourceName(session.source, session.singleEntry);
    r.order = OrderName(session.order);
    r.characterCount = session.characterCount;
    r.characterWpm = session.characterWpm;
    r.effectiveWpm = session.characterWpm * session.effectivePermille / 1000.0;
    r.sessionMinutes = session.sessionMinutes;
    r.durationSeconds = session.elapsedSeconds;
    r.charactersSent = score.CharactersSent();
    r.dropped = score.Dropped();
    r.added = score.Added();
    r.wrong = score.Wrong();
    r.accuracy = score.AccuracyTenths() / 10.0;
    for (const CopyScore::Tally& t : score.Tallies())
        r.characters.push_back({t.character, t.sent, t.dropped, t.wrong, t.added});
    for (const CopyScore::Confusion& c : score.Confusions())
        r.confusions.push_back({c.sent, c.copied, c.count});
    return r;
}

}  // namespace lumbrel
