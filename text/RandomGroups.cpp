#include "text/RandomGroups.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

#include "morse/MorseCharacter.h"
#include "morse/Random.h"

namespace lumbrel {

void RandomGroupSource::Begin(RandomNumber& random) {
    countdown_ = length_.Draw(random);
    tallied_ = false;
}

int RandomGroupSource::NextGroupSymbol(RandomNumber& random, int activeSize) {
    const int c = countdown_--;
    if (c != 0) {
        const int m = activeSize - 1;  // characters, without the word space
        const int a = random.Next(m) + 1;
        // Favouring recent: a second draw below a, counted back from the newest entry.
        return favourRecent_ ? m - random.Next(a) : a;
    }
    countdown_ = length_.Draw(random);
    return 0;
}

int RandomGroupSource::NextGroupSymbol(RandomNumber& random,
                                       const std::vector<const MorseCharacter*>& active) {
    if (missSource_ && !tallied_) {
        tallies_ = missSource_();
        tallied_ = true;
        weighedFor_.clear();
        weights_.clear();
    }
    if (!missSource_ || tallies_.isEmpty() || active.size() < 2)
        return NextGroupSymbol(random, static_cast<int>(active.size()));
    if (weighedFor_ != active || weighedRecent_ != favourRecent_)
        Weigh(active);
    const int c = countdown_--;
    if (c != 0)
        return DrawWeighted(random, weights_) + 1;
    countdown_ = length_.Draw(random);
    return 0;
}

void RandomGroupSource::Weigh(const std::vector<const MorseCharacter*>& active) {
    QStringList characters;
    for (std::size_t k = 1; k < active.size(); ++k)
        characters << active[k]->display;
    weights_ = WeakCharacterWeights(characters, tallies_);
    weighedFor_ = active;
    weighedRecent_ = favourRecent_;
    if (!favourRecent_)
        return;
    // The favour-recent share of the entry k back from the newest is
    // (1/m)(1/(k+1) + ... + 1/m); times the weight, brought to whole draw units.
    const std::size_t m = weights_.size();
    std::vector<double> products(m);
    double share = 0;
    double sum = 0;
    for (std::size_t t = 0; t < m; ++t) {  // oldest first: k = m - 1 - t
        share += 1.0 / static_cast<double>(m - t);
        products[t] = weights_[t] * share;
        sum += products[t];
    }
    constexpr double kUnits = 30000;
    for (std::size_t k = 0; k < m; ++k)
        weights_[k] = std::max(1, static_cast<int>(std::lround(products[k] / sum * kUnits)));
}

}  // namespace lumbrel
