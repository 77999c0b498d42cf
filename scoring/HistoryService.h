#pragma once
// The history as one service of the program: one History (one database connection)
// for the whole process, opened when first needed and again at each use, so that a
// file another program put in its place is taken up and one busy before may be free
// now. Above the database it keeps the history's rules: one record per session (a
// copy checked again writes over the record stored for it), the misses that "Favour
// characters I miss" weighs random groups by and those echo drills weigh their items
// by, and the drills set up from the drills stored before. What opening finds (a damaged file salvaged, why the history cannot
// be used) goes to the listener, which tells the user. UI thread only.
#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "scoring/CallsignRun.h"
#include "scoring/History.h"
#include "scoring/RecognitionDrill.h"
#include "settings/SettingsStore.h"
#include "text/WeakCharacters.h"

namespace lumbrel {

class HistoryService {
public:
    struct Report {
        QString notice;                // a damaged file salvaged, in a few lines (History::TakeNotice)
        QString details;               // the report behind the notice
        QString problem;               // why the history cannot be used; empty when it can
        bool newProblem = false;       // a problem the opening before did not report
        bool sessionStarting = false;  // asked as a session begins, inside its reaction
    };
    using Listener = std::function<void(const Report&)>;
    enum class Use { Read, Write };

    // path: the database; empty for History::DefaultPath().
    explicit HistoryService(QString path = {});
    ~HistoryService();
    HistoryService(const HistoryService&) = delete;
    HistoryService& operator=(const HistoryService&) = delete;

    // Another database (a test's own); only before first use.
    void SetPath(const QString& path);
    QString Path() const;
    void SetListener(Listener listener) { listener_ = std::move(listener); }

    // Opens to write, or only to read (reading never changes the file); null when it
    // cannot be used (Problem() says why). The listener hears what opening found.
    History* Open(Use use);
    // Opens only to read and tells nobody: for a glance (the window's title) that must
    // not speak up; the next use that tells finds the same and says it.
    History* OpenToGlance();
    // Why the history cannot be used, or why the last write failed.
    QString Problem() const;

    // A checked copy of the session numbered `session` (each session ended a number
    // of its own): the first check adds a record, a check again writes over it.
    struct Stored {
        bool usable = false;       // the history could be opened
        std::optional<qint64> id;  // the record; nothing when it could not be written
    };
    Stored StoreCheckedCopy(int session, const SessionRecord& record);
    // A spell of sending practice, added as a record of its own.
    Stored StoreSending(const SendingRecord& sending);

    // What "Favour characters I miss" weighs random groups by, asked as a session
    // begins: the misses of the recent sessions and drills, a right answer slower than
    // slowMs (the learner's target) counting half; nothing when the history cannot be
    // used. The history is only read.
    MissTallies RecentMisses(int slowMs);
    // For random groups: RecentMisses with the target of the settings while their
    // "Favour Missed" is on, else nothing.
    std::function<MissTallies()> FavouredMissesSource(SettingsStore store);
    // What an echo drill weighs its items by: the misses per character of the recent
    // echo drills; nothing when the history cannot be used. The history is only read.
    MissTallies RecentEchoMisses();

    // A recognition drill weighed by the misses of the history, knowing the drills
    // before; `keep` is where it is stored (null: the history cannot be used).
    struct RecognitionSetUp {
        std::unique_ptr<RecognitionDrill> drill;
        History* keep = nullptr;
    };
    RecognitionSetUp SetUpRecognition(const QStringList& characters, const RecognitionOptions& options,
                                      std::uint32_t seed);
    // A callsign run against the best score before, drawing the calls missed in the
    // runs before when `missedOnly` and there are any, else realCalls().
    struct CallsignSetUp {
        std::unique_ptr<CallsignRun> run;
        History* keep = nullptr;
    };
    CallsignSetUp SetUpCallsignRun(const CallsignRunOptions& options, std::uint32_t seed, bool missedOnly,
                                   const std::function<std::vector<std::string>()>& realCalls);

private:
    History* OpenAs(Use use, bool sessionStarting);

    std::unique_ptr<History> history_;
    QString path_;
    Listener listener_;
    QString lastProblem_;           // reported already
    std::map<int, qint64> stored_;  // session -> its record
};

}  // namespace lumbrel
