#include "scoring/CallsignRun.h"

#include <algorithm>

namespace lumbrel {

CallsignRun::CallsignRun(CallsignRunOptions options, std::uint32_t seed, std::optional<int> bestBefore)
    : options_(options),
      draw_(seed),
      maker_(draw_),
      bestBefore_(bestBefore) {
    options_.calls = std::max(1, options_.calls);
    options_.maxWpm = std::clamp(options_.maxWpm, kMinWpm, kMaxWpm);
    options_.startWpm = std::clamp(options_.startWpm, kMinWpm, options_.maxWpm);
    options_.stepWpm = std::clamp(options_.stepWpm, 1, kMaxStepWpm);
    options_.pitchSpreadHz = std::clamp(options_.pitchSpreadHz, 0, kMaxPitchSpreadHz);
    wpm_ = options_.startWpm;
    Draw();
}

void CallsignRun::Draw() {
    replayed_ = false;
    if (Over())
        call_.clear();
    else if (!pool_.empty())
        call_ = QString::fromStdString(draw_.Pick(pool_));
    else
        call_ = QString::fromStdString(maker_.Next());
    const int spread = options_.pitchSpreadHz;
    pitchOffsetHz_ = spread > 0 && !Over() ? draw_.Below(2 * spread + 1) - spread : 0;
}

void CallsignRun::DrawFrom(std::vector<std::string> calls) {
    pool_ = std::move(calls);
    if (played_.empty())
        Draw();
}

std::vector<std::string> CallsignRun::MissedCalls(const std::vector<DrillRecord>& runs) {
    std::vector<std::string> missed;
    for (const DrillRecord& run : runs)
        for (const CallAttempt& attempt : run.calls) {
            const std::string call = attempt.call.toStdString();
            if (!attempt.Right() && std::find(missed.begin(), missed.end(), call) == missed.end())
                missed.push_back(call);
        }
    return missed;
}

bool CallsignRun::Replay() {
    if (Over() || replayed_)
        return false;
    replayed_ = true;
    return true;
}

int CallsignRun::Points(int wpm, const QString& call, bool replayed, int wrong) {
    if (wrong > 1)
        return 0;
    const int points = wpm * static_cast<int>(call.size());
    const int heard = replayed ? points / 2 : points;
    return wrong == 1 ? heard / 2 : heard;
}

std::optional<CallsignRun::Checked> CallsignRun::Enter(const QString& copied) {
    if (Over())
        return std::nullopt;
    Checked checked{CallAttempt{call_, copied, wpm_, replayed_, 0}, CopyScore::Score(call_, copied)};
    CallAttempt& a = checked.attempt;
    // A copy that differs only in what the score does not count (a slash typed as
    // another sign) is still one wrong character.
    const int wrong = a.Right() ? 0 : std::max(1, checked.score.Errors());
    a.points = Points(wpm_, call_, replayed_, wrong);
    score_ += a.points;
    if (a.Right()) {
        topWpm_ = std::max(topWpm_, wpm_);
        wpm_ = std::min(options_.maxWpm, wpm_ + options_.stepWpm);
    } else {
        wpm_ = std::max(kMinWpm, wpm_ - options_.stepWpm);
    }
    played_.push_back(a);
    Draw();
    return checked;
}

std::vector<CallAttempt> CallsignRun::Missed() const {
    std::vector<CallAttempt> missed;
    std::copy_if(played_.begin(), played_.end(), std::back_inserter(missed),
                 [](const CallAttempt& a) { return !a.Right(); });
    return missed;
}

DrillRecord CallsignRun::Record(const QDateTime& ended, int durationSeconds) const {
    DrillRecord d;
    d.kind = DrillKind::Callsigns;
    d.ended = ended;
    d.durationSeconds = durationSeconds;
    d.characterWpm = options_.startWpm;
    d.calls = played_;
    d.stepWpm = options_.stepWpm;
    d.topWpm = topWpm_;
    d.score = score_;
    return d;
}

}  // namespace lumbrel
