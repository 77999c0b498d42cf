#include "scoring/History.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <algorithm>
#include <atomic>

#include "scoring/CopyScore.h"

namespace lumbrel {
namespace {

// The steps from one version to the next: kMigrations[k] brings version k to k + 1.
// A step, once released, never changes: a later change is a new step.
const std::vector<std::vector<const char*>>& Migrations()
{
    static const std::vector<std::vector<const char*>> steps = {
        // 0 -> 1: the sessions and the errors per character.
        {
            "CREATE TABLE sessions ("
            " id INTEGER PRIMARY KEY,"
            " ended TEXT NOT NULL,"
            " source TEXT NOT NULL,"
            " learning_order TEXT NOT NULL,"
            " characters INTEGER NOT NULL,"
            " character_wpm INTEGER NOT NULL,"
            " effective_wpm REAL NOT NULL,"
            " session_minutes INTEGER NOT NULL,"
            " characters_sent INTEGER NOT NULL,"
            " errors INTEGER NOT NULL,"
            " accuracy REAL NOT NULL)",
            "CREATE TABLE character_errors ("
            " session_id INTEGER NOT NULL REFERENCES sessions(id) ON DELETE CASCADE,"
            " character TEXT NOT NULL,"
            " sent INTEGER NOT NULL,"
            " errors INTEGER NOT NULL,"
            " PRIMARY KEY (session_id, character))",
        },
        // 1 -> 2: the kinds of error, the confusions and the duration. Sessions of
        // version 1 kept only the number of errors: they count as wrong characters.
        {
            "ALTER TABLE sessions ADD COLUMN duration_seconds INTEGER NOT NULL DEFAULT 0",
            "ALTER TABLE sessions ADD COLUMN dropped INTEGER NOT NULL DEFAULT 0",
            "ALTER TABLE sessions ADD COLUMN added INTEGER NOT NULL DEFAULT 0",
            "ALTER TABLE sessions ADD COLUMN wrong INTEGER NOT NULL DEFAULT 0",
            "UPDATE sessions SET wrong = errors",
            "ALTER TABLE character_errors ADD COLUMN dropped INTEGER NOT NULL DEFAULT 0",
            "ALTER TABLE character_errors ADD COLUMN wrong INTEGER NOT NULL DEFAULT 0",
            "ALTER TABLE character_errors ADD COLUMN added INTEGER NOT NULL DEFAULT 0",
            "UPDATE character_errors SET wrong = errors",
            "CREATE TABLE confusions ("
            " session_id INTEGER NOT NULL REFERENCES sessions(id) ON DELETE CASCADE,"
            " sent TEXT NOT NULL,"
            " copied TEXT NOT NULL,"
            " count INTEGER NOT NULL,"
            " PRIMARY KEY (session_id, sent, copied))",
            "CREATE INDEX sessions_by_time ON sessions(ended)",
        },
        // 2 -> 3: the drills, each with its own table of what was played.
        {
            "CREATE TABLE drills ("
            " id INTEGER PRIMARY KEY,"
            " ended TEXT NOT NULL,"
            " kind TEXT NOT NULL,"
            " duration_seconds INTEGER NOT NULL,"
            " character_wpm INTEGER NOT NULL)",
            "CREATE INDEX drills_by_kind_and_time ON drills(kind, ended)",
            "CREATE TABLE recognition_answers ("
            " drill_id INTEGER NOT NULL REFERENCES drills(id) ON DELETE CASCADE,"
            " seq INTEGER NOT NULL,"
            " character TEXT NOT NULL,"
            " answer TEXT NOT NULL,"
            " reaction_ms INTEGER NOT NULL,"
            " PRIMARY KEY (drill_id, seq))",
            "CREATE TABLE callsign_runs ("
            " drill_id INTEGER PRIMARY KEY REFERENCES drills(id) ON DELETE CASCADE,"
            " step_wpm INTEGER NOT NULL,"
            " top_wpm INTEGER NOT NULL,"
            " score INTEGER NOT NULL)",
            "CREATE TABLE callsign_calls ("
            " drill_id INTEGER NOT NULL REFERENCES drills(id) ON DELETE CASCADE,"
            " seq INTEGER NOT NULL,"
            " call TEXT NOT NULL,"
            " copied TEXT NOT NULL,"
            " wpm INTEGER NOT NULL,"
            " replayed INTEGER NOT NULL,"
            " points INTEGER NOT NULL,"
            " PRIMARY KEY (drill_id, seq))",
        },
    };
    return steps;
}

// The tables each version must have.
QStringList TablesOf(int version)
{
    QStringList tables;
    if (version >= 1)
        tables << QStringLiteral("sessions") << QStringLiteral("character_errors");
    if (version >= 2)
        tables << QStringLiteral("confusions");
    if (version >= 3)
        tables << QStringLiteral("drills") << QStringLiteral("recognition_answers") << QStringLiteral("callsign_runs")
               << QStringLiteral("callsign_calls");
    return tables;
}

QString TimeText(const QDateTime& t) { return t.toUTC().toString(Qt::ISODateWithMs); }

QDateTime TimeFromText(const QString& text)
{
    QDateTime t = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!t.isValid())
        t = QDateTime::fromString(text, Qt::ISODate);
    return t.isValid() ? t.toLocalTime() : QDateTime();
}

// A text column's value. Qt binds a null QString as SQL NULL, which every text column
// refuses: an empty text (nothing copied for a dropped character) is stored as ''.
QVariant Text(const QString& text) { return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text); }

QString ErrorText(const QSqlError& e)
{
    const QString text = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    return text.isEmpty() ? QStringLiteral("unknown database error") : text;
}

}  // namespace

QString History::DefaultPath()
{
    // The data folder is named after the program's organisation and application names;
    // another program (lumbrel-score) asks under the trainer's names for a moment.
    const QString organization = QCoreApplication::organizationName();
    const QString application = QCoreApplication::applicationName();
    const QString trainerOrganization = QString::fromLatin1(kTrainerOrganization);
    const QString trainerApplication = QString::fromLatin1(kTrainerApplication);
    const bool other = organization != trainerOrganization || application != trainerApplication;
    if (other) {
        QCoreApplication::setOrganizationName(trainerOrganization);
        QCoreApplication::setApplicationName(trainerApplication);
    }
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (other) {
        QCoreApplication::setOrganizationName(organization);
        QCoreApplication::setApplicationName(application);
    }
    return QDir(folder).filePath(QStringLiteral("history.sqlite"));
}

History::History(QString path) : path_(std::move(path))
{
    static std::atomic<int> counter{0};
    connection_ = QStringLiteral("lumbrel-history-%1").arg(++counter);
}

History::~History() { CloseDatabase(); }

void History::CloseDatabase()
{
    if (QSqlDatabase::contains(connection_)) {
        {
            QSqlDatabase db = QSqlDatabase::database(connection_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(connection_);
    }
    open_ = false;
}

QString History::TakeNotice()
{
    QString notice;
    notice.swap(notice_);
    return notice;
}

bool History::Open()
{
    if (open_)
        return true;
    problem_.clear();
    const QFileInfo info(path_);
    if (!QDir().mkpath(info.absolutePath())) {
        problem_ = QStringLiteral("The folder %1 for the history cannot be created.").arg(info.absolutePath());
        return false;
    }
    if (info.exists() && (!info.isFile() || !info.isReadable())) {
        problem_ = QStringLiteral("The history %1 cannot be read; it is left as it is.").arg(path_);
        return false;
    }
    // A read-only file is not a damaged one: it is not set aside.
    if (info.exists() && !info.isWritable()) {
        problem_ = QStringLiteral("The history %1 cannot be written; it is left as it is and nothing is stored.")
                       .arg(path_);
        return false;
    }

    QString reason;
    Outcome outcome = OpenDatabase(&reason);
    if (outcome == Outcome::Damaged) {
        CloseDatabase();
        QString why;
        if (!SetAside(&why)) {
            problem_ = QStringLiteral("The history %1 is damaged (%2) and could not be set aside (%3); "
                                      "it is left as it is and nothing is stored.")
                           .arg(path_, reason, why);
            return false;
        }
        notice_ = QStringLiteral("The history %1 could not be read (%2). It has been kept as %3, "
                                 "and a new history has been started.")
                      .arg(path_, reason, setAsidePath_);
        outcome = OpenDatabase(&reason);
    }
    switch (outcome) {
    case Outcome::Ready:
        open_ = true;
        return true;
    case Outcome::Newer:
        problem_ = QStringLiteral("The history %1 was written by a newer version of Lumbrel; "
                                  "it is left as it is and nothing is stored.")
                       .arg(path_);
        break;
    case Outcome::Damaged:
    case Outcome::Unusable:
        problem_ = QStringLiteral("The history %1 cannot be used: %2.").arg(path_, reason);
        break;
    }
    CloseDatabase();
    return false;
}

History::Outcome History::OpenDatabase(QString* reason)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
        if (!db.isValid()) {
            *reason = QStringLiteral("the SQLite driver of Qt is missing");
            return Outcome::Unusable;
        }
        db.setDatabaseName(path_);
        if (!db.open()) {
            *reason = ErrorText(db.lastError());
            return Outcome::Unusable;
        }
    }
    return CheckAndMigrate(reason);
}

History::Outcome History::CheckAndMigrate(QString* reason)
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery q(db);

    // A file that is not a database fails here, at its first read.
    if (!q.exec(QStringLiteral("PRAGMA quick_check"))) {
        *reason = ErrorText(q.lastError());
        return Outcome::Damaged;
    }
    QStringList problems;
    while (q.next())
        if (q.value(0).toString() != QLatin1String("ok"))
            problems << q.value(0).toString();
    if (!problems.isEmpty()) {
        *reason = problems.first();
        return Outcome::Damaged;
    }

    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
        *reason = ErrorText(q.lastError());
        return Outcome::Damaged;
    }
    const int version = q.value(0).toInt();
    if (version > kSchemaVersion)
        return Outcome::Newer;
    if (version < 0) {
        *reason = QStringLiteral("schema version %1").arg(version);
        return Outcome::Damaged;
    }

    QStringList tables;
    if (!q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'"))) {
        *reason = ErrorText(q.lastError());
        return Outcome::Damaged;
    }
    while (q.next())
        tables << q.value(0).toString();
    if (version == 0 && !tables.isEmpty()) {
        *reason = QStringLiteral("it is not a Lumbrel history");
        return Outcome::Damaged;
    }
    for (const QString& table : TablesOf(version)) {
        if (!tables.contains(table)) {
            *reason = QStringLiteral("the table %1 is missing").arg(table);
            return Outcome::Damaged;
        }
    }

    const auto& steps = Migrations();
    for (int from = version; from < kSchemaVersion; ++from) {
        if (!db.transaction()) {
            *reason = ErrorText(db.lastError());
            return Outcome::Unusable;
        }
        for (const char* statement : steps[static_cast<std::size_t>(from)]) {
            if (!q.exec(QString::fromLatin1(statement))) {
                *reason = QStringLiteral("upgrading from version %1 failed: %2").arg(from).arg(ErrorText(q.lastError()));
                q.finish();
                db.rollback();
                return Outcome::Damaged;
            }
        }
        if (!q.exec(QStringLiteral("PRAGMA user_version = %1").arg(from + 1)) || !db.commit()) {
            *reason = QStringLiteral("upgrading from version %1 failed: %2").arg(from).arg(ErrorText(q.lastError()));
            db.rollback();
            return Outcome::Unusable;
        }
    }
    if (!q.exec(QStringLiteral("PRAGMA foreign_keys = ON"))) {
        *reason = ErrorText(q.lastError());
        return Outcome::Unusable;
    }
    return Outcome::Ready;
}

bool History::SetAside(QString* reason)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = QStringLiteral("%1.damaged-%2").arg(path_, stamp);
    for (int k = 2; QFileInfo::exists(target); ++k)
        target = QStringLiteral("%1.damaged-%2-%3").arg(path_, stamp).arg(k);
    QFile file(path_);
    if (!file.rename(target)) {
        *reason = file.errorString();
        return false;
    }
    // SQLite's companion files belong with it.
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        const QString companion = path_ + QLatin1String(suffix);
        if (QFileInfo::exists(companion))
            QFile::rename(companion, target + QLatin1String(suffix));
    }
    setAsidePath_ = target;
    return true;
}

int History::SchemaVersion() const
{
    if (!open_)
        return 0;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        return 0;
    return q.value(0).toInt();
}

bool History::Insert(const SessionRecord& r, std::optional<qint64> id, qint64* stored)
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery q(db);
    q.prepare(QStringLiteral(
        "INSERT INTO sessions (id, ended, source, learning_order, characters, character_wpm, effective_wpm,"
        " session_minutes, characters_sent, errors, accuracy, duration_seconds, dropped, added, wrong)"
        " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    q.addBindValue(id ? QVariant(*id) : QVariant(QMetaType(QMetaType::LongLong)));
    q.addBindValue(Text(TimeText(r.ended)));
    q.addBindValue(Text(r.source));
    q.addBindValue(Text(r.order));
    q.addBindValue(r.characterCount);
    q.addBindValue(r.characterWpm);
    q.addBindValue(r.effectiveWpm);
    q.addBindValue(r.sessionMinutes);
    q.addBindValue(r.charactersSent);
    q.addBindValue(r.Errors());
    q.addBindValue(r.accuracy);
    q.addBindValue(r.durationSeconds);
    q.addBindValue(r.dropped);
    q.addBindValue(r.added);
    q.addBindValue(r.wrong);
    if (!q.exec()) {
        problem_ = ErrorText(q.lastError());
        return false;
    }
    const qint64 sessionId = id ? *id : q.lastInsertId().toLongLong();

    QSqlQuery c(db);
    c.prepare(QStringLiteral("INSERT INTO character_errors (session_id, character, sent, errors, dropped, wrong, added)"
                             " VALUES (?, ?, ?, ?, ?, ?, ?)"));
    for (const CharacterErrors& e : r.characters) {
        c.addBindValue(sessionId);
        c.addBindValue(Text(e.character));
        c.addBindValue(e.sent);
        c.addBindValue(e.Missed() + e.added);
        c.addBindValue(e.dropped);
        c.addBindValue(e.wrong);
        c.addBindValue(e.added);
        if (!c.exec()) {
            problem_ = ErrorText(c.lastError());
            return false;
        }
    }
    QSqlQuery f(db);
    f.prepare(QStringLiteral("INSERT INTO confusions (session_id, sent, copied, count) VALUES (?, ?, ?, ?)"));
    for (const ConfusionCount& e : r.confusions) {
        f.addBindValue(sessionId);
        f.addBindValue(Text(e.sent));
        f.addBindValue(Text(e.copied));
        f.addBindValue(e.count);
        if (!f.exec()) {
            problem_ = ErrorText(f.lastError());
            return false;
        }
    }
    *stored = sessionId;
    return true;
}

std::optional<qint64> History::AddInTransaction(const std::function<bool(qint64* stored)>& insert)
{
    if (!open_ && !Open())
        return std::nullopt;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.transaction()) {
        problem_ = ErrorText(db.lastError());
        return std::nullopt;
    }
    // A failed insert tells its own problem; a failed commit the database's.
    problem_.clear();
    qint64 id = 0;
    if (!insert(&id) || !db.commit()) {
        if (problem_.isEmpty())
            problem_ = ErrorText(db.lastError());
        db.rollback();
        return std::nullopt;
    }
    return id;
}

std::optional<qint64> History::Add(const SessionRecord& record)
{
    return AddInTransaction([&](qint64* stored) { return Insert(record, std::nullopt, stored); });
}

bool History::Replace(qint64 id, const SessionRecord& record)
{
    if (!open_ && !Open())
        return false;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.transaction()) {
        problem_ = ErrorText(db.lastError());
        return false;
    }
    QSqlQuery q(db);
    bool ok = true;
    for (const char* statement : {"DELETE FROM confusions WHERE session_id = ?",
                                  "DELETE FROM character_errors WHERE session_id = ?",
                                  "DELETE FROM sessions WHERE id = ?"}) {
        q.prepare(QString::fromLatin1(statement));
        q.addBindValue(id);
        if (!q.exec()) {
            problem_ = ErrorText(q.lastError());
            ok = false;
            break;
        }
    }
    qint64 stored = 0;
    if (!ok || !Insert(record, id, &stored) || !db.commit()) {
        if (ok && problem_.isEmpty())
            problem_ = ErrorText(db.lastError());
        db.rollback();
        return false;
    }
    problem_.clear();
    return true;
}

std::vector<SessionRecord> History::Sessions() const
{
    std::vector<SessionRecord> records;
    if (!open_)
        return records;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral(
            "SELECT id, ended, source, learning_order, characters, character_wpm, effective_wpm, session_minutes,"
            " characters_sent, accuracy, duration_seconds, dropped, added, wrong FROM sessions ORDER BY ended, id")))
        return records;
    QHash<qint64, std::size_t> index;
    while (q.next()) {
        SessionRecord r;
        r.id = q.value(0).toLongLong();
        r.ended = TimeFromText(q.value(1).toString());
        r.source = q.value(2).toString();
        r.order = q.value(3).toString();
        r.characterCount = q.value(4).toInt();
        r.characterWpm = q.value(5).toInt();
        r.effectiveWpm = q.value(6).toDouble();
        r.sessionMinutes = q.value(7).toInt();
        r.charactersSent = q.value(8).toInt();
        r.accuracy = q.value(9).toDouble();
        r.durationSeconds = q.value(10).toInt();
        r.dropped = q.value(11).toInt();
        r.added = q.value(12).toInt();
        r.wrong = q.value(13).toInt();
        index.insert(r.id, records.size());
        records.push_back(std::move(r));
    }
    if (q.exec(QStringLiteral("SELECT session_id, character, sent, dropped, wrong, added FROM character_errors"
                              " ORDER BY session_id, rowid"))) {
        while (q.next()) {
            const auto it = index.constFind(q.value(0).toLongLong());
            if (it == index.constEnd())
                continue;
            records[*it].characters.push_back({q.value(1).toString(), q.value(2).toInt(), q.value(3).toInt(),
                                               q.value(4).toInt(), q.value(5).toInt()});
        }
    }
    if (q.exec(QStringLiteral("SELECT session_id, sent, copied, count FROM confusions ORDER BY session_id, rowid"))) {
        while (q.next()) {
            const auto it = index.constFind(q.value(0).toLongLong());
            if (it == index.constEnd())
                continue;
            records[*it].confusions.push_back({q.value(1).toString(), q.value(2).toString(), q.value(3).toInt()});
        }
    }
    return records;
}

// --- Drills ------------------------------------------------------------------------------

bool History::InsertDrill(const DrillRecord& d, qint64* stored)
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery q(db);
    q.prepare(QStringLiteral(
        "INSERT INTO drills (ended, kind, duration_seconds, character_wpm) VALUES (?, ?, ?, ?)"));
    q.addBindValue(Text(TimeText(d.ended)));
    q.addBindValue(DrillKindName(d.kind));
    q.addBindValue(d.durationSeconds);
    q.addBindValue(d.characterWpm);
    if (!q.exec()) {
        problem_ = ErrorText(q.lastError());
        return false;
    }
    const qint64 id = q.lastInsertId().toLongLong();
    QSqlQuery c(db);
    if (d.kind == DrillKind::Recognition) {
        c.prepare(QStringLiteral(
            "INSERT INTO recognition_answers (drill_id, seq, character, answer, reaction_ms) VALUES (?, ?, ?, ?, ?)"));
        int seq = 0;
        for (const RecognitionAnswer& a : d.answers) {
            c.addBindValue(id);
            c.addBindValue(seq++);
            c.addBindValue(Text(a.character));
            c.addBindValue(Text(a.answer));
            c.addBindValue(a.reactionMs);
            if (!c.exec()) {
                problem_ = ErrorText(c.lastError());
                return false;
            }
        }
    } else {
        c.prepare(QStringLiteral("INSERT INTO callsign_runs (drill_id, step_wpm, top_wpm, score) VALUES (?, ?, ?, ?)"));
        c.addBindValue(id);
        c.addBindValue(d.stepWpm);
        c.addBindValue(d.topWpm);
        c.addBindValue(d.score);
        if (!c.exec()) {
            problem_ = ErrorText(c.lastError());
            return false;
        }
        c.prepare(QStringLiteral("INSERT INTO callsign_calls (drill_id, seq, call, copied, wpm, replayed, points)"
                                 " VALUES (?, ?, ?, ?, ?, ?, ?)"));
        int seq = 0;
        for (const CallAttempt& a : d.calls) {
            c.addBindValue(id);
            c.addBindValue(seq++);
            c.addBindValue(Text(a.call));
            c.addBindValue(Text(a.copied));
            c.addBindValue(a.wpm);
            c.addBindValue(a.replayed ? 1 : 0);
            c.addBindValue(a.points);
            if (!c.exec()) {
                problem_ = ErrorText(c.lastError());
                return false;
            }
        }
    }
    *stored = id;
    return true;
}

std::optional<qint64> History::AddDrill(const DrillRecord& drill)
{
    return AddInTransaction([&](qint64* stored) { return InsertDrill(drill, stored); });
}

std::vector<DrillRecord> History::Drills(DrillKind kind, int last) const
{
    std::vector<DrillRecord> drills;
    if (!open_ || last == 0)
        return drills;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    // The newest `last` by time, then oldest first.
    q.prepare(QStringLiteral("SELECT id, ended, duration_seconds, character_wpm FROM"
                             " (SELECT * FROM drills WHERE kind = ? ORDER BY ended DESC, id DESC LIMIT ?)"
                             " ORDER BY ended, id"));
    q.addBindValue(DrillKindName(kind));
    q.addBindValue(last < 0 ? -1 : last);
    if (!q.exec())
        return drills;
    QHash<qint64, std::size_t> index;
    while (q.next()) {
        DrillRecord d;
        d.id = q.value(0).toLongLong();
        d.kind = kind;
        d.ended = TimeFromText(q.value(1).toString());
        d.durationSeconds = q.value(2).toInt();
        d.characterWpm = q.value(3).toInt();
        index.insert(d.id, drills.size());
        drills.push_back(std::move(d));
    }
    if (drills.empty())
        return drills;
    auto rows = [&](const QString& sql) {
        q.prepare(sql);
        q.addBindValue(DrillKindName(kind));
        q.addBindValue(last < 0 ? -1 : last);
        return q.exec();
    };
    // The children of the same drills, picked by the same query.
    const QString chosen = QStringLiteral(
        "SELECT id FROM drills WHERE kind = ? ORDER BY ended DESC, id DESC LIMIT ?");
    if (kind == DrillKind::Recognition) {
        if (rows(QStringLiteral("SELECT drill_id, character, answer, reaction_ms FROM recognition_answers"
                                " WHERE drill_id IN (%1) ORDER BY drill_id, seq").arg(chosen))) {
            while (q.next()) {
                const auto it = index.constFind(q.value(0).toLongLong());
                if (it != index.constEnd())
                    drills[*it].answers.push_back({q.value(1).toString(), q.value(2).toString(), q.value(3).toInt()});
            }
        }
    } else {
        if (rows(QStringLiteral("SELECT drill_id, step_wpm, top_wpm, score FROM callsign_runs WHERE drill_id IN (%1)")
                     .arg(chosen))) {
            while (q.next()) {
                const auto it = index.constFind(q.value(0).toLongLong());
                if (it == index.constEnd())
                    continue;
                drills[*it].stepWpm = q.value(1).toInt();
                drills[*it].topWpm = q.value(2).toInt();
                drills[*it].score = q.value(3).toInt();
            }
        }
        if (rows(QStringLiteral("SELECT drill_id, call, copied, wpm, replayed, points FROM callsign_calls"
                                " WHERE drill_id IN (%1) ORDER BY drill_id, seq").arg(chosen))) {
            while (q.next()) {
                const auto it = index.constFind(q.value(0).toLongLong());
                if (it != index.constEnd())
                    drills[*it].calls.push_back({q.value(1).toString(), q.value(2).toString(), q.value(3).toInt(),
                                                 q.value(4).toInt() != 0, q.value(5).toInt()});
            }
        }
    }
    return drills;
}

std::optional<int> History::BestCallsignScore() const
{
    if (!open_)
        return std::nullopt;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    if (!q.exec(QStringLiteral("SELECT MAX(score) FROM callsign_runs")) || !q.next() || q.value(0).isNull())
        return std::nullopt;
    return q.value(0).toInt();
}

MissTallies History::RecentMissTallies(int last, int slowMs) const
{
    MissTallies tallies;
    if (!open_ || last <= 0)
        return tallies;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT character, SUM(sent), SUM(dropped + wrong) FROM character_errors"
                             " WHERE session_id IN (SELECT id FROM sessions ORDER BY ended DESC, id DESC LIMIT ?)"
                             " GROUP BY character"));
    q.addBindValue(last);
    if (q.exec()) {
        while (q.next()) {
            MissTally& t = tallies[q.value(0).toString().toLower()];
            t.tries += q.value(1).toDouble();
            t.missed += q.value(2).toDouble();
        }
    }
    for (const DrillRecord& d : Drills(DrillKind::Recognition, last)) {
        for (const RecognitionAnswer& a : d.answers) {
            MissTally& t = tallies[a.character.toLower()];
            t.tries += 1;
            if (!a.Right())
                t.missed += 1;
            else if (a.reactionMs > slowMs)
                t.missed += 0.5;
        }
    }
    for (const DrillRecord& d : Drills(DrillKind::Callsigns, last)) {
        for (const CallAttempt& a : d.calls) {
            const CopyScore score = CopyScore::Score(a.call, a.copied);
            for (const CopyScore::Tally& c : score.Tallies()) {
                if (c.sent == 0)
                    continue;
                MissTally& t = tallies[c.character];
                t.tries += c.sent;
                t.missed += c.Missed();
            }
        }
    }
    return tallies;
}

bool History::DeleteSession(qint64 id)
{
    return DeleteInTransaction(id,
                               {"DELETE FROM confusions WHERE session_id = ?",
                                "DELETE FROM character_errors WHERE session_id = ?",
                                "DELETE FROM sessions WHERE id = ?"},
                               QStringLiteral("session"));
}

bool History::DeleteDrill(qint64 id)
{
    return DeleteInTransaction(id,
                               {"DELETE FROM recognition_answers WHERE drill_id = ?",
                                "DELETE FROM callsign_calls WHERE drill_id = ?",
                                "DELETE FROM callsign_runs WHERE drill_id = ?",
                                "DELETE FROM drills WHERE id = ?"},
                               QStringLiteral("drill"));
}

bool History::DeleteInTransaction(qint64 id, std::initializer_list<const char*> statements, const QString& what)
{
    if (!open_ && !Open())
        return false;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.transaction()) {
        problem_ = ErrorText(db.lastError());
        return false;
    }
    QSqlQuery q(db);
    bool removed = false;
    for (const char* statement : statements) {
        q.prepare(QString::fromLatin1(statement));
        q.addBindValue(id);
        if (!q.exec()) {
            problem_ = ErrorText(q.lastError());
            db.rollback();
            return false;
        }
        removed = q.numRowsAffected() > 0;
    }
    if (!removed) {
        db.rollback();
        problem_ = QStringLiteral("there is no %1 %2 in the history").arg(what).arg(id);
        return false;
    }
    if (!db.commit()) {
        problem_ = ErrorText(db.lastError());
        db.rollback();
        return false;
    }
    problem_.clear();
    return true;
}

}  // namespace lumbrel
