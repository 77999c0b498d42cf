#pragma once
// What shapes each character queued: signal amplitude with fading, band-noise width,
// speed and pitch dither, and the effective-speed per-mille. Every value is taken when
// a character's buffer is filled and holds for that whole character. UI thread only.

namespace lumbrel {

class RandomNumber;

// The options that shape the signal, as they stand when a character is queued.
struct SignalSettings {
    int signalLevel = 0;              // "Signal" item: S1, S3, S5, S7, S9 and above (0..7)
    bool fading = false;              // QSB on
    bool slowFading = false;          // the slow fading cycle rather than the fast one
    bool deepFading = false;          // fades by 70 % rather than by 30 %
    bool speedDither = false;         // "Speed Dither" checked
    bool speedDitherOffered = false;  // and usable: above 15 WPM, at full speed
    int speedItem = 0;                // the character-speed item: 15 WPM and 5 more per item
    int speedDitherSize = 0;          // the start-up copy of "Speed Dither Size"
    bool pitchDither = false;         // "Pitch Dither" checked
};

class Impairments {
public:
    static constexpr int kNoPitchDither = 25;

    // Percent of the renderer's peak: S1 12 ... S7 87, S9 100, lowered by fading.
    int AmplitudePercent(const SignalSettings& signal) const;
    // Noise width in values: the "Noise Level" item x 3200.
    static int NoiseSpan(int noiseLevel);
    // New speed and pitch dither.
    void RedrawDither(const SignalSettings& signal, RandomNumber& random);
    // One tick of the 50 ms session timer.
    void AdvanceFading();

    // "Full" 1000, "7/8" 875, ... "1/8" 125 for items 0..7.
    static int PermilleForIndex(int index);

    int SpeedDither = 0;               // WPM taken off the character speed
    int PitchDither = kNoPitchDither;  // 0..49; the tone is pitch + 25 - PitchDither
    int EffectivePermille = 1000;
    double QsbPhaseFast = 0.0;  // radians
    double QsbPhaseSlow = 0.0;
};

}  // namespace lumbrel
