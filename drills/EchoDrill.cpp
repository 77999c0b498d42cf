#include "drills/EchoDrill.h"

#include <QSet>

#include <algorithm>

#include "scoring/RecognitionDrill.h"
#include "text/DataFolders.h"
#include "text/EntryList.h"
#include "text/RealCalls.h"

namespace lumbrel {

EchoDrill::EchoDrill(const QStringList& items, int length, MissTallies history, std::uint32_t seed)
    : length_(std::max(length, 1)),
      history_(std::move(history)),
      random_(seed) {
    for (const QString& item : items)
        if (!item.trimmed().isEmpty() && !items_.contains(item.trimmed().toLower()))
            items_ << item.trimmed().toLower();
}

std::vector<int> EchoDrill::Weights() const {
    MissTallies tallies;
    for (const QString& item : items_) {
        const auto it = history_.constFind(item);
        if (it == history_.cend() || it->tries <= 0)
            continue;
        const double scale = std::min(1.0, RecognitionDrill::kHistoryTries / it->tries);
        tallies[item] = {it->tries * scale, it->missed * scale};
    }
    for (const EchoAnswer& a : answers_) {
        MissTally& t = tallies[a.item];
        t.tries += 1;
        t.missed += a.Right() ? 0 : 1;
    }
    return WeakCharacterWeights(items_, tallies);
}

QString EchoDrill::Next() {
    if (items_.isEmpty())
        return {};
    const std::vector<int> weights = Weights();
    return items_.at(DrawWeighted(random_, weights));
}

bool EchoDrill::Answer(const QString& item, SentLine line) {
    answers_.push_back({item.toLower(), std::move(line)});
    return answers_.back().Right();
}

SendingRecord EchoDrill::Record(const QDateTime& ended, int durationSeconds,
                                const KeyerSettings& keyer) const {
    SendingRecord record;
    record.kind = SendingKind::Echo;
    record.ended = ended;
    record.durationSeconds = durationSeconds;
    FillKeyer(record, keyer);
    std::vector<FistReport> fists;
    for (const EchoAnswer& a : answers_) {
        record.items.push_back({a.item, a.line.text});
        if (!a.line.timeline.marks.empty())
            fists.push_back(a.line.fist);
    }
    record.fist = PooledFist(fists);
    return record;
}

namespace {

bool MadeOf(const QString& item, const QSet<QChar>& characters) {
    return std::all_of(item.cbegin(), item.cend(), [&](QChar c) { return characters.contains(c); });
}

// Entries of the shipped word files, lower case.
QStringList WordFile(const QString& folder, const char* name, RandomNumber& random) {
    EntryListOptions options;
    const EntryLoadResult loaded = LoadEntryList(
        ResolveProgramPath(folder, QStringLiteral("Word Files\\") + QLatin1String(name)), options, random);
    QStringList words;
    for (const QByteArray& entry : loaded.entries)
        words << QString::fromUtf8(entry).toLower();
    return words;
}

// Those of list made of the characters when at least kFewestWords are, else all.
QStringList KeepToCharacters(const QStringList& list, const QSet<QChar>& characters) {
    QStringList kept;
    for (const QString& item : list)
        if (MadeOf(item, characters))
            kept << item;
    return kept.size() >= kFewestWords ? kept : list;
}

}  // namespace

QStringList EchoItems(EchoMaterial material, const QStringList& characters, const QString& programFolder,
                      std::uint32_t seed) {
    RandomNumber random(seed);
    QSet<QChar> single;
    for (const QString& c : characters)
        if (c.size() == 1)
            single.insert(c.at(0).toLower());
    QStringList items;
    switch (material) {
        case EchoMaterial::Characters:
            items = characters;
            break;
        case EchoMaterial::Words: {
            for (const QString& word : WordFile(programFolder, "1000 Common Words.txt", random))
                if (MadeOf(word, single))
                    items << word;
            if (items.size() < kFewestWords && !single.isEmpty()) {
                const QList<QChar> pool(single.cbegin(), single.cend());
                while (items.size() < kMostItems) {
                    QString group;
                    for (int n = 2 + random.Next(4); n > 0; --n)
                        group += pool.at(random.Next(static_cast<int>(pool.size())));
                    items << group;
                }
            }
            break;
        }
        case EchoMaterial::Calls: {
            QStringList calls;
            for (const std::string& call : ReadCallList(RealCallsPath(programFolder)))
                calls << QString::fromStdString(call).toLower();
            items = KeepToCharacters(calls, single);
            break;
        }
        case EchoMaterial::Abbreviations:
            items = KeepToCharacters(WordFile(programFolder, "CW Abbreviations.txt", random) +
                                         WordFile(programFolder, "Q Codes.txt", random),
                                     single);
            break;
    }
    items.removeDuplicates();
    if (items.size() > kMostItems) {
        // A random few of a long list (the call list holds tens of thousands).
        for (qsizetype i = 0; i < kMostItems; ++i)
            items.swapItemsAt(i, i + EntryIndex(random, items.size() - i));
        items.resize(kMostItems);
    }
    return items;
}

}  // namespace lumbrel
