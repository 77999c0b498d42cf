#include "decoder/ToneKeying.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <numbers>

#include "decoder/TimelineDecoder.h"

namespace lumbrel {
namespace {

using Complex = std::complex<double>;

// An in-place radix-2 FFT of a power-of-two length: a few lines of our own rather than
// a library, for one spectrum of a file.
void Fft(std::vector<Complex>& a) {
    const std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const Complex step = std::polar(1.0, -2 * std::numbers::pi / static_cast<double>(len));
        for (std::size_t i = 0; i < n; i += len) {
            Complex w = 1;
            for (std::size_t k = 0; k < len / 2; ++k, w *= step) {
                const Complex u = a[i + k];
                const Complex v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
            }
        }
    }
}

// The tone mixed down to 0 Hz, one mean a millisecond.
std::vector<Complex> Baseband(const std::vector<float>& samples, int rate, double pitchHz) {
    const double perMs = rate / 1000.0;
    const std::size_t count = static_cast<std::size_t>(samples.size() / perMs);
    std::vector<Complex> out(count);
    const Complex step = std::polar(1.0, -2 * std::numbers::pi * pitchHz / rate);
    Complex phase = 1;
    std::size_t f = 0;
    for (std::size_t ms = 0; ms < count; ++ms) {
        const std::size_t end = std::min(samples.size(), static_cast<std::size_t>((ms + 1) * perMs));
        Complex sum = 0;
        const std::size_t begin = f;
        for (; f < end; ++f) {
            sum += phase * static_cast<double>(samples[f]);
            phase *= step;
            if ((f & 1023) == 0)
                phase /= std::abs(phase);
        }
        out[ms] = sum / static_cast<double>(std::max<std::size_t>(1, end - begin));
    }
    return out;
}

// Marks where the envelope (mean over window milliseconds) stands above the level
// halfway between noise and tone.
KeyTimeline Marks(const std::vector<Complex>& base, int window) {
    KeyTimeline timeline;
    const std::size_t n = base.size();
    if (n == 0)
        return timeline;
    window = std::clamp(window, 1, static_cast<int>(n));
    std::vector<double> envelope(n);
    Complex sum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        sum += base[i];
        if (i >= static_cast<std::size_t>(window))
            sum -= base[i - window];
        envelope[i] = std::abs(sum) / window;
    }
    // The two levels: Lloyd's iterations from the quiet and the loud end.
    std::vector<double> sorted(envelope);
    std::sort(sorted.begin(), sorted.end());
    double quiet = sorted[n / 10];
    double loud = sorted[n - 1 - n / 50];
    for (int round = 0; round < 20 && loud > quiet; ++round) {
        const double split = (quiet + loud) / 2;
        const auto at = std::lower_bound(sorted.begin(), sorted.end(), split);
        const std::size_t low = static_cast<std::size_t>(at - sorted.begin());
        if (low == 0 || low == n)
            break;
        double q = 0, l = 0;
        for (std::size_t i = 0; i < n; ++i)
            (i < low ? q : l) += sorted[i];
        quiet = q / static_cast<double>(low);
        loud = l / static_cast<double>(n - low);
    }
    if (!(loud > 2 * quiet))  // no tone stands out of the noise
        return timeline;
    // The tone fades (the noise does not): its level is the loudest envelope within
    // kLevelReach ms, less what the noise adds to it, and never under kLeastLoud times
    // the noise or kLeastShare of the tone, where the tone is lost.
    constexpr std::size_t kLevelBlock = 250;
    constexpr std::size_t kLevelReach = 1000;
    constexpr double kLeastLoud = 2.5;
    constexpr double kLeastShare = 0.1;
    constexpr double kNoisePeak = 2;  // what noise adds to the loudest, in noise levels
    std::vector<double> levels((n + kLevelBlock - 1) / kLevelBlock);
    for (std::size_t b = 0; b < levels.size(); ++b) {
        const std::size_t middle = b * kLevelBlock + kLevelBlock / 2;
        const std::size_t from = middle > kLevelReach ? middle - kLevelReach : 0;
        const std::size_t to = std::min(n, middle + kLevelReach);
        const double loudest = *std::max_element(envelope.begin() + static_cast<std::ptrdiff_t>(from),
                                                 envelope.begin() + static_cast<std::ptrdiff_t>(to));
        levels[b] = std::max({loudest - kNoisePeak * quiet, kLeastLoud * quiet, kLeastShare * loud});
    }
    bool on = false;
    // The envelope of a mean over the window lags by half the window.
    const double lag = window / 2.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double level = levels[i / kLevelBlock];
        const double up = quiet + 0.55 * (level - quiet);
        const double down = quiet + 0.45 * (level - quiet);
        if (!on && envelope[i] > up) {
            on = true;
            timeline.marks.push_back({i + 0.5 - lag, i + 0.5 - lag});
        } else if (on && envelope[i] < down) {
            on = false;
            timeline.marks.back().upMs = i + 0.5 - lag;
        }
    }
    if (on)
        timeline.marks.back().upMs = n - lag;
    return timeline;
}

// Marks shorter than shortest or gaps shorter than it are noise: gaps are closed,
// then marks dropped.
KeyTimeline Clean(const KeyTimeline& raw, double shortest) {
    KeyTimeline joined;
    for (const KeyMark& m : raw.marks) {
        if (!joined.marks.empty() && m.downMs - joined.marks.back().upMs < shortest)
            joined.marks.back().upMs = m.upMs;
        else
            joined.marks.push_back(m);
    }
    KeyTimeline out;
    for (const KeyMark& m : joined.marks)
        if (m.Length() >= shortest)
            out.marks.push_back(m);
    return out;
}

}  // namespace

double ToneKeying::StrongestTone(const std::vector<float>& samples, int rate) {
    constexpr std::size_t kSize = 4096;
    if (samples.size() < kSize || rate <= 0)
        return 0;
    std::vector<double> power(kSize / 2, 0);
    std::vector<Complex> block(kSize);
    for (std::size_t start = 0; start + kSize <= samples.size(); start += kSize) {
        for (std::size_t i = 0; i < kSize; ++i)
            block[i] = samples[start + i] * (0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / kSize));
        Fft(block);
        for (std::size_t i = 0; i < kSize / 2; ++i)
            power[i] += std::norm(block[i]);
    }
    const double binHz = static_cast<double>(rate) / kSize;
    const std::size_t from = static_cast<std::size_t>(std::ceil(100 / binHz));
    const std::size_t to = std::min(kSize / 2 - 2, static_cast<std::size_t>(4000 / binHz));
    std::size_t best = 0;
    for (std::size_t i = from; i <= to; ++i)
        if (best == 0 || power[i] > power[best])
            best = i;
    if (best == 0 || power[best] <= 0)
        return 0;
    // The peak between bins, from the parabola through the three logs.
    const double a = std::log(power[best - 1] + 1e-30);
    const double b = std::log(power[best]);
    const double c = std::log(power[best + 1] + 1e-30);
    const double shift = (a - 2 * b + c) < 0 ? 0.5 * (a - c) / (a - 2 * b + c) : 0;
    return (static_cast<double>(best) + std::clamp(shift, -0.5, 0.5)) * binHz;
}

KeyTimeline ToneKeying::Read(const std::vector<float>& samples, int rate, double pitchHz) {
    if (rate <= 0 || pitchHz <= 0 || pitchHz >= rate / 2.0)
        return {};
    const std::vector<Complex> base = Baseband(samples, rate, pitchHz);
    // From each first window, each pass fits the window to the unit the last one read,
    // until the unit holds; of the timelines reached, the one whose marks lie nearest to
    // one and three units of it is kept (noise gives marks of any length).
    KeyTimeline best;
    double bestScatter = std::numeric_limits<double>::max();
    for (double window : {10.0, 25.0, 60.0}) {
        KeyTimeline timeline = Clean(Marks(base, static_cast<int>(window)), 0.8 * window);
        double unit = 0;
        for (int pass = 0; pass < 8; ++pass) {
            const Decoding decoding = TimelineDecoder::Decode(timeline);
            if (decoding.unitMs.empty())
                break;
            std::vector<double> units = decoding.unitMs;
            std::nth_element(units.begin(), units.begin() + units.size() / 2, units.end());
            unit = units[units.size() / 2];
            if (std::abs(0.8 * unit - window) < 0.1 * window)
                break;
            window = 0.8 * unit;
            timeline = Clean(Marks(base, static_cast<int>(std::lround(window))), 0.35 * unit);
        }
        if (timeline.marks.empty() || unit <= 0)
            continue;
        double scatter = 0;
        for (const KeyMark& m : timeline.marks) {
            const double v = std::log(std::max(m.Length(), 0.1) / unit);
            scatter += std::min(v * v, (v - std::log(3.0)) * (v - std::log(3.0)));
        }
        scatter /= static_cast<double>(timeline.marks.size());
        if (scatter < bestScatter) {
            bestScatter = scatter;
            best = std::move(timeline);
        }
    }
    return best;
}

}  // namespace lumbrel
