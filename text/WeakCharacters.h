#pragma once
// Draws that favour the characters a learner misses: each character's weight grows
// with its share of misses, from a floor that keeps every character coming.
#include <QHash>
#include <QString>
#include <QStringList>

#include <span>
#include <vector>

namespace lumbrel {

class RandomNumber;

// How often a character was tried and missed; a slow answer may count as half a miss.
struct MissTally {
    double tries = 0;
    double missed = 0;
    double Rate() const { return tries > 0 ? missed / tries : 0.0; }
};

// By character, in lower case as the history keeps them.
using MissTallies = QHash<QString, MissTally>;

// A character's weight is kFloorUnits + kRateUnits × its miss rate: one missed every
// time comes eleven times as often as one never missed, and none ever stops coming.
inline constexpr int kFloorUnits = 25;
inline constexpr int kRateUnits = 250;

// How many of the last checked sessions, and of the last drills of each kind, the
// weights of random groups look back on.
inline constexpr int kWeakCharacterHistory = 10;

// The weight of each of characters (display texts, any case). A character without a
// tally is weighed as the most missed of the others, since nothing shows it is known
// yet; when none has a tally all weigh the same.
std::vector<int> WeakCharacterWeights(const QStringList& characters, const MissTallies& tallies);

// An index below weights.size(), with the probability weight / total of the weights
// (a negative weight counts as 0; all 0: index 0). Draws RandomNumber::ShortRandom
// (two values for a total above 32768), again while the value falls in the
// incomplete last round of the total, so that no index gains from the remainder.
int DrawWeighted(RandomNumber& random, std::span<const int> weights);

}  // namespace lumbrel
