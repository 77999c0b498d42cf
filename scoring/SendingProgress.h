#pragma once
// What the progress window's Sending tab draws, worked out from the sendings of the
// history: the accuracy and speed of each sending and the measures of its fist, over
// time. A measure the sending could not give is left out, never drawn as 0: no
// accuracy for free sending, no fist where the decoder measured none, no character
// gap in a single character, no word gap in a single word.
#include <QDateTime>

#include <optional>
#include <vector>

#include "scoring/SendingRecord.h"

namespace lumbrel {

struct SendingPoint {
    QDateTime ended;
    double value = 0;
    bool operator==(const SendingPoint&) const = default;
};

struct SendingTrends {
    std::vector<SendingPoint> accuracy;  // percent
    std::vector<SendingPoint> wpm;
    std::vector<SendingPoint> dashDotRatio;
    std::vector<SendingPoint> weighting;  // percent; 50 even
    // In dot units.
    std::vector<SendingPoint> elementGap;
    std::vector<SendingPoint> characterGap;
    std::vector<SendingPoint> wordGap;
};

// Oldest first, of the sendings of a kind (every kind when none); a sending without a
// time is left out.
SendingTrends SendingTrendsOf(const std::vector<SendingRecord>& sendings,
                              std::optional<SendingKind> kind = std::nullopt);

}  // namespace lumbrel
