#include "ui/Drills.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>

#include "scoring/DrillProgress.h"
#include "session/Trainer.h"
#include "ui/ControlWidgets.h"
#include "ui/Prompts.h"
#include "text/RealCalls.h"
#include "text/WeakCharacters.h"

namespace lumbrel {

namespace {

constexpr int kTickMs = 20;

QString Seconds(int ms) {
    return ms < 0 ? QStringLiteral("–") : QString::number(ms / 1000.0, 'f', 2) + " s";
}

QDoubleSpinBox* SecondsBox(double low, double high, double step, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setRange(low, high);
    box->setSingleStep(step);
    box->setDecimals(1);
    box->setSuffix(QStringLiteral(" s"));
    return box;
}

QSpinBox* NumberBox(int low, int high, const QString& suffix, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(low, high);
    box->setSuffix(suffix);
    return box;
}

int Ms(const QDoubleSpinBox* box) {
    return static_cast<int>(box->value() * 1000.0 + 0.5);
}

}  // namespace

DrillsDialog::DrillsDialog(Trainer& trainer, const Clock& clock, CharacterPlayer& player, SettingsStore store,
                           QString historyPath, Prompts* prompts, QWidget* parent)
    : QDialog(parent),
      trainer_(trainer),
      clock_(clock),
      player_(player),
      store_(std::move(store)),
      history_(std::make_unique<History>(std::move(historyPath))),
      prompts_(prompts) {
    setObjectName(QStringLiteral("DrillsForm"));
    setWindowTitle(QStringLiteral("Drills"));
    setModal(true);

    tabs_ = new QTabWidget(this);

    auto* recognition = new QWidget(tabs_);
    auto* form = new QFormLayout(recognition);
    timeLimit_ = SecondsBox(0.5, 10.0, 0.5, recognition);
    timeLimit_->setObjectName(QStringLiteral("TimeLimitSpinner"));
    form->addRow(QStringLiteral("&Time limit:"), timeLimit_);
    characters_ = NumberBox(0, 1000, QStringLiteral(" characters"), recognition);
    characters_->setSpecialValueText(QStringLiteral("no limit"));
    form->addRow(QStringLiteral("&Length:"), characters_);
    minutes_ = NumberBox(0, 60, QStringLiteral(" min"), recognition);
    minutes_->setSpecialValueText(QStringLiteral("no limit"));
    form->addRow(QStringLiteral("or &minutes:"), minutes_);
    target_ = SecondsBox(0.2, 5.0, 0.1, recognition);
    form->addRow(QStringLiteral("Ta&rget:"), target_);
    growing_ = new QCheckBox(QStringLiteral("Start with two characters, &add the next as each is known"),
                             recognition);
    growing_->setObjectName(QStringLiteral("GrowingCheckBox"));
    form->addRow(QString(), growing_);
    recognitionStart_ = new QPushButton(QStringLiteral("&Start"), recognition);
    form->addRow(QString(), recognitionStart_);
    tabs_->addTab(recognition, QStringLiteral("Instant &recognition"));

    auto* callsigns = new QWidget(tabs_);
    auto* callForm = new QFormLayout(callsigns);
    calls_ = NumberBox(1, 500, QStringLiteral(" calls"), callsigns);
    callForm->addRow(QStringLiteral("&Calls:"), calls_);
    startSpeed_ = NumberBox(CallsignRun::kMinWpm, CallsignRun::kMaxWpm, QStringLiteral(" WPM"), callsigns);
    callForm->addRow(QStringLiteral("Start s&peed:"), startSpeed_);
    step_ = NumberBox(1, CallsignRun::kMaxStepWpm, QStringLiteral(" WPM"), callsigns);
    callForm->addRow(QStringLiteral("St&ep:"), step_);
    topSpeed_ = NumberBox(CallsignRun::kMinWpm, CallsignRun::kMaxWpm, QStringLiteral(" WPM"), callsigns);
    topSpeed_->setObjectName(QStringLiteral("TopSpeedSpinner"));
    callForm->addRow(QStringLiteral("Top spee&d:"), topSpeed_);
    varyPitch_ = new QCheckBox(
        QStringLiteral("&Vary the pitch of each call (within %1 Hz)").arg(CallsignRun::kMaxPitchSpreadHz),
        callsigns);
    varyPitch_->setObjectName(QStringLiteral("VaryPitchCheckBox"));
    callForm->addRow(QString(), varyPitch_);
    missedOnly_ = new QCheckBox(QStringLiteral("Only calls I &missed before"), callsigns);
    missedOnly_->setObjectName(QStringLiteral("MissedCallsOnly"));
    callForm->addRow(QString(), missedOnly_);
    callsignStart_ = new QPushButton(QStringLiteral("S&tart"), callsigns);
    callForm->addRow(QString(), callsignStart_);
    callInput_ = new QLineEdit(callsigns);
    callInput_->setObjectName(QStringLiteral("CallEdit"));
    callInput_->setEnabled(false);
    callInput_->setAccessibleName(QStringLiteral("Call copied"));
    callForm->addRow(QStringLiteral("Co&py:"), callInput_);
    tabs_->addTab(callsigns, QStringLiteral("Callsign r&uns"));

    bandConditions_ =
        new QCheckBox(QStringLiteral("&Band conditions of the main window (noise, signal, fading)"), this);
    prompt_ = new QLabel(this);
    prompt_->setAlignment(Qt::AlignCenter);
    prompt_->setFocusPolicy(Qt::StrongFocus);
    QFont big = prompt_->font();
    big.setPointSize(big.pointSize() * 2);
    prompt_->setFont(big);
    prompt_->setTextFormat(Qt::RichText);
    status_ = new QLabel(this);
    counter_ = new QLabel(this);
    counter_->setObjectName(QStringLiteral("DrillCounter"));
    summary_ = new QTextBrowser(this);
    summary_->setFocusPolicy(Qt::NoFocus);
    speedChart_ = new QChartView(this);
    speedChart_->setObjectName(QStringLiteral("SpeedChart"));
    speedChart_->setRenderHint(QPainter::Antialiasing);
    speedChart_->setMinimumHeight(180);
    summary_->setMinimumHeight(120);
    speedChart_->setFocusPolicy(Qt::NoFocus);
    speedChart_->hide();
    // Enter belongs to the call input and Space starts a drill: an Enter (or its
    // auto-repeat) that outlives the last call never starts the next one.
    for (QPushButton* start : {recognitionStart_, callsignStart_}) {
        start->setAutoDefault(false);
        start->setDefault(false);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(bandConditions_);
    layout->addWidget(prompt_);
    layout->addWidget(counter_);
    layout->addWidget(status_);
    layout->addWidget(summary_, 1);
    layout->addWidget(speedChart_, 1);
    auto* keys = new QLabel(
        QStringLiteral("Recognition: type the character you hear, once it has ended. Callsigns: "
                       "type the call, Enter; F5 plays it again (half points). Esc ends the drill."),
        this);
    keys->setWordWrap(true);
    layout->addWidget(keys);
    // Room for a summary of a dozen characters, larger with a larger desktop font, as
    // far as the screen has room; a small screen scrolls the summary.
    const double scale = std::max(1.0, fontMetrics().lineSpacing() / 17.0);
    QSize size(static_cast<int>(560 * scale), static_cast<int>(680 * scale));
    if (const QScreen* screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);

    timer_ = new QTimer(this);
    timer_->setInterval(kTickMs);
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, [this] {
        if (recognition_)
            recognition_->Tick();
    });
    connect(recognitionStart_, &QPushButton::clicked, this, &DrillsDialog::StartRecognition);
    connect(callsignStart_, &QPushButton::clicked, this, &DrillsDialog::StartCallsignRun);
    callInput_->installEventFilter(this);
    auto* replay = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(replay, &QShortcut::activated, this, [this] {
        if (callsigns_ && !callsigns_->Replay())
            status_->setText(QStringLiteral("One replay per call."));
    });
    RestoreOptions();
}

DrillsDialog::~DrillsDialog() {
    // The player outlives the window: nothing of a drill may reach it any more.
    player_.Stop();
    player_.heard = nullptr;
    player_.failed = nullptr;
}

void DrillsDialog::RestoreOptions() {
    timeLimit_->setValue(std::clamp(store_.Read(keys::DrillTimeLimit), 500, 10000) / 1000.0);
    characters_->setValue(store_.Read(keys::DrillCharacters));
    minutes_->setValue(store_.Read(keys::DrillMinutes));
    target_->setValue(LearnerTargetMs(store_) / 1000.0);
    calls_->setValue(store_.Read(keys::CallsignCalls));
    startSpeed_->setValue(store_.Read(keys::CallsignStartSpeed));
    step_->setValue(store_.Read(keys::CallsignStep));
    bandConditions_->setChecked(store_.Read(keys::DrillBandConditions) != 0);
    growing_->setChecked(store_.Read(keys::DrillGrowing) != 0);
    topSpeed_->setValue(store_.Read(keys::CallsignTopSpeed));
    varyPitch_->setChecked(store_.Read(keys::CallsignVaryPitch) != 0);
}

void DrillsDialog::SaveOptions() {
    store_.Write(keys::DrillTimeLimit, Ms(timeLimit_));
    store_.Write(keys::DrillCharacters, characters_->value());
    store_.Write(keys::DrillMinutes, minutes_->value());
    store_.Write(keys::DrillTarget, Ms(target_));
    store_.Write(keys::CallsignCalls, calls_->value());
    store_.Write(keys::CallsignStartSpeed, startSpeed_->value());
    store_.Write(keys::CallsignStep, step_->value());
    store_.Write(keys::DrillBandConditions, bandConditions_->isChecked() ? 1 : 0);
    store_.Write(keys::DrillGrowing, growing_->isChecked() ? 1 : 0);
    store_.Write(keys::CallsignTopSpeed, topSpeed_->value());
    store_.Write(keys::CallsignVaryPitch, varyPitch_->isChecked() ? 1 : 0);
}

CharacterPlayer::Sound DrillsDialog::CurrentSound() const {
    return {.wpm = trainer_.Signal().Wpm(),
            .pitchHz = trainer_.Signal().Pitch(),
            .bandConditions = bandConditions_->isChecked()};
}

bool DrillsDialog::Running() const {
    return (recognition_ && recognition_->CurrentState() != RecognitionDrillController::State::Over) ||
           (callsigns_ && callsigns_->CurrentState() == CallsignRunController::State::Running);
}

void DrillsDialog::SetRunning(bool running) {
    for (QWidget* w : std::initializer_list<QWidget*>{timeLimit_, characters_, minutes_, target_, growing_,
                                                      recognitionStart_, calls_, startSpeed_, step_,
                                                      topSpeed_, varyPitch_, callsignStart_, bandConditions_})
        w->setEnabled(!running);
    tabs_->tabBar()->setEnabled(!running);
    callInput_->setEnabled(running && callsigns_);
    if (running)
        timer_->start();
    else
        timer_->stop();
}

bool DrillsDialog::OpenHistory() {
    const bool ok = history_->Open();
    QString details;
    if (const QString notice = history_->TakeNotice(&details); !notice.isEmpty() && prompts_)
        prompts_->DetailedMessage(this, notice, details, QStringLiteral("History"), MessageKind::Warning);
    if (ok)
        return true;
    status_->setText(
        QStringLiteral("The history cannot be used (%1); this drill is not kept.").arg(history_->Problem()));
    return false;
}

static const MorseCharacter* FindCharacter(const std::vector<const MorseCharacter*>& list,
                                           const QString& display) {
    for (const MorseCharacter* c : list)
        if (c && !c->display.isEmpty() && c->display.compare(display, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

void DrillsDialog::StartRecognition() {
    if (Running())
        return;
    SaveOptions();
    trainer_.Characters().RebuildActiveSet();
    // Growing, the drill takes its characters from the whole learning order, else the
    // characters in use; the first entry of either is the word space.
    const bool growing = growing_->isChecked();
    const std::vector<const MorseCharacter*> active =
        growing ? trainer_.Characters().CharacterList() : trainer_.Characters().ActiveSet();
    QStringList characters;
    for (std::size_t i = 1; i < active.size(); ++i)
        if (active[i] && !active[i]->display.isEmpty())
            characters << active[i]->display.toLower();
    if (characters.isEmpty()) {
        prompt_->setText(QStringLiteral("No characters are in use."));
        return;
    }
    RecognitionOptions options;
    options.characters = characters_->value();
    options.minutes = minutes_->value();
    if (options.characters == 0 && options.minutes == 0)
        options.characters = keys::DrillCharacters.def;
    options.timeLimitMs = Ms(timeLimit_);
    options.targetMs = Ms(target_);
    options.characterWpm = trainer_.Signal().Wpm();
    options.growing = growing;
    const bool kept = OpenHistory();
    MissTallies misses =
        kept ? history_->RecentMissTallies(kWeakCharacterHistory, options.targetMs) : MissTallies{};
    earlier_ = kept ? history_->Drills(DrillKind::Recognition, kKnownDrills) : std::vector<DrillRecord>{};
    auto drill = std::make_unique<RecognitionDrill>(characters, options, std::move(misses), earlier_,
                                                    clock_.TickCount());
    callsigns_.reset();
    recognition_ = std::make_unique<RecognitionDrillController>(
        player_, clock_, [active](const QString& d) { return FindCharacter(active, d); }, std::move(drill),
        CurrentSound(), kept ? history_.get() : nullptr, static_cast<DrillView&>(*this));
    summary_->clear();
    speedChart_->hide();
    prompt_->setText(QStringLiteral("Type the character you hear"));
    status_->clear();
    SetRunning(true);
    prompt_->setFocus();
    recognition_->Start();
    ShowCounter();
}

void DrillsDialog::StartCallsignRun() {
    if (Running())
        return;
    SaveOptions();
    trainer_.Characters().RebuildActiveSet();
    const std::vector<const MorseCharacter*>& list = trainer_.Characters().CharacterList();
    const bool kept = OpenHistory();
    bestBefore_ = kept ? history_->BestCallsignScore() : std::nullopt;
    CallsignRunOptions options{calls_->value(), startSpeed_->value(), step_->value(), topSpeed_->value(),
                               varyPitch_->isChecked() ? CallsignRun::kMaxPitchSpreadHz : 0};
    auto run = std::make_unique<CallsignRun>(options, clock_.TickCount(), bestBefore_);
    // Real calls, or only those missed in the runs before when asked and there are any.
    std::vector<std::string> pool;
    if (missedOnly_->isChecked() && kept)
        pool = CallsignRun::MissedCalls(history_->Drills(DrillKind::Callsigns));
    if (pool.empty())
        pool = ReadCallList(RealCallsPath(trainer_.ProgramFolder()));
    run->DrawFrom(std::move(pool));
    recognition_.reset();
    CharacterPlayer::Sound sound = CurrentSound();
    sound.speak = trainer_.SpeakAnswers();  // each call spoken after it
    callsigns_ = std::make_unique<CallsignRunController>(
        player_, clock_, [list](const QString& d) { return FindCharacter(list, d); }, std::move(run), sound,
        kept ? history_.get() : nullptr, static_cast<DrillView&>(*this));
    summary_->clear();
    speedChart_->hide();
    prompt_->setText(QStringLiteral("Copy the call, then Enter"));
    status_->setText(QStringLiteral("%1 WPM").arg(callsigns_->Run().Wpm()));
    SetRunning(true);
    callInput_->setFocus();
    callsigns_->Start();
    ShowCounter();
}

void DrillsDialog::EnterCall() {
    if (!callsigns_ || callsigns_->CurrentState() != CallsignRunController::State::Running)
        return;
    const QString copy = callInput_->text();
    callInput_->clear();
    callsigns_->Enter(copy);
    ShowCounter();
}

void DrillsDialog::ShowCounter() {
    if (!Running()) {
        counter_->clear();
    } else if (callsigns_) {
        counter_->setText(QStringLiteral("Call %1 of %2")
                              .arg(callsigns_->Run().CallNumber())
                              .arg(callsigns_->Run().Options().calls));
    } else if (recognition_) {
        const RecognitionDrill& drill = recognition_->Drill();
        const int number = static_cast<int>(drill.Answers().size()) + 1;
        QString text = drill.Options().characters > 0
                           ? QStringLiteral("Character %1 of %2").arg(number).arg(drill.Options().characters)
                           : QStringLiteral("Character %1").arg(number);
        if (drill.Options().growing) {
            const QStringList inPlay = drill.InPlay();
            text += QStringLiteral(" · %1 characters: %2")
                        .arg(inPlay.size())
                        .arg(inPlay.join(QLatin1Char(' ')).toUpper());
        }
        counter_->setText(text);
    }
}

bool DrillsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == callInput_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (!key->isAutoRepeat())
                EnterCall();
            return true;  // taken here: it goes on to no button
        }
    }
    return QDialog::eventFilter(watched, event);
}

void DrillsDialog::StopDrill() {
    if (recognition_)
        recognition_->Stop();
    if (callsigns_)
        callsigns_->Stop();
}

void DrillsDialog::keyPressEvent(QKeyEvent* event) {
    // A key held down answers once, and Esc held down does not close the window
    // after ending the drill.
    if (event->isAutoRepeat() && (recognition_ || event->key() == Qt::Key_Escape)) {
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        if (Running())
            StopDrill();
        else
            reject();
        return;
    }
    const QString text = event->text();
    if (recognition_ && Running() && !text.isEmpty() && text.at(0).isPrint() && !text.at(0).isSpace()) {
        recognition_->KeyTyped(text);
        return;
    }
    QDialog::keyPressEvent(event);
}

void DrillsDialog::reject() {
    if (Running()) {
        StopDrill();
        return;
    }
    QDialog::reject();
}

void DrillsDialog::Answered(const RecognitionAnswer& answer, RecognitionDrill::Outcome outcome) {
    const QString c = answer.character.toUpper();
    switch (outcome) {
        case RecognitionDrill::Outcome::Right:
            prompt_->setText(Coloured(kRightColour, c.toHtmlEscaped()));
            status_->setText(QStringLiteral("%1: right in %2").arg(c, Seconds(answer.reactionMs)));
            break;
        case RecognitionDrill::Outcome::Wrong:
            prompt_->setText(Coloured(kWrongColour, c.toHtmlEscaped()));
            status_->setText(QStringLiteral("You typed %1; it was %2").arg(answer.answer.toUpper(), c));
            break;
        case RecognitionDrill::Outcome::TooLate:
            prompt_->setText(Coloured(kWrongColour, c.toHtmlEscaped()));
            status_->setText(QStringLiteral("Too late; it was %1").arg(c));
            break;
        case RecognitionDrill::Outcome::Early:
            prompt_->setText(c.toHtmlEscaped());
            status_->setText(QStringLiteral("%1 before it was heard: not counted").arg(c));
            break;
    }
    ShowCounter();
}

QString DrillsDialog::Coloured(const QColor& wanted, const QString& html) const {
    const QColor colour = ReadableOn(wanted, palette().color(QPalette::Window));
    return QStringLiteral("<span style='color:%1'>%2</span>").arg(colour.name(), html);
}

// The call and the copy, each wrong, missing or extra character marked: dark text on a
// light red, readable on light and dark palettes alike.
DrillsDialog::MarkedCall DrillsDialog::MarkCall(const CopyScore& score) {
    MarkedCall marked;
    for (const CopyScore::Column& column : score.Columns()) {
        const bool bad = column.mark != CopyScore::Mark::Correct;
        auto cell = [bad](const QString& c) {
            const QString t = c.isEmpty() ? QStringLiteral("_") : c.toUpper().toHtmlEscaped();
            return bad ? QStringLiteral("<span style='background:#f4a6a6;color:#000000'>%1</span>").arg(t)
                       : t;
        };
        marked.sent += cell(column.sent);
        marked.copied += cell(column.copied);
    }
    return marked;
}

void DrillsDialog::CallChecked(const CallsignRun::Checked& checked) {
    const CallAttempt& a = checked.attempt;
    if (a.Right()) {
        prompt_->setText(Coloured(kRightColour, a.call.toHtmlEscaped()));
    } else {
        const MarkedCall marked = MarkCall(checked.score);
        prompt_->setText(QStringLiteral("<tt>%1<br>%2</tt>").arg(marked.sent, marked.copied));
    }
    status_->setText(QStringLiteral("%1 points at %2 WPM · score %3 · next %4 WPM")
                         .arg(a.points)
                         .arg(a.wpm)
                         .arg(callsigns_ ? callsigns_->Run().Score() : 0)
                         .arg(callsigns_ ? callsigns_->Run().Wpm() : 0));
}

void DrillsDialog::Finished(const DrillRecord& record, std::optional<qint64> stored) {
    SetRunning(false);
    counter_->clear();
    if (record.kind == DrillKind::Recognition)
        ShowRecognitionSummary(record);
    else
        ShowCallsignSummary(record);
    if (!stored && (!record.answers.empty() || !record.calls.empty()) && history_->IsOpen())
        status_->setText(QStringLiteral("This drill could not be kept: %1").arg(history_->Problem()));
    (record.kind == DrillKind::Recognition ? recognitionStart_ : callsignStart_)->setFocus();
}

void DrillsDialog::ShowRecognitionSummary(const DrillRecord& record) {
    std::vector<RecognitionStats> stats = RecognitionByCharacter(record.answers);
    SortSlowestFirst(stats);
    std::vector<DrillRecord> drills = earlier_;
    drills.push_back(record);
    const int target = Ms(target_);
    const QSet<QString> known = KnownCharacters(drills, target);
    QString html = QStringLiteral(
                       "<p>Target %1: a character is known when it is right in %2 % of at least %3 "
                       "answers with a median under the target, in each of the last %4 drills. A key "
                       "before the character was heard is early and counts for nothing.</p>"
                       "<table cellpadding=3><tr><th>Character</th><th>Accuracy</th><th>Median</th>"
                       "<th>Early</th><th>Known</th></tr>")
                       .arg(Seconds(target))
                       .arg(kKnownAccuracyPercent)
                       .arg(kKnownAnswers)
                       .arg(kKnownDrills);
    for (const RecognitionStats& s : stats) {
        html += QStringLiteral(
                    "<tr><td align=center><b>%1</b></td><td align=right>%2 % (%3/%4)</td>"
                    "<td align=right>%5</td><td align=right>%6</td><td align=center>%7</td></tr>")
                    .arg(s.character.toUpper().toHtmlEscaped())
                    .arg(s.Accuracy(), 0, 'f', 0)
                    .arg(s.right)
                    .arg(s.Counted())
                    .arg(Seconds(s.medianMs))
                    .arg(s.early > 0 ? QString::number(s.early) : QString(),
                         known.contains(s.character) ? QStringLiteral("yes") : QString());
    }
    html += QStringLiteral("</table>");
    summary_->setHtml(html);
    prompt_->setText(QStringLiteral("Done: %1 characters").arg(record.answers.size()));
}

void DrillsDialog::ShowCallsignSummary(const DrillRecord& record) {
    QString html = QStringLiteral("<p><b>Score %1</b> · top speed %2 WPM · %3 of %4 calls missed<br>")
                       .arg(record.score)
                       .arg(record.topWpm)
                       .arg(record.CallsMissed())
                       .arg(record.calls.size());
    if (!bestBefore_)
        html += QStringLiteral("Your first run.");
    else if (record.score > *bestBefore_)
        html += QStringLiteral("A new best score (before: %1).").arg(*bestBefore_);
    else
        html += QStringLiteral("Best score so far: %1.").arg(*bestBefore_);
    html += QStringLiteral("</p>");
    bool header = false;
    for (const CallAttempt& a : record.calls) {
        if (a.Right())
            continue;
        if (!header)
            html += QStringLiteral(
                "<p>Missed:</p><table cellpadding=3><tr><th>Call</th><th>Copied</th><th>WPM</th>"
                "<th>Points</th></tr>");
        header = true;
        const MarkedCall marked = MarkCall(CopyScore::Score(a.call, a.copied));
        html += QStringLiteral(
                    "<tr><td><tt>%1</tt></td><td><tt>%2</tt></td><td align=right>%3</td>"
                    "<td align=right>%4</td></tr>")
                    .arg(marked.sent, marked.copied)
                    .arg(a.wpm)
                    .arg(a.points);
    }
    if (header)
        html += QStringLiteral("</table>");
    summary_->setHtml(html);
    prompt_->setText(QStringLiteral("Done: score %1").arg(record.score));
    ShowSpeedChart(record);
}

void DrillsDialog::ShowSpeedChart(const DrillRecord& record) {
    // No title or legend: the axes say what it is, the red points are the calls missed.
    auto* chart = new QChart;
    if (palette().color(QPalette::Window).lightness() < 128)
        chart->setTheme(QChart::ChartThemeDark);
    chart->legend()->hide();
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setBackgroundRoundness(0);
    auto* speed = new QLineSeries(chart);
    speed->setName(QStringLiteral("WPM"));
    auto* missed = new QScatterSeries(chart);
    missed->setName(QStringLiteral("Missed"));
    missed->setMarkerSize(8);
    missed->setColor(ReadableOn(QColor(kWrongColour), palette().color(QPalette::Window)));
    int fastest = CallsignRun::kMinWpm;
    int slowest = CallsignRun::kMaxWpm;
    for (std::size_t k = 0; k < record.calls.size(); ++k) {
        const CallAttempt& a = record.calls[k];
        speed->append(static_cast<qreal>(k + 1), a.wpm);
        if (!a.Right())
            missed->append(static_cast<qreal>(k + 1), a.wpm);
        fastest = std::max(fastest, a.wpm);
        slowest = std::min(slowest, a.wpm);
    }
    chart->addSeries(speed);
    chart->addSeries(missed);
    auto* x = new QValueAxis(chart);
    x->setRange(1, std::max<qreal>(2, static_cast<qreal>(record.calls.size())));
    x->setLabelFormat(QStringLiteral("%d"));
    x->setTitleText(QStringLiteral("Call (red: missed)"));
    // A tick on every call of a short run, on every fifth or tenth of a long one.
    const std::size_t calls = record.calls.size();
    x->setTickType(QValueAxis::TicksDynamic);
    x->setTickAnchor(0);
    x->setTickInterval(calls <= 10 ? 1 : calls <= 20 ? 2 : calls <= 50 ? 5 : calls <= 100 ? 10 : 50);
    auto* y = new QValueAxis(chart);
    y->setRange(std::max(0, slowest - 5), fastest + 5);
    y->applyNiceNumbers();
    y->setLabelFormat(QStringLiteral("%d"));
    y->setTitleText(QStringLiteral("WPM"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* series : std::initializer_list<QAbstractSeries*>{speed, missed}) {
        series->attachAxis(x);
        series->attachAxis(y);
    }
    QChart* old = speedChart_->chart();
    speedChart_->setChart(chart);
    delete old;
    speedChart_->setVisible(!record.calls.empty());
}

void DrillsDialog::SoundFailed(const QString& reason) {
    status_->setText(QStringLiteral("No sound output: %1").arg(reason));
}

}  // namespace lumbrel
