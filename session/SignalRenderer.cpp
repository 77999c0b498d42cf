#include "session/SignalRenderer.h"

#include <algorithm>

#include "morse/SampleFormat.h"

namespace lumbrel {

namespace {

// Bytes up to the end of the last mark of a rendered character, in whole frames; the
// joined slot for one without a mark (a word space).
int BytesThroughLastMark(const MorseCode& code) {
    const auto& samples = code.Samples();
    int end = std::min<int>(code.JoinedLength, static_cast<int>(samples.size()));
    while (end > 0 && samples[static_cast<std::size_t>(end - 1)] == 0)
        --end;
    return end == 0 ? code.SlotBytes(true) : 2 * (end + end % 2);
}

}  // namespace

SignalRenderer::SignalRenderer(RandomNumber& random, const ControlsModel& controls,
                               const CharacterSet& characters, const SettingsStore& store)
    : SignalRenderer(random, controls, characters.ActiveSet(), store) {}

SignalRenderer::SignalRenderer(RandomNumber& random, const ControlsModel& controls,
                               const std::vector<const MorseCharacter*>& characters,
                               const SettingsStore& store)
    : random_(random),
      controls_(controls),
      characters_(characters),
      store_(store),
      switches_(random) {}

SignalSettings SignalRenderer::Settings() const {
    SignalSettings signal;
    signal.signalLevel = controls_.Value(ControlId::SignalRadioGroup);
    signal.fading = controls_.Checked(ControlId::QSBCheckBox);
    signal.slowFading = controls_.Value(ControlId::QSBModeRadioGroup) != 0;
    signal.deepFading = controls_.Value(ControlId::QSBTypeRadioGroup) != 0;
    signal.speedDither = controls_.Checked(ControlId::SpeedStepCheckBox);
    signal.speedDitherOffered = controls_.Enabled(ControlId::SpeedStepCheckBox);
    signal.speedItem = controls_.Value(ControlId::RadioGroup1);
    signal.speedDitherSize = speedDitherSize_;
    signal.pitchDither = controls_.Checked(ControlId::PitchDitherCheckBox);
    return signal;
}

bool SignalRenderer::Sendable(int position) const {
    return position >= 0 && position < static_cast<int>(characters_.size());
}

QString SignalRenderer::Display(int position) const {
    return characters_[static_cast<std::size_t>(position)]->display;
}

std::uint32_t SignalRenderer::Render(int position, bool joined, std::int16_t* dest,
                                     std::uint32_t capacityBytes) {
    const MorseCharacter& character = *characters_[static_cast<std::size_t>(position)];
    const int amplitude = impairments_.AmplitudePercent(Settings());
    const int permille = (randomGroups_ || store_.Read(keys::EffectiveMode) != 0 || position == kWordSpace)
                             ? impairments_.EffectivePermille
                             : 1000;
    // A slow speed less the dither still plays as timed.
    const int wpm = std::max(wpm_ - impairments_.SpeedDither, MorseCode::kSlowestWpm);
    MorseCode code(switches_, character, wpm, pitch_ + 25 - impairments_.PitchDither, permille);
    switches_.SetStraightKey(controls_.Checked(ControlId::HandSentCheckBox));
    // The device plays whole frames only. A slot stretched by the effective speed can
    // hold an odd number of values (a word space of seven odd units); its last value,
    // half a frame of closing silence, is left out rather than the buffer refused.
    int bytes = std::min<int>(code.SlotBytes(joined), static_cast<int>(capacityBytes));
    if (joined && endAtLastMark_)
        bytes = std::min(bytes, BytesThroughLastMark(code));
    bytes -= bytes % static_cast<int>(audio::kBlockAlign);
    const int noise = Impairments::NoiseSpan(controls_.Value(ControlId::NoiseRadioGroup));
    code.CopyOut(dest, noise, joined, amplitude, bytes / 2);
    return static_cast<std::uint32_t>(bytes);
}

}  // namespace lumbrel
