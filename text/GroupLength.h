#pragma once
// How many characters a random group has: drawn from 1 to 8 (the trainer's own way),
// fixed, or drawn evenly from a range.
#include <QString>

#include <optional>

namespace lumbrel {

class RandomNumber;

struct GroupLength {
    enum class Kind { OneToEight, Fixed, Range };
    static constexpr int kLongest = 20;

    Kind kind = Kind::OneToEight;
    int min = 1;
    int max = 8;

    static GroupLength Fixed(int n);
    // min and max put in order and into 1..kLongest.
    static GroupLength Between(int min, int max);
    // "N" or "MIN-MAX", 1..kLongest; nothing for anything else.
    static std::optional<GroupLength> Parse(const QString& text);

    // The next group's length. OneToEight: ShortRandom modulo 8, plus 1, the draws the
    // groups always made; Fixed: no draw; Range: min + ShortRandom modulo (max - min + 1).
    int Draw(RandomNumber& random) const;

    bool operator==(const GroupLength&) const = default;
};

}  // namespace lumbrel
