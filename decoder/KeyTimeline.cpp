#include "decoder/KeyTimeline.h"

#include <QList>

#include <cmath>

namespace lumbrel {
namespace {
constexpr double kLatestMs = 1e12;  // some 30 years: later times are no sending
}  // namespace

KeyTimelineText ParseKeyEvents(const QByteArray& text) {
    KeyTimelineText result;
    const auto fail = [&result](int line, const QString& why) {
        result.timeline.marks.clear();
        result.problem = QStringLiteral("line %1: %2").arg(line).arg(why);
        return result;
    };
    bool down = false;
    double last = -1;
    int number = 0;
    for (const QByteArray& raw : text.split('\n')) {
        ++number;
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> words = line.simplified().split(' ');
        bool ok = false;
        const double time = words.size() == 2 ? words[0].toDouble(&ok) : 0;
        if (!ok || !(time >= 0 && time <= kLatestMs) || (words[1] != "down" && words[1] != "up"))
            return fail(number, QStringLiteral("expected \"TIME_MS down\" or \"TIME_MS up\""));
        if (time < last)
            return fail(
                number,
                QStringLiteral("the events are out of order (%1 ms after %2 ms)").arg(time).arg(last));
        const bool isDown = words[1] == "down";
        if (isDown == down)
            return fail(number, isDown ? QStringLiteral("the key is down already")
                                       : QStringLiteral("the key is up already"));
        if (isDown)
            result.timeline.marks.push_back({time, time});
        else
            result.timeline.marks.back().upMs = time;
        down = isDown;
        last = time;
    }
    if (result.timeline.marks.empty())
        result.problem = QStringLiteral("no key events");
    return result;
}

}  // namespace lumbrel
