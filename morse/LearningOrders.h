#pragma once
// The two built-in learning orders and the maps from text to their positions.
#include <array>
#include <cstdint>

#include "morse/MorseCharacter.h"

namespace lumbrel {

enum class LearningOrder { Koch, Mfj };

inline constexpr int kBuiltInCharacters = 40;  // positions 1..40; position 0 is the word space
inline constexpr int kOrderSize = kBuiltInCharacters + 1;

// Values of a character map besides positions 1..40.
inline constexpr std::uint8_t kWordSpace = 0;
inline constexpr std::uint8_t kProsignMarker = 254;  // what follows is joined into one prosign
inline constexpr std::uint8_t kUnmapped = 255;

using OrderTable = std::array<MorseCharacter, kOrderSize>;
using CharacterMapTable = std::array<std::uint8_t, 128>;

// The 41 constant records of an order, position 0 first. They live for the whole run.
const OrderTable& LearningOrderTable(LearningOrder order);

// Indexed by a 7-bit character code: a position 1..40, kWordSpace, kProsignMarker or kUnmapped.
const CharacterMapTable& CharacterMap(LearningOrder order);

}  // namespace lumbrel
