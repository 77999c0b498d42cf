#pragma once
// The main window's controls as plain state: values, items, captions, enabled and
// visible flags. The window's binding copies the session's options and read-outs into
// it and shows it; user input goes through it back to the session. UI thread only.
#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <array>

#include "engine/SessionOptions.h"

namespace lumbrel {

enum class ControlId {
    // Session commands: tool buttons and the hidden push buttons that share their reactions.
    StartButton,
    ToolButton3,
    StopButton,
    ToolButton4,
    FinishButton,
    ToolButton10,
    SendFile,
    CommonWords,
    QSOFiles,
    ToolButton6,
    ToolButton7,
    ToolButton8,
    ToolButton12,
    ToolButton13,
    ToolButton14,
    // Options.
    PitchSpinner,
    CharacterCountSpinEdit,
    RadioGroup1,
    CodeSpeedRadioGroup,
    DisplayDelayComboBox,
    NoiseRadioGroup,
    SignalRadioGroup,
    QSBCheckBox,
    QSBModeRadioGroup,
    QSBTypeRadioGroup,
    ChirpCheckBox,
    HandSentCheckBox,
    QRMCheckBox,
    SpeedStepCheckBox,
    PitchDitherCheckBox,
    WeightingCheckBox,
    SingleWordsOnly1,
    // Read-outs.
    Label1,
    StatusBar1,
    TrayIcon1,
    Timer1,
    Count
};

inline constexpr int kControlCount = static_cast<int>(ControlId::Count);

// One control. value is the spinner value or the selected item index; text the
// caption or read-out; items the list or radio items.
struct ControlState {
    bool enabled = true;
    bool visible = true;
    bool checked = false;
    int value = 0;
    int minimum = 0;
    int maximum = 0;
    QString text;
    QStringList items;
};

class ControlsListener {
public:
    virtual ~ControlsListener() = default;
    virtual void ControlChanged(ControlId id) = 0;
};

class ControlsModel {
    Q_DECLARE_TR_FUNCTIONS(lumbrel::ControlsModel)

public:
    ControlsModel();

    const ControlState& Get(ControlId id) const { return controls_[Index(id)]; }

    bool Enabled(ControlId id) const { return Get(id).enabled; }
    bool Visible(ControlId id) const { return Get(id).visible; }
    bool Checked(ControlId id) const { return Get(id).checked; }
    int Value(ControlId id) const { return Get(id).value; }
    const QString& Text(ControlId id) const { return Get(id).text; }

    void SetEnabled(ControlId id, bool enabled);
    void SetVisible(ControlId id, bool visible);
    void SetChecked(ControlId id, bool checked);
    // Clamped to the control's range when it has one (maximum above minimum).
    void SetValue(ControlId id, int value);
    void SetMaximum(ControlId id, int maximum);
    void SetText(ControlId id, const QString& text);
    void SetItems(ControlId id, const QStringList& items);

    void SetListener(ControlsListener* listener) { listener_ = listener; }

private:
    static int Index(ControlId id) { return static_cast<int>(id); }
    void Changed(ControlId id);

    std::array<ControlState, kControlCount> controls_{};
    ControlsListener* listener_ = nullptr;
};

}  // namespace lumbrel
