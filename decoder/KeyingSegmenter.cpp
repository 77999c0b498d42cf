#include "decoder/KeyingSegmenter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>

namespace lumbrel {
namespace {

constexpr double kNone = -std::numeric_limits<double>::infinity();

// log I0(x), the Bessel function that averages a mark's score over its unknown phase:
// the polynomials of Abramowitz and Stegun 9.8.1 and 9.8.2, which give the log directly
// where I0 itself overflows a double (x above about 700, a loud mark).
double LogBesselI0(double x) {
    if (x < 3.75) {
        const double t = (x / 3.75) * (x / 3.75);
        return std::log(
            1 + t * (3.5156229 +
                     t * (3.0899424 + t * (1.2067492 + t * (0.2659732 + t * (0.0360768 + t * 0.0045813))))));
    }
    const double s = 3.75 / x;
    const double p =
        0.39894228 +
        s * (0.01328592 +
             s * (0.00225319 +
                  s * (-0.00157565 +
                       s * (0.00916281 +
                            s * (-0.02057706 + s * (0.02635537 + s * (-0.01647633 + s * 0.00392377)))))));
    return x - 0.5 * std::log(x) + std::log(p);
}

struct Peak {
    double units, spread, weight;  // a log-normal bump: median in dot units, sd of the log
    double from = 0;               // dot units: none below
};

// How likely a length of r dot units is, as a density in r: a table of r from 0 to
// kTableUnits in kTableStep.
constexpr double kTableStep = 0.01;
constexpr double kTableUnits = 16;
constexpr double kLongestMark = 6;      // dot units; a longer tone is cut in two
constexpr double kLongestGap = 14;      // dot units; a longer gap is a pause of any length
constexpr double kShortest = 0.25;      // dot units, for marks and gaps
constexpr double kShortestMarkMs = 10;  // half a dot at 60 WPM: a shorter tone is no mark
constexpr double kPauseWeight = 0.03;
// A pause's cost a millisecond: of readings as likely, the one whose pause ends first wins.
constexpr double kPausePerMs = -1e-6;

std::vector<double> LogDensity(std::initializer_list<Peak> peaks) {
    std::vector<double> table(static_cast<std::size_t>(kTableUnits / kTableStep) + 1);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const double r = std::max(kTableStep, static_cast<double>(i) * kTableStep);
        double p = 0;
        for (const Peak& k : peaks) {
            const double v = (std::log(r) - std::log(k.units)) / k.spread;
            if (r >= k.from)
                p += k.weight * std::exp(-0.5 * v * v) / (r * k.spread * std::sqrt(2 * std::numbers::pi));
        }
        table[i] = std::log(std::max(p, 1e-300));
    }
    return table;
}

double At(const std::vector<double>& table, double r) {
    return table[std::min(table.size() - 1, static_cast<std::size_t>(std::lround(r / kTableStep)))];
}

}  // namespace

KeyTimeline KeyingSegmenter::Segment(const ToneTrack& track, double spread, double* logLikelihood) {
    const std::vector<double> markLengths = LogDensity({{1, spread, 0.55}, {3, spread, 0.45}});
    const std::vector<double> gapLengths =
        LogDensity({{1, spread, 0.5}, {3, spread, 0.27}, {7, spread, 0.13}, {11, 0.5, 0.07, 7}});
    const std::size_t ms = track.baseband.size();
    if (ms == 0 || track.noisePower.size() != ms || track.amplitude.size() != ms || track.unitMs.size() != ms)
        return {};
    // The grid: about a tenth of the shortest unit, 1 to 8 ms.
    const double shortestUnit = *std::min_element(track.unitMs.begin(), track.unitMs.end());
    const int h = std::clamp(static_cast<int>(shortestUnit / 10), 1, 8);
    const std::size_t n = ms / static_cast<std::size_t>(h);
    // Sums to each step: of the baseband, and of the coherent score where the phase is
    // known: log p(z | tone A at that phase) - log p(z | noise) = (2 A Re(z phase*) - A^2) / noise.
    const bool knowsPhase = track.phase.size() == ms;
    std::vector<std::complex<double>> sum(n + 1);
    std::vector<double> coherent(n + 1, 0);
    std::vector<std::size_t> unknown(n + 1, 0);  // steps whose phase is not known
    for (std::size_t t = 0; t < n; ++t) {
        sum[t + 1] = sum[t];
        coherent[t + 1] = coherent[t];
        unknown[t + 1] = unknown[t] + (knowsPhase ? 0 : 1);
        for (int k = 0; k < h; ++k) {
            const std::size_t i = t * static_cast<std::size_t>(h) + static_cast<std::size_t>(k);
            sum[t + 1] += track.baseband[i];
            if (knowsPhase && track.phase[i] == std::complex<double>()) {
                unknown[t + 1] = unknown[t] + 1;
            } else if (knowsPhase) {
                const double a = track.amplitude[i];
                coherent[t + 1] +=
                    (2 * a * std::real(track.baseband[i] * std::conj(track.phase[i])) - a * a) /
                    std::max(track.noisePower[i], 1e-30);
            }
        }
    }
    // best scores (log likelihoods against noise alone) of a timeline up to step t that
    // ends with a mark, a gap or a pause (a gap longer than kLongestGap), and how.
    std::vector<double> mark(n + 1, kNone), gap(n + 1, kNone), pause(n + 1, kNone);
    std::vector<int> markSteps(n + 1, 0), gapSteps(n + 1, 0), pauseFrom(n + 1, -1);
    pause[0] = 0;
    const double pauseStep = kPausePerMs * h;
    const auto ready = [&](std::size_t t) {
        return std::max(gap[t], pause[t]);
    };
    for (std::size_t b = 1; b <= n; ++b) {
        const std::size_t at = (b - 1) * static_cast<std::size_t>(h);
        const double unit = std::max(1.0, track.unitMs[at] / h);  // in steps
        const double noise = std::max(track.noisePower[at], 1e-30);
        const double a = track.amplitude[at];
        const double perStep = h * a * a / noise;
        const double logUnit = std::log(unit);
        const auto shortest = static_cast<std::size_t>(std::max(1.0, std::ceil(kShortest * unit)));
        const auto longestMark = std::min(b, static_cast<std::size_t>(std::ceil(kLongestMark * unit)));
        const auto shortestMark =
            std::max(shortest, static_cast<std::size_t>(std::ceil(kShortestMarkMs / h)));
        for (std::size_t d = shortestMark; d <= longestMark; ++d) {
            const double before = ready(b - d);
            if (before == kNone)
                continue;
            // Scored coherently where the phase is known, unless the tone has turned
            // off it (a drift not yet followed): then as of a phase unknown.
            const double free =
                LogBesselI0(2 * a * std::abs(sum[b] - sum[b - d]) / noise) - perStep * static_cast<double>(d);
            const double fit =
                unknown[b] == unknown[b - d] ? std::max(free, coherent[b] - coherent[b - d]) : free;
            const double score = before + fit + At(markLengths, d / unit) - logUnit;
            if (score > mark[b]) {
                mark[b] = score;
                markSteps[b] = static_cast<int>(d);
            }
        }
        const auto longestGap = static_cast<std::size_t>(std::ceil(kLongestGap * unit));
        for (std::size_t d = shortest; d <= std::min(b, longestGap); ++d) {
            const double score = mark[b - d] + At(gapLengths, d / unit) - logUnit;
            if (score > gap[b]) {
                gap[b] = score;
                gapSteps[b] = static_cast<int>(d);
            }
        }
        pause[b] = pause[b - 1] + pauseStep;
        pauseFrom[b] = -1;
        if (b > longestGap && mark[b - longestGap] + std::log(kPauseWeight) > pause[b]) {
            pause[b] = mark[b - longestGap] + std::log(kPauseWeight);
            pauseFrom[b] = static_cast<int>(longestGap);
        }
    }
    if (logLikelihood)
        *logLikelihood = std::max(mark[n], ready(n));
    // Back from the end: a mark, or a gap or pause after the last one.
    std::vector<KeyMark> marks;
    std::size_t t = n;
    enum class State {
        Mark,
        Gap,
        Pause
    } state = mark[n] > ready(n)  ? State::Mark
              : gap[n] > pause[n] ? State::Gap
                                  : State::Pause;
    while (t > 0) {
        if (state == State::Mark) {
            const std::size_t from = t - static_cast<std::size_t>(markSteps[t]);
            marks.push_back({static_cast<double>(from * h), static_cast<double>(t * h)});
            t = from;
            state = gap[t] > pause[t] ? State::Gap : State::Pause;
        } else if (state == State::Gap) {
            t -= static_cast<std::size_t>(gapSteps[t]);
            state = State::Mark;
        } else if (pauseFrom[t] < 0) {
            --t;
        } else {
            t -= static_cast<std::size_t>(pauseFrom[t]);
            state = State::Mark;
        }
    }
    std::reverse(marks.begin(), marks.end());
    return {std::move(marks)};
}

}  // namespace lumbrel
