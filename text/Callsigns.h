#pragma once
// Callsigns as they are heard on the air: the amateur prefix blocks of the ITU
// allocations, in the call formats each country issues (1x1 to 2x3 and the like),
// weighted by how often each is heard on the HF bands, and now and then a portable,
// QRP or mobile mark or a call signed from another country. The practice lists and
// the callsign runs draw their calls here.
//
// Plain C++: the same seed gives the same calls on every platform.
#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumbrel::callsigns {

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

// A random source that gives the same numbers on every platform: the generator's own
// output, not the standard distributions, whose results the library may choose.
class Draw {
public:
    explicit Draw(std::uint32_t seed) : engine_(seed) {}
    int Below(int n) { return static_cast<int>(engine_() % static_cast<std::uint32_t>(n)); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <typename T>
    const T& Pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(Below(static_cast<int>(items.size())))];
    }
    // One of the words of spaced, or of the phrases of barred ("up|up 2").
    std::string Word(std::string_view spaced) { return Pick(Split(spaced)); }
    std::string Phrase(std::string_view barred) { return Pick(Split(barred, '|')); }

    static std::vector<std::string> Split(std::string_view spaced, char separator = ' ') {
        std::vector<std::string> words;
        std::size_t start = 0;
        while (start < spaced.size()) {
            std::size_t end = spaced.find(separator, start);
            if (end == std::string_view::npos)
                end = spaced.size();
            if (end > start)
                words.emplace_back(spaced.substr(start, end - start));
            start = end + 1;
        }
        return words;
    }

private:
    std::mt19937 engine_;
};

// A call and where it was issued.
struct Callsign {
    std::string call;                    // as sent, with any /P or host prefix
    const PrefixBlock* block = nullptr;  // the block it was issued in
    char digit = '0';                    // its call area
};

class CallsignMaker {
public:
    // Share of the calls of Next() that carry a mark or a host prefix.
    static constexpr int kDecoratedPercent = 8;

    // Draws from draw, which the caller may go on using for other choices.
    explicit CallsignMaker(Draw& draw);

    // A block, as often as its weight says.
    const PrefixBlock& AnyBlock();
    // A plain call of the block: prefix, call-area digit, suffix.
    Callsign Call(const PrefixBlock& block);
    // Adds /P, /QRP or /M, or signs the call from another country; that country's
    // block for the latter, else null.
    const PrefixBlock* Decorate(Callsign& call);
    // A call of any block, decorated in kDecoratedPercent of the draws.
    std::string Next();

private:
    const PrefixBlock& CommonBlockOtherThan(const PrefixBlock& block);

    Draw& draw_;
    int total_ = 0;
};

}  // namespace lumbrel::callsigns
