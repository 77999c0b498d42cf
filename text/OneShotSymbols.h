#pragma once
// A source that sends a few characters once: positions 0 to count - 1 of its owner's
// list, then nothing. The last one goes out as a joined slot (no closing gap, no
// stretch), so that the sound ends with that character: the drills play one character,
// or the characters of one call, this way.
#include "text/SymbolSource.h"

namespace lumbrel {

class OneShotSymbols final : public SymbolSource {
public:
    // The next run sends positions 0..count - 1.
    void Load(int count) {
        count_ = count;
        next_ = 0;
    }

    SourceSymbol Next() override {
        SourceSymbol symbol;
        if (next_ >= count_)
            return symbol;
        symbol.position = next_++;
        symbol.slot.joined = next_ == count_;
        return symbol;
    }

private:
    int count_ = 0;
    int next_ = 0;
};

}  // namespace lumbrel
