// What the progress window draws: characters learnt by day, error rates and the
// confusion matrix over the last sessions.
#include <gtest/gtest.h>

#include "QtPrinters.h"

#include "scoring/ProgressData.h"

namespace lumbrel {
namespace {

SessionRecord Record(const QDateTime& ended, int n, const QString& source = "groups") {
    SessionRecord r;
    r.ended = ended;
    r.source = source;
    r.order = "koch";
    r.characterCount = n;
    return r;
}

TEST(ProgressData, CharactersLearntTakeTheHighestGroupSessionOfEachDay) {
    const QDate day(2024, 5, 1);
    std::vector<SessionRecord> records = {
        Record(QDateTime(day, QTime(9, 0)), 5),
        Record(QDateTime(day, QTime(21, 0)), 6),
        Record(QDateTime(day.addDays(1), QTime(8, 0)), 40, "text"),  // not a Koch step
        Record(QDateTime(day.addDays(3), QTime(8, 0)), 6),
        Record(QDateTime(), 9),  // no time: left out
    };
    const std::vector<LearntOnDay> days = CharactersLearntByDay(records);
    ASSERT_EQ(days.size(), 2u);
    EXPECT_EQ(days[0].day, day);
    EXPECT_EQ(days[0].characters, 6);
    EXPECT_EQ(days[1].day, day.addDays(3));
    EXPECT_EQ(days[1].characters, 6);
    EXPECT_TRUE(CharactersLearntByDay({}).empty());
}

TEST(ProgressData, ErrorRatesAndConfusionsOverTheLastSessions) {
    SessionRecord old = Record(QDateTime::currentDateTime().addDays(-2), 4);
    old.characters = {{"k", 10, 10, 0, 0}};
    old.confusions = {{"k", "", 10}};
    SessionRecord recent = Record(QDateTime::currentDateTime().addDays(-1), 4);
    recent.characters = {{"k", 20, 0, 2, 0}, {"m", 20, 1, 4, 0}, {"r", 10, 0, 0, 0}, {"s", 0, 0, 0, 3}};
    recent.confusions = {{"m", "k", 3}, {"m", "r", 1}, {"m", "", 1}, {"k", "m", 2}};
    const std::vector<SessionRecord> records = {old, recent};

    // The last session only: m misses 25 %, k 10 %, r none; s was only ever added.
    std::vector<CharacterRate> last = ErrorRates(records, 1);
    ASSERT_EQ(last.size(), 3u);
    EXPECT_EQ(last[0].character, "m");
    EXPECT_DOUBLE_EQ(last[0].Rate(), 0.25);
    EXPECT_EQ(TakenForText(last[0]), "k 3, (none) 1, r 1");
    EXPECT_EQ(last[1].character, "k");
    EXPECT_EQ(last[2].character, "r");
    EXPECT_EQ(last[2].Missed(), 0);

    // Every session: k missed 12 of 30.
    std::vector<CharacterRate> all = ErrorRates(records);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].character, "k");
    EXPECT_EQ(all[0].sent, 30);
    EXPECT_EQ(all[0].Missed(), 12);
    EXPECT_EQ(TakenForText(all[0], 1), "(none) 10");

    // The matrix lists characters in the learning order, "nothing copied" last.
    const ConfusionMatrix m = Confusions(records, 1);
    EXPECT_EQ(m.rows, (QStringList{"k", "m", "r"}));
    EXPECT_EQ(m.columns, (QStringList{"k", "m", "r", ""}));
    EXPECT_EQ(m.counts[0], (std::vector<int>{0, 2, 0, 0}));
    EXPECT_EQ(m.counts[1], (std::vector<int>{3, 0, 1, 1}));
    EXPECT_EQ(m.counts[2], (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(m.sent, (std::vector<int>{20, 20, 10}));
    EXPECT_TRUE(Confusions({}).rows.isEmpty());
}

}  // namespace
}  // namespace lumbrel
