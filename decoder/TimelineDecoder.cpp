#include "decoder/TimelineDecoder.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "morse/LearningOrders.h"

namespace lumbrel {
namespace {

// Marks on each side of a mark whose lengths tell its dots from its dashes: about
// three characters, so that a new speed is followed within three characters.
constexpr int kMarkWindow = 8;
// Gaps on each side of a gap clustered with it; their centres lean on those of the
// whole sending, so a stretch without word gaps keeps the word gap it had.
constexpr int kGapWindow = 24;
constexpr double kPriorWeight = 2;  // gaps of the whole sending a local centre counts as
// No unit is shorter (a timeline of marks without length has no speed to divide by).
constexpr double kShortestUnitMs = 0.1;
// Lengths within this ratio are one kind (all dots or all dashes).
const double kOneKindRatio = std::log(2.0);

// The prosigns the trainer sends as joined runs, by the letters it writes after "^".
constexpr std::array<std::pair<const char*, const char*>, 10> kProsigns = {{{"ar", ".-.-."},
                                                                            {"as", ".-..."},
                                                                            {"bk", "-...-.-"},
                                                                            {"bt", "-...-"},
                                                                            {"ka", "-.-.-"},
                                                                            {"kn", "-.--."},
                                                                            {"sk", "...-.-"},
                                                                            {"sn", "...-."},
                                                                            {"sos", "...---..."},
                                                                            {"hh", "........"}}};

const QHash<QByteArray, QString>& CodeTable() {
    static const QHash<QByteArray, QString> table = [] {
        QHash<QByteArray, QString> t;
        const OrderTable& order = LearningOrderTable(LearningOrder::Koch);
        for (int pos = 1; pos < kOrderSize; ++pos)
            t.insert(order[pos].code, order[pos].display);
        for (const auto& [name, code] : kProsigns)
            t.insert(QByteArray(code), QLatin1Char('^') + QLatin1String(name));
        return t;
    }();
    return table;
}

// The log of the length halfway between two lengths given as logs. A hand's spread is
// much the same on short and long elements, so the split lies halfway in length.
double Between(double low, double high) {
    return std::log((std::exp(low) + std::exp(high)) / 2);
}

// Two centres of the values in log space (Lloyd's iterations from the extremes), and
// the mean square distance of the values from their centres. Returns false when the
// values are all of one kind.
bool TwoCentres(const std::vector<double>& logs, double& low, double& high, double& scatter) {
    if (logs.empty())
        return false;
    const auto [mn, mx] = std::minmax_element(logs.begin(), logs.end());
    if (*mx - *mn < kOneKindRatio)
        return false;
    low = *mn;
    high = *mx;
    for (int round = 0; round < 12; ++round) {
        const double split = Between(low, high);
        double sums[2] = {0, 0};
        int counts[2] = {0, 0};
        for (double v : logs) {
            const int k = v >= split ? 1 : 0;
            sums[k] += v;
            ++counts[k];
        }
        low = sums[0] / counts[0];
        high = sums[1] / counts[1];
    }
    scatter = 0;
    const double split = Between(low, high);
    for (double v : logs)
        scatter += (v - (v >= split ? high : low)) * (v - (v >= split ? high : low));
    scatter /= static_cast<double>(logs.size());
    return true;
}

struct GapCentres {
    std::array<double, 3> c{};  // log dot units: element, character, word
    GapKind Kind(double v) const {
        if (v < Between(c[0], c[1]))
            return GapKind::Element;
        return v < Between(c[1], c[2]) ? GapKind::Character : GapKind::Word;
    }
};

// Lloyd's iterations on gaps (log dot units), each centre holding prior.c as if it had
// kPriorWeight more members there (none when prior is null).
GapCentres ClusterGaps(const double* logs, int n, GapCentres start, const GapCentres* prior) {
    GapCentres centres = start;
    for (int round = 0; round < 10; ++round) {
        std::array<double, 3> sums{};
        std::array<double, 3> weights{};
        if (prior)
            for (int k = 0; k < 3; ++k) {
                sums[k] = kPriorWeight * prior->c[k];
                weights[k] = kPriorWeight;
            }
        for (int i = 0; i < n; ++i) {
            const int k = static_cast<int>(centres.Kind(logs[i]));
            sums[k] += logs[i];
            weights[k] += 1;
        }
        for (int k = 0; k < 3; ++k)
            if (weights[k] > 0)
                centres.c[k] = sums[k] / weights[k];
        // Kept in order and apart, so that no kind swallows another.
        centres.c[1] = std::max(centres.c[1], centres.c[0] + std::log(1.6));
        centres.c[2] = std::max(centres.c[2], centres.c[1] + std::log(1.5));
    }
    return centres;
}

// The centres of the whole sending: element gaps are the most of a sending's gaps, so
// they start from its shortest quarter; the longer gaps split in two where they fall
// apart, else are taken as character gaps when short and word gaps when long.
GapCentres SendingGapCentres(const std::vector<double>& logs) {
    std::vector<double> sorted(logs);
    std::sort(sorted.begin(), sorted.end());
    GapCentres start;
    start.c[0] = sorted[sorted.size() / 4];
    start.c[1] = start.c[0] + std::log(3.0);
    start.c[2] = start.c[0] + std::log(7.0);
    const std::vector<double> longer(
        std::upper_bound(sorted.begin(), sorted.end(), start.c[0] + std::log(1.8)), sorted.end());
    // From a low and a high share of them, so that one odd pause splits nothing.
    const double low = longer.empty() ? 0 : longer[longer.size() / 4];
    const double high = longer.empty() ? 0 : longer[longer.size() - 1 - longer.size() / 10];
    if (high - low >= std::log(1.8)) {
        start.c[1] = low;
        start.c[2] = high;
    } else if (!longer.empty()) {
        const double median = longer[longer.size() / 2];
        if (median < start.c[0] + std::log(5.0)) {
            start.c[1] = median;
            start.c[2] = median + std::log(7.0 / 3.0);
        } else {
            start.c[2] = median;
            start.c[1] = std::min(start.c[1], median - std::log(7.0 / 3.0));
        }
        return ClusterGaps(logs.data(), static_cast<int>(logs.size()), start, &start);
    }
    return ClusterGaps(logs.data(), static_cast<int>(logs.size()), start, nullptr);
}

// Dots and dashes of each mark, and the unit around it (milliseconds).
void ReadMarks(const KeyTimeline& timeline, double unitHintMs, Decoding& out) {
    const int n = static_cast<int>(timeline.marks.size());
    std::vector<double> logs(n);
    for (int i = 0; i < n; ++i)
        logs[i] = std::log(std::max(timeline.marks[i].Length(), 0.1));
    std::vector<double> split(n, 0);
    std::vector<bool> known(n, false);
    out.unitMs.assign(n, 0);
    std::vector<double> window;
    for (int i = 0; i < n; ++i) {
        // Of the marks before, around and after this one, those that fall most
        // cleanly in two: across a change of speed, the side of this mark's speed.
        double best = std::numeric_limits<double>::max();
        for (const auto& [before, after] : {std::pair{kMarkWindow, kMarkWindow},
                                            std::pair{2 * kMarkWindow, 0}, std::pair{0, 2 * kMarkWindow}}) {
            window.assign(logs.begin() + std::max(0, i - before), logs.begin() + std::min(n, i + after + 1));
            double low = 0;
            double high = 0;
            double scatter = 0;
            if (TwoCentres(window, low, high, scatter) && scatter < best) {
                best = scatter;
                known[i] = true;
                split[i] = Between(low, high);
                out.unitMs[i] = std::exp((low + high - std::log(3.0)) / 2);
            }
        }
    }
    // Marks among only dots or only dashes take the unit of the nearest mark that knew
    // both; with none, the shortest gap when it may be an element gap, else the hint.
    int nearest = -1;
    for (int i = 0; i < n && nearest < 0; ++i)
        if (known[i])
            nearest = i;
    double fallback = 60;  // 20 WPM
    if (nearest < 0 && n > 1) {
        fallback = timeline.GapAfter(0);
        for (int i = 1; i + 1 < n; ++i)
            fallback = std::min(fallback, timeline.GapAfter(i));
        fallback = std::max(fallback, 1.0);
        if (unitHintMs > 0 && fallback >= 2.5 * unitHintMs)
            fallback = unitHintMs;  // only character gaps: "tt" is no "ee" at the speed set
    } else if (nearest < 0 && unitHintMs > 0) {
        fallback = unitHintMs;
    }
    for (int i = 0; i < n; ++i) {
        if (known[i]) {
            nearest = i;
            continue;
        }
        int next = i + 1;
        while (next < n && !known[next])
            ++next;
        int from = nearest;
        if (next < n && (from < 0 || next - i < i - from))
            from = next;
        out.unitMs[i] = std::max(kShortestUnitMs, from >= 0 ? out.unitMs[from] : fallback);
        split[i] = std::log(2 * out.unitMs[i]);
    }
    out.marks.resize(n);
    for (int i = 0; i < n; ++i)
        out.marks[i] = logs[i] >= split[i] ? MarkKind::Dash : MarkKind::Dot;
}

// The unit around each mark once the element gaps are known: a dot and the gap after
// it take two units whatever the weighting (medians, so that one odd mark moves nothing).
void RefineUnits(const KeyTimeline& timeline, Decoding& out) {
    const int n = static_cast<int>(out.marks.size());
    std::vector<double> refined(out.unitMs);
    std::vector<double> dots;
    std::vector<double> elements;
    const auto median = [](std::vector<double>& v) {
        std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
        return v[v.size() / 2];
    };
    for (int i = 0; i < n; ++i) {
        dots.clear();
        elements.clear();
        for (int j = std::max(0, i - kMarkWindow); j < std::min(n, i + kMarkWindow + 1); ++j) {
            if (out.marks[j] == MarkKind::Dot)
                dots.push_back(timeline.marks[j].Length());
            if (j + 1 < n && out.gaps[j] == GapKind::Element)
                elements.push_back(timeline.GapAfter(j));
        }
        if (!dots.empty() && !elements.empty())
            refined[i] = std::max(kShortestUnitMs, (median(dots) + median(elements)) / 2);
    }
    out.unitMs = refined;
}

void ReadGaps(const KeyTimeline& timeline, double unitHintMs, Decoding& out) {
    const int gaps = static_cast<int>(timeline.marks.size()) - 1;
    out.gaps.assign(std::max(gaps, 0), GapKind::Element);
    out.gapUnits.assign(std::max(gaps, 0), 0);
    if (gaps <= 0)
        return;
    std::vector<double> logs(gaps);
    for (int i = 0; i < gaps; ++i) {
        out.gapUnits[i] = std::max(timeline.GapAfter(i), 0.0) / ((out.unitMs[i] + out.unitMs[i + 1]) / 2);
        logs[i] = std::log(std::max(out.gapUnits[i], 0.01));
    }
    // Gaps all of one kind cluster into nothing: with the sender's unit known, a short
    // answer ("tt", "et") is read by the rules, halfway between their gaps.
    if (const auto [mn, mx] = std::minmax_element(logs.begin(), logs.end());
        unitHintMs > 0 && *mx - *mn < kOneKindRatio) {
        for (int i = 0; i < gaps; ++i)
            out.gaps[i] = out.gapUnits[i] < 2   ? GapKind::Element
                          : out.gapUnits[i] < 5 ? GapKind::Character
                                                : GapKind::Word;
        return;
    }
    const GapCentres sending = SendingGapCentres(logs);
    for (int i = 0; i < gaps; ++i) {
        const int from = std::max(0, i - kGapWindow);
        const int to = std::min(gaps, i + kGapWindow + 1);
        const GapCentres local = ClusterGaps(logs.data() + from, to - from, sending, &sending);
        out.gaps[i] = local.Kind(logs[i]);
    }
}

void Assemble(Decoding& out) {
    const int n = static_cast<int>(out.marks.size());
    DecodedCharacter current;
    for (int i = 0; i < n; ++i) {
        if (current.markCount == 0)
            current.firstMark = i;
        current.code += out.marks[i] == MarkKind::Dot ? '.' : '-';
        ++current.markCount;
        const bool last = i + 1 == n;
        if (last || out.gaps[i] != GapKind::Element) {
            current.text = TimelineDecoder::CharacterOf(current.code);
            out.text += current.text;
            out.characters.push_back(current);
            current = DecodedCharacter{};
            if (!last && out.gaps[i] == GapKind::Word)
                out.text += QLatin1Char(' ');
        }
    }
}

}  // namespace

QString TimelineDecoder::CharacterOf(const QByteArray& code) {
    return CodeTable().value(code, QStringLiteral("*"));
}

QByteArray TimelineDecoder::CodeOf(const QString& text) {
    const QHash<QByteArray, QString>& table = CodeTable();
    for (auto it = table.begin(); it != table.end(); ++it)
        if (it.value() == text.toLower())
            return it.key();
    return {};
}

Decoding TimelineDecoder::Decode(const KeyTimeline& timeline, double unitHintMs) {
    Decoding out;
    if (timeline.marks.empty())
        return out;
    ReadMarks(timeline, unitHintMs, out);
    ReadGaps(timeline, unitHintMs, out);
    RefineUnits(timeline, out);
    ReadGaps(timeline, unitHintMs, out);
    Assemble(out);
    return out;
}

}  // namespace lumbrel
