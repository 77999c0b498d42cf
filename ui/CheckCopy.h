#pragma once
// "Check Copy": the learner types or pastes what was copied on paper; the dialog
// shows the sent text and the copy aligned, each dropped, added and wrong character
// marked, the accuracy, and then either the Koch step (at 90 % in a random-group
// session: add the next character in one click) or how far there is to go and which
// characters were missed most. Every checked copy goes into the history.
//
// CopyChecking is the main window's part of it: the menu items "Check Copy" and
// "Progress", the facts of the last session, the history (opened when first needed)
// and the two windows. It also hands random groups the misses of the history when
// "Favour Missed" is on. UI thread only.
#include <QDateTime>
#include <QDialog>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

#include "scoring/CopyScore.h"
#include "scoring/KochStep.h"
#include "scoring/SessionRecord.h"
#include "session/Trainer.h"
#include "text/WeakCharacters.h"

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTextBrowser;
class QTextEdit;

namespace lumbrel {

class History;
class Prompts;
class ProgressWindow;

class CheckCopyDialog final : public QDialog {
    Q_OBJECT
public:
    // Stores a checked copy; returns a line for the dialog on what became of it.
    using Store = std::function<QString(const SessionRecord&)>;

    CheckCopyDialog(Trainer& trainer, const SessionSummary& session, const QDateTime& ended, Store store,
                    QWidget* parent = nullptr);
    ~CheckCopyDialog() override;

    QPlainTextEdit* CopyEdit() const { return copy_; }
    QPushButton* CheckButton() const { return check_; }
    QPushButton* OfferButton() const { return offer_; }
    QLabel* AccuracyLabel() const { return accuracy_; }
    QLabel* AdviceLabel() const { return advice_; }
    QLabel* StoredLabel() const { return stored_; }
    QTextBrowser* PairView() const { return pair_; }

    const std::optional<CopyScore>& Score() const { return score_; }
    const NextCharacterOffer& Offer() const { return offerState_; }
    const SessionSummary& Session() const { return session_; }

    // The aligned pair as HTML: sent line above the copy line, marks in colour.
    static QString PairHtml(const CopyScore& score, int width = 60);

public Q_SLOTS:
    // Scores the copy as it stands, shows the result and stores it.
    void Check();
    // Adds the next character (the offer shown after a check).
    void TakeOffer();

Q_SIGNALS:
    // A copy was checked and handed to the store.
    void Checked();

private:
    void ShowResult();

    Trainer& trainer_;
    SessionSummary session_;
    QDateTime ended_;
    Store store_;
    std::optional<CopyScore> score_;
    NextCharacterOffer offerState_;

    QLabel* facts_ = nullptr;
    QPlainTextEdit* copy_ = nullptr;
    QPushButton* check_ = nullptr;
    QLabel* accuracy_ = nullptr;
    QLabel* counts_ = nullptr;
    QTextBrowser* pair_ = nullptr;
    QLabel* legend_ = nullptr;
    QPushButton* offer_ = nullptr;
    QLabel* advice_ = nullptr;
    QLabel* stored_ = nullptr;
};

class CopyChecking final : public QObject {
    Q_OBJECT
public:
    // sentView shows the trainer's "Sent"; the actions are brought up to date when it
    // changes (the copy is checked against what the trainer kept, not against it).
    CopyChecking(Trainer& trainer, Prompts& prompts, QWidget* window, QTextEdit* sentView);
    ~CopyChecking() override;

    // Adds "Check Copy..." and "Progress..." to the menu, before `before` (a separator
    // follows them), and keeps them current whenever the menu opens.
    void AddMenuItems(QMenu* menu, QAction* before);
    QAction* CheckCopyAction() const { return checkAction_; }
    QAction* ProgressAction() const { return progressAction_; }

    // The history file; History::DefaultPath() unless set before first use.
    void SetHistoryPath(const QString& path) { historyPath_ = path; }
    // Opens the history when needed (only to read, unless `write`: reading never
    // changes the file); null when it cannot be used. The user hears of a damaged file
    // salvaged, and why it cannot be used when that is new; `told` says whether this
    // call told anything.
    History* OpenHistory(bool write, bool* told = nullptr);

    // A session has ended that sent something, and no other runs.
    bool CanCheck() const;
    void UpdateActions();
    const std::optional<SessionSummary>& LastSession() const { return last_; }

    CheckCopyDialog* Dialog() const { return dialog_; }
    ProgressWindow* Progress() const;

public Q_SLOTS:
    // Opens the dialog for the last session (window-modal, without blocking).
    void CheckCopyClick();
    void ProgressClick();

private:
    void SessionEnded(const SessionSummary& summary);
    // Adds the record, or writes over the one stored before for the same session.
    QString StoreRecord(const SessionRecord& record, std::optional<qint64>* stored);
    void Tell(const QString& text, const QString& details = {});
    // "Favour Missed": what random groups are weighed by, from the history; nothing
    // when the option is off or the history cannot be used.
    MissTallies WeakCharacterTallies();

    Trainer& trainer_;
    Prompts& prompts_;
    QWidget* window_;
    QAction* checkAction_ = nullptr;
    QAction* progressAction_ = nullptr;
    std::optional<SessionSummary> last_;
    QDateTime lastEnded_;
    QString historyPath_;
    std::unique_ptr<History> history_;
    QString lastProblem_;    // told already
    int sessionSerial_ = 0;  // sessions ended so far
    QPointer<CheckCopyDialog> dialog_;
    int dialogSerial_ = 0;  // the session the dialog is for
    QPointer<ProgressWindow> progress_;
    bool deferTelling_ = false;  // Tell() queues its message rather than showing it now
};

}  // namespace lumbrel
