// The history shared and damaged, with real files and real second processes: a lock
// held by another program is waited for and never taken for damage; reading never
// moves or rewrites the file; a damaged file is salvaged into a new one beside it; two
// programs writing at once lose nothing.
//
// The second programs are this test binary, started with --history-helper (main.cpp),
// and lumbrel-score.
#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>

#include "HistoryFiles.h"
#include "scoring/History.h"

namespace lumbrel {

SessionRecord Sample(int n, const QString& source) {
    SessionRecord r;
    r.ended = QDateTime(QDate(2024, 3, 1), QTime(8, 0)).addSecs(60 * n);
    r.source = source;
    r.characters = {{"k", 50, 0, 2, 0}, {"m", 50, 1, 0, 0}};
    r.confusions = {{"k", "r", 2}};
    return r;
}

namespace {

// This binary as a second program: "hold PATH MS" holds a write transaction that adds
// a session for MS, "add PATH N" adds N sessions one by one.
QProcess* Helper(const QStringList& args) {
    auto* p = new QProcess;
    p->start(QCoreApplication::applicationFilePath(), QStringList{"--history-helper"} + args);
    EXPECT_TRUE(p->waitForStarted());
    return p;
}

// lumbrel-score with its data folder in `data`.
int Score(const QString& data, const QStringList& args, QByteArray* out = nullptr) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", data);
    p.setProcessEnvironment(env);
    p.start(LUMBREL_SCORE_PROGRAM, args);
    EXPECT_TRUE(p.waitForFinished(60'000));
    if (out)
        *out = p.readAllStandardOutput() + p.readAllStandardError();
    return p.exitCode();
}

// Where lumbrel-score keeps the history with its data folder in `data`; the folder made.
QString ScorePath(const QString& data) {
    QDir().mkpath(data + "/Zelph Software/Zelph Morse Trainer");
    return data + "/Zelph Software/Zelph Morse Trainer/history.sqlite";
}

TEST(HistorySharing, ALockHeldByAnotherProgramIsWaitedForNeverTakenForDamage) {
    QTemporaryDir dir;
    const QString path = ScorePath(dir.path());
    MakeHistory(path, 3);
    // Held for a while: lumbrel-score, and a writer, wait and go on.
    std::unique_ptr<QProcess> holder(Helper({"hold", path, "1500"}));
    ASSERT_TRUE(holder->waitForReadyRead(10'000));
    QByteArray out;
    EXPECT_EQ(Score(dir.path(), {"--history"}, &out), 0) << out.toStdString();
    EXPECT_EQ(out.count("held"), 1) << out.toStdString();
    {
        History h(path);
        ASSERT_TRUE(h.Open()) << h.Problem().toStdString();
        EXPECT_TRUE(h.Add(Sample(9)));
    }
    ASSERT_TRUE(holder->state() == QProcess::NotRunning || holder->waitForFinished(20'000));
    EXPECT_EQ(holder->exitCode(), 0) << "the lock holder's commit failed";
    // Held for longer than one waits: told so, and the file is left as it is.
    holder.reset(Helper({"hold", path, "2000"}));
    ASSERT_TRUE(holder->waitForReadyRead(10'000));
    {
        History h(path);
        h.SetBusyTimeout(300);
        EXPECT_FALSE(h.Open());
        EXPECT_TRUE(h.Problem().contains("in use by another program")) << h.Problem().toStdString();
        EXPECT_TRUE(h.TakeNotice().isEmpty());
    }
    ASSERT_TRUE(holder->state() == QProcess::NotRunning || holder->waitForFinished(20'000));
    EXPECT_EQ(holder->exitCode(), 0) << "the lock holder's commit failed";
    EXPECT_EQ(Beside(path), QStringList{});
    History h(path);
    ASSERT_TRUE(h.OpenToRead());
    EXPECT_EQ(h.Sessions().size(), 6u);
}

// Reading a damaged history (lumbrel-score --history) shows what can be read and leaves
// the file as it is; opening it to write keeps what can be read in a new file and the
// damaged one beside it.
TEST(HistorySharing, ADamagedHistoryIsReadInPlaceAndSalvagedBeforeItIsSetAside) {
    struct Case {
        const char* damage;
        int sessions;
        int keptAtLeast;
        int keptAtMost;
    };
    for (const Case& c :
         {Case{"the index of the sessions", 21, 21, 21}, Case{"a page of the sessions", 300, 200, 299}}) {
        SCOPED_TRACE(c.damage);
        QTemporaryDir dir;
        const QString path = ScorePath(dir.path());
        MakeHistory(path, c.sessions);
        Spoil(path, c.sessions == 21 ? QByteArray() : QByteArray("marker-0150"),
              c.sessions == 21 ? "sessions_by_time" : "");
        const QByteArray spoilt = ReadAll(path);

        QByteArray out;
        EXPECT_EQ(Score(dir.path(), {"--history"}, &out), 0);
        const int read = static_cast<int>(out.count("marker-"));
        EXPECT_GE(read, c.keptAtLeast) << out.toStdString();
        EXPECT_LE(read, c.keptAtMost);
        EXPECT_EQ(ReadAll(path), spoilt);
        EXPECT_EQ(Beside(path), QStringList{});

        History h(path);
        ASSERT_TRUE(h.Open()) << h.Problem().toStdString();
        QString details;
        const QString notice = h.TakeNotice(&details);
        EXPECT_EQ(static_cast<int>(h.Sessions().size()), read);
        EXPECT_TRUE(notice.contains(QStringLiteral(" %1 session").arg(read))) << notice.toStdString();
        EXPECT_TRUE(notice.contains(h.SetAsidePath())) << notice.toStdString();
        EXPECT_LT(notice.size(), 400);
        EXPECT_FALSE(details.isEmpty());
        EXPECT_EQ(Beside(path), QStringList{QFileInfo(h.SetAsidePath()).fileName()});
        EXPECT_EQ(ReadAll(h.SetAsidePath()), spoilt);
    }
}

}  // namespace

namespace test {

int HistoryHelper(const QStringList& args) {
    if (args.size() == 3 && args[0] == "hold") {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE");
        db.setDatabaseName(args[1]);
        QSqlQuery q(db);
        if (!db.open() || !q.exec("BEGIN EXCLUSIVE") ||
            !q.exec("INSERT INTO sessions (ended, source, learning_order, characters, character_wpm, "
                    "effective_wpm,"
                    " session_minutes, characters_sent, errors, accuracy)"
                    " VALUES ('2024-01-01T00:00:00.000Z', 'held', 'koch', 5, 25, 25, 5, 100, 3, 97)"))
            return 2;
        std::fputs("held\n", stdout);
        std::fflush(stdout);
        QThread::msleep(args[2].toULong());
        return q.exec("COMMIT") ? 0 : 3;
    }
    if (args.size() == 3 && args[0] == "add") {
        History h(args[1]);
        int failed = 0;
        for (int k = 0; k < args[2].toInt(); ++k)
            failed += h.Add(Sample(k, "helper")) ? 0 : 1;
        if (failed)
            std::fprintf(stderr, "%d not added: %s\n", failed, qPrintable(h.Problem()));
        return failed ? 1 : 0;
    }
    return 2;
}

}  // namespace test
}  // namespace lumbrel
