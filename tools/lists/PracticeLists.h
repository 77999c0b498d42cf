#pragma once
// The practice lists shipped with Lumbrel that are made rather than taken from a
// source: the sample QSOs ("QSO Files/QSO.txt"), the callsigns and the CW
// abbreviations ("Word Files/Callsigns.txt", "Word Files/CW Abbreviations.txt").
//
// Callsigns are drawn from the amateur prefix blocks of the ITU allocations below, in
// the formats those countries issue; contest exchanges use real CQ zones and ARRL/RAC
// sections; Q codes and abbreviations are used in their meaning on the air. The lists
// are made from a fixed seed, so the same program makes the same files again.
#include <cstdint>
#include <span>
#include <string>

namespace lumbrel::lists {

// One block of callsigns: any of prefixes, then one of digits (none when the prefix
// ends in its digit already, as HB9 or KH6), then a suffix of one of lengths letters.
struct PrefixBlock {
    const char* prefixes;  // separated by spaces
    const char* digits;    // the call-area digits issued after the prefix; "" for none
    const char* lengths;   // suffix lengths, one digit each; repeated ones are drawn more often
    int weight;            // how often the block is heard, relative to the others
    int zone;              // CQ zone; 0 where it follows the call area (USA, Canada, ...)
    const char* entity;    // country or territory
    const char* towns;     // a few towns for the QTH, separated by spaces
    const char* names;     // first names heard from there, separated by spaces
};

std::span<const PrefixBlock> PrefixBlocks();

// The ARRL and RAC sections (Field Day, Sweepstakes), upper case.
std::span<const char* const> Sections();

// The CW abbreviations and Q codes used in the QSOs, and the prosigns written with a
// caret: one entry each of "CW Abbreviations.txt".
std::span<const char* const> Abbreviations();

struct Lists {
    std::string qsos;           // one whole contact per line
    std::string callsigns;      // one callsign per line
    std::string abbreviations;  // one abbreviation or prosign per line
};

inline constexpr std::uint32_t kShippedSeed = 1701;
inline constexpr int kShippedQsos = 240;
inline constexpr int kShippedCallsigns = 2400;

Lists MakeLists(std::uint32_t seed, int qsos, int callsigns);

}  // namespace lumbrel::lists
