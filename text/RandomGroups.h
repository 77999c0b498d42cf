#pragma once
// Random Koch groups: 1 to 8 characters (or as GroupLength says) of the active set, each group closed by one
// word space. No text is built ahead; the engine asks for one symbol per buffer.
#include <functional>
#include <vector>

#include "text/GroupLength.h"
#include "text/SymbolSource.h"
#include "text/WeakCharacters.h"

namespace lumbrel {

class RandomNumber;
struct MorseCharacter;

class RandomGroupSource {
public:
    // Draws the length of the first group (session start).
    void Begin(RandomNumber& random);

    // An index into the active set (0 = word space) for an active set of activeSize
    // entries, word space included. Needs activeSize >= 2.
    int NextGroupSymbol(RandomNumber& random, int activeSize);

    // The same for the active set itself, which lets the characters the learner misses
    // come more often: with miss tallies (below) each character is drawn with its
    // weight (WeakCharacterWeights), in one draw; with favour recent as well, with its
    // weight times its favour-recent share. Without tallies the draws are exactly
    // those of the overload above.
    int NextGroupSymbol(RandomNumber& random, const std::vector<const MorseCharacter*>& active);

    // The main window's copy of "Favour Recent": draws lean towards the characters
    // added last.
    void SetFavourRecent(bool on) { favourRecent_ = on; }
    bool FavourRecent() const { return favourRecent_; }

    // Where the miss tallies of "Favour Missed" come from: asked once per session, at
    // its first character. Empty tallies (the option off, nothing in the history)
    // leave the draws as they are.
    using MissTalliesSource = std::function<MissTallies()>;
    void SetMissTalliesSource(MissTalliesSource source) { missSource_ = std::move(source); }
    // The weight of each character of the active set in this session's draws (index
    // k for active set entry k + 1, in draw units); empty when the draws are plain.
    const std::vector<int>& Weights() const { return weights_; }

    // How long the groups are; read at each group's start.
    void SetGroupLength(const GroupLength& length) { length_ = length; }
    const GroupLength& Length() const { return length_; }

private:
    void Weigh(const std::vector<const MorseCharacter*>& active);

    int countdown_ = 0;
    GroupLength length_;
    bool favourRecent_ = false;
    MissTalliesSource missSource_;
    bool tallied_ = false;
    MissTallies tallies_;
    std::vector<int> weights_;
    std::vector<const MorseCharacter*> weighedFor_;
    bool weighedRecent_ = false;
};

// Random groups as the engine asks for them: a symbol of the active set, with the
// signal's dither drawn again after each.
class GroupSymbols final : public SymbolSource {
public:
    using ActiveSet = std::function<const std::vector<const MorseCharacter*>&()>;
    GroupSymbols(RandomGroupSource& groups, SourceHost& host, ActiveSet active)
        : groups_(groups),
          host_(host),
          active_(std::move(active)) {}

    SourceSymbol Next() override {
        const int position = groups_.NextGroupSymbol(host_.Random(), active_());
        host_.DrawDither();
        return SourceSymbol{position, {}, false};
    }

private:
    RandomGroupSource& groups_;
    SourceHost& host_;
    ActiveSet active_;
};

}  // namespace lumbrel
