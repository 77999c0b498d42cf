#include "morse/Random.h"

namespace lumbrel {

RandomNumber::RandomNumber(std::uint32_t seed) {
    Seed(seed);
}

void RandomNumber::Seed(std::uint32_t seed) {
    s_ = seed;
    h_ = 0;
    ShortRandom();
}

int RandomNumber::ShortRandom() {
    s_ = s_ * 22695477u + 1u;  // wraps modulo 2^32
    return static_cast<int>((s_ >> 16) & 0x7FFFu);
}

int RandomNumber::LongRandom() {
    constexpr std::uint64_t kMultiplier = (std::uint64_t{346} << 32) + 20021u;
    std::uint64_t state = (std::uint64_t{h_} << 32) | s_;
    state = state * kMultiplier + 1u;  // wraps modulo 2^64
    s_ = static_cast<std::uint32_t>(state);
    h_ = static_cast<std::uint32_t>(state >> 32);
    return static_cast<int>(h_ & 0x7FFFFFFFu);
}

int RandomNumber::Next(int n) {
    if (n <= 0)
        return 0;
    return ShortRandom() % n;
}

int RandomNumber::RandomLong(int n) {
    if (n <= 0)
        return 0;
    return LongRandom() % n;
}

}  // namespace lumbrel
