#include "session/CharacterIntroduction.h"

#include <algorithm>
#include <utility>

#include "morse/MorseCharacter.h"

namespace lumbrel {

void CharacterIntroduction::CountNow(int count) {
    if (count_ >= 0 && count != count_)
        armed_ = count > count_;
    count_ = count;
}

SymbolSource& CharacterIntroduction::Begin(SymbolSource& source, bool on,
                                           const std::vector<const MorseCharacter*>& active,
                                           const MorseCharacter* newest) {
    source_ = &source;
    left_ = 0;
    const bool armed = std::exchange(armed_, false);
    playedLast_ = false;
    const auto found = std::find(active.begin(), active.end(), newest);
    if (!armed || !on || !newest || found == active.end() || found == active.begin())
        return source;
    playedLast_ = true;
    position_ = static_cast<int>(found - active.begin());
    left_ = 2 * kTimes;
    if (listener_)
        listener_(newest->display);
    return *this;
}

SourceSymbol CharacterIntroduction::Next() {
    if (left_ > 0) {
        // Character, word space, character, ...: odd counts left are the spaces.
        const int position = (left_-- % 2 == 0) ? position_ : 0;
        if (left_ == 0 && listener_)
            listener_(QString());
        return SourceSymbol{position, {}, false};
    }
    return source_ ? source_->Next() : SourceSymbol{};
}

}  // namespace lumbrel
