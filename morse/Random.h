#pragma once
#include <cstdint>

namespace lumbrel {

// The trainer's two pseudo-random generators, sharing one 32-bit state word S:
//   ShortRandom: S = S * 22695477 + 1, yields (S >> 16) & 0x7FFF      (0..32767)
//   LongRandom:  (H:S) = (H:S) * (346 * 2^32 + 20021) + 1 on 64 bits,
//                yields H & 0x7FFFFFFF after the step                   (0..2^31-1)
// A ShortRandom step changes S only. One object serves the whole trainer so that
// both generators stay interleaved on the same word; every random choice names
// which of Next and RandomLong it uses.
// Not thread-safe: UI thread only.
class RandomNumber {
public:
    // Seeds with S = seed, H = 0, then drops one ShortRandom value.
    explicit RandomNumber(std::uint32_t seed = 0);

    void Seed(std::uint32_t seed);
    // Back to a state read with LowWord and HighWord: the same draws follow again.
    void Restore(std::uint32_t low, std::uint32_t high) {
        s_ = low;
        h_ = high;
    }

    int ShortRandom();
    int LongRandom();

    // ShortRandom() modulo n; 0 when n is 0 or negative.
    int Next(int n);
    // LongRandom() modulo n; 0 when n is 0 or negative.
    int RandomLong(int n);

    std::uint32_t LowWord() const { return s_; }
    std::uint32_t HighWord() const { return h_; }

private:
    std::uint32_t s_ = 0;
    std::uint32_t h_ = 0;
};

}  // namespace lumbrel
