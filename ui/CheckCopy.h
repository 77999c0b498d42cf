#pragma once
// "Check Copy": the learner types or pastes what was copied on paper; the dialog
// shows the sent text and the copy aligned, each dropped, added and wrong character
// marked, the accuracy, and then either the Koch step (at 90 % in a random-group
// session: add the next character in one click) or how far there is to go and which
// characters were missed most. Every checked copy goes into the history.
//
// CopyChecking is the main window's part of it: the menu items "Check Copy" and
// "Progress", the facts of the last session and the two windows, over the program's
// history service, whose reports it tells the user. It hands random groups the
// service's misses for "Favour Missed". UI thread only.
#include <QDateTime>
#include <QDialog>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

#include "scoring/CopyScore.h"
#include "scoring/HistoryService.h"
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

class Prompts;
class ProgressWindow;

// HTML (escaped already) on the colour of its mark, wrong, dropped and added each its
// own: dark text on a light background, readable on light and dark palettes alike. A
// right character or a word boundary stays as it is.
QString MarkedHtml(const QString& html, CopyScore::Mark mark);

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
    // The trainer as the offer is made and taken.
    TrainerStanding Standing() const;

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
    CopyChecking(Trainer& trainer, Prompts& prompts, HistoryService& history, QWidget* window,
                 QTextEdit* sentView);
    ~CopyChecking() override;

    // Adds "Check Copy..." and "Progress..." to the menu, before `before` (a separator
    // follows them), and keeps them current whenever the menu opens.
    void AddMenuItems(QMenu* menu, QAction* before);
    QAction* CheckCopyAction() const { return checkAction_; }
    QAction* ProgressAction() const { return progressAction_; }

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
    // Stores the checked copy of the session numbered `session`; a line on what became of it.
    QString StoreRecord(int session, const SessionRecord& record);
    // What opening the history found: a damaged file salvaged, a new problem.
    void Heard(const HistoryService::Report& report);
    // later: inside the trainer's reaction, the message waits until that has returned.
    void Tell(const QString& text, const QString& details = {}, bool later = false);

    Trainer& trainer_;
    Prompts& prompts_;
    QWidget* window_;
    QAction* checkAction_ = nullptr;
    QAction* progressAction_ = nullptr;
    std::optional<SessionSummary> last_;
    QDateTime lastEnded_;
    HistoryService& history_;
    int told_ = 0;           // messages told so far
    int sessionSerial_ = 0;  // sessions ended so far
    QPointer<CheckCopyDialog> dialog_;
    int dialogSerial_ = 0;  // the session the dialog is for
    QPointer<ProgressWindow> progress_;
};

}  // namespace lumbrel
