#include "sending/Sidetone.h"

#include <algorithm>
#include <cmath>

#include "morse/SampleFormat.h"

namespace lumbrel {

namespace {
constexpr double kTwoPi = 6.283185307179586;
constexpr int kEnvelopePeak = 16000;
constexpr int kEnvelopeStep = 200;
}  // namespace

void Sidetone::MarkBegins(std::int64_t lengthFrames) noexcept {
    if (Silent())
        phase_ = 0.0;
    if (lengthFrames <= 0)
        held_ = true;
    else
        timedLeft_ = std::max(timedLeft_, lengthFrames - kEnvelopeFrames);
}

void Sidetone::Render(std::int16_t* out, std::int64_t frames) noexcept {
    const double step = pitchHz_ * kTwoPi / audio::kFrameRate;
    for (std::int64_t i = 0; i < frames; ++i) {
        const bool rising = held_ || timedLeft_ > 0;
        if (timedLeft_ > 0)
            --timedLeft_;
        if (envelope_ == 0 && !rising)
            continue;
        const int sample = static_cast<int>(std::sin(phase_) * envelope_) * volumePercent_ / 100;
        envelope_ = rising ? std::min(envelope_ + kEnvelopeStep, kEnvelopePeak)
                           : std::max(envelope_ - kEnvelopeStep, 0);
        phase_ += step;
        if (phase_ > kTwoPi)
            phase_ -= kTwoPi;
        for (int c = 0; c < audio::kChannels; ++c) {
            std::int16_t& value = out[2 * i + c];
            value =
                static_cast<std::int16_t>(std::clamp(value + sample, -audio::kPeakValue, audio::kPeakValue));
        }
    }
}

}  // namespace lumbrel
