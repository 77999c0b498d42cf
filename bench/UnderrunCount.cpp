// Counts the marks and gaps of a recorded session that lie off its unit grid: reads a
// capture of the sound server's monitor (raw 16-bit stereo at 44100 frames per second),
// finds the marks (a value above 1 % of full scale, with zero crossings of the tone
// bridged), and sorts every mark into dots and dashes and every gap into element,
// character and word gaps. Marks and gaps of one kind all last the same on the grid
// (the tone's rise and fall shift them alike), so one that differs from its kind's
// median by more than 2 ms was cut or stretched by the output: an underrun.
//
// Usage: lumbrel-underrun-count CAPTURE.raw WPM
// Prints: "marks M gaps G off-grid N (marks A, gaps B) worst W ms", then up to ten of
// the worst as "mark|gap at S s: D ms, K units".
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr double kFramesPerMs = 44.1;
constexpr int kThreshold = 328;    // 1 % of full scale
constexpr int kBridgeFrames = 88;  // 2 ms: longer than the tone's half period
constexpr double kToleranceMs = 2.0;

struct Span {
    bool mark = false;
    double startMs = 0;
    double ms = 0;
    int units = 0;  // the grid's units: 1 or 3 for marks, 1, 3 or 7 for gaps
};

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::nth_element(values.begin(), values.begin() + static_cast<long>(values.size() / 2), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: lumbrel-underrun-count CAPTURE.raw WPM\n", stderr);
        return 2;
    }
    const double unitMs = 1200.0 / std::atof(argv[2]);
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t frames = bytes.size() / 4;
    auto left = [&](std::size_t f) {
        return static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[4 * f]) |
                                         (static_cast<std::uint8_t>(bytes[4 * f + 1]) << 8));
    };

    // Marks as frame ranges.
    std::vector<std::pair<std::size_t, std::size_t>> marks;
    std::size_t lastLoud = 0;
    bool inMark = false;
    std::size_t start = 0;
    for (std::size_t f = 0; f < frames; ++f) {
        if (std::abs(left(f)) > kThreshold) {
            if (!inMark) {
                inMark = true;
                start = f;
            }
            lastLoud = f;
        } else if (inMark && f - lastLoud > kBridgeFrames) {
            inMark = false;
            marks.emplace_back(start, lastLoud + 1);
        }
    }
    std::vector<Span> spans;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const double ms = static_cast<double>(marks[i].second - marks[i].first) / kFramesPerMs;
        spans.push_back(
            {true, static_cast<double>(marks[i].first) / kFramesPerMs, ms, ms < 2 * unitMs ? 1 : 3});
        if (i + 1 < marks.size()) {
            const double gap = static_cast<double>(marks[i + 1].first - marks[i].second) / kFramesPerMs;
            spans.push_back({false, static_cast<double>(marks[i].second) / kFramesPerMs, gap,
                             gap < 2 * unitMs   ? 1
                             : gap < 5 * unitMs ? 3
                                                : 7});
        }
    }
    // The medians of each kind, then what lies off them.
    int marksCount = 0;
    int gapsCount = 0;
    int offMarks = 0;
    int offGaps = 0;
    double worst = 0;
    std::vector<std::pair<double, Span>> off;
    for (const bool mark : {true, false})
        for (const int units : {1, 3, 7}) {
            std::vector<double> lengths;
            for (const Span& s : spans)
                if (s.mark == mark && s.units == units)
                    lengths.push_back(s.ms);
            const double median = Median(lengths);
            for (const Span& s : spans) {
                if (s.mark != mark || s.units != units)
                    continue;
                (mark ? marksCount : gapsCount) += 1;
                const double error = std::abs(s.ms - median);
                if (error > kToleranceMs) {
                    (mark ? offMarks : offGaps) += 1;
                    off.emplace_back(error, s);
                    worst = std::max(worst, error);
                }
            }
        }
    std::printf("marks %d gaps %d off-grid %d (marks %d, gaps %d) worst %.1f ms\n", marksCount, gapsCount,
                offMarks + offGaps, offMarks, offGaps, worst);
    std::sort(off.begin(), off.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (std::size_t i = 0; i < off.size() && i < 10; ++i)
        std::printf("  %s at %.3f s: %.1f ms, %d units\n", off[i].second.mark ? "mark" : "gap",
                    off[i].second.startMs / 1000.0, off[i].second.ms, off[i].second.units);
    return 0;
}
