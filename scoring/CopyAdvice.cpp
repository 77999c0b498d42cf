#include "scoring/CopyAdvice.h"

namespace lumbrel {

CopyAdvice AdviseOnCopy(const SessionSummary& session, const CopyScore& score,
                        const NextCharacterOffer& offer, int maxCharacters) {
    using Verdict = CopyAdvice::Verdict;
    CopyAdvice advice;
    advice.mostMissed = MostMissedText(score);
    if (!score.ReachesKochThreshold()) {
        advice.verdict = Verdict::Short;
        advice.shortfall = ShortfallText(score);
    } else if (session.source != SourceKind::RandomGroups) {
        advice.verdict = Verdict::WellCopied;
    } else if (!RanWholeSession(session)) {
        advice.verdict = Verdict::StoppedEarly;
        advice.stoppedEarly = StoppedEarlyText(session);
    } else if (offer.available) {
        advice.verdict = Verdict::NextCharacter;
    } else if (session.characterCount >= maxCharacters) {
        advice.verdict = Verdict::EveryCharacter;
    } else {
        advice.verdict = Verdict::Reached;
    }
    return advice;
}

}  // namespace lumbrel
