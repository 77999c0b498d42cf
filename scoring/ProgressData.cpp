#include "scoring/ProgressData.h"

#include <QCoreApplication>

#include <QHash>

#include <algorithm>
#include <map>

#include "morse/LearningOrders.h"

namespace lumbrel {
namespace {

std::vector<SessionRecord>::const_iterator FirstOfLast(const std::vector<SessionRecord>& records,
                                                       int lastSessions) {
    if (lastSessions < 0 || lastSessions >= static_cast<int>(records.size()))
        return records.begin();
    return records.end() - lastSessions;
}

// Position in the learning order of the last record (then the other order), so that
// tables list characters as the learner met them; others after, by code.
int OrderRank(const QString& character, LearningOrder order) {
    const OrderTable& table = LearningOrderTable(order);
    for (int pos = 1; pos < kOrderSize; ++pos)
        if (table[static_cast<std::size_t>(pos)].display == character)
            return pos;
    return kOrderSize + (character.isEmpty() ? 0 : character.at(0).unicode());
}

LearningOrder OrderOf(const std::vector<SessionRecord>& records) {
    return !records.empty() && records.back().order == QLatin1String("mfj") ? LearningOrder::Mfj
                                                                            : LearningOrder::Koch;
}

}  // namespace

std::vector<LearntOnDay> CharactersLearntByDay(const std::vector<SessionRecord>& records) {
    std::map<QDate, int> byDay;
    for (const SessionRecord& r : records) {
        if (r.source != QLatin1String("groups") || !r.ended.isValid())
            continue;
        int& best = byDay[r.ended.toLocalTime().date()];
        best = std::max(best, r.characterCount);
    }
    std::vector<LearntOnDay> days;
    for (const auto& [day, count] : byDay)
        days.push_back({day, count});
    return days;
}

std::vector<CharacterRate> ErrorRates(const std::vector<SessionRecord>& records, int lastSessions) {
    std::vector<CharacterRate> rates;
    QHash<QString, std::size_t> index;
    std::vector<std::map<QString, int>> taken;
    auto rate = [&](const QString& character) -> std::size_t {
        auto it = index.find(character);
        if (it == index.end()) {
            it = index.insert(character, rates.size());
            rates.push_back(CharacterRate{character, 0, 0, 0, {}});
            taken.emplace_back();
        }
        return *it;
    };
    for (auto it = FirstOfLast(records, lastSessions); it != records.end(); ++it) {
        for (const CharacterErrors& e : it->characters) {
            if (e.sent <= 0)
                continue;
            CharacterRate& r = rates[rate(e.character)];
            r.sent += e.sent;
            r.dropped += e.dropped;
            r.wrong += e.wrong;
        }
        for (const ConfusionCount& c : it->confusions)
            taken[rate(c.sent)][c.copied] += c.count;
    }
    for (std::size_t k = 0; k < rates.size(); ++k) {
        for (const auto& [copied, count] : taken[k])
            rates[k].takenFor.emplace_back(copied, count);
        std::stable_sort(rates[k].takenFor.begin(), rates[k].takenFor.end(),
                         [](const auto& a, const auto& b) { return a.second > b.second; });
    }
    // Characters only ever confused with, never sent in these records, are left out.
    rates.erase(
        std::remove_if(rates.begin(), rates.end(), [](const CharacterRate& r) { return r.sent == 0; }),
        rates.end());
    const LearningOrder order = OrderOf(records);
    std::stable_sort(rates.begin(), rates.end(), [order](const CharacterRate& a, const CharacterRate& b) {
        const std::int64_t left = std::int64_t{a.Missed()} * b.sent;
        const std::int64_t right = std::int64_t{b.Missed()} * a.sent;
        if (left != right)
            return left > right;
        if (a.Missed() != b.Missed())
            return a.Missed() > b.Missed();
        return OrderRank(a.character, order) < OrderRank(b.character, order);
    });
    return rates;
}

QString TakenForText(const CharacterRate& rate, int count) {
    QStringList parts;
    for (const auto& [copied, times] : rate.takenFor) {
        if (static_cast<int>(parts.size()) >= count)
            break;
        parts << QStringLiteral("%1 %2")
                     .arg(copied.isEmpty() ? QCoreApplication::translate("lumbrel::ProgressData", "(none)")
                                           : copied)
                     .arg(times);
    }
    return parts.join(QStringLiteral(", "));
}

ConfusionMatrix Confusions(const std::vector<SessionRecord>& records, int lastSessions) {
    ConfusionMatrix matrix;
    const LearningOrder order = OrderOf(records);
    std::vector<CharacterRate> rates = ErrorRates(records, lastSessions);
    std::stable_sort(rates.begin(), rates.end(), [order](const CharacterRate& a, const CharacterRate& b) {
        return OrderRank(a.character, order) < OrderRank(b.character, order);
    });
    QStringList copied;
    for (const CharacterRate& r : rates) {
        matrix.rows << r.character;
        matrix.sent.push_back(r.sent);
        for (const auto& [c, n] : r.takenFor)
            if (!c.isEmpty() && !copied.contains(c))
                copied << c;
    }
    std::stable_sort(copied.begin(), copied.end(), [order](const QString& a, const QString& b) {
        return OrderRank(a, order) < OrderRank(b, order);
    });
    matrix.columns = copied;
    matrix.columns << QString();  // nothing copied
    matrix.counts.assign(static_cast<std::size_t>(matrix.rows.size()),
                         std::vector<int>(static_cast<std::size_t>(matrix.columns.size()), 0));
    for (qsizetype row = 0; row < matrix.rows.size(); ++row)
        for (const auto& [c, n] : rates[static_cast<std::size_t>(row)].takenFor)
            matrix
                .counts[static_cast<std::size_t>(row)][static_cast<std::size_t>(matrix.columns.indexOf(c))] +=
                n;
    return matrix;
}

}  // namespace lumbrel
