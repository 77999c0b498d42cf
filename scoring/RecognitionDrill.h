#pragma once
// The rules of an instant-recognition drill, without sound or window: which character
// comes next, what an answer counts as, when the drill is over, and its result.
//
// Characters answered wrongly, too late or slowly come back more often. Each
// character's weight (WeakCharacterWeights: a floor, so that none stops coming, plus
// its miss rate) comes from this drill's answers, a wrong answer or none within the
// time limit counting as a miss and a right one slower than the target as half a
// miss, added to the misses of the history (History::RecentMissTallies), which count
// for at most kHistoryTries tries so that this drill's answers soon tell.
//
// Growing (an option): the drill starts with the first two characters given (the
// learning order) and adds the next each time one more of those in play becomes
// known within this drill (KnownCharacters on this drill alone); a character missed
// is asked again until it is answered right.
//
// The window plays Next(), measures the reaction time from the heard end of the
// character (the completion time the audio device reports) to the key press, and
// hands over the answer; a key before the heard end is an early answer. A wrong one
// or none within the time limit is shown and played again before the drill goes on.
// UI thread only.
#include <QDateTime>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

#include "morse/Random.h"
#include "settings/SettingsStore.h"
#include "scoring/DrillProgress.h"
#include "scoring/DrillRecord.h"
#include "text/WeakCharacters.h"

namespace lumbrel {

struct RecognitionOptions {
    int characters = 100;    // the drill ends after this many answers; 0: no such end
    int minutes = 0;         // or after this many minutes; 0: no such end
    int timeLimitMs = 3000;  // no answer within it is a miss
    int targetMs = 1000;     // known: right with a median under it (KnownCharacters)
    int characterWpm = 25;
    bool growing = false;  // start with two characters, add one as each becomes known
};

// The learner's own target, the drills' "Target" (200..5000 ms): the "slow" limit of
// the drills' summary, of Progress and of the weights of "Favour characters I miss".
int LearnerTargetMs(const SettingsStore& store);

class RecognitionDrill {
public:
    static constexpr int kHistoryTries = 10;
    static constexpr int kGrowingStart = 2;

    enum class Outcome { Right, Wrong, TooLate, Early };

    // characters: those in use, as the character list shows them (at least one); when
    // growing, in the learning order.
    // history: the stored misses. earlier: the last recognition drills of the history,
    // oldest first, for the known rule.
    RecognitionDrill(const QStringList& characters, RecognitionOptions options, MissTallies history,
                     std::vector<DrillRecord> earlier, std::uint32_t seed);

    // The next character to play (lower case), drawn with the weights of now.
    QString Next();
    // An answer to a character played: what was typed (empty: nothing) after how many
    // milliseconds from the heard end of the character (negative: none), or, early,
    // before that end. Nothing, or anything after the time limit, is TooLate; the right
    // character typed early is Early, another one Wrong.
    Outcome Answer(const QString& character, const QString& answer, int reactionMs, bool early = false);

    // After the set number of answers, or once elapsedMs reaches the set minutes.
    bool Over(qint64 elapsedMs) const;

    // The weight of each character in play now (draw units), in the order given.
    std::vector<int> Weights() const;
    const QStringList& Characters() const { return characters_; }
    // The characters Next() draws from: all of them, or when growing those added so far.
    QStringList InPlay() const { return characters_.mid(0, inPlay_); }
    const RecognitionOptions& Options() const { return options_; }
    const std::vector<RecognitionAnswer>& Answers() const { return answers_; }

    // Per character, accuracy and median reaction time, slowest first.
    std::vector<RecognitionStats> Results() const;
    // The characters known after this drill.
    QSet<QString> Known() const;
    DrillRecord Record(const QDateTime& ended, int durationSeconds) const;

private:
    void Grow();

    QStringList characters_;
    qsizetype inPlay_ = 0;
    RecognitionOptions options_;
    MissTallies history_;
    std::vector<DrillRecord> earlier_;
    RandomNumber random_;
    std::vector<RecognitionAnswer> answers_;
};

}  // namespace lumbrel
