#pragma once
// The history of checked sessions, drills and sending practice: an SQLite database in the user's data
// folder.
//
// The database carries its schema version (SQLite's user_version). Opening to write
// brings a database of any earlier version forward, one step at a time, each step in a
// transaction of its own. A file that is not a readable history (not a database, a
// failed integrity check, tables missing or a step that fails) is salvaged: what SQLite
// can still read of it, table by table and row by row, goes into a new file, which then
// takes its place; the damaged file is kept beside it under a name with the time in it,
// and TakeNotice() says how many sessions, drills and sendings were kept and where the
// old file is. Opening
// to read never changes the file: an older or damaged one is read into memory.
//
// Several programs share the history (the window, lumbrel-score, lumbrel-render): the
// database is in write-ahead-log mode, and a database that another program holds
// locked is waited for (a busy timeout, then retries), never taken for a damaged one.
// A history written by a newer version is left as it is and not written to.
//
// Qt SQL needs a QCoreApplication. UI thread only.
#include <QString>
#include <QStringList>

#include <functional>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

#include "scoring/DrillRecord.h"
#include "scoring/SendingRecord.h"
#include "scoring/SessionRecord.h"
#include "text/WeakCharacters.h"

class QSqlError;
class QSqlQuery;

namespace lumbrel {

class History {
public:
    // The names the trainer runs under, which name its data folder.
    static constexpr const char* kTrainerOrganization = "Zelph Software";
    static constexpr const char* kTrainerApplication = "Zelph Morse Trainer";

    // Version 1: the sessions and the errors per character.
    // Version 2: the kinds of error (dropped, added, wrong) of a session and of each
    // character, the confusions (what was copied for what) and the session's duration.
    // Version 3: the drills: instant recognition (every answer) and callsign runs
    // (every call).
    // Version 4: the early answers of instant recognition.
    // Version 5: sending practice: each sending with its keyer and fist, the items
    // expected and sent, and the fist's notes.
    static constexpr int kSchemaVersion = 5;

    // "history.sqlite" in the trainer's data folder, whichever program asks: the window
    // and lumbrel-score keep one history.
    static QString DefaultPath();

    explicit History(QString path);
    ~History();
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    // How long a database locked by another program is waited for; 15 s unless set.
    void SetBusyTimeout(int milliseconds) { busyTimeoutMs_ = milliseconds; }

    // Opens to write (creating, upgrading or salvaging as needed); true when the history
    // can be read and written. Opening again once open does nothing, unless another
    // program has put a new file in the history's place (then it is opened again) or
    // it was opened only to read.
    bool Open();
    // Opens to read: the file is never created, moved or written; a history of an
    // earlier version or a damaged one is read into memory as far as it can be read.
    // True when there is something to read (no file: an empty history).
    bool OpenToRead();
    bool IsOpen() const { return open_; }
    const QString& Path() const { return path_; }

    // Why the history cannot be used, or why the last write failed; empty when fine.
    const QString& Problem() const { return problem_; }
    // What opening found that the user must hear about (a damaged file salvaged), in a
    // few lines; empty when nothing. Taken once. `details` gets the report behind it
    // (the integrity check, what was read of each table).
    QString TakeNotice(QString* details = nullptr);
    // Where the damaged file went, when one was set aside.
    const QString& SetAsidePath() const { return setAsidePath_; }

    // The schema version of the open database.
    int SchemaVersion() const;

    // Stores a record; its id, or nothing when it could not be written (Problem()).
    std::optional<qint64> Add(const SessionRecord& record);
    // Writes over the record with this id (a copy checked again); false when it failed.
    bool Replace(qint64 id, const SessionRecord& record);
    // Every record, oldest first.
    std::vector<SessionRecord> Sessions() const;
    // Removes a checked session, or a drill, with everything kept for it; false (and
    // Problem() says why) when it could not be removed or there is none of that id.
    bool DeleteSession(qint64 id);
    bool DeleteDrill(qint64 id);

    // Stores a drill; its id, or nothing when it could not be written (Problem()).
    std::optional<qint64> AddDrill(const DrillRecord& drill);
    // The drills of a kind, oldest first: the last `last` of them (all when < 0).
    std::vector<DrillRecord> Drills(DrillKind kind, int last = -1) const;
    // The highest score of the stored callsign runs; nothing before the first.
    std::optional<int> BestCallsignScore() const;
    // What the learner missed, per character, in the last `last` checked sessions,
    // the last `last` recognition drills (wrong or no answer: a miss; right but
    // slower than slowMs, the learner's target: half a miss; early: nothing) and the last `last` callsign runs (the
    // characters of each call, dropped or wrong in the copy).
    MissTallies RecentMissTallies(int last, int slowMs) const;

    // Stores a sending; its id, or nothing when it could not be written (Problem()).
    std::optional<qint64> AddSending(const SendingRecord& sending);
    // The sendings of a kind (every kind when none), oldest first: the last `last` of
    // them (all when < 0).
    std::vector<SendingRecord> Sendings(std::optional<SendingKind> kind = std::nullopt, int last = -1) const;
    // Removes a sending with its items and notes; false (Problem() says why) as DeleteSession.
    bool DeleteSending(qint64 id);
    // What the learner missed, per character, in the last `last` echo drills: each
    // character of an item to be keyed back, dropped or wrong in what was sent.
    MissTallies RecentEchoMissTallies(int last) const;

private:
    enum class Outcome { Ready, Older, Newer, Damaged, Busy, Unusable };
    enum class Access { Read, Write };
    // What a salvage kept.
    struct Salvaged {
        int sessions = 0;
        int drills = 0;
        int sendings = 0;
        QStringList report;
        bool ok = false;
    };

    bool OpenAs(Access access);
    // Opens `file` on the connection, as it is.
    bool Connect(const QString& file, QString* reason);
    // Opens `file` on the connection and checks it; with Access::Write it is brought
    // forward. Retries while another program keeps it busy.
    Outcome OpenDatabase(const QString& file, Access access, QString* reason, QStringList* report);
    Outcome CheckAndMigrate(Access access, QString* reason, QStringList* report);
    void CloseDatabase();
    bool Replaced() const;
    // Copies what can be read of the history file into the empty database on the
    // connection, brought forward to this version.
    Salvaged SalvageInto(QString* reason);
    // A new file of what can be read takes the damaged one's place, which is kept beside it.
    bool SalvageInPlace(const QString& reason, const QStringList& report);
    // BEGIN IMMEDIATE and COMMIT, retried while another program keeps the database busy.
    // Runs statement again while the database is busy, up to the busy timeout.
    bool ExecWhileBusy(QSqlQuery& q, const QString& statement, QSqlError* error);
    bool Begin(QSqlError* error);
    bool Commit(QSqlError* error);
    bool Insert(const SessionRecord& record, std::optional<qint64> id, qint64* stored);
    bool InsertDrill(const DrillRecord& drill, qint64* stored);
    bool InsertSending(const SendingRecord& sending, qint64* stored);
    // Runs `insert` in a transaction of its own; the new row's id, or nullopt with the
    // problem told.
    std::optional<qint64> AddInTransaction(const std::function<bool(qint64* stored)>& insert);
    // Runs the statements, each bound to id, in one transaction; the last one must
    // remove a row. what names the record in the problem.
    bool DeleteInTransaction(qint64 id, std::initializer_list<const char*> statements, const QString& what);

    QString path_;
    QString connection_;
    bool open_ = false;
    Access access_ = Access::Read;
    // The file that was opened (device and inode), to see when another has replaced it.
    std::pair<quint64, quint64> fileId_{0, 0};
    int busyTimeoutMs_ = 15000;
    QString problem_;
    QString notice_;
    QString noticeDetails_;
    QString setAsidePath_;
};

}  // namespace lumbrel
