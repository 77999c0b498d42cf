#include "ui/Controls.h"

#include <algorithm>

namespace lumbrel {

ControlsModel::ControlsModel() {
    auto& c = controls_;
    auto at = [&](ControlId id) -> ControlState& {
        return c[Index(id)];
    };

    at(ControlId::StopButton).enabled = false;
    at(ControlId::ToolButton4).enabled = false;
    // Designed invisible: the hidden push buttons of an earlier layout.
    for (ControlId id : {ControlId::StartButton, ControlId::StopButton, ControlId::FinishButton,
                         ControlId::SendFile, ControlId::CommonWords, ControlId::QSOFiles})
        at(id).visible = false;

    auto spinner = [&](ControlId id, int value, int minimum, int maximum) {
        at(id).value = value;
        at(id).minimum = minimum;
        at(id).maximum = maximum;
    };
    spinner(ControlId::PitchSpinner, 650, 350, 1500);
    spinner(ControlId::CharacterCountSpinEdit, 2, 2, 64);

    QStringList speeds;
    for (int i = 0; i < kCharacterSpeedChoices; ++i)
        speeds << QString::number(CharacterWpmForIndex(i));
    at(ControlId::RadioGroup1).items = speeds;
    at(ControlId::CodeSpeedRadioGroup).items = {
        tr("Full"), QStringLiteral("7/8"), QStringLiteral("3/4"), QStringLiteral("5/8"),
        QStringLiteral("1/2"),  QStringLiteral("3/8"), QStringLiteral("1/4"), QStringLiteral("1/8")};
    at(ControlId::DisplayDelayComboBox).items = DisplayDelayCaptions();
    at(ControlId::DisplayDelayComboBox).items[0] = tr("Hide");
    at(ControlId::NoiseRadioGroup).items = {tr("Off"), QStringLiteral("S3"), QStringLiteral("S5"),
                                            QStringLiteral("S7"), QStringLiteral("S9")};
    at(ControlId::SignalRadioGroup).items = {QStringLiteral("S1"), QStringLiteral("S2"), QStringLiteral("S3"),
                                             QStringLiteral("S4"), QStringLiteral("S5"), QStringLiteral("S6"),
                                             QStringLiteral("S7"), QStringLiteral("S9")};
    at(ControlId::SignalRadioGroup).value = 7;
    at(ControlId::QSBModeRadioGroup).items = {tr("Fast"), tr("Slow")};
    at(ControlId::QSBModeRadioGroup).visible = false;
    at(ControlId::QSBTypeRadioGroup).items = {tr("Shallow"), tr("Deep")};
    at(ControlId::QSBTypeRadioGroup).visible = false;

    at(ControlId::Label1).text = QStringLiteral("00:00");
    at(ControlId::Timer1).enabled = false;  // "enabled" is whether the timer runs
}

void ControlsModel::Changed(ControlId id) {
    if (listener_)
        listener_->ControlChanged(id);
}

void ControlsModel::SetEnabled(ControlId id, bool enabled) {
    auto& c = controls_[Index(id)];
    if (c.enabled == enabled)
        return;
    c.enabled = enabled;
    Changed(id);
}

void ControlsModel::SetVisible(ControlId id, bool visible) {
    auto& c = controls_[Index(id)];
    if (c.visible == visible)
        return;
    c.visible = visible;
    Changed(id);
}

void ControlsModel::SetChecked(ControlId id, bool checked) {
    auto& c = controls_[Index(id)];
    if (c.checked == checked)
        return;
    c.checked = checked;
    Changed(id);
}

void ControlsModel::SetValue(ControlId id, int value) {
    auto& c = controls_[Index(id)];
    if (c.maximum > c.minimum)
        value = std::clamp(value, c.minimum, c.maximum);
    else if (!c.items.isEmpty())
        value = std::clamp(value, 0, static_cast<int>(c.items.size()) - 1);
    if (c.value == value)
        return;
    c.value = value;
    Changed(id);
}

void ControlsModel::SetMaximum(ControlId id, int maximum) {
    auto& c = controls_[Index(id)];
    if (c.maximum == maximum)
        return;
    c.maximum = maximum;
    Changed(id);
}

void ControlsModel::SetText(ControlId id, const QString& text) {
    auto& c = controls_[Index(id)];
    if (c.text == text)
        return;
    c.text = text;
    Changed(id);
}

void ControlsModel::SetItems(ControlId id, const QStringList& items) {
    auto& c = controls_[Index(id)];
    if (c.items == items)
        return;
    c.items = items;
    Changed(id);
}

}  // namespace lumbrel
