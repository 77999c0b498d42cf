#include "morse/MorseCode.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "morse/SampleFormat.h"

namespace lumbrel {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr int kEnvelopePeak = 16000;  // envelope ceiling
constexpr int kEnvelopeStep = 200;    // envelope change per frame
constexpr int kEnvelopeFrames = 80;   // frames of rise and of fall (1.8 ms)

// Units a code occupies: each element with its following one-unit gap, five more
// for a word space, and two for the gap that closes the character.
int CodeUnits(const QByteArray& code) {
    int units = 0;
    for (const char symbol : code) {
        switch (symbol) {
            case '.':
                units += 2;
                break;
            case '-':
                units += 4;
                break;
            case ' ':
                units += 5;
                break;
            default:
                break;  // unknown symbols take no time
        }
    }
    return units + 2;
}

// 0 means "not set" and counts as 1/10 of full speed; anything else is kept within
// 1..1000 so the stretch never divides by zero or shortens a unit.
int UsablePermille(int effectivePermille) {
    return effectivePermille == 0 ? 100 : std::clamp(effectivePermille, 1, 1000);
}

// Whole milliseconds first, then whole frames, then two values per frame.
int DotValues(int wpm) {
    return ((1200 / std::max(wpm, 1)) * audio::kFrameRate / 1000) * 2;
}

}  // namespace

int MorseCode::UnitValues(int wpm) {
    return DotValues(wpm);
}

int MorseCode::StretchedUnitValues(int wpm, int effectivePermille) {
    return std::min(DotValues(wpm) * 1000 / UsablePermille(effectivePermille), kStretchCap);
}

bool MorseCode::StretchCapped(int wpm, int effectivePermille) {
    return DotValues(wpm) * 1000 / UsablePermille(effectivePermille) >= kStretchCap;
}

MorseCode::MorseCode(RendererState& state, const MorseCharacter& record, int wpm, int toneHz,
                     int effectivePermille)
    : Wpm(std::max(wpm, 1)),
      ToneHz(toneHz),
      Record(&record),
      state_(state) {
    effectivePermille = UsablePermille(effectivePermille);
    DotLength = DotValues(Wpm);
    DashLength = 3 * DotLength;

    const int units = CodeUnits(record.code);
    const int stretchedUnit = std::min(DotLength * 1000 / effectivePermille, kStretchCap);
    // The stretched unit can be an odd number of values; a slot of an odd number of
    // units would then end half-way through a stereo frame, which no device accepts
    // and which swaps the channels of everything after it in a file. The last odd
    // value of silence is dropped.
    SlotLength = units * stretchedUnit / 2 * 2;
    JoinedLength = (units - 2) * DotLength;

    // Straight-key variation can carry marks past the slot; the spare room keeps them
    // inside the array, and AddTone guards the end anyway.
    samples_.assign(static_cast<std::size_t>(8) * static_cast<std::size_t>(SlotLength), 0);

    Weight = state_.VariableWeightingOn ? state_.random.RandomLong(40) + 30 : 50;

    RenderCode();
}

void MorseCode::RenderCode() {
    Position = 0;
    for (const char symbol : Record->code) {
        switch (symbol) {
            case '-':
                AddDash();
                break;
            case '.':
                AddDot();
                break;
            case ' ':
                for (int i = 0; i < 5; ++i)
                    AddGap();
                break;
            default:
                break;
        }
    }
    AddGap();
    AddGap();
    // Whatever length the marks reached, the slot is what gets played.
    Position = SlotLength;
}

int MorseCode::VaryLength(int length, int percent) {
    const int r = state_.random.RandomLong(9);
    if (r >= 7)
        return length * (100 + percent) / 100;
    if (r <= 3)
        return length * (100 - percent) / 100;
    return length;
}

// With the straight key, a mark and then its gap each get a draw of the fist's size.
void MorseCode::VaryElement(int& mark, int& gap) {
    if (!state_.StraightKeyOn)
        return;
    const int percent = state_.FistSetting == 1 ? 30 : 20;
    mark = VaryLength(mark, percent);
    gap = VaryLength(gap, percent);
}

void MorseCode::AddDot() {
    int mark = DotLength;
    int gap = DotLength;
    VaryElement(mark, gap);
    if (state_.VariableWeightingOn) {
        const int total = mark + gap;
        mark = total * Weight / 100;
        gap = total - mark;
    }
    AddTone(mark);
    Position += mark + gap;
}

void MorseCode::AddDash() {
    int mark = DashLength;
    int gap = DotLength;
    VaryElement(mark, gap);
    if (state_.VariableWeightingOn) {
        // A heavier weight shortens the dash's mark by as much as it lengthens a dot's;
        // the correction is taken from the unvaried dot so mark plus gap stays put.
        const int total = mark + gap;
        mark = mark + DotLength / 2 - DotLength * Weight / 100;
        gap = total - mark;
    }
    AddTone(mark);
    Position += mark + gap;
}

void MorseCode::AddGap() {
    int length = DotLength;
    if (state_.StraightKeyOn)
        length = VaryLength(length, 20);
    Position += length;  // the values are already zero
}

void MorseCode::AddTone(int length) {
    const int frames = length / 2;
    const int f = ToneHz;
    const int fallStart = frames - kEnvelopeFrames;  // first frame of the fall
    // The chirp climbs one hertz every length/100 frames, about 50 Hz over the mark;
    // a mark too short for that (under 100 values, so silent anyway) climbs one hertz
    // per frame instead of dividing by zero.
    const int chirpDivisor = std::max(length / 100, 1);
    const auto size = static_cast<long long>(samples_.size());

    int envelope = 0;
    double phase = 0.0;
    for (int i = 0; i < frames; ++i) {
        int amplitude = envelope;
        if (state_.DriftOn) {
            // Fade once the tone has drifted far: from 256 Hz on the amplitude is divided
            // by (drift - 250) / 10, at least 1, so it halves at 270 Hz, thirds at 280 Hz.
            const int driftHz = std::abs(state_.DriftOffset / 5);
            if (driftHz >= 256) {
                int k = (driftHz - 250) / 10;
                if (k == 0)
                    k = 1;
                amplitude = envelope / k;
            }
        }

        int sample = static_cast<int>(std::sin(phase) * amplitude);  // truncates toward 0

        if (i < fallStart)
            envelope = std::min(envelope + kEnvelopeStep, kEnvelopePeak);
        else
            envelope = std::max(envelope - kEnvelopeStep, 0);

        sample = std::clamp(sample, -audio::kPeakValue, audio::kPeakValue);
        const long long left = static_cast<long long>(Position) + 2LL * i;
        if (left >= 0 && left + 1 < size) {
            samples_[static_cast<std::size_t>(left)] = static_cast<std::int16_t>(sample);
            samples_[static_cast<std::size_t>(left + 1)] = static_cast<std::int16_t>(sample);
        }

        int frequency = f;
        if (state_.ChirpOn)
            frequency += i / chirpDivisor;
        if (state_.DriftOn)
            frequency += state_.DriftOffset / 5;

        phase += frequency * kTwoPi * (1.0 / audio::kFrameRate);
        if (phase > kTwoPi) {
            phase -= kTwoPi;
            // One fifth of a hertz per cycle, whether or not drift is on: low tones
            // rise toward 2000 Hz, high tones fall toward 50 Hz.
            if (f > 750) {
                if (f + state_.DriftOffset / 5 > 50)
                    --state_.DriftOffset;
            } else {
                if (f + state_.DriftOffset / 5 < 2000)
                    ++state_.DriftOffset;
            }
        }
    }
}

void MorseCode::CopyOut(std::int16_t* dest, int noiseSpan, bool joined, int amplitudePercent,
                        int capacityValues) {
    const int n = joined ? JoinedLength : SlotLength;
    const int writable = std::min(n, std::max(capacityValues, 0));
    const int half = noiseSpan / 2;
    state_.NoiseHold = half;  // no noise until the first draw of this call

    for (int j = 0; j < writable; ++j) {
        const auto at = static_cast<std::size_t>(j);
        const int rendered = at < samples_.size() ? samples_[at] : 0;
        int v = rendered * amplitudePercent / 100;
        if (noiseSpan != 0) {
            // Draw points count back from the end: every 16th value, the last one
            // included, so the values before the first draw carry no noise.
            if ((n - 1 - j) % 16 == 0)
                state_.NoiseHold = state_.random.RandomLong(noiseSpan);
            v += half - state_.NoiseHold;
        }
        dest[j] = static_cast<std::int16_t>(std::clamp(v, -audio::kPeakValue, audio::kPeakValue));
    }
}

}  // namespace lumbrel
