#include "scoring/HistoryCsv.h"

#include <QCoreApplication>

#include <QSaveFile>
#include <QStringList>

#include "scoring/SendingKindNames.h"

namespace lumbrel {
namespace {

// A cell that a spreadsheet would take for a formula (one that begins with = + - @, a
// tab or a carriage return) gets an apostrophe in front, inside quotes, so that it
// shows as the text it is.
QString Field(const QString& text) {
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
QString LocalTimeText(const QDateTime& t) {
    if (!t.isValid())
        return {};
    const QDateTime local = t.toLocalTime();
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate);
}

}  // namespace

QString HistoryCsv(const std::vector<SessionRecord>& records) {
    static const QStringList header = {
        QStringLiteral("ended"),
        QStringLiteral("source"),
        QStringLiteral("learning_order"),
        QStringLiteral("characters"),
        QStringLiteral("character_wpm"),
        QStringLiteral("effective_wpm"),
        QStringLiteral("session_minutes"),
        QStringLiteral("duration_seconds"),
        QStringLiteral("characters_sent"),
        QStringLiteral("dropped"),
        QStringLiteral("added"),
        QStringLiteral("wrong"),
        QStringLiteral("errors"),
        QStringLiteral("accuracy"),
        QStringLiteral("character_errors"),
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

QString ExportHistoryCsv(const std::vector<SessionRecord>& records, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QCoreApplication::translate("lumbrel::History", "%1 cannot be written: %2")
            .arg(path, file.errorString());
    const QByteArray bytes = HistoryCsv(records).toUtf8();
    if (file.write(bytes) != bytes.size() || !file.commit())
        return QCoreApplication::translate("lumbrel::History", "%1 cannot be written: %2")
            .arg(path, file.errorString());
    return {};
}

namespace {

QString CsvLines(const QStringList& header, const std::vector<QStringList>& rows) {
    const QLatin1String crlf("\r\n");
    QString out = header.join(QLatin1Char(',')) + crlf;
    for (const QStringList& fields : rows) {
        QStringList quoted;
        for (const QString& f : fields)
            quoted << Field(f);
        out += quoted.join(QLatin1Char(',')) + crlf;
    }
    return out;
}

QString WriteCsv(const QString& text, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QCoreApplication::translate("lumbrel::History", "%1 cannot be written: %2")
            .arg(path, file.errorString());
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size() || !file.commit())
        return QCoreApplication::translate("lumbrel::History", "%1 cannot be written: %2")
            .arg(path, file.errorString());
    return {};
}

}  // namespace

QString DrillsCsv(const std::vector<DrillRecord>& drills) {
    std::vector<QStringList> rows;
    for (const DrillRecord& d : drills) {
        const bool calls = d.kind == DrillKind::Callsigns;
        int right = 0;
        for (const RecognitionAnswer& a : d.answers)
            right += a.Right();
        rows.push_back({
            QString::number(d.id),
            LocalTimeText(d.ended),
            DrillKindName(d.kind),
            QString::number(d.durationSeconds),
            QString::number(d.characterWpm),
            calls ? QString() : QString::number(d.answers.size()),
            calls ? QString() : QString::number(right),
            calls ? QString::number(d.calls.size()) : QString(),
            calls ? QString::number(d.CallsMissed()) : QString(),
            calls ? QString::number(d.stepWpm) : QString(),
            calls ? QString::number(d.topWpm) : QString(),
            calls ? QString::number(d.score) : QString(),
        });
    }
    return CsvLines(
        {QStringLiteral("id"), QStringLiteral("ended"), QStringLiteral("kind"),
         QStringLiteral("duration_seconds"), QStringLiteral("character_wpm"), QStringLiteral("answers"),
         QStringLiteral("right"), QStringLiteral("calls"), QStringLiteral("calls_missed"),
         QStringLiteral("step_wpm"), QStringLiteral("top_wpm"), QStringLiteral("score")},
        rows);
}

QString RecognitionAnswersCsv(const std::vector<DrillRecord>& drills) {
    std::vector<QStringList> rows;
    for (const DrillRecord& d : drills)
        for (std::size_t k = 0; k < d.answers.size(); ++k) {
            const RecognitionAnswer& a = d.answers[k];
            rows.push_back({QString::number(d.id), QString::number(k + 1), a.character, a.answer,
                            a.TimedOut() ? QString() : QString::number(a.reactionMs),
                            a.Right() ? QStringLiteral("1") : QStringLiteral("0")});
        }
    return CsvLines({QStringLiteral("drill_id"), QStringLiteral("seq"), QStringLiteral("character"),
                     QStringLiteral("answer"), QStringLiteral("reaction_ms"), QStringLiteral("right")},
                    rows);
}

QString CallsignCallsCsv(const std::vector<DrillRecord>& drills) {
    std::vector<QStringList> rows;
    for (const DrillRecord& d : drills)
        for (std::size_t k = 0; k < d.calls.size(); ++k) {
            const CallAttempt& a = d.calls[k];
            rows.push_back({QString::number(d.id), QString::number(k + 1), a.call, a.copied,
                            QString::number(a.wpm), a.replayed ? QStringLiteral("1") : QStringLiteral("0"),
                            QString::number(a.points)});
        }
    return CsvLines(
        {QStringLiteral("drill_id"), QStringLiteral("seq"), QStringLiteral("call"), QStringLiteral("copied"),
         QStringLiteral("wpm"), QStringLiteral("replayed"), QStringLiteral("points")},
        rows);
}

QStringList DrillCsvPaths(const QString& sessionsPath) {
    QString stem = sessionsPath;
    if (stem.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        stem.chop(4);
    return {stem + QLatin1String("-drills.csv"), stem + QLatin1String("-recognition.csv"),
            stem + QLatin1String("-callsigns.csv")};
}

QString ExportDrillsCsv(const std::vector<DrillRecord>& drills, const QString& sessionsPath) {
    const QStringList paths = DrillCsvPaths(sessionsPath);
    const QString texts[] = {DrillsCsv(drills), RecognitionAnswersCsv(drills), CallsignCallsCsv(drills)};
    for (int k = 0; k < 3; ++k)
        if (const QString problem = WriteCsv(texts[k], paths[k]); !problem.isEmpty())
            return problem;
    return {};
}

namespace {

// A measure of the fist with two decimals; empty where it was not measured (0).
QString Measure(double value, bool measured = false) {
    return measured || value > 0 ? QString::number(value, 'f', 2) : QString();
}

}  // namespace

QString SendingsCsv(const std::vector<SendingRecord>& sendings) {
    std::vector<QStringList> rows;
    for (const SendingRecord& s : sendings) {
        int right = 0;
        for (const SentItem& item : s.items)
            right += item.Right() ? 1 : 0;
        const double accuracy = s.AccuracyPercent();
        const SendingFist& f = s.fist;
        // The spreads of a measured fist may be 0 (a keyer's even timing).
        const bool fist = f.wpm > 0;
        rows.push_back({
            QString::number(s.id),
            LocalTimeText(s.ended),
            SendingKindName(s.kind),
            QString::number(s.durationSeconds),
            s.keyer,
            QString::number(s.keyerWpm),
            QString::number(s.items.size()),
            s.kind == SendingKind::Free ? QString() : QString::number(right),
            accuracy < 0 ? QString() : QString::number(accuracy, 'f', 1),
            fist ? QString::number(f.wpm, 'f', 1) : QString(),
            fist ? Measure(f.dashDotRatio) : QString(),
            fist ? Measure(f.weighting) : QString(),
            fist ? Measure(f.dotSpread, true) : QString(),
            fist ? Measure(f.dashSpread, f.dashDotRatio > 0) : QString(),
            fist ? Measure(f.elementGap) : QString(),
            fist ? Measure(f.elementGapSpread, f.elementGap > 0) : QString(),
            fist ? Measure(f.characterGap) : QString(),
            fist ? Measure(f.characterGapSpread, f.characterGap > 0) : QString(),
            fist ? Measure(f.wordGap) : QString(),
            fist ? Measure(f.wordGapSpread, f.wordGap > 0) : QString(),
            QString::number(f.notes.size()),
        });
    }
    return CsvLines({QStringLiteral("id"),
                     QStringLiteral("ended"),
                     QStringLiteral("kind"),
                     QStringLiteral("duration_seconds"),
                     QStringLiteral("keyer"),
                     QStringLiteral("keyer_wpm"),
                     QStringLiteral("items"),
                     QStringLiteral("right"),
                     QStringLiteral("accuracy"),
                     QStringLiteral("wpm"),
                     QStringLiteral("dash_dot_ratio"),
                     QStringLiteral("weighting"),
                     QStringLiteral("dot_spread"),
                     QStringLiteral("dash_spread"),
                     QStringLiteral("element_gap"),
                     QStringLiteral("element_gap_spread"),
                     QStringLiteral("character_gap"),
                     QStringLiteral("character_gap_spread"),
                     QStringLiteral("word_gap"),
                     QStringLiteral("word_gap_spread"),
                     QStringLiteral("notes")},
                    rows);
}

QString SentItemsCsv(const std::vector<SendingRecord>& sendings) {
    std::vector<QStringList> rows;
    for (const SendingRecord& s : sendings)
        for (std::size_t k = 0; k < s.items.size(); ++k) {
            const SentItem& item = s.items[k];
            rows.push_back({QString::number(s.id), QString::number(k + 1), item.expected, item.sent,
                            s.kind == SendingKind::Free ? QString()
                            : item.Right()              ? QStringLiteral("1")
                                                        : QStringLiteral("0")});
        }
    return CsvLines({QStringLiteral("sending_id"), QStringLiteral("seq"), QStringLiteral("expected"),
                     QStringLiteral("sent"), QStringLiteral("right")},
                    rows);
}

QString FistNotesCsv(const std::vector<SendingRecord>& sendings) {
    std::vector<QStringList> rows;
    for (const SendingRecord& s : sendings)
        for (qsizetype k = 0; k < s.fist.notes.size(); ++k)
            rows.push_back({QString::number(s.id), QString::number(k + 1), s.fist.notes[k]});
    return CsvLines({QStringLiteral("sending_id"), QStringLiteral("seq"), QStringLiteral("note")}, rows);
}

QStringList SendingCsvPaths(const QString& sessionsPath) {
    QString stem = sessionsPath;
    if (stem.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        stem.chop(4);
    return {stem + QLatin1String("-sendings.csv"), stem + QLatin1String("-sent-items.csv"),
            stem + QLatin1String("-fist-notes.csv")};
}

QString ExportSendingsCsv(const std::vector<SendingRecord>& sendings, const QString& sessionsPath) {
    const QStringList paths = SendingCsvPaths(sessionsPath);
    const QString texts[] = {SendingsCsv(sendings), SentItemsCsv(sendings), FistNotesCsv(sendings)};
    for (int k = 0; k < 3; ++k)
        if (const QString problem = WriteCsv(texts[k], paths[k]); !problem.isEmpty())
            return problem;
    return {};
}

}  // namespace lumbrel
