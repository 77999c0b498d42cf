#include "text/WeakCharacters.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "morse/Random.h"

namespace lumbrel {

std::vector<int> WeakCharacterWeights(const QStringList& characters, const MissTallies& tallies)
{
    std::vector<double> rates;
    rates.reserve(static_cast<std::size_t>(characters.size()));
    double worst = -1;
    for (const QString& character : characters) {
        const auto it = tallies.constFind(character.toLower());
        const double rate = it != tallies.cend() && it->tries > 0 ? std::clamp(it->Rate(), 0.0, 1.0) : -1;
        worst = std::max(worst, rate);
        rates.push_back(rate);
    }
    std::vector<int> weights;
    weights.reserve(rates.size());
    for (const double rate : rates)
        weights.push_back(kFloorUnits + static_cast<int>(std::lround(kRateUnits * (rate < 0 ? std::max(worst, 0.0) : rate))));
    return weights;
}

int DrawWeighted(RandomNumber& random, std::span<const int> weights)
{
    const int total = std::accumulate(weights.begin(), weights.end(), 0);
    if (total <= 0)
        return 0;
    constexpr int kRange = 32768;  // ShortRandom gives 0 to 32767
    const int limit = kRange - kRange % total;
    int value = random.ShortRandom();
    while (value >= limit)
        value = random.ShortRandom();
    value %= total;
    for (std::size_t k = 0; k < weights.size(); ++k) {
        if (value < weights[k])
            return static_cast<int>(k);
        value -= weights[k];
    }
    return static_cast<int>(weights.size()) - 1;
}

}  // namespace lumbrel
