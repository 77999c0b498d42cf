#pragma once
// The "Progress" window: the accuracy of every checked session over time with the
// 90 % line, the characters learnt over the days, the error rate of each character
// and a heat map of what was copied for what; the drills: reaction time per
// character drill by drill, recognition accuracy per character, and the scores of
// the callsign runs; the sending practice: accuracy, speed and the measures of the
// fist over time; a list of every session, drill and sending, from which one can be
// deleted. The history can be exported as CSV. UI thread only.
#include <QDialog>

#include <vector>

#include "scoring/DrillRecord.h"
#include "scoring/SendingRecord.h"
#include "scoring/SessionRecord.h"
#include "settings/SettingsStore.h"

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QLineSeries;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace lumbrel {

class History;
class Prompts;

class ProgressWindow final : public QDialog {
    Q_OBJECT
public:
    // store: the settings, whose drill target ("slow") is read at each Reload.
    ProgressWindow(History& history, Prompts& prompts, SettingsStore store, QWidget* parent = nullptr);
    ~ProgressWindow() override;

    // Reads the history again and redraws everything.
    void Reload();
    // Writes the history as CSV: the sessions to path, the drills beside it
    // (DrillCsvPaths); false (and the user told why) when it failed.
    bool ExportCsv(const QString& path);

    // The records shown, oldest first.
    const std::vector<SessionRecord>& Records() const { return records_; }
    const std::vector<DrillRecord>& RecognitionDrills() const { return recognition_; }
    const std::vector<DrillRecord>& CallsignRuns() const { return runs_; }
    const std::vector<SendingRecord>& Sendings() const { return sendings_; }

    QTabWidget* Tabs() const { return tabs_; }
    QChartView* AccuracyChart() const { return accuracyView_; }
    QChartView* LearntChart() const { return learntView_; }
    QTableWidget* ErrorTable() const { return errorTable_; }
    QTableWidget* ConfusionTable() const { return confusionTable_; }
    QComboBox* RangeBox() const { return range_; }
    QPushButton* ExportButton() const { return export_; }
    QLabel* SummaryLabel() const { return summary_; }
    // The recognition tab's pages: the reaction time chart, the accuracy table.
    QTabWidget* RecognitionTabs() const { return recognitionTabs_; }
    QChartView* ReactionChart() const { return reactionView_; }
    // "All characters" (data "") or one character: whose reaction times the chart shows.
    QComboBox* ReactionCharacterBox() const { return reactionCharacter_; }
    QTableWidget* RecognitionTable() const { return recognitionTable_; }
    QChartView* CallsignChart() const { return callsignView_; }
    QLabel* CallsignSummaryLabel() const { return callsignSummary_; }
    // The sending tab: which kind of sending it shows (data: "" for every kind, else
    // the kind's name), a summary with the last sending's fist notes, the chart of
    // accuracy and speed and the chart of the fist.
    QComboBox* SendingKindBox() const { return sendingKind_; }
    QLabel* SendingSummaryLabel() const { return sendingSummary_; }
    QTabWidget* SendingTabs() const { return sendingTabs_; }
    QChartView* SendingChart() const { return sendingView_; }
    QChartView* FistChart() const { return fistView_; }
    // Every checked session, drill and sending, newest first, and the button that
    // deletes the one selected (after asking).
    QTableWidget* EntryTable() const { return entries_; }
    QPushButton* DeleteButton() const { return delete_; }

    // The recognition drills the table covers: the last ones.
    static constexpr int kRecognitionTableDrills = 10;

    // The number of most recent sessions the tables cover; -1 for all.
    int TableSessions() const;

public Q_SLOTS:
    void ExportClick();
    // Asks, then removes the selected session, drill or sending from the history.
    void DeleteClick();

private:
    enum class EntryKind { Session, Drill, Sending };
    void FillAccuracy();
    void FillLearnt();
    void FillTables();
    QWidget* BuildRecognitionTab();
    QWidget* BuildCallsignTab();
    void FillReactionCharacters();
    void FillReactions();
    void FillRecognitionTable();
    void FillCallsigns();
    QWidget* BuildSendingTab();
    void FillSendings();
    QWidget* BuildEntryTab();
    void FillEntries();

    History& history_;
    Prompts& prompts_;
    SettingsStore store_;
    int targetMs_ = 1000;
    std::vector<SessionRecord> records_;
    std::vector<DrillRecord> recognition_;
    std::vector<DrillRecord> runs_;
    std::vector<SendingRecord> sendings_;

    QLabel* summary_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QChartView* accuracyView_ = nullptr;
    QChartView* learntView_ = nullptr;
    QTableWidget* errorTable_ = nullptr;
    QTableWidget* confusionTable_ = nullptr;
    QComboBox* range_ = nullptr;
    QPushButton* export_ = nullptr;
    QTabWidget* recognitionTabs_ = nullptr;
    QChartView* reactionView_ = nullptr;
    QComboBox* reactionCharacter_ = nullptr;
    QTableWidget* recognitionTable_ = nullptr;
    QLabel* recognitionNote_ = nullptr;
    QChartView* callsignView_ = nullptr;
    QLabel* callsignSummary_ = nullptr;
    QComboBox* sendingKind_ = nullptr;
    QLabel* sendingSummary_ = nullptr;
    QTabWidget* sendingTabs_ = nullptr;
    QChartView* sendingView_ = nullptr;
    QChartView* fistView_ = nullptr;
    QTableWidget* entries_ = nullptr;
    QPushButton* delete_ = nullptr;
};

}  // namespace lumbrel
