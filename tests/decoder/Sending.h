#pragma once
// Key timelines made from the timing rules: dot 1 unit, dash 3, element gap 1,
// character gap 3, word gap 7, one unit 1200 / WPM milliseconds.
#include <QString>
#include <QStringList>

#include <random>

#include "decoder/TimelineDecoder.h"

namespace lumbrel::test {

struct Fist {
    double wpm = 20;
    double dash = 3;       // units
    double element = 1;    // units
    double character = 3;  // units
    double word = 7;       // units
    double weight = 0;     // units added to each mark and taken from the gap after it
    double spread = 0;     // standard deviation of every mark and gap, units
    unsigned seed = 1;
};

// Appends text (as the trainer writes it, "^ar" a prosign) to timeline from now (ms).
inline double Send(const QString& text, const Fist& f, KeyTimeline& timeline, double now = 0) {
    std::mt19937 random(f.seed);
    std::normal_distribution<double> jitter(0, f.spread);
    const double unit = 1200 / f.wpm;
    const auto ms = [&](double units) {
        return std::max(0.1, units + (f.spread > 0 ? jitter(random) : 0)) * unit;
    };
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList characters =
            word.startsWith(QLatin1Char('^')) ? QStringList{word} : word.split(QString(), Qt::SkipEmptyParts);
        for (qsizetype c = 0; c < characters.size(); ++c) {
            const QByteArray code = TimelineDecoder::CodeOf(characters[c]);
            for (qsizetype e = 0; e < code.size(); ++e) {
                const double mark = ms((code[e] == '.' ? 1 : f.dash) + f.weight);
                timeline.marks.push_back({now, now + mark});
                const bool lastOfCharacter = e + 1 == code.size();
                const bool lastOfWord = lastOfCharacter && c + 1 == characters.size();
                now += mark + ms((lastOfWord        ? f.word
                                  : lastOfCharacter ? f.character
                                                    : f.element) -
                                 f.weight);
            }
        }
    }
    return now;
}

inline KeyTimeline Sending(const QString& text, const Fist& f) {
    KeyTimeline timeline;
    Send(text, f, timeline);
    return timeline;
}

}  // namespace lumbrel::test
