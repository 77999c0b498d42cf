#pragma once
// How a sending was keyed: its speed, the dash to dot ratio, the gaps in dot units,
// the spread of each and the weighting, and per character sent wrong or badly, why
// ("L read as ED: the gap after the first dot was 3.1 dot units").
#include <QString>
#include <QStringList>

#include "decoder/TimelineDecoder.h"

namespace lumbrel {

struct FistMeasure {
    double mean = 0;    // dot units
    double spread = 0;  // standard deviation, dot units
    int count = 0;
};

class FistReport {
public:
    // The report of a decoded timeline. With the text that was to be sent (as the
    // trainer writes it: "^ar" for a prosign), the characters read otherwise are named
    // with the mark or gap that made them so.
    static FistReport Measure(const KeyTimeline& timeline, const Decoding& decoding,
                              const QString& expected = QString());

    double wpm = 0;
    double dashDotRatio = 0;
    double weighting = 0;  // percent of a dot and the gap after it that is the dot; 50 even
    FistMeasure dot, dash, elementGap, characterGap, wordGap;
    QStringList notes;

    // "name value" lines: speed, dah:dit ratio, each measure and its spread, weighting,
    // then one "note ..." line a character.
    QStringList Lines() const;
};

}  // namespace lumbrel
