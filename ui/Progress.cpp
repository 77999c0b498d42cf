#include "ui/Progress.h"

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>

#include <algorithm>
#include <limits>

#include "scoring/CopyScore.h"
#include "scoring/DrillProgress.h"
#include "scoring/History.h"
#include "scoring/HistoryCsv.h"
#include "scoring/ProgressData.h"
#include "scoring/RecognitionDrill.h"
#include "scoring/SendingKindNames.h"
#include "scoring/SendingProgress.h"
#include "settings/SettingsKeys.h"
#include "ui/ChartAxes.h"
#include "ui/ControlWidgets.h"
#include "ui/Prompts.h"

namespace lumbrel {
namespace {

// White for none, through yellow to red for share >= full.
QColor Heat(double share, double full) {
    const double t = std::clamp(full > 0 ? share / full : 0.0, 0.0, 1.0);
    if (t <= 0)
        return QColor(Qt::white);
    // 0..0.5: white to yellow; 0.5..1: yellow to red.
    if (t < 0.5)
        return QColor::fromRgbF(1.0, 1.0, static_cast<float>(1.0 - 2 * t));
    return QColor::fromRgbF(1.0, static_cast<float>(1.0 - (t - 0.5) * 1.6), 0.0);
}

QTableWidgetItem* Item(const QString& text, Qt::Alignment align = Qt::AlignCenter) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(align);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QTableWidgetItem* Number(int value) {
    auto* item = Item(QString::number(value), Qt::AlignRight | Qt::AlignVCenter);
    item->setData(Qt::UserRole, value);
    return item;
}

QString Shown(const QString& character) {
    return character.toUpper();
}

QChartView* MakeView(QWidget* parent) {
    auto* view = new QChartView(new QChart, parent);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(480, 280);
    return view;
}

QLineSeries* DashedLine(const QString& name, QColor colour) {
    auto* line = new QLineSeries;
    line->setName(name);
    QPen dashed(colour);
    dashed.setStyle(Qt::DashLine);
    dashed.setWidth(2);
    line->setPen(dashed);
    return line;
}

// "1.28 s", "1 s"; "-" for no time.
QString Seconds(int ms) {
    return ms < 0 ? QStringLiteral("-") : ProgressWindow::tr("%1 s").arg(QString::number(ms / 1000.0, 'g', 3));
}

QString KindCaption(SendingKind kind) {
    switch (kind) {
        case SendingKind::Echo:
            return ProgressWindow::tr("Echo drill");
        case SendingKind::Text:
            return ProgressWindow::tr("Text sent");
        case SendingKind::Free:
            break;
    }
    return ProgressWindow::tr("Free sending");
}

// The keyer as the history names it ("iambic-b"), in the user's words; a name this
// version does not know as it is.
QString KeyerCaption(const QString& name) {
    if (name == QLatin1String("straight"))
        return ProgressWindow::tr("straight key");
    if (name == QLatin1String("iambic-a"))
        return ProgressWindow::tr("iambic A");
    if (name == QLatin1String("iambic-b"))
        return ProgressWindow::tr("iambic B");
    if (name == QLatin1String("bug"))
        return ProgressWindow::tr("bug");
    return name;
}

// A line through the points, widening [first, last] (ms) and raising most to its highest.
QLineSeries* TrendLine(const QString& name, const std::vector<SendingPoint>& points, qint64& first,
                       qint64& last, double& most) {
    auto* line = new QLineSeries;
    line->setName(name);
    line->setPointsVisible(true);
    for (const SendingPoint& p : points) {
        const qint64 t = p.ended.toMSecsSinceEpoch();
        first = std::min(first, t);
        last = std::max(last, t);
        most = std::max(most, p.value);
        line->append(static_cast<qreal>(t), p.value);
    }
    return line;
}

}  // namespace

ProgressWindow::ProgressWindow(History& history, Prompts& prompts, SettingsStore store, QWidget* parent)
    : QDialog(parent),
      history_(history),
      prompts_(prompts),
      store_(std::move(store)) {
    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowTitle(tr("Progress"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);

    summary_ = new QLabel(this);
    summary_->setWordWrap(true);

    tabs_ = new QTabWidget(this);
    accuracyView_ = MakeView(tabs_);
    accuracyView_->setObjectName(QStringLiteral("AccuracyChart"));
    learntView_ = MakeView(tabs_);
    learntView_->setObjectName(QStringLiteral("LearntChart"));

    errorTable_ = new QTableWidget(tabs_);
    errorTable_->setObjectName(QStringLiteral("ErrorRates"));
    errorTable_->setColumnCount(7);
    errorTable_->setHorizontalHeaderLabels({tr("Character"), tr("Sent"),
                                            tr("Missed"), tr("Error rate"),
                                            tr("Dropped"), tr("Wrong"),
                                            tr("Taken for")});
    errorTable_->verticalHeader()->setVisible(false);
    errorTable_->horizontalHeader()->setStretchLastSection(true);
    errorTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);

    confusionTable_ = new QTableWidget(tabs_);
    confusionTable_->setObjectName(QStringLiteral("Confusions"));
    confusionTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    confusionTable_->horizontalHeader()->setDefaultSectionSize(34);
    confusionTable_->setToolTip(tr("Rows: the character sent. Columns: what was copied for it."));

    range_ = new QComboBox(this);
    range_->setObjectName(QStringLiteral("TableRange"));
    range_->addItem(tr("Last 10 sessions"), 10);
    range_->addItem(tr("Last 50 sessions"), 50);
    range_->addItem(tr("All sessions"), -1);
    connect(range_, &QComboBox::currentIndexChanged, this, [this] { FillTables(); });

    auto* tableTab = new QWidget(tabs_);
    auto* rangeRow = new QHBoxLayout;
    rangeRow->addWidget(new QLabel(tr("Errors over:"), tableTab));
    rangeRow->addWidget(range_);
    rangeRow->addStretch(1);
    auto* tableLayout = new QVBoxLayout(tableTab);
    tableLayout->addLayout(rangeRow);
    auto* tableTabs = new QTabWidget(tableTab);
    tableTabs->addTab(errorTable_, tr("Error rates"));
    tableTabs->addTab(confusionTable_, tr("Confusions"));
    tableLayout->addWidget(tableTabs, 1);

    tabs_->addTab(accuracyView_, tr("Accuracy"));
    tabs_->addTab(learntView_, tr("Characters learnt"));
    tabs_->addTab(tableTab, tr("Characters"));
    tabs_->addTab(BuildRecognitionTab(), tr("Recognition"));
    tabs_->addTab(BuildCallsignTab(), tr("Callsign runs"));
    tabs_->addTab(BuildSendingTab(), tr("Sending"));
    tabs_->addTab(BuildEntryTab(), tr("History"));

    export_ = new QPushButton(tr("&Export CSV..."), this);
    export_->setObjectName(QStringLiteral("ExportCsv"));
    connect(export_, &QPushButton::clicked, this, &ProgressWindow::ExportClick);
    auto* close = new QPushButton(tr("Close"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(export_);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttons);
    // Larger with a larger desktop font, so that the charts keep their labels, as far
    // as the screen has room.
    const double scale = std::max(1.0, fontMetrics().lineSpacing() / 17.0);
    QSize size(static_cast<int>(760 * scale), static_cast<int>(520 * scale));
    if (const QScreen* screen = this->screen())
        size = size.expandedTo(QSize(760, 520)).boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);
    GuardWheel(this);
}

ProgressWindow::~ProgressWindow() = default;

QWidget* ProgressWindow::BuildRecognitionTab() {
    auto* tab = new QWidget(tabs_);
    reactionCharacter_ = new QComboBox(tab);
    reactionCharacter_->setObjectName(QStringLiteral("ReactionCharacter"));
    connect(reactionCharacter_, &QComboBox::currentIndexChanged, this, [this] { FillReactions(); });
    auto* pick = new QLabel(tr("Reaction time of:"), tab);
    pick->setBuddy(reactionCharacter_);
    auto* row = new QHBoxLayout;
    row->addWidget(pick);
    row->addWidget(reactionCharacter_);
    row->addStretch(1);

    reactionView_ = MakeView(tab);
    reactionView_->setObjectName(QStringLiteral("ReactionChart"));

    recognitionNote_ = new QLabel(tab);
    recognitionNote_->setWordWrap(true);
    recognitionTable_ = new QTableWidget(tab);
    recognitionTable_->setObjectName(QStringLiteral("RecognitionAccuracy"));
    recognitionTable_->setColumnCount(7);
    recognitionTable_->setHorizontalHeaderLabels({tr("Character"), tr("Played"),
                                                  tr("Right"), tr("Accuracy"),
                                                  tr("Median time"), tr("Too late"),
                                                  tr("Known")});
    recognitionTable_->verticalHeader()->setVisible(false);
    recognitionTable_->horizontalHeader()->setStretchLastSection(true);
    recognitionTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);

    auto* timesTab = new QWidget(tab);
    auto* timesLayout = new QVBoxLayout(timesTab);
    timesLayout->addLayout(row);
    timesLayout->addWidget(reactionView_, 1);
    auto* accuracyTab = new QWidget(tab);
    auto* accuracyLayout = new QVBoxLayout(accuracyTab);
    accuracyLayout->addWidget(recognitionNote_);
    accuracyLayout->addWidget(recognitionTable_, 1);
    recognitionTabs_ = new QTabWidget(tab);
    recognitionTabs_->setObjectName(QStringLiteral("RecognitionTabs"));
    recognitionTabs_->addTab(timesTab, tr("Reaction time"));
    recognitionTabs_->addTab(accuracyTab, tr("Accuracy per character"));
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(recognitionTabs_, 1);
    return tab;
}

QWidget* ProgressWindow::BuildCallsignTab() {
    auto* tab = new QWidget(tabs_);
    callsignSummary_ = new QLabel(tab);
    callsignSummary_->setObjectName(QStringLiteral("CallsignSummary"));
    callsignSummary_->setWordWrap(true);
    callsignView_ = MakeView(tab);
    callsignView_->setObjectName(QStringLiteral("CallsignChart"));
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(callsignSummary_);
    layout->addWidget(callsignView_, 1);
    return tab;
}

int ProgressWindow::TableSessions() const {
    return range_->currentData().toInt();
}

void ProgressWindow::Reload() {
    targetMs_ = LearnerTargetMs(store_);
    records_ = history_.Sessions();
    if (records_.empty()) {
        summary_->setText(tr("No checked sessions yet. After a session, use File > Check Copy."));
    } else {
        const SessionRecord& last = records_.back();
        summary_->setText(tr("%1 checked session%2. The last: %3% on %4, %5 characters.")
                              .arg(records_.size())
                              .arg(records_.size() == 1 ? QString() : tr("s", "plural ending of session"))
                              .arg(QString::number(last.accuracy, 'f', 1))
                              .arg(QLocale().toString(last.ended, QLocale::ShortFormat))
                              .arg(last.characterCount));
    }
    recognition_ = history_.Drills(DrillKind::Recognition);
    runs_ = history_.Drills(DrillKind::Callsigns);
    sendings_ = history_.Sendings();
    export_->setEnabled(!records_.empty() || !recognition_.empty() || !runs_.empty() || !sendings_.empty());
    FillAccuracy();
    FillLearnt();
    FillTables();
    FillReactionCharacters();
    FillReactions();
    FillRecognitionTable();
    FillCallsigns();
    FillSendings();
    FillEntries();
}

QWidget* ProgressWindow::BuildSendingTab() {
    auto* tab = new QWidget(tabs_);
    sendingKind_ = new QComboBox(tab);
    sendingKind_->setObjectName(QStringLiteral("SendingKind"));
    sendingKind_->addItem(tr("All sendings"), QString());
    for (const SendingKind kind : {SendingKind::Echo, SendingKind::Text, SendingKind::Free})
        sendingKind_->addItem(KindCaption(kind), SendingKindName(kind));
    connect(sendingKind_, &QComboBox::currentIndexChanged, this, [this] { FillSendings(); });
    auto* pick = new QLabel(tr("S&how:"), tab);
    pick->setBuddy(sendingKind_);
    auto* row = new QHBoxLayout;
    row->addWidget(pick);
    row->addWidget(sendingKind_);
    row->addStretch(1);
    sendingSummary_ = new QLabel(tab);
    sendingSummary_->setObjectName(QStringLiteral("SendingSummary"));
    sendingSummary_->setWordWrap(true);
    sendingView_ = MakeView(tab);
    sendingView_->setObjectName(QStringLiteral("SendingChart"));
    fistView_ = MakeView(tab);
    fistView_->setObjectName(QStringLiteral("FistChart"));
    sendingTabs_ = new QTabWidget(tab);
    sendingTabs_->setObjectName(QStringLiteral("SendingTabs"));
    sendingTabs_->addTab(sendingView_, tr("Accuracy and speed"));
    sendingTabs_->addTab(fistView_, tr("Fist"));
    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(row);
    layout->addWidget(sendingSummary_);
    layout->addWidget(sendingTabs_, 1);
    return tab;
}

void ProgressWindow::FillSendings() {
    const std::optional<SendingKind> kind = SendingKindFromName(sendingKind_->currentData().toString());
    const SendingRecord* latest = nullptr;
    int count = 0;
    for (const SendingRecord& s : sendings_) {
        if (kind && s.kind != *kind)
            continue;
        ++count;
        if (!latest || !(s.ended < latest->ended))
            latest = &s;
    }
    if (!latest) {
        sendingSummary_->setText(sendings_.empty() ? tr("No sending practice yet.")
                                                   : tr("No sendings of this kind yet."));
    } else {
        QStringList text = {tr("%1 sending%2. The last: %3 on %4.")
                                .arg(count)
                                .arg(count == 1 ? QString() : tr("s", "plural ending of sending"))
                                .arg(KindCaption(latest->kind))
                                .arg(QLocale().toString(latest->ended, QLocale::ShortFormat))};
        if (const double accuracy = latest->AccuracyPercent(); accuracy >= 0)
            text << tr("%1 % right.").arg(QString::number(accuracy, 'f', 0));
        const SendingFist& f = latest->fist;
        if (f.wpm > 0)
            text << tr("%1 WPM, dah:dit %2, weighting %3 %.")
                        .arg(QString::number(f.wpm, 'f', 1), QString::number(f.dashDotRatio, 'f', 1),
                             QString::number(f.weighting, 'f', 0));
        QString summary = text.join(QLatin1Char(' '));
        if (!f.notes.isEmpty())
            summary += QLatin1Char('\n') + tr("Its fist: %1").arg(f.notes.join(QStringLiteral("; ")));
        sendingSummary_->setText(summary);
    }

    const SendingTrends trends = SendingTrendsOf(sendings_, kind);
    constexpr qint64 kDay = 24 * 3600 * 1000LL;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    qint64 first = std::numeric_limits<qint64>::max();
    qint64 last = std::numeric_limits<qint64>::min();
    double fullScale = 0;  // accuracy and weighting: 100 % at the top
    double wpmTop = 0;
    double units = 0;
    QLineSeries* accuracy = TrendLine(tr("Accuracy (%)"), trends.accuracy, first, last, fullScale);
    QLineSeries* wpm = TrendLine(tr("Speed (WPM)"), trends.wpm, first, last, wpmTop);
    QLineSeries* fist[] = {
        TrendLine(tr("Dah:dit ratio"), trends.dashDotRatio, first, last, units),
        TrendLine(tr("Element gap"), trends.elementGap, first, last, units),
        TrendLine(tr("Character gap"), trends.characterGap, first, last, units),
        TrendLine(tr("Word gap"), trends.wordGap, first, last, units),
    };
    QLineSeries* weighting = TrendLine(tr("Weighting (%)"), trends.weighting, first, last, fullScale);
    if (first > last) {
        first = now - kDay;
        last = now;
    }

    QChart* chart = FreshChart(sendingView_);
    chart->setTitle(latest ? tr("Accuracy and speed of each sending") : tr("No sendings yet"));
    QDateTimeAxis* x = TimeAxis(first, last, tr("Date"));
    // A tick every 20 %: the charts share their tab with the summary, and labels
    // closer than their height are elided.
    QValueAxis* y = ValueAxis(0, 105, tr("Accuracy (%)"));
    TickEvery(y, 20);
    QValueAxis* speed = ValueAxis(0, std::max(40.0, 1.1 * wpmTop), tr("WPM"), QStringLiteral("%d"), true);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    chart->addAxis(speed, Qt::AlignRight);
    Attach(chart, accuracy, {x, y});
    Attach(chart, wpm, {x, speed});

    chart = FreshChart(fistView_);
    chart->setTitle(latest ? tr("The fist of each sending, in dot units") : tr("No sendings yet"));
    x = TimeAxis(first, last, tr("Date"));
    QValueAxis* dots =
        ValueAxis(0, std::max(8.0, 1.1 * units), tr("Dot units"), QStringLiteral("%.1f"), true);
    QValueAxis* weight = ValueAxis(0, 100, tr("Weighting (%)"));
    TickEvery(weight, 20);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(dots, Qt::AlignLeft);
    chart->addAxis(weight, Qt::AlignRight);
    for (QLineSeries* line : fist)
        Attach(chart, line, {x, dots});
    Attach(chart, weighting, {x, weight});
    // A dah and a character gap are three dots long by the timing rules.
    QLineSeries* three = DashedLine(tr("3 dot units"), QColor(200, 40, 40));
    three->append(static_cast<qreal>(x->min().toMSecsSinceEpoch()), 3);
    three->append(static_cast<qreal>(x->max().toMSecsSinceEpoch()), 3);
    Attach(chart, three, {x, dots});
}

QWidget* ProgressWindow::BuildEntryTab() {
    auto* tab = new QWidget(tabs_);
    entries_ = new QTableWidget(tab);
    entries_->setObjectName(QStringLiteral("HistoryEntries"));
    entries_->setColumnCount(3);
    entries_->setHorizontalHeaderLabels(
        {tr("Date"), tr("What"), tr("Result")});
    entries_->verticalHeader()->setVisible(false);
    entries_->horizontalHeader()->setStretchLastSection(true);
    entries_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    entries_->setSelectionBehavior(QAbstractItemView::SelectRows);
    entries_->setSelectionMode(QAbstractItemView::SingleSelection);
    delete_ = new QPushButton(tr("&Delete..."), tab);
    delete_->setObjectName(QStringLiteral("DeleteEntry"));
    delete_->setToolTip(tr("Remove the selected session, drill or sending from the history"));
    delete_->setEnabled(false);
    connect(delete_, &QPushButton::clicked, this, &ProgressWindow::DeleteClick);
    auto* deleteKey = new QAction(entries_);
    deleteKey->setShortcut(QKeySequence::Delete);
    deleteKey->setShortcutContext(Qt::WidgetShortcut);
    entries_->addAction(deleteKey);
    connect(deleteKey, &QAction::triggered, this, &ProgressWindow::DeleteClick);
    connect(entries_, &QTableWidget::itemSelectionChanged, this,
            [this] { delete_->setEnabled(!entries_->selectedItems().isEmpty()); });
    auto* row = new QHBoxLayout;
    row->addWidget(delete_);
    row->addStretch(1);
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(entries_, 1);
    layout->addLayout(row);
    return tab;
}

// Each row's first item carries what it is (an EntryKind) and the id.
void ProgressWindow::FillEntries() {
    struct Entry {
        QDateTime ended;
        QString what;
        QString result;
        EntryKind kind = EntryKind::Session;
        qint64 id = 0;
    };
    std::vector<Entry> entries;
    for (const SessionRecord& r : records_)
        entries.push_back({r.ended,
                           tr("%1, %2 characters, %3 WPM")
                               .arg(SourceCaption(r.source))
                               .arg(r.characterCount)
                               .arg(r.characterWpm),
                           QStringLiteral("%1%").arg(QString::number(r.accuracy, 'f', 1)), EntryKind::Session,
                           r.id});
    for (const DrillRecord& d : recognition_)
        entries.push_back({d.ended, tr("Recognition drill, %1 WPM").arg(d.characterWpm),
                           tr("%1 answers").arg(d.answers.size()), EntryKind::Drill, d.id});
    for (const DrillRecord& d : runs_)
        entries.push_back({d.ended, tr("Callsign run from %1 WPM").arg(d.characterWpm),
                           tr("score %1").arg(d.score), EntryKind::Drill, d.id});
    for (const SendingRecord& s : sendings_) {
        const double accuracy = s.AccuracyPercent();
        QString what = KindCaption(s.kind);
        if (!s.keyer.isEmpty())
            what = tr("%1, %2", "a kind of sending, its keyer").arg(what, KeyerCaption(s.keyer));
        if (s.keyerWpm > 0)
            what = tr("%1 at %2 WPM").arg(what).arg(s.keyerWpm);
        const QString result = accuracy >= 0    ? QStringLiteral("%1%").arg(QString::number(accuracy, 'f', 1))
                               : s.fist.wpm > 0 ? tr("%1 WPM").arg(QString::number(s.fist.wpm, 'f', 1))
                                                : QString();
        entries.push_back({s.ended, what, result, EntryKind::Sending, s.id});
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.ended > b.ended; });
    entries_->clearSelection();
    entries_->setRowCount(static_cast<int>(entries.size()));
    for (int row = 0; row < static_cast<int>(entries.size()); ++row) {
        const Entry& e = entries[static_cast<std::size_t>(row)];
        QTableWidgetItem* date =
            Item(QLocale().toString(e.ended, QLocale::ShortFormat), Qt::AlignLeft | Qt::AlignVCenter);
        date->setData(Qt::UserRole, static_cast<int>(e.kind));
        date->setData(Qt::UserRole + 1, e.id);
        entries_->setItem(row, 0, date);
        entries_->setItem(row, 1, Item(e.what, Qt::AlignLeft | Qt::AlignVCenter));
        entries_->setItem(row, 2, Item(e.result, Qt::AlignLeft | Qt::AlignVCenter));
    }
    entries_->resizeColumnsToContents();
    delete_->setEnabled(false);
}

void ProgressWindow::DeleteClick() {
    const QList<QTableWidgetItem*> selected = entries_->selectedItems();
    if (selected.isEmpty())
        return;
    const int row = selected.first()->row();
    const QTableWidgetItem* first = entries_->item(row, 0);
    const auto kind = static_cast<EntryKind>(first->data(Qt::UserRole).toInt());
    const qint64 id = first->data(Qt::UserRole + 1).toLongLong();
    const QString what = kind == EntryKind::Drill     ? tr("the drill")
                         : kind == EntryKind::Sending ? tr("the sending")
                                                      : tr("the session");
    const QString question = tr("Delete %1 of %2 (%3) from the history? It cannot be undone.")
                                 .arg(what, first->text(), entries_->item(row, 2)->text());
    if (!prompts_.AskYesNo(this, question, tr("Delete from the history")))
        return;
    const bool deleted = kind == EntryKind::Drill     ? history_.DeleteDrill(id)
                         : kind == EntryKind::Sending ? history_.DeleteSending(id)
                                                      : history_.DeleteSession(id);
    if (!deleted)
        prompts_.Error(this, tr("Not deleted: %1").arg(history_.Problem()));
    Reload();
}

void ProgressWindow::FillReactionCharacters() {
    // Slowest first, as they stand over every drill; the choice is kept where it can be.
    const QString chosen = reactionCharacter_->currentData().toString();
    std::vector<RecognitionStats> stats = RecognitionByCharacter(recognition_);
    SortSlowestFirst(stats);
    const QSignalBlocker quiet(reactionCharacter_);
    reactionCharacter_->clear();
    reactionCharacter_->addItem(tr("All characters"), QString());
    for (const RecognitionStats& c : stats)
        if (c.medianMs >= 0)
            reactionCharacter_->addItem(Shown(c.character), c.character);
    reactionCharacter_->setCurrentIndex(std::max(0, reactionCharacter_->findData(chosen)));
}

void ProgressWindow::FillReactions() {
    QChart* chart = FreshChart(reactionView_);
    const QString character = reactionCharacter_->currentData().toString();
    std::vector<ReactionPoint> points;
    if (character.isEmpty()) {
        points = ReactionTimesOfDrills(recognition_);
    } else {
        for (ReactionSeries& series : ReactionTimesByDrill(recognition_))
            if (series.character == character)
                points = std::move(series.points);
    }
    chart->setTitle(recognition_.empty() ? tr("No recognition drills yet")
                                         : tr("Median reaction time of each drill"));
    auto* line = new QLineSeries;
    line->setName(character.isEmpty() ? tr("All characters") : Shown(character));
    line->setPointsVisible(true);
    const int targetMs = targetMs_;
    double most = 1.5 * targetMs / 1000.0;
    qint64 first = QDateTime::currentMSecsSinceEpoch();
    qint64 last = first;
    for (const ReactionPoint& p : points) {
        if (!p.ended.isValid())
            continue;
        const qint64 t = p.ended.toMSecsSinceEpoch();
        if (line->count() == 0)
            first = last = t;
        first = std::min(first, t);
        last = std::max(last, t);
        line->append(static_cast<qreal>(t), p.medianMs / 1000.0);
        most = std::max(most, 1.1 * p.medianMs / 1000.0);
    }
    QDateTimeAxis* x = TimeAxis(first, last, tr("Date"));
    QValueAxis* y = ValueAxis(0, most, tr("Seconds"), QStringLiteral("%.1f"), true);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    QLineSeries* target = DashedLine(tr("Target %1").arg(Seconds(targetMs)), QColor(200, 40, 40));
    target->append(static_cast<qreal>(x->min().toMSecsSinceEpoch()), targetMs / 1000.0);
    target->append(static_cast<qreal>(x->max().toMSecsSinceEpoch()), targetMs / 1000.0);
    Attach(chart, line, {x, y});
    Attach(chart, target, {x, y});
}

void ProgressWindow::FillRecognitionTable() {
    const int targetMs = targetMs_;
    std::vector<RecognitionStats> stats = RecognitionByCharacter(recognition_, kRecognitionTableDrills);
    SortSlowestFirst(stats);
    const QSet<QString> known = KnownCharacters(recognition_, targetMs);
    recognitionNote_->setText(
        recognition_.empty()
            ? tr("No recognition drills yet.")
            : tr(
                  "Over the last %1 drills, slowest first. Known: right %2 % of the time with a median "
                  "under %3 (your target) in each of the last %4 drills with at least %5 answers of the "
                  "character; keys before the character was heard count for nothing.")
                  .arg(kRecognitionTableDrills)
                  .arg(kKnownAccuracyPercent)
                  .arg(Seconds(targetMs))
                  .arg(kKnownDrills)
                  .arg(kKnownAnswers));
    recognitionTable_->setSortingEnabled(false);
    recognitionTable_->setRowCount(static_cast<int>(stats.size()));
    for (int row = 0; row < static_cast<int>(stats.size()); ++row) {
        const RecognitionStats& c = stats[static_cast<std::size_t>(row)];
        recognitionTable_->setItem(row, 0, Item(Shown(c.character)));
        recognitionTable_->setItem(row, 1, Number(c.shown));
        recognitionTable_->setItem(row, 2, Number(c.right));
        auto* accuracy = Item(QStringLiteral("%1 %").arg(QString::number(c.Accuracy(), 'f', 0)),
                              Qt::AlignRight | Qt::AlignVCenter);
        accuracy->setData(Qt::UserRole, c.Accuracy());
        accuracy->setBackground(Heat(1.0 - c.Accuracy() / 100.0, 0.3));
        accuracy->setForeground(QColor(Qt::black));
        recognitionTable_->setItem(row, 3, accuracy);
        auto* median = Item(Seconds(c.medianMs), Qt::AlignRight | Qt::AlignVCenter);
        median->setData(Qt::UserRole, c.medianMs);
        recognitionTable_->setItem(row, 4, median);
        recognitionTable_->setItem(row, 5, Number(c.timedOut));
        recognitionTable_->setItem(row, 6,
                                   Item(known.contains(c.character) ? tr("yes") : QString()));
    }
    recognitionTable_->resizeColumnsToContents();
}

void ProgressWindow::FillCallsigns() {
    QChart* chart = FreshChart(callsignView_);
    const std::vector<CallsignScore> scores = CallsignScores(runs_);
    chart->setTitle(scores.empty() ? tr("No callsign runs yet")
                                   : tr("Score of each run"));
    auto* score = new QLineSeries;
    score->setName(tr("Score"));
    score->setPointsVisible(true);
    auto* top = new QLineSeries;
    top->setName(tr("Top speed (WPM)"));
    top->setPointsVisible(true);
    const CallsignScore* best = nullptr;
    int most = 100;
    int fastest = 0;
    qint64 first = QDateTime::currentMSecsSinceEpoch();
    qint64 last = first;
    for (const CallsignScore& r : scores) {
        if (!best || r.score > best->score)
            best = &r;
        fastest = std::max(fastest, r.topWpm);
        if (!r.ended.isValid())
            continue;
        const qint64 t = r.ended.toMSecsSinceEpoch();
        if (score->count() == 0)
            first = last = t;
        first = std::min(first, t);
        last = std::max(last, t);
        score->append(static_cast<qreal>(t), r.score);
        top->append(static_cast<qreal>(t), r.topWpm);
        most = std::max(most, r.score);
    }
    if (!best) {
        callsignSummary_->setText(tr("No callsign runs yet."));
    } else {
        const CallsignScore& latest = scores.back();
        callsignSummary_->setText(
            tr(
                "%1 run%2. Best score %3 (%4). Fastest call copied: %5 WPM. The last run: %6 points, "
                "%7 of %8 calls missed.")
                .arg(scores.size())
                .arg(scores.size() == 1 ? QString() : tr("s", "plural ending of run"))
                .arg(best->score)
                .arg(QLocale().toString(best->ended.date(), QLocale::ShortFormat))
                .arg(fastest)
                .arg(latest.score)
                .arg(latest.missed)
                .arg(latest.calls));
    }
    QDateTimeAxis* x = TimeAxis(first, last, tr("Date"));
    QValueAxis* points = ValueAxis(0, most * 1.1, tr("Score"), QStringLiteral("%d"), true);
    QValueAxis* wpm = ValueAxis(0, 80, tr("WPM"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(points, Qt::AlignLeft);
    chart->addAxis(wpm, Qt::AlignRight);
    Attach(chart, score, {x, points});
    Attach(chart, top, {x, wpm});
}

void ProgressWindow::FillAccuracy() {
    QChart* chart = FreshChart(accuracyView_);
    chart->setTitle(records_.empty() ? tr("No checked sessions yet")
                                     : tr("Accuracy of each checked session"));
    auto* line = new QLineSeries;
    line->setName(tr("Accuracy (%)"));
    auto* points = new QScatterSeries;
    points->setName(tr("Sessions"));
    points->setMarkerSize(7);
    qint64 first = 0;
    qint64 last = 0;
    for (const SessionRecord& r : records_) {
        if (!r.ended.isValid())
            continue;
        const qint64 t = r.ended.toMSecsSinceEpoch();
        if (line->count() == 0)
            first = t;
        last = t;
        line->append(static_cast<qreal>(t), r.accuracy);
        points->append(static_cast<qreal>(t), r.accuracy);
    }
    if (line->count() == 0) {
        last = QDateTime::currentMSecsSinceEpoch();
        first = last - 24 * 3600 * 1000LL;
    }
    QDateTimeAxis* x = TimeAxis(first, last, tr("Date"));
    auto* threshold = new QLineSeries;
    threshold->setName(QStringLiteral("%1 %").arg(CopyScore::kKochThresholdPercent));
    threshold->append(static_cast<qreal>(x->min().toMSecsSinceEpoch()), CopyScore::kKochThresholdPercent);
    threshold->append(static_cast<qreal>(x->max().toMSecsSinceEpoch()), CopyScore::kKochThresholdPercent);
    QPen dashed(QColor(200, 40, 40));
    dashed.setStyle(Qt::DashLine);
    dashed.setWidth(2);
    threshold->setPen(dashed);

    // Room above 100 %, so that a perfect session and the line through it are drawn whole.
    QValueAxis* y = ValueAxis(0, 105, tr("Accuracy (%)"));
    TickEvery(y, 10);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* series : std::initializer_list<QAbstractSeries*>{line, points, threshold})
        Attach(chart, series, {x, y});
}

void ProgressWindow::FillLearnt() {
    QChart* chart = FreshChart(learntView_);
    const std::vector<LearntOnDay> days = CharactersLearntByDay(records_);
    chart->setTitle(days.empty() ? tr("No checked random-group sessions yet")
                                 : tr("Characters in use, by day"));
    auto* line = new QLineSeries;
    line->setName(tr("Characters (N)"));
    line->setPointsVisible(true);
    int most = 2;
    for (const LearntOnDay& d : days) {
        const qreal t = static_cast<qreal>(d.day.startOfDay().toMSecsSinceEpoch());
        line->append(t, d.characters);
        most = std::max(most, d.characters);
    }
    constexpr qint64 kDay = 24 * 3600 * 1000LL;
    const qint64 first = days.empty() ? QDateTime::currentMSecsSinceEpoch() - kDay
                                      : days.front().day.startOfDay().toMSecsSinceEpoch();
    const qint64 last = days.empty() ? first + kDay : days.back().day.startOfDay().toMSecsSinceEpoch();
    QDateTimeAxis* x = DayAxis(first, last, tr("Day"));
    // Whole characters on the scale.
    QValueAxis* y = ValueAxis(0, most + 1, tr("Characters"));
    TickEvery(y, WholeStep(most + 1, 12));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    Attach(chart, line, {x, y});
}

void ProgressWindow::FillTables() {
    const int last = TableSessions();
    const std::vector<CharacterRate> rates = ErrorRates(records_, last);
    errorTable_->setSortingEnabled(false);
    errorTable_->setRowCount(static_cast<int>(rates.size()));
    for (int row = 0; row < static_cast<int>(rates.size()); ++row) {
        const CharacterRate& r = rates[static_cast<std::size_t>(row)];
        errorTable_->setItem(row, 0, Item(Shown(r.character)));
        errorTable_->setItem(row, 1, Number(r.sent));
        errorTable_->setItem(row, 2, Number(r.Missed()));
        auto* rate = Item(QStringLiteral("%1 %").arg(QString::number(100.0 * r.Rate(), 'f', 1)),
                          Qt::AlignRight | Qt::AlignVCenter);
        rate->setData(Qt::UserRole, r.Rate());
        rate->setBackground(Heat(r.Rate(), 0.3));
        rate->setForeground(QColor(Qt::black));
        errorTable_->setItem(row, 3, rate);
        errorTable_->setItem(row, 4, Number(r.dropped));
        errorTable_->setItem(row, 5, Number(r.wrong));
        QString taken = TakenForText(r);
        errorTable_->setItem(row, 6,
                             Item(taken.toUpper().replace(QStringLiteral("(NONE)"), tr("(none)")),
                                  Qt::AlignLeft | Qt::AlignVCenter));
    }
    errorTable_->resizeColumnsToContents();

    const ConfusionMatrix matrix = Confusions(records_, last);
    confusionTable_->clear();
    confusionTable_->setRowCount(static_cast<int>(matrix.rows.size()));
    confusionTable_->setColumnCount(static_cast<int>(matrix.columns.size()));
    QStringList columns;
    for (const QString& c : matrix.columns)
        columns << (c.isEmpty() ? tr("(none)") : Shown(c));
    confusionTable_->setHorizontalHeaderLabels(columns);
    QStringList rows;
    for (const QString& r : matrix.rows)
        rows << Shown(r);
    confusionTable_->setVerticalHeaderLabels(rows);
    for (int row = 0; row < static_cast<int>(matrix.rows.size()); ++row) {
        const int sent = matrix.sent[static_cast<std::size_t>(row)];
        for (int col = 0; col < static_cast<int>(matrix.columns.size()); ++col) {
            const int n = matrix.counts[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
            auto* item = Item(n > 0 ? QString::number(n) : QString());
            item->setData(Qt::UserRole, n);
            item->setBackground(Heat(sent > 0 ? static_cast<double>(n) / sent : 0.0, 0.2));
            item->setForeground(QColor(Qt::black));
            if (n > 0)
                item->setToolTip(tr("%1 copied as %2: %3 of %4 sent")
                                     .arg(Shown(matrix.rows[row]), columns[col])
                                     .arg(n)
                                     .arg(sent));
            confusionTable_->setItem(row, col, item);
        }
    }
}

void ProgressWindow::ExportClick() {
    // The dialog opens where the last export went.
    const QString folder = store_.Read(keys::ExportFolder);
    prompts_.SetStartFolder(QFileInfo(folder).isDir() ? folder : QString());
    const QString path = prompts_.SaveFileName(this, tr("Export History"),
                                               tr("CSV files (*.csv)"), QStringLiteral("csv"));
    if (!path.isEmpty() && ExportCsv(path))
        store_.Write(keys::ExportFolder, QFileInfo(path).absolutePath());
}

bool ProgressWindow::ExportCsv(const QString& path) {
    QString problem = ExportHistoryCsv(history_.Sessions(), path);
    if (problem.isEmpty()) {
        std::vector<DrillRecord> drills = history_.Drills(DrillKind::Recognition);
        for (DrillRecord& d : history_.Drills(DrillKind::Callsigns))
            drills.push_back(std::move(d));
        std::stable_sort(drills.begin(), drills.end(),
                         [](const DrillRecord& a, const DrillRecord& b) { return a.ended < b.ended; });
        problem = ExportDrillsCsv(drills, path);
    }
    if (problem.isEmpty())
        problem = ExportSendingsCsv(history_.Sendings(), path);
    if (!problem.isEmpty()) {
        prompts_.Error(this, problem);
        return false;
    }
    return true;
}

}  // namespace lumbrel
