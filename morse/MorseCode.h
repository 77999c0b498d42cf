#pragma once
#include <cstdint>
#include <limits>
#include <vector>

#include "morse/MorseCharacter.h"
#include "morse/Random.h"

namespace lumbrel {

// Switches and accumulators shared by every MorseCode object of one trainer.
// Nothing resets them except the callers that own them. UI thread only.
struct RendererState {
    explicit RendererState(RandomNumber& rng) : random(rng) {}

    RandomNumber& random;  // RandomLong draws for fist, weighting and noise
    bool StraightKeyOn = false;
    int FistSetting = 0;  // 0 good, 1 bad
    bool VariableWeightingOn = false;
    bool ChirpOn = false;
    bool DriftOn = false;
    int DriftOffset = 0;  // five times the drift in hertz
    int NoiseHold = 0;    // the noise draw currently held by CopyOut

    void SetStraightKey(bool on) { StraightKeyOn = on; }
    void SetFist(int fist) { FistSetting = fist; }
    void SetVariableWeighting(bool on) { VariableWeightingOn = on; }
    void SetChirp(bool on) { ChirpOn = on; }
    void SetDrift(bool on) {
        DriftOn = on;
        DriftOffset = 0;
    }
    void ResetDrift() { DriftOffset = 0; }
};

// Renders one character into values (16-bit, two per frame) at construction,
// then copies its slot out with amplitude and noise. Lives for one buffer.
//
//   "e" at 20 WPM, full speed:
//   |<- mark 2646 frames ->|<---- gap: 1 unit + 2 closing units ---->|
//   |/\/\/\/\/\/\/\/\/\/\/\|.........................................|
//   |<------------------ slot: U = 4 units, 10584 frames ------------>|
class MorseCode {
public:
    static constexpr int kStretchCap = 19000;  // longest stretched unit, values
    // The slowest speed rendered as timed: slower, a dot would outlast the gaps around
    // it, which the stretch cap holds at kStretchCap.
    static constexpr int kSlowestWpm = 6;
    static_assert(2 * 44100 * 12 / 10 / kSlowestWpm <= kStretchCap);

    // wpm below 1 counts as 1; effectivePermille 0 counts as 100, and is clamped to 1..1000.
    MorseCode(RendererState& state, const MorseCharacter& record, int wpm, int toneHz, int effectivePermille);

    // Whether a unit stretched to effectivePermille of wpm reaches kStretchCap, so that
    // the effective speed comes out faster than asked (the arguments count as above).
    static bool StretchCapped(int wpm, int effectivePermille);
    // One unit at wpm, and that unit stretched to effectivePermille within the cap, in
    // values (the arguments count as above).
    static int UnitValues(int wpm);
    static int StretchedUnitValues(int wpm, int effectivePermille);

    MorseCode(const MorseCode&) = delete;
    MorseCode& operator=(const MorseCode&) = delete;

    // Writes the slot (or the joined slot) into dest, which must hold SlotBytes(joined)/2
    // values: each value scaled by amplitudePercent, with noise of width noiseSpan added
    // and clamped to -32000..32000. At most capacityValues values are written; a slot
    // longer than that is cut short.
    void CopyOut(std::int16_t* dest, int noiseSpan, bool joined, int amplitudePercent,
                 int capacityValues = std::numeric_limits<int>::max());

    // Bytes the caller plays and records.
    int SlotBytes(bool joined) const { return 2 * (joined ? JoinedLength : SlotLength); }

    const MorseCharacter& GetRecord() const { return *Record; }

    // The rendered character; the first SlotLength values are the slot.
    const std::vector<std::int16_t>& Samples() const { return samples_; }

    int Wpm = 1;
    int ToneHz = 0;
    const MorseCharacter* Record = nullptr;
    int DotLength = 0;     // values
    int DashLength = 0;    // values
    int SlotLength = 0;    // values
    int JoinedLength = 0;  // values
    int Weight = 50;       // percent
    int Position = 0;      // write position while rendering, values

private:
    void RenderCode();
    void AddDot();
    void AddDash();
    void AddGap();
    void AddTone(int length);
    int VaryLength(int length, int percent);
    void VaryElement(int& mark, int& gap);

    RendererState& state_;
    std::vector<std::int16_t> samples_;
};

}  // namespace lumbrel
