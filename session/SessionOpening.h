#pragma once
// How a session opens for the learner: the group length of the setup dialog, a repeat
// of the last session from the same random start, and the newest character introduced
// alone after the count rose. The trainer calls it as a session begins.
#include <vector>

#include "session/CharacterIntroduction.h"
#include "session/SessionReplay.h"
#include "engine/SessionTypes.h"
#include "text/GroupLength.h"

namespace lumbrel {

class RandomGroupSource;
class RandomNumber;
class SettingsStore;

class SessionOpening {
public:
    // The group length the store's "Group Length" keys give, and the keys for a length.
    static GroupLength StoredGroupLength(const SettingsStore& store);
    static void StoreGroupLength(SettingsStore& store, const GroupLength& length);

    // The character count now (at the first showing and at every change of the spinner).
    void CountNow(int count) { introduction_.CountNow(count); }
    // "Repeat last session" asked for: false when no session began yet.
    bool RepeatLast();
    bool CanRepeat() const { return replay_.Available(); }

    // A session begins, before its first draw: the random start (kept, or put back for a
    // repeat) and the group length, read from the store; the welcome is done with.
    void SessionBegins(RandomNumber& random, RandomGroupSource& groups, SettingsStore& store);
    // The symbols the engine plays: source, after the introduction of newest when due.
    SymbolSource& Symbols(SymbolSource& source, SourceKind kind, const SettingsStore& store,
                          const std::vector<const MorseCharacter*>& active, const MorseCharacter* newest);

    CharacterIntroduction& Introduction() { return introduction_; }

private:
    CharacterIntroduction introduction_;
    SessionReplay replay_;
};

}  // namespace lumbrel
