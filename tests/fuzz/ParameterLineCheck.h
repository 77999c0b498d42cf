#pragma once
// What must hold for any line the parameter line parser is given, checked against a
// plain reading of the line's commas (text/ParameterLine.h describes the format).
#include <QByteArray>
#include <QByteArrayView>

#include <algorithm>
#include <charconv>
#include <limits>

#include "morse/Random.h"
#include "tests/fuzz/FuzzSupport.h"
#include "text/ParameterLine.h"

namespace lumbrel::fuzz {

// A field's value read another way: the digits after blanks and a sign, through
// from_chars, held at the ends of the int range.
inline int ExpectedFieldValue(QByteArrayView field) {
    qsizetype i = 0;
    while (i < field.size() && (field[i] == ' ' || field[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-'))
        negative = field[i++] == '-';
    qsizetype end = i;
    while (end < field.size() && field[end] >= '0' && field[end] <= '9')
        ++end;
    if (end == i)
        return 0;
    unsigned long long magnitude = 0;
    const auto [ptr, ec] = std::from_chars(field.data() + i, field.data() + end, magnitude);
    (void)ptr;
    constexpr unsigned long long kMaxMagnitude = 1ull << 31;  // INT_MAX + 1
    if (ec == std::errc::result_out_of_range || magnitude > kMaxMagnitude)
        magnitude = kMaxMagnitude;
    if (negative)
        return magnitude == kMaxMagnitude ? std::numeric_limits<int>::min() : -static_cast<int>(magnitude);
    return magnitude >= kMaxMagnitude ? std::numeric_limits<int>::max() : static_cast<int>(magnitude);
}

inline void CheckParameterLine(QByteArrayView line, int leadingSpaces, RandomNumber& random) {
    const ParameterLine parsed = ParseParameterLine(line, leadingSpaces);
    const qsizetype firstComma = line.indexOf(',');
    if (firstComma < 0) {
        // A line without a comma is sent as it is, with no pause and no log line.
        FUZZ_CHECK(parsed.stored == line);
        FUZZ_CHECK(parsed.markIndex == -1);
        FUZZ_CHECK(!parsed.hasParameters);
        return;
    }
    const int pause = std::clamp(leadingSpaces, 0, kMaxLeadingSpaces);
    const QByteArrayView text = line.first(firstComma);
    FUZZ_CHECK(parsed.stored == QByteArray(pause, ' ') + text.toByteArray());
    FUZZ_CHECK(parsed.markIndex == (text.isEmpty() ? -1 : pause));

    // The fields after the text: one between each pair of commas, and the rest after
    // the last comma when it is not empty.
    QList<QByteArrayView> pieces;
    qsizetype start = firstComma + 1;
    for (qsizetype i = start; i <= line.size(); ++i) {
        if (i == line.size() || line[i] == ',') {
            pieces.append(line.sliced(start, i - start));
            start = i + 1;
        }
    }
    if (pieces.last().isEmpty())
        pieces.removeLast();
    FUZZ_CHECK(parsed.hasParameters == (pieces.size() == 4));
    if (!parsed.hasParameters)
        return;

    for (int k = 0; k < 4; ++k) {
        const int expected = ExpectedFieldValue(pieces[k]);
        FUZZ_CHECK(parsed.values[static_cast<std::size_t>(k)] == expected);
        FUZZ_CHECK(ParameterFieldValue(pieces[k]) == expected);
    }
    // Whatever the line says, a station's speed stays within the trainer's range, and a
    // speed within it is taken as it is.
    const int v = parsed.values[0];
    for (int selected = 0; selected < 14; ++selected) {
        const int wpm = StationSpeed(v, selected, random);
        FUZZ_CHECK(wpm >= kMinStationWpm && wpm <= kMaxStationWpm);
        if (v >= kMinStationWpm && v <= kMaxStationWpm)
            FUZZ_CHECK(wpm == v);
    }
}

}  // namespace lumbrel::fuzz
