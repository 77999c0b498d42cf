#include "session/TrainerSettings.h"

#include <algorithm>

namespace lumbrel {
namespace {

// A stored option: its key, its option (a switch holds 0 or 1) and whether restoring
// it runs the option's reaction.
struct MirroredOption {
    const keys::IntKey* key;
    Option option;
    bool reacts;
};

// In the order of the restore: "Letters" comes before the count reaction is attached,
// "Speed" before "Delay" (a speed change resets the effective speed), and "Display
// Delay" after "Display", which it replaces.
constexpr MirroredOption kMirrored[] = {
    {&keys::Pitch, Option::Pitch, false},
    {&keys::Letters, Option::CharacterCount, false},
    {&keys::Speed, Option::CharacterSpeed, true},
    {&keys::Delay, Option::EffectiveSpeed, true},
    {&keys::Display, Option::DisplayDelay, false},
    {&keys::DisplayDelay, Option::DisplayDelay, false},
    {&keys::NoiseLevel, Option::Noise, false},
    {&keys::Chirp, Option::Chirp, true},
    {&keys::StraightKey, Option::HandSent, true},
    {&keys::Qrm, Option::Qrm, true},
    {&keys::SignalLevel, Option::Signal, false},
    {&keys::Qsb, Option::Fading, true},
    {&keys::QsbMode, Option::SlowFading, false},
    {&keys::QsbType, Option::DeepFading, false},
    {&keys::SpeedStep, Option::SpeedStep, false},
    {&keys::PitchDither, Option::PitchDither, false},
    {&keys::VariableWeighting, Option::Weighting, true},
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

int MirroredValue(const keys::IntKey* key, const SessionOptions& options) {
    if (key == &keys::SingleWordOnly)
        return options.Get(Option::SingleWords);
    for (const MirroredOption& option : kMirrored)
        if (option.key == key)
            return options.Get(option.option);
    return key->def;
}

}  // namespace

void TrainerSettings::RestoreOptions(SessionOptions& options, const std::function<void(Option)>& react,
                                     const SessionOptions* given) const {
    for (const MirroredOption& option : kMirrored) {
        options.Set(option.option, given ? given->Get(option.option) : store_.Read(*option.key));
        if (option.reacts)
            react(option.option);
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

void TrainerSettings::Save(const SessionOptions& options) {
    for (const keys::IntKey* key : kSaveOrder)
        store_.Write(*key, key == &keys::FontSize ? sentFont_.pointSize : MirroredValue(key, options));
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
