#include "scoring/DrillProgress.h"

#include <QHash>

#include <algorithm>
#include <map>

namespace lumbrel {
namespace {

// The recognition drills of the records, the last `last` of them (all when < 0).
std::vector<const DrillRecord*> RecognitionDrills(const std::vector<DrillRecord>& drills, int last) {
    std::vector<const DrillRecord*> chosen;
    for (const DrillRecord& d : drills)
        if (d.kind == DrillKind::Recognition)
            chosen.push_back(&d);
    if (last >= 0 && static_cast<std::size_t>(last) < chosen.size())
        chosen.erase(chosen.begin(), chosen.end() - last);
    return chosen;
}

}  // namespace

int MedianMs(std::vector<int> values) {
    if (values.empty())
        return -1;
    const std::size_t half = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(half), values.end());
    const int upper = values[half];
    if (values.size() % 2 != 0)
        return upper;
    const int lower = *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(half));
    return static_cast<int>((static_cast<long long>(lower) + upper) / 2);
}

std::vector<RecognitionStats> RecognitionByCharacter(std::span<const RecognitionAnswer> answers) {
    std::vector<RecognitionStats> stats;
    std::vector<std::vector<int>> times;
    QHash<QString, std::size_t> index;
    for (const RecognitionAnswer& a : answers) {
        auto it = index.find(a.character);
        if (it == index.end()) {
            it = index.insert(a.character, stats.size());
            stats.push_back(RecognitionStats{a.character});
            times.emplace_back();
        }
        RecognitionStats& s = stats[*it];
        ++s.shown;
        if (a.Early()) {
            ++s.early;
        } else if (a.TimedOut()) {
            ++s.timedOut;
        } else if (a.Right()) {
            ++s.right;
            times[*it].push_back(a.reactionMs);
        }
    }
    for (std::size_t k = 0; k < stats.size(); ++k)
        stats[k].medianMs = MedianMs(std::move(times[k]));
    return stats;
}

std::vector<RecognitionStats> RecognitionByCharacter(const std::vector<DrillRecord>& drills, int lastDrills) {
    std::vector<RecognitionAnswer> all;
    for (const DrillRecord* d : RecognitionDrills(drills, lastDrills))
        all.insert(all.end(), d->answers.begin(), d->answers.end());
    return RecognitionByCharacter(all);
}

void SortSlowestFirst(std::vector<RecognitionStats>& stats) {
    std::stable_sort(stats.begin(), stats.end(), [](const RecognitionStats& a, const RecognitionStats& b) {
        const bool aNever = a.medianMs < 0;
        const bool bNever = b.medianMs < 0;
        if (aNever != bNever)
            return aNever;
        if (a.medianMs != b.medianMs)
            return a.medianMs > b.medianMs;
        // Compared as whole counts: right / shown against right / shown.
        const long long left = static_cast<long long>(a.right) * b.shown;
        const long long right = static_cast<long long>(b.right) * a.shown;
        if (left != right)
            return left < right;
        return a.character < b.character;
    });
}

QSet<QString> KnownCharacters(const std::vector<DrillRecord>& drills, int targetMs, int drillsNeeded) {
    // Newest drill first; per character the drills that played it, until drillsNeeded.
    QHash<QString, int> counted;
    QSet<QString> failed;
    const std::vector<const DrillRecord*> recognition = RecognitionDrills(drills, -1);
    for (auto it = recognition.rbegin(); it != recognition.rend(); ++it) {
        for (const RecognitionStats& s : RecognitionByCharacter((*it)->answers)) {
            int& seen = counted[s.character];
            if (seen >= drillsNeeded || failed.contains(s.character) || s.Counted() == 0)
                continue;
            const bool good = s.right * 100 >= kKnownAccuracyPercent * s.Counted() && s.medianMs >= 0 &&
                              s.medianMs < targetMs;
            if (!good)
                failed.insert(s.character);
            else if (s.Counted() >= kKnownAnswers)
                ++seen;
        }
    }
    QSet<QString> known;
    for (auto it = counted.cbegin(); it != counted.cend(); ++it)
        if (it.value() >= drillsNeeded && !failed.contains(it.key()))
            known.insert(it.key());
    return known;
}

std::vector<ReactionSeries> ReactionTimesByDrill(const std::vector<DrillRecord>& drills) {
    std::vector<ReactionSeries> series;
    QHash<QString, std::size_t> index;
    for (const DrillRecord* d : RecognitionDrills(drills, -1)) {
        for (const RecognitionStats& s : RecognitionByCharacter(d->answers)) {
            if (s.medianMs < 0)
                continue;
            auto it = index.find(s.character);
            if (it == index.end()) {
                it = index.insert(s.character, series.size());
                series.push_back(ReactionSeries{s.character, {}});
            }
            series[*it].points.push_back({d->ended, s.medianMs});
        }
    }
    return series;
}

std::vector<ReactionPoint> ReactionTimesOfDrills(const std::vector<DrillRecord>& drills) {
    std::vector<ReactionPoint> points;
    for (const DrillRecord* d : RecognitionDrills(drills, -1)) {
        std::vector<int> times;
        for (const RecognitionAnswer& a : d->answers)
            if (a.Right())
                times.push_back(a.reactionMs);
        if (!times.empty())
            points.push_back({d->ended, MedianMs(std::move(times))});
    }
    return points;
}

std::vector<CallsignScore> CallsignScores(const std::vector<DrillRecord>& drills) {
    std::vector<CallsignScore> scores;
    for (const DrillRecord& d : drills)
        if (d.kind == DrillKind::Callsigns)
            scores.push_back({d.ended, d.score, d.characterWpm, d.topWpm, static_cast<int>(d.calls.size()),
                              d.CallsMissed()});
    return scores;
}

}  // namespace lumbrel
