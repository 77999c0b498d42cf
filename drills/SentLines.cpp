#include "drills/SentLines.h"

#include <cmath>

#include "morse/SampleFormat.h"

namespace lumbrel {

namespace {

double Ms(std::int64_t frames) {
    return static_cast<double>(frames) * 1000.0 / audio::kFrameRate;
}

// Sums of a measure over lines, so that the pooled mean and spread are those of all
// the values together.
struct Pool {
    double sum = 0;
    double squares = 0;
    int count = 0;
    void Add(const FistMeasure& m) {
        sum += m.mean * m.count;
        squares += (m.spread * m.spread + m.mean * m.mean) * m.count;
        count += m.count;
    }
    double Mean() const { return count > 0 ? sum / count : 0; }
    double Spread() const {
        return count > 0 ? std::sqrt(std::max(0.0, squares / count - Mean() * Mean())) : 0;
    }
};

}  // namespace

SentLines::SentLines(int keyerWpm) : wpm_(keyerWpm) {}

double SentLines::UnitMs() const {
    return Ms(Keyer::UnitFrames(wpm_));
}

void SentLines::Add(const SentMark& mark) {
    if (mark.lengthFrames <= 0 || (!Empty() && mark.startFrame < lastEnd_))
        return;
    lastEnd_ = mark.startFrame + mark.lengthFrames;
    timeline_.marks.push_back({Ms(mark.startFrame), Ms(lastEnd_)});
}

QString SentLines::Reading() const {
    return TimelineDecoder::Decode(timeline_, UnitMs()).text;
}

bool SentLines::PauseEnded(std::int64_t nowFrame) const {
    return !Empty() && nowFrame - lastEnd_ >= kPauseWordGaps * 7 * Keyer::UnitFrames(wpm_);
}

SentLine SentLines::Take(const QString& expected) {
    SentLine line;
    line.timeline = std::move(timeline_);
    timeline_ = KeyTimeline{};
    if (line.timeline.marks.empty())
        return line;
    const Decoding decoding = TimelineDecoder::Decode(line.timeline, UnitMs());
    line.text = decoding.text;
    line.fist = FistReport::Measure(line.timeline, decoding, expected);
    return line;
}

QString KeyerName(KeyerMode mode) {
    switch (mode) {
        case KeyerMode::Straight:
            return QStringLiteral("straight");
        case KeyerMode::IambicA:
            return QStringLiteral("iambic-a");
        case KeyerMode::IambicB:
            return QStringLiteral("iambic-b");
        case KeyerMode::Bug:
            return QStringLiteral("bug");
    }
    return {};
}

void FillKeyer(SendingRecord& record, const KeyerSettings& keyer) {
    record.keyer = KeyerName(keyer.mode);
    record.keyerWpm = keyer.mode == KeyerMode::Straight ? 0 : keyer.Clamped().wpm;
}

SendingFist PooledFist(const std::vector<FistReport>& lines) {
    SendingFist fist;
    Pool dot, dash, element, character, word;
    double wpm = 0;
    int marks = 0;
    for (const FistReport& r : lines) {
        dot.Add(r.dot);
        dash.Add(r.dash);
        element.Add(r.elementGap);
        character.Add(r.characterGap);
        word.Add(r.wordGap);
        wpm += r.wpm * (r.dot.count + r.dash.count);
        marks += r.dot.count + r.dash.count;
        fist.notes << r.notes;
    }
    fist.wpm = marks > 0 ? wpm / marks : 0;
    if (dot.count > 0 && dash.count > 0 && dot.Mean() > 0)
        fist.dashDotRatio = dash.Mean() / dot.Mean();
    if (dot.count > 0)
        fist.weighting =
            element.count > 0 ? 100 * dot.Mean() / (dot.Mean() + element.Mean()) : 50 * dot.Mean();
    fist.dotSpread = dot.Spread();
    fist.dashSpread = dash.Spread();
    fist.elementGap = element.Mean();
    fist.elementGapSpread = element.Spread();
    fist.characterGap = character.Mean();
    fist.characterGapSpread = character.Spread();
    fist.wordGap = word.Mean();
    fist.wordGapSpread = word.Spread();
    return fist;
}

}  // namespace lumbrel
