#include "tools/lists/PracticeLists.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "text/QsoGenerator.h"

namespace lumbrel::lists {
namespace {

using callsigns::Draw;

// The ARRL and RAC sections, by call area for the United States.
constexpr std::array<const char*, 10> kUsSectionsByArea = {
    "CO IA KS MN MO NE ND SD",                 // 0
    "CT EMA ME NH RI VT WMA",                  // 1
    "ENY NLI NNJ NNY SNJ WNY",                 // 2
    "DE EPA MDC WPA",                          // 3
    "AL GA KY NC NFL SC SFL WCF TN VA PR VI",  // 4
    "AR LA MS NM NTX OK STX WTX",              // 5
    "EB LAX ORG PAC SB SCV SDG SF SJV SV",     // 6
    "AK AZ EWA ID MT NV OR UT WWA WY",         // 7
    "MI OH WV",                                // 8
    "IL IN WI",                                // 9
};
constexpr const char* kRacSections = "AB BC GH MB NB NL NS ONE ONN ONS PE QC SK TER";

constexpr std::array kAbbreviations = std::to_array<const char*>({
    "abt",   "adr", "agn", "ant", "bcnu",  "bk",   "btu",  "b4",  "buro", "c",    "cfm",  "cl",   "clr",
    "condx", "cpy", "cq",  "cu",  "cuagn", "cul",  "cw",   "de",  "dr",   "dx",   "el",   "es",   "fb",
    "fer",   "fm",  "ga",  "gb",  "gd",    "ge",   "gg",   "gl",  "gm",   "gn",   "gnd",  "gud",  "hi",
    "hpe",   "hr",  "hv",  "hvy", "hw",    "k",    "lid",  "mni", "msg",  "n",    "nil",  "nr",   "nw",
    "nxt",   "ob",  "om",  "op",  "ot",    "p2p",  "pse",  "pwr", "r",    "rcvd", "rcvr", "rfi",  "rig",
    "rpt",   "rst", "rx",  "s2s", "sed",   "sig",  "sked", "sri", "ssb",  "stn",  "temp", "test", "tdy",
    "tks",   "tmw", "tnt", "tnx", "tt",    "tu",   "tx",   "u",   "ufb",  "ur",   "urs",  "vy",   "wid",
    "wkd",   "wkg", "wl",  "wpm", "wx",    "xmtr", "xyl",  "yl",  "yrs",  "5nn",  "72",   "73",   "88",
    "^ar",   "^as", "^bk", "^bt", "^hh",   "^ka",  "^kn",  "^sk", "^ve",
});

}  // namespace

std::span<const char* const> Sections() {
    static const std::vector<const char*> sections = [] {
        static std::vector<std::string> words;
        for (const char* area : kUsSectionsByArea)
            for (const std::string& w : Draw::Split(area))
                words.push_back(w);
        for (const std::string& w : Draw::Split(kRacSections))
            words.push_back(w);
        std::vector<const char*> out;
        for (const std::string& w : words)
            out.push_back(w.c_str());
        return out;
    }();
    return sections;
}

std::span<const char* const> Abbreviations() {
    return kAbbreviations;
}

Lists MakeLists(std::uint32_t seed, int qsos, int callsigns, const std::vector<std::string>& realCalls) {
    Lists lists;
    // Each frame in turn, so that every kind comes as often.
    qsos::QsoGenerator contacts(seed);
    for (int i = 0; i < qsos; ++i)
        lists.qsos += contacts.Make(i).text + "\n";

    // A sample of the real calls, kept in their order: each call is taken with the
    // chance of the calls still wanted among those still to come.
    Draw draw(seed);
    int wanted = std::min(callsigns, static_cast<int>(realCalls.size()));
    for (std::size_t i = 0; i < realCalls.size() && wanted > 0; ++i) {
        const int left = static_cast<int>(realCalls.size() - i);
        if (draw.Below(left) < wanted) {
            lists.callsigns += realCalls[i] + "\n";
            --wanted;
        }
    }
    for (const char* abbreviation : kAbbreviations)
        lists.abbreviations += std::string(abbreviation) + "\n";
    return lists;
}

}  // namespace lumbrel::lists
