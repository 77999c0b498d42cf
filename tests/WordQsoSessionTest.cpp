// Word and QSO sessions end to end on virtual time: the "Words" and "QSO's" commands,
// their drop-down lists, and what the engine sends.
#include <QRegularExpression>

#include <algorithm>
#include <set>

#include "tests/SessionFixture.h"

using namespace lumbrel;
using lumbrel::test::Filled;
using lumbrel::test::Snapshot;

namespace {

struct WordSession : test::TextSessionTest {
    // Writes the current word file.
    void Words(const QByteArray& lines, const QString& name = QStringLiteral("Words.txt")) {
        Write(QStringLiteral("Word Files/") + name, lines);
        store.Write(keys::CommonWordFile, QStringLiteral("Word Files\\") + name);
    }
    void Qsos(const QByteArray& lines, const QString& name = QStringLiteral("QSO.txt")) {
        Write(QStringLiteral("QSO Files/") + name, lines);
        store.Write(keys::QsoFile, QStringLiteral("QSO Files\\") + name);
    }
    static QStringList WordsOf(const QString& shown) {
        return shown.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    }
    // The words heard whole: a stopped session may end inside one.
    static QStringList WholeWordsOf(const QString& shown) {
        QStringList words = WordsOf(shown);
        if (!shown.endsWith(QLatin1Char(' ')) && !words.isEmpty())
            words.removeLast();
        return words;
    }
};

// A session's text: a word space, then whole words each followed by one word space.
const QRegularExpression kWordsWithSpaces(QStringLiteral("^( [^ ]+)+ $"));

TEST_F(WordSession, ThreeSpellingsOfOneWordAreOneEntrySentAgainAndAgainWithOneSpaceBetween) {
    Words("The\nthe\r\nTHE\n");
    Create();
    t().PlayCurrentWordFile();
    ASSERT_TRUE(t().SessionActive());
    EXPECT_EQ(t().Source(), SourceKind::RandomEntries);
    EXPECT_EQ(t().Entries().Entries(), QList<QByteArray>{"The"});
    EXPECT_FALSE(t().Entries().OneEntry());
    EXPECT_FALSE(t().Readouts().CommandsEnabled());
    EXPECT_FALSE(t().Readouts().CharacterCountEditable());

    const QString shown = RunToEnd();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^( the)+ $")).match(shown).hasMatch())
        << shown.toStdString();
    EXPECT_EQ(FilledBytes(), ExpectedBytes(shown, 25));
    EXPECT_TRUE(t().Readouts().CommandsEnabled());
    EXPECT_TRUE(s->Messages().empty());
}

TEST_F(WordSession, FilterAndLengthLeaveTheWordsOfTheAllowedLettersUpToTheLength) {
    Words("about\nAnt\nand\na\nbat\n");
    store.Write(keys::WordFilter, 1);
    store.Write(keys::MaxWordLength, 3);
    Create();
    t().PlayCurrentWordFile();
    EXPECT_EQ(t().Entries().Entries(), (QList<QByteArray>{"a", "and", "Ant"}));
    const QString shown = RunAndStop(15'000);
    const QStringList heard = WholeWordsOf(shown);
    EXPECT_GE(heard.size(), 8);
    for (const QString& word : heard)
        EXPECT_TRUE(word == "a" || word == "and" || word == "ant") << word.toStdString();
}

TEST_F(WordSession, AHundredOfAThousandWordsAreARandomHundredDifferentAtEveryStart) {
    QByteArray lines;
    std::set<QByteArray> all;
    for (int i = 0; i < 1000; ++i) {
        const QByteArray word =
            QByteArray(1, char('a' + i % 26)) + char('a' + i / 26 % 26) + char('a' + i / 676);
        all.insert(word);
        lines += word + "\n";
    }
    ASSERT_EQ(all.size(), 1000u);
    Words(lines);
    store.Write(keys::CommonWordsSize, 3);
    Create();

    t().PlayCurrentWordFile();
    const QList<QByteArray> first = t().Entries().Entries();
    ASSERT_EQ(first.size(), 100);
    for (const QByteArray& word : first)
        EXPECT_TRUE(all.count(word)) << word.toStdString();
    const QString shown = RunAndStop(15'000);
    for (const QString& word : WholeWordsOf(shown))
        EXPECT_TRUE(first.contains(word.toLatin1())) << word.toStdString();

    t().PlayCurrentWordFile();
    const QList<QByteArray> second = t().Entries().Entries();
    EXPECT_EQ(second.size(), 100);
    EXPECT_NE(first, second);
    StopAndRunOut(10'000);
}

TEST_F(WordSession, AnApostropheIsSkippedAndACaretJoinsTheCharactersAfterIt) {
    Words("don't\na^rb\n");
    Create(3);
    t().PlayCurrentWordFile();
    EXPECT_EQ(t().Entries().Entries(), (QList<QByteArray>{"a^rb", "don't"}));
    const QString shown = RunAndStop(20'000);
    const QStringList heard = WholeWordsOf(shown);
    EXPECT_TRUE(heard.contains("dont"));
    EXPECT_TRUE(heard.contains("a^rb"));
    for (const QString& word : heard)
        EXPECT_TRUE(word == "dont" || word == "a^rb") << word.toStdString();
    // r and b play their joined slots, a and the word space after b their full ones.
    EXPECT_EQ(FilledBytes(), ExpectedBytes(shown, 25));
    EXPECT_NE(SlotBytes("r", 25, true), SlotBytes("r", 25, false));
}

TEST_F(WordSession, AOneMinuteSessionEndsAfterTheWordDuringWhichTheMinutePassed) {
    Words("paris\nmorse\ncode\nqrz\n");
    Create(11);
    t().PlayCurrentWordFile();
    const QString shown = RunToEnd();
    ASSERT_TRUE(kWordsWithSpaces.match(shown).hasMatch()) << shown.toStdString();

    const std::uint32_t space = WordSpaceBytes(25);
    std::size_t stopAt = filled.size();
    for (std::size_t i = 0; i < filled.size(); ++i)
        if (filled[i].windingDown) {
            stopAt = i;
            break;
        }
    ASSERT_LT(stopAt, filled.size());
    // The word space that closes the last word is the last buffer, queued once the
    // minute had passed; the one before it came before the minute was up.
    EXPECT_EQ(stopAt, filled.size() - 1);
    EXPECT_EQ(filled[stopAt].bytes, space);
    EXPECT_GE(filled[stopAt].ms, 60'000);
    std::int64_t previousSpace = -1;
    for (std::size_t i = 0; i < stopAt; ++i)
        if (filled[i].bytes == space)
            previousSpace = filled[i].ms;
    EXPECT_LT(previousSpace, 60'000);
    EXPECT_GE(previousSpace, 0);
    EXPECT_EQ(FilledBytes(), ExpectedBytes(shown, 25));
}

TEST_F(WordSession, TheDitherIsDrawnOncePerWordAndHoldsForTheSpaceBeforeIt) {
    Words("paris\nmorse\ncode\nqrz\nk\n");
    store.Write(keys::PitchDither, 1);
    store.Write(keys::SpeedStep, 1);
    Create(5);
    t().PlayCurrentWordFile();
    const QString shown = RunAndStop(20'000);
    ASSERT_TRUE(shown.startsWith(QLatin1Char(' ')));
    EXPECT_GT(DitherOfEachWord(shown, 25, true).size(), 5u);
}

TEST_F(WordSession, FilesChosenFromTheListsBecomeTheCurrentOnesAndWordsPlayUntilTheSessionLength) {
    Qsos("cq de qa1abc k\n");
    Write("QSO Files/Contest.txt", "qa1abc 5nn 14\n");
    Write("Word Files/Short Words.txt", "dx\nqth\nrig\n");
    Write("Word Files/README", "not a word file");
    Create();

    t().PlayCurrentQsoFile();
    EXPECT_TRUE(t().Entries().OneEntry());
    EXPECT_EQ(RunToEnd(), QStringLiteral(" cq de qa1abc k"));
    EXPECT_LT(s->clock().ElapsedMs(), 20'000);
    EXPECT_EQ(t().QSOPopupMenuPopup(), (QStringList{"Generated contact", "Contest.txt", "QSO.txt"}));
    t().PlayQsoFile(QStringLiteral("&Contest.txt"));
    EXPECT_EQ(store.Read(keys::QsoFile), QStringLiteral("\\QSO Files\\Contest.txt"));
    EXPECT_EQ(RunToEnd(), QStringLiteral(" qa1abc 5nn 14"));
    t().PlayCurrentQsoFile();
    EXPECT_EQ(RunToEnd(), QStringLiteral(" qa1abc 5nn 14"));

    const QStringList items = t().WordsPopupMenuPopup();
    EXPECT_EQ(items, (QStringList{"Words from my characters", "Short Words.txt"}));
    t().PlayWordFile(QStringLiteral("&Short Words.txt"));
    EXPECT_EQ(store.Read(keys::CommonWordFile), QStringLiteral("\\Word Files\\Short Words.txt"));
    EXPECT_EQ(t().SettingCopies().commonWordFile, QStringLiteral("\\Word Files\\Short Words.txt"));
    EXPECT_FALSE(t().Entries().OneEntry());
    const std::int64_t begun = s->clock().ElapsedMs();
    const QString shown = RunToEnd();
    EXPECT_GE(s->clock().ElapsedMs() - begun, 60'000);
    EXPECT_GT(WordsOf(shown).size(), 20);

    // The stored name with its leading backslash plays again from "Words".
    t().PlayCurrentWordFile();
    EXPECT_TRUE(t().SessionActive());
    EXPECT_EQ(t().Entries().Entries(), (QList<QByteArray>{"dx", "qth", "rig"}));
    StopAndRunOut(10'000);
}

TEST_F(WordSession, AMenuCaptionWithAnAmpersandInTheFileNameStillFindsTheFile) {
    Write("Word Files/Q&A.txt", "qrl\n");
    Write("Word Files/QA.txt", "qsy\n");  // what the caption would name without its "&"
    Create();
    EXPECT_EQ(t().WordsPopupMenuPopup(), (QStringList{"Words from my characters", "Q&A.txt", "QA.txt"}));
    t().PlayWordFile(QStringLiteral("Q&A.txt"));  // as listed, no marker added
    EXPECT_EQ(t().Entries().Entries(), QList<QByteArray>{"qrl"});
    EXPECT_EQ(store.Read(keys::CommonWordFile), QStringLiteral("\\Word Files\\Q&A.txt"));
    StopAndRunOut(10'000);
    t().PlayWordFile(QStringLiteral("Q&&A.txt"));  // a menu's escaped caption
    EXPECT_TRUE(t().SessionActive());
    EXPECT_EQ(store.Read(keys::CommonWordFile), QStringLiteral("\\Word Files\\Q&A.txt"));
}

TEST_F(WordSession, MissingFilesAndListsWithoutAnEntryBeginNothingSayNothingAndChangeNothing) {
    for (const bool files : {false, true}) {
        SCOPED_TRACE(files ? "lists without an entry" : "no files");
        if (files) {
            Words("zulu\n   \n\t\nbravo\n");
            store.Write(keys::WordFilter, 1);  // only "a"
            Qsos("\n  \r\n\t\n");
        }
        Create();
        const auto before = Snapshot(store);
        t().PlayCurrentWordFile();
        ExpectIdleAndSilent();
        EXPECT_TRUE(t().Entries().Entries().isEmpty());
        t().PlayCurrentQsoFile();
        ExpectIdleAndSilent();
        EXPECT_TRUE(s->Messages().empty());
        EXPECT_EQ(Snapshot(store), before);
        if (!files) {
            // Only the items that need no file of their folder.
            EXPECT_EQ(t().WordsPopupMenuPopup(), QStringList{"Words from my characters"});
            EXPECT_EQ(t().QSOPopupMenuPopup(), QStringList{"Generated contact"});
        }
        s->RunFor(2000);
        ExpectIdleAndSilent();
    }
}

TEST_F(WordSession, TheSourcesNeedEveryCharacterInUse) {
    store.Write(keys::Letters, 10);
    Words("paris\n");
    Qsos("cq\n");
    Create();
    t().PlayCurrentWordFile();
    t().PlayCurrentQsoFile();
    t().PlayWordFile(QStringLiteral("Words.txt"));
    ExpectIdleAndSilent();
    EXPECT_EQ(store.Read(keys::CommonWordFile), QStringLiteral("Word Files\\Words.txt"));
}

TEST_F(WordSession, NoSecondSessionBeginsWhileOneRunsOrWindsDown) {
    Words("paris\n");
    Qsos("cq\n");
    const QString text = Write(QStringLiteral("Text Files/t.txt"), "hello\n");
    Create();
    t().PlayCurrentWordFile();
    s->RunFor(3000);
    const int writes = s->device().CallCount(VirtualAudioDevice::Call::Write);
    t().PlayCurrentQsoFile();
    t().PlayTextFile(text);
    t().FilesDropped({text});
    t().PlayQsoFile(QStringLiteral("QSO.txt"));
    EXPECT_EQ(t().Source(), SourceKind::RandomEntries);
    EXPECT_FALSE(t().Entries().OneEntry());
    EXPECT_EQ(store.Read(keys::QsoFile), QStringLiteral("QSO Files\\QSO.txt"));
    EXPECT_EQ(s->device().CallCount(VirtualAudioDevice::Call::Write), writes);
    t().Stop();  // winding down: still refused
    t().PlayCurrentQsoFile();
    EXPECT_FALSE(t().Entries().OneEntry());
    EXPECT_TRUE(s->RunUntilIdle(10'000));
    EXPECT_EQ(s->device().QueuedCount(), 0u);
}

TEST_F(WordSession, SingleWordsOnlyLeavesTheTrayHintAloneInWordSessionsOnly) {
    Words("paris\n");
    Create();
    t().SetOption(Option::SingleWords, true);
    t().PlayCurrentWordFile();
    RunAndStop(10'000);
    EXPECT_EQ(t().Readouts().TrayWord(), QString());

    const QString text = Write(QStringLiteral("Text Files/t.txt"), "hello world\n");
    t().PlayTextFile(text);
    RunToEnd();
    EXPECT_EQ(t().Readouts().TrayWord(), QStringLiteral("hello"));

    t().SetOption(Option::SingleWords, false);
    t().PlayCurrentWordFile();
    RunAndStop(10'000);
    EXPECT_EQ(t().Readouts().TrayWord(), QStringLiteral("paris"));
}

// --- Sample QSOs ---------------------------------------------------------------------------------

TEST_F(WordSession, EachPressOfQsosSendsOneWholeLineAndTheSameLineMayComeTwiceInARow) {
    QByteArray lines;
    QStringList expected;
    for (int i = 0; i < 20; ++i) {
        const QString line = QStringLiteral("nr %1").arg(i);
        expected << line;
        lines += line.toUpper().toLatin1() + "\r\n";
    }
    Qsos(lines);
    Create(2);
    QStringList heard;
    for (int press = 0; press < 40; ++press) {
        const std::int64_t begun = s->clock().ElapsedMs();
        t().PlayCurrentQsoFile();
        ASSERT_TRUE(t().SessionActive());
        filled.clear();
        const QString shown = RunToEnd();
        ASSERT_TRUE(shown.startsWith(QLatin1Char(' ')));
        heard << shown.mid(1);
        EXPECT_TRUE(expected.contains(heard.last())) << shown.toStdString();
        // One word space, the line, and nothing after it: no time limit either.
        EXPECT_EQ(FilledBytes(), ExpectedBytes(shown, 25));
        EXPECT_LT(s->clock().ElapsedMs() - begun, 30'000);
    }
    int repeats = 0;
    for (qsizetype i = 1; i < heard.size(); ++i)
        repeats += heard[i] == heard[i - 1] ? 1 : 0;
    EXPECT_GE(repeats, 1);
    EXPECT_GE(std::set<QString>(heard.begin(), heard.end()).size(), 12u);
}

TEST_F(WordSession, SpeakTheAnswerSpeaksEachWordInItsSpaceBufferInWordSessionsOnly) {
    Words("tea\nten\n");
    Qsos("TEA TEN\r\n");
    Create();
    t().SetSpeakAnswers(true);
    std::vector<std::vector<std::int16_t>> buffers;
    s->device().SetWriteSink([&](const AudioBufferHeader& header) {
        const auto* values = static_cast<const std::int16_t*>(header.data);
        buffers.emplace_back(values, values + header.length / 2);
    });
    constexpr std::size_t kPauseValues = 2 * 22050;  // half a second
    for (const bool words : {true, false}) {
        SCOPED_TRACE(words ? "words" : "QSO");
        buffers.clear();
        words ? t().PlayCurrentWordFile() : t().PlayCurrentQsoFile();
        const QString shown = RunToEnd();
        const std::vector<std::uint32_t> slots = ExpectedBytes(shown, 25);
        ASSERT_EQ(buffers.size(), slots.size());
        int spoken = 0;
        for (std::size_t i = 0; i < slots.size(); ++i) {
            const std::vector<std::int16_t>& b = buffers[i];
            const std::size_t slot = slots[i] / 2;
            if (!words || i == 0 || shown[static_cast<qsizetype>(i)] != QLatin1Char(' ')) {
                EXPECT_EQ(b.size(), slot) << i;
                continue;
            }
            // The space's silence and a pause, the word (at least a fifth of a second,
            // within the peak), a pause.
            ASSERT_GT(b.size(), slot + 2 * kPauseValues + 2 * 8820) << i;
            EXPECT_TRUE(std::all_of(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(slot + kPauseValues),
                                    [](std::int16_t v) { return v == 0; }));
            EXPECT_TRUE(std::all_of(b.end() - static_cast<std::ptrdiff_t>(kPauseValues), b.end(),
                                    [](std::int16_t v) { return v == 0; }));
            const auto [low, high] = std::minmax_element(b.begin(), b.end());
            EXPECT_GT(*high, 4000);
            EXPECT_GE(*low, -32000);
            ++spoken;
        }
        EXPECT_EQ(spoken, words ? static_cast<int>(shown.count(QLatin1Char(' '))) - 1 : 0);
    }
}

TEST_F(WordSession, AQsoSkipsUnknownCharactersKeepsEverySpaceAndJoinsProsigns) {
    Qsos("cq = de qa1abc ^ar k\n");
    Create();
    t().PlayCurrentQsoFile();
    const QString shown = RunToEnd();
    EXPECT_EQ(shown, QStringLiteral(" cq  de qa1abc ^ar k"));
    EXPECT_EQ(FilledBytes(), ExpectedBytes(shown, 25));
}

TEST_F(WordSession, WordsFromMyCharactersAreTheWordsOfTheCharactersInUseOnly) {
    // Two characters in use, K and M: before all are learnt, the Words command is refused.
    Words("km\nmk\nkey\nmmk\nKM\nr\n");
    store.Write(keys::Letters, 2);
    WriteFirstCharactersMask(store, 2);
    Create();
    t().PlayCurrentWordFile();
    EXPECT_FALSE(t().SessionActive());
    t().PlayWordFile(QStringLiteral("Words from my characters"));
    ASSERT_TRUE(t().SessionActive());
    EXPECT_EQ(t().Entries().Entries(), (QList<QByteArray>{"km", "mk", "mmk"}));
    const QString shown = RunToEnd();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^( (km|mk|mmk))+ $")).match(shown).hasMatch())
        << shown.toStdString();
    EXPECT_EQ(store.Read(keys::CommonWordFile), QStringLiteral("Word Files\\Words.txt"));
    EXPECT_TRUE(s->Messages().empty());

    Words("key\nrig\n");
    t().PlayWordFile(QStringLiteral("Words from my characters"));
    EXPECT_FALSE(t().SessionActive());
    EXPECT_EQ(s->Messages().size(), 1u);
}

TEST_F(WordSession, AGeneratedContactIsMadeFromTheSessionsSeedAndLeavesTheQsoFileAlone) {
    Qsos("cq de qa1abc k\n");
    QList<QByteArray> firsts;
    for (int run = 0; run < 2; ++run) {
        Create(7);
        t().PlayQsoFile(QStringLiteral("Generated contact"));
        ASSERT_TRUE(t().SessionActive());
        EXPECT_TRUE(t().Entries().OneEntry());
        ASSERT_EQ(t().Entries().Entries().size(), 1);
        firsts.append(t().Entries().Entries().front());
        EXPECT_GT(RunToEnd(3'600'000).count(QLatin1Char(' ')), 8);
        EXPECT_EQ(store.Read(keys::QsoFile), QStringLiteral("QSO Files\\QSO.txt"));
        // The next one is another contact.
        t().PlayQsoFile(QStringLiteral("Generated contact"));
        EXPECT_NE(t().Entries().Entries().front(), firsts.back());
        StopAndRunOut(10'000);
    }
    EXPECT_EQ(firsts[0], firsts[1]);
}

TEST_F(WordSession, ThePlainSettingNamesOfTheShippedFilesWork) {
    // The shipped data with the settings' defaults: "Word Files\..." and "QSO Files\...".
    Create(4);
    t().SetProgramFolder(DefaultProgramFolder());
    EXPECT_TRUE(t().WordsPopupMenuPopup().contains(QStringLiteral("1000 Common Words.txt")));
    EXPECT_TRUE(t().QSOPopupMenuPopup().contains(QStringLiteral("QSO.txt")));
    t().PlayCurrentWordFile();
    EXPECT_EQ(t().Entries().Entries().size(), 1000);
    StopAndRunOut(10'000);
    t().PlayCurrentQsoFile();
    const QString shown = RunToEnd(3'600'000);
    EXPECT_GT(shown.size(), 5);
    EXPECT_EQ(FilledBytes(), ExpectedBytes(shown, 25));
}

}  // namespace
