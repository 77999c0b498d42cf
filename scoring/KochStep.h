#pragma once
// The Koch method's rule after a checked copy: at 90 % or more in a random-group
// session the next character of the learning order is added (N + 1); below it the
// learner hears how far there is to go and which characters were missed most.
#include <QString>

#include "engine/CharacterSet.h"
#include "engine/SessionOptions.h"
#include "engine/SessionSummary.h"
#include "scoring/CopyScore.h"

namespace lumbrel {

struct NextCharacterOffer {
    bool available = false;
    int count = 0;      // N + 1
    QString character;  // the character it adds, as the display shows it
};

// Whether the session ran at least the session length set in Setup: the Koch rule is
// about a whole session, so a session stopped early never adds a character.
bool RanWholeSession(const SessionSummary& session);

// "The session was stopped at 2:13 of 5 minutes; the next character is added after a
// whole session."; empty for a whole session.
QString StoppedEarlyText(const SessionSummary& session);

// Where the trainer stands as the offer is made or taken: its options, its characters
// and whether a session is running or counting down.
struct TrainerStanding {
    const SessionOptions& options;
    const CharacterSet& characters;
    bool sessionBusy = false;
};

// What may be offered now. Nothing unless the session was one of random groups that ran
// its whole length, the copy reached 90 %, no session is running or counting down, the
// learning order and the spinner still stand where the session left them, and N is
// below the maximum.
NextCharacterOffer OfferNextCharacter(const TrainerStanding& now, const SessionSummary& session,
                                      const CopyScore& score);

// Whether the offer still holds: then the caller takes it as a user's change of the
// spinner does, setting the character count to offer.count (whose reaction writes the
// masks "Session1" and "Session2").
bool OfferHolds(const TrainerStanding& now, const NextCharacterOffer& offer);

// "5.7 points to go to 90% (12 errors too many)"; empty at 90 % or more.
QString ShortfallText(const CopyScore& score);
// "q 5 of 20 (as m 3), h 3 of 18": the characters missed most, at most `count`;
// empty when none was missed.
QString MostMissedText(const CopyScore& score, int count = 5);

}  // namespace lumbrel
