// The history database: a new file, records written and read back, databases of the
// first schema and of the one before drills brought forward, drills stored and read
// back with the misses they add up to, damaged files set aside (never lost), a newer
// database left alone; and the CSV export.
#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "scoring/DrillProgress.h"
#include "scoring/History.h"
#include "scoring/HistoryCsv.h"

namespace lumbrel {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Runs SQL on a file outside the history, as another program (or an older Lumbrel) would.
void RunSql(const QString& path, const QStringList& statements) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "raw");
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        for (const QString& s : statements)
            ASSERT_TRUE(q.exec(s)) << s.toStdString();
        db.close();
    }
    QSqlDatabase::removeDatabase("raw");
}

SessionRecord Sample(int n, double accuracy, const QDateTime& ended) {
    SessionRecord r;
    r.ended = ended;
    r.source = "groups";
    r.order = "koch";
    r.characterCount = n;
    r.characterWpm = 25;
    r.effectiveWpm = 12.5;
    r.sessionMinutes = 5;
    r.durationSeconds = 301;
    r.charactersSent = 200;
    r.dropped = 3;
    r.added = 2;
    r.wrong = 5;
    r.accuracy = accuracy;
    r.characters = {{"k", 60, 1, 2, 0}, {",", 40, 2, 3, 2}};
    r.confusions = {{",", "m", 3}, {",", "", 2}, {"k", "r", 2}, {"k", "", 1}};
    return r;
}

QStringList SetAsideFiles(const QTemporaryDir& dir) {
    return QDir(dir.path()).entryList({"history.sqlite.damaged-*"}, QDir::Files);
}

TEST(History, NewFileRecordsAndReplace) {
    QTemporaryDir dir;
    const QString path = dir.filePath("sub/folder/history.sqlite");
    History h(path);
    ASSERT_TRUE(h.Open()) << h.Problem().toStdString();
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(h.SchemaVersion(), History::kSchemaVersion);
    EXPECT_TRUE(h.TakeNotice().isEmpty());
    EXPECT_TRUE(h.Sessions().empty());

    const QDateTime when(QDate(2024, 5, 1), QTime(19, 30, 15, 250));
    const auto id = h.Add(Sample(7, 94.5, when));
    ASSERT_TRUE(id.has_value());
    ASSERT_TRUE(h.Add(Sample(8, 81.0, when.addDays(1))).has_value());
    std::vector<SessionRecord> all = h.Sessions();
    ASSERT_EQ(all.size(), 2u);
    const SessionRecord& r = all[0];
    EXPECT_EQ(r.id, *id);
    EXPECT_EQ(r.ended, when);
    EXPECT_EQ(r.source, "groups");
    EXPECT_EQ(r.order, "koch");
    EXPECT_EQ(r.characterCount, 7);
    EXPECT_EQ(r.characterWpm, 25);
    EXPECT_DOUBLE_EQ(r.effectiveWpm, 12.5);
    EXPECT_EQ(r.sessionMinutes, 5);
    EXPECT_EQ(r.durationSeconds, 301);
    EXPECT_EQ(r.charactersSent, 200);
    EXPECT_EQ(r.dropped, 3);
    EXPECT_EQ(r.added, 2);
    EXPECT_EQ(r.wrong, 5);
    EXPECT_DOUBLE_EQ(r.accuracy, 94.5);
    ASSERT_EQ(r.characters.size(), 2u);
    EXPECT_EQ(r.characters[1].character, ",");
    EXPECT_EQ(r.characters[1].dropped, 2);
    EXPECT_EQ(r.characters[1].wrong, 3);
    EXPECT_EQ(r.characters[1].added, 2);
    ASSERT_EQ(r.confusions.size(), 4u);
    EXPECT_EQ(r.confusions[1].copied, "");
    EXPECT_EQ(all[1].characterCount, 8);

    // A copy checked again replaces its record, children and all, under the same id.
    SessionRecord again = Sample(7, 99.0, when);
    again.characters = {{"k", 60, 0, 1, 0}};
    again.confusions = {{"k", "m", 1}};
    ASSERT_TRUE(h.Replace(*id, again));
    all = h.Sessions();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].id, *id);
    EXPECT_DOUBLE_EQ(all[0].accuracy, 99.0);
    EXPECT_EQ(all[0].characters.size(), 1u);
    EXPECT_EQ(all[0].confusions.size(), 1u);

    // Kept across opening again.
    History reopened(path);
    ASSERT_TRUE(reopened.Open());
    EXPECT_EQ(reopened.Sessions().size(), 2u);
}

TEST(History, TheFirstSchemaIsBroughtForward) {
    QTemporaryDir dir;
    const QString path = dir.filePath("history.sqlite");
    // A history as version 1 wrote it: no kinds of error, no confusions.
    RunSql(path,
           {
               "CREATE TABLE sessions (id INTEGER PRIMARY KEY, ended TEXT NOT NULL, source TEXT NOT NULL,"
               " learning_order TEXT NOT NULL, characters INTEGER NOT NULL, character_wpm INTEGER NOT NULL,"
               " effective_wpm REAL NOT NULL, session_minutes INTEGER NOT NULL, characters_sent INTEGER NOT "
               "NULL,"
               " errors INTEGER NOT NULL, accuracy REAL NOT NULL)",
               "CREATE TABLE character_errors (session_id INTEGER NOT NULL REFERENCES sessions(id) ON DELETE "
               "CASCADE,"
               " character TEXT NOT NULL, sent INTEGER NOT NULL, errors INTEGER NOT NULL,"
               " PRIMARY KEY (session_id, character))",
               "INSERT INTO sessions VALUES (4, '2024-03-02T08:00:00.000Z', 'groups', 'koch', 3, 20, 10.0, "
               "5, 150,"
               " 12, 92.0)",
               "INSERT INTO character_errors VALUES (4, 'k', 50, 7)",
               "INSERT INTO character_errors VALUES (4, 'r', 50, 5)",
               "PRAGMA user_version = 1",
           });
    History h(path);
    ASSERT_TRUE(h.Open()) << h.Problem().toStdString();
    EXPECT_TRUE(h.TakeNotice().isEmpty());
    EXPECT_TRUE(SetAsideFiles(dir).isEmpty());
    EXPECT_EQ(h.SchemaVersion(), History::kSchemaVersion);
    std::vector<SessionRecord> all = h.Sessions();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].id, 4);
    EXPECT_EQ(all[0].ended, QDateTime(QDate(2024, 3, 2), QTime(8, 0), Qt::UTC).toLocalTime());
    EXPECT_EQ(all[0].characterCount, 3);
    EXPECT_EQ(all[0].charactersSent, 150);
    // The old count of errors survives as wrong characters.
    EXPECT_EQ(all[0].wrong, 12);
    EXPECT_EQ(all[0].Errors(), 12);
    ASSERT_EQ(all[0].characters.size(), 2u);
    EXPECT_EQ(all[0].characters[0].wrong, 7);
    EXPECT_EQ(all[0].characters[1].Missed(), 5);
    EXPECT_TRUE(all[0].confusions.empty());
    // The new tables take new records.
    ASSERT_TRUE(h.Add(Sample(4, 95.0, QDateTime::currentDateTime())).has_value());
    EXPECT_EQ(h.Sessions().size(), 2u);
}

TEST(History, AHistoryOfTheVersionBeforeDrillsIsBroughtForwardAndTakesDrills) {
    // Three checked sessions (r missed 8 of 25, then 3 of 25; m 2 of 25), as the
    // history of version 2 wrote them.
    QTemporaryDir dir;
    const QString path = dir.filePath("history.sqlite");
    ASSERT_TRUE(QFile::copy(QStringLiteral(LUMBREL_SCORING_TEST_DATA "/history-v2.sqlite"), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    History h(path);
    ASSERT_TRUE(h.Open()) << h.Problem().toStdString();
    EXPECT_TRUE(h.TakeNotice().isEmpty());
    EXPECT_TRUE(SetAsideFiles(dir).isEmpty());
    EXPECT_EQ(h.SchemaVersion(), History::kSchemaVersion);
    const std::vector<SessionRecord> sessions = h.Sessions();
    ASSERT_EQ(sessions.size(), 3u);
    EXPECT_DOUBLE_EQ(sessions[0].accuracy, 89.0);
    EXPECT_EQ(sessions[0].characters[2].Missed(), 8);
    EXPECT_EQ(sessions[1].confusions.size(), 2u);
    EXPECT_FALSE(h.BestCallsignScore().has_value());

    const QDateTime when(QDate(2024, 6, 1), QTime(8, 0, 0, 125));
    DrillRecord recognition;
    recognition.ended = when;
    recognition.characterWpm = 25;
    recognition.answers = {{"k", "k", 400}, {"s", "", -1}, {"s", "S", 1500}, {"k", "m", 700}};
    DrillRecord run;
    run.kind = DrillKind::Callsigns;
    run.ended = when.addSecs(90);
    run.calls = {{"K1ABC", "k1abc", 20, false, 100}, {"DL2XY", "dl2xv", 22, true, 0}};
    run.stepWpm = 2;
    run.topWpm = 20;
    run.score = 100;
    ASSERT_TRUE(h.AddDrill(recognition).has_value());
    ASSERT_TRUE(h.AddDrill(run).has_value());

    History again(path);
    ASSERT_TRUE(again.Open());
    const std::vector<DrillRecord> drills = again.Drills(DrillKind::Recognition);
    ASSERT_EQ(drills.size(), 1u);
    EXPECT_EQ(drills[0].ended, when);
    EXPECT_EQ(drills[0].characterWpm, 25);
    ASSERT_EQ(drills[0].answers.size(), 4u);
    EXPECT_TRUE(drills[0].answers[1].TimedOut());
    EXPECT_TRUE(drills[0].answers[2].Right());
    EXPECT_EQ(drills[0].answers[2].reactionMs, 1500);
    const std::vector<DrillRecord> runs = again.Drills(DrillKind::Callsigns);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].stepWpm, 2);
    ASSERT_EQ(runs[0].calls.size(), 2u);
    EXPECT_EQ(runs[0].calls[1].copied, "dl2xv");
    EXPECT_TRUE(runs[0].calls[1].replayed);
    EXPECT_EQ(runs[0].CallsMissed(), 1);
    EXPECT_EQ(again.BestCallsignScore(), 100);

    // Misses: sessions, answers (none or wrong: one; right but slow: half) and the
    // characters of the calls.
    const MissTallies all = again.RecentMissTallies(10, 1000);
    for (const auto& [character, tries, missed] : {std::tuple{"k", 63.0, 1.0}, std::tuple{"s", 52.0, 1.5},
                                                   std::tuple{"r", 50.0, 11.0}, std::tuple{"y", 1.0, 1.0}}) {
        EXPECT_DOUBLE_EQ(all.value(character).tries, tries) << character;
        EXPECT_DOUBLE_EQ(all.value(character).missed, missed) << character;
    }
    // The last session only (a word session with k 10 times) and the last drills.
    const MissTallies last = again.RecentMissTallies(1, 1000);
    EXPECT_DOUBLE_EQ(last.value("k").tries, 13.0);
    EXPECT_FALSE(last.contains("r"));
}

TEST(History, AHistoryOfVersionThreeKeepsItsDrillsAndItsZeroTimesBecomeEarlyAnswers) {
    // Version 3: k right in 0 ms (a key before the heard end) and in 420 ms, s not
    // answered, s in 0 ms, m taken for k in 0 ms; a callsign run.
    QTemporaryDir dir;
    const QString path = dir.filePath("history.sqlite");
    ASSERT_TRUE(QFile::copy(QStringLiteral(LUMBREL_SCORING_TEST_DATA "/history-v3.sqlite"), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    History h(path);
    ASSERT_TRUE(h.Open()) << h.Problem().toStdString();
    EXPECT_EQ(h.SchemaVersion(), History::kSchemaVersion);
    EXPECT_EQ(h.Sessions().size(), 3u);
    EXPECT_EQ(h.BestCallsignScore(), 100);
    const std::vector<RecognitionAnswer> answers = h.Drills(DrillKind::Recognition).at(0).answers;
    std::vector<std::tuple<bool, bool, bool>> kinds;  // right, early, wrong
    for (const RecognitionAnswer& a : answers)
        kinds.emplace_back(a.Right(), a.Early(), a.Wrong());
    EXPECT_EQ(kinds, (std::vector<std::tuple<bool, bool, bool>>{{false, true, false},
                                                                {true, false, false},
                                                                {false, false, false},
                                                                {false, true, false},
                                                                {false, false, true}}));
    EXPECT_EQ(RecognitionByCharacter(std::span(answers)).front().medianMs, 420);  // k
}

TEST(History, DamagedFilesAreSetAsideNeverLost) {
    QTemporaryDir dir;
    const QString path = dir.filePath("history.sqlite");
    const QByteArray garbage = QByteArray("this is no database at all\n").repeated(200);
    WriteAll(path, garbage);
    {
        History h(path);
        ASSERT_TRUE(h.Open()) << h.Problem().toStdString();
        const QString notice = h.TakeNotice();
        EXPECT_FALSE(notice.isEmpty());
        EXPECT_TRUE(h.TakeNotice().isEmpty());  // told once
        const QStringList aside = SetAsideFiles(dir);
        ASSERT_EQ(aside.size(), 1);
        EXPECT_TRUE(notice.contains(aside[0])) << notice.toStdString();
        EXPECT_EQ(h.SetAsidePath(), dir.filePath(aside[0]));
        EXPECT_TRUE(aside[0].contains(QRegularExpression("damaged-\\d{8}-\\d{6}")));
        EXPECT_EQ(ReadAll(dir.filePath(aside[0])), garbage);
        // A new history in its place.
        EXPECT_TRUE(h.Sessions().empty());
        EXPECT_TRUE(h.Add(Sample(2, 90, QDateTime::currentDateTime())).has_value());
    }
    // Spoilt again, at once: the second file set aside gets a name of its own.
    WriteAll(path, garbage + "again");
    {
        History h(path);
        ASSERT_TRUE(h.Open());
        EXPECT_EQ(SetAsideFiles(dir).size(), 2);
    }
}

TEST(History, TruncatedForeignOrIncompleteDatabasesAreSetAside) {
    QTemporaryDir dir;
    const QString path = dir.filePath("history.sqlite");
    {
        History h(path);
        ASSERT_TRUE(h.Open());
    }
    // A long history, written in one go.
    RunSql(path,
           {"INSERT INTO sessions (ended, source, learning_order, characters, character_wpm, effective_wpm,"
            " session_minutes, characters_sent, errors, accuracy)"
            " WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 2000)"
            " SELECT '2024-01-01T00:00:00.000Z', 'groups', 'koch', 5, 25, 25, 5, 100, 3, 97 FROM n"});
    const QByteArray whole = ReadAll(path);
    ASSERT_GT(whole.size(), 16384);
    WriteAll(path, whole.left(whole.size() / 2));
    {
        History h(path);
        ASSERT_TRUE(h.Open()) << h.Problem().toStdString();
        EXPECT_FALSE(h.TakeNotice().isEmpty());
        EXPECT_EQ(SetAsideFiles(dir).size(), 1);
    }

    // Another program's database: not ours to write into.
    QFile::remove(path);
    RunSql(path, {"CREATE TABLE contacts (call TEXT)", "INSERT INTO contacts VALUES ('K1ABC')"});
    {
        History h(path);
        ASSERT_TRUE(h.Open());
        EXPECT_TRUE(h.TakeNotice().contains("not a Lumbrel history"));
        EXPECT_EQ(SetAsideFiles(dir).size(), 2);
    }

    // A table missing from a history of the current version.
    {
        History h(path);
        ASSERT_TRUE(h.Open());
    }
    RunSql(path, {"DROP TABLE confusions"});
    {
        History h(path);
        ASSERT_TRUE(h.Open());
        EXPECT_TRUE(h.TakeNotice().contains("confusions"));
        EXPECT_EQ(SetAsideFiles(dir).size(), 3);
    }
}

TEST(History, ANewerHistoryIsLeftAlone) {
    QTemporaryDir dir;
    const QString path = dir.filePath("history.sqlite");
    RunSql(path,
           {"CREATE TABLE sessions (id INTEGER PRIMARY KEY, anything TEXT)", "PRAGMA user_version = 99"});
    const QByteArray before = ReadAll(path);
    History h(path);
    EXPECT_FALSE(h.Open());
    EXPECT_TRUE(h.Problem().contains("newer")) << h.Problem().toStdString();
    EXPECT_FALSE(h.Add(Sample(3, 90, QDateTime::currentDateTime())).has_value());
    EXPECT_TRUE(h.Sessions().empty());
    EXPECT_TRUE(SetAsideFiles(dir).isEmpty());
    EXPECT_EQ(ReadAll(path), before);
}

TEST(History, AFolderThatCannotBeMadeIsAProblemNotACrash) {
    QTemporaryDir dir;
    WriteAll(dir.filePath("file"), "x");
    History h(dir.filePath("file/history.sqlite"));
    EXPECT_FALSE(h.Open());
    EXPECT_FALSE(h.Problem().isEmpty());
    EXPECT_FALSE(h.Add(Sample(3, 90, QDateTime::currentDateTime())).has_value());
    EXPECT_FALSE(h.Replace(1, Sample(3, 90, QDateTime::currentDateTime())));
    EXPECT_EQ(h.SchemaVersion(), 0);
}

TEST(HistoryCsv, OneQuotedLinePerSession) {
    const QDateTime when(QDate(2024, 5, 1), QTime(19, 30));
    std::vector<SessionRecord> records = {Sample(7, 94.5, when)};
    records[0].source = "text";
    const QString csv = HistoryCsv(records);
    const QStringList lines = csv.split("\r\n");
    ASSERT_EQ(lines.size(), 3);  // header, one session, the empty rest after the last CRLF
    EXPECT_EQ(
        lines[0],
        "ended,source,learning_order,characters,character_wpm,effective_wpm,session_minutes,duration_seconds,"
        "characters_sent,dropped,added,wrong,errors,accuracy,character_errors,confusions");
    const QString local = when.toOffsetFromUtc(when.offsetFromUtc()).toString(Qt::ISODate);
    EXPECT_EQ(lines[1], local +
                            ",text,koch,7,25,12.5,5,301,200,3,2,5,10,94.5,\"k 3/60; , 5/40\","
                            "\",>m 3; ,>_ 2; k>r 2; k>_ 1\"");
    EXPECT_TRUE(lines[2].isEmpty());
    EXPECT_EQ(HistoryCsv({}), lines[0] + "\r\n");
}

// A cell a spreadsheet would run as a formula is written as text: an apostrophe first,
// inside quotes; the file ends with a line end.
TEST(HistoryCsv, CellsThatLookLikeFormulasStayText) {
    const std::pair<QString, QString> cases[] = {
        {"=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\""},
        {"+1", "\"'+1\""},
        {"-2+3", "\"'-2+3\""},
        {"@SUM(A1)", "\"'@SUM(A1)\""},
        {"\t=1", "\"'\t=1\""},
        {"a=1", "a=1"},
    };
    for (const auto& [source, cell] : cases) {
        std::vector<SessionRecord> records = {Sample(7, 94.5, QDateTime(QDate(2024, 5, 1), QTime(19, 30)))};
        records[0].source = source;
        const QString csv = HistoryCsv(records);
        EXPECT_EQ(csv.split("\r\n").value(1).section(QLatin1Char(','), 1, 1), cell) << source.toStdString();
        EXPECT_TRUE(csv.endsWith("\r\n"));
    }
}

TEST(HistoryCsv, ExportWritesTheFileOrSaysWhyNot) {
    QTemporaryDir dir;
    const std::vector<SessionRecord> records = {Sample(3, 91, QDateTime::currentDateTime())};
    const QString path = dir.filePath("history.csv");
    EXPECT_TRUE(ExportHistoryCsv(records, path).isEmpty());
    EXPECT_EQ(QString::fromUtf8(ReadAll(path)), HistoryCsv(records));
    const QString problem = ExportHistoryCsv(records, dir.filePath("no/such/folder/history.csv"));
    EXPECT_FALSE(problem.isEmpty());
    EXPECT_TRUE(problem.contains("history.csv"));
}

}  // namespace
}  // namespace lumbrel
