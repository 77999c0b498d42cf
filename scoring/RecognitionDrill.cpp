#include "scoring/RecognitionDrill.h"

#include <algorithm>

namespace lumbrel {

int LearnerTargetMs(const SettingsStore& store) {
    return std::clamp(store.Read(keys::DrillTarget), 200, 5000);
}

RecognitionDrill::RecognitionDrill(const QStringList& characters, RecognitionOptions options,
                                   MissTallies history, std::vector<DrillRecord> earlier, std::uint32_t seed)
    : options_(options),
      history_(std::move(history)),
      earlier_(std::move(earlier)),
      random_(seed) {
    for (const QString& c : characters)
        if (!c.isEmpty() && !characters_.contains(c.toLower()))
            characters_ << c.toLower();
    inPlay_ = options_.growing ? std::min<qsizetype>(kGrowingStart, characters_.size()) : characters_.size();
}

std::vector<int> RecognitionDrill::Weights() const {
    const QStringList inPlay = InPlay();
    MissTallies tallies;
    for (const QString& c : inPlay) {
        const auto it = history_.constFind(c);
        if (it == history_.cend() || it->tries <= 0)
            continue;
        const double scale = std::min(1.0, kHistoryTries / it->tries);
        tallies[c] = {it->tries * scale, it->missed * scale};
    }
    for (const RecognitionAnswer& a : answers_)
        TallyAnswer(tallies, a, options_.targetMs);
    return WeakCharacterWeights(inPlay, tallies);
}

QString RecognitionDrill::Next() {
    if (characters_.isEmpty())
        return {};
    if (options_.growing && !answers_.empty() && !answers_.back().Right() && !answers_.back().Early())
        return answers_.back().character;  // asked again until right
    const std::vector<int> weights = Weights();
    return characters_.at(DrawWeighted(random_, weights));
}

RecognitionDrill::Outcome RecognitionDrill::Answer(const QString& character, const QString& answer,
                                                   int reactionMs, bool early) {
    RecognitionAnswer a{character.toLower(), answer, early ? -1 : reactionMs, early};
    if (answer.isEmpty() || (!early && (reactionMs < 0 || reactionMs > options_.timeLimitMs)))
        a = {character.toLower(), QString(), -1};
    answers_.push_back(a);
    Grow();
    if (a.TimedOut())
        return Outcome::TooLate;
    if (a.Early())
        return Outcome::Early;
    return a.Right() ? Outcome::Right : Outcome::Wrong;
}

void RecognitionDrill::Grow() {
    if (!options_.growing || inPlay_ >= characters_.size())
        return;
    const QSet<QString> known = KnownCharacters({Record(QDateTime(), 0)}, options_.targetMs, 1);
    const qsizetype knownInPlay = std::count_if(characters_.cbegin(), characters_.cbegin() + inPlay_,
                                                [&](const QString& c) { return known.contains(c); });
    inPlay_ = std::clamp<qsizetype>(kGrowingStart + knownInPlay, inPlay_, characters_.size());
}

bool RecognitionDrill::Over(qint64 elapsedMs) const {
    const bool counted = options_.characters > 0 && static_cast<int>(answers_.size()) >= options_.characters;
    const bool timed = options_.minutes > 0 && elapsedMs >= qint64{options_.minutes} * 60'000;
    return counted || timed;
}

std::vector<RecognitionStats> RecognitionDrill::Results() const {
    std::vector<RecognitionStats> stats = RecognitionByCharacter(answers_);
    SortSlowestFirst(stats);
    return stats;
}

QSet<QString> RecognitionDrill::Known() const {
    std::vector<DrillRecord> drills = earlier_;
    drills.push_back(Record(QDateTime(), 0));
    return KnownCharacters(drills, options_.targetMs);
}

DrillRecord RecognitionDrill::Record(const QDateTime& ended, int durationSeconds) const {
    DrillRecord d;
    d.kind = DrillKind::Recognition;
    d.ended = ended;
    d.durationSeconds = durationSeconds;
    d.characterWpm = options_.characterWpm;
    d.answers = answers_;
    return d;
}

}  // namespace lumbrel
