#include "scoring/HistoryCsv.h"

#include <QSaveFile>
#include <QStringList>

namespace lumbrel {
namespace {

// A cell that a spreadsheet would take for a formula (one that begins with = + - @, a
// tab or a carriage return) gets an apostrophe in front, inside quotes, so that it
// shows as the text it is.
QString Field(const QString& text)
{
    const bool formula = !text.isEmpty() && QStringView(u"=+-@\t\r").contains(text.front());
    const QString value = formula ? QLatin1Char('\'') + text : text;
    const bool quote = formula || value.contains(QLatin1Char(',')) || value.contains(QLatin1Char('"')) ||
                       value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r')) ||
                       value.startsWith(QLatin1Char(' ')) || value.endsWith(QLatin1Char(' '));
    if (!quote)
        return value;
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// Local time with its offset from UTC: 2024-05-01T19:30:00+02:00.
QString LocalTimeText(const QDateTime& t)
{
    if (!t.isValid())
        return {};
    const QDateTime local = t.toLocalTime();
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate);
}

}  // namespace

QString HistoryCsv(const std::vector<SessionRecord>& records)
{
    static const QStringList header = {
        QStringLiteral("ended"),           QStringLiteral("source"),           QStringLiteral("learning_order"),
        QStringLiteral("characters"),      QStringLiteral("character_wpm"),    QStringLiteral("effective_wpm"),
        QStringLiteral("session_minutes"), QStringLiteral("duration_seconds"), QStringLiteral("characters_sent"),
        QStringLiteral("dropped"),         QStringLiteral("added"),            QStringLiteral("wrong"),
        QStringLiteral("errors"),          QStringLiteral("accuracy"),         QStringLiteral("character_errors"),
        QStringLiteral("confusions"),
    };
    const QLatin1String crlf("\r\n");
    QString out = header.join(QLatin1Char(',')) + crlf;
    for (const SessionRecord& r : records) {
        // "k 2/15" per character: errors (dropped or wrong) of the times it was sent.
        QStringList characters;
        for (const CharacterErrors& e : r.characters)
            if (e.sent > 0)
                characters << QStringLiteral("%1 %2/%3").arg(e.character).arg(e.Missed()).arg(e.sent);
        // "k>m 3": k copied as m three times; "k>_ 1": k not copied.
        QStringList confusions;
        for (const ConfusionCount& c : r.confusions)
            confusions << QStringLiteral("%1>%2 %3")
                              .arg(c.sent, c.copied.isEmpty() ? QStringLiteral("_") : c.copied)
                              .arg(c.count);
        const QStringList fields = {
            LocalTimeText(r.ended),
            r.source,
            r.order,
            QString::number(r.characterCount),
            QString::number(r.characterWpm),
            QString::number(r.effectiveWpm, 'f', 1),
            QString::number(r.sessionMinutes),
            QString::number(r.durationSeconds),
            QString::number(r.charactersSent),
            QString::number(r.dropped),
            QString::number(r.added),
            QString::number(r.wrong),
            QString::number(r.Errors()),
            QString::number(r.accuracy, 'f', 1),
            characters.join(QStringLiteral("; ")),
            confusions.join(QStringLiteral("; ")),
        };
        QStringList quoted;
        for (const QString& f : fields)
            quoted << Field(f);
        out += quoted.join(QLatin1Char(',')) + crlf;
    }
    return out;
}

QString ExportHistoryCsv(const std::vector<SessionRecord>& records, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("%1 cannot be written: %2").arg(path, file.errorString());
    const QByteArray bytes = HistoryCsv(records).toUtf8();
    if (file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("%1 cannot be written: %2").arg(path, file.errorString());
    return {};
}

}  // namespace lumbrel
