#include "drills/DrillControllers.h"

#include <QCoreApplication>
#include <QDateTime>

#include <algorithm>
#include <utility>

namespace lumbrel {

namespace {

std::optional<qint64> Store(History* history, const DrillRecord& record, bool anything) {
    if (!history || !anything || !history->Open())
        return std::nullopt;
    return history->AddDrill(record);
}

int SecondsSince(const Clock& clock, std::uint32_t startTick) {
    return static_cast<int>((clock.TickCount() - startTick) / 1000);
}

}  // namespace

// --- Instant recognition --------------------------------------------------------------

RecognitionDrillController::RecognitionDrillController(CharacterPlayer& player, const Clock& clock,
                                                       CharacterLookup lookup,
                                                       std::unique_ptr<RecognitionDrill> drill,
                                                       CharacterPlayer::Sound sound, History* history,
                                                       DrillView& view)
    : player_(player),
      clock_(clock),
      lookup_(std::move(lookup)),
      drill_(std::move(drill)),
      sound_(sound),
      history_(history),
      view_(view) {}

void RecognitionDrillController::Start() {
    if (state_ != State::Idle)
        return;
    player_.heard = [this](std::uint32_t tick) {
        OnHeard(tick);
    };
    player_.failed = [this](const AudioResult& reason) {
        SoundFailed(reason);
    };
    startTick_ = clock_.TickCount();
    PlayNext();
}

bool RecognitionDrillController::PlayCurrent() {
    const MorseCharacter* record = lookup_(current_);
    if (record && player_.Play({record}, sound_))
        return true;
    if (record) {
        SoundFailed(player_.LastError());
    } else {
        Finish();
        view_.SoundFailed(QCoreApplication::translate("lumbrel::DrillControllers",
                                                      "The character %1 is not in the character list.")
                              .arg(current_));
    }
    return false;
}

void RecognitionDrillController::SoundFailed(const AudioResult& reason) {
    Finish();
    view_.SoundFailed(QString::fromStdString(reason.Text()));
}

void RecognitionDrillController::PlayNext() {
    if (drill_->Over(static_cast<qint64>(clock_.TickCount() - startTick_))) {
        Finish();
        return;
    }
    current_ = drill_->Next();
    typed_.clear();
    heardTick_.reset();
    state_ = State::Playing;
    PlayCurrent();
}

void RecognitionDrillController::OnHeard(std::uint32_t tick) {
    if (state_ == State::Playing) {
        heardTick_ = tick;
        state_ = State::Waiting;
    } else if (state_ == State::Correcting) {
        pauseTick_ = tick;
        state_ = State::Pausing;
    }
}

void RecognitionDrillController::KeyTyped(const QString& text) {
    if ((state_ != State::Playing && state_ != State::Waiting) || text.isEmpty())
        return;
    // A key from the moment the character is asked to play until its heard end is
    // early: it has no reaction time, and the right character counts for nothing.
    const bool early = state_ == State::Playing;
    const int reactionMs = early ? -1 : static_cast<int>(clock_.TickCount() - *heardTick_);
    typed_ += text.toLower();
    if (typed_.size() < current_.size() && current_.startsWith(typed_))
        return;
    Take(typed_, reactionMs, early);
}

void RecognitionDrillController::Tick() {
    const std::uint32_t now = clock_.TickCount();
    if (state_ == State::Waiting && heardTick_ &&
        now - *heardTick_ > static_cast<std::uint32_t>(drill_->Options().timeLimitMs)) {
        Take(QString(), -1, false);
    } else if (state_ == State::Pausing &&
               now - pauseTick_ >= static_cast<std::uint32_t>(kPauseAfterCorrectionMs)) {
        PlayNext();
    }
}

void RecognitionDrillController::Take(const QString& answer, int reactionMs, bool early) {
    const RecognitionDrill::Outcome outcome = drill_->Answer(current_, answer, reactionMs, early);
    view_.Answered(drill_->Answers().back(), outcome);
    if (state_ == State::Over)
        return;  // the view stopped the drill
    if (outcome == RecognitionDrill::Outcome::Right || outcome == RecognitionDrill::Outcome::Early) {
        PlayNext();
        return;
    }
    state_ = State::Correcting;
    PlayCurrent();
}

void RecognitionDrillController::Stop() {
    if (state_ != State::Idle && state_ != State::Over)
        Finish();
}

void RecognitionDrillController::Finish() {
    state_ = State::Over;
    player_.Stop();
    player_.heard = nullptr;
    player_.failed = nullptr;
    const DrillRecord record = drill_->Record(QDateTime::currentDateTime(), SecondsSince(clock_, startTick_));
    view_.Finished(record, Store(history_, record, !record.answers.empty()));
}

// --- Callsign runs -----------------------------------------------------------------------

CallsignRunController::CallsignRunController(CharacterPlayer& player, const Clock& clock,
                                             CharacterLookup lookup, std::unique_ptr<CallsignRun> run,
                                             CharacterPlayer::Sound sound, History* history, DrillView& view)
    : player_(player),
      clock_(clock),
      lookup_(std::move(lookup)),
      run_(std::move(run)),
      sound_(sound),
      history_(history),
      view_(view) {}

void CallsignRunController::Start() {
    if (state_ != State::Idle)
        return;
    player_.failed = [this](const AudioResult& reason) {
        SoundFailed(reason);
    };
    startTick_ = clock_.TickCount();
    state_ = State::Running;
    PlayCall();
}

bool CallsignRunController::PlayCall() {
    std::vector<const MorseCharacter*> characters;
    for (const QChar c : run_->Call()) {
        if (const MorseCharacter* record = lookup_(QString(c).toLower()))
            characters.push_back(record);
    }
    CharacterPlayer::Sound sound = sound_;
    sound.wpm = run_->Wpm();
    sound.pitchHz = std::clamp(sound_.pitchHz + run_->PitchOffsetHz(), kLowestPitchHz, kHighestPitchHz);
    if (player_.Play(characters, sound))
        return true;
    SoundFailed(player_.LastError());
    return false;
}

void CallsignRunController::SoundFailed(const AudioResult& reason) {
    Finish();
    view_.SoundFailed(QString::fromStdString(reason.Text()));
}

bool CallsignRunController::Replay() {
    return state_ == State::Running && run_->Replay() && PlayCall();
}

void CallsignRunController::Enter(const QString& copied) {
    if (state_ != State::Running)
        return;
    const std::optional<CallsignRun::Checked> checked = run_->Enter(copied);
    if (checked)
        view_.CallChecked(*checked);
    if (state_ != State::Running)
        return;  // the view stopped the run
    if (run_->Over())
        Finish();
    else
        PlayCall();
}

void CallsignRunController::Stop() {
    if (state_ == State::Running)
        Finish();
}

void CallsignRunController::Finish() {
    state_ = State::Over;
    player_.Stop();
    player_.failed = nullptr;
    const DrillRecord record = run_->Record(QDateTime::currentDateTime(), SecondsSince(clock_, startTick_));
    view_.Finished(record, Store(history_, record, !record.calls.empty()));
}

}  // namespace lumbrel
