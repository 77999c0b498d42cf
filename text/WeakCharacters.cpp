#include "text/WeakCharacters.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "morse/Random.h"

namespace lumbrel {
namespace {

constexpr std::int64_t kShortRange = 32768;  // ShortRandom gives 0 to 32767

}  // namespace

std::vector<int> WeakCharacterWeights(const QStringList& characters, const MissTallies& tallies) {
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
    for (const double rate : rates) {
        const double weighed = rate < 0 ? std::max(worst, 0.0) : rate;
        weights.push_back(kFloorUnits + static_cast<int>(std::lround(kRateUnits * weighed)));
    }
    return weights;
}

int DrawWeighted(RandomNumber& random, std::span<const int> weights) {
    std::int64_t total = 0;
    for (const int w : weights)
        total += std::max(w, 0);
    if (total <= 0)
        return 0;
    // One ShortRandom value (15 bits) while the total fits, two beyond.
    const bool wide = total > kShortRange;
    const std::int64_t range = wide ? kShortRange * kShortRange : kShortRange;
    total = std::min(total, range);
    const std::int64_t limit = range - range % total;
    std::int64_t value = 0;
    do {
        value = random.ShortRandom();
        if (wide)
            value = value * kShortRange + random.ShortRandom();
    } while (value >= limit);
    value %= total;
    for (std::size_t k = 0; k < weights.size(); ++k) {
        const int w = std::max(weights[k], 0);
        if (value < w)
            return static_cast<int>(k);
        value -= w;
    }
    return static_cast<int>(weights.size()) - 1;
}

}  // namespace lumbrel
