#pragma once
// What shapes each character queued: signal amplitude with fading, band-noise width,
// speed and pitch dither, and the effective-speed per-mille. Every value is taken when
// a character's buffer is filled and holds for that whole character. UI thread only.
#include "session/Controls.h"

namespace lumbrel {

class RandomNumber;

class Impairments {
public:
    static constexpr int kNoPitchDither = 25;

    // Percent of the renderer's peak: S1 12 ... S7 87, S9 100, lowered by fading.
    int AmplitudePercent(const ControlsModel& controls) const;
    // Noise width in values: index of "Noise Level" x 3200.
    static int NoiseSpan(const ControlsModel& controls);
    // New speed and pitch dither; speedDitherSize is the start-up copy of "Speed Dither Size".
    void RedrawDither(const ControlsModel& controls, RandomNumber& random, int speedDitherSize);
    // One tick of the 50 ms session timer.
    void AdvanceFading();

    // "Full" 1000, "7/8" 875, ... "1/8" 125 for items 0..7.
    static int PermilleForIndex(int index);

    int SpeedDither = 0;               // WPM taken off the character speed
    int PitchDither = kNoPitchDither;  // 0..49; the tone is pitch + 25 - PitchDither
    int EffectivePermille = 1000;
    double QsbPhaseFast = 0.0;         // radians
    double QsbPhaseSlow = 0.0;
};

}  // namespace lumbrel
