// Word and QSO lists, text-file lines and parameter lines as plain logic, and the data
// files shipped with the program.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <climits>
#include <cstring>
#include <set>

#include "engine/CharacterSet.h"
#include "morse/Random.h"
#include "tests/TestSupport.h"
#include "text/DataFolders.h"
#include "text/EntryList.h"
#include "text/ParameterLine.h"
#include "text/RealCalls.h"
#include "text/TextFileSource.h"
#include "tools/lists/PracticeLists.h"

using namespace lumbrel;

namespace {

QByteArray Joined(const QList<QByteArray>& list) {
    return list.join('|');
}

struct Files : ::testing::Test {
    QTemporaryDir dir;
    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        test::WriteAll(path, bytes);
        return path;
    }
    QList<QByteArray> Lines(const QString& path) {
        LineReader reader;
        EXPECT_TRUE(reader.Open(path));
        QList<QByteArray> lines;
        QByteArrayView line;
        while (reader.Next(line))
            lines << line.toByteArray();
        EXPECT_FALSE(reader.Failed());
        return lines;
    }
    // The lines a text file sends, comment lines removed as its kind says.
    QList<QByteArray> SentLines(const QString& path, bool* parameterLines = nullptr) {
        TextFileSource source;
        EXPECT_TRUE(source.Open(path)) << source.Error().toStdString();
        if (parameterLines)
            *parameterLines = source.ParameterLines();
        QList<QByteArray> lines;
        QByteArray line;
        for (;;) {
            int budget = 1000;
            const auto next = source.NextLine(line, budget);
            if (next == TextFileSource::Next::End)
                break;
            if (next == TextFileSource::Next::Line)
                lines << line;
        }
        return lines;
    }
};

// --- Lines --------------------------------------------------------------------------------

TEST_F(Files, LineEndsOfEveryKindEndALineAndNoEmptyLastLineIsAdded) {
    EXPECT_EQ(Joined(Lines(Write("a.txt", "one\r\ntwo\nthree\rfour"))), "one|two|three|four");
    EXPECT_EQ(Joined(Lines(Write("b.txt", "one\n\n\r\n  \ntwo\n"))), "one|||  |two");
    EXPECT_TRUE(Lines(Write("c.txt", "")).isEmpty());
    EXPECT_EQ(Lines(Write("d.txt", "\n")).size(), 1);
    // NUL bytes and bytes above 127 pass as they are.
    EXPECT_EQ(Lines(Write("e.txt", QByteArray("a\0b\xff\xe9", 5) + "\n")).value(0),
              QByteArray("a\0b\xff\xe9", 5));
}

TEST_F(Files, ACrAtTheEndOfAChunkAndItsLfAtTheStartOfTheNextAreOneLineEnd) {
    QByteArray bytes(LineReader::kChunkBytes - 1, 'x');
    bytes += "\r\nnext\r";
    const auto lines = Lines(Write("cr.txt", bytes));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].size(), LineReader::kChunkBytes - 1);
    EXPECT_EQ(lines[1], "next");
}

TEST_F(Files, AOneMegabyteLineStaysWholeAndALongerOneThanTheLimitComesInPieces) {
    QByteArray mega(1024 * 1024, 'k');
    auto lines = Lines(Write("mega.txt", "a\n" + mega + "\nb"));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[1], mega);

    QByteArray huge(LineReader::kMaxLineBytes + 1000, 'm');
    lines = Lines(Write("huge.txt", huge + "\nend"));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].size(), LineReader::kMaxLineBytes);
    EXPECT_EQ(lines[1].size(), 1000);
    EXPECT_EQ(lines[2], "end");
}

TEST_F(Files, OnlyPlainFilesOpen) {
    LineReader reader;
    EXPECT_FALSE(reader.Open(dir.filePath("missing.txt")));
    EXPECT_FALSE(reader.Error().isEmpty());
    QDir().mkpath(dir.filePath("folder.txt"));
    EXPECT_FALSE(reader.Open(dir.filePath("folder.txt")));
    if (QFileInfo::exists(QStringLiteral("/dev/zero"))) {
        EXPECT_FALSE(reader.Open(QStringLiteral("/dev/zero")));  // would never end
    }
}

// --- Kinds of text file -----------------------------------------------------------------------

TEST_F(Files, AFileWhoseEveryLineHoldsACommaIsOfParameterLinesAndLosesEveryComment) {
    // In a plain file only the comments before its first comma-less line go; blank
    // lines do not decide and stay.
    const struct {
        QByteArray bytes;
        const char* sent;
        bool parameterLines;
    } rows[] = {
        {"'header\nCQ,25,0,0,1\n", "CQ,25,0,0,1", true},
        {"A,1,0,0,0\n\n'x\nB,2,0,0,0\n' y\n", "A,1,0,0,0||B,2,0,0,0", true},
        {"'one\n\nA,1\nHello = world\n'two\nlast,x\n", "|A,1|Hello = world|'two|last,x", false},
        {"Hello = world\n", "Hello = world", false},
        {"'one\n'two\n", "", true},
        {"", "", true},
    };
    for (const auto& row : rows) {
        bool parameters = !row.parameterLines;
        EXPECT_EQ(Joined(SentLines(Write("p.txt", row.bytes), &parameters)), row.sent)
            << row.bytes.toStdString();
        EXPECT_EQ(parameters, row.parameterLines) << row.bytes.toStdString();
    }
}

TEST_F(Files, TheKindScanCountsLinesExactlyAsTheReaderHandsThemOut) {
    // The kind as the lines say it, line by line.
    auto byLines = [&](const QString& path) {
        TextFileKind kind;
        qint64 index = 0;
        for (const QByteArray& line : Lines(path)) {
            if (!IsBlankLine(line) && !IsCommentLine(line) && !line.contains(',')) {
                kind.parameterLines = false;
                kind.firstPlainLine = index;
                break;
            }
            ++index;
        }
        return kind;
    };
    auto byScan = [&](const QString& path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return ScanTextFileKind(file);
    };
    // Small files of the characters that matter, CR and LF pairs across chunk ends included.
    RandomNumber random(17);
    const char alphabet[] = {'a', ',', '\'', ' ', '\t', '\r', '\n', '\n'};
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes;
        const int size = random.Next(40);
        for (int i = 0; i < size; ++i)
            bytes += alphabet[random.Next(8)];
        if (round % 50 == 0)
            bytes = QByteArray(LineReader::kChunkBytes - 1, ',') + bytes;
        const QString path = Write(QStringLiteral("r%1.txt").arg(round), bytes);
        const TextFileKind lines = byLines(path);
        const TextFileKind scan = byScan(path);
        ASSERT_EQ(scan.parameterLines, lines.parameterLines) << bytes.toStdString();
        ASSERT_EQ(scan.firstPlainLine, lines.firstPlainLine) << bytes.toStdString();
        EXPECT_FALSE(scan.failed);
    }
    // A line of exactly the longest length ends there; the line end after it ends an
    // empty line, so the plain line after that is the third.
    const QString exact =
        Write(QStringLiteral("exact.txt"), QByteArray(LineReader::kMaxLineBytes, ',') + "\nx\n");
    EXPECT_EQ(Lines(exact).size(), 3);
    EXPECT_EQ(byScan(exact).firstPlainLine, 2);
    EXPECT_EQ(byLines(exact).firstPlainLine, 2);
}

TEST_F(Files, SkippingCommentsStopsWhenTheBudgetIsSpent) {
    QByteArray bytes;
    for (int i = 0; i < 5000; ++i)
        bytes += "'comment\n";
    bytes += "x,1,0,0,0\n";
    TextFileSource source;
    ASSERT_TRUE(source.Open(Write("many.txt", bytes)));
    QByteArray line;
    int budget = 100;
    EXPECT_EQ(source.NextLine(line, budget), TextFileSource::Next::OutOfBudget);
    EXPECT_EQ(budget, 0);
    int calls = 1;
    TextFileSource::Next next;
    do {
        budget = 100;
        next = source.NextLine(line, budget);
        ++calls;
    } while (next == TextFileSource::Next::OutOfBudget);
    EXPECT_EQ(next, TextFileSource::Next::Line);
    EXPECT_EQ(line, "x,1,0,0,0");
    EXPECT_EQ(calls, 51);
}

// --- Entry lists --------------------------------------------------------------------------------

TEST(EntryList, TrimmingTakesSpacesAndControlCharactersButNotHighBytes) {
    EXPECT_EQ(TrimEntry(QByteArrayView(" \t\r the \0", 9)).toByteArray(), "the");
    EXPECT_EQ(TrimEntry(QByteArrayView("\xe9t\xe9", 3)).toByteArray(), QByteArray("\xe9t\xe9"));
    EXPECT_TRUE(TrimEntry("   ").isEmpty());
}

TEST(EntryList, TheWordFilterBitIsTheLetterEitherCaseModulo32) {
    EXPECT_TRUE(WordFilterAllows(1, 'a'));
    EXPECT_TRUE(WordFilterAllows(1, 'A'));
    EXPECT_FALSE(WordFilterAllows(1, 'b'));
    EXPECT_TRUE(WordFilterAllows(1 << 25, 'Z'));
    // No letter, no letter's bit: calls such as 9A1AA, numbers and prosigns always stay.
    for (const char32_t first : {U'9', U'^', U'{', U'@', U'\u00e4'})
        EXPECT_TRUE(WordFilterAllows(0, first));
}

TEST(EntryList, TheSizeSettingGivesTheLimit) {
    EXPECT_EQ(CommonWordsLimit(0), 0);
    EXPECT_EQ(CommonWordsLimit(1), 500);
    EXPECT_EQ(CommonWordsLimit(2), 250);
    EXPECT_EQ(CommonWordsLimit(3), 100);
    EXPECT_EQ(CommonWordsLimit(-1), 0);
    EXPECT_EQ(CommonWordsLimit(4), 0);
}

TEST_F(Files, AWordListIsSortedWithoutRegardToCaseAndKeepsTheSpellingReadFirst) {
    RandomNumber random(1);
    const auto loaded = LoadEntryList(Write("w.txt", "The\nzebra\nthe\r\n\n  apple \nTHE\n"), {}, random);
    ASSERT_EQ(loaded.status, EntryLoadStatus::Loaded);
    EXPECT_EQ(Joined(loaded.entries), "apple|The|zebra");
}

TEST_F(Files, ListsAreUtf8WhateverTheFileHeldAndTheFilterSeesTheFirstCharacter) {
    EntryListOptions options;
    options.wordFilter = 1 << 1;  // b
    options.maxWordLength = 4;
    // UTF-8, the same after a byte-order mark, and Latin-1; lengths count characters.
    for (const QByteArray& bytes : {QByteArray("b\xc3\xa4r\n^ar\nb\xc3\xa4\xc3\xa4r\na\n"),
                                    QByteArray("\xef\xbb\xbf"
                                               "b\xc3\xa4r\n^ar\nb\xc3\xa4\xc3\xa4r\na\n"),
                                    QByteArray("b\xe4r\n^ar\nb\xe4\xe4r\na\n")}) {
        RandomNumber random(1);
        EXPECT_EQ(Joined(LoadEntryList(Write("w.txt", bytes), options, random).entries),
                  "^ar|b\xc3\xa4r|b\xc3\xa4\xc3\xa4r")
            << bytes.toStdString();
    }
    // A character split by a line end is no UTF-8 character: the file is Latin-1.
    RandomNumber random(1);
    options.filterAsWords = false;
    EXPECT_EQ(Joined(LoadEntryList(Write("q.txt", "x\xc3\n\xa9y\n"), options, random).entries),
              "x\xc3\x83|\xc2\xa9y");
}

TEST_F(Files, TheEncodingIsUtf8OnlyForValidUtf8) {
    // Overlong forms, surrogates, code points above U+10FFFF and a cut character are not.
    const std::pair<QByteArray, TextEncoding> cases[] = {
        {"plain", TextEncoding::Utf8},
        {"\xef\xbb\xbf'x\n", TextEncoding::Utf8},
        {"gr\xc3\xbc\xc3\x9f", TextEncoding::Utf8},
        {"\xf0\x9f\x86\x98", TextEncoding::Utf8},
        {"caf\xe9", TextEncoding::Latin1},
        {"\xc0\xaf", TextEncoding::Latin1},
        {"\xed\xa0\x80", TextEncoding::Latin1},
        {"\xf4\x90\x80\x80", TextEncoding::Latin1},
        {"ok\xc3", TextEncoding::Latin1},
    };
    for (const auto& [bytes, encoding] : cases) {
        QBuffer buffer;
        buffer.setData(QByteArray(LineReader::kChunkBytes - 2, 'x') + bytes);  // across a chunk end
        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
        EXPECT_EQ(ScanTextFileKind(buffer).encoding, encoding) << bytes.toStdString();
        EXPECT_EQ(IsValidUtf8(bytes), QByteArrayView(bytes).isValidUtf8()) << bytes.toStdString();
    }
    EXPECT_EQ(ToUtf8("a\xe9\xc3\xa9", TextEncoding::Utf8), "a\xc3\xa9\xc3\xa9");
}

TEST_F(Files, AQsoListKeepsTheFilesOrderAndDuplicatesButNoBlankLines) {
    RandomNumber random(1);
    EntryListOptions options;
    options.filterAsWords = false;
    options.maxWordLength = 2;  // not applied to QSOs
    const auto loaded = LoadEntryList(Write("q.txt", "zz de yy\r\n\r\nzz de yy\n\t aa k\n"), options, random);
    EXPECT_EQ(Joined(loaded.entries), "zz de yy|zz de yy|aa k");
}

TEST(EntryList, TheLimitKeepsARandomSelectionInListOrder) {
    QList<QByteArray> words;
    for (int i = 0; i < 1000; ++i)
        words << QByteArray::number(10000 + i);
    RandomNumber random(7);
    QList<QByteArray> first = words;
    LimitEntries(first, 100, random);
    ASSERT_EQ(first.size(), 100);
    EXPECT_TRUE(std::is_sorted(first.begin(), first.end()));
    EXPECT_EQ(std::set<QByteArray>(first.begin(), first.end()).size(), 100u);
    QList<QByteArray> second = words;
    LimitEntries(second, 100, random);
    EXPECT_NE(first, second);
    // Not the first hundred of the file.
    EXPECT_GT(first.last().toInt(), 10100);
}

TEST(EntryList, TheLimitRemovesAtTheIndicesTheGeneratorGives) {
    // The same draws as removing entry Next(count) from the shrinking list one by one.
    QList<QByteArray> words;
    for (int i = 0; i < 300; ++i)
        words << QByteArray::number(i);
    QList<QByteArray> expected = words;
    RandomNumber a(99);
    while (expected.size() > 37)
        expected.removeAt(a.Next(static_cast<int>(expected.size())));
    RandomNumber b(99);
    LimitEntries(words, 37, b);
    EXPECT_EQ(words, expected);
}

TEST(EntryList, EveryEntryOfALargeListCanComeUp) {
    RandomNumber random(3);
    int highest = 0;
    for (int i = 0; i < 2000; ++i) {
        const int index = EntryIndex(random, 100000);
        ASSERT_GE(index, 0);
        ASSERT_LT(index, 100000);
        highest = std::max(highest, index);
    }
    EXPECT_GT(highest, 90000);
}

TEST_F(Files, MissingFoldersAndOversizedFilesAreNotLoaded) {
    RandomNumber random(1);
    EXPECT_EQ(LoadEntryList(dir.filePath("none.txt"), {}, random).status, EntryLoadStatus::Missing);
    QDir().mkpath(dir.filePath("folder.txt"));
    EXPECT_EQ(LoadEntryList(dir.filePath("folder.txt"), {}, random).status, EntryLoadStatus::Refused);
    QFile big(dir.filePath("big.txt"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(kMaxEntryFileBytes + 1));  // sparse
    big.close();
    const auto loaded = LoadEntryList(big.fileName(), {}, random);
    EXPECT_EQ(loaded.status, EntryLoadStatus::Refused);
    EXPECT_TRUE(loaded.problem.contains(QStringLiteral("too large")));
}

// --- Parameter lines ----------------------------------------------------------------------------

TEST(ParameterLines, AFieldIsItsLeadingNumberAndOtherwiseZero) {
    EXPECT_EQ(ParameterFieldValue("25"), 25);
    EXPECT_EQ(ParameterFieldValue("  -7x"), -7);
    EXPECT_EQ(ParameterFieldValue("+3"), 3);
    EXPECT_EQ(ParameterFieldValue("x3"), 0);
    EXPECT_EQ(ParameterFieldValue(""), 0);
    EXPECT_EQ(ParameterFieldValue(" "), 0);
    EXPECT_EQ(ParameterFieldValue("99999999999999999999"), INT_MAX);
    EXPECT_EQ(ParameterFieldValue("-99999999999999999999"), INT_MIN);
}

TEST(ParameterLines, OnlyExactlyFourFieldsAfterTheTextSetAStation) {
    auto line = ParseParameterLine("CQ,25,0,0,1", 3);
    EXPECT_EQ(line.stored, "   CQ");
    EXPECT_EQ(line.markIndex, 3);
    EXPECT_TRUE(line.hasParameters);
    EXPECT_EQ(line.values, (std::array<int, 4>{25, 0, 0, 1}));

    EXPECT_FALSE(ParseParameterLine("TEST,20,0,0", 0).hasParameters);
    EXPECT_EQ(ParseParameterLine("TEST,20,0,0", 2).stored, "  TEST");
    EXPECT_FALSE(ParseParameterLine("CQ,25,0,0,", 0).hasParameters);   // an empty last field does not count
    EXPECT_TRUE(ParseParameterLine("CQ,25,0,0,1,", 0).hasParameters);  // ... also after a fourth
    EXPECT_TRUE(ParseParameterLine("CQ,25,0,0, ", 0).hasParameters);   // a blank one does
    EXPECT_FALSE(ParseParameterLine("CQ,1,2,3,4,5", 0).hasParameters);

    // No text: nothing to mark, whatever the pause.
    line = ParseParameterLine(",25,0,0,1", 0);
    EXPECT_TRUE(line.stored.isEmpty());
    EXPECT_EQ(line.markIndex, -1);
    EXPECT_TRUE(line.hasParameters);
    EXPECT_EQ(ParseParameterLine(",25,0,0,1", 4).markIndex, -1);

    // No comma: the line as it is, and no pause.
    line = ParseParameterLine("  plain line", 5);
    EXPECT_EQ(line.stored, "  plain line");
    EXPECT_EQ(line.markIndex, -1);
    EXPECT_FALSE(line.hasParameters);
}

TEST(ParameterLines, SpeedsOutsideTheRangeAreBroughtIntoItAndZeroIsRandomNearTheSelection) {
    RandomNumber random(5);
    EXPECT_EQ(StationSpeed(30, 2, random), 30);
    EXPECT_EQ(StationSpeed(99999, 2, random), kMaxStationWpm);
    EXPECT_EQ(StationSpeed(-5, 2, random), kMinStationWpm);
    EXPECT_EQ(StationSpeed(1, 2, random), kMinStationWpm);
    EXPECT_EQ(StationSpeed(INT_MIN, 2, random), kMinStationWpm);

    auto range = [&](int s) {
        std::set<int> seen;
        for (int i = 0; i < 2000; ++i)
            seen.insert(StationSpeed(0, s, random));
        return seen;
    };
    auto at25 = range(2);
    EXPECT_EQ(*at25.begin(), 15);
    EXPECT_EQ(*at25.rbegin(), 34);
    EXPECT_EQ(at25.size(), 20u);
    auto at15 = range(0);
    EXPECT_EQ(*at15.begin(), 10);
    EXPECT_EQ(*at15.rbegin(), 19);
    auto at20 = range(1);
    EXPECT_EQ(*at20.begin(), 15);
    EXPECT_EQ(*at20.rbegin(), 24);
    auto at80 = range(13);
    EXPECT_EQ(*at80.begin(), 70);
    EXPECT_EQ(*at80.rbegin(), 89);
}

TEST(ParameterLines, TheLogLineIsRightAlignedHundredthsThenTheParameters) {
    EXPECT_EQ(ParameterLogLine(1234, ParameterText(20, 700, 0, 1, QStringLiteral("CQ"))),
              QStringLiteral(" 1234 20, 700, 0, 1, CQ"));
    EXPECT_EQ(ParameterLogLine(123456, ParameterText(25, 650, 7, 0, QStringLiteral("a %1 b"))),
              QStringLiteral("123456 25, 650, 7, 0, a %1 b"));
}

// --- Data folders -------------------------------------------------------------------------------

TEST_F(Files, StoredNamesWithBackslashesResolveOnEveryPlatform) {
    const QString folder = dir.path();
    const QString expected = QDir::cleanPath(folder + QStringLiteral("/Word Files/x.txt"));
    EXPECT_EQ(ResolveProgramPath(folder, QStringLiteral("Word Files\\x.txt")), expected);
    EXPECT_EQ(ResolveProgramPath(folder, QStringLiteral("\\Word Files\\x.txt")), expected);
    EXPECT_EQ(ResolveProgramPath(folder, QStringLiteral("/Word Files/x.txt")), expected);
    EXPECT_FALSE(ResolveProgramPath(folder, QStringLiteral("..\\..\\x.txt")).isEmpty());
    EXPECT_EQ(ResolveProgramPath(folder, QString()), QDir::cleanPath(folder));
}

TEST_F(Files, TheDropDownListsTheTextFilesOfTheFolderOnly) {
    Write("Word Files/b.txt", "x");
    Write("Word Files/A.TXT", "x");
    Write("Word Files/README", "x");
    Write("Word Files/.hidden.txt", "x");
    Write("Word Files/notes.txt.bak", "x");
    QDir().mkpath(dir.filePath("Word Files/folder.txt"));
    EXPECT_EQ(ListTextFiles(dir.filePath("Word Files")), (QStringList{"A.TXT", "b.txt"}));
    EXPECT_TRUE(ListTextFiles(dir.filePath("none")).isEmpty());
}

// --- Shipped data ---------------------------------------------------------------------------------

struct ShippedData : ::testing::Test {
    QString folder = DefaultProgramFolder();
    QString Path(const char* relative) { return ResolveProgramPath(folder, QString::fromLatin1(relative)); }
};

TEST_F(ShippedData, TheCommonWordsAreAThousandPlainEnglishWordsAndNoWebWords) {
    ASSERT_TRUE(QFileInfo::exists(Path(keys::CommonWordFile.def))) << folder.toStdString();
    RandomNumber random(1);
    EntryListOptions options;
    options.maxWordLength = 100;
    const auto loaded = LoadEntryList(Path(keys::CommonWordFile.def), options, random);
    ASSERT_EQ(loaded.status, EntryLoadStatus::Loaded);
    EXPECT_EQ(loaded.entries.size(), 1000);
    const QRegularExpression word(QStringLiteral("^([a-z]{2,}|a|i)$"));
    const std::set<QByteArray> web = {"ebay",  "yahoo", "google",    "html",    "rss",  "login", "cart",
                                      "blog",  "poker", "copyright", "privacy", "jan",  "feb",   "dec",
                                      "click", "site",  "web",       "page",    "fuck", "shit",  "don",
                                      "didn",  "gonna", "uh",        "john"};
    for (const QByteArray& entry : loaded.entries) {
        EXPECT_TRUE(word.match(QString::fromLatin1(entry)).hasMatch()) << entry.toStdString();
        EXPECT_FALSE(web.count(entry)) << entry.toStdString();
    }
    // The hundred are the first hundred of the thousand, in frequency order.
    const QByteArray thousand = test::ReadAll(Path("Word Files/1000 Common Words.txt"));
    const QByteArray hundred = test::ReadAll(Path("Word Files/100 Common Words.txt"));
    EXPECT_EQ(thousand.split('\n').mid(0, 100), hundred.split('\n').mid(0, 100));
    const QByteArray readme = test::ReadAll(Path("Word Files/README"));
    EXPECT_TRUE(readme.contains("FrequencyWords") && readme.contains("CC BY-SA 3.0")) << readme.toStdString();
}

TEST_F(ShippedData, TheMadeListsAreWhatTheirMakerMakesWithRealCallsAndCaretProsigns) {
    const std::vector<std::string> real = ReadCallList(QString::fromLatin1(kMasterCallsPath));
    ASSERT_GT(real.size(), 40000u) << kMasterCallsPath << " (the hamradio-files package)";
    const std::set<std::string> realSet(real.begin(), real.end());
    const lists::Lists made =
        lists::MakeLists(lists::kShippedSeed, lists::kShippedQsos, lists::kShippedCallsigns, real);
    const QByteArray qsos = test::ReadAll(Path(keys::QsoFile.def));
    const QByteArray calls = test::ReadAll(Path("Word Files/Callsigns.txt"));
    const QByteArray abbreviations = test::ReadAll(Path("Word Files/CW Abbreviations.txt"));
    EXPECT_EQ(qsos.toStdString(), made.qsos);
    EXPECT_EQ(calls.toStdString(), made.callsigns);
    EXPECT_EQ(abbreviations.toStdString(), made.abbreviations);

    test::FakeCharacterWindows windows;
    SettingsStore store = SettingsStore::InMemory();
    CharacterSet characters(store, windows);
    characters.RebuildCharacterList();
    const QRegularExpression looksLikeCall(QStringLiteral("^([A-Z0-9]+/)?[A-Z0-9]*[0-9][A-Z]+(/[A-Z]+)?$"));
    const std::set<QString> prosigns = {"ar", "as", "bk", "bt", "hh", "ka", "kn", "sk", "ve"};
    // The contacts' calls are held against the country file (QsoModelTest.cpp).
    auto checkTokens = [&](const QByteArray& line, bool realCalls = true) {
        for (const char c : line)
            EXPECT_NE(characters.LookUpTextCharacter(static_cast<unsigned char>(c)), kUnmapped)
                << line.toStdString();
        for (const QString& token : QString::fromLatin1(line).split(QLatin1Char(' '))) {
            EXPECT_FALSE(token.isEmpty()) << "two spaces in: " << line.toStdString();
            // "ar" and "sk" are also Arkansas and Saskatchewan, "bk" also the word break.
            EXPECT_TRUE(token != "kn" && token != "bt")
                << "a prosign without its caret in: " << line.toStdString();
            EXPECT_TRUE(!token.startsWith(QLatin1Char('^')) || prosigns.count(token.mid(1)))
                << token.toStdString();
            EXPECT_TRUE(!realCalls || !looksLikeCall.match(token).hasMatch() ||
                        realSet.count(token.toStdString()))
                << token.toStdString();
        }
    };
    const QList<QByteArray> contacts = qsos.trimmed().split('\n');
    EXPECT_GE(contacts.size(), 2000);
    for (const char* prosign : {"^ar ", "^bk ", "^bt ", "^hh ", "^kn", "^sk "})
        EXPECT_TRUE(qsos.contains(prosign)) << prosign;
    for (const QByteArray& contact : contacts) {
        checkTokens(contact, false);
        EXPECT_GE(contact.count(' '), 8) << "not a whole contact: " << contact.toStdString();
    }
    const QList<QByteArray> callList = calls.trimmed().split('\n');
    EXPECT_GE(callList.size(), 2000);
    for (const QByteArray& call : callList)
        EXPECT_TRUE(realSet.count(call.toStdString())) << call.toStdString();
    // Without the installed list the sample serves.
    EXPECT_EQ(ReadCallList(Path("Word Files/Callsigns.txt")).size(),
              static_cast<std::size_t>(callList.size()));
    checkTokens(abbreviations.trimmed().replace('\n', ' '));

    // As word lists they load whole: calls that start with a digit and the prosigns too.
    for (const auto& [name, count] :
         {std::pair{"Word Files/Callsigns.txt", callList.size()},
          std::pair{"Word Files/CW Abbreviations.txt", abbreviations.count('\n')}}) {
        RandomNumber random(1);
        EXPECT_EQ(LoadEntryList(Path(name), {}, random).entries.size(), count) << name;
    }
}

TEST_F(ShippedData, EveryWordFileLoads) {
    const QStringList files = ListTextFiles(Path("Word Files"));
    EXPECT_GE(files.size(), 3);
    for (const QString& name : files) {
        RandomNumber random(1);
        const auto loaded = LoadEntryList(Path("Word Files") + QLatin1Char('/') + name, {}, random);
        EXPECT_EQ(loaded.status, EntryLoadStatus::Loaded) << name.toStdString();
        EXPECT_FALSE(loaded.entries.isEmpty()) << name.toStdString();
    }
}

TEST_F(ShippedData, TheSampleParameterFileIsAFileOfStations) {
    TextFileSource source;
    ASSERT_TRUE(source.Open(Path("Text Files/Pileup.txt")));
    EXPECT_TRUE(source.ParameterLines());
    QByteArray line;
    int stations = 0;
    for (;;) {
        int budget = 100;
        const auto next = source.NextLine(line, budget);
        if (next != TextFileSource::Next::Line)
            break;
        EXPECT_TRUE(ParseParameterLine(line, 0).hasParameters) << line.toStdString();
        ++stations;
    }
    EXPECT_GE(stations, 5);
}

}  // namespace
