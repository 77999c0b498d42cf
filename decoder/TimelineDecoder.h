#pragma once
// Reads the text of a key timeline, following the sender: marks are told dots or
// dashes, and gaps element, character or word gaps, by clustering the sender's own
// timings around each mark, not by fixed thresholds. So the speed may change (5 to 60
// WPM), the character and word gaps may be stretched (effective speed) and the fist
// may be uneven.
//
//   marks:  dot 1 unit, dash about 3
//   gaps:   element about 1 unit | character about 3 (or stretched) | word about 7 (or stretched)
//
// The whole timeline is read at once (a line of sending, a file). Each mark is judged
// with up to three characters on either side, so the last characters of a timeline
// that is still growing may read otherwise once more marks follow.
#include <QByteArray>
#include <QString>

#include <vector>

#include "decoder/KeyTimeline.h"

namespace lumbrel {

enum class MarkKind { Dot, Dash };
enum class GapKind { Element, Character, Word };

struct DecodedCharacter {
    QString text;     // as the trainer shows it: "k", "^ar" for a prosign, "*" for no character
    QByteArray code;  // '.' and '-'
    int firstMark = 0;
    int markCount = 0;
};

struct Decoding {
    QString text;  // characters, a space for each word gap
    std::vector<DecodedCharacter> characters;
    std::vector<MarkKind> marks;   // one per mark of the timeline
    std::vector<double> unitMs;    // the sender's dot unit around each mark
    std::vector<GapKind> gaps;     // gaps[i] follows mark i; one fewer than the marks
    std::vector<double> gapUnits;  // the same gaps in the dot units around them
};

class TimelineDecoder {
public:
    // unitHintMs (0: none): the unit the sender is set to (a keyer's speed), for marks
    // that cannot tell their own (a lone mark, marks all of one kind without element gaps).
    static Decoding Decode(const KeyTimeline& timeline, double unitHintMs = 0);

    // The text of a code ('.' and '-'): a character of the trainer, a prosign as "^ar",
    // or "*" when it is neither.
    static QString CharacterOf(const QByteArray& code);
    // The code of one shown character ("k", "^ar"); empty when it has none.
    static QByteArray CodeOf(const QString& text);
};

}  // namespace lumbrel
