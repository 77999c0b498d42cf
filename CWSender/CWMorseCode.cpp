#include "CWSender/CWMorseCode.h"

#include <algorithm>
#include <cmath>

#include "morse/Random.h"
#include "morse/SampleFormat.h"

namespace lumbrel {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kRadiansPerHzFrame = kTwoPi / audio::kFrameRate;  // phase step of 1 Hz, per frame
constexpr int kBuzzHz = 25;
constexpr int kMaxLevel = 32767;

// Adds `addend` to `value`, saturating at -32000..32000.
inline std::int16_t AddClipped(std::int16_t value, long long addend) {
    const long long sum = value + addend;
    return static_cast<std::int16_t>(std::clamp<long long>(sum, -audio::kPeakValue, audio::kPeakValue));
}

// Takes 2π off a phase that exceeds 2π; far out-of-range phases (from absurd pitches)
// are brought back with fmod so that they never lose precision.
inline void WrapPhase(double& phase) {
    if (phase > kTwoPi) {
        phase -= kTwoPi;
        if (phase > kTwoPi)
            phase = std::fmod(phase, kTwoPi);
    } else if (phase < -kTwoPi) {
        phase = std::fmod(phase, kTwoPi);
    }
}

}  // namespace

CWSharedPhases& CWMorseCode::SharedPhases() {
    static CWSharedPhases phases;
    return phases;
}

int CWMorseCode::ClampSpeed(int speed) {
    return std::clamp(speed, kMinSpeed, kMaxSpeed);
}

int CWMorseCode::DotFramesAt(int speed) {
    return 52920000 / (ClampSpeed(speed) * 1000);
}

CWMorseCode::CWMorseCode(const CWCharacter& record, const CWRenderSettings& settings, RandomNumber& random)
    : random_(random),
      code_(record.code) {
    dotFrames_ = DotFramesAt(settings.speed);
    dashFrames_ = 3 * dotFrames_;
    frames_ = CWCharacterTable::Units(code_) * dotFrames_;
    amplitudeLevel_ = std::clamp(settings.amplitudeLevel, 0, kMaxLevel);
    pitch_ = settings.pitch;
    qrmToneAmplitude_ = settings.qrmToneAmplitude;
    qrmTonePitch_ = settings.qrmTonePitch;
    const int noise = std::clamp(settings.noise, 0, 9);
    noiseSpan_ = noise * 1600;
    noiseTop_ = static_cast<std::int16_t>(noise * 800);
    buzz_ = settings.buzz;
    staccato_ = settings.staccato;
    chirp_ = settings.chirp;
}

std::uint32_t CWMorseCode::Render(std::int16_t* dest, std::size_t capacityFrames) {
    renderFrames_ =
        static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(frames_), capacityFrames));
    if (dest == nullptr)
        renderFrames_ = 0;

    // Everything is built on the left channel (stride 2) and copied to the right at the
    // end: both channels always carry the same value.
    RenderBed(dest);
    AddSteadyTone(dest);

    position_ = 0;
    for (const char* p = code_; *p != '\0'; ++p) {
        switch (*p) {
            case '-':
                AddElement(dest, position_, dashFrames_);
                position_ += dashFrames_ + dotFrames_;
                break;
            case '.':
                AddElement(dest, position_, dotFrames_);
                position_ += 2 * dotFrames_;
                break;
            case ' ':
                position_ += 5 * dotFrames_;
                break;
            case '@':
                position_ += 2 * dotFrames_;
                break;
            default:
                break;
        }
    }
    position_ += 2 * dotFrames_;

    for (int f = 0; f < renderFrames_; ++f)
        dest[2 * f + 1] = dest[2 * f];
    return static_cast<std::uint32_t>(renderFrames_) * 4u;
}

void CWMorseCode::RenderBed(std::int16_t* dest) {
    if (noiseSpan_ == 0) {
        for (int f = 0; f < renderFrames_; ++f)
            dest[2 * f] = 0;
        return;
    }
    const int draws = noiseSpan_ / 64;  // Noise × 25
    for (int f = 0; f < renderFrames_; f += kNoiseHoldFrames) {
        noiseHold_ = static_cast<std::int16_t>(noiseTop_ - 64 * random_.RandomLong(draws));
        const int end = std::min(f + kNoiseHoldFrames, renderFrames_);
        for (int k = f; k < end; ++k)
            dest[2 * k] = noiseHold_;
    }
}

void CWMorseCode::AddSteadyTone(std::int16_t* dest) {
    if (qrmToneAmplitude_ == 0 || amplitudeLevel_ <= 0)
        return;
    double& phase = SharedPhases().qrmTonePhase;
    const double step = qrmTonePitch_ * kRadiansPerHzFrame;
    const double amplitude = qrmToneAmplitude_;
    for (int f = 0; f < renderFrames_; ++f) {
        const auto v = static_cast<long long>(std::sin(phase) * amplitude);  // truncates toward zero
        dest[2 * f] = AddClipped(dest[2 * f], v);
        phase += step;
        WrapPhase(phase);
    }
}

void CWMorseCode::AddElement(std::int16_t* dest, int start, int length) {
    const int level = amplitudeLevel_;
    const int step = std::max(1, level / 400);
    const int turn = staccato_ ? (7 * length) / 12 : length - level / step;
    const int chirpDivisor = std::max(1, length / 75);
    const int echoEnd = length - kEchoLimitFrames;            // frames i < echoEnd echo
    const int end = std::min(length, renderFrames_ - start);  // frames of the element inside the buffer
    double& buzzPhase = SharedPhases().buzzPhase;
    const double buzzStep = kBuzzHz * kRadiansPerHzFrame;

    int envelope = 0;
    double phase = 0.0;
    for (int i = 0; i < end; ++i) {
        double s = std::sin(phase);
        if (buzz_)
            s *= std::sin(buzzPhase);
        int v = static_cast<int>(envelope * s);  // the level before this frame's update

        if (i < turn) {
            if (envelope < level)
                envelope += step;
        } else if (envelope > 0) {
            envelope -= step;
        }

        v = std::clamp(v, -audio::kPeakValue, audio::kPeakValue);
        const int frame = start + i;
        dest[2 * frame] = AddClipped(dest[2 * frame], v);
        if (i < echoEnd) {
            for (const int tap : kEchoTaps) {
                const int target = frame + tap;
                if (target < renderFrames_)
                    dest[2 * target] = AddClipped(dest[2 * target], v);
            }
        }

        const int chirp = chirp_ ? i / chirpDivisor : 0;
        phase += (static_cast<double>(pitch_) + chirp) * kRadiansPerHzFrame;
        WrapPhase(phase);
        if (buzz_) {
            buzzPhase += buzzStep;
            WrapPhase(buzzPhase);
        }
    }
}

}  // namespace lumbrel
