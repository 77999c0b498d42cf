#include <gtest/gtest.h>

#include "decoder/FistReport.h"
#include "tests/decoder/Sending.h"
#include "tests/scoring/QtPrinters.h"

namespace lumbrel {
namespace {

using test::Fist;

FistReport Report(const KeyTimeline& t, const QString& expected = QString()) {
    return FistReport::Measure(t, TimelineDecoder::Decode(t), expected);
}

// The measures of fists whose ratios are set, in dot units of the sender's speed.
TEST(FistReport, MeasuresTheRatiosSent) {
    const QString text = QStringLiteral("the quick brown fox jumps over the lazy dog");
    struct Case {
        Fist fist;
        double wpm, ratio, weighting, dot, element, character, word;
    };
    const Case cases[] = {
        {{.wpm = 20}, 20, 3, 50, 1, 1, 3, 7},
        {{.wpm = 13, .dash = 3.5, .character = 4.5, .word = 9}, 13, 3.5, 50, 1, 1, 4.5, 9},
        {{.wpm = 30, .weight = 0.2}, 30, 3.2 / 1.2, 60, 1.2, 0.8, 2.8, 6.8},
        {{.wpm = 25, .dash = 2.6, .character = 2.4, .word = 5}, 25, 2.6, 50, 1, 1, 2.4, 5},
    };
    for (const Case& c : cases) {
        const FistReport r = Report(test::Sending(text, c.fist));
        EXPECT_NEAR(r.wpm, c.wpm, 0.05) << c.wpm;
        EXPECT_NEAR(r.dashDotRatio, c.ratio, 0.01) << c.wpm;
        EXPECT_NEAR(r.weighting, c.weighting, 0.1) << c.wpm;
        EXPECT_NEAR(r.dot.mean, c.dot, 0.01) << c.wpm;
        EXPECT_NEAR(r.elementGap.mean, c.element, 0.01) << c.wpm;
        EXPECT_NEAR(r.characterGap.mean, c.character, 0.01) << c.wpm;
        EXPECT_NEAR(r.wordGap.mean, c.word, 0.01) << c.wpm;
        EXPECT_EQ(r.wordGap.count, 8) << c.wpm << ": " << qPrintable(r.Lines().join(QLatin1Char(' ')));
        EXPECT_NEAR(r.dot.spread, 0, 1e-6) << c.wpm;
        EXPECT_TRUE(r.notes.isEmpty()) << qPrintable(r.notes.join(QLatin1Char('\n')));
    }
    // A spread of 0.2 units on every mark and gap is measured as such.
    const FistReport spread =
        Report(test::Sending(text + QLatin1Char(' ') + text, {.wpm = 20, .spread = 0.2, .seed = 9}));
    EXPECT_NEAR(spread.dot.spread, 0.2, 0.04);
    EXPECT_NEAR(spread.dash.spread, 0.2, 0.04);
    EXPECT_NEAR(spread.elementGap.spread, 0.2, 0.04);
}

// A sending in units: mark, gap, mark, ... at 20 WPM (60 ms a unit).
KeyTimeline Units(std::initializer_list<double> units) {
    KeyTimeline t;
    double now = 0;
    bool mark = true;
    for (double u : units) {
        if (mark)
            t.marks.push_back({now, now + 60 * u});
        now += 60 * u;
        mark = !mark;
    }
    return t;
}

// Each character sent wrong or badly is named with the mark or gap at fault.
TEST(FistReport, SaysWhyACharacterWasReadOtherwise) {
    struct Case {
        const char* expected;
        KeyTimeline sent;
        const char* read;
        const char* note;
    };
    const Case cases[] = {
        {"l", Units({1, 3.1, 3, 1, 1, 1, 1}), "ed",
         "L read as ED: the gap after the first dot was 3.1 dot units"},
        {"ed", Units({1, 1.2, 3, 1, 1, 1, 1}), "l", "ED read as L: the gap after E was 1.2 dot units"},
        {"kk", Units({3, 1, 1, 1, 3, 3, 3, 1, 1, 1, 1.5}), "kd",
         "K read as D: the second dash was 1.5 dot units"},
        {"ta", Units({2.4, 3, 1, 1, 2.4}), "ta", "T: dashes short: 2.4 dits / A: dashes short: 2.4 dits"},
        {"rs", Units({1, 1.9, 3, 1, 1, 3, 1, 1, 1, 1, 1}), "rs",
         "R: the gap after the first dot was 1.9 dot units"},
        {"k", Units({3, 1, 1, 1, 3, 3, 1}), "ke",
         "E read where nothing was sent / 4 elements sent, 3 in the text"},
    };
    for (const Case& c : cases) {
        const Decoding d = TimelineDecoder::Decode(c.sent);
        EXPECT_EQ(d.text, QString::fromLatin1(c.read)) << c.expected;
        const FistReport r = FistReport::Measure(c.sent, d, QString::fromLatin1(c.expected));
        EXPECT_EQ(r.notes.join(QStringLiteral(" / ")), QString::fromLatin1(c.note)) << c.expected;
    }
}

TEST(FistReport, WritesNameValueLines) {
    const FistReport r = Report(Units({1, 3.1, 3, 1, 1, 1, 1}), QStringLiteral("l"));
    EXPECT_EQ(r.Lines(),
              QStringList({"speed 20.0", "dah_dit_ratio 3.00", "dot 1.00", "dot_spread 0.00", "dash 3.00",
                           "dash_spread 0.00", "element_gap 1.00", "element_gap_spread 0.00",
                           "character_gap 3.10", "character_gap_spread 0.00", "weighting 50.0",
                           "note L read as ED: the gap after the first dot was 3.1 dot units"}));
    // Marks and gaps without length have no speed to divide by: the figures stay numbers.
    for (const KeyTimeline& t : {Units({0, 0, 0, 0, 0}), Units({0, 0, 3, 0, 0})}) {
        const QString lines = Report(t).Lines().join(QLatin1Char(' '));
        EXPECT_FALSE(lines.contains(QLatin1String("nan")) || lines.contains(QLatin1String("inf")))
            << qPrintable(lines);
    }
}

}  // namespace
}  // namespace lumbrel
