#include "scoring/RecognitionDrill.h"

#include <algorithm>

namespace lumbrel {

RecognitionDrill::RecognitionDrill(const QStringList& characters, RecognitionOptions options, MissTallies history,
                                   std::vector<DrillRecord> earlier, std::uint32_t seed)
    : options_(options), history_(std::move(history)), earlier_(std::move(earlier)), random_(seed)
{
    for (const QString& c : characters)
        if (!c.isEmpty() && !characters_.contains(c.toLower()))
            characters_ << c.toLower();
}

std::vector<int> RecognitionDrill::Weights() const
{
    MissTallies tallies;
    for (const QString& c : characters_) {
        const auto it = history_.constFind(c);
        if (it == history_.cend() || it->tries <= 0)
            continue;
        const double scale = std::min(1.0, kHistoryTries / it->tries);
        tallies[c] = {it->tries * scale, it->missed * scale};
    }
    for (const RecognitionAnswer& a : answers_) {
        MissTally& t = tallies[a.character];
        t.tries += 1;
        if (!a.Right())
            t.missed += 1;
        else if (a.reactionMs > options_.targetMs)
            t.missed += kSlowMiss;
    }
    return WeakCharacterWeights(characters_, tallies);
}

QString RecognitionDrill::Next()
{
    if (characters_.isEmpty())
        return {};
    const std::vector<int> weights = Weights();
    return characters_.at(DrawWeighted(random_, weights));
}

RecognitionDrill::Outcome RecognitionDrill::Answer(const QString& character, const QString& answer, int reactionMs)
{
    RecognitionAnswer a{character.toLower(), answer, reactionMs};
    if (answer.isEmpty() || reactionMs < 0 || reactionMs > options_.timeLimitMs)
        a = {character.toLower(), QString(), -1};
    answers_.push_back(a);
    if (a.TimedOut())
        return Outcome::TooLate;
    return a.Right() ? Outcome::Right : Outcome::Wrong;
}

bool RecognitionDrill::Over(qint64 elapsedMs) const
{
    const bool counted = options_.characters > 0 && static_cast<int>(answers_.size()) >= options_.characters;
    const bool timed = options_.minutes > 0 && elapsedMs >= qint64{options_.minutes} * 60'000;
    return counted || timed;
}

std::vector<RecognitionStats> RecognitionDrill::Results() const
{
    std::vector<RecognitionStats> stats = RecognitionByCharacter(answers_);
    SortSlowestFirst(stats);
    return stats;
}

QSet<QString> RecognitionDrill::Known() const
{
    std::vector<DrillRecord> drills = earlier_;
    drills.push_back(Record(QDateTime(), 0));
    return KnownCharacters(drills, options_.targetMs);
}

DrillRecord RecognitionDrill::Record(const QDateTime& ended, int durationSeconds) const
{
    DrillRecord d;
    d.kind = DrillKind::Recognition;
    d.ended = ended;
    d.durationSeconds = durationSeconds;
    d.characterWpm = options_.characterWpm;
    d.answers = answers_;
    return d;
}

}  // namespace lumbrel
