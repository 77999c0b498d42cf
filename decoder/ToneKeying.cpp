#include "decoder/ToneKeying.h"

#include <algorithm>
#include <cmath>
#include <array>
#include <complex>
#include <limits>
#include <numbers>

#include "decoder/KeyingSegmenter.h"
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

namespace {

constexpr int kPasses = 2;
constexpr double kEvenSpread = 0.1;
constexpr double kUnevenSpread = 0.3;
constexpr double kLeastDotEnergy = 1.5;  // a dot's energy over the noise's, under which no tone is read

// The sender's unit around each millisecond: the decoder's unit at each mark, as the
// median of it and four marks either side, held until the next mark.
std::vector<double> UnitTrack(const KeyTimeline& timeline, const std::vector<double>& unitMs,
                              std::size_t ms) {
    std::vector<double> out(ms, 60);
    if (unitMs.size() != timeline.marks.size() || unitMs.empty())
        return out;
    std::vector<double> smooth(unitMs.size());
    for (std::size_t k = 0; k < unitMs.size(); ++k) {
        std::vector<double> near(
            unitMs.begin() + static_cast<std::ptrdiff_t>(k > 4 ? k - 4 : 0),
            unitMs.begin() + static_cast<std::ptrdiff_t>(std::min(unitMs.size(), k + 5)));
        std::nth_element(near.begin(), near.begin() + near.size() / 2, near.end());
        smooth[k] = std::clamp(near[near.size() / 2], 12.0, 400.0);
    }
    std::size_t k = 0;
    for (std::size_t i = 0; i < ms; ++i) {
        while (k + 1 < timeline.marks.size() && timeline.marks[k + 1].downMs <= static_cast<double>(i))
            ++k;
        out[i] = smooth[k];
    }
    return out;
}

// The milliseconds inside a mark, trim from each end.
std::pair<std::size_t, std::size_t> Inside(const KeyMark& m, double trim, std::size_t ms) {
    const auto from =
        static_cast<std::size_t>(std::clamp(std::ceil(m.downMs + trim), 0.0, static_cast<double>(ms)));
    const auto to =
        static_cast<std::size_t>(std::clamp(std::floor(m.upMs - trim), 0.0, static_cast<double>(ms)));
    return {from, std::max(from, to)};
}

// The baseband turned back as the tone drifts off the pitch it was mixed with: the
// offset (up to kReach Hz) at which the marks nearest each kBlock ms sum up strongest,
// followed between. As many marks are taken as hold kEnough energy over the noise (one
// loud mark, many faint ones), within kWindow ms.
std::vector<Complex> FollowPitch(const std::vector<Complex>& base, const KeyTimeline& timeline,
                                 const std::vector<double>& noisePower) {
    constexpr double kReach = 12;
    constexpr double kStepHz = 0.5;
    constexpr int kOffsets = static_cast<int>(2 * kReach / kStepHz) + 1;
    constexpr double kBlock = 500;
    constexpr double kWindow = 3000;
    constexpr double kEnough = 600;
    const std::size_t ms = base.size();
    const std::size_t marks = timeline.marks.size();
    // power[k + 1][j] - power[k][j]: mark k's power at offset j.
    std::vector<std::array<double, kOffsets>> power(marks + 1);
    std::vector<double> centre(marks);
    for (std::size_t k = 0; k < marks; ++k) {
        const KeyMark& m = timeline.marks[k];
        centre[k] = (m.downMs + m.upMs) / 2;
        const auto [from, to] = Inside(m, 2, ms);
        for (int j = 0; j < kOffsets; ++j) {
            const Complex step = std::polar(1.0, -2 * std::numbers::pi * (j * kStepHz - kReach) / 1000);
            Complex turn = 1, sum = 0;
            for (std::size_t i = from; i < to; ++i, turn *= step)
                sum += base[i] * turn;
            power[k + 1][static_cast<std::size_t>(j)] =
                power[k][static_cast<std::size_t>(j)] + std::norm(sum);
        }
    }
    const auto strongest = [&](std::size_t a, std::size_t b) {
        std::size_t best = 0;
        double p[kOffsets];
        for (std::size_t j = 0; j < kOffsets; ++j) {
            p[j] = power[b][j] - power[a][j];
            if (p[j] > p[best])
                best = j;
        }
        double shift = 0;
        if (best > 0 && best + 1 < kOffsets) {
            const double curve = p[best - 1] - 2 * p[best] + p[best + 1];
            if (curve < 0)
                shift = std::clamp(0.5 * (p[best - 1] - p[best + 1]) / curve, -0.5, 0.5);
        }
        return (static_cast<double>(best) + shift) * kStepHz - kReach;
    };
    // Each mark's energy over the noise's, at its best offset.
    std::vector<double> energy(marks);
    double total = 0;
    for (std::size_t k = 0; k < marks; ++k) {
        const auto [from, to] = Inside(timeline.marks[k], 2, ms);
        double best = 0;
        for (std::size_t j = 0; j < kOffsets; ++j)
            best = std::max(best, power[k + 1][j] - power[k][j]);
        const double noise = noisePower[std::min(ms - 1, static_cast<std::size_t>(centre[k]))];
        energy[k] = to > from ? std::max(0.0, best / (static_cast<double>(to - from) * noise) - 1) : 0;
        total += energy[k];
    }
    const double whole = total >= kEnough ? strongest(0, marks) : 0;
    const std::size_t blocks = static_cast<std::size_t>(static_cast<double>(ms) / kBlock) + 1;
    std::vector<double> offset(blocks, whole);
    for (std::size_t block = 0; block < blocks; ++block) {
        const double middle = (static_cast<double>(block) + 0.5) * kBlock;
        std::size_t b =
            static_cast<std::size_t>(std::lower_bound(centre.begin(), centre.end(), middle) - centre.begin());
        std::size_t a = b;
        double held = 0;
        while (held < kEnough) {
            const bool left = a > 0 && middle - centre[a - 1] <= kWindow;
            const bool right = b < marks && centre[b] - middle <= kWindow;
            if (left && (!right || middle - centre[a - 1] < centre[b] - middle))
                held += energy[--a];
            else if (right)
                held += energy[b++];
            else
                break;
        }
        if (held >= kEnough)
            offset[block] = strongest(a, b);
    }
    std::vector<Complex> out(ms);
    double phase = 0;
    for (std::size_t i = 0; i < ms; ++i) {
        const double x =
            std::clamp(static_cast<double>(i) / kBlock - 0.5, 0.0, static_cast<double>(blocks - 1));
        const std::size_t low = static_cast<std::size_t>(x);
        const std::size_t high = std::min(blocks - 1, low + 1);
        const double hz = offset[low] + (x - static_cast<double>(low)) * (offset[high] - offset[low]);
        out[i] = base[i] * std::polar(1.0, -phase);
        phase = std::fmod(phase + 2 * std::numbers::pi * hz / 1000, 2 * std::numbers::pi);
    }
    return out;
}

// The noise power (of the milliseconds kClear ms and more from every mark) and the
// tone's amplitude (from the sums over the marks: E|S|^2 = L^2 A^2 + L noise) within
// kWindow ms of every kBlock ms. False when the tone stands no higher than the noise.
bool Levels(const KeyTimeline& timeline, ToneTrack& track) {
    constexpr std::size_t kBlock = 250;
    constexpr double kWindow = 2000;
    constexpr double kClear = 6;
    constexpr double kLeastQuiet = 100;  // milliseconds of gap for a noise level
    // The noise counted is at least this share of the tone's power, so that a clean
    // file's ramps and joins weigh as a little noise, not as proof against the tone.
    constexpr double kLeastNoise = 0.2;
    const std::vector<Complex>& base = track.baseband;
    const std::size_t ms = base.size();
    std::vector<char> quiet(ms, 1);
    for (const KeyMark& m : timeline.marks) {
        const auto [from, to] = Inside(m, -kClear, ms);
        std::fill(quiet.begin() + static_cast<std::ptrdiff_t>(from),
                  quiet.begin() + static_cast<std::ptrdiff_t>(to), 0);
    }
    std::vector<double> quietPower(ms + 1, 0), quietCount(ms + 1, 0);
    for (std::size_t i = 0; i < ms; ++i) {
        quietPower[i + 1] = quietPower[i] + (quiet[i] ? std::norm(base[i]) : 0);
        quietCount[i + 1] = quietCount[i] + quiet[i];
    }
    if (quietCount[ms] < kLeastQuiet)
        return false;
    double noise = quietPower[ms] / quietCount[ms];
    // Per mark: |S|^2, L and L^2, summed from the first (index k + 1).
    struct Sums {
        double power = 0, length = 0, square = 0;
    };
    std::vector<Sums> sums(timeline.marks.size() + 1);
    std::vector<double> centre(timeline.marks.size());
    for (std::size_t k = 0; k < timeline.marks.size(); ++k) {
        const KeyMark& m = timeline.marks[k];
        centre[k] = (m.downMs + m.upMs) / 2;
        const auto [from, to] = Inside(m, 3, ms);
        Complex s = 0;
        for (std::size_t i = from; i < to; ++i)
            s += base[i];
        const double l = static_cast<double>(to - from);
        sums[k + 1] = {sums[k].power + std::norm(s), sums[k].length + l, sums[k].square + l * l};
    }
    const auto amplitude = [&](std::size_t a, std::size_t b, double noisePower) {
        const double square = sums[b].square - sums[a].square;
        if (square <= 0)
            return -1.0;
        const double energy = sums[b].power - sums[a].power - noisePower * (sums[b].length - sums[a].length);
        return std::sqrt(std::max(0.0, energy / square));
    };
    double whole = amplitude(0, timeline.marks.size(), noise);
    if (whole < 0)  // no mark long enough to measure
        return false;
    noise = std::max(noise, kLeastNoise * whole * whole);
    whole = amplitude(0, timeline.marks.size(), noise);
    std::vector<double> units(track.unitMs);
    std::nth_element(units.begin(), units.begin() + static_cast<std::ptrdiff_t>(units.size() / 2),
                     units.end());
    if (!(whole * whole * units[units.size() / 2] / noise >= kLeastDotEnergy))
        return false;
    track.noisePower.assign(ms, noise);
    track.amplitude.assign(ms, whole);
    std::size_t a = 0, b = 0;
    for (std::size_t from = 0; from < ms; from += kBlock) {
        const double middle = static_cast<double>(from + kBlock / 2);
        const auto low = static_cast<std::size_t>(std::clamp(middle - kWindow, 0.0, static_cast<double>(ms)));
        const auto high =
            static_cast<std::size_t>(std::clamp(middle + kWindow, 0.0, static_cast<double>(ms)));
        const double count = quietCount[high] - quietCount[low];
        double here = count >= kLeastQuiet ? (quietPower[high] - quietPower[low]) / count : noise;
        while (a < centre.size() && centre[a] < middle - kWindow)
            ++a;
        while (b < centre.size() && centre[b] < middle + kWindow)
            ++b;
        double level = amplitude(a, b, here);
        if (level >= 0 && here < kLeastNoise * level * level) {
            here = kLeastNoise * level * level;
            level = amplitude(a, b, here);
        }
        const std::size_t to = std::min(ms, from + kBlock);
        std::fill(track.noisePower.begin() + static_cast<std::ptrdiff_t>(from),
                  track.noisePower.begin() + static_cast<std::ptrdiff_t>(to), here);
        std::fill(track.amplitude.begin() + static_cast<std::ptrdiff_t>(from),
                  track.amplitude.begin() + static_cast<std::ptrdiff_t>(to), level < 0 ? whole : level);
    }
    return true;
}

// The tone's phase around each millisecond, from the marks kWindow ms either side but
// not within kOwn units (so that no mark of noise is its own reference); known where the
// marks near keep to it (their sums lie kLeastKept along it), 0 elsewhere.
std::vector<Complex> Phase(const KeyTimeline& timeline, const ToneTrack& track) {
    constexpr double kWindow = 400;
    constexpr double kOwn = 2;
    constexpr double kLeastKept = 0.6;
    const std::vector<Complex>& base = track.baseband;
    const std::size_t ms = base.size();
    std::vector<Complex> marked(ms + 1);
    std::vector<char> inside(ms, 0);
    for (const KeyMark& m : timeline.marks) {
        const auto [from, to] = Inside(m, 2, ms);
        std::fill(inside.begin() + static_cast<std::ptrdiff_t>(from),
                  inside.begin() + static_cast<std::ptrdiff_t>(to), 1);
    }
    for (std::size_t i = 0; i < ms; ++i)
        marked[i + 1] = marked[i] + (inside[i] ? base[i] : Complex());
    const auto range = [&](double from, double to) {
        const auto a = static_cast<std::size_t>(std::clamp(from, 0.0, static_cast<double>(ms)));
        const auto b = static_cast<std::size_t>(std::clamp(to, 0.0, static_cast<double>(ms)));
        return b > a ? marked[b] - marked[a] : Complex();
    };
    std::vector<Complex> phase(ms);
    for (std::size_t i = 0; i < ms; ++i) {
        const double t = static_cast<double>(i);
        const double own = kOwn * track.unitMs[i];
        const Complex r = range(t - kWindow, t - own) + range(t + own, t + kWindow);
        phase[i] = std::abs(r) > 0 ? r / std::abs(r) : Complex();
    }
    // How well the marks within kJudged ms of each kBlock ms keep to the phase around them.
    constexpr std::size_t kBlock = 500;
    constexpr double kJudged = 1500;
    const std::size_t marks = timeline.marks.size();
    std::vector<double> along(marks + 1, 0), whole(marks + 1, 0), centre(marks);
    for (std::size_t k = 0; k < marks; ++k) {
        const KeyMark& m = timeline.marks[k];
        centre[k] = (m.downMs + m.upMs) / 2;
        const auto [from, to] = Inside(m, 2, ms);
        Complex s = 0;
        for (std::size_t i = from; i < to; ++i)
            s += base[i] * std::conj(phase[i]);
        along[k + 1] = along[k] + std::real(s);
        whole[k + 1] = whole[k] + std::abs(s);
    }
    std::size_t a = 0, b = 0;
    for (std::size_t from = 0; from < ms; from += kBlock) {
        const double middle = static_cast<double>(from + kBlock / 2);
        while (a < marks && centre[a] < middle - kJudged)
            ++a;
        while (b < marks && centre[b] < middle + kJudged)
            ++b;
        if (!(along[b] - along[a] >= kLeastKept * (whole[b] - whole[a])))
            std::fill(phase.begin() + static_cast<std::ptrdiff_t>(from),
                      phase.begin() + static_cast<std::ptrdiff_t>(std::min(ms, from + kBlock)), Complex());
    }
    return phase;
}

// A first reading: from each first window, each pass fits the window to the unit the last one read,
// until the unit holds; of the timelines reached, the one whose marks lie nearest to
// one and three units of it is kept (noise gives marks of any length).
KeyTimeline FirstReading(const std::vector<Complex>& base) {
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

}  // namespace

KeyTimeline ToneKeying::Read(const std::vector<float>& samples, int rate, double pitchHz) {
    if (rate <= 0 || pitchHz <= 0 || pitchHz >= rate / 2.0)
        return {};
    const std::vector<Complex> base = Baseband(samples, rate, pitchHz);
    KeyTimeline timeline = FirstReading(base);
    // Each reading tells where the tone is: the noise, the tone's level, its pitch and the
    // sender's unit around each millisecond, for the next, the most likely, reading.
    for (int pass = 0; pass < kPasses && !timeline.marks.empty(); ++pass) {
        const Decoding decoding = TimelineDecoder::Decode(timeline);
        ToneTrack track;
        track.unitMs = UnitTrack(timeline, decoding.unitMs, base.size());
        track.baseband = base;
        if (!Levels(timeline, track))
            return {};
        track.baseband = FollowPitch(base, timeline, track.noisePower);
        if (!Levels(timeline, track))
            return {};
        track.phase = Phase(timeline, track);
        // An even (machine's) or an uneven (hand's) timing, whichever the audio fits best.
        double even = 0, uneven = 0;
        KeyTimeline evenReading = KeyingSegmenter::Segment(track, kEvenSpread, &even);
        KeyTimeline unevenReading = KeyingSegmenter::Segment(track, kUnevenSpread, &uneven);
        timeline = even > uneven ? std::move(evenReading) : std::move(unevenReading);
    }
    return timeline;
}

}  // namespace lumbrel
