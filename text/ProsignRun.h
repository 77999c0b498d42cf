#pragma once
// The prosign rule. A prosign is written as a marker ("^", or "~" in the MFJ order)
// before its letters: the characters after the marker, up to the next word space,
// follow each other like the elements of one character (each slot without its closing
// gap and without the effective speed's stretch), and the display shows the marker
// before the first of them.
#include "morse/LearningOrders.h"

namespace lumbrel {

class ProsignRun {
public:
    // What a character's slot is within the run.
    struct Slot {
        bool joined = false;  // inside a run: the joined slot
        bool opens = false;   // the first character after the marker
    };

    // Takes one looked-up character (a list position, kWordSpace or kProsignMarker).
    // Returns true for the marker, which starts a run and is not sent itself; a word
    // space ends the run.
    bool Take(int position) {
        if (position == kProsignMarker) {
            inRun_ = true;
            opened_ = false;
            return true;
        }
        if (position == kWordSpace)
            End();
        return false;
    }

    // Anything else that ends a run: a new line, a skipped character, a new session.
    void End() { inRun_ = opened_ = false; }

    // The slot of the character about to be sent; the next one no longer opens the run.
    Slot Emit() {
        const Slot slot{inRun_, inRun_ && !opened_};
        if (inRun_)
            opened_ = true;
        return slot;
    }

private:
    bool inRun_ = false;
    bool opened_ = false;
};

}  // namespace lumbrel
