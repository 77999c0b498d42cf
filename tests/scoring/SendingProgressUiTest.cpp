// The progress window's Sending tab on a real history file, offscreen: the charts of
// accuracy, speed and fist per kind chosen in its box, the summary with the fist's
// notes, a sending deleted from the list of the history, and the export beside the
// sessions' CSV.
#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>

#include "scoring/History.h"
#include "scoring/HistoryCsv.h"
#include "ui/Progress.h"
#include "ui/Prompts.h"

namespace lumbrel {
namespace {

class AnsweringPrompts final : public Prompts {
public:
    void Message(QWidget*, const QString&, const QString&, MessageKind) override {}
    bool AskYesNo(QWidget*, const QString& text, const QString&) override {
        questions << text;
        return true;
    }
    void Error(QWidget*, const QString& text) override { errors << text; }
    std::optional<QFont> ChooseFont(QWidget*, const QFont&, int) override { return std::nullopt; }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override { return saveAs; }
    QString OpenFileName(QWidget*, const QString&, const QString&) override { return {}; }
    AudioFileChoice ChooseAudioFile(QWidget*, const QString&, const QStringList&, int) override { return {}; }
    QStringList questions, errors;
    QString saveAs;
};

// The y values of each series of a chart.
std::vector<std::vector<double>> Lines(QChartView* view) {
    std::vector<std::vector<double>> lines;
    for (QAbstractSeries* series : view->chart()->series()) {
        lines.emplace_back();
        if (auto* line = qobject_cast<QLineSeries*>(series))
            for (const QPointF& p : line->points())
                lines.back().push_back(p.y());
    }
    return lines;
}

TEST(SendingProgressWindow, TheSendingTabDrawsEachKindAndASendingIsDeletedAndExported) {
    QTemporaryDir dir;
    History history(dir.filePath("history.sqlite"));
    ASSERT_TRUE(history.Open());
    const QDateTime when(QDate(2026, 11, 5), QTime(18, 0));
    // kind, minutes after, items, wpm, dah:dit, weighting, character gap, word gap, notes
    const std::vector<std::tuple<SendingKind, int, std::vector<SentItem>, double, double, double, double,
                                 double, QStringList>>
        sendings = {
            {SendingKind::Echo, 0, {{"k", "k"}, {"cq", "tq"}}, 20, 3.2, 50, 3.1, 7.5, {"C read as T"}},
            {SendingKind::Text, 10, {{"paris", "paris"}}, 16, 2.6, 56, 2.9, 0, {}},
            {SendingKind::Free, 20, {{"", "e e"}}, 0, 0, 0, 0, 0, {}},
        };
    for (const auto& [kind, minutes, items, wpm, ratio, weighting, gap, wordGap, notes] : sendings) {
        SendingRecord s;
        s.kind = kind;
        s.ended = when.addSecs(60 * minutes);
        s.keyer = "straight";
        s.items = items;
        std::tie(s.fist.wpm, s.fist.dashDotRatio, s.fist.weighting, s.fist.characterGap, s.fist.wordGap) =
            std::tie(wpm, ratio, weighting, gap, wordGap);
        s.fist.elementGap = wpm > 0 ? 1.0 : 0;
        s.fist.notes = notes;
        ASSERT_TRUE(history.AddSending(s).has_value());
    }
    AnsweringPrompts prompts;
    ProgressWindow progress(history, prompts, SettingsStore::InMemory());
    progress.Reload();
    QTabWidget* tabs = progress.Tabs();
    EXPECT_EQ(tabs->tabText(tabs->indexOf(progress.SendingTabs()->parentWidget())), "Sending");
    EXPECT_TRUE(progress.SendingSummaryLabel()->text().startsWith("3 sendings. The last: Free sending on "));
    using Series = std::vector<std::vector<double>>;
    // Accuracy and speed; the fist: dah:dit, element, character and word gaps, weighting, the 3-unit line.
    EXPECT_EQ(Lines(progress.SendingChart()), (Series{{50, 100}, {20, 16}}));
    EXPECT_EQ(Lines(progress.FistChart()), (Series{{3.2, 2.6}, {1, 1}, {3.1, 2.9}, {7.5}, {50, 56}, {3, 3}}));

    QComboBox* kind = progress.SendingKindBox();
    kind->setCurrentIndex(kind->findData("echo"));
    EXPECT_EQ(Lines(progress.SendingChart()), (Series{{50}, {20}}));
    EXPECT_EQ(progress.SendingSummaryLabel()->text().section(" on ", 0, 0),
              "1 sending. The last: Echo drill");
    EXPECT_TRUE(progress.SendingSummaryLabel()->text().endsWith(
        "50 % right. 20.0 WPM, dah:dit 3.2, weighting 50 %.\nIts fist: C read as T"))
        << progress.SendingSummaryLabel()->text().toStdString();
    kind->setCurrentIndex(kind->findData("free"));
    EXPECT_EQ(Lines(progress.SendingChart()), (Series{{}, {}}));

    // The list of the history, newest first: the echo drill is the last row.
    QTableWidget* entries = progress.EntryTable();
    ASSERT_EQ(entries->rowCount(), 3);
    EXPECT_EQ(entries->item(0, 1)->text(), "Free sending, straight");
    EXPECT_EQ(entries->item(2, 2)->text(), "50.0%");
    entries->selectRow(2);
    progress.DeleteButton()->click();
    ASSERT_EQ(prompts.questions.size(), 1);
    EXPECT_TRUE(prompts.questions[0].startsWith("Delete the sending of "))
        << prompts.questions[0].toStdString();
    EXPECT_EQ(history.Sendings().size(), 2u);
    EXPECT_EQ(progress.Sendings().size(), 2u);
    EXPECT_EQ(entries->rowCount(), 2);

    // Exported beside the sessions, whose file keeps its own header alone.
    prompts.saveAs = dir.filePath("out.csv");
    progress.ExportButton()->click();
    EXPECT_TRUE(prompts.errors.isEmpty());
    const auto read = [&](const char* name) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    };
    EXPECT_EQ(read("out.csv"), HistoryCsv({}));
    EXPECT_EQ(read("out-sendings.csv").count("\r\n"), 3);
    EXPECT_EQ(read("out-sent-items.csv").count("\r\n"), 3);
    EXPECT_EQ(read("out-fist-notes.csv"), "sending_id,seq,note\r\n");
}

}  // namespace
}  // namespace lumbrel
