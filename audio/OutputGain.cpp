#include "audio/OutputGain.h"

#include <algorithm>
#include <cmath>

namespace lumbrel {

void OutputGain::SetDb(int db) {
    db_ = std::clamp(db, kMinDb, kMaxDb);
    q15_ = static_cast<std::int32_t>(std::lround(32768.0 * std::pow(10.0, db_ / 20.0)));
}

void OutputGain::Apply(std::int16_t* values, std::size_t count) const {
    if (q15_ == 32768)
        return;
    // The factor is at most 1, so the product stays within 16 bits.
    for (std::size_t k = 0; k < count; ++k) {
        const std::int32_t v = values[k] * q15_;
        values[k] = static_cast<std::int16_t>((v + (v >= 0 ? 16384 : -16384)) / 32768);
    }
}

}  // namespace lumbrel
