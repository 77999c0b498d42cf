// The alignment and the score: groups missed, added or run together, wrong and
// swapped characters, case and white space, the 90 % line, and speed on long texts.
#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <QElapsedTimer>

#include <random>

#include "scoring/CopyScore.h"

namespace lumbrel {
namespace {

using Mark = CopyScore::Mark;

// The marks as one letter each: . correct, x wrong, - dropped, + added, | boundary.
QString MarkString(const CopyScore& s) {
    QString out;
    for (const CopyScore::Column& c : s.Columns()) {
        switch (c.mark) {
            case Mark::Correct:
                out += QLatin1Char('.');
                break;
            case Mark::Wrong:
                out += QLatin1Char('x');
                break;
            case Mark::Dropped:
                out += QLatin1Char('-');
                break;
            case Mark::Added:
                out += QLatin1Char('+');
                break;
            case Mark::Boundary:
                out += QLatin1Char('|');
                break;
        }
    }
    return out;
}

// Random groups of 1 to 8 characters from `alphabet`, about `characters` long.
QString RandomGroups(std::mt19937& rng, const QString& alphabet, int characters,
                     QStringList* groups = nullptr) {
    std::uniform_int_distribution<int> length(1, 8);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(alphabet.size()) - 1);
    QStringList list;
    int n = 0;
    while (n < characters) {
        QString g;
        for (int k = length(rng); k > 0; --k)
            g += alphabet.at(pick(rng));
        n += static_cast<int>(g.size());
        list << g;
    }
    if (groups)
        *groups = list;
    return list.join(QLatin1Char(' '));
}

TEST(CopyScore, PerfectAndEmptyCopies) {
    const CopyScore perfect = CopyScore::Score("kmr mkk rrm", "kmr mkk rrm");
    EXPECT_EQ(perfect.CharactersSent(), 9);
    EXPECT_EQ(perfect.Errors(), 0);
    EXPECT_EQ(perfect.AccuracyText(), "100.0%");
    EXPECT_DOUBLE_EQ(perfect.Accuracy(), 100.0);
    EXPECT_TRUE(perfect.ReachesKochThreshold());
    EXPECT_EQ(MarkString(perfect), "...|...|...");
    EXPECT_TRUE(perfect.MostMissed(5).empty());

    const CopyScore empty = CopyScore::Score("kmr mkk rrm", "");
    EXPECT_EQ(empty.CharactersSent(), 9);
    EXPECT_EQ(empty.Dropped(), 9);
    EXPECT_EQ(empty.AccuracyText(), "0.0%");
    EXPECT_FALSE(empty.ReachesKochThreshold());
    EXPECT_EQ(MarkString(empty), "---|---|---");
    // Only white space is no copy either.
    EXPECT_EQ(CopyScore::Score("kmr", " \n\t ").Dropped(), 3);

    // Nothing sent: nothing to score, and no 90 %.
    const CopyScore none = CopyScore::Score(" \n ", "kmr");
    EXPECT_EQ(none.CharactersSent(), 0);
    EXPECT_EQ(none.Added(), 3);
    EXPECT_EQ(none.AccuracyText(), "0.0%");
    EXPECT_FALSE(none.ReachesKochThreshold());
    EXPECT_EQ(none.ErrorsAboveThreshold(), 0);
    EXPECT_TRUE(CopyScore::Score("", "").Columns().empty());
}

TEST(CopyScore, CaseSpacesAndLineBreaksDoNotCount) {
    const QString sent = "kmr mkk rrm k,/ ?.";
    for (const char* copy : {"KMR MKK RRM K,/ ?.", "kmr\nmkk\r\nrrm\n\nk,/ ?.\n",
                             "  kmr   mkk\trrm  k,/   ?.  ", "kmrmkk rrm k,/?.", "km r mk k rrm k , / ?."}) {
        const CopyScore s = CopyScore::Score(sent, QString::fromUtf8(copy));
        EXPECT_EQ(s.Errors(), 0) << copy;
        EXPECT_EQ(s.AccuracyText(), "100.0%") << copy;
    }
    // Stray control characters are no characters; a prosign is one.
    EXPECT_EQ(CopyScore::Score("^ar k", "^AR\x01 k\u200b").Errors(), 0);
    EXPECT_EQ(CopyScore::Normalise("  Kmr\n\n^SK \t x <kn> +"), "kmr ^sk x ^kn +");
}

TEST(CopyScore, ProsignsInTheirUsualNotationsAreOneCharacterEach) {
    const QString sent = "cq ^ar ^bt ^kn ^sk ^bk ^as k";
    const struct {
        const char* copy;
        int errors;
    } cases[] = {
        {"cq + = ( <sk> <bk> <as> k", 0},
        {"CQ <AR> <bt> <kn> ^SK ^bk <As> k", 0},
        {"cq+ =( <sk><bk> <as>k", 0},
        {"cq ar bt kn sk bk as k", 12},  // letters are letters: each prosign wrong, a letter added
        {"cq + + + <sk> <bk> <as> k", 2},
        {"cq = ( <sk> <bk> <as> k", 1},
    };
    for (const auto& c : cases) {
        const CopyScore s = CopyScore::Score(sent, QString::fromUtf8(c.copy));
        EXPECT_EQ(s.CharactersSent(), 9) << c.copy;
        EXPECT_EQ(s.Errors(), c.errors) << c.copy;
    }
    const CopyScore missed = CopyScore::Score("^ar k", "k");
    ASSERT_EQ(missed.Tallies().size(), 2u);
    EXPECT_EQ(missed.Tallies()[0].character, "^ar");
    EXPECT_EQ(missed.Tallies()[0].dropped, 1);
    // The aligned pair keeps its columns under each other.
    EXPECT_EQ(CopyScore::Score("^ar k", "+ m").AlignedLines(),
              (QStringList{"sent  ^ar k", "copy  +   m", "          ^"}));
}

TEST(CopyScore, AUserDefinedCharacterOfSeveralLettersIsOneCharacter) {
    const QStringList defined = {"AR", "NEW"};
    const struct {
        const char* sent;
        const char* copy;
        int sentCount;
        int errors;
        const char* missed;  // the character missed, if any
    } cases[] = {
        {"kARm mAR", "karm mar", 5, 0, ""},
        {"kARm mAR", "kam mar", 5, 1, "ar"},
        {"kARm mAR", "km mar", 5, 1, "ar"},
        {"NEWk ar", "newk ar", 4, 0, ""},  // lower-case a and r are the letters
        {"NEWk ar", "nek ar", 4, 1, "new"},
    };
    for (const auto& c : cases) {
        const CopyScore s = CopyScore::Score(c.sent, c.copy, defined);
        EXPECT_EQ(s.CharactersSent(), c.sentCount) << c.sent << " / " << c.copy;
        EXPECT_EQ(CopyScore::CountCharacters(c.sent, defined), c.sentCount) << c.sent;
        EXPECT_EQ(s.Errors(), c.errors) << c.sent << " / " << c.copy;
        const auto most = s.MostMissed(1);
        EXPECT_EQ(most.empty() ? QString() : most[0].character, QString::fromUtf8(c.missed)) << c.copy;
    }
}

TEST(CopyScore, MissedGroupIsDroppedWholeAndTheRestLinesUp) {
    // With only two characters every group looks like its neighbours: the missed group
    // must still come out whole, not spread over the groups around it.
    const CopyScore s = CopyScore::Score("kmkm mmk kmm kkm mkmk", "kmkm kmm kkm mkmk");
    EXPECT_EQ(s.Dropped(), 3);
    EXPECT_EQ(s.Wrong() + s.Added(), 0);
    EXPECT_EQ(MarkString(s), "....|---|...|...|....");
    QString dropped;
    for (const auto& c : s.Columns())
        if (c.mark == Mark::Dropped)
            dropped += c.sent;
    EXPECT_EQ(dropped, "mmk");

    // One missed group early in a long copy: every later group is right.
    std::mt19937 rng(3);
    QStringList groups;
    RandomGroups(rng, "km", 600, &groups);
    const QString sent = groups.join(' ');
    QStringList copied = groups;
    const QString missed = copied.takeAt(3);
    const CopyScore longer = CopyScore::Score(sent, copied.join(' '));
    EXPECT_EQ(longer.Errors(), missed.size());
    EXPECT_EQ(longer.Dropped(), missed.size());
}

TEST(CopyScore, ExtraGroupIsAddedWhole) {
    const CopyScore s = CopyScore::Score("kmr mkk rrm", "kmr rkm mkk rrm");
    EXPECT_EQ(s.Added(), 3);
    EXPECT_EQ(s.Dropped() + s.Wrong(), 0);
    EXPECT_EQ(MarkString(s), "...|+++|...|...");
    // Added characters count against the copy, but never below 0 %.
    EXPECT_EQ(CopyScore::Score("kmr mkk", "kmr kkk mmm rrr mkk").AccuracyText(), "0.0%");
    EXPECT_EQ(CopyScore::Score("kmr mkk rrm kmk", "kmr mkk rrm kmk k").AccuracyText(), "91.6%");
    const CopyScore extra = CopyScore::Score("kmr", "kmr ss");
    const auto& tallies = extra.Tallies();
    ASSERT_EQ(tallies.size(), 4u);
    EXPECT_EQ(tallies[3].character, QChar('s'));
    EXPECT_EQ(tallies[3].added, 2);
    EXPECT_EQ(tallies[3].sent, 0);
}

TEST(CopyScore, WrongAndSwappedCharacters) {
    const CopyScore wrong = CopyScore::Score("kmr mkk", "kmk mkk");
    EXPECT_EQ(wrong.Wrong(), 1);
    EXPECT_EQ(wrong.Errors(), 1);
    EXPECT_EQ(MarkString(wrong), "..x|...");
    ASSERT_EQ(wrong.Confusions().size(), 1u);
    EXPECT_EQ(wrong.Confusions()[0].sent, QChar('r'));
    EXPECT_EQ(wrong.Confusions()[0].copied, QChar('k'));
    EXPECT_EQ(wrong.MostTakenFor("r"), "k");
    EXPECT_TRUE(wrong.MostTakenFor("m").isEmpty());

    // Two neighbours swapped: two wrong characters, shown in place.
    const CopyScore swapped = CopyScore::Score("kmr mkk", "mkr mkk");
    EXPECT_EQ(swapped.Errors(), 2);
    EXPECT_EQ(MarkString(swapped), "xx.|...");

    // A dropped character inside a group; the copy's next group is untouched.
    const CopyScore inside = CopyScore::Score("kmrs mkk", "krs mkk");
    EXPECT_EQ(inside.Dropped(), 1);
    EXPECT_EQ(MarkString(inside), ".-..|...");
    EXPECT_EQ(inside.Confusions()[0].copied, QString());
}

TEST(CopyScore, TalliesAndMostMissed) {
    // q: 3 sent, 2 wrong as m; h: 2 sent, 1 dropped; k: right every time.
    const CopyScore s = CopyScore::Score("qkh qkh qk", "mkh mk qk");
    ASSERT_EQ(s.Tallies().size(), 3u);
    EXPECT_EQ(s.Tallies()[0].character, QChar('q'));
    EXPECT_EQ(s.Tallies()[0].sent, 3);
    EXPECT_EQ(s.Tallies()[0].wrong, 2);
    EXPECT_EQ(s.Tallies()[2].character, QChar('h'));
    EXPECT_EQ(s.Tallies()[2].dropped, 1);
    const auto most = s.MostMissed(5);
    ASSERT_EQ(most.size(), 2u);
    EXPECT_EQ(most[0].character, QChar('q'));
    EXPECT_EQ(most[1].character, QChar('h'));
    EXPECT_EQ(s.MostMissed(1).size(), 1u);
    EXPECT_EQ(s.MostTakenFor("q"), "m");
}

TEST(CopyScore, NinetyPercentLineIsExact) {
    // 10 sent, 1 wrong: exactly 90 %.
    const CopyScore ninety = CopyScore::Score("kmrsu aptlo", "kmrsu aptlk");
    EXPECT_EQ(ninety.AccuracyText(), "90.0%");
    EXPECT_TRUE(ninety.ReachesKochThreshold());
    EXPECT_EQ(ninety.ErrorsAboveThreshold(), 0);

    // 1000 sent, 101 wrong: 89.9 %, shown rounded down, never as 90.0 %.
    QString sent;
    QString copy;
    for (int g = 0; g < 200; ++g) {
        sent += "kmrsu ";
        copy += g < 101 ? "kmrsk " : "kmrsu ";
    }
    const CopyScore short1 = CopyScore::Score(sent, copy);
    EXPECT_EQ(short1.CharactersSent(), 1000);
    EXPECT_EQ(short1.Wrong(), 101);
    EXPECT_EQ(short1.AccuracyTenths(), 899);
    EXPECT_EQ(short1.AccuracyText(), "89.9%");
    EXPECT_FALSE(short1.ReachesKochThreshold());
    EXPECT_EQ(short1.ErrorsAboveThreshold(), 1);
}

TEST(CopyScore, AlignedLinesShowSentAboveCopyWithMarks) {
    const CopyScore s = CopyScore::Score("kmr mkk rrm kmk", "kmr rrm kxk zz");
    EXPECT_EQ(s.AlignedLines(), (QStringList{"sent  kmr mkk rrm kmk __", "copy  kmr ___ rrm kxk zz",
                                             "          ---      ^  ++"}));
    // Long texts break at group boundaries into blocks.
    QString sent;
    for (int g = 0; g < 30; ++g)
        sent += "kmrsu ";
    const QStringList lines = CopyScore::Score(sent, sent).AlignedLines(20);
    ASSERT_GE(lines.size(), 7);
    EXPECT_EQ(lines[0], "sent  kmrsu kmrsu kmrsu");
    EXPECT_EQ(lines[1], "copy  kmrsu kmrsu kmrsu");
    EXPECT_EQ(lines[2], "");  // no marks, no trailing blanks
    EXPECT_EQ(lines[3], "");  // between blocks
    EXPECT_EQ(lines[4], "sent  kmrsu kmrsu kmrsu");
    // A group longer than a line is cut.
    const QStringList cut = CopyScore::Score(QString(50, 'k'), QString(50, 'k')).AlignedLines(20);
    EXPECT_EQ(cut[0], "sent  " + QString(20, 'k'));
}

TEST(CopyScore, LongTextsScoreRightWithoutRunningAway) {
    // A bound for runaway work, not a speed target (the machine may be busy);
    // bench/ measures the speed (BM_ScoreLongCopy).
    constexpr qint64 kLimitMs = 30'000;
    std::mt19937 rng(11);
    QStringList groups;
    const QString sent = RandomGroups(rng, "kmrsuaptlowi.nj", 10'000, &groups);

    // About 5 % errors of every kind.
    std::uniform_real_distribution<double> chance(0, 1);
    QStringList copied;
    for (const QString& g : groups) {
        const double r = chance(rng);
        if (r < 0.01)
            continue;
        if (r < 0.02)
            copied << "xyz";
        QString c = g;
        if (chance(rng) < 0.05)
            c[0] = QLatin1Char('q');
        copied << c;
    }
    QElapsedTimer timer;
    timer.start();
    const CopyScore near = CopyScore::Score(sent, copied.join(' '));
    EXPECT_LT(timer.elapsed(), kLimitMs);
    EXPECT_GT(near.Accuracy(), 85.0);
    EXPECT_LT(near.Accuracy(), 99.0);
    EXPECT_TRUE(near.Exact());

    // The second half missed: half the characters dropped, the first half right.
    QStringList half = groups.mid(0, groups.size() / 2);
    timer.restart();
    const CopyScore halfCopy = CopyScore::Score(sent, half.join(' '));
    EXPECT_LT(timer.elapsed(), kLimitMs);
    EXPECT_EQ(halfCopy.Correct(), half.join(QString()).size());
    EXPECT_EQ(halfCopy.Wrong() + halfCopy.Added(), 0);

    // A copy of nothing like it: slow paths stay within the limit of work.
    timer.restart();
    const CopyScore noise = CopyScore::Score(sent, RandomGroups(rng, "kmrsuaptlowi.nj", 10'000));
    EXPECT_LT(timer.elapsed(), kLimitMs);
    EXPECT_LT(noise.Accuracy(), 50.0);

    // No spaces in the copy at all.
    timer.restart();
    const CopyScore joined = CopyScore::Score(sent, groups.join(QString()));
    EXPECT_LT(timer.elapsed(), kLimitMs);
    EXPECT_EQ(joined.Errors(), 0);
}

}  // namespace
}  // namespace lumbrel
