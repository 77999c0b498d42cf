#pragma once
// One change of a key: a paddle's dit or dah contact, or a straight key, closing
// (down) or opening (up), stamped with the moment it happened.
#include <cstdint>

namespace lumbrel {

enum class KeyContact : std::uint8_t { Dit, Dah, Straight };

struct KeyEvent {
    KeyContact contact = KeyContact::Straight;
    bool down = false;
    // Microseconds of the steady clock (CLOCK_MONOTONIC), the clock the audio
    // callback is timed by.
    std::int64_t timeUs = 0;

    friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

// Any thread. The steady clock now, in microseconds.
std::int64_t SteadyMicroseconds();

}  // namespace lumbrel
