#include "text/EntryList.h"

#include <QFileInfo>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "morse/Random.h"
#include "text/TextEncoding.h"
#include "text/TextFileSource.h"

namespace lumbrel {
namespace {

// Counts of the entries still in the list, to find the k-th remaining one in log time.
class RemainingEntries {
public:
    explicit RemainingEntries(qsizetype n) : tree_(static_cast<std::size_t>(n) + 1, 0), size_(n) {
        for (qsizetype i = 1; i <= n; ++i) {
            tree_[static_cast<std::size_t>(i)] += 1;
            const qsizetype parent = i + (i & -i);
            if (parent <= n)
                tree_[static_cast<std::size_t>(parent)] += tree_[static_cast<std::size_t>(i)];
        }
        for (step_ = 1; step_ * 2 <= n; step_ *= 2) {
        }
    }
    // The original index of the k-th remaining entry (k from 0).
    qsizetype Find(qsizetype k) const {
        qsizetype pos = 0;
        qsizetype rest = k + 1;
        for (qsizetype step = step_; step > 0; step /= 2) {
            const qsizetype next = pos + step;
            if (next <= size_ && tree_[static_cast<std::size_t>(next)] < rest) {
                pos = next;
                rest -= tree_[static_cast<std::size_t>(next)];
            }
        }
        return pos;  // 0-based: the entry at pos + 1 in the tree's numbering
    }
    void Remove(qsizetype index) {
        for (qsizetype i = index + 1; i <= size_; i += i & -i)
            tree_[static_cast<std::size_t>(i)] -= 1;
    }

private:
    std::vector<std::int32_t> tree_;
    qsizetype size_ = 0;
    qsizetype step_ = 1;
};

}  // namespace

QByteArrayView TrimEntry(QByteArrayView entry) {
    qsizetype begin = 0;
    qsizetype end = entry.size();
    while (begin < end && static_cast<unsigned char>(entry[begin]) <= 0x20)
        ++begin;
    while (end > begin && static_cast<unsigned char>(entry[end - 1]) <= 0x20)
        --end;
    return entry.sliced(begin, end - begin);
}

bool WordFilterAllows(int wordFilter, char32_t first) {
    // The filter chooses letters: an entry that starts with anything else (a callsign
    // such as 9A1AA, a number, a prosign such as ^ar) is no letter's and always stays.
    const char32_t lower = first | 0x20;
    if (lower < U'a' || lower > U'z')
        return true;
    const unsigned bit = static_cast<unsigned>(lower - U'a');
    return (static_cast<unsigned>(wordFilter) >> bit) & 1u;
}

int CommonWordsLimit(int sizeSetting) {
    switch (sizeSetting) {
        case 1:
            return 500;
        case 2:
            return 250;
        case 3:
            return 100;
        default:
            return 0;
    }
}

int EntryIndex(RandomNumber& random, qsizetype count) {
    if (count <= 0)
        return 0;
    if (count <= 32768)
        return random.Next(static_cast<int>(count));
    return random.RandomLong(static_cast<int>(std::min<qsizetype>(count, 0x7FFFFFFF)));
}

namespace {

// Which of count entries go when the entry at index EntryIndex(count) of the shrinking
// list is removed, one at a time, until limit are left.
std::vector<bool> RandomRemovals(qsizetype count, int limit, RandomNumber& random) {
    std::vector<bool> removed(static_cast<std::size_t>(count), false);
    if (limit <= 0 || count <= limit)
        return removed;
    RemainingEntries remaining(count);
    for (qsizetype left = count; left > limit; --left) {
        const qsizetype original = remaining.Find(EntryIndex(random, left));
        remaining.Remove(original);
        removed[static_cast<std::size_t>(original)] = true;
    }
    return removed;
}

}  // namespace

void LimitEntries(QList<QByteArray>& list, int limit, RandomNumber& random) {
    if (limit <= 0 || list.size() <= limit)
        return;
    const std::vector<bool> removed = RandomRemovals(list.size(), limit, random);
    QList<QByteArray> kept;
    kept.reserve(limit);
    for (qsizetype i = 0; i < list.size(); ++i)
        if (!removed[static_cast<std::size_t>(i)])
            kept.push_back(std::move(list[i]));
    list = std::move(kept);
}

EntryLoadResult LoadEntryList(const QString& path, const EntryListOptions& options, RandomNumber& random) {
    EntryLoadResult result;
    const QFileInfo info(path);
    if (!info.exists()) {
        result.status = EntryLoadStatus::Missing;
        return result;
    }
    if (!info.isFile()) {
        result.status = EntryLoadStatus::Refused;
        result.problem = QStringLiteral("\"%1\" is not a plain file.").arg(path);
        return result;
    }
    if (info.size() > kMaxEntryFileBytes) {
        result.status = EntryLoadStatus::Refused;
        result.problem =
            QStringLiteral("The file \"%1\" is too large for a list: it holds %2 MB, a list at most %3 MB.")
                .arg(path)
                .arg((info.size() + 1024 * 1024 - 1) / (1024 * 1024))
                .arg(kMaxEntryFileBytes / (1024 * 1024));
        return result;
    }

    LineReader reader;
    if (!reader.Open(path)) {
        result.status = EntryLoadStatus::Unreadable;
        result.problem = reader.Error();
        return result;
    }
    // The trimmed entries side by side in one block; an entry is its place in it. Only
    // the entries that are kept become texts of their own.
    struct Span {
        qsizetype offset;
        qsizetype size;
        std::uint64_t prefix;  // the first 8 bytes lower-cased, big end first: orders most pairs
    };
    QByteArray storage;
    storage.reserve(static_cast<qsizetype>(info.size()));
    std::vector<Span> spans;
    QByteArrayView line;
    bool utf8 = true;  // every line so far is UTF-8; lines end at ASCII bytes, so the file is
    // The file may have grown since its size was taken: stop at the same limit.
    while (storage.size() <= kMaxEntryFileBytes && reader.Next(line)) {
        utf8 = utf8 && IsValidUtf8(line);
        const QByteArrayView entry = TrimEntry(line);
        if (entry.isEmpty())
            continue;
        spans.push_back({storage.size(), entry.size(), 0});
        storage.append(entry);
    }
    if (reader.Failed()) {
        result.status = EntryLoadStatus::Unreadable;
        result.problem = QStringLiteral("The file \"%1\" cannot be read: %2").arg(path, reader.Error());
        return result;
    }
    result.status = EntryLoadStatus::Loaded;
    if (!utf8) {
        // Not UTF-8: the whole file is Latin-1, its entries converted.
        QByteArray converted;
        converted.reserve(storage.size() * 2);
        for (Span& span : spans) {
            const QByteArray entry =
                ToUtf8(QByteArrayView(storage).sliced(span.offset, span.size), TextEncoding::Latin1);
            span.offset = converted.size();
            span.size = entry.size();
            converted.append(entry);
        }
        storage = std::move(converted);
    }

    if (options.filterAsWords) {
        // Sorted without regard to case (compared in a lower-cased copy); of entries
        // equal that way the one read first stays.
        QByteArray folded = storage;
        for (char& c : folded)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c | 0x20);
        const char* base = folded.constData();
        for (Span& span : spans) {
            std::uint64_t prefix = 0;
            for (qsizetype i = 0; i < 8; ++i)
                prefix =
                    (prefix << 8) | (i < span.size ? static_cast<unsigned char>(base[span.offset + i]) : 0u);
            span.prefix = prefix;
        }
        auto compare = [base](const Span& a, const Span& b) {
            if (a.prefix != b.prefix)
                return a.prefix < b.prefix ? -1 : 1;
            const int c = std::memcmp(base + a.offset, base + b.offset,
                                      static_cast<std::size_t>(std::min(a.size, b.size)));
            return c != 0 ? c : (a.size < b.size ? -1 : (a.size > b.size ? 1 : 0));
        };
        // Equal entries stay in the order read (their offsets grow with it).
        std::sort(spans.begin(), spans.end(), [&](const Span& a, const Span& b) {
            const int c = compare(a, b);
            return c != 0 ? c < 0 : a.offset < b.offset;
        });
        spans.erase(std::unique(spans.begin(), spans.end(),
                                [&](const Span& a, const Span& b) { return compare(a, b) == 0; }),
                    spans.end());
        // The filter looks at the first character, the length counts characters.
        std::erase_if(spans, [&](const Span& span) {
            const QByteArrayView entry = QByteArrayView(storage).sliced(span.offset, span.size);
            qsizetype at = 0;
            return !WordFilterAllows(options.wordFilter, NextCharacter(entry, at)) ||
                   (span.size > options.maxWordLength && CharacterCount(entry) > options.maxWordLength);
        });
        if (options.sizeLimit > 0 && static_cast<qsizetype>(spans.size()) > options.sizeLimit) {
            const std::vector<bool> removed =
                RandomRemovals(static_cast<qsizetype>(spans.size()), options.sizeLimit, random);
            std::size_t kept = 0;
            for (std::size_t i = 0; i < spans.size(); ++i)
                if (!removed[i])
                    spans[kept++] = spans[i];
            spans.resize(kept);
        }
    }
    result.entries.reserve(static_cast<qsizetype>(spans.size()));
    for (const Span& span : spans)
        result.entries.push_back(storage.mid(span.offset, span.size));
    return result;
}

}  // namespace lumbrel
