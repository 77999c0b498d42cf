#include "engine/SignalRenderer.h"

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

SignalRenderer::SignalRenderer(RandomNumber& random, const SessionOptions& options,
                               const CharacterSet& characters, const SettingsStore& store)
    : SignalRenderer(random, options, characters.ActiveSet(), store) {}

SignalRenderer::SignalRenderer(RandomNumber& random, const SessionOptions& options,
                               const std::vector<const MorseCharacter*>& characters,
                               const SettingsStore& store)
    : random_(random),
      options_(options),
      characters_(characters),
      store_(store),
      switches_(random) {}

SignalSettings SignalRenderer::Settings() const {
    SignalSettings signal;
    signal.signalLevel = options_.Get(Option::Signal);
    signal.fading = options_.On(Option::Fading);
    signal.slowFading = options_.On(Option::SlowFading);
    signal.deepFading = options_.On(Option::DeepFading);
    signal.speedDither = options_.On(Option::SpeedStep);
    signal.speedDitherOffered = options_.SpeedStepOffered();
    signal.speedItem = options_.Get(Option::CharacterSpeed);
    signal.speedDitherSize = speedDitherSize_;
    signal.pitchDither = options_.On(Option::PitchDither);
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
    switches_.SetStraightKey(options_.On(Option::HandSent));
    // The device plays whole frames only. A slot stretched by the effective speed can
    // hold an odd number of values (a word space of seven odd units); its last value,
    // half a frame of closing silence, is left out rather than the buffer refused.
    int bytes = std::min<int>(code.SlotBytes(joined), static_cast<int>(capacityBytes));
    if (joined && endAtLastMark_)
        bytes = std::min(bytes, BytesThroughLastMark(code));
    bytes -= bytes % static_cast<int>(audio::kBlockAlign);
    const int noise = Impairments::NoiseSpan(options_.Get(Option::Noise));
    code.CopyOut(dest, noise, joined, amplitude, bytes / 2);
    return static_cast<std::uint32_t>(bytes);
}

}  // namespace lumbrel
