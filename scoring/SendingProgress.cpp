#include "scoring/SendingProgress.h"

#include <algorithm>

namespace lumbrel {

SendingTrends SendingTrendsOf(const std::vector<SendingRecord>& sendings, std::optional<SendingKind> kind) {
    std::vector<const SendingRecord*> chosen;
    for (const SendingRecord& s : sendings)
        if (s.ended.isValid() && (!kind || s.kind == *kind))
            chosen.push_back(&s);
    std::stable_sort(chosen.begin(), chosen.end(),
                     [](const SendingRecord* a, const SendingRecord* b) { return a->ended < b->ended; });
    SendingTrends trends;
    const auto add = [](std::vector<SendingPoint>& series, const SendingRecord& s, double value) {
        if (value > 0)
            series.push_back({s.ended, value});
    };
    for (const SendingRecord* s : chosen) {
        if (const double accuracy = s->AccuracyPercent(); accuracy >= 0)
            trends.accuracy.push_back({s->ended, accuracy});
        const SendingFist& f = s->fist;
        if (f.wpm <= 0)
            continue;  // the decoder measured no fist
        add(trends.wpm, *s, f.wpm);
        add(trends.dashDotRatio, *s, f.dashDotRatio);
        add(trends.weighting, *s, f.weighting);
        add(trends.elementGap, *s, f.elementGap);
        add(trends.characterGap, *s, f.characterGap);
        add(trends.wordGap, *s, f.wordGap);
    }
    return trends;
}

}  // namespace lumbrel
