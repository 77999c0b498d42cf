#include "scoring/SendingRecord.h"

#include "scoring/CopyScore.h"

namespace lumbrel {

bool SentItem::Right() const {
    return CopyScore::Normalise(expected) == CopyScore::Normalise(sent);
}

double SendingRecord::AccuracyPercent() const {
    if (kind == SendingKind::Free || items.empty())
        return -1;
    if (kind == SendingKind::Echo) {
        int right = 0;
        for (const SentItem& item : items)
            right += item.Right() ? 1 : 0;
        return 100.0 * right / static_cast<double>(items.size());
    }
    int sent = 0, correct = 0;
    for (const SentItem& item : items) {
        const CopyScore score = CopyScore::Score(item.expected, item.sent);
        sent += score.CharactersSent();
        correct += score.Correct();
    }
    return sent == 0 ? -1 : 100.0 * correct / sent;
}

}  // namespace lumbrel
