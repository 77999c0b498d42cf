#include "text/EntrySymbols.h"

#include <utility>

#include "text/EntryList.h"
#include "text/TextEncoding.h"

namespace lumbrel {

void EntrySymbols::Begin(QList<QByteArray> entries, bool oneEntry) {
    entries_ = std::move(entries);
    oneEntry_ = oneEntry;
    currentEntry_ = 0;
    entryPosition_ = 0;
    entryChosen_ = false;
    firstCall_ = true;
    prosign_.End();
}

SourceSymbol EntrySymbols::Emit(int position) {
    return SourceSymbol{position, prosign_.Emit(), false};
}

SourceSymbol EntrySymbols::Next() {
    for (int budget = kSkipBudget; budget > 0; --budget) {
        const bool endOfEntry = !entryChosen_ || currentEntry_ >= entries_.size() ||
                                entryPosition_ >= entries_[currentEntry_].size();
        if (endOfEntry) {
            // The one entry has been sent: the buffer still in flight ends the session.
            if (oneEntry_ && !firstCall_)
                return SourceSymbol{};
            firstCall_ = false;
            entryPosition_ = 0;
            if (entries_.isEmpty())
                return SourceSymbol{};
            currentEntry_ = EntryIndex(host_.Random(), entries_.size());
            entryChosen_ = true;
            host_.EntryBegins();
            // A list of words ends on time; this word space still goes out.
            const bool last = !oneEntry_ && host_.TimeUp();
            prosign_.End();
            host_.DrawDither();
            SourceSymbol space = Emit(kWordSpace);
            space.last = last;
            return space;
        }
        qsizetype position = entryPosition_;
        const char32_t c = NextCharacter(entries_[currentEntry_], position);
        entryPosition_ = static_cast<int>(position);
        const int index = host_.LookUp(c);
        if (prosign_.Take(index))
            continue;
        if (index == kUnmapped) {
            prosign_.End();
            continue;
        }
        return Emit(index);
    }
    prosign_.End();
    return Emit(kWordSpace);
}

}  // namespace lumbrel
