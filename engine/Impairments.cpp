#include "engine/Impairments.h"

#include <algorithm>
#include <cmath>

#include "morse/Random.h"

namespace lumbrel {
namespace {
constexpr double kTwoPi = 6.283185307179586;
}

int Impairments::AmplitudePercent(const SignalSettings& signal) const {
    const int level = signal.signalLevel + 1;
    double a = level * 25 * 0.5;
    if (signal.fading) {
        const double phase = signal.slowFading ? QsbPhaseSlow : QsbPhaseFast;
        const double m = (1.0 - std::sin(phase)) * 0.5;
        const int depth = signal.deepFading ? 70 : 30;
        a = a * (100 - depth * m) * 0.01;
    }
    return static_cast<int>(a);
}

int Impairments::NoiseSpan(int noiseLevel) {
    return noiseLevel * 3200;
}

void Impairments::RedrawDither(const SignalSettings& signal, RandomNumber& random) {
    if (signal.speedDitherOffered && signal.speedDither) {
        const int size = (signal.speedDitherSize == 1 && signal.speedItem >= 2) ? 10 : 5;
        SpeedDither = size - random.Next(size + 1);
    } else {
        SpeedDither = 0;
    }
    PitchDither = signal.pitchDither ? random.Next(50) : kNoPitchDither;
}

void Impairments::AdvanceFading() {
    QsbPhaseFast += 0.05;
    if (QsbPhaseFast > kTwoPi)
        QsbPhaseFast -= kTwoPi;
    QsbPhaseSlow += 0.008;
    if (QsbPhaseSlow > kTwoPi)
        QsbPhaseSlow -= kTwoPi;
}

int Impairments::PermilleForIndex(int index) {
    return 1000 - 125 * std::clamp(index, 0, 7);
}

}  // namespace lumbrel
