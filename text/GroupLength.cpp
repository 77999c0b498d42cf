#include "text/GroupLength.h"

#include <QStringList>

#include <algorithm>

#include "morse/Random.h"

namespace lumbrel {

GroupLength GroupLength::Fixed(int n) {
    n = std::clamp(n, 1, kLongest);
    return GroupLength{Kind::Fixed, n, n};
}

GroupLength GroupLength::Between(int min, int max) {
    if (min > max)
        std::swap(min, max);
    min = std::clamp(min, 1, kLongest);
    max = std::clamp(max, 1, kLongest);
    // One length is a fixed one: no draw.
    return min == max ? Fixed(min) : GroupLength{Kind::Range, min, max};
}

std::optional<GroupLength> GroupLength::Parse(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('-'));
    if (parts.size() > 2)
        return std::nullopt;
    int values[2] = {0, 0};
    for (qsizetype k = 0; k < parts.size(); ++k) {
        bool ok = false;
        values[k] = parts[k].toInt(&ok);
        if (!ok || parts[k].startsWith(QLatin1Char('+')) || values[k] < 1 || values[k] > kLongest)
            return std::nullopt;
    }
    if (parts.size() == 1)
        return Fixed(values[0]);
    if (values[0] > values[1])
        return std::nullopt;
    return Between(values[0], values[1]);
}

int GroupLength::Draw(RandomNumber& random) const {
    switch (kind) {
        case Kind::OneToEight:
            break;
        case Kind::Fixed:
            return min;
        case Kind::Range:
            return min + random.Next(max - min + 1);
    }
    return random.Next(8) + 1;
}

}  // namespace lumbrel
