#pragma once
// What the learner is told after a copy is checked, as data for the window to word: the
// Koch verdict (well copied, the next character, every character in use already, or how
// far there is to go) and the characters missed most.
#include <QString>

#include "scoring/CopyScore.h"
#include "scoring/KochStep.h"
#include "engine/SessionSummary.h"

namespace lumbrel {

struct CopyAdvice {
    enum class Verdict {
        WellCopied,      // 90 % or more of something other than random groups
        StoppedEarly,    // 90 % or more, but the session was stopped early (stoppedEarly)
        NextCharacter,   // 90 % or more: the next character is offered
        EveryCharacter,  // 90 % or more with the most characters there are
        Reached,         // 90 % or more, nothing to offer (the spinner has moved)
        Short,           // below 90 % (shortfall)
    };
    Verdict verdict = Verdict::Short;
    QString stoppedEarly;  // StoppedEarlyText, for StoppedEarly
    QString shortfall;     // ShortfallText, for Short
    QString mostMissed;    // MostMissedText; empty when nothing was missed
};

// maxCharacters: the most characters the learner can have in use.
CopyAdvice AdviseOnCopy(const SessionSummary& session, const CopyScore& score,
                        const NextCharacterOffer& offer, int maxCharacters);

}  // namespace lumbrel
