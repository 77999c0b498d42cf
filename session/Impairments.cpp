#include "session/Impairments.h"

#include <algorithm>
#include <cmath>

#include "morse/Random.h"

namespace lumbrel {
namespace {
constexpr double kTwoPi = 6.283185307179586;
}

int Impairments::AmplitudePercent(const ControlsModel& controls) const
{
    const int level = controls.Value(ControlId::SignalRadioGroup) + 1;
    double a = level * 25 * 0.5;
    if (controls.Checked(ControlId::QSBCheckBox)) {
        const double phase = controls.Value(ControlId::QSBModeRadioGroup) == 0 ? QsbPhaseFast : QsbPhaseSlow;
        const double m = (1.0 - std::sin(phase)) * 0.5;
        const int depth = controls.Value(ControlId::QSBTypeRadioGroup) == 0 ? 30 : 70;
        a = a * (100 - depth * m) * 0.01;
    }
    return static_cast<int>(a);
}

int Impairments::NoiseSpan(const ControlsModel& controls)
{
    return controls.Value(ControlId::NoiseRadioGroup) * 3200;
}

void Impairments::RedrawDither(const ControlsModel& controls, RandomNumber& random, int speedDitherSize)
{
    if (controls.Enabled(ControlId::SpeedStepCheckBox) && controls.Checked(ControlId::SpeedStepCheckBox)) {
        const int size = (speedDitherSize == 1 && controls.Value(ControlId::RadioGroup1) >= 2) ? 10 : 5;
        SpeedDither = size - random.Next(size + 1);
    } else {
        SpeedDither = 0;
    }
    PitchDither = controls.Checked(ControlId::PitchDitherCheckBox) ? random.Next(50) : kNoPitchDither;
}

void Impairments::AdvanceFading()
{
    QsbPhaseFast += 0.05;
    if (QsbPhaseFast > kTwoPi)
        QsbPhaseFast -= kTwoPi;
    QsbPhaseSlow += 0.008;
    if (QsbPhaseSlow > kTwoPi)
        QsbPhaseSlow -= kTwoPi;
}

int Impairments::PermilleForIndex(int index)
{
    return 1000 - 125 * std::clamp(index, 0, 7);
}

}  // namespace lumbrel
