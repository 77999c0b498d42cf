#pragma once
// The rules of an echo drill, without sound or window: the trainer plays an item (a
// character, a word of the learner's characters, a call or an abbreviation), the
// learner keys it back; which item comes next, what an answer counts as, and the
// record the drill ends as.
//
// Items missed come back more often, weighed as the receiving drills weigh characters
// (WeakCharacterWeights): each item's tally is its misses in earlier echo drills
// (scaled to at most RecognitionDrill::kHistoryTries tries, so that this drill's
// answers soon tell) plus this drill's answers, a wrong one or none counting as a miss.
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

#include "drills/SentLines.h"
#include "morse/Random.h"
#include "text/WeakCharacters.h"

namespace lumbrel {

enum class EchoMaterial { Characters, Words, Calls, Abbreviations };

// One item played and what was keyed back.
struct EchoAnswer {
    QString item;
    SentLine line;  // empty text: nothing was keyed
    bool Right() const { return SentItem{item, line.text}.Right(); }
};

class EchoDrill {
public:
    // items: what may be played (any case; kept in lower case, once each, at least one).
    // length: the drill ends after this many answers.
    EchoDrill(const QStringList& items, int length, MissTallies history, std::uint32_t seed);

    // The next item to play, drawn with the weights of now.
    QString Next();
    // The answer to an item played; true when right.
    bool Answer(const QString& item, SentLine line);
    bool Over() const { return static_cast<int>(answers_.size()) >= length_; }

    const QStringList& Items() const { return items_; }
    // The weight of each item now (draw units), in the order of Items().
    std::vector<int> Weights() const;
    const std::vector<EchoAnswer>& Answers() const { return answers_; }
    int Length() const { return length_; }

    // The drill as the history keeps it.
    SendingRecord Record(const QDateTime& ended, int durationSeconds, const KeyerSettings& keyer) const;

private:
    QStringList items_;
    int length_;
    MissTallies history_;
    RandomNumber random_;
    std::vector<EchoAnswer> answers_;
};

// The items of a material, from the learner's characters (display texts, lower case):
// the characters themselves; the words of the word list made of them only (random
// groups of two to five of them while fewer than kFewestWords are); calls of the call
// list; abbreviations and Q codes. At most kMostItems, drawn at random from longer lists.
// Calls and abbreviations keep to the learner's characters when enough of them do.
inline constexpr int kFewestWords = 8;
inline constexpr int kMostItems = 60;
QStringList EchoItems(EchoMaterial material, const QStringList& characters, const QString& programFolder,
                      std::uint32_t seed);

}  // namespace lumbrel
