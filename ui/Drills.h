#pragma once
// The "Drills" window: instant recognition and callsign runs, driven from the
// keyboard. A thin layer over the drill controllers (drills/DrillControllers.h): the
// options come from and go to the settings (section "Drills"), keys go to the running
// drill, and what it tells is shown.
//
// Keys: in instant recognition, type the character you hear; in a callsign run, type
// the call and press Enter, F5 plays it once more (half points). Escape ends a drill
// (what was answered is kept), or closes the window when none runs. A key held down
// counts once: its auto-repeat is ignored. A drill ends on its summary: the Enter of
// the last call is the run's, never the Start button's.
//
// The window is modal: no session starts while it is open, and it does not open while
// a session runs. UI thread only.
#include <QColor>
#include <QDialog>

#include <memory>

#include "drills/DrillControllers.h"
#include "scoring/HistoryService.h"
#include "settings/SettingsStore.h"

class QCheckBox;
class QChartView;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTextBrowser;
class QTimer;

namespace lumbrel {

class Trainer;

class DrillsDialog final : public QDialog, private DrillView {
    Q_OBJECT
public:
    // player: on the trainer's device; history: where the drills are set up from and kept.
    DrillsDialog(Trainer& trainer, const Clock& clock, CharacterPlayer& player, SettingsStore store,
                 HistoryService& history, QWidget* parent = nullptr);
    ~DrillsDialog() override;

    // For tests.
    QTabWidget* Tabs() const { return tabs_; }
    QPushButton* RecognitionStart() const { return recognitionStart_; }
    QPushButton* CallsignStart() const { return callsignStart_; }
    QLineEdit* CallInput() const { return callInput_; }
    QLabel* Prompt() const { return prompt_; }
    QTextBrowser* Summary() const { return summary_; }
    // "Character 12 of 100", "Call 12 of 50" while a drill runs.
    QLabel* Counter() const { return counter_; }
    // What the drill says beside the prompt: an answer's time, the speed, a history not kept.
    QLabel* Status() const { return status_; }
    // The speed of each call of the last callsign run, shown with its summary.
    QChartView* SpeedChart() const { return speedChart_; }
    RecognitionDrillController* Recognition() const { return recognition_.get(); }
    CallsignRunController* Callsigns() const { return callsigns_.get(); }

public Q_SLOTS:
    void StartRecognition();
    void StartCallsignRun();
    void StopDrill();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    // DrillView.
    void Answered(const RecognitionAnswer& answer, RecognitionDrill::Outcome outcome) override;
    void CallChecked(const CallsignRun::Checked& checked) override;
    void Finished(const DrillRecord& record, std::optional<qint64> stored) override;
    void SoundFailed(const QString& reason) override;

    // A call and its copy as rich text, the characters that differ marked.
    struct MarkedCall {
        QString sent;
        QString copied;
    };
    static MarkedCall MarkCall(const CopyScore& score);
    // `html` in `wanted`, made readable on the window's background.
    QString Coloured(const QColor& wanted, const QString& html) const;

    // Right and wrong answers; made lighter on a dark palette.
    static constexpr QRgb kRightColour = 0x2a7a2a;
    static constexpr QRgb kWrongColour = 0xb00000;

    void RestoreOptions();
    void SaveOptions();
    CharacterPlayer::Sound CurrentSound() const;
    bool Running() const;
    void SetRunning(bool running);
    // Says so when the drill set up cannot be kept.
    void TellNotKept(const History* keep);
    void ShowRecognitionSummary(const DrillRecord& record);
    void ShowCallsignSummary(const DrillRecord& record);
    void ShowSpeedChart(const DrillRecord& record);
    void ShowCounter();
    void EnterCall();

    Trainer& trainer_;
    const Clock& clock_;
    CharacterPlayer& player_;
    SettingsStore store_;
    HistoryService& history_;
    bool kept_ = false;  // the drill running is kept in the history
    std::unique_ptr<RecognitionDrillController> recognition_;
    std::unique_ptr<CallsignRunController> callsigns_;

    QTabWidget* tabs_ = nullptr;
    QDoubleSpinBox* timeLimit_ = nullptr;
    QSpinBox* characters_ = nullptr;
    QSpinBox* minutes_ = nullptr;
    QDoubleSpinBox* target_ = nullptr;
    QCheckBox* growing_ = nullptr;
    QPushButton* recognitionStart_ = nullptr;
    QSpinBox* calls_ = nullptr;
    QSpinBox* startSpeed_ = nullptr;
    QSpinBox* step_ = nullptr;
    QSpinBox* topSpeed_ = nullptr;
    QCheckBox* varyPitch_ = nullptr;
    QCheckBox* missedOnly_ = nullptr;
    QPushButton* callsignStart_ = nullptr;
    QLineEdit* callInput_ = nullptr;
    QCheckBox* bandConditions_ = nullptr;
    QLabel* prompt_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* counter_ = nullptr;
    QTextBrowser* summary_ = nullptr;
    QChartView* speedChart_ = nullptr;
    QTimer* timer_ = nullptr;
};

}  // namespace lumbrel
