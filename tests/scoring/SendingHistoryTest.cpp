// Sending practice in the history: a history of the version before brought forward
// with every session and drill, sendings stored and read back field by field, by kind
// and newest, deleted, salvaged from a damaged file, the misses echo drills weigh
// items by; their CSV files and the series the progress window draws.
#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "HistoryFiles.h"
#include "scoring/HistoryCsv.h"
#include "scoring/HistoryService.h"
#include "scoring/SendingProgress.h"

namespace lumbrel {
namespace {

const QDateTime kWhen(QDate(2026, 11, 5), QTime(18, 30, 0, 125));

// The first value of a statement run on the file outside the history.
int Scalar(const QString& path, const QString& sql) {
    int value = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "scalar");
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        QSqlQuery q(db);
        EXPECT_TRUE(q.exec(sql) && q.next()) << sql.toStdString();
        value = q.value(0).toInt();
    }
    QSqlDatabase::removeDatabase("scalar");
    return value;
}

SendingRecord Record(SendingKind kind, const QDateTime& ended, int seconds, const QString& keyer,
                     int keyerWpm, std::vector<SentItem> items, std::vector<double> fist,
                     QStringList notes = {}) {
    SendingRecord r;
    r.kind = kind;
    r.ended = ended;
    r.durationSeconds = seconds;
    r.keyer = keyer;
    r.keyerWpm = keyerWpm;
    r.items = std::move(items);
    fist.resize(11);
    SendingFist& f = r.fist;
    std::tie(f.wpm, f.dashDotRatio, f.weighting, f.dotSpread, f.dashSpread, f.elementGap, f.elementGapSpread,
             f.characterGap, f.characterGapSpread, f.wordGap, f.wordGapSpread) =
        std::tie(fist[0], fist[1], fist[2], fist[3], fist[4], fist[5], fist[6], fist[7], fist[8], fist[9],
                 fist[10]);
    f.notes = std::move(notes);
    return r;
}

// An echo drill (one item missed), a text (one letter wrong) and free sending (one
// dot: nothing measured).
std::vector<SendingRecord> Sendings() {
    return {
        Record(SendingKind::Echo, kWhen, 95, "iambic-b", 22,
               {{"k", "k"}, {"^ar", "^ar"}, {"cq", "tq"}, {"5nn", "5nn"}},
               {21.5, 3.25, 48, 0, 0.25, 0.95, 0.05, 3.5, 0.5, 7.25, 1},
               {"C read as T: the first dot was 2.8 dot units", "dashes long, \"3.4\" dits"}),
        Record(SendingKind::Text, kWhen.addSecs(600), 40, "straight", 0, {{"the quick fox", "the quick fix"}},
               {14, 2.5, 55, 0, 0, 1.2, 0, 2.8}),
        Record(SendingKind::Free, kWhen.addSecs(1200), 0, "bug", 0, {{"", "e"}}, {}),
    };
}

void ExpectSame(const SendingRecord& a, const SendingRecord& b) {
    EXPECT_EQ(a.kind, b.kind);
    EXPECT_EQ(a.ended, b.ended);
    EXPECT_EQ(std::tie(a.durationSeconds, a.keyerWpm, a.keyer),
              std::tie(b.durationSeconds, b.keyerWpm, b.keyer));
    ASSERT_EQ(a.items.size(), b.items.size());
    for (std::size_t k = 0; k < a.items.size(); ++k)
        EXPECT_EQ(std::tie(a.items[k].expected, a.items[k].sent),
                  std::tie(b.items[k].expected, b.items[k].sent));
    const SendingFist& f = a.fist;
    const SendingFist& g = b.fist;
    EXPECT_EQ(std::vector<double>({f.wpm, f.dashDotRatio, f.weighting, f.dotSpread, f.dashSpread,
                                   f.elementGap, f.elementGapSpread, f.characterGap, f.characterGapSpread,
                                   f.wordGap, f.wordGapSpread}),
              std::vector<double>({g.wpm, g.dashDotRatio, g.weighting, g.dotSpread, g.dashSpread,
                                   g.elementGap, g.elementGapSpread, g.characterGap, g.characterGapSpread,
                                   g.wordGap, g.wordGapSpread}));
    EXPECT_EQ(f.notes, g.notes);
}

TEST(SendingHistory, AHistoryOfVersionFourKeepsEverySessionAndDrillAndTakesSendings) {
    // Version 4: three sessions (groups, words, groups), a recognition drill with an
    // early answer and a callsign run.
    QTemporaryDir dir;
    const QString path = dir.filePath("history.sqlite");
    ASSERT_TRUE(QFile::copy(QStringLiteral(LUMBREL_SCORING_TEST_DATA "/history-v4.sqlite"), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    const QByteArray before = ReadAll(path);
    for (const bool write : {false, true}) {
        History h(path);
        ASSERT_TRUE(write ? h.Open() : h.OpenToRead()) << h.Problem().toStdString();
        EXPECT_TRUE(h.TakeNotice().isEmpty());
        EXPECT_EQ(h.SchemaVersion(), 5);
        const std::vector<SessionRecord> sessions = h.Sessions();
        ASSERT_EQ(sessions.size(), 3u);
        std::vector<std::tuple<QString, int, double, std::size_t, std::size_t>> seen;
        for (const SessionRecord& r : sessions)
            seen.emplace_back(r.source, r.characterCount, r.accuracy, r.characters.size(),
                              r.confusions.size());
        EXPECT_EQ(seen, (decltype(seen){
                            {"groups", 4, 90.0, 4, 5}, {"words", 5, 95.5, 2, 1}, {"groups", 5, 97.0, 0, 0}}));
        EXPECT_EQ(sessions[0].characters[2].dropped, 3);
        const std::vector<DrillRecord> recognition = h.Drills(DrillKind::Recognition);
        ASSERT_EQ(recognition.size(), 1u);
        ASSERT_EQ(recognition[0].answers.size(), 5u);
        EXPECT_TRUE(recognition[0].answers[0].Early());
        EXPECT_EQ(recognition[0].answers[4].reactionMs, 1200);
        const std::vector<DrillRecord> runs = h.Drills(DrillKind::Callsigns);
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].score, 150);
        EXPECT_EQ(runs[0].calls.size(), 3u);
        EXPECT_TRUE(h.Sendings().empty());
        // Reading leaves the file of version 4 as it was.
        if (!write) {
            EXPECT_EQ(ReadAll(path), before);
        }
    }
    History h(path);
    ASSERT_TRUE(h.Open());
    for (const SendingRecord& s : Sendings())
        ASSERT_TRUE(h.AddSending(s).has_value()) << h.Problem().toStdString();
    EXPECT_EQ(h.Sendings().size(), 3u);
    EXPECT_EQ(h.Sessions().size(), 3u);
}

TEST(SendingHistory, SendingsComeBackFieldByFieldByKindAndNewestAndAreDeletedWithTheirRows) {
    QTemporaryDir dir;
    const QString path = dir.filePath("history.sqlite");
    History h(path);
    ASSERT_TRUE(h.Open());
    const std::vector<SendingRecord> stored = Sendings();
    // Stored newest first: read back oldest first all the same.
    std::vector<qint64> ids;
    for (auto it = stored.rbegin(); it != stored.rend(); ++it)
        ids.insert(ids.begin(), h.AddSending(*it).value());
    History again(path);
    ASSERT_TRUE(again.OpenToRead());
    const std::vector<SendingRecord> all = again.Sendings();
    ASSERT_EQ(all.size(), 3u);
    for (std::size_t k = 0; k < all.size(); ++k) {
        EXPECT_EQ(all[k].id, ids[k]);
        ExpectSame(all[k], stored[k]);
    }
    // kind, last, then the kinds read
    using Kinds = std::vector<SendingKind>;
    const std::vector<std::tuple<std::optional<SendingKind>, int, Kinds>> picks = {
        {std::nullopt, 2, {SendingKind::Text, SendingKind::Free}},
        {SendingKind::Echo, -1, {SendingKind::Echo}},
        {SendingKind::Text, 5, {SendingKind::Text}},
        {std::nullopt, 0, {}},
    };
    for (const auto& [kind, last, kinds] : picks) {
        Kinds read;
        for (const SendingRecord& s : again.Sendings(kind, last))
            read.push_back(s.kind);
        EXPECT_EQ(read, kinds) << last;
    }
    EXPECT_EQ(again.Sendings(SendingKind::Echo, 1).at(0).fist.notes.size(), 2u);

    ASSERT_TRUE(h.DeleteSending(ids[0]));
    EXPECT_FALSE(h.DeleteSending(ids[0]));
    EXPECT_TRUE(h.Problem().contains("no sending")) << h.Problem().toStdString();
    EXPECT_EQ(h.Sendings().size(), 2u);
    EXPECT_EQ(Scalar(path, "SELECT (SELECT COUNT(*) FROM sent_items) + (SELECT COUNT(*) FROM fist_notes)"),
              2);
}

TEST(SendingHistory, ADamagedHistoryIsSalvagedWithItsSendings) {
    QTemporaryDir dir;
    const QString path = dir.filePath("history.sqlite");
    MakeHistory(path, 21);
    {
        History h(path);
        ASSERT_TRUE(h.Open());
        for (const SendingRecord& s : Sendings())
            ASSERT_TRUE(h.AddSending(s).has_value());
    }
    Scalar(path, "PRAGMA journal_mode = DELETE");
    Spoil(path, {}, "sendings_by_kind_and_time");
    const QByteArray spoilt = ReadAll(path);
    for (const bool write : {false, true}) {
        History h(path);
        ASSERT_TRUE(write ? h.Open() : h.OpenToRead()) << h.Problem().toStdString();
        const QString notice = h.TakeNotice();
        EXPECT_TRUE(notice.contains("21 sessions, 0 drills and 3 sendings")) << notice.toStdString();
        const std::vector<SendingRecord> kept = h.Sendings();
        ASSERT_EQ(kept.size(), 3u);
        for (std::size_t k = 0; k < kept.size(); ++k)
            ExpectSame(kept[k], Sendings()[k]);
        EXPECT_EQ(Beside(path).size(), write ? 1 : 0);
        if (!write) {
            EXPECT_EQ(ReadAll(path), spoilt);
        }
    }
}

TEST(SendingHistory, EchoDrillsWeighItemsByTheMissesOfTheRecentEchoDrillsOnly) {
    QTemporaryDir dir;
    HistoryService service(dir.filePath("history.sqlite"));
    EXPECT_TRUE(service.RecentEchoMisses().isEmpty());
    for (const SendingRecord& s : Sendings())
        EXPECT_TRUE(service.StoreSending(s).id.has_value());
    SendingRecord old = Sendings()[0];
    old.ended = kWhen.addDays(-1);
    old.items = {{"k", ""}};
    for (int k = 0; k < kWeakCharacterHistory; ++k)
        service.StoreSending(old);
    // The newest ten echo drills: the one with "cq" sent as "tq" and nine older ones.
    const MissTallies tallies = service.RecentEchoMisses();
    for (const auto& [character, tries, missed] :
         {std::tuple{"k", 10.0, 9.0}, {"c", 1.0, 1.0}, {"q", 1.0, 0.0}, {"5", 1.0, 0.0}}) {
        EXPECT_DOUBLE_EQ(tallies.value(character).tries, tries) << character;
        EXPECT_DOUBLE_EQ(tallies.value(character).missed, missed) << character;
    }
    EXPECT_FALSE(tallies.contains("h"));  // of the text sent
    QFile(dir.filePath("file")).open(QIODevice::WriteOnly);
    HistoryService unusable(dir.filePath("file/history.sqlite"));
    EXPECT_FALSE(unusable.StoreSending(old).usable);
    EXPECT_TRUE(unusable.RecentEchoMisses().isEmpty());
}

TEST(SendingHistory, TheCsvFilesOfTheSendings) {
    std::vector<SendingRecord> sendings = Sendings();
    for (std::size_t k = 0; k < sendings.size(); ++k)
        sendings[k].id = static_cast<qint64>(k + 1);
    const auto local = [](const QDateTime& t) {
        return t.toOffsetFromUtc(t.offsetFromUtc()).toString(Qt::ISODate);
    };
    EXPECT_EQ(
        SendingsCsv(sendings),
        "id,ended,kind,duration_seconds,keyer,keyer_wpm,items,right,accuracy,wpm,dash_dot_ratio,weighting,"
        "dot_spread,dash_spread,element_gap,element_gap_spread,character_gap,character_gap_spread,word_gap,"
        "word_gap_spread,notes\r\n"
        "1," +
            local(kWhen) +
            ",echo,95,iambic-b,22,4,3,75.0,21.5,3.25,48.00,0.00,0.25,0.95,0.05,3.50,0.50,"
            "7.25,1.00,2\r\n"
            "2," +
            local(kWhen.addSecs(600)) +
            ",text,40,straight,0,1,0,90.9,14.0,2.50,55.00,0.00,0.00,1.20,0.00,"
            "2.80,0.00,,,0\r\n"
            "3," +
            local(kWhen.addSecs(1200)) + ",free,0,bug,0,1,,,,,,,,,,,,,,0\r\n");
    EXPECT_EQ(SentItemsCsv(sendings),
              "sending_id,seq,expected,sent,right\r\n1,1,k,k,1\r\n1,2,^ar,^ar,1\r\n"
              "1,3,cq,tq,0\r\n1,4,5nn,5nn,1\r\n2,1,the quick fox,the quick fix,0\r\n3,1,,e,\r\n");
    EXPECT_EQ(FistNotesCsv(sendings),
              "sending_id,seq,note\r\n1,1,C read as T: the first dot was 2.8 dot units\r\n"
              "1,2,\"dashes long, \"\"3.4\"\" dits\"\r\n");
    EXPECT_EQ(SendingCsvPaths("/x/h.CSV"),
              (QStringList{"/x/h-sendings.csv", "/x/h-sent-items.csv", "/x/h-fist-notes.csv"}));
    QTemporaryDir dir;
    EXPECT_TRUE(ExportSendingsCsv(sendings, dir.filePath("h.csv")).isEmpty());
    EXPECT_EQ(QString::fromUtf8(ReadAll(dir.filePath("h-fist-notes.csv"))), FistNotesCsv(sendings));
    EXPECT_TRUE(ExportSendingsCsv(sendings, dir.filePath("no/h.csv")).contains("h-sendings.csv"));
}

TEST(SendingProgress, EachMeasureLeavesOutTheSendingsThatCouldNotGiveIt) {
    std::vector<SendingRecord> sendings = Sendings();
    sendings.push_back(sendings[0]);
    sendings.back().ended = QDateTime();  // no time: left out
    std::swap(sendings[0], sendings[2]);  // read in any order, drawn oldest first
    const auto values = [](const std::vector<SendingPoint>& points) {
        std::vector<double> v;
        for (const SendingPoint& p : points)
            v.push_back(p.value);
        return v;
    };
    const SendingTrends all = SendingTrendsOf(sendings);
    EXPECT_EQ(all.accuracy, (std::vector<SendingPoint>{{kWhen, 75.0}, {kWhen.addSecs(600), 1000.0 / 11}}));
    EXPECT_EQ(values(all.wpm), (std::vector<double>{21.5, 14}));
    EXPECT_EQ(values(all.dashDotRatio), (std::vector<double>{3.25, 2.5}));
    EXPECT_EQ(values(all.weighting), (std::vector<double>{48, 55}));
    EXPECT_EQ(values(all.characterGap), (std::vector<double>{3.5, 2.8}));
    EXPECT_EQ(values(all.wordGap), (std::vector<double>{7.25}));  // none measured in the text
    const SendingTrends text = SendingTrendsOf(sendings, SendingKind::Text);
    EXPECT_EQ(values(text.elementGap), (std::vector<double>{1.2}));
    EXPECT_TRUE(SendingTrendsOf(sendings, SendingKind::Free).wpm.empty());
    EXPECT_TRUE(SendingTrendsOf({}).accuracy.empty());
}

}  // namespace
}  // namespace lumbrel
