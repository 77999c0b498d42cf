#pragma once
// The history of checked sessions and drills: an SQLite database in the user's data
// folder.
//
// The database carries its schema version (SQLite's user_version). Opening brings a
// database of any earlier version forward, one step at a time, each step in a
// transaction of its own. A file that is not a readable history (not a database, a
// failed integrity check, tables missing or a step that fails) is set aside under a
// new name with the time in it, a new history is started and Notice() says so: no
// history is ever lost silently. A history written by a newer version is left as it
// is and not written to.
//
// Qt SQL needs a QCoreApplication. UI thread only.
#include <QString>

#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

#include "scoring/DrillRecord.h"
#include "scoring/SessionRecord.h"
#include "text/WeakCharacters.h"

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
    static constexpr int kSchemaVersion = 3;

    // "history.sqlite" in the trainer's data folder, whichever program asks: the window
    // and lumbrel-score keep one history.
    static QString DefaultPath();

    explicit History(QString path);
    ~History();
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    // Opens (creating, upgrading or setting aside as needed); true when the history
    // can be read and written. Opening again once open does nothing.
    bool Open();
    bool IsOpen() const { return open_; }
    const QString& Path() const { return path_; }

    // Why the history cannot be used, or why the last write failed; empty when fine.
    const QString& Problem() const { return problem_; }
    // What opening did that the user must hear about (a damaged file set aside);
    // empty when nothing. Taken once.
    QString TakeNotice();
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
    // slower than slowMs: half a miss) and the last `last` callsign runs (the
    // characters of each call, dropped or wrong in the copy).
    MissTallies RecentMissTallies(int last, int slowMs) const;

private:
    enum class Outcome { Ready, Newer, Damaged, Unusable };

    Outcome OpenDatabase(QString* reason);
    Outcome CheckAndMigrate(QString* reason);
    void CloseDatabase();
    bool SetAside(QString* reason);
    bool Insert(const SessionRecord& record, std::optional<qint64> id, qint64* stored);
    bool InsertDrill(const DrillRecord& drill, qint64* stored);
    // Runs `insert` in a transaction of its own; the new row's id, or nullopt with the
    // problem told.
    std::optional<qint64> AddInTransaction(const std::function<bool(qint64* stored)>& insert);
    // Runs the statements, each bound to id, in one transaction; the last one must
    // remove a row. what names the record in the problem.
    bool DeleteInTransaction(qint64 id, std::initializer_list<const char*> statements, const QString& what);

    QString path_;
    QString connection_;
    bool open_ = false;
    QString problem_;
    QString notice_;
    QString setAsidePath_;
};

}  // namespace lumbrel
