#pragma once
// A text keyed by the timing rules: dot 1 unit, dash 3, gaps 1, 3 and 7.
#include <QString>

#include <cstdint>

#include "decoder/TimelineDecoder.h"

namespace lumbrel::test {

// Calls change(time, down) for each change of a straight key keying text from `at`,
// `unit` a dot; the time its last mark ends.
template <typename Change>
std::int64_t KeyText(const QString& text, std::int64_t at, std::int64_t unit, Change change) {
    std::int64_t end = at;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        for (const QChar c : word) {
            for (const char e : TimelineDecoder::CodeOf(QString(c))) {
                change(at, true);
                end = at + (e == '.' ? 1 : 3) * unit;
                change(end, false);
                at = end + unit;
            }
            at += 2 * unit;
        }
        at += 4 * unit;
    }
    return end;
}

}  // namespace lumbrel::test
