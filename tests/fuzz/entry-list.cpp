// The input is a word or QSO list after six bytes that pick the options:
//
//   byte 0   bit 0: a word list (1) or a QSO list (0); bits 1-2: "Common Words Size";
//            bit 3: the session ends after one entry
//   byte 1   "Max Word Length", as a signed number
//   bytes 2-5 "Word Filter", little end first
//
// The list is loaded directly and must be exactly what a plain reading of the file
// gives: for a QSO list its trimmed lines in order, for a word list its distinct words
// (without regard to case, the first spelling read kept) that the filter and the length
// let in, sorted without regard to case, of which a cut-down list keeps a selection in
// order. Then a trainer plays the list from its data folder for a bounded number of
// buffers.
#include <QFileInfo>

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "morse/Random.h"
#include "tests/fuzz/FuzzSupport.h"
#include "text/EntryList.h"

using namespace lumbrel;
using lumbrel::fuzz::Session;

namespace {

constexpr std::size_t kOptionBytes = 6;

struct Options {
    bool words = true;
    int sizeSetting = 0;
    bool endAfterOneEntry = false;
    int maxWordLength = 20;
    int wordFilter = 0x3FFFFFF;
};

Options ReadOptions(const std::uint8_t* data) {
    Options o;
    o.words = data[0] & 1;
    o.sizeSetting = (data[0] >> 1) & 3;
    o.endAfterOneEntry = (data[0] >> 3) & 1;
    o.maxWordLength = static_cast<signed char>(data[1]);
    o.wordFilter = static_cast<int>(
        static_cast<std::uint32_t>(data[2]) | static_cast<std::uint32_t>(data[3]) << 8 |
        static_cast<std::uint32_t>(data[4]) << 16 | static_cast<std::uint32_t>(data[5]) << 24);
    return o;
}

// The trimmed, non-empty lines of a file, in order, as UTF-8: after a byte-order mark,
// as they are when the file is UTF-8 (by Qt's own check), else converted from Latin-1.
std::vector<QByteArray> TrimmedLines(QByteArrayView bytes) {
    if (bytes.startsWith(QByteArrayView("\xEF\xBB\xBF")))
        bytes = bytes.sliced(3);
    const bool utf8 = bytes.isValidUtf8();
    std::vector<QByteArray> lines;
    qsizetype start = 0;
    auto take = [&](qsizetype end) {
        const QByteArrayView entry = TrimEntry(bytes.sliced(start, end - start));
        if (!entry.isEmpty())
            lines.push_back(utf8 ? entry.toByteArray() : QString::fromLatin1(entry).toUtf8());
    };
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\n' && c != '\r')
            continue;
        take(i);
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        take(bytes.size());
    return lines;
}

std::string Folded(const QByteArray& entry) {
    std::string folded(entry.constData(), static_cast<std::size_t>(entry.size()));
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c | 0x20);
    return folded;
}

// The whole word list, read another way: distinct without regard to case (first
// spelling kept), filtered, in the order of the lower-cased bytes.
QList<QByteArray> ExpectedWords(const std::vector<QByteArray>& lines, const EntryListOptions& options) {
    std::map<std::string, QByteArray> first;  // std::string orders its bytes unsigned
    for (const QByteArray& line : lines)
        first.try_emplace(Folded(line), line);
    QList<QByteArray> words;
    for (const auto& [folded, word] : first) {
        const QList<uint> characters = QString::fromUtf8(word).toUcs4();  // counted by Qt
        if (WordFilterAllows(options.wordFilter, characters.first()) &&
            characters.size() <= options.maxWordLength)
            words.append(word);
    }
    return words;
}

bool IsSubsequence(const QList<QByteArray>& part, const QList<QByteArray>& whole) {
    qsizetype j = 0;
    for (const QByteArray& entry : part) {
        while (j < whole.size() && whole[j] != entry)
            ++j;
        if (j == whole.size())
            return false;
        ++j;
    }
    return true;
}

void CheckLoadedList(const QString& path, QByteArrayView file, const Options& o, std::uint32_t seed) {
    const EntryListOptions options{
        .filterAsWords = o.words,
        .wordFilter = o.wordFilter,
        .maxWordLength = o.maxWordLength,
        .sizeLimit = o.words ? CommonWordsLimit(o.sizeSetting) : 0,
    };
    RandomNumber random(seed);
    const EntryLoadResult loaded = LoadEntryList(path, options, random);
    FUZZ_CHECK(loaded.status == EntryLoadStatus::Loaded);
    FUZZ_CHECK(loaded.problem.isEmpty());

    const std::vector<QByteArray> lines = TrimmedLines(file);
    if (!o.words) {
        FUZZ_CHECK(loaded.entries == QList<QByteArray>(lines.begin(), lines.end()));
        return;
    }
    const QList<QByteArray> all = ExpectedWords(lines, options);
    if (options.sizeLimit <= 0 || all.size() <= options.sizeLimit) {
        FUZZ_CHECK(loaded.entries == all);
    } else {
        FUZZ_CHECK(loaded.entries.size() == options.sizeLimit);
        FUZZ_CHECK(IsSubsequence(loaded.entries, all));
    }
}

// The list as the trainer plays it: the file in its data folder, the options in the store.
void PlayList(const QString& path, const Options& o, std::uint32_t seed) {
    SettingsStore store = fuzz::EveryCharacterStore();
    store.Write(keys::WordFilter, o.wordFilter);
    store.Write(keys::MaxWordLength, o.maxWordLength);
    store.Write(keys::CommonWordsSize, o.sizeSetting);
    fuzz::VarySignal(store, seed);
    Session session(store, seed);
    Trainer& t = session.trainer();

    t.SetEntryListSource(path, o.words, o.endAfterOneEntry);
    const bool began = t.PlayEntryList();
    session.CheckNoMessages();
    FUZZ_CHECK(began == !t.Entries().Entries().isEmpty());
    if (!began) {
        FUZZ_CHECK(session.Idle());
        return;
    }
    FUZZ_CHECK(t.Source() == SourceKind::RandomEntries);
    session.RunBounded(12, 10 * 60'000);
    FUZZ_CHECK(t.Readouts().CommandsEnabled());
    FUZZ_CHECK(t.Readouts().CharacterCountEditable());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kOptionBytes)
        return 0;
    const Options o = ReadOptions(data);
    const QByteArrayView file(reinterpret_cast<const char*>(data + kOptionBytes),
                              static_cast<qsizetype>(size - kOptionBytes));
    const std::uint32_t seed = fuzz::InputHash(file) ^ data[0];
    const QString path = fuzz::WriteDataFile(
        o.words ? QStringLiteral("Word Files/input.txt") : QStringLiteral("QSO Files/input.txt"), file);
    CheckLoadedList(path, file, o, seed);
    PlayList(path, o, seed);
    return 0;
}
