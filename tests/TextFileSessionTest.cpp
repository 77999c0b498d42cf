// Text files and files of parameter lines end to end on virtual time: "Play Text
// File", dropped files, and what the engine sends and logs.
#include <QRegularExpression>

#include <set>

#include "tests/SessionFixture.h"
#include "text/ParameterLine.h"

using namespace lumbrel;
using lumbrel::test::Filled;
using lumbrel::test::Snapshot;

namespace {

struct TextSession : test::TextSessionTest {
    QString Text(const QByteArray& bytes, const QString& name = QStringLiteral("t.txt")) {
        return Write(QStringLiteral("Text Files/") + name, bytes);
    }
    // Plays a file to its end; the text area then.
    QString Play(const QByteArray& bytes) {
        filled.clear();
        EXPECT_TRUE(t().PlayTextFile(Text(bytes)));
        return RunToEnd();
    }
    std::uint32_t space = WordSpaceBytes(25);
    // How many buffers open the session with word spaces.
    int LeadingSpaces() const {
        int n = 0;
        while (n < static_cast<int>(filled.size()) && filled[static_cast<std::size_t>(n)].bytes == space)
            ++n;
        return n;
    }
};

const QRegularExpression kLogLine(QStringLiteral("^ *(\\d+) (\\d+), (\\d+), (-?\\d+), (-?\\d+), (.*)$"));

TEST_F(TextSession, APlainTextIsSentWordForWordWithOneWordSpaceBetween) {
    // Line ends, blank lines and runs of spaces are one word space; so is an unmapped
    // character (bytes above 127, NUL, tabs) with the spaces around it; a caret joins;
    // only the comments before the first plain line go, and commas are sent.
    const struct {
        QByteArray bytes;
        const char* shown;
    } rows[] = {
        {"CQ CQ DE\nK\n", " cq cq de k"},
        {"CQ  CQ DE \r\n\r\n\r\n  K", " cq cq de k"},
        {"Hello = world\n", " hello world"},
        {QByteArray("a\xe9\xff"
                    "b\0\tc ^sk",
                    11),
         " a b c ^sk"},
        {"'c1\nhello\n'c2 x\n", " hello c2 x"},
        {"CQ,25,0,0,1\nhello\n", " cq,25,0,0,1 hello"},
    };
    Create();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.shown);
        const QString shown = Play(row.bytes);
        EXPECT_EQ(shown, QString::fromLatin1(row.shown));
        EXPECT_EQ(FilledBytes(), ExpectedBytes(shown, 25));
        EXPECT_EQ(t().Source(), SourceKind::SequentialText);
        EXPECT_FALSE(t().TextFile().StationLines());
        EXPECT_TRUE(t().Readouts().CommandsEnabled());
        EXPECT_FALSE(t().Readouts().ClockRunning());
    }
}

// Bytes of a slot of so many units at wpm, by the timing rules: whole milliseconds per
// unit, whole frames, four bytes a frame.
std::uint32_t UnitsBytes(int units, int wpm) {
    return static_cast<std::uint32_t>(units * (1200 / wpm * 44100 / 1000) * 4);
}

TEST_F(TextSession, UserCharactersAreReachedFromUtf8AndLatin1FilesAndStationsKeepTheirText) {
    test::DefineCharacter(store, 1, QStringLiteral(".-.-"), QStringLiteral("\u00e4"));
    Create();
    for (const QByteArray& bytes : {QByteArray("b\xc3\xa4r\n"),
                                    QByteArray("\xef\xbb\xbf"
                                               "b\xc3\xa4r\n"),
                                    QByteArray("b\xe4r\n")}) {
        EXPECT_EQ(Play(bytes), QStringLiteral(" b\u00e4r")) << bytes.toStdString();
        ASSERT_EQ(filled.size(), 4u);
        EXPECT_EQ(filled[2].bytes, UnitsBytes(14, 25));  // .-.- : 1 + 1 + 3 + 1 + 1 + 1 + 3 + 3 units
    }
    // A byte-order mark before the comment: still a file of stations, whose log line
    // shows the station's text as written.
    Play(
        "\xef\xbb\xbf'stations\nGr\xc3\xbc\xc3\x9f"
        "e \xc3\xa4,20,0,0,0\n");
    EXPECT_TRUE(t().TextFile().StationLines());
    EXPECT_TRUE(t().Sent().Text().trimmed().endsWith(QStringLiteral(", Gr\u00fc\u00dfe \u00e4")))
        << t().Sent().Text().toStdString();
}

TEST_F(TextSession, AProsignAtTheEndOfAStationLineEndsWithIt) {
    Create();
    Play("r ^bk,20,0,0,0\nt,20,0,0,0\n");
    // From the last back: t whole (a dash and the closing gap), the word spaces of the
    // next station's pause whole, then k and b joined (marks and one-unit gaps only).
    ASSERT_GE(filled.size(), 5u);
    auto it = filled.rbegin();
    EXPECT_EQ((it++)->bytes, UnitsBytes(6, 20));
    while (it != filled.rend() && it->bytes == UnitsBytes(7, 20))
        ++it;
    ASSERT_GE(filled.rend() - it, 3);
    EXPECT_EQ((it++)->bytes, UnitsBytes(3 + 1 + 1 + 1 + 3 + 1, 20));          // k joined
    EXPECT_EQ((it++)->bytes, UnitsBytes(3 + 1 + 1 + 1 + 1 + 1 + 1 + 1, 20));  // b joined
    EXPECT_EQ(it->bytes, UnitsBytes(7, 20));                                  // the space before ^bk
}

TEST_F(TextSession, AStationLineSetsItsSpeedAndChirpAndLogsWhenItsFirstLetterStarts) {
    Create();
    s->clock().SetTickCount(0xFFFFFF00u);  // the log counts unsigned across the wrap
    ASSERT_TRUE(t().PlayTextFile(Text("'header\nCQ,25,0,0,1\n")));
    EXPECT_TRUE(t().TextFile().StationLines());
    EXPECT_TRUE(t().Display().ParameterLineMode());
    const QString shown = RunToEnd();

    const int pause = LeadingSpaces();
    EXPECT_GE(pause, 1);
    EXPECT_LE(pause, 10);
    ASSERT_EQ(filled.size(), static_cast<std::size_t>(pause) + 2);
    const Filled& c = filled[static_cast<std::size_t>(pause)];
    const Filled& q = filled[static_cast<std::size_t>(pause) + 1];
    EXPECT_EQ(c.bytes, SlotBytes("c", 25, false));
    EXPECT_EQ(q.bytes, SlotBytes("q", 25, false));
    EXPECT_TRUE(c.chirp && q.chirp);
    EXPECT_FALSE(c.drift);
    EXPECT_EQ(c.wpm, 25);
    EXPECT_GE(c.pitch, 750 - 125);
    EXPECT_LE(c.pitch, 750 + 124);

    // Nothing was logged before "c" was queued, one line with it, and the text area
    // holds only that line at the end.
    EXPECT_TRUE(c.sentBefore.isEmpty());
    const QStringList lines = shown.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1);
    const auto m = kLogLine.match(lines[0]);
    ASSERT_TRUE(m.hasMatch()) << lines[0].toStdString();
    EXPECT_EQ(m.captured(1).toLongLong(), (c.ms) / 10);
    EXPECT_EQ(m.captured(2), QStringLiteral("25"));
    EXPECT_EQ(m.captured(3).toInt(), c.pitch);
    EXPECT_EQ(m.captured(4), QStringLiteral("0"));
    EXPECT_EQ(m.captured(5), QStringLiteral("1"));
    EXPECT_EQ(m.captured(6), QStringLiteral("CQ"));
    EXPECT_EQ(lines[0].at(5), QLatin1Char(' '));  // right-aligned in five places
    EXPECT_EQ(lines[0].left(5).trimmed(), m.captured(1));
    EXPECT_EQ(q.sentBefore, lines[0] + QLatin1Char('\n'));
    EXPECT_FALSE(t().Display().ParameterLineMode());
    EXPECT_FALSE(t().Signal().Switches().DriftOn);
}

TEST_F(TextSession, AStationWithoutASpeedGetsARandomOneNearTheSelectedSpeed) {
    std::set<int> speeds;
    Create();
    for (int play = 0; play < 30; ++play) {
        Play("TEST,0,0,0,0\n");
        ASSERT_FALSE(filled.empty());
        const int wpm = filled.back().wpm;
        EXPECT_GE(wpm, 15);
        EXPECT_LE(wpm, 34);
        EXPECT_EQ(filled.back().bytes, SlotBytes("t", wpm, false));
        EXPECT_EQ(t().Options().Get(Option::CharacterSpeed), 2);
        speeds.insert(wpm);
    }
    EXPECT_GE(speeds.size(), 8u);
}

TEST_F(TextSession, ALineWithThreeFieldsIsSentWithTheCurrentSettingsAfterItsPauseAndLogsNothing) {
    Create();
    const QString shown = Play("TEST,20,0,0\n");
    EXPECT_TRUE(t().TextFile().StationLines());
    EXPECT_TRUE(shown.isEmpty()) << shown.toStdString();
    const int pause = LeadingSpaces();
    EXPECT_GE(pause, 1);
    EXPECT_LE(pause, 10);
    ASSERT_EQ(filled.size(), static_cast<std::size_t>(pause) + 4);
    for (const Filled& f : filled)
        EXPECT_EQ(f.wpm, 25);
    EXPECT_EQ(filled.back().bytes, SlotBytes("t", 25, false));
    EXPECT_EQ(t().Signal().Pitch(), 750);
}

TEST_F(TextSession, AfterTheFileTheSpeedPitchAndSwitchesTheWindowShowsComeBack) {
    // No station plays below six WPM, and its speed is not left behind either.
    const struct {
        QByteArray bytes;
        int lastWpm;
        bool lastChirp;
        std::int64_t sessionMs;
    } rows[] = {{"A,22,0,0,0\nB,30,1,1,1\n", 30, true, 10'000}, {"E,-3,0,0,0\n", 6, false, 30'000}};
    store.Write(keys::Pause, 0);
    Create();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.bytes.toStdString());
        Play(row.bytes);
        ASSERT_FALSE(filled.empty());
        EXPECT_EQ(filled.back().wpm, row.lastWpm);
        EXPECT_EQ(filled.back().chirp, row.lastChirp);
        EXPECT_EQ(t().Signal().Wpm(), 25);
        EXPECT_EQ(t().Signal().Pitch(), 750);
        EXPECT_FALSE(t().Signal().Switches().DriftOn);
        EXPECT_FALSE(t().Signal().Switches().ChirpOn);
        EXPECT_FALSE(t().Signal().Switches().VariableWeightingOn);

        filled.clear();
        t().Start();
        ASSERT_TRUE(t().SessionActive());
        EXPECT_EQ(t().Source(), SourceKind::RandomGroups);
        const QString shown = RunAndStop(row.sessionMs);
        EXPECT_EQ(t().Options().Get(Option::CharacterSpeed), 2);
        EXPECT_EQ(t().Signal().Wpm(), 25);
        EXPECT_EQ(FilledBytes(), ExpectedBytes(shown, 25));
        EXPECT_FALSE(filled.front().weighting);  // the session start applied the check box
    }
    t().SetOption(Option::CharacterSpeed, 4);
    EXPECT_EQ(t().Signal().Wpm(), 35);
    t().SetOption(Option::CharacterSpeed, 2);
    EXPECT_EQ(t().Signal().Wpm(), 25);
}

TEST_F(TextSession, EachStationOfAFileGetsItsOwnLogLineAndItsOwnSwitches) {
    Create(6);
    const QString shown = Play("' a pile-up\nQA1AA,28,1,0,0\n\nQB2BB,18,0,1,1\n");
    const QStringList lines = shown.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << shown.toStdString();
    const auto first = kLogLine.match(lines[0]);
    const auto second = kLogLine.match(lines[1]);
    ASSERT_TRUE(first.hasMatch() && second.hasMatch());
    EXPECT_EQ(first.captured(2), QStringLiteral("28"));
    EXPECT_EQ(first.captured(4), QStringLiteral("0"));
    EXPECT_EQ(first.captured(5), QStringLiteral("0"));
    EXPECT_EQ(first.captured(6), QStringLiteral("QA1AA"));
    EXPECT_EQ(second.captured(2), QStringLiteral("18"));
    EXPECT_EQ(second.captured(4), QStringLiteral("1"));
    EXPECT_EQ(second.captured(5), QStringLiteral("1"));
    EXPECT_EQ(second.captured(6), QStringLiteral("QB2BB"));
    EXPECT_LT(first.captured(1).toInt(), second.captured(1).toInt());

    bool sawFirst = false;
    bool sawSecond = false;
    for (const Filled& f : filled) {
        if (f.wpm == 28 && f.bytes != WordSpaceBytes(28)) {
            sawFirst = true;
            EXPECT_TRUE(f.weighting);
            EXPECT_FALSE(f.drift);
        }
        if (f.wpm == 18 && f.bytes != WordSpaceBytes(18)) {
            sawSecond = true;
            EXPECT_FALSE(f.weighting);
            EXPECT_TRUE(f.drift);
            EXPECT_TRUE(f.chirp);
        }
        EXPECT_EQ(f.pitchDither, Impairments::kNoPitchDither);
    }
    EXPECT_TRUE(sawFirst && sawSecond);
}

TEST_F(TextSession, AStoppedParameterFileShowsItsLogLinesThenTheTextHeard) {
    Create(2);
    ASSERT_TRUE(t().PlayTextFile(Text("CQ TEST DE QA1AA QA1AA TEST,20,0,0,0\nQB2BB,20,0,0,0\n")));
    ASSERT_TRUE(s->RunUntil([&] { return t().Sent().Text().contains(QLatin1Char('\n')); }, 30'000));
    s->RunFor(3000);
    t().Stop();
    EXPECT_FALSE(t().Display().ParameterLineMode());
    const QString shown = RunToEnd();
    const qsizetype end = shown.indexOf(QLatin1Char('\n'));
    ASSERT_GT(end, 0);
    EXPECT_TRUE(kLogLine.match(shown.left(end)).hasMatch());
    const QString heard = shown.mid(end + 1).trimmed();
    EXPECT_FALSE(heard.isEmpty());
    EXPECT_TRUE(QStringLiteral("cq test de qa1aa qa1aa test").startsWith(heard)) << heard.toStdString();
}

TEST_F(TextSession, AStationWithoutTextDoesNotFail) {
    Create(4);
    const QString shown = Play(",25,0,0,1\nB,20,0,0,0\n");
    EXPECT_EQ(shown.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size(), 1);
    EXPECT_TRUE(shown.contains(QStringLiteral(", B")));
    ASSERT_FALSE(filled.empty());
    EXPECT_EQ(filled.back().wpm, 20);
}

TEST_F(TextSession, NonsenseSpeedsAreBroughtIntoRangeAndAnyOtherNumberSwitchesOn) {
    Create();
    Play("A,0,0,0,0\nB,-7,0,0,0\nC,99999,99999,99999,-3\nD,999999999999999999999,1,1,1\n");
    std::set<int> speeds;
    for (const Filled& f : filled) {
        EXPECT_GE(f.wpm, kMinStationWpm);
        EXPECT_LE(f.wpm, kMaxStationWpm);
        speeds.insert(f.wpm);
    }
    EXPECT_TRUE(speeds.count(kMinStationWpm));
    EXPECT_TRUE(speeds.count(kMaxStationWpm));
    const QStringList lines = t().Sent().Text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral(", 99999, -3, C")));
    EXPECT_TRUE(lines[3].contains(QStringLiteral(" 100, ")));
    // The whole file took a sane time: four one-letter stations.
    EXPECT_LT(s->clock().ElapsedMs(), 60'000);
}

TEST_F(TextSession, ALongRunOfCommentsBetweenStationsCostsAWordSpaceButLosesNothing) {
    Create();
    QByteArray bytes = "A,20,0,0,0\n";
    for (int i = 0; i < 100'000; ++i)
        bytes += "'\n";
    bytes += "B,20,0,0,0\n";
    const QString shown = Play(bytes);
    EXPECT_EQ(shown.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size(), 2);
    std::vector<std::uint32_t> letters;
    for (const Filled& f : filled)
        if (f.bytes != WordSpaceBytes(20))
            letters.push_back(f.bytes);
    EXPECT_EQ(letters, (std::vector<std::uint32_t>{SlotBytes("a", 20, false), SlotBytes("b", 20, false)}));
}

TEST_F(TextSession, EmptyFilesAndFilesOfOnlyCommentsBeginAndFinishAtOnceWithoutSound) {
    Create();
    for (const QByteArray& bytes : {QByteArray(), QByteArray("'one\n'two\r\n")}) {
        ASSERT_TRUE(t().PlayTextFile(Text(bytes)));
        EXPECT_TRUE(t().SessionActive());
        EXPECT_FALSE(t().Readouts().CommandsEnabled());
        s->Pump();
        ExpectIdleAndSilent();
        EXPECT_TRUE(t().Sent().Text().isEmpty());
    }
}

TEST_F(TextSession, AFileThatCannotBeReadIsReportedAndChangesNothing) {
    Create();
    const auto before = Snapshot(store);
    EXPECT_FALSE(t().PlayTextFile(dir.filePath("missing.txt")));
    ASSERT_EQ(s->Messages().size(), 1u);
    EXPECT_EQ(s->Messages()[0].caption, QStringLiteral("Play Text File"));
    EXPECT_TRUE(s->Messages()[0].text.contains(QStringLiteral("missing.txt")));
    QDir().mkpath(dir.filePath("folder.txt"));
    EXPECT_FALSE(t().PlayTextFile(dir.filePath("folder.txt")));
    EXPECT_EQ(s->Messages().size(), 2u);
    t().PlayChosenTextFile(QString());  // the dialog was cancelled
    EXPECT_EQ(s->Messages().size(), 2u);
    ExpectIdleAndSilent();
    EXPECT_EQ(t().Source(), SourceKind::RandomGroups);
    EXPECT_EQ(Snapshot(store), before);

    t().PlayChosenTextFile(Text("k\n"));
    EXPECT_EQ(RunToEnd(), QStringLiteral(" k"));
}

TEST_F(TextSession, DroppedFilesPlayWhenTheirNameHoldsTxtAndTheLastOneWins) {
    Create();
    const QString bak = Text("bak\n", QStringLiteral("notes.txt.bak"));
    const QString doc = Text("doc\n", QStringLiteral("notes.doc"));
    const QString a = Text("aaa\n", QStringLiteral("a.txt"));
    const QString b = Text("bbb\n", QStringLiteral("b.TXT"));
    const QString c = Text("ccc\n", QStringLiteral("c.txt"));

    t().FilesDropped({bak});
    EXPECT_EQ(RunToEnd(), QStringLiteral(" bak"));
    t().FilesDropped({doc});
    EXPECT_TRUE(Idle());
    t().FilesDropped({a, b, c});
    EXPECT_EQ(RunToEnd(), QStringLiteral(" ccc"));
    t().FilesDropped({a, doc});  // the last one decides
    EXPECT_TRUE(Idle());
    t().FileDropped(b);
    t().DropFinished();
    EXPECT_EQ(RunToEnd(), QStringLiteral(" bbb"));
    t().DropFinished();  // nothing stored since
    EXPECT_TRUE(Idle());
    // A folder called "x.txt" does not make any file in it a text file.
    t().FilesDropped({Write(QStringLiteral("x.txt/notes.doc"), "doc\n")});
    EXPECT_TRUE(Idle());
    EXPECT_TRUE(s->Messages().empty());
}

TEST_F(TextSession, DropsAreIgnoredUnlessEveryCharacterIsInUse) {
    store.Write(keys::Letters, 12);
    Create();
    t().FilesDropped({Text("aaa\n")});
    t().PlayChosenTextFile(Text("aaa\n"));
    ExpectIdleAndSilent();
    t().SetOption(Option::CharacterCount, 40);
    t().FilesDropped({Text("aaa\n")});
    EXPECT_EQ(RunToEnd(), QStringLiteral(" aaa"));
}

TEST_F(TextSession, PlainTextDrawsTheDitherAtEveryWordSpaceAndStationsNever) {
    store.Write(keys::PitchDither, 1);
    store.Write(keys::SpeedStep, 1);
    Create(9);
    const QString shown = Play("one two  three = four\nfive six\n");
    EXPECT_EQ(shown, QStringLiteral(" one two three four five six"));
    EXPECT_GT(DitherOfEachWord(shown, 25, false).size(), 3u);  // one buffer per symbol shown

    t().Signal().Impairments().PitchDither = 3;
    t().Signal().Impairments().SpeedDither = 5;
    Play("A,20,0,0,0\nB B,20,0,0,0\n");
    for (const Filled& f : filled) {
        EXPECT_EQ(f.pitchDither, Impairments::kNoPitchDither);
        EXPECT_EQ(f.speedDither, 0);
    }
}

TEST_F(TextSession, TheEffectiveSpeedStretchesOnlyTheWordSpacesOfATextInEachWordMode) {
    Create();
    t().SetOption(Option::EffectiveSpeed, 4);  // 1/2
    const QString shown = Play("paris paris\n");
    EXPECT_EQ(FilledBytes(), ExpectedBytes(shown, 25, 500));
}

TEST_F(TextSession, ATextFileIsClosedWhenItsSessionIsStopped) {
    Create();
    QByteArray lines;
    for (int i = 0; i < 2000; ++i)
        lines += "cq cq de qa1abc\n";
    const QString path = Text(lines);
    ASSERT_TRUE(t().PlayTextFile(path));
    RunAndStop(5000, 10'000);
    EXPECT_TRUE(QFile::remove(path));
    // And the next one plays from its start.
    EXPECT_EQ(Play("k\n"), QStringLiteral(" k"));
}

}  // namespace
