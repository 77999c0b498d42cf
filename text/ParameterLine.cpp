#include "text/ParameterLine.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "morse/Random.h"

namespace lumbrel {

int ParameterFieldValue(QByteArrayView field) {
    qsizetype i = 0;
    while (i < field.size() && (field[i] == ' ' || field[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) {
        negative = field[i] == '-';
        ++i;
    }
    long long value = 0;
    constexpr long long kLimit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i)
        value = std::min(value * 10 + (field[i] - '0'), kLimit);
    if (negative)
        value = -value;
    return static_cast<int>(
        std::clamp<long long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

ParameterLine ParseParameterLine(QByteArrayView line, int leadingSpaces) {
    ParameterLine parsed;
    const qsizetype firstComma = line.indexOf(',');
    if (firstComma < 0) {
        parsed.stored = line.toByteArray();
        return parsed;
    }
    const int pause = std::clamp(leadingSpaces, 0, kMaxLeadingSpaces);
    const QByteArrayView text = line.first(firstComma);
    parsed.stored = QByteArray(pause, ' ') + text.toByteArray();
    if (!text.isEmpty())
        parsed.markIndex = pause;

    std::vector<QByteArrayView> fields;
    qsizetype start = firstComma + 1;
    for (;;) {
        const qsizetype comma = line.indexOf(',', start);
        if (comma < 0) {
            if (start < line.size())
                fields.push_back(line.sliced(start));
            break;
        }
        fields.push_back(line.sliced(start, comma - start));
        start = comma + 1;
        if (fields.size() > 4)
            break;  // not a station line; the rest cannot change that
    }
    if (fields.size() == 4) {
        parsed.hasParameters = true;
        for (std::size_t k = 0; k < 4; ++k)
            parsed.values[k] = ParameterFieldValue(fields[k]);
    }
    return parsed;
}

int StationSpeed(int v, int selectedIndex, RandomNumber& random) {
    if (v != 0)
        return std::clamp(v, kMinStationWpm, kMaxStationWpm);
    const int s = selectedIndex;
    const int wpm = s <= 1 ? random.Next(10) + 5 * s + 10 : random.Next(20) + 5 * s + 5;
    return std::clamp(wpm, kMinStationWpm, kMaxStationWpm);
}

QString ParameterText(int wpm, int pitch, int drift, int chirp, const QString& text) {
    return QStringLiteral("%1, %2, %3, %4, %5").arg(wpm).arg(pitch).arg(drift).arg(chirp).arg(text);
}

QString ParameterLogLine(unsigned hundredths, const QString& parameterText) {
    return QStringLiteral("%1 %2").arg(hundredths, 5).arg(parameterText);
}

}  // namespace lumbrel
