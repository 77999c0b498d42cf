#include "scoring/History.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QThread>
#include <QVariant>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <limits>

#include "scoring/CopyScore.h"
#include "scoring/SendingKindNames.h"

namespace lumbrel {
namespace {

// 3 -> 4: the early answers of recognition drills (the right character typed before
// it was heard). Version 3 stored them as right in 0 ms, which no key after the heard
// end gives: those become early answers.
std::vector<const char*> EarlyAnswersStep() {
    return {
        "ALTER TABLE recognition_answers ADD COLUMN early INTEGER NOT NULL DEFAULT 0",
        "UPDATE recognition_answers SET early = 1 WHERE reaction_ms = 0 AND answer <> ''",
    };
}

// 4 -> 5: sending practice, each sending with the items expected and sent and the
// notes of its fist in tables of their own.
std::vector<const char*> SendingsStep() {
    return {
        "CREATE TABLE sendings ("
        " id INTEGER PRIMARY KEY,"
        " ended TEXT NOT NULL,"
        " kind TEXT NOT NULL,"
        " duration_seconds INTEGER NOT NULL,"
        " keyer TEXT NOT NULL,"
        " keyer_wpm INTEGER NOT NULL,"
        " wpm REAL NOT NULL,"
        " dash_dot_ratio REAL NOT NULL,"
        " weighting REAL NOT NULL,"
        " dot_spread REAL NOT NULL,"
        " dash_spread REAL NOT NULL,"
        " element_gap REAL NOT NULL,"
        " element_gap_spread REAL NOT NULL,"
        " character_gap REAL NOT NULL,"
        " character_gap_spread REAL NOT NULL,"
        " word_gap REAL NOT NULL,"
        " word_gap_spread REAL NOT NULL)",
        "CREATE INDEX sendings_by_kind_and_time ON sendings(kind, ended)",
        "CREATE TABLE sent_items ("
        " sending_id INTEGER NOT NULL REFERENCES sendings(id) ON DELETE CASCADE,"
        " seq INTEGER NOT NULL,"
        " expected TEXT NOT NULL,"
        " sent TEXT NOT NULL,"
        " PRIMARY KEY (sending_id, seq))",
        "CREATE TABLE fist_notes ("
        " sending_id INTEGER NOT NULL REFERENCES sendings(id) ON DELETE CASCADE,"
        " seq INTEGER NOT NULL,"
        " note TEXT NOT NULL,"
        " PRIMARY KEY (sending_id, seq))",
    };
}

// The steps from one version to the next: kMigrations[k] brings version k to k + 1.
// A step, once released, never changes: a later change is a new step.
const std::vector<std::vector<const char*>>& Migrations() {
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
        EarlyAnswersStep(),
        SendingsStep(),
    };
    return steps;
}

// The tables each version must have.
QStringList TablesOf(int version) {
    QStringList tables;
    if (version >= 1)
        tables << QStringLiteral("sessions") << QStringLiteral("character_errors");
    if (version >= 2)
        tables << QStringLiteral("confusions");
    if (version >= 3)
        tables << QStringLiteral("drills") << QStringLiteral("recognition_answers")
               << QStringLiteral("callsign_runs") << QStringLiteral("callsign_calls");
    if (version >= 5)
        tables << QStringLiteral("sendings") << QStringLiteral("sent_items") << QStringLiteral("fist_notes");
    return tables;
}

QString TimeText(const QDateTime& t) {
    return t.toUTC().toString(Qt::ISODateWithMs);
}

QDateTime TimeFromText(const QString& text) {
    QDateTime t = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!t.isValid())
        t = QDateTime::fromString(text, Qt::ISODate);
    return t.isValid() ? t.toLocalTime() : QDateTime();
}

// A text column's value. Qt binds a null QString as SQL NULL, which every text column
// refuses: an empty text (nothing copied for a dropped character) is stored as ''.
QVariant Text(const QString& text) {
    return text.isNull() ? QVariant(QStringLiteral("")) : QVariant(text);
}

QString ErrorText(const QSqlError& e) {
    const QString text = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    return text.isEmpty() ? QCoreApplication::translate("lumbrel::History", "unknown database error") : text;
}

// SQLite's primary result code of an error (Qt gives SQLite's code as the native one).
int ResultCode(const QSqlError& e) {
    bool ok = false;
    const int code = e.nativeErrorCode().toInt(&ok);
    return ok ? code & 0xff : 0;
}

// SQLITE_BUSY, SQLITE_LOCKED: another connection holds the database; it is not damaged.
bool IsBusy(const QSqlError& e) {
    return ResultCode(e) == 5 || ResultCode(e) == 6;
}
// SQLITE_CORRUPT, SQLITE_NOTADB.
bool IsDamage(const QSqlError& e) {
    return ResultCode(e) == 11 || ResultCode(e) == 26;
}

// The device and inode of a file; zeros when there is none.
std::pair<quint64, quint64> FileId(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {0, 0};
    return {static_cast<quint64>(st.st_dev), static_cast<quint64>(st.st_ino)};
}

QString Count(int n, const char* thing) {
    return QStringLiteral("%1 %2%3").arg(n).arg(QLatin1String(thing), n == 1 ? "" : "s");
}

// "3 sessions, 1 drill and 2 sendings".
QString Kept(int sessions, int drills, int sendings) {
    return QStringLiteral("%1, %2 and %3")
        .arg(Count(sessions, "session"), Count(drills, "drill"), Count(sendings, "sending"));
}

// The first line of the integrity check that names a problem, for a short message.
QString ShortReason(const QStringList& problems) {
    for (const QString& p : problems)
        if (!p.startsWith(QLatin1String("***")))
            return p.section(QLatin1Char('\n'), 0, 0).left(80);
    return problems.isEmpty() ? QString() : problems.first().left(80);
}

// SQLite reads a "-wal" file beside a database into it, whatever mode the database is
// in. A database whose header says it is in rollback mode (byte 18 is 1) has no log of
// its own: one beside it was left by a database that stood here before (replaced while
// it was open) and would be read into this one. The header is read after the log is
// seen, as a switch to WAL writes the header first.
void RemoveForeignLog(const QString& file) {
    const QString log = file + QStringLiteral("-wal");
    if (!QFileInfo::exists(log))
        return;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return;
    const QByteArray header = f.read(100);
    if (header.size() == 100 && header.startsWith("SQLite format 3") && header[18] == 1) {
        QFile::remove(log);
        QFile::remove(file + QStringLiteral("-shm"));
    }
}

// Keeps `from` also under the name `to`: a second link to the same file, or a copy.
bool KeepAs(const QString& from, const QString& to) {
    return ::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0 ||
           QFile::copy(from, to);
}

}  // namespace

QString History::DefaultPath() {
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

History::History(QString path) : path_(std::move(path)) {
    static std::atomic<int> counter{0};
    connection_ = QStringLiteral("lumbrel-history-%1").arg(++counter);
}

History::~History() {
    CloseDatabase();
}

void History::CloseDatabase() {
    if (QSqlDatabase::contains(connection_)) {
        {
            QSqlDatabase db = QSqlDatabase::database(connection_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(connection_);
    }
    open_ = false;
}

QString History::TakeNotice(QString* details) {
    QString notice;
    notice.swap(notice_);
    if (details)
        *details = noticeDetails_;
    noticeDetails_.clear();
    return notice;
}

bool History::Open() {
    return OpenAs(Access::Write);
}

bool History::OpenToRead() {
    return OpenAs(Access::Read);
}

bool History::Replaced() const {
    return FileId(path_) != fileId_;
}

bool History::OpenAs(Access access) {
    if (open_) {
        if (!Replaced() && (access_ == Access::Write || access == Access::Read))
            return true;
        CloseDatabase();  // another file in its place, or opened only to read
    }
    problem_.clear();
    const QFileInfo info(path_);
    const bool exists = info.exists();
    if (access == Access::Write && !QDir().mkpath(info.absolutePath())) {
        problem_ = QCoreApplication::translate("lumbrel::History",
                                               "The folder %1 for the history cannot be created.")
                       .arg(info.absolutePath());
        return false;
    }
    if (exists && (!info.isFile() || !info.isReadable())) {
        problem_ = QCoreApplication::translate("lumbrel::History",
                                               "The history %1 cannot be read; it is left as it is.")
                       .arg(path_);
        return false;
    }
    // A read-only file is not a damaged one: it is not set aside.
    if (access == Access::Write && exists && !info.isWritable()) {
        problem_ = QCoreApplication::translate(
                       "lumbrel::History",
                       "The history %1 cannot be written; it is left as it is and nothing is stored.")
                       .arg(path_);
        return false;
    }

    QString reason;
    QStringList report;
    // Nothing to read yet: an empty history in memory, and no file is made.
    const QString memory = QStringLiteral(":memory:");
    Outcome outcome = Outcome::Unusable;
    if (access == Access::Read && !exists)
        outcome =
            Connect(memory, &reason) ? CheckAndMigrate(Access::Write, &reason, &report) : Outcome::Unusable;
    else
        outcome = OpenDatabase(path_, access, &reason, &report);
    if (outcome == Outcome::Damaged && access == Access::Write) {
        CloseDatabase();
        if (!SalvageInPlace(reason, report))
            return false;
        outcome = OpenDatabase(path_, access, &reason, &report);
    } else if (outcome == Outcome::Damaged || outcome == Outcome::Older) {
        // Read into memory, brought forward there; the file is left as it is.
        const bool damaged = outcome == Outcome::Damaged;
        const QString why = reason;
        CloseDatabase();
        outcome = Outcome::Unusable;
        if (Connect(memory, &reason)) {
            const Salvaged kept = SalvageInto(&reason);
            outcome = kept.ok ? Outcome::Ready : Outcome::Unusable;
            if (kept.ok && damaged) {
                notice_ = QStringLiteral(
                              "The history %1 is damaged (%2). %3 can be read and are shown; the "
                              "next session stored repairs it.")
                              .arg(path_, why, Kept(kept.sessions, kept.drills, kept.sendings));
                noticeDetails_ = (report + kept.report).join(QLatin1Char('\n'));
            }
        }
    }
    switch (outcome) {
        case Outcome::Ready:
            fileId_ = FileId(path_);
            open_ = true;
            access_ = access;
            return true;
        case Outcome::Newer:
            problem_ = QStringLiteral(
                           "The history %1 was written by a newer version of Lumbrel; "
                           "it is left as it is and nothing is stored.")
                           .arg(path_);
            break;
        case Outcome::Busy:
            problem_ = QStringLiteral(
                           "The history %1 is in use by another program (%2); it is left as it is. "
                           "Try again in a moment.")
                           .arg(path_, reason);
            break;
        case Outcome::Older:
        case Outcome::Damaged:
        case Outcome::Unusable:
            problem_ = QCoreApplication::translate("lumbrel::History", "The history %1 cannot be used: %2.")
                           .arg(path_, reason);
            break;
    }
    CloseDatabase();
    return false;
}

bool History::Connect(const QString& file, QString* reason) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    if (!db.isValid()) {
        *reason = QCoreApplication::translate("lumbrel::History", "the SQLite driver of Qt is missing");
        return false;
    }
    db.setDatabaseName(file);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs_));
    if (!db.open()) {
        *reason = ErrorText(db.lastError());
        return false;
    }
    return true;
}

History::Outcome History::OpenDatabase(const QString& file, Access access, QString* reason,
                                       QStringList* report) {
    RemoveForeignLog(file);
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (!Connect(file, reason))
            return Outcome::Unusable;
        const Outcome outcome = CheckAndMigrate(access, reason, report);
        // SQLite answers busy at once (without waiting) where waiting could not help
        // that statement: the whole check is tried again.
        if (outcome != Outcome::Busy || waited.elapsed() >= busyTimeoutMs_)
            return outcome;
        CloseDatabase();
        QThread::msleep(50);
    }
}

History::Outcome History::CheckAndMigrate(Access access, QString* reason, QStringList* report) {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery q(db);
    const auto failed = [&](const QSqlError& e, Outcome otherwise) {
        *reason = ErrorText(e);
        return IsBusy(e) ? Outcome::Busy : IsDamage(e) ? Outcome::Damaged : otherwise;
    };

    // A file that is not a database fails here, at its first read. A newer history is
    // left alone, even a damaged one.
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        return failed(q.lastError(), Outcome::Unusable);
    const int version = q.value(0).toInt();
    if (version > kSchemaVersion)
        return Outcome::Newer;

    if (!q.exec(QStringLiteral("PRAGMA quick_check(20)")))
        return failed(q.lastError(), Outcome::Unusable);
    QStringList problems;
    while (q.next())
        if (q.value(0).toString() != QLatin1String("ok"))
            problems << q.value(0).toString();
    if (q.lastError().isValid())
        return failed(q.lastError(), Outcome::Unusable);
    if (!problems.isEmpty()) {
        *reason = ShortReason(problems);
        *report =
            QStringList{QCoreApplication::translate("lumbrel::History", "The integrity check of %1 found:")
                            .arg(path_)} +
            problems;
        return Outcome::Damaged;
    }
    if (version < 0) {
        *reason = QCoreApplication::translate("lumbrel::History", "schema version %1").arg(version);
        return Outcome::Damaged;
    }

    QStringList tables;
    if (!q.exec(QStringLiteral(
            "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'")))
        return failed(q.lastError(), Outcome::Unusable);
    while (q.next())
        tables << q.value(0).toString();
    // Another program may have taken a step meanwhile (made the first tables of a new
    // file): the tables are those of the version only when it has not changed.
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        return failed(q.lastError(), Outcome::Unusable);
    if (q.value(0).toInt() != version) {
        *reason = QCoreApplication::translate("lumbrel::History", "another program is upgrading it");
        return Outcome::Busy;
    }
    if (version == 0 && !tables.isEmpty()) {
        *reason = QCoreApplication::translate("lumbrel::History", "it is not a Lumbrel history");
        return Outcome::Damaged;
    }
    for (const QString& table : TablesOf(version)) {
        if (!tables.contains(table)) {
            *reason = QCoreApplication::translate("lumbrel::History", "the table %1 is missing").arg(table);
            return Outcome::Damaged;
        }
    }
    if (version < kSchemaVersion && access == Access::Read)
        return Outcome::Older;

    if (access == Access::Write) {
        QSqlError error;
        // Readers of other programs then never wait for a writer. A database that
        // cannot change its mode now keeps the one it has.
        q.exec(QStringLiteral("PRAGMA journal_mode = WAL"));
        const auto& steps = Migrations();
        for (;;) {
            if (!Begin(&error))
                return failed(error, Outcome::Unusable);
            // Read again inside the transaction: another program may have taken the step.
            if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
                error = q.lastError();
                db.rollback();
                return failed(error, Outcome::Unusable);
            }
            const int from = q.value(0).toInt();
            if (from >= kSchemaVersion) {
                db.rollback();
                break;
            }
            for (const char* statement : steps[static_cast<std::size_t>(from)]) {
                if (!q.exec(QString::fromLatin1(statement))) {
                    error = q.lastError();
                    q.finish();
                    db.rollback();
                    const Outcome outcome = failed(error, Outcome::Damaged);
                    *reason = QCoreApplication::translate("lumbrel::History",
                                                          "upgrading from version %1 failed: %2")
                                  .arg(from)
                                  .arg(*reason);
                    return outcome;
                }
            }
            if (!q.exec(QStringLiteral("PRAGMA user_version = %1").arg(from + 1)) || !Commit(&error)) {
                if (!error.isValid())
                    error = q.lastError();
                db.rollback();
                const Outcome outcome = failed(error, Outcome::Unusable);
                *reason =
                    QCoreApplication::translate("lumbrel::History", "upgrading from version %1 failed: %2")
                        .arg(from)
                        .arg(*reason);
                return outcome;
            }
        }
    }
    if (!q.exec(QStringLiteral("PRAGMA foreign_keys = ON")))
        return failed(q.lastError(), Outcome::Unusable);
    return Outcome::Ready;
}

bool History::ExecWhileBusy(QSqlQuery& q, const QString& statement, QSqlError* error) {
    QElapsedTimer waited;
    waited.start();
    while (!q.exec(statement)) {
        if (!IsBusy(q.lastError()) || waited.elapsed() >= busyTimeoutMs_) {
            *error = q.lastError();
            return false;
        }
        QThread::msleep(20);
    }
    return true;
}

bool History::Begin(QSqlError* error) {
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    // Taking the write lock at the start: a transaction that read first could not be
    // waited for (SQLite reports a deadlock as busy at once).
    return ExecWhileBusy(q, QStringLiteral("BEGIN IMMEDIATE"), error);
}

bool History::Commit(QSqlError* error) {
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    // A commit refused as busy leaves the transaction open, to be committed again.
    if (!ExecWhileBusy(q, QStringLiteral("COMMIT"), error))
        return false;
    // The file itself holds what was stored, as far as no reader keeps the log (never
    // waits): a copy of it taken meanwhile misses nothing.
    q.exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
    return true;
}

History::Salvaged History::SalvageInto(QString* reason) {
    Salvaged kept;
    // The damaged file is read through a connection of its own: its errors end a read,
    // never the transaction that fills the new database.
    const QString reading = connection_ + QStringLiteral("-damaged");
    {
        QSqlDatabase source = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), reading);
        source.setDatabaseName(path_);
        source.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs_));
        QSqlQuery r(source);
        if (!source.open())
            kept.report << QCoreApplication::translate("lumbrel::History", "%1 cannot be opened: %2")
                               .arg(path_, ErrorText(source.lastError()));
        // The tables of the damaged file's version, when it can be told; else none.
        int version = kSchemaVersion;
        bool copy = false;
        if (source.isOpen() && r.exec(QStringLiteral("PRAGMA user_version")) && r.next() &&
            r.value(0).toInt() >= 1 && r.value(0).toInt() <= kSchemaVersion) {
            version = r.value(0).toInt();
            copy = true;
        }
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        QSqlQuery q(db);
        if (!db.transaction()) {
            *reason = ErrorText(db.lastError());
            return kept;
        }
        for (int from = 0; from < version; ++from)
            for (const char* statement : Migrations()[static_cast<std::size_t>(from)])
                q.exec(QString::fromLatin1(statement));
        kept.report << QCoreApplication::translate("lumbrel::History",
                                                   "What could be read of it, table by table:");
        for (const QString& table : copy ? TablesOf(version) : QStringList{}) {
            QStringList columns;
            if (q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table)))
                while (q.next())
                    columns << q.value(1).toString();
            const QString list = columns.join(QLatin1String(", "));
            QSqlQuery insert(db);
            insert.prepare(QStringLiteral("INSERT OR IGNORE INTO %1 (rowid, %2) VALUES (?%3)")
                               .arg(table, list, QStringLiteral(", ?").repeated(columns.size())));
            // Row by row, from each end: the rows before and after a damaged page.
            QString stopped;
            int rows = 0;
            qint64 last = std::numeric_limits<qint64>::min();
            for (const char* order : {"ASC", "DESC"}) {
                r.setForwardOnly(true);
                r.prepare(QStringLiteral("SELECT rowid, %2 FROM %1 WHERE rowid > ? ORDER BY rowid %3")
                              .arg(table, list, QLatin1String(order)));
                r.addBindValue(last);
                const bool ascending = order[0] == 'A';
                bool whole = r.exec();
                while (whole && r.next()) {
                    if (ascending)
                        last = r.value(0).toLongLong();
                    for (int c = 0; c <= columns.size(); ++c)
                        insert.bindValue(c, r.value(c));
                    if (insert.exec())
                        rows += insert.numRowsAffected();
                }
                whole = whole && !r.lastError().isValid();
                if (!whole && stopped.isEmpty())
                    stopped = ErrorText(r.lastError());
                r.finish();
                if (whole && ascending)
                    break;  // read to its end
            }
            kept.report << (stopped.isEmpty() ? QStringLiteral("  %1: %2").arg(table, Count(rows, "row"))
                                              : QCoreApplication::translate("lumbrel::History",
                                                                            "  %1: %2 (a read stopped: %3)")
                                                    .arg(table, Count(rows, "row"), stopped));
        }
        // Rows whose session or drill was lost tell nothing.
        int orphans = 0;
        if (q.exec(QStringLiteral("PRAGMA foreign_key_check"))) {
            std::vector<std::pair<QString, qint64>> lost;
            while (q.next())
                lost.emplace_back(q.value(0).toString(), q.value(1).toLongLong());
            for (const auto& [table, rowid] : lost) {
                q.prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(table));
                q.addBindValue(rowid);
                orphans += q.exec() ? 1 : 0;
            }
        }
        if (orphans > 0)
            kept.report << QCoreApplication::translate(
                               "lumbrel::History",
                               "  %1 left out: their session, drill or sending could not be read")
                               .arg(Count(orphans, "row"));
        q.exec(QStringLiteral("PRAGMA user_version = %1").arg(version));
        q.finish();
        r = QSqlQuery();
        source.close();
        if (!db.commit()) {
            *reason = ErrorText(db.lastError());
            db.rollback();
            return kept;
        }
    }
    QSqlDatabase::removeDatabase(reading);
    QStringList ignored;
    if (CheckAndMigrate(Access::Write, reason, &ignored) != Outcome::Ready)
        return kept;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    if (q.exec(QStringLiteral("SELECT (SELECT COUNT(*) FROM sessions), (SELECT COUNT(*) FROM drills),"
                              " (SELECT COUNT(*) FROM sendings)")) &&
        q.next()) {
        kept.sessions = q.value(0).toInt();
        kept.drills = q.value(1).toInt();
        kept.sendings = q.value(2).toInt();
    }
    kept.ok = true;
    return kept;
}

bool History::SalvageInPlace(const QString& reason, const QStringList& report) {
    // What can be read goes into a new file first; only a complete one takes the
    // damaged one's place.
    const QString fresh = path_ + QStringLiteral(".salvage");
    const auto removeFresh = [&] {
        for (const char* suffix : {"", "-journal", "-wal", "-shm"})
            QFile::remove(fresh + QLatin1String(suffix));
    };
    removeFresh();
    QString why;
    Salvaged kept;
    if (Connect(fresh, &why))
        kept = SalvageInto(&why);
    // In rollback mode until opened in its place, so that no log left there is read into it.
    if (kept.ok)
        QSqlQuery(QSqlDatabase::database(connection_, false))
            .exec(QStringLiteral("PRAGMA journal_mode = DELETE"));
    CloseDatabase();
    const auto fail = [&](const QString& what) {
        removeFresh();
        problem_ = QStringLiteral(
                       "The history %1 is damaged (%2), and %3 (%4); it is left as it is and nothing "
                       "is stored.")
                       .arg(path_, reason, what, why);
        return false;
    };
    if (!kept.ok)
        return fail(
            QCoreApplication::translate("lumbrel::History", "what can be read of it could not be saved"));

    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = QStringLiteral("%1.damaged-%2").arg(path_, stamp);
    for (int k = 2; QFileInfo::exists(target); ++k)
        target = QStringLiteral("%1.damaged-%2-%3").arg(path_, stamp).arg(k);
    if (!KeepAs(path_, target)) {
        why = QCoreApplication::translate("lumbrel::History", "cannot write %1").arg(target);
        return fail(
            QCoreApplication::translate("lumbrel::History", "it could not be kept beside a repaired one"));
    }
    // Its journals belong with it; left here they would be read into the new file.
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        const QString companion = path_ + QLatin1String(suffix);
        if (!QFileInfo::exists(companion))
            continue;
        if (suffix[1] != 's')
            KeepAs(companion, target + QLatin1String(suffix));
        QFile::remove(companion);
    }
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(fresh).toStdString(), QFile::encodeName(path_).toStdString(),
                            error);
    if (error) {
        why = QString::fromStdString(error.message());
        QFile::remove(target);
        return fail(
            QCoreApplication::translate("lumbrel::History", "the repaired history could not take its place"));
    }
    setAsidePath_ = target;
    notice_ = QStringLiteral(
                  "The history %1 was damaged (%2). %3 could be read and are kept in a new "
                  "history; the damaged file is kept as %4.")
                  .arg(path_, reason, Kept(kept.sessions, kept.drills, kept.sendings), target);
    noticeDetails_ = (report + kept.report).join(QLatin1Char('\n'));
    return true;
}

int History::SchemaVersion() const {
    if (!open_)
        return 0;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        return 0;
    return q.value(0).toInt();
}

bool History::Insert(const SessionRecord& r, std::optional<qint64> id, qint64* stored) {
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
    c.prepare(QStringLiteral(
        "INSERT INTO character_errors (session_id, character, sent, errors, dropped, wrong, added)"
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

std::optional<qint64> History::AddInTransaction(const std::function<bool(qint64* stored)>& insert) {
    if (!Open())
        return std::nullopt;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlError error;
    if (!Begin(&error)) {
        problem_ = ErrorText(error);
        return std::nullopt;
    }
    // A failed insert tells its own problem; a failed commit the database's.
    problem_.clear();
    qint64 id = 0;
    if (!insert(&id) || !Commit(&error)) {
        if (problem_.isEmpty())
            problem_ = ErrorText(error);
        db.rollback();
        return std::nullopt;
    }
    return id;
}

std::optional<qint64> History::Add(const SessionRecord& record) {
    return AddInTransaction([&](qint64* stored) { return Insert(record, std::nullopt, stored); });
}

bool History::Replace(qint64 id, const SessionRecord& record) {
    if (!Open())
        return false;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlError error;
    if (!Begin(&error)) {
        problem_ = ErrorText(error);
        return false;
    }
    QSqlQuery q(db);
    bool ok = true;
    for (const char* statement :
         {"DELETE FROM confusions WHERE session_id = ?", "DELETE FROM character_errors WHERE session_id = ?",
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
    if (!ok || !Insert(record, id, &stored) || !Commit(&error)) {
        if (ok && problem_.isEmpty())
            problem_ = ErrorText(error);
        db.rollback();
        return false;
    }
    problem_.clear();
    return true;
}

std::vector<SessionRecord> History::Sessions() const {
    std::vector<SessionRecord> records;
    if (!open_)
        return records;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT id, ended, source, learning_order, characters, character_wpm, "
                               "effective_wpm, session_minutes,"
                               " characters_sent, accuracy, duration_seconds, dropped, added, wrong FROM "
                               "sessions ORDER BY ended, id")))
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
    if (q.exec(
            QStringLiteral("SELECT session_id, character, sent, dropped, wrong, added FROM character_errors"
                           " ORDER BY session_id, rowid"))) {
        while (q.next()) {
            const auto it = index.constFind(q.value(0).toLongLong());
            if (it == index.constEnd())
                continue;
            records[*it].characters.push_back({q.value(1).toString(), q.value(2).toInt(), q.value(3).toInt(),
                                               q.value(4).toInt(), q.value(5).toInt()});
        }
    }
    if (q.exec(QStringLiteral(
            "SELECT session_id, sent, copied, count FROM confusions ORDER BY session_id, rowid"))) {
        while (q.next()) {
            const auto it = index.constFind(q.value(0).toLongLong());
            if (it == index.constEnd())
                continue;
            records[*it].confusions.push_back(
                {q.value(1).toString(), q.value(2).toString(), q.value(3).toInt()});
        }
    }
    return records;
}

// --- Drills ------------------------------------------------------------------------------

bool History::InsertDrill(const DrillRecord& d, qint64* stored) {
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
            "INSERT INTO recognition_answers (drill_id, seq, character, answer, reaction_ms, early)"
            " VALUES (?, ?, ?, ?, ?, ?)"));
        int seq = 0;
        for (const RecognitionAnswer& a : d.answers) {
            c.addBindValue(id);
            c.addBindValue(seq++);
            c.addBindValue(Text(a.character));
            c.addBindValue(Text(a.answer));
            c.addBindValue(a.reactionMs);
            c.addBindValue(a.early ? 1 : 0);
            if (!c.exec()) {
                problem_ = ErrorText(c.lastError());
                return false;
            }
        }
    } else {
        c.prepare(QStringLiteral(
            "INSERT INTO callsign_runs (drill_id, step_wpm, top_wpm, score) VALUES (?, ?, ?, ?)"));
        c.addBindValue(id);
        c.addBindValue(d.stepWpm);
        c.addBindValue(d.topWpm);
        c.addBindValue(d.score);
        if (!c.exec()) {
            problem_ = ErrorText(c.lastError());
            return false;
        }
        c.prepare(
            QStringLiteral("INSERT INTO callsign_calls (drill_id, seq, call, copied, wpm, replayed, points)"
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

std::optional<qint64> History::AddDrill(const DrillRecord& drill) {
    return AddInTransaction([&](qint64* stored) { return InsertDrill(drill, stored); });
}

std::vector<DrillRecord> History::Drills(DrillKind kind, int last) const {
    std::vector<DrillRecord> drills;
    if (!open_ || last == 0)
        return drills;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    // The newest `last` by time, then oldest first.
    q.prepare(
        QStringLiteral("SELECT id, ended, duration_seconds, character_wpm FROM"
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
    const QString chosen =
        QStringLiteral("SELECT id FROM drills WHERE kind = ? ORDER BY ended DESC, id DESC LIMIT ?");
    if (kind == DrillKind::Recognition) {
        if (rows(QStringLiteral(
                     "SELECT drill_id, character, answer, reaction_ms, early FROM recognition_answers"
                     " WHERE drill_id IN (%1) ORDER BY drill_id, seq")
                     .arg(chosen))) {
            while (q.next()) {
                const auto it = index.constFind(q.value(0).toLongLong());
                if (it != index.constEnd())
                    drills[*it].answers.push_back({q.value(1).toString(), q.value(2).toString(),
                                                   q.value(3).toInt(), q.value(4).toInt() != 0});
            }
        }
    } else {
        if (rows(QStringLiteral(
                     "SELECT drill_id, step_wpm, top_wpm, score FROM callsign_runs WHERE drill_id IN (%1)")
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
                                " WHERE drill_id IN (%1) ORDER BY drill_id, seq")
                     .arg(chosen))) {
            while (q.next()) {
                const auto it = index.constFind(q.value(0).toLongLong());
                if (it != index.constEnd())
                    drills[*it].calls.push_back({q.value(1).toString(), q.value(2).toString(),
                                                 q.value(3).toInt(), q.value(4).toInt() != 0,
                                                 q.value(5).toInt()});
            }
        }
    }
    return drills;
}

std::optional<int> History::BestCallsignScore() const {
    if (!open_)
        return std::nullopt;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    if (!q.exec(QStringLiteral("SELECT MAX(score) FROM callsign_runs")) || !q.next() || q.value(0).isNull())
        return std::nullopt;
    return q.value(0).toInt();
}

namespace {

// Adds to each character's tally what a copy of `sent` made of it: a try for each time
// it was sent, a miss for each time it was dropped or copied wrong.
void TallyCopy(MissTallies& tallies, const QString& sent, const QString& copy) {
    const CopyScore score = CopyScore::Score(sent, copy);
    for (const CopyScore::Tally& c : score.Tallies()) {
        if (c.sent == 0)
            continue;
        MissTally& t = tallies[c.character];
        t.tries += c.sent;
        t.missed += c.Missed();
    }
}

}  // namespace

MissTallies History::RecentMissTallies(int last, int slowMs) const {
    MissTallies tallies;
    if (!open_ || last <= 0)
        return tallies;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.setForwardOnly(true);
    q.prepare(
        QStringLiteral("SELECT character, SUM(sent), SUM(dropped + wrong) FROM character_errors"
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
    for (const DrillRecord& d : Drills(DrillKind::Recognition, last))
        for (const RecognitionAnswer& a : d.answers)
            TallyAnswer(tallies, a, slowMs);
    for (const DrillRecord& d : Drills(DrillKind::Callsigns, last)) {
        for (const CallAttempt& a : d.calls)
            TallyCopy(tallies, a.call, a.copied);
    }
    return tallies;
}

bool History::DeleteSession(qint64 id) {
    return DeleteInTransaction(
        id,
        {"DELETE FROM confusions WHERE session_id = ?", "DELETE FROM character_errors WHERE session_id = ?",
         "DELETE FROM sessions WHERE id = ?"},
        QStringLiteral("session"));
}

bool History::DeleteDrill(qint64 id) {
    return DeleteInTransaction(
        id,
        {"DELETE FROM recognition_answers WHERE drill_id = ?",
         "DELETE FROM callsign_calls WHERE drill_id = ?", "DELETE FROM callsign_runs WHERE drill_id = ?",
         "DELETE FROM drills WHERE id = ?"},
        QStringLiteral("drill"));
}

// --- Sendings ----------------------------------------------------------------------------

bool History::InsertSending(const SendingRecord& r, qint64* stored) {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery q(db);
    q.prepare(QStringLiteral(
        "INSERT INTO sendings (ended, kind, duration_seconds, keyer, keyer_wpm, wpm, dash_dot_ratio,"
        " weighting, dot_spread, dash_spread, element_gap, element_gap_spread, character_gap,"
        " character_gap_spread, word_gap, word_gap_spread)"
        " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    const SendingFist& f = r.fist;
    q.addBindValue(Text(TimeText(r.ended)));
    q.addBindValue(SendingKindName(r.kind));
    q.addBindValue(r.durationSeconds);
    q.addBindValue(Text(r.keyer));
    q.addBindValue(r.keyerWpm);
    for (const double measure :
         {f.wpm, f.dashDotRatio, f.weighting, f.dotSpread, f.dashSpread, f.elementGap, f.elementGapSpread,
          f.characterGap, f.characterGapSpread, f.wordGap, f.wordGapSpread})
        q.addBindValue(measure);
    if (!q.exec()) {
        problem_ = ErrorText(q.lastError());
        return false;
    }
    const qint64 id = q.lastInsertId().toLongLong();
    QSqlQuery c(db);
    c.prepare(QStringLiteral("INSERT INTO sent_items (sending_id, seq, expected, sent) VALUES (?, ?, ?, ?)"));
    int seq = 0;
    for (const SentItem& item : r.items) {
        c.addBindValue(id);
        c.addBindValue(seq++);
        c.addBindValue(Text(item.expected));
        c.addBindValue(Text(item.sent));
        if (!c.exec()) {
            problem_ = ErrorText(c.lastError());
            return false;
        }
    }
    c.prepare(QStringLiteral("INSERT INTO fist_notes (sending_id, seq, note) VALUES (?, ?, ?)"));
    seq = 0;
    for (const QString& note : f.notes) {
        c.addBindValue(id);
        c.addBindValue(seq++);
        c.addBindValue(Text(note));
        if (!c.exec()) {
            problem_ = ErrorText(c.lastError());
            return false;
        }
    }
    *stored = id;
    return true;
}

std::optional<qint64> History::AddSending(const SendingRecord& sending) {
    return AddInTransaction([&](qint64* stored) { return InsertSending(sending, stored); });
}

std::vector<SendingRecord> History::Sendings(std::optional<SendingKind> kind, int last) const {
    std::vector<SendingRecord> sendings;
    if (!open_ || last == 0)
        return sendings;
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.setForwardOnly(true);
    // The newest `last` by time (of the kind), then oldest first; the items and notes
    // of the same sendings, picked by the same query.
    const QString chosen = QStringLiteral(
        "SELECT id FROM sendings WHERE (? = '' OR kind = ?) ORDER BY ended DESC, id DESC LIMIT ?");
    const QString kindName = kind ? SendingKindName(*kind) : QStringLiteral("");
    const auto run = [&](const QString& sql) {
        q.prepare(sql.arg(chosen));
        q.addBindValue(kindName);
        q.addBindValue(kindName);
        q.addBindValue(last < 0 ? -1 : last);
        return q.exec();
    };
    if (!run(QStringLiteral(
            "SELECT id, ended, kind, duration_seconds, keyer, keyer_wpm, wpm, dash_dot_ratio, weighting,"
            " dot_spread, dash_spread, element_gap, element_gap_spread, character_gap, character_gap_spread,"
            " word_gap, word_gap_spread FROM sendings WHERE id IN (%1) ORDER BY ended, id")))
        return sendings;
    QHash<qint64, std::size_t> index;
    while (q.next()) {
        // A kind this version does not know (a later one's) is left out.
        const std::optional<SendingKind> known = SendingKindFromName(q.value(2).toString());
        if (!known)
            continue;
        SendingRecord r;
        r.id = q.value(0).toLongLong();
        r.ended = TimeFromText(q.value(1).toString());
        r.kind = *known;
        r.durationSeconds = q.value(3).toInt();
        r.keyer = q.value(4).toString();
        r.keyerWpm = q.value(5).toInt();
        SendingFist& f = r.fist;
        double* const measures[] = {
            &f.wpm,          &f.dashDotRatio,     &f.weighting,    &f.dotSpread,          &f.dashSpread,
            &f.elementGap,   &f.elementGapSpread, &f.characterGap, &f.characterGapSpread, &f.wordGap,
            &f.wordGapSpread};
        int column = 6;
        for (double* measure : measures)
            *measure = q.value(column++).toDouble();
        index.insert(r.id, sendings.size());
        sendings.push_back(std::move(r));
    }
    if (sendings.empty())
        return sendings;
    if (run(QStringLiteral("SELECT sending_id, expected, sent FROM sent_items WHERE sending_id IN (%1)"
                           " ORDER BY sending_id, seq"))) {
        while (q.next()) {
            const auto it = index.constFind(q.value(0).toLongLong());
            if (it != index.constEnd())
                sendings[*it].items.push_back({q.value(1).toString(), q.value(2).toString()});
        }
    }
    if (run(QStringLiteral("SELECT sending_id, note FROM fist_notes WHERE sending_id IN (%1)"
                           " ORDER BY sending_id, seq"))) {
        while (q.next()) {
            const auto it = index.constFind(q.value(0).toLongLong());
            if (it != index.constEnd())
                sendings[*it].fist.notes << q.value(1).toString();
        }
    }
    return sendings;
}

bool History::DeleteSending(qint64 id) {
    return DeleteInTransaction(
        id,
        {"DELETE FROM fist_notes WHERE sending_id = ?", "DELETE FROM sent_items WHERE sending_id = ?",
         "DELETE FROM sendings WHERE id = ?"},
        QStringLiteral("sending"));
}

MissTallies History::RecentEchoMissTallies(int last) const {
    MissTallies tallies;
    if (last <= 0)
        return tallies;
    for (const SendingRecord& s : Sendings(SendingKind::Echo, last)) {
        for (const SentItem& item : s.items)
            TallyCopy(tallies, item.expected, item.sent);
    }
    return tallies;
}

bool History::DeleteInTransaction(qint64 id, std::initializer_list<const char*> statements,
                                  const QString& what) {
    if (!Open())
        return false;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlError error;
    if (!Begin(&error)) {
        problem_ = ErrorText(error);
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
        problem_ = QCoreApplication::translate("lumbrel::History", "there is no %1 %2 in the history")
                       .arg(what)
                       .arg(id);
        return false;
    }
    if (!Commit(&error)) {
        problem_ = ErrorText(error);
        db.rollback();
        return false;
    }
    problem_.clear();
    return true;
}

}  // namespace lumbrel
