#pragma once
// The trainer's volume: a gain in whole dB on the samples before they go to the sound
// card, so that a learner can set the trainer against other programs on one card.
#include <cstddef>
#include <cstdint>

namespace lumbrel {

class OutputGain {
public:
    static constexpr int kMinDb = -40;
    static constexpr int kMaxDb = 0;

    // Clamped to kMinDb..kMaxDb. UI thread only, as Apply.
    void SetDb(int db);
    int Db() const { return db_; }

    // Scales count 16-bit values in place, rounding to nearest; at 0 dB they stay
    // exactly as they are.
    void Apply(std::int16_t* values, std::size_t count) const;

private:
    int db_ = 0;
    std::int32_t q15_ = 32768;  // the factor times 2^15
};

}  // namespace lumbrel
