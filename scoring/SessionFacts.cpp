#include "scoring/SessionFacts.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QStringList>

#include "scoring/SessionRecord.h"
#include "text/PlainFile.h"

namespace lumbrel {
namespace {

// A facts file is a few short lines; anything much longer is not one.
constexpr qint64 kMaxFactsBytes = 64 * 1024;

struct NamedSource {
    const char* name;
    SourceKind kind;
    bool singleEntry;
};
constexpr NamedSource kSources[] = {
    {"groups", SourceKind::RandomGroups, false},
    {"words", SourceKind::RandomEntries, false},
    {"qso", SourceKind::RandomEntries, true},
    {"text", SourceKind::SequentialText, false},
};

}  // namespace

QString SessionFactsPath(const QString& transcriptPath) {
    QString path = transcriptPath;
    if (path.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive))
        path.chop(4);
    return path + QLatin1String(".session");
}

QString SessionFactsText(const SessionSummary& s, std::optional<std::uint32_t> seed) {
    QString text = QStringLiteral(
                       "source=%1\norder=%2\ncharacters=%3\ncharacter_wpm=%4\neffective_permille=%5\n"
                       "session_minutes=%6\nduration_seconds=%7\n")
                       .arg(SourceName(s.source, s.singleEntry), OrderName(s.order))
                       .arg(s.characterCount)
                       .arg(s.characterWpm)
                       .arg(s.effectivePermille)
                       .arg(s.sessionMinutes)
                       .arg(s.elapsedSeconds);
    if (seed)
        text += QStringLiteral("seed=%1\n").arg(*seed);
    return text;
}

QString WriteSessionFacts(const QString& path, const SessionSummary& session,
                          std::optional<std::uint32_t> seed) {
    QSaveFile file(path);
    const QByteArray bytes = SessionFactsText(session, seed).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return file.errorString();
    return {};
}

SessionFacts ReadSessionFacts(const QString& path) {
    SessionFacts facts;
    const QString name = QDir::toNativeSeparators(path);
    const PlainFileBytes file = ReadPlainFile(path, kMaxFactsBytes);
    if (file.status == PlainFileBytes::Status::Missing) {
        facts.problem = QStringLiteral("%1: no such file").arg(name);
        return facts;
    }
    if (file.status == PlainFileBytes::Status::NotPlain) {
        facts.problem = QStringLiteral("%1 is not a plain file").arg(name);
        return facts;
    }
    if (file.status == PlainFileBytes::Status::Unreadable) {
        facts.problem = QStringLiteral("%1 cannot be read: %2").arg(name, file.error);
        return facts;
    }
    const QByteArray& bytes = file.bytes;
    if (!file.Ok() || bytes.contains('\0')) {
        facts.problem = QStringLiteral("%1 does not hold the facts of a session").arg(name);
        return facts;
    }
    QHash<QString, QString> values;
    for (const QString& line : QString::fromUtf8(bytes).split(QLatin1Char('\n'))) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0)
            values.insert(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }

    SessionSummary& s = facts.session;
    const auto problem = [&](const char* key) {
        facts.problem = values.contains(QLatin1String(key))
                            ? QStringLiteral("%1: bad %2 \"%3\"")
                                  .arg(name, QLatin1String(key), values.value(QLatin1String(key)))
                            : QStringLiteral("%1: no %2").arg(name, QLatin1String(key));
        return facts;
    };
    const auto number = [&](const char* key, int low, int high, int* to) {
        bool ok = false;
        const int value = values.value(QLatin1String(key)).toInt(&ok);
        if (!ok || value < low || value > high)
            return false;
        *to = value;
        return true;
    };

    const QString source = values.value(QStringLiteral("source"));
    const NamedSource* found = nullptr;
    for (const NamedSource& n : kSources)
        if (source == QLatin1String(n.name))
            found = &n;
    if (!found)
        return problem("source");
    s.source = found->kind;
    s.singleEntry = found->singleEntry;
    const QString order = values.value(QStringLiteral("order"));
    if (order != QLatin1String("koch") && order != QLatin1String("mfj"))
        return problem("order");
    s.order = order == QLatin1String("mfj") ? LearningOrder::Mfj : LearningOrder::Koch;
    if (!number("characters", 2, 64, &s.characterCount))
        return problem("characters");
    if (!number("character_wpm", 1, 200, &s.characterWpm))
        return problem("character_wpm");
    if (!number("effective_permille", 1, 1000, &s.effectivePermille))
        return problem("effective_permille");
    if (!number("session_minutes", 1, 60, &s.sessionMinutes))
        return problem("session_minutes");
    if (!number("duration_seconds", 0, 24 * 3600, &s.elapsedSeconds))
        return problem("duration_seconds");
    if (values.contains(QStringLiteral("seed"))) {
        bool ok = false;
        const std::uint32_t seed = values.value(QStringLiteral("seed")).toUInt(&ok);
        if (!ok)
            return problem("seed");
        facts.seed = seed;
    }
    return facts;
}

}  // namespace lumbrel
