#pragma once
// The entry lists of word and QSO files: one entry per line, trimmed. A word list is
// also sorted without regard to case, rid of duplicates, filtered by starting letter
// and length, and cut down to a random selection of a chosen size; a QSO list keeps
// the file's lines in order.
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace lumbrel {

class RandomNumber;

struct EntryListOptions {
    bool filterAsWords = true;   // word list (true) or QSO list (false)
    int wordFilter = 0x3FFFFFF;  // "Word Filter": bit n lets in entries starting with letter n
    int maxWordLength = 20;      // "Max Word Length", in characters (not bytes)
    int sizeLimit = 0;           // entries kept at most; 0 for no limit
};

enum class EntryLoadStatus {
    Loaded,      // entries holds the list; it may be empty
    Missing,     // no file at the path
    Refused,     // not a plain file, or too large for a list; problem says why
    Unreadable,  // the file could not be read; problem says why
};

struct EntryLoadResult {
    EntryLoadStatus status = EntryLoadStatus::Missing;
    QList<QByteArray> entries;
    QString problem;
};

// Lists are held whole in memory and sorted, so larger files are refused.
inline constexpr qint64 kMaxEntryFileBytes = 2 * 1024 * 1024;

// Loads a list. A byte-order mark is skipped; a file that is not UTF-8 is read as
// Latin-1, and the entries are UTF-8 either way. Entries that are empty after trimming
// are dropped. Draws from random only to cut a word list down to options.sizeLimit.
EntryLoadResult LoadEntryList(const QString& path, const EntryListOptions& options, RandomNumber& random);

// Without leading and trailing spaces and control characters (bytes up to 0x20).
QByteArrayView TrimEntry(QByteArrayView entry);

// Whether "Word Filter" lets in an entry starting with the character first: bit
// (first OR 0x20) - 0x61, so 0 for "a" or "A" up to 25 for "z" or "Z". An entry that
// does not start with a letter a to z is always let in.
bool WordFilterAllows(int wordFilter, char32_t first);

// "Common Words Size": 1 gives 500, 2 gives 250, 3 gives 100; any other value 0 (no limit).
int CommonWordsLimit(int sizeSetting);

// While list holds more than limit entries, removes the entry at a random index
// (EntryIndex); so a random selection of limit entries stays, in list order.
void LimitEntries(QList<QByteArray>& list, int limit, RandomNumber& random);

// A random index below count (count > 0): RandomNumber::Next, whose values end at
// 32767, for lists up to 32768 entries; the long generator for larger ones, so that
// every entry of a large list can come up.
int EntryIndex(RandomNumber& random, qsizetype count);

}  // namespace lumbrel
