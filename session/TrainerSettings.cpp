#include "session/TrainerSettings.h"

#include <algorithm>

namespace lumbrel {
namespace {

// An option the window's controls mirror: its key, its control (a check box holds
// 0 or 1, any other control its value) and whether restoring it runs the control's
// reaction.
struct MirroredOption {
    const keys::IntKey* key;
    ControlId control;
    bool checkBox;
    bool reacts;
};

// In the order of the restore: "Letters" comes before the count reaction is attached,
// "Speed" before "Delay" (a speed change resets the effective speed), and "Display
// Delay" after "Display", which it replaces.
constexpr MirroredOption kMirrored[] = {
    {&keys::Pitch, ControlId::PitchSpinner, false, false},
    {&keys::Letters, ControlId::CharacterCountSpinEdit, false, false},
    {&keys::Speed, ControlId::RadioGroup1, false, true},
    {&keys::Delay, ControlId::CodeSpeedRadioGroup, false, true},
    {&keys::Display, ControlId::DisplayDelayComboBox, false, false},
    {&keys::DisplayDelay, ControlId::DisplayDelayComboBox, false, false},
    {&keys::NoiseLevel, ControlId::NoiseRadioGroup, false, false},
    {&keys::Chirp, ControlId::ChirpCheckBox, true, true},
    {&keys::StraightKey, ControlId::HandSentCheckBox, true, true},
    {&keys::Qrm, ControlId::QRMCheckBox, true, true},
    {&keys::SignalLevel, ControlId::SignalRadioGroup, false, false},
    {&keys::Qsb, ControlId::QSBCheckBox, true, true},
    {&keys::QsbMode, ControlId::QSBModeRadioGroup, false, false},
    {&keys::QsbType, ControlId::QSBTypeRadioGroup, false, false},
    {&keys::SpeedStep, ControlId::SpeedStepCheckBox, true, false},
    {&keys::PitchDither, ControlId::PitchDitherCheckBox, true, false},
    {&keys::VariableWeighting, ControlId::WeightingCheckBox, true, true},
};

// The order of the save, the mirrored options with the font size and "Single Word
// Only" among them.
constexpr const keys::IntKey* kSaveOrder[] = {
    &keys::Letters,
    &keys::Speed,
    &keys::Delay,
    &keys::Pitch,
    &keys::Display,
    &keys::FontSize,
    &keys::DisplayDelay,
    &keys::NoiseLevel,
    &keys::Chirp,
    &keys::StraightKey,
    &keys::Qrm,
    &keys::SignalLevel,
    &keys::Qsb,
    &keys::QsbMode,
    &keys::QsbType,
    &keys::SpeedStep,
    &keys::PitchDither,
    &keys::VariableWeighting,
    &keys::SingleWordOnly,
};

int MirroredValue(const keys::IntKey* key, const ControlsModel& controls) {
    if (key == &keys::SingleWordOnly)
        return controls.Checked(ControlId::SingleWordsOnly1) ? 1 : 0;
    for (const MirroredOption& option : kMirrored)
        if (option.key == key)
            return option.checkBox ? (controls.Checked(option.control) ? 1 : 0)
                                   : controls.Value(option.control);
    return key->def;
}

}  // namespace

void TrainerSettings::RestoreControls(ControlsModel& controls,
                                      const std::function<void(ControlId)>& react) const {
    for (const MirroredOption& option : kMirrored) {
        const int stored = store_.Read(*option.key);
        if (option.checkBox)
            controls.SetChecked(option.control, stored != 0);
        else
            controls.SetValue(option.control, stored);
        if (option.reacts)
            react(option.control);
    }
}

void TrainerSettings::RestoreCopies() {
    copies_.callback = store_.Read(keys::Callback);
    copies_.port = store_.Read(keys::Port);
    copies_.speedDitherSize = store_.Read(keys::SpeedDitherSize);
    copies_.straightKeyFist = store_.Read(keys::StraightKeyFist);
    copies_.singleWordOnly = store_.Read(keys::SingleWordOnly) != 0;
    copies_.commonWordFile = store_.Read(keys::CommonWordFile);
    copies_.qsoFile = store_.Read(keys::QsoFile);
    ReloadSetupCopies();
}

void TrainerSettings::ReloadSetupCopies() {
    copies_.useMfj = store_.Read(keys::UseMfj) != 0;
    copies_.favourRecent = store_.Read(keys::FavourRecent) != 0;
    copies_.wordFilter = store_.Read(keys::WordFilter);
    copies_.maxWordLength = store_.Read(keys::MaxWordLength);
}

int TrainerSettings::StoredSessionMinutes() const {
    return std::clamp(store_.Read(keys::Session), 1, 60);
}

void TrainerSettings::Save(const ControlsModel& controls) {
    for (const keys::IntKey* key : kSaveOrder)
        store_.Write(*key, key == &keys::FontSize ? sentFont_.pointSize : MirroredValue(key, controls));
    store_.Sync();
}

void TrainerSettings::SetCurrentListFile(bool words, const QString& storedName) {
    (words ? copies_.commonWordFile : copies_.qsoFile) = storedName;
    store_.Write(words ? keys::CommonWordFile : keys::QsoFile, storedName);
}

void TrainerSettings::ReadSentFont() {
    sentFont_.pointSize = store_.Read(keys::FontSize);
    sentFont_.face = store_.Read(keys::FontName);
}

void TrainerSettings::SetSentFont(const QString& face, int pointSize) {
    sentFont_.face = face;
    sentFont_.pointSize = pointSize;
    store_.Write(keys::FontSize, pointSize);
    store_.Write(keys::FontName, face);
}

}  // namespace lumbrel
