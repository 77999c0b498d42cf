#pragma once
// Random Koch groups: 1 to 8 characters of the active set, each group closed by one
// word space. No text is built ahead; the engine asks for one symbol per buffer.
namespace lumbrel {

class RandomNumber;

class RandomGroupSource {
public:
    // Draws the length of the first group (session start).
    void Begin(RandomNumber& random);

    // An index into the active set (0 = word space) for an active set of activeSize
    // entries, word space included. Needs activeSize >= 2.
    int NextGroupSymbol(RandomNumber& random, int activeSize);

    // The main window's copy of "Favour Recent": draws lean towards the characters
    // added last.
    void SetFavourRecent(bool on) { favourRecent_ = on; }
    bool FavourRecent() const { return favourRecent_; }

    int GroupCountdown() const { return countdown_; }

private:
    int countdown_ = 0;
    bool favourRecent_ = false;
};

}  // namespace lumbrel
