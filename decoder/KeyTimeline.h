#pragma once
// A sending as the key made it: each mark from key down to key up, in milliseconds,
// rising. Read from lines "TIME_MS down" / "TIME_MS up", or made from audio.
#include <QByteArray>
#include <QString>

#include <vector>

namespace lumbrel {

struct KeyMark {
    double downMs = 0;
    double upMs = 0;
    double Length() const { return upMs - downMs; }
};

struct KeyTimeline {
    std::vector<KeyMark> marks;

    // The gap after mark i (i + 1 < marks.size()), milliseconds.
    double GapAfter(std::size_t i) const { return marks[i + 1].downMs - marks[i].upMs; }
};

struct KeyTimelineText {
    KeyTimeline timeline;
    QString problem;  // empty when read; otherwise one line naming the line at fault
    bool Ok() const { return problem.isEmpty(); }
};

// Lines "TIME_MS down" and "TIME_MS up" (a decimal number, the events alternating down
// and up, the times rising), blank lines and lines starting with '#' ignored. A timeline
// that ends with the key down gets its last mark ended at that time.
KeyTimelineText ParseKeyEvents(const QByteArray& text);

}  // namespace lumbrel
