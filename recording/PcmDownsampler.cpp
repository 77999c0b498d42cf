#include "recording/PcmDownsampler.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace lumbrel {
namespace {

// Half-band filters: every even tap but the centre is zero, so only the odd taps are
// listed, from the centre outward; with the centre they sum to 1.
// 44100 -> 22050 Hz: the classic 11-tap half-band, (3, 0, -25, 0, 150, 256, ...) / 512.
constexpr std::array<float, 3> kFirstTaps = {150.0f / 512, -25.0f / 512, 3.0f / 512};
// 22050 -> 11025 Hz: 27 taps, a Kaiser-windowed sinc (beta 6) rounded to 1/32768.
constexpr std::array<float, 7> kSecondTaps = {10265.0f / 32768, -3000.0f / 32768, 1372.0f / 32768,
                                              -635.0f / 32768,  259.0f / 32768,   -81.0f / 32768,
                                              12.0f / 32768};
constexpr float kCentre = 0.5f;

constexpr std::size_t TapCount(bool second) {
    return second ? kSecondTaps.size() : kFirstTaps.size();
}

// Output n of a halving, split into its even input values e (x[2n] is e[n]) and odd
// ones o (x[2n + 1] is o[n]):
//   y[n] = centre x[2n] + sum over k of tap[k] (x[2n - 2k - 1] + x[2n + 2k + 1])
//        = centre e[n] + sum over k of tap[k] (o[n - k - 1] + o[n + k])
// so every term runs through its array in steps of one and the loop vectorises.
// `e` and `o` point at the first output's values; `count` outputs go to `y`.
template <const auto& kTaps>
void HalfBand(const float* e, const float* o, std::ptrdiff_t count, float* y) {
    constexpr auto kCount = static_cast<std::ptrdiff_t>(kTaps.size());
    for (std::ptrdiff_t n = 0; n < count; ++n) {
        float sum = kCentre * e[n];
        for (std::ptrdiff_t k = 0; k < kCount; ++k)
            sum += kTaps[static_cast<std::size_t>(k)] * (o[n - k - 1] + o[n + k]);
        y[n] = sum;
    }
}

}  // namespace

PcmDownsampler::PcmDownsampler(int factor) {
    if (factor != 1)
        halvings_.emplace_back();
    if (factor != 1 && factor != 2)
        halvings_.emplace_back().second = true;
    for (Halving& s : halvings_)
        Restart(s);
}

void PcmDownsampler::Restart(Halving& s) {
    // Silence before the signal, as far back as the window reaches.
    const std::size_t history = TapCount(s.second);
    s.even.assign(history, 0.0f);
    s.odd.assign(history, 0.0f);
    s.received = 0;
    s.produced = 0;
}

// Appends values to a halving's input, splitting them into even and odd ones. `at(i)`
// gives input value i of this call.
template <typename Value>
void PcmDownsampler::Append(Halving& s, std::size_t count, Value at) {
    std::size_t i = 0;
    if (count > 0 && s.received % 2 == 1)
        s.odd.push_back(at(i++));
    const std::size_t pairs = (count - i) / 2;
    const std::size_t evenAt = s.even.size();
    const std::size_t oddAt = s.odd.size();
    s.even.resize(evenAt + pairs);
    s.odd.resize(oddAt + pairs);
    float* e = s.even.data() + evenAt;
    float* o = s.odd.data() + oddAt;
    for (std::size_t k = 0; k < pairs; ++k) {
        e[k] = at(i + 2 * k);
        o[k] = at(i + 2 * k + 1);
    }
    i += 2 * pairs;
    if (i < count)
        s.even.push_back(at(i));
    s.received += count;
}

void PcmDownsampler::Process(const std::int16_t* stereo, std::size_t frames, std::vector<std::int16_t>& out) {
    // Gaps between marks are digital silence, which downsamples to silence: once the
    // filters hold nothing else, whole blocks of it skip the arithmetic.
    constexpr std::size_t kBlock = 64;  // frames
    const auto zeroBlock = [&](std::size_t f) {
        const std::int16_t* first = stereo + 2 * f;
        return std::all_of(first, first + 2 * std::min(kBlock, frames - f),
                           [](std::int16_t v) { return v == 0; });
    };
    std::size_t f = 0;
    while (f < frames) {
        // Through the filters up to and including the next silent block, which carries
        // the filters' tail off.
        std::size_t end = f;
        bool zero = false;
        while (end < frames && !zero) {
            zero = zeroBlock(end);
            end = std::min(frames, end + kBlock);
        }
        Filter(stereo + 2 * f, end - f, out);
        f = end;
        if (!Silent())
            continue;
        std::size_t silent = f;
        while (silent < frames && zeroBlock(silent))
            silent = std::min(frames, silent + kBlock);
        SkipSilence(silent - f, out);
        f = silent;
    }
}

void PcmDownsampler::Filter(const std::int16_t* stereo, std::size_t frames, std::vector<std::int16_t>& out) {
    // The two channels' average, as the first halving's input (or the output).
    const auto mono = [stereo](std::size_t f) {
        return 0.5f * (static_cast<float>(stereo[2 * f]) + static_cast<float>(stereo[2 * f + 1]));
    };
    if (halvings_.empty()) {
        filtered_.resize(frames);
        for (std::size_t f = 0; f < frames; ++f)
            filtered_[f] = mono(f);
        Hand(filtered_, out);
        return;
    }
    Append(halvings_.front(), frames, mono);
    Drain(false, out);
}

bool PcmDownsampler::Silent() const {
    const auto zero = [](float v) {
        return v == 0.0f;
    };
    return std::all_of(halvings_.begin(), halvings_.end(), [&](const Halving& s) {
        return std::all_of(s.even.begin(), s.even.end(), zero) &&
               std::all_of(s.odd.begin(), s.odd.end(), zero);
    });
}

void PcmDownsampler::SkipSilence(std::size_t frames, std::vector<std::int16_t>& out) {
    // What Append and Drain would do with `frames` zeros, counting instead of filtering:
    // the arrays keep their sizes and stay zero.
    std::size_t n = frames;
    for (Halving& s : halvings_) {
        const std::size_t taps = TapCount(s.second);
        const std::size_t toEven = (n + (s.received % 2 == 0 ? 1 : 0)) / 2;
        const std::size_t even = s.even.size() + toEven;
        const std::size_t odd = s.odd.size() + (n - toEven);
        const std::size_t count = std::min(even - taps, odd + 1 > 2 * taps ? odd + 1 - 2 * taps : 0);
        s.even.assign(even - count, 0.0f);
        s.odd.assign(odd - count, 0.0f);
        s.received += n;
        s.produced += count;
        n = count;
    }
    out.insert(out.end(), n, 0);
}

void PcmDownsampler::Flush(std::vector<std::int16_t>& out) {
    Drain(true, out);
    for (Halving& s : halvings_)
        Restart(s);
}

void PcmDownsampler::Drain(bool ending, std::vector<std::int16_t>& out) {
    for (std::size_t i = 0; i < halvings_.size(); ++i) {
        Halving& s = halvings_[i];
        const std::size_t taps = TapCount(s.second);
        // Output n needs e[n] and o[n - taps] .. o[n + taps - 1]; the arrays begin
        // `taps` values before the next output's.
        const std::size_t oddReady = s.odd.size() + 1 > 2 * taps ? s.odd.size() + 1 - 2 * taps : 0;
        std::size_t count = std::min(s.even.size() - taps, oddReady);
        if (ending) {
            // The signal ends in silence: every output whose centre was received.
            const std::size_t due = (s.received + 1) / 2 - s.produced;
            s.even.resize(std::max(s.even.size(), taps + due), 0.0f);
            s.odd.resize(std::max(s.odd.size(), 2 * taps + due), 0.0f);
            count = due;
        }
        filtered_.resize(count);
        const float* e = s.even.data() + taps;
        const float* o = s.odd.data() + taps;
        if (s.second)
            HalfBand<kSecondTaps>(e, o, static_cast<std::ptrdiff_t>(count), filtered_.data());
        else
            HalfBand<kFirstTaps>(e, o, static_cast<std::ptrdiff_t>(count), filtered_.data());
        s.produced += count;
        s.even.erase(s.even.begin(), s.even.begin() + static_cast<std::ptrdiff_t>(count));
        s.odd.erase(s.odd.begin(), s.odd.begin() + static_cast<std::ptrdiff_t>(count));
        if (i + 1 < halvings_.size())
            Append(halvings_[i + 1], filtered_.size(), [this](std::size_t k) { return filtered_[k]; });
        else
            Hand(filtered_, out);
    }
}

void PcmDownsampler::Hand(const std::vector<float>& values, std::vector<std::int16_t>& out) {
    const std::size_t at = out.size();
    out.resize(at + values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        // Rounded to nearest (halves away from zero), within 16 bits.
        const float v = values[i] + std::copysign(0.5f, values[i]);
        out[at + i] = static_cast<std::int16_t>(std::min(std::max(v, -32768.0f), 32767.0f));
    }
}

}  // namespace lumbrel
