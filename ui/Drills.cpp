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
#include "ui/ChartAxes.h"
#include "ui/CheckCopy.h"
#include "ui/ControlWidgets.h"
#include "text/RealCalls.h"

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
    box->setSuffix(DrillsDialog::tr(" s"));
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
                           HistoryService& history, QWidget* parent)
    : QDialog(parent),
      trainer_(trainer),
      clock_(clock),
      player_(player),
      store_(std::move(store)),
      history_(history) {
    setObjectName(QStringLiteral("DrillsForm"));
    setWindowTitle(tr("Drills"));
    setModal(true);

    tabs_ = new QTabWidget(this);

    auto* recognition = new QWidget(tabs_);
    auto* form = new QFormLayout(recognition);
    timeLimit_ = SecondsBox(0.5, 10.0, 0.5, recognition);
    timeLimit_->setObjectName(QStringLiteral("TimeLimitSpinner"));
    form->addRow(tr("&Time limit:"), timeLimit_);
    characters_ = NumberBox(0, 1000, tr(" characters"), recognition);
    characters_->setSpecialValueText(tr("no limit"));
    form->addRow(tr("&Length:"), characters_);
    minutes_ = NumberBox(0, 60, tr(" min"), recognition);
    minutes_->setSpecialValueText(tr("no limit"));
    form->addRow(tr("or &minutes:"), minutes_);
    target_ = SecondsBox(0.2, 5.0, 0.1, recognition);
    form->addRow(tr("Ta&rget:"), target_);
    growing_ = new QCheckBox(tr("Start with two characters, &add the next as each is known"),
                             recognition);
    growing_->setObjectName(QStringLiteral("GrowingCheckBox"));
    form->addRow(QString(), growing_);
    recognitionStart_ = new QPushButton(tr("&Start"), recognition);
    form->addRow(QString(), recognitionStart_);
    tabs_->addTab(recognition, tr("Instant &recognition"));

    auto* callsigns = new QWidget(tabs_);
    auto* callForm = new QFormLayout(callsigns);
    calls_ = NumberBox(1, 500, tr(" calls"), callsigns);
    callForm->addRow(tr("&Calls:"), calls_);
    startSpeed_ = NumberBox(CallsignRun::kMinWpm, CallsignRun::kMaxWpm, tr(" WPM"), callsigns);
    callForm->addRow(tr("Start s&peed:"), startSpeed_);
    step_ = NumberBox(1, CallsignRun::kMaxStepWpm, tr(" WPM"), callsigns);
    callForm->addRow(tr("St&ep:"), step_);
    topSpeed_ = NumberBox(CallsignRun::kMinWpm, CallsignRun::kMaxWpm, tr(" WPM"), callsigns);
    topSpeed_->setObjectName(QStringLiteral("TopSpeedSpinner"));
    callForm->addRow(tr("Top spee&d:"), topSpeed_);
    varyPitch_ = new QCheckBox(
        tr("&Vary the pitch of each call (within %1 Hz)").arg(CallsignRun::kMaxPitchSpreadHz),
        callsigns);
    varyPitch_->setObjectName(QStringLiteral("VaryPitchCheckBox"));
    callForm->addRow(QString(), varyPitch_);
    missedOnly_ = new QCheckBox(tr("Only calls I &missed before"), callsigns);
    missedOnly_->setObjectName(QStringLiteral("MissedCallsOnly"));
    callForm->addRow(QString(), missedOnly_);
    callsignStart_ = new QPushButton(tr("S&tart"), callsigns);
    callForm->addRow(QString(), callsignStart_);
    callInput_ = new QLineEdit(callsigns);
    callInput_->setObjectName(QStringLiteral("CallEdit"));
    callInput_->setEnabled(false);
    callInput_->setAccessibleName(tr("Call copied"));
    callForm->addRow(tr("Co&py:"), callInput_);
    tabs_->addTab(callsigns, tr("Callsign r&uns"));

    bandConditions_ =
        new QCheckBox(tr("&Band conditions of the main window (noise, signal, fading)"), this);
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
        tr("Recognition: type the character you hear, once it has ended. Callsigns: "
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
            status_->setText(tr("One replay per call."));
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

void DrillsDialog::TellNotKept(const History* keep) {
    kept_ = keep != nullptr;
    if (!kept_)
        status_->setText(tr("The history cannot be used (%1); this drill is not kept.")
                             .arg(history_.Problem()));
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
        prompt_->setText(tr("No characters are in use."));
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
    HistoryService::RecognitionSetUp setUp =
        history_.SetUpRecognition(characters, options, clock_.TickCount());
    callsigns_.reset();
    recognition_ = std::make_unique<RecognitionDrillController>(
        player_, clock_, [active](const QString& d) { return FindCharacter(active, d); },
        std::move(setUp.drill), CurrentSound(), setUp.keep, static_cast<DrillView&>(*this));
    summary_->clear();
    speedChart_->hide();
    prompt_->setText(tr("Type the character you hear"));
    status_->clear();
    TellNotKept(setUp.keep);
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
    CallsignRunOptions options{calls_->value(), startSpeed_->value(), step_->value(), topSpeed_->value(),
                               varyPitch_->isChecked() ? CallsignRun::kMaxPitchSpreadHz : 0};
    const QString folder = trainer_.ProgramFolder();
    HistoryService::CallsignSetUp setUp =
        history_.SetUpCallsignRun(options, clock_.TickCount(), missedOnly_->isChecked(),
                                  [&folder] { return ReadCallList(RealCallsPath(folder)); });
    recognition_.reset();
    CharacterPlayer::Sound sound = CurrentSound();
    sound.speak = trainer_.SpeakAnswers();  // each call spoken after it
    callsigns_ = std::make_unique<CallsignRunController>(
        player_, clock_, [list](const QString& d) { return FindCharacter(list, d); }, std::move(setUp.run),
        sound, setUp.keep, static_cast<DrillView&>(*this));
    summary_->clear();
    speedChart_->hide();
    prompt_->setText(tr("Copy the call, then Enter"));
    status_->setText(tr("%1 WPM").arg(callsigns_->Run().Wpm()));
    TellNotKept(setUp.keep);
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
        counter_->setText(tr("Call %1 of %2")
                              .arg(callsigns_->Run().CallNumber())
                              .arg(callsigns_->Run().Options().calls));
    } else if (recognition_) {
        const RecognitionDrill& drill = recognition_->Drill();
        const int number = static_cast<int>(drill.Answers().size()) + 1;
        QString text = drill.Options().characters > 0
                           ? tr("Character %1 of %2").arg(number).arg(drill.Options().characters)
                           : tr("Character %1").arg(number);
        if (drill.Options().growing) {
            const QStringList inPlay = drill.InPlay();
            text += tr(" · %1 characters: %2")
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
            status_->setText(tr("%1: right in %2").arg(c, Seconds(answer.reactionMs)));
            break;
        case RecognitionDrill::Outcome::Wrong:
            prompt_->setText(Coloured(kWrongColour, c.toHtmlEscaped()));
            status_->setText(tr("You typed %1; it was %2").arg(answer.answer.toUpper(), c));
            break;
        case RecognitionDrill::Outcome::TooLate:
            prompt_->setText(Coloured(kWrongColour, c.toHtmlEscaped()));
            status_->setText(tr("Too late; it was %1").arg(c));
            break;
        case RecognitionDrill::Outcome::Early:
            prompt_->setText(c.toHtmlEscaped());
            status_->setText(tr("%1 before it was heard: not counted").arg(c));
            break;
    }
    ShowCounter();
}

QString DrillsDialog::Coloured(const QColor& wanted, const QString& html) const {
    const QColor colour = ReadableOn(wanted, palette().color(QPalette::Window));
    return QStringLiteral("<span style='color:%1'>%2</span>").arg(colour.name(), html);
}

// The call and the copy, each wrong, missing or extra character marked as Check Copy
// marks it.
DrillsDialog::MarkedCall DrillsDialog::MarkCall(const CopyScore& score) {
    MarkedCall marked;
    for (const CopyScore::Column& column : score.Columns()) {
        auto cell = [&column](const QString& c) {
            return MarkedHtml(c.isEmpty() ? QStringLiteral("_") : c.toUpper().toHtmlEscaped(), column.mark);
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
    status_->setText(tr("%1 points at %2 WPM · score %3 · next %4 WPM")
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
    if (!stored && (!record.answers.empty() || !record.calls.empty()) && kept_)
        status_->setText(tr("This drill could not be kept: %1").arg(history_.Problem()));
    (record.kind == DrillKind::Recognition ? recognitionStart_ : callsignStart_)->setFocus();
}

void DrillsDialog::ShowRecognitionSummary(const DrillRecord& record) {
    if (!recognition_)
        return;
    const RecognitionDrill& drill = recognition_->Drill();
    const std::vector<RecognitionStats> stats = drill.Results();
    const int target = drill.Options().targetMs;
    const QSet<QString> known = drill.Known();
    QString html = tr(
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
                         known.contains(s.character) ? tr("yes") : QString());
    }
    html += QStringLiteral("</table>");
    summary_->setHtml(html);
    prompt_->setText(tr("Done: %1 characters").arg(record.answers.size()));
}

void DrillsDialog::ShowCallsignSummary(const DrillRecord& record) {
    QString html = tr("<p><b>Score %1</b> · top speed %2 WPM · %3 of %4 calls missed<br>")
                       .arg(record.score)
                       .arg(record.topWpm)
                       .arg(record.CallsMissed())
                       .arg(record.calls.size());
    const std::optional<int> bestBefore = callsigns_ ? callsigns_->Run().BestBefore() : std::nullopt;
    if (!bestBefore)
        html += tr("Your first run.");
    else if (record.score > *bestBefore)
        html += tr("A new best score (before: %1).").arg(*bestBefore);
    else
        html += tr("Best score so far: %1.").arg(*bestBefore);
    html += QStringLiteral("</p>");
    bool header = false;
    for (const CallAttempt& a : record.calls) {
        if (a.Right())
            continue;
        if (!header)
            html += tr(
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
    prompt_->setText(tr("Done: score %1").arg(record.score));
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
    speed->setName(tr("WPM"));
    auto* missed = new QScatterSeries(chart);
    missed->setName(tr("Missed"));
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
    const double calls = static_cast<double>(record.calls.size());
    QValueAxis* x = ValueAxis(1, std::max(2.0, calls), tr("Call (red: missed)"));
    // A tick on every call of a short run, on every fifth or tenth of a long one.
    TickEvery(x, WholeStep(calls, 10));
    QValueAxis* y =
        ValueAxis(std::max(0, slowest - 5), fastest + 5, tr("WPM"), QStringLiteral("%d"), true);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* series : std::initializer_list<QAbstractSeries*>{speed, missed})
        Attach(chart, series, {x, y});
    QChart* old = speedChart_->chart();
    speedChart_->setChart(chart);
    delete old;
    speedChart_->setVisible(!record.calls.empty());
}

void DrillsDialog::SoundFailed(const QString& reason) {
    status_->setText(tr("No sound output: %1").arg(reason));
}

}  // namespace lumbrel
