#include "ui/SessionBinding.h"

namespace lumbrel {

namespace {

constexpr OptionBinding kBindings[] = {
    {ControlId::PitchSpinner, Option::Pitch, false},
    {ControlId::CharacterCountSpinEdit, Option::CharacterCount, false},
    {ControlId::RadioGroup1, Option::CharacterSpeed, false},
    {ControlId::CodeSpeedRadioGroup, Option::EffectiveSpeed, false},
    {ControlId::DisplayDelayComboBox, Option::DisplayDelay, false},
    {ControlId::NoiseRadioGroup, Option::Noise, false},
    {ControlId::SignalRadioGroup, Option::Signal, false},
    {ControlId::QSBCheckBox, Option::Fading, true},
    {ControlId::QSBModeRadioGroup, Option::SlowFading, false},
    {ControlId::QSBTypeRadioGroup, Option::DeepFading, false},
    {ControlId::ChirpCheckBox, Option::Chirp, true},
    {ControlId::HandSentCheckBox, Option::HandSent, true},
    {ControlId::QRMCheckBox, Option::Qrm, true},
    {ControlId::SpeedStepCheckBox, Option::SpeedStep, true},
    {ControlId::PitchDitherCheckBox, Option::PitchDither, true},
    {ControlId::WeightingCheckBox, Option::Weighting, true},
    {ControlId::SingleWordsOnly1, Option::SingleWords, true},
};

// The commands that begin a session; Stop is offered when they are not.
constexpr ControlId kBeginCommands[] = {
    ControlId::StartButton, ControlId::ToolButton3, ControlId::SendFile,    ControlId::CommonWords,
    ControlId::QSOFiles,    ControlId::ToolButton6, ControlId::ToolButton7, ControlId::ToolButton8};
constexpr ControlId kStopCommands[] = {ControlId::StopButton, ControlId::ToolButton4};

// The learning tools with the tool-bar separators between them.
constexpr ControlId kLearningTools[] = {
    ControlId::SendFile,     ControlId::ToolButton6,  ControlId::ToolButton7, ControlId::ToolButton8,
    ControlId::ToolButton12, ControlId::ToolButton13, ControlId::ToolButton14};

}  // namespace

std::optional<OptionBinding> BindingOf(ControlId control) {
    for (const OptionBinding& binding : kBindings)
        if (binding.control == control)
            return binding;
    return std::nullopt;
}

void ShowOption(ControlsModel& controls, const SessionOptions& options, Option option) {
    for (const OptionBinding& b : kBindings) {
        if (b.option != option)
            continue;
        if (b.checkBox) {
            controls.SetChecked(b.control, options.On(option));
            continue;
        }
        if (option == Option::CharacterCount)
            controls.SetMaximum(b.control, options.Maximum(option));
        controls.SetValue(b.control, options.Get(option));
    }
}

void ShowReadout(ControlsModel& controls, const SessionReadouts& readouts, Readout readout) {
    switch (readout) {
        case Readout::Clock:
            controls.SetText(ControlId::Label1, readouts.Clock());
            break;
        case Readout::Status:
            controls.SetText(ControlId::StatusBar1, readouts.Status());
            break;
        case Readout::TrayWord:
            controls.SetText(ControlId::TrayIcon1, readouts.TrayWord());
            break;
        case Readout::EffectiveSpeeds:
            controls.SetItems(ControlId::CodeSpeedRadioGroup, readouts.EffectiveSpeeds());
            break;
        case Readout::EffectiveSpeedNote:
            controls.SetText(ControlId::CodeSpeedRadioGroup, readouts.EffectiveSpeedNote());
            break;
        case Readout::Commands:
            for (ControlId id : kBeginCommands)
                controls.SetEnabled(id, readouts.CommandsEnabled());
            for (ControlId id : kStopCommands)
                controls.SetEnabled(id, !readouts.CommandsEnabled());
            break;
        case Readout::CharacterCountEditable:
            controls.SetEnabled(ControlId::CharacterCountSpinEdit, readouts.CharacterCountEditable());
            break;
        case Readout::ClockRunning:
            controls.SetEnabled(ControlId::Timer1, readouts.ClockRunning());
            break;
        case Readout::SpeedStepOffered:
            controls.SetEnabled(ControlId::SpeedStepCheckBox, readouts.SpeedStepOffered());
            break;
        case Readout::FadingOptionsShown:
            controls.SetVisible(ControlId::QSBModeRadioGroup, readouts.FadingOptionsShown());
            controls.SetVisible(ControlId::QSBTypeRadioGroup, readouts.FadingOptionsShown());
            break;
        case Readout::LearningTools:
            for (ControlId id : kLearningTools)
                controls.SetVisible(id, readouts.LearningToolsShown());
            if (!readouts.LearningToolsShown()) {
                controls.SetVisible(ControlId::CommonWords, false);
                controls.SetVisible(ControlId::QSOFiles, false);
            }
            break;
    }
}

void ShowSession(ControlsModel& controls, const SessionOptions& options, const SessionReadouts& readouts) {
    for (int k = 0; k < kOptionCount; ++k)
        ShowOption(controls, options, static_cast<Option>(k));
    for (Readout r : {Readout::Clock, Readout::Status, Readout::TrayWord, Readout::EffectiveSpeeds,
                      Readout::EffectiveSpeedNote, Readout::Commands, Readout::CharacterCountEditable,
                      Readout::ClockRunning, Readout::SpeedStepOffered, Readout::FadingOptionsShown})
        ShowReadout(controls, readouts, r);
}

}  // namespace lumbrel
