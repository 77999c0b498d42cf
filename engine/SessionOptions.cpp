#include "engine/SessionOptions.h"

#include <algorithm>

namespace lumbrel {

namespace {

// A choice is clamped to its range; a switch is on for any value but 0.
struct Range {
    int def;
    int minimum;
    int maximum;
    bool isSwitch = false;
};

constexpr Range kSwitch{0, 0, 1, true};

// In the order of Option.
constexpr Range kRanges[kOptionCount] = {
    {650, 350, 1500},                    // Pitch
    {2, 2, 64},                          // CharacterCount (maximum: the character list)
    {0, 0, kCharacterSpeedChoices - 1},  // CharacterSpeed
    {0, 0, 7},                           // EffectiveSpeed
    {0, 0, 12},                          // DisplayDelay
    {0, 0, 4},                           // Noise
    {7, 0, 7},                           // Signal
    kSwitch,                             // Fading
    {0, 0, 1},                           // SlowFading
    {0, 0, 1},                           // DeepFading
    kSwitch,                             // Chirp
    kSwitch,                             // HandSent
    kSwitch,                             // Qrm
    kSwitch,                             // SpeedStep
    kSwitch,                             // PitchDither
    kSwitch,                             // Weighting
    kSwitch,                             // SingleWords
};

}  // namespace

const QStringList& DisplayDelayCaptions() {
    static const QStringList captions = {QStringLiteral("Hide"), QStringLiteral("0"), QStringLiteral("1"),
                                         QStringLiteral("2"),    QStringLiteral("3"), QStringLiteral("4"),
                                         QStringLiteral("5"),    QStringLiteral("6"), QStringLiteral("7"),
                                         QStringLiteral("8"),    QStringLiteral("9"), QStringLiteral("10"),
                                         QStringLiteral("20")};
    return captions;
}

SessionOptions::SessionOptions() {
    for (int k = 0; k < kOptionCount; ++k)
        values_[static_cast<std::size_t>(k)] = kRanges[k].def;
}

SessionOptions& SessionOptions::operator=(const SessionOptions& other) {
    values_ = other.values_;
    countMaximum_ = other.countMaximum_;
    return *this;
}

int SessionOptions::Minimum(Option option) const {
    return kRanges[Index(option)].minimum;
}

int SessionOptions::Maximum(Option option) const {
    return option == Option::CharacterCount ? countMaximum_ : kRanges[Index(option)].maximum;
}

void SessionOptions::Set(Option option, int value) {
    value = kRanges[Index(option)].isSwitch
                ? (value != 0 ? 1 : 0)
                : std::clamp(value, Minimum(option), std::max(Minimum(option), Maximum(option)));
    int& field = values_[static_cast<std::size_t>(Index(option))];
    if (field == value)
        return;
    field = value;
    if (listener_)
        listener_->OptionChanged(option);
}

void SessionOptions::SetCharacterCountMaximum(int maximum) {
    if (countMaximum_ != maximum) {
        countMaximum_ = maximum;
        if (listener_)
            listener_->OptionChanged(Option::CharacterCount);
    }
    if (Get(Option::CharacterCount) > maximum)
        Set(Option::CharacterCount, maximum);
}

}  // namespace lumbrel
