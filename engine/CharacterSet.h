#pragma once
// The character list of the running trainer (word space, the 40 characters of the
// selected learning order, then the user's own characters) and the active set that a
// session draws from (the first N characters of the list that the enable mask lets in).
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

#include "morse/LearningOrders.h"
#include "morse/MorseCharacter.h"
#include "settings/SettingsStore.h"

namespace lumbrel {

// What character changes do to the windows: the character-count spinner, the setup
// dialog's character boxes and the learning tools. The main window implements it.
class CharacterWindows {
public:
    virtual ~CharacterWindows() = default;
    // The spinner "Characters" (N).
    virtual int CharacterCount() const = 0;
    virtual void SetCharacterCount(int count) = 0;
    virtual int CharacterCountMaximum() const = 0;
    virtual void SetCharacterCountMaximum(int maximum) = 0;
    // The setup dialog's box captions for list positions 1 to the end, upper-cased.
    virtual void SetCharacterCaptions(const QStringList& captions) = 0;
    // The setup dialog shows the boxes of positions 1..count, checked from the stored mask.
    virtual void ShowCharacterBoxes(int count) = 0;
    // Text File, Words and QSO's are offered only once every character is in use.
    virtual void SetLearningToolsShown(bool shown) = 0;
};

// The enable mask, bit k for list position k + 1, stored in two words: "Session1"
// (bits 0..31) and "Session2" (bits 32..63).
std::uint64_t ReadEnableMask(const SettingsStore& store);
void WriteEnableMask(SettingsStore& store, std::uint64_t mask);
// Writes the mask so that exactly the first count characters take part.
void WriteFirstCharactersMask(SettingsStore& store, int count);

// Owns the character list and the active set. UI thread only.
class CharacterSet {
public:
    CharacterSet(SettingsStore store, CharacterWindows& windows);

    // The main window's copy of "Use MFJ"; takes effect at the next RebuildCharacterList.
    void SetOrder(LearningOrder order) { order_ = order; }
    LearningOrder Order() const { return order_; }

    // The main window has been shown: from now on learning-mode refreshes run.
    void SetShown() { shown_ = true; }
    bool Shown() const { return shown_; }

    void RebuildCharacterList();
    // The display texts of more than one letter among the user-defined characters in
    // store, as the list would hold them: what a copy checked away from the window
    // counts as one character each.
    static QStringList MultiLetterDisplays(const SettingsStore& store);
    void RebuildActiveSet();
    // The user changed N: every one of the first N characters takes part again.
    void CharacterCountChanged();
    // Shared by the character count, the effective speed and text, word and QSO sessions.
    void LearningModeRefresh();
    void UpdateLearningTools();

    // A list position, kWordSpace, kProsignMarker or kUnmapped for one character of text
    // (a Unicode code point): the learning order's map for ASCII, where upper and lower
    // case letters are one; otherwise, and for what the map leaves unmapped, the first
    // user character whose display text starts with it.
    int LookUpTextCharacter(char32_t c) const;

    const std::vector<const MorseCharacter*>& CharacterList() const { return list_; }
    const std::vector<const MorseCharacter*>& ActiveSet() const { return active_; }

private:
    SettingsStore store_;
    CharacterWindows& windows_;
    LearningOrder order_ = LearningOrder::Koch;
    bool shown_ = false;
    std::vector<std::unique_ptr<MorseCharacter>> userCharacters_;
    std::vector<const MorseCharacter*> list_;
    std::vector<const MorseCharacter*> active_;
};

}  // namespace lumbrel
