#pragma once
// A spell of sending practice as the history keeps it: an echo drill (the trainer
// played each item, the learner keyed it back), a text sent from the screen, or free
// sending; what was to be sent, what the decoder read, the score and the fist the
// decoder measured.
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

namespace lumbrel {

enum class SendingKind { Echo, Text, Free };

// One item of an echo drill, or one line of a text sent.
struct SentItem {
    QString expected;  // as the trainer writes it ("^ar" for a prosign)
    QString sent;      // as the decoder read it
    bool Right() const;  // equal, case and spaces aside
};

// The fist of a sending: the measures are in dot units, the spreads their standard
// deviations.
struct SendingFist {
    double wpm = 0;
    double dashDotRatio = 0;
    double weighting = 0;  // percent; 50 even
    double dotSpread = 0, dashSpread = 0;
    double elementGap = 0, elementGapSpread = 0;
    double characterGap = 0, characterGapSpread = 0;
    double wordGap = 0, wordGapSpread = 0;
    QStringList notes;  // one per character sent wrong or badly, with why
};

struct SendingRecord {
    qint64 id = 0;  // the history's; 0 until stored
    SendingKind kind = SendingKind::Free;
    QDateTime ended;
    int durationSeconds = 0;
    int keyerWpm = 0;  // the keyer's speed setting (0 for a straight key)
    QString keyer;     // "straight", "iambic-a", "iambic-b" or "bug"
    std::vector<SentItem> items;  // in the order sent; free sending: one item, expected empty
    SendingFist fist;

    // Percent of the items (echo) or of the expected characters (text) sent right;
    // nothing to score (free sending, no items): -1.
    double AccuracyPercent() const;
};

}  // namespace lumbrel
