#include "session/SessionOpening.h"

#include "session/Welcome.h"

#include "settings/SettingsStore.h"
#include "text/RandomGroups.h"

namespace lumbrel {

GroupLength SessionOpening::StoredGroupLength(const SettingsStore& store) {
    switch (store.Read(keys::GroupLengthMode)) {
        case 1:
            return GroupLength::Fixed(5);
        case 2:
            return GroupLength::Between(store.Read(keys::GroupLengthMin), store.Read(keys::GroupLengthMax));
        default:
            return GroupLength{};
    }
}

void SessionOpening::StoreGroupLength(SettingsStore& store, const GroupLength& length) {
    const bool fiveAlone = length == GroupLength::Fixed(5);
    store.Write(keys::GroupLengthMode, length.kind == GroupLength::Kind::OneToEight ? 0 : fiveAlone ? 1 : 2);
    if (length.kind != GroupLength::Kind::OneToEight && !fiveAlone) {
        store.Write(keys::GroupLengthMin, length.min);
        store.Write(keys::GroupLengthMax, length.max);
    }
}

bool SessionOpening::RepeatLast() {
    if (!replay_.Arm())
        return false;
    introduction_.Again();
    return true;
}

void SessionOpening::SessionBegins(RandomNumber& random, RandomGroupSource& groups, SettingsStore& store) {
    replay_.SessionBegins(random);
    Welcome::SessionBegan(store);
    groups.SetGroupLength(StoredGroupLength(store));
}

SymbolSource& SessionOpening::Symbols(SymbolSource& source, SourceKind kind, const SettingsStore& store,
                                      const std::vector<const MorseCharacter*>& active,
                                      const MorseCharacter* newest) {
    const bool on = kind == SourceKind::RandomGroups && store.Read(keys::IntroduceCharacter) != 0;
    return introduction_.Begin(source, on, active, newest);
}

}  // namespace lumbrel
