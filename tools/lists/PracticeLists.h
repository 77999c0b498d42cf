#pragma once
// The practice lists shipped with Lumbrel that are made rather than taken from a
// source: the sample QSOs ("QSO Files/QSO.txt"), the callsigns and the CW
// abbreviations ("Word Files/Callsigns.txt", "Word Files/CW Abbreviations.txt").
//
// The contacts come from the station model and its frames (text/QsoGenerator.h); the
// callsigns are a sample of the calls heard in contests (MASTER.SCP); Q codes and
// abbreviations are used in their meaning on the air. The lists are made from a fixed seed, so the same program makes the same
// files again.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "text/Callsigns.h"

namespace lumbrel::lists {

// The callsigns and their prefix blocks come from text/Callsigns.h.
using callsigns::PrefixBlock;
using callsigns::PrefixBlocks;

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
inline constexpr int kShippedQsos = 2058;  // 42 of each frame
inline constexpr int kShippedCallsigns = 3000;

// The callsigns are a sample of realCalls (MASTER.SCP, text/RealCalls.h) in its order.
Lists MakeLists(std::uint32_t seed, int qsos, int callsigns, const std::vector<std::string>& realCalls);

}  // namespace lumbrel::lists
