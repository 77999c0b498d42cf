#include "ui/CheckCopy.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <string_view>

#include "scoring/CopyAdvice.h"
#include "scoring/History.h"
#include "ui/Application.h"
#include "ui/ControlWidgets.h"
#include "ui/Progress.h"
#include "ui/Prompts.h"

namespace lumbrel {

// The window and lumbrel-score keep one history, found under the trainer's names.
static_assert(std::string_view(kApplicationTitle) == History::kTrainerApplication);

namespace {

QString SessionFacts(const SessionSummary& s, int charactersSent) {
    const double effective = s.characterWpm * s.effectivePermille / 1000.0;
    QString speed = CheckCopyDialog::tr("%1 WPM").arg(s.characterWpm);
    if (s.effectivePermille != 1000)
        speed +=
            CheckCopyDialog::tr(" (effective %1)").arg(QString::number(effective, 'f', effective < 10 ? 1 : 0));
    QStringList parts;
    parts << SourceCaption(SourceName(s.source, s.singleEntry));
    if (s.source == SourceKind::RandomGroups)
        parts << CheckCopyDialog::tr("%1 characters (%2 order)")
                     .arg(s.characterCount)
                     .arg(s.order == LearningOrder::Mfj ? QStringLiteral("MFJ") : QStringLiteral("Koch"));
    parts << speed;
    parts << QStringLiteral("%1:%2")
                 .arg(s.elapsedSeconds / 60)
                 .arg(s.elapsedSeconds % 60, 2, 10, QLatin1Char('0'));
    parts << CheckCopyDialog::tr("%1 characters sent").arg(charactersSent);
    return parts.join(QStringLiteral(" · "));
}

}  // namespace

QString MarkedHtml(const QString& html, CopyScore::Mark mark) {
    const char* background = nullptr;
    switch (mark) {
        case CopyScore::Mark::Wrong:
            background = "#f4a6a6";
            break;
        case CopyScore::Mark::Dropped:
            background = "#f7d08a";
            break;
        case CopyScore::Mark::Added:
            background = "#a9c8f0";
            break;
        case CopyScore::Mark::Correct:
        case CopyScore::Mark::Boundary:
            return html;
    }
    return QStringLiteral("<span style=\"background-color:%1; color:#000000; font-weight:bold\">%2</span>")
        .arg(QLatin1String(background), html);
}

// --- The dialog ---------------------------------------------------------------------------

CheckCopyDialog::CheckCopyDialog(Trainer& trainer, const SessionSummary& session, const QDateTime& ended,
                                 Store store, QWidget* parent)
    : QDialog(parent),
      trainer_(trainer),
      session_(session),
      ended_(ended),
      store_(std::move(store)) {
    setObjectName(QStringLiteral("CheckCopyDialog"));
    setWindowTitle(tr("Check Copy"));
    // The desktop's fixed-pitch font, at least as large as its ordinary font, so that the
    // copy and the aligned text grow with a larger desktop font.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(std::max(fixed.pointSizeF(), font().pointSizeF()));
    const int charactersSent = CopyScore::CountCharacters(session_.text, session_.multiLetterCharacters);

    facts_ = new QLabel(SessionFacts(session_, charactersSent), this);
    facts_->setWordWrap(true);
    auto* prompt = new QLabel(
        tr(
            "Type or paste what you copied on paper, then press Check. Case, spaces and line breaks "
            "do not count. Write a prosign as <sk> or ^sk, or as +, = and ( for ^ar, ^bt and ^kn."),
        this);
    prompt->setTextFormat(Qt::PlainText);
    prompt->setWordWrap(true);

    copy_ = new QPlainTextEdit(this);
    copy_->setObjectName(QStringLiteral("Copy"));
    copy_->setFont(fixed);
    copy_->setPlaceholderText(tr("What you copied"));
    copy_->setTabChangesFocus(true);
    copy_->setMinimumHeight(90);

    check_ = new QPushButton(tr("&Check"), this);
    check_->setObjectName(QStringLiteral("Check"));
    check_->setDefault(true);
    check_->setEnabled(charactersSent > 0);
    auto* close = new QPushButton(tr("Close"), this);
    connect(check_, &QPushButton::clicked, this, &CheckCopyDialog::Check);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    accuracy_ = new QLabel(this);
    accuracy_->setObjectName(QStringLiteral("Accuracy"));
    QFont big = accuracy_->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.5);
    accuracy_->setFont(big);
    counts_ = new QLabel(this);
    counts_->setWordWrap(true);

    pair_ = new QTextBrowser(this);
    pair_->setObjectName(QStringLiteral("AlignedPair"));
    pair_->setFont(fixed);
    pair_->setLineWrapMode(QTextEdit::NoWrap);
    pair_->setMinimumHeight(160);
    legend_ = new QLabel(
        tr("%1 wrong &nbsp; %2 dropped (not copied) &nbsp; %3 added (copied, not sent)")
            .arg(MarkedHtml(QStringLiteral("&nbsp;x&nbsp;"), CopyScore::Mark::Wrong),
                 MarkedHtml(QStringLiteral("&nbsp;x&nbsp;"), CopyScore::Mark::Dropped),
                 MarkedHtml(QStringLiteral("&nbsp;x&nbsp;"), CopyScore::Mark::Added)),
        this);
    legend_->setTextFormat(Qt::RichText);

    offer_ = new QPushButton(this);
    offer_->setObjectName(QStringLiteral("AddNextCharacter"));
    offer_->setVisible(false);
    connect(offer_, &QPushButton::clicked, this, &CheckCopyDialog::TakeOffer);
    advice_ = new QLabel(this);
    advice_->setObjectName(QStringLiteral("Advice"));
    advice_->setWordWrap(true);
    stored_ = new QLabel(this);
    stored_->setObjectName(QStringLiteral("Stored"));
    stored_->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(check_);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(facts_);
    layout->addWidget(prompt);
    layout->addWidget(copy_, 1);
    layout->addLayout(buttons);
    layout->addWidget(accuracy_);
    layout->addWidget(counts_);
    layout->addWidget(pair_, 2);
    layout->addWidget(legend_);
    layout->addWidget(offer_, 0, Qt::AlignLeft);
    layout->addWidget(advice_);
    layout->addWidget(stored_);
    // Its first size fits the free area of the screen; a small screen scrolls the texts.
    QSize size(720, 600);
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);
    GuardWheel(this);
    copy_->setFocus();
}

CheckCopyDialog::~CheckCopyDialog() = default;

QString CheckCopyDialog::PairHtml(const CopyScore& score, int width) {
    QString html = QStringLiteral("<pre style=\"line-height:130%\">");
    const auto& columns = score.Columns();
    bool first = true;
    for (const auto& [from, to] : score.Rows(width)) {
        if (!first)
            html += QLatin1Char('\n');
        first = false;
        QString top = tr("sent  ", "as wide as the copy line's label");
        QString bottom = tr("copy  ", "as wide as the sent line's label");
        for (std::size_t k = from; k < to; ++k) {
            const CopyScore::Column& col = columns[k];
            // Both lines as wide as the longer text of the column (a prosign, "AR").
            const int w = col.mark == CopyScore::Mark::Boundary ? 1 : CopyScore::ColumnWidth(col);
            const auto shown = [&](const QString& text) {
                if (col.mark == CopyScore::Mark::Boundary)
                    return QStringLiteral("&nbsp;");
                if (text.isEmpty())
                    return QString(w, QChar(CopyScore::kGap));
                QString out = text.toHtmlEscaped();
                for (qsizetype pad = text.size(); pad < w; ++pad)
                    out += QStringLiteral("&nbsp;");
                return out;
            };
            top += MarkedHtml(shown(col.sent), col.mark);
            bottom += MarkedHtml(shown(col.copied), col.mark);
        }
        html += top + QLatin1Char('\n') + bottom + QLatin1Char('\n');
    }
    html += QStringLiteral("</pre>");
    return html;
}

void CheckCopyDialog::Check() {
    // Nothing typed yet is no copy: it is neither scored nor stored.
    if (CopyScore::Normalise(copy_->toPlainText()).isEmpty()) {
        score_.reset();
        accuracy_->setText(QString());
        counts_->setText(QString());
        pair_->clear();
        offer_->setVisible(false);
        advice_->setText(QString());
        stored_->setText(tr("Nothing to check: type or paste what you copied first."));
        return;
    }
    score_ = CopyScore::Score(session_.text, copy_->toPlainText(), session_.multiLetterCharacters);
    if (score_->CharactersSent() == 0)
        return;
    ShowResult();
    if (store_)
        stored_->setText(store_(MakeSessionRecord(session_, ended_, *score_)));
    Q_EMIT Checked();
}

void CheckCopyDialog::ShowResult() {
    const CopyScore& s = *score_;
    accuracy_->setText(tr("Accuracy %1").arg(s.AccuracyText()));
    counts_->setText(tr("%1 characters sent: %2 right, %3 wrong, %4 dropped; %5 added.")
                         .arg(s.CharactersSent())
                         .arg(s.Correct())
                         .arg(s.Wrong())
                         .arg(s.Dropped())
                         .arg(s.Added()));
    pair_->setHtml(PairHtml(s));

    offerState_ = OfferNextCharacter(Standing(), session_, s);
    offer_->setVisible(offerState_.available);
    if (offerState_.available) {
        offer_->setEnabled(true);
        offer_->setText(tr("Add the next character: %1 (%2 characters)")
                            .arg(offerState_.character.toUpper())
                            .arg(offerState_.count));
    }

    const CopyAdvice said = AdviseOnCopy(session_, s, offerState_,
                                         trainer_.Options().Maximum(Option::CharacterCount));
    QStringList advice;
    switch (said.verdict) {
        case CopyAdvice::Verdict::WellCopied:
            advice << tr("Well copied.");
            break;
        case CopyAdvice::Verdict::StoppedEarly:
            advice << tr("%1% or more.").arg(CopyScore::kKochThresholdPercent)
                   << said.stoppedEarly;
            break;
        case CopyAdvice::Verdict::NextCharacter:
            advice << tr("%1% or more: time for the next character.")
                          .arg(CopyScore::kKochThresholdPercent);
            break;
        case CopyAdvice::Verdict::EveryCharacter:
            advice << tr("%1% or more with every character: nothing more to add.")
                          .arg(CopyScore::kKochThresholdPercent);
            break;
        case CopyAdvice::Verdict::Reached:
            advice << tr("%1% or more.").arg(CopyScore::kKochThresholdPercent);
            break;
        case CopyAdvice::Verdict::Short:
            advice << said.shortfall + QLatin1Char('.');
            break;
    }
    if (!said.mostMissed.isEmpty())
        advice << tr("Missed most: %1.").arg(said.mostMissed);
    advice_->setText(advice.join(QLatin1Char(' ')));
}

TrainerStanding CheckCopyDialog::Standing() const {
    return {trainer_.Options(), trainer_.Characters(),
            trainer_.SessionActive() || trainer_.CountdownPending()};
}

void CheckCopyDialog::TakeOffer() {
    if (!OfferHolds(Standing(), offerState_)) {
        offer_->setEnabled(false);
        advice_->setText(
            tr("The character count has changed since this session; nothing was added."));
        return;
    }
    trainer_.SetOption(Option::CharacterCount, offerState_.count);
    offer_->setEnabled(false);
    offer_->setText(tr("Added %1: now %2 characters")
                        .arg(offerState_.character.toUpper())
                        .arg(offerState_.count));
    offerState_ = NextCharacterOffer{};
}

// --- The main window's part -------------------------------------------------------------

CopyChecking::CopyChecking(Trainer& trainer, Prompts& prompts, HistoryService& history, QWidget* window,
                           QTextEdit* sentView)
    : trainer_(trainer),
      prompts_(prompts),
      window_(window),
      history_(history) {
    checkAction_ = new QAction(tr("&Check Copy..."), this);
    checkAction_->setObjectName(QStringLiteral("CheckCopy"));
    checkAction_->setToolTip(tr("Check what you copied of the last session"));
    checkAction_->setEnabled(false);
    progressAction_ = new QAction(tr("&Progress..."), this);
    progressAction_->setObjectName(QStringLiteral("Progress"));
    progressAction_->setToolTip(
        tr("Your accuracy, the characters learnt and the errors per character"));
    connect(checkAction_, &QAction::triggered, this, &CopyChecking::CheckCopyClick);
    connect(progressAction_, &QAction::triggered, this, &CopyChecking::ProgressClick);
    if (sentView)
        connect(sentView, &QTextEdit::textChanged, this, &CopyChecking::UpdateActions);
    trainer_.SetSessionEndedListener([this](const SessionSummary& s) { SessionEnded(s); });
    trainer_.Groups().SetMissTalliesSource(history_.FavouredMissesSource(trainer_.Store()));
    history_.SetListener([this](const HistoryService::Report& r) { Heard(r); });
}

CopyChecking::~CopyChecking() {
    trainer_.SetSessionEndedListener({});
    trainer_.Groups().SetMissTalliesSource({});
    history_.SetListener({});
    // The windows use the history: they go first.
    delete dialog_.data();
    delete progress_.data();
}

void CopyChecking::AddMenuItems(QMenu* menu, QAction* before) {
    menu->insertAction(before, checkAction_);
    menu->insertAction(before, progressAction_);
    menu->insertSeparator(before);
    connect(menu, &QMenu::aboutToShow, this, &CopyChecking::UpdateActions);
}

ProgressWindow* CopyChecking::Progress() const {
    return progress_.data();
}

bool CopyChecking::CanCheck() const {
    // The trainer keeps what was sent: whatever "Sent" shows now (cleared, or emptied by
    // a change of the display delay) the session can be checked.
    return last_ && !trainer_.SessionActive() && !CopyScore::Normalise(last_->text).isEmpty();
}

void CopyChecking::UpdateActions() {
    checkAction_->setEnabled(CanCheck());
}

void CopyChecking::SessionEnded(const SessionSummary& summary) {
    last_ = summary;
    ++sessionSerial_;
    lastEnded_ = QDateTime::currentDateTime();
    // A dialog still open for the session before keeps its own copy of the facts.
    UpdateActions();
}

void CopyChecking::Tell(const QString& text, const QString& details, bool later) {
    if (text.isEmpty())
        return;
    ++told_;
    if (later) {
        QMetaObject::invokeMethod(
            this, [this, text, details] { Tell(text, details); }, Qt::QueuedConnection);
        return;
    }
    // Over the window in front: the drills window, when it is open.
    QWidget* over = QApplication::activeModalWidget();
    prompts_.DetailedMessage(over ? over : window_, text, details, tr("History"),
                             MessageKind::Warning);
}

void CopyChecking::Heard(const HistoryService::Report& report) {
    Tell(report.notice, report.details, report.sessionStarting);
    if (report.newProblem)
        Tell(report.problem, {}, report.sessionStarting);
}

QString CopyChecking::StoreRecord(int session, const SessionRecord& record) {
    const HistoryService::Stored stored = history_.StoreCheckedCopy(session, record);
    if (!stored.usable)
        return tr("Not saved: the history cannot be used.");
    if (!stored.id)
        return tr("Not saved: %1").arg(history_.Problem());
    if (progress_)
        progress_->Reload();
    return tr("Saved to your progress history.");
}

void CopyChecking::CheckCopyClick() {
    UpdateActions();
    if (!CanCheck())
        return;
    // The same session's dialog is opened again with what was typed; a new session
    // gets a new one.
    if (dialog_ && dialogSerial_ != sessionSerial_)
        delete dialog_.data();
    if (!dialog_) {
        dialog_ = new CheckCopyDialog(
            trainer_, *last_, lastEnded_,
            [this, session = sessionSerial_](const SessionRecord& r) { return StoreRecord(session, r); },
            window_);
        dialog_->setWindowModality(Qt::WindowModal);
        dialogSerial_ = sessionSerial_;
    }
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

void CopyChecking::ProgressClick() {
    const int toldBefore = told_;
    History* history = history_.Open(HistoryService::Use::Read);
    if (!history) {
        if (told_ == toldBefore)
            Tell(history_.Problem());
        return;
    }
    if (!progress_)
        progress_ = new ProgressWindow(*history, prompts_, trainer_.Store(), window_);
    progress_->Reload();
    progress_->show();
    progress_->raise();
    progress_->activateWindow();
}

}  // namespace lumbrel
