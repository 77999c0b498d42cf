#pragma once
// A sending cut into lines as the learner keys them: the keyer's marks (in frames of
// the sound's stream) gather into the line being sent, which ends when the key has
// rested for kPauseWordGaps word gaps at the keyer's speed, or when the learner says so
// (Enter). An ended line is decoded at the keyer's speed and its fist measured.
//
//   marks ... | last mark ends at E | line over once the stream reaches E + 3 × 7 units
//
// The time is the stream's frame line (the audio clock), handed in by the caller.
#include <QString>

#include <cstdint>
#include <vector>

#include "decoder/FistReport.h"
#include "scoring/SendingRecord.h"
#include "sending/Keyer.h"
#include "sending/SendingSound.h"

namespace lumbrel {

// One line sent: the marks in milliseconds, what the decoder read and the fist.
struct SentLine {
    KeyTimeline timeline;
    QString text;
    FistReport fist;
};

class SentLines {
public:
    static constexpr int kPauseWordGaps = 3;

    explicit SentLines(int keyerWpm);

    // A mark the keyer made; marks that begin before the end of the last are dropped.
    void Add(const SentMark& mark);
    bool Empty() const { return timeline_.marks.empty(); }
    // The text read so far from the line being sent.
    QString Reading() const;
    // Whether the line being sent is over by a pause, the stream being at nowFrame.
    bool PauseEnded(std::int64_t nowFrame) const;
    // Ends the line being sent (empty when nothing was sent): its text and its fist,
    // with the notes on the characters of expected (the text to be sent) read otherwise.
    SentLine Take(const QString& expected = QString());
    // Forgets the line being sent.
    void Clear() { timeline_.marks.clear(); }

    double UnitMs() const;

private:
    int wpm_;
    std::int64_t lastEnd_ = 0;
    KeyTimeline timeline_;
};

// The stream's frame line as the drills follow it: the frame now, and the frames
// elapsed, which count on across a stream opened again (whose frames start again at 0,
// as when a drill's first item asks the output for another latency).
struct StreamTime {
    std::int64_t now = 0;
    std::int64_t elapsed = 0;
    void Advance(std::int64_t frame) {
        elapsed += frame >= now ? frame - now : frame;
        now = frame;
    }
};

// The keyer's name as the history keeps it, and its speed (0 for a straight key).
QString KeyerName(KeyerMode mode);
void FillKeyer(SendingRecord& record, const KeyerSettings& keyer);

// The fist of several lines: each measure pooled over all of their marks and gaps, the
// speed weighed by marks, the notes of every line.
SendingFist PooledFist(const std::vector<FistReport>& lines);

}  // namespace lumbrel
