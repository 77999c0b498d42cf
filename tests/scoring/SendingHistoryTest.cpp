// Sending practice in the history: a history of the version before brought forward
// with every session and drill; sendings stored and read back field by field, by kind
// and newest, deleted, salvaged from a damaged file; the misses echo drills weigh
// items by; their CSV files; the series of the progress window and its Sending tab
// (offscreen, on a real file).
#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include <cmath>

#include "HistoryFiles.h"
#include "scoring/HistoryCsv.h"
#include "scoring/HistoryService.h"
#include "scoring/SendingKindNames.h"
#include "scoring/SendingProgress.h"
#include "ui/Progress.h"
#include "ui/Prompts.h"

namespace lumbrel {
namespace {

const QDateTime kWhen(QDate(2026, 11, 5), QTime(18, 30, 0, 125));

// The fist's measures, in the order of the history's columns.
double SendingFist::*const kMeasures[] = {&SendingFist::wpm,
                                          &SendingFist::dashDotRatio,
                                          &SendingFist::weighting,
                                          &SendingFist::dotSpread,
                                          &SendingFist::dashSpread,
                                          &SendingFist::elementGap,
                                          &SendingFist::elementGapSpread,
                                          &SendingFist::characterGap,
                                          &SendingFist::characterGapSpread,
                                          &SendingFist::wordGap,
                                          &SendingFist::wordGapSpread};

SendingRecord Record(SendingKind kind, int minutes, int seconds, const QString& keyer, int keyerWpm,
                     std::vector<SentItem> items, std::vector<double> fist, QStringList notes = {}) {
    SendingRecord r;
    const QDateTime ended = kWhen.addSecs(60 * minutes);
    std::tie(r.kind, r.ended, r.durationSeconds, r.keyer, r.keyerWpm, r.items, r.fist.notes) =
        std::tie(kind, ended, seconds, keyer, keyerWpm, items, notes);
    for (std::size_t k = 0; k < fist.size(); ++k)
        r.fist.*kMeasures[k] = fist[k];
    return r;
}

// An echo drill (one item of four missed), a text (one letter of eleven wrong) and
// free sending (one dot: no fist measured).
std::vector<SendingRecord> Sendings() {
    return {
        Record(SendingKind::Echo, 0, 95, "iambic-b", 22,
               {{"k", "k"}, {"^ar", "^ar"}, {"cq", "tq"}, {"5nn", "5nn"}},
               {21.5, 3.25, 48, 0, 0.25, 0.95, 0.05, 3.5, 0.5, 7.25, 1},
               {"C read as T: the first dot was 2.8 dot units", "dashes long, \"3.4\" dits"}),
        Record(SendingKind::Text, 10, 40, "straight", 0, {{"the quick fox", "the quick fix"}},
               {14, 2.5, 55, 0, 0, 1.2, 0, 2.8}),
        Record(SendingKind::Free, 20, 0, "bug", 0, {{"", "e"}}, {}),
    };
}

// Every field of each sending, to compare them.
QStringList Fields(const std::vector<SendingRecord>& sendings) {
    QStringList all;
    for (const SendingRecord& r : sendings) {
        QStringList fields = {SendingKindName(r.kind), r.ended.toString(Qt::ISODateWithMs),
                              QString::number(r.durationSeconds), r.keyer, QString::number(r.keyerWpm)};
        for (const SentItem& item : r.items)
            fields << item.expected + ">" + item.sent;
        for (double SendingFist::*measure : kMeasures)
            fields << QString::number(r.fist.*measure, 'g', 17);
        all << (fields + r.fist.notes).join("|");
    }
    return all;
}

TEST(SendingHistory, AHistoryOfVersionFourKeepsEverySessionAndDrillAndTakesSendings) {
    // Version 4: three sessions, a recognition drill with an early answer, a callsign run.
    QTemporaryDir dir;
    const QString path = dir.filePath("history.sqlite");
    ASSERT_TRUE(QFile::copy(QStringLiteral(LUMBREL_SCORING_TEST_DATA "/history-v4.sqlite"), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    const QByteArray before = ReadAll(path);
    for (const bool write : {false, true}) {
        History h(path);
        ASSERT_TRUE(write ? h.Open() : h.OpenToRead()) << h.Problem().toStdString();
        EXPECT_TRUE(h.TakeNotice().isEmpty());
        EXPECT_EQ(h.SchemaVersion(), 5);
        QStringList kept;
        for (const SessionRecord& r : h.Sessions())
            kept
                << r.source +
                       QString(" %1 %2/%3").arg(r.accuracy).arg(r.characters.size()).arg(r.confusions.size());
        for (const DrillRecord& d : h.Drills(DrillKind::Recognition))
            for (const RecognitionAnswer& a : d.answers)
                kept << QString("%1 %2 %3 %4").arg(a.character, a.answer).arg(a.reactionMs).arg(a.Early());
        for (const DrillRecord& d : h.Drills(DrillKind::Callsigns))
            kept << QString("run %1 %2 %3").arg(d.score).arg(d.topWpm).arg(d.calls.size());
        EXPECT_EQ(kept, (QStringList{"groups 90 4/5", "words 95.5 2/1", "groups 97 0/0", "k k -1 1",
                                     "k k 420 0", "s  -1 0", "m k 380 0", "r r 1200 0", "run 150 24 3"}));
        EXPECT_TRUE(h.Sendings().empty());
        EXPECT_EQ(ReadAll(path) == before, !write);  // reading leaves the file as it was
    }
    History h(path);
    ASSERT_TRUE(h.Open());
    for (const SendingRecord& s : Sendings())
        ASSERT_TRUE(h.AddSending(s).has_value()) << h.Problem().toStdString();
    EXPECT_EQ(Fields(h.Sendings()), Fields(Sendings()));
}

TEST(SendingHistory, SendingsAreReadByKindAndNewestDeletedAndSalvagedFromADamagedFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("history.sqlite");
    MakeHistory(path, 21);
    std::vector<qint64> ids;
    {
        History h(path);
        ASSERT_TRUE(h.Open());
        for (const SendingRecord& s : Sendings())  // newest first: read oldest first all the same
            ids.insert(ids.begin(), h.AddSending(s).value());
        const auto read = [&](std::optional<SendingKind> kind, int last) {
            std::vector<qint64> got;
            for (const SendingRecord& s : h.Sendings(kind, last))
                got.push_back(s.id);
            return got;
        };
        EXPECT_EQ(read(std::nullopt, 2), (std::vector<qint64>{ids[1], ids[0]}));
        EXPECT_EQ(read(SendingKind::Echo, -1), std::vector<qint64>{ids[2]});
        EXPECT_EQ(read(SendingKind::Text, 5), std::vector<qint64>{ids[1]});
        EXPECT_TRUE(read(std::nullopt, 0).empty());
        const std::optional<qint64> extra = h.AddSending(Sendings()[0]);
        ASSERT_TRUE(extra && h.DeleteSending(*extra));
        EXPECT_FALSE(h.DeleteSending(*extra));
        EXPECT_TRUE(h.Problem().contains("no sending")) << h.Problem().toStdString();
    }
    Spoil(path, {}, "sendings_by_kind_and_time");
    const QByteArray spoilt = ReadAll(path);
    for (const bool write : {false, true}) {
        History h(path);
        ASSERT_TRUE(write ? h.Open() : h.OpenToRead()) << h.Problem().toStdString();
        const QString notice = h.TakeNotice();
        EXPECT_TRUE(notice.contains("21 sessions, 0 drills and 3 sendings")) << notice.toStdString();
        EXPECT_EQ(Fields(h.Sendings()), Fields(Sendings()));
        EXPECT_EQ(Beside(path).size(), write ? 1 : 0);
        EXPECT_EQ(ReadAll(path) == spoilt, !write);
    }
}

TEST(SendingHistory, EchoDrillsWeighItemsByTheMissesOfTheRecentEchoDrillsOnly) {
    QTemporaryDir dir;
    HistoryService service(dir.filePath("history.sqlite"));
    for (const SendingRecord& s : Sendings())
        EXPECT_TRUE(service.StoreSending(s).id.has_value());
    SendingRecord old = Record(SendingKind::Echo, -60, 1, "bug", 0, {{"k", ""}}, {});
    for (int k = 0; k < kWeakCharacterHistory; ++k)
        service.StoreSending(old);
    // The newest ten echo drills: the one with "cq" sent as "tq" and nine older ones; not the text.
    const MissTallies tallies = service.RecentEchoMisses();
    for (const auto& [character, tries, missed] :
         {std::tuple{"k", 10.0, 9.0}, {"c", 1.0, 1.0}, {"q", 1.0, 0.0}, {"5", 1.0, 0.0}, {"h", 0.0, 0.0}}) {
        EXPECT_DOUBLE_EQ(tallies.value(character).tries, tries) << character;
        EXPECT_DOUBLE_EQ(tallies.value(character).missed, missed) << character;
    }
    QFile(dir.filePath("file")).open(QIODevice::WriteOnly);
    HistoryService unusable(dir.filePath("file/history.sqlite"));
    EXPECT_FALSE(unusable.StoreSending(old).usable);
    EXPECT_TRUE(unusable.RecentEchoMisses().isEmpty());
}

TEST(SendingHistory, TheCsvFilesOfTheSendings) {
    std::vector<SendingRecord> sendings = Sendings();
    QStringList times;
    for (std::size_t k = 0; k < sendings.size(); ++k) {
        sendings[k].id = static_cast<qint64>(k + 1);
        times << sendings[k].ended.toOffsetFromUtc(sendings[k].ended.offsetFromUtc()).toString(Qt::ISODate);
    }
    EXPECT_EQ(
        SendingsCsv(sendings),
        "id,ended,kind,duration_seconds,keyer,keyer_wpm,items,right,accuracy,wpm,dash_dot_ratio,weighting,"
        "dot_spread,dash_spread,element_gap,element_gap_spread,character_gap,character_gap_spread,word_gap,"
        "word_gap_spread,notes\r\n" +
            QString("1,%1,echo,95,iambic-b,22,4,3,75.0,21.5,3.25,48.00,0.00,0.25,0.95,0.05,3.50,0.50,7.25,1."
                    "00,2\r\n"
                    "2,%2,text,40,straight,0,1,0,90.9,14.0,2.50,55.00,0.00,0.00,1.20,0.00,2.80,0.00,,,0\r\n"
                    "3,%3,free,0,bug,0,1,,,,,,,,,,,,,,0\r\n")
                .arg(times[0], times[1], times[2]));
    EXPECT_EQ(SentItemsCsv(sendings),
              "sending_id,seq,expected,sent,right\r\n1,1,k,k,1\r\n1,2,^ar,^ar,1\r\n"
              "1,3,cq,tq,0\r\n1,4,5nn,5nn,1\r\n2,1,the quick fox,the quick fix,0\r\n3,1,,e,\r\n");
    EXPECT_EQ(FistNotesCsv(sendings),
              "sending_id,seq,note\r\n1,1,C read as T: the first dot was 2.8 dot units\r\n"
              "1,2,\"dashes long, \"\"3.4\"\" dits\"\r\n");
    EXPECT_TRUE(ExportSendingsCsv(sendings, "/no/such/folder/h.csv").contains("h-sendings.csv"));
}

// Which measure each sending gives is drawn on the Sending tab below.
TEST(SendingProgress, ASendingWithoutATimeIsLeftOutAndTheOthersAreDrawnOldestFirst) {
    std::vector<SendingRecord> sendings = Sendings();
    sendings.push_back(sendings[0]);
    sendings.back().ended = QDateTime();
    std::swap(sendings[0], sendings[2]);
    EXPECT_EQ(SendingTrendsOf(sendings).accuracy,
              (std::vector<SendingPoint>{{kWhen, 75.0}, {kWhen.addSecs(600), 1000.0 / 11}}));
    EXPECT_EQ(SendingTrendsOf(sendings, SendingKind::Text).elementGap,
              (std::vector<SendingPoint>{{kWhen.addSecs(600), 1.2}}));
    EXPECT_TRUE(SendingTrendsOf(sendings, SendingKind::Free).wpm.empty());
}

class YesPrompts final : public Prompts {
public:
    void Message(QWidget*, const QString&, const QString&, MessageKind) override {}
    bool AskYesNo(QWidget*, const QString& text, const QString&) override {
        return !(questions << text).isEmpty();
    }
    void Error(QWidget*, const QString& text) override { errors << text; }
    std::optional<QFont> ChooseFont(QWidget*, const QFont&, int) override { return std::nullopt; }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override { return saveAs; }
    QString OpenFileName(QWidget*, const QString&, const QString&) override { return {}; }
    AudioFileChoice ChooseAudioFile(QWidget*, const QString&, const QStringList&, int) override { return {}; }
    QStringList questions, errors;
    QString saveAs;
};

// The y values of each line of a chart.
std::vector<std::vector<double>> Lines(QChartView* view) {
    std::vector<std::vector<double>> lines;
    for (QAbstractSeries* series : view->chart()->series()) {
        lines.emplace_back();
        for (const QPointF& p : qobject_cast<QLineSeries*>(series)->points())
            lines.back().push_back(p.y());
    }
    return lines;
}

TEST(SendingProgressWindow, TheSendingTabDrawsEachKindAndASendingIsDeletedAndExported) {
    QTemporaryDir dir;
    History history(dir.filePath("history.sqlite"));
    ASSERT_TRUE(history.Open());
    for (const SendingRecord& s : Sendings())
        ASSERT_TRUE(history.AddSending(s).has_value());
    YesPrompts prompts;
    ProgressWindow progress(history, prompts, SettingsStore::InMemory());
    progress.Reload();
    EXPECT_EQ(progress.Tabs()->tabText(progress.Tabs()->indexOf(progress.SendingTabs()->parentWidget())),
              "Sending");
    EXPECT_TRUE(progress.SendingSummaryLabel()->text().startsWith("3 sendings. The last: Free sending on "));
    using Series = std::vector<std::vector<double>>;
    EXPECT_EQ(Lines(progress.SendingChart()), (Series{{75, 1000.0 / 11}, {21.5, 14}}));
    // dah:dit, the element, character and word gaps, weighting, the line at 3 units
    EXPECT_EQ(Lines(progress.FistChart()),
              (Series{{3.25, 2.5}, {0.95, 1.2}, {3.5, 2.8}, {7.25}, {48, 55}, {3, 3}}));
    QComboBox* kind = progress.SendingKindBox();
    kind->setCurrentIndex(kind->findData("echo"));
    EXPECT_EQ(Lines(progress.SendingChart()), (Series{{75}, {21.5}}));
    const QString summary = progress.SendingSummaryLabel()->text();
    EXPECT_TRUE(summary.startsWith("1 sending. The last: Echo drill on ")) << summary.toStdString();
    EXPECT_TRUE(
        summary.endsWith("75 % right. 21.5 WPM, dah:dit 3.3, weighting 48 %.\nIts fist: C read as T: the "
                         "first dot was 2.8 dot units; dashes long, \"3.4\" dits"))
        << summary.toStdString();

    // The list of the history, newest first: the echo drill is the last row.
    QTableWidget* entries = progress.EntryTable();
    ASSERT_EQ(entries->rowCount(), 3);
    EXPECT_EQ(entries->item(0, 1)->text(), "Free sending, bug");
    EXPECT_EQ(entries->item(2, 1)->text(), "Echo drill, iambic B at 22 WPM");
    EXPECT_EQ(entries->item(2, 2)->text(), "75.0%");
    entries->selectRow(2);
    progress.DeleteButton()->click();
    EXPECT_EQ(prompts.questions.value(0).section(" of ", 0, 0), "Delete the sending");
    EXPECT_EQ(history.Sendings().size(), 2u);
    EXPECT_EQ(entries->rowCount(), 2);
    EXPECT_EQ(Lines(progress.SendingChart()), (Series{{}, {}}));  // no echo drill left

    // Exported beside the sessions, whose file keeps its own header alone.
    prompts.saveAs = dir.filePath("out.csv");
    progress.ExportButton()->click();
    EXPECT_TRUE(prompts.errors.isEmpty());
    EXPECT_EQ(QString::fromUtf8(ReadAll(dir.filePath("out.csv"))), HistoryCsv({}));
    EXPECT_EQ(ReadAll(dir.filePath("out-sendings.csv")).count("\r\n"), 3);
    EXPECT_EQ(ReadAll(dir.filePath("out-fist-notes.csv")), "sending_id,seq,note\r\n");

    // At the window's first size every label of the charts' value axes has room (the
    // charts share their tab with the summary: labels closer than their box are elided).
    progress.show();
    progress.Tabs()->setCurrentWidget(progress.SendingTabs()->parentWidget());
    for (int page = 0; page < 2; ++page) {
        progress.SendingTabs()->setCurrentIndex(page);
        QCoreApplication::processEvents();
        const QChart* chart = (page == 0 ? progress.SendingChart() : progress.FistChart())->chart();
        for (QAbstractAxis* a : chart->axes(Qt::Vertical)) {
            const auto* axis = qobject_cast<QValueAxis*>(a);
            const double labels = axis->tickType() == QValueAxis::TicksDynamic
                                      ? std::floor((axis->max() - axis->min()) / axis->tickInterval()) + 1
                                      : axis->tickCount();
            // A label's box is its line and the text margin of 4 pixels above and below.
            EXPECT_GE(chart->plotArea().height() / (labels - 1),
                      QFontMetrics(axis->labelsFont()).height() + 8)
                << axis->titleText().toStdString();
        }
    }
}

}  // namespace
}  // namespace lumbrel
