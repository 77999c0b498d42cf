#pragma once
// The new character heard alone before it is mixed in: after the character count rose,
// the next random-group session first plays the newest character five times, each
// followed by a word space, and then goes on with its own source.
#include <QString>

#include <functional>
#include <vector>

#include "text/SymbolSource.h"

namespace lumbrel {

struct MorseCharacter;

class CharacterIntroduction final : public SymbolSource {
public:
    static constexpr int kTimes = 5;

    // The character count now. A rise arms the introduction; a fall takes it back.
    // The first count told is where counting starts. UI thread only, as all here.
    void CountNow(int count);
    bool Armed() const { return armed_; }
    // Arms it whatever the count did (a render asked for it).
    void Arm() { armed_ = true; }
    // Arms it again for a repeat of the last session, when that one began with it.
    void Again() { armed_ = playedLast_; }

    // A random-group session begins with source. When armed and on, and newest is in
    // active, the symbols of the introduction come first; either way it is disarmed.
    // Returns what the engine plays.
    SymbolSource& Begin(SymbolSource& source, bool on, const std::vector<const MorseCharacter*>& active,
                        const MorseCharacter* newest);

    SourceSymbol Next() override;

    // Told the character's display text as its introduction begins, and an empty text
    // once the session's own symbols follow.
    void SetListener(std::function<void(const QString&)> listener) { listener_ = std::move(listener); }

private:
    SymbolSource* source_ = nullptr;
    int count_ = -1;
    bool armed_ = false;
    bool playedLast_ = false;
    int position_ = 0;
    int left_ = 0;  // symbols of the introduction still to come
    std::function<void(const QString&)> listener_;
};

}  // namespace lumbrel
