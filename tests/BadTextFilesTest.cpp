// Odd, huge and binary files as text files, word lists and QSO lists: each plays or is
// refused, no trainer call keeps the window busy for more than a moment, a session on
// them can always be stopped, and no setting changes except the file name the user chose.
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>

#include "tests/SessionFixture.h"

using namespace lumbrel;
using lumbrel::test::Snapshot;

namespace {

// A bound for a frozen window, not a speed target: the test machine may be busy with
// other work. How fast these files load is measured by bench/ (BM_HugeTextFile*).
constexpr qint64 kMomentMs = 20'000;

struct BadFiles : test::TextSessionTest {
    qint64 longestMs = 0;
    QElapsedTimer sinceLast;

    void CreateTimed(std::uint32_t seed = 1) {
        Create(seed);
        auto inner = s->afterMessage;
        sinceLast.start();
        s->afterMessage = [this, inner](int message) {
            inner(message);
            longestMs = std::max(longestMs, sinceLast.restart());
        };
    }
    // Runs one command, timed.
    template <typename F>
    void Timed(F&& command) {
        QElapsedTimer timer;
        timer.start();
        command();
        longestMs = std::max(longestMs, timer.elapsed());
        sinceLast.restart();
    }

    QString MakeRepeated(const QString& name, const QByteArray& block, qint64 totalBytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        QByteArray chunk;
        while (chunk.size() < 1024 * 1024)
            chunk += block;
        for (qint64 written = 0; written < totalBytes; written += chunk.size())
            file.write(chunk.constData(), std::min<qint64>(chunk.size(), totalBytes - written));
        return path;
    }
    QString MakeSparse(const QString& name, qint64 bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        EXPECT_TRUE(file.resize(bytes));
        return file.fileName();
    }

    // Plays path as a text file, then as a word file and as a QSO file chosen from the
    // drop-down lists, letting each session run a while before it is stopped.
    void PlayEveryWay(const QString& path) {
        const QString name = QFileInfo(path).fileName();
        QDir().mkpath(dir.filePath(QStringLiteral("Word Files")));
        QDir().mkpath(dir.filePath(QStringLiteral("QSO Files")));
        ASSERT_TRUE(QFile::link(path, dir.filePath(QStringLiteral("Word Files/") + name)));
        ASSERT_TRUE(QFile::link(path, dir.filePath(QStringLiteral("QSO Files/") + name)));

        auto before = Snapshot(store);
        Timed([&] { t().PlayTextFile(path); });
        RunAWhileAndStop();

        Timed([&] { t().PlayWordFile(name); });
        RunAWhileAndStop();

        Timed([&] { t().PlayQsoFile(name); });
        RunAWhileAndStop();

        // The only values written are the two file names the user chose.
        auto after = Snapshot(store);
        EXPECT_EQ(after.at("Setup/Common Word File"), QStringLiteral("\"\\Word Files\\%1\"").arg(name));
        EXPECT_EQ(after.at("Setup/QSO File"), QStringLiteral("\"\\QSO Files\\%1\"").arg(name));
        for (auto* values : {&before, &after}) {
            values->erase("Setup/Common Word File");
            values->erase("Setup/QSO File");
        }
        EXPECT_EQ(after, before);
        EXPECT_LT(longestMs, kMomentMs) << name.toStdString();

        // And the trainer still works.
        EXPECT_TRUE(t().PlayTextFile(Write(QStringLiteral("ok.txt"), "k\n")));
        EXPECT_EQ(RunToEnd(), QStringLiteral(" k"));
    }

    void RunAWhileAndStop() {
        s->RunFor(20'000);
        t().Stop();
        EXPECT_TRUE(s->RunUntilIdle(60'000));
        EXPECT_EQ(s->device().QueuedCount(), 0u);
        sinceLast.restart();
    }
};

TEST_F(BadFiles, WindowsLineEndsBlankLinesHighBytesAndNulBytes) {
    CreateTimed();
    PlayEveryWay(Write(QStringLiteral("crlf.txt"), "cq de qa1abc\r\nk\r\n"));
    PlayEveryWay(Write(QStringLiteral("blank.txt"), "\n\n\r\n   \n\t\ncq\n\n"));
    PlayEveryWay(
        Write(QStringLiteral("high.txt"), "caf\xe9 na\xefve \x80\x81\xfe\xff ok\n\xc3\xa9t\xc3\xa9\n"));
    PlayEveryWay(Write(QStringLiteral("nul.txt"), QByteArray("cq\0\0de\0k\n\0\0\0,\0\n", 15)));
    EXPECT_TRUE(s->Messages().empty());
}

TEST_F(BadFiles, ABinaryFile) {
    QByteArray bytes(1024 * 1024, 0);
    std::uint32_t x = 12345;
    for (char& b : bytes) {
        x = x * 1103515245u + 12345u;
        b = static_cast<char>(x >> 24);
    }
    CreateTimed();
    PlayEveryWay(Write(QStringLiteral("binary.txt"), bytes));
}

TEST_F(BadFiles, AOneMegabyteLine) {
    CreateTimed();
    QByteArray line;
    while (line.size() < 1024 * 1024)
        line += "paris ";
    const QString path = Write(QStringLiteral("line.txt"), line + "\nk\n");
    // As text it plays from its start.
    ASSERT_TRUE(t().PlayTextFile(path));
    s->RunFor(10'000);
    t().Stop();
    EXPECT_TRUE(s->RunUntilIdle(10'000));
    EXPECT_TRUE(t().Sent().Text().startsWith(QStringLiteral(" paris paris")));
    PlayEveryWay(path);
    EXPECT_TRUE(s->Messages().empty());
}

TEST_F(BadFiles, HundredMegabyteFilesPlayAsTextAndAreRefusedAsLists) {
    constexpr qint64 kHundredMb = 100LL * 1024 * 1024;
    CreateTimed();
    // Nothing but NUL bytes and no line end: word spaces until stopped.
    PlayEveryWay(MakeSparse(QStringLiteral("zeros.txt"), kHundredMb));
    // Stations on every line: the whole file is read once to know its kind.
    PlayEveryWay(MakeRepeated(QStringLiteral("stations.txt"), "qa1abc,25,0,0,0\n", kHundredMb));

    // The lists are refused with a message each, and nothing else happens.
    ASSERT_EQ(s->Messages().size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(s->Messages()[i].caption, i % 2 == 0 ? QStringLiteral("Words") : QStringLiteral("QSO's"));
        EXPECT_TRUE(s->Messages()[i].text.contains(QStringLiteral("too large")));
    }
}

TEST_F(BadFiles, AHundredMegabyteTextStreamsFromDiskAndPlaysItsStart) {
    CreateTimed();
    const QString path =
        MakeRepeated(QStringLiteral("long.txt"), "cq cq de qa1abc qa1abc k\n", 100LL * 1024 * 1024);
    Timed([&] { ASSERT_TRUE(t().PlayTextFile(path)); });
    s->RunFor(30'000);
    EXPECT_TRUE(t().Sent().Text().startsWith(QStringLiteral(" cq cq de qa1abc qa1abc k cq")));
    t().Stop();
    EXPECT_TRUE(s->RunUntilIdle(10'000));
    EXPECT_LT(longestMs, kMomentMs);
}

}  // namespace
