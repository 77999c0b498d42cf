#pragma once
// The two drills as they run: each drives a CharacterPlayer on the trainer's engine and
// reads the time from the trainer's clock; the rules (what comes next, what an answer
// counts as, the score) are the models' of scoring/. A window (or a test) feeds them the
// learner's keys and a timer tick, and shows what the view hears; the finished drill is
// stored in the history.
//
// UI thread only; on a VirtualClock and a VirtualAudioDevice they run without a display
// or a sound card.
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "audio/Clock.h"
#include "morse/MorseCharacter.h"
#include "scoring/CallsignRun.h"
#include "scoring/History.h"
#include "scoring/RecognitionDrill.h"
#include "engine/CharacterPlayer.h"

namespace lumbrel {

// What a drill tells its window. Every call is made after the drill's state has moved.
class DrillView {
public:
    virtual ~DrillView() = default;
    // Recognition: an answer was taken (right, wrong or none within the time limit);
    // for the two last, the right character is shown and plays again.
    virtual void Answered(const RecognitionAnswer& /*answer*/, RecognitionDrill::Outcome /*outcome*/) {}
    // Callsign run: a copy was entered; wrong characters are marked in `checked.score`.
    virtual void CallChecked(const CallsignRun::Checked& /*checked*/) {}
    // The drill is over and stored (stored: the history's id; nothing when it could not
    // be, or nothing was answered).
    virtual void Finished(const DrillRecord& /*record*/, std::optional<qint64> /*stored*/) {}
    // The device refused to play; the drill has stopped.
    virtual void SoundFailed(const QString& /*reason*/) {}
};

// The lookup of a character's record by its display text (lower case).
using CharacterLookup = std::function<const MorseCharacter*(const QString& display)>;

// Instant recognition: one character at a time; the reaction time runs from the heard
// end of its last mark (the device's report) to the key; a key before that end (from
// the moment the character is asked to play) is an early answer, without a time. A
// right or early answer goes straight on; a wrong one or none within the time limit
// plays the right character again, and the drill goes on a short pause after that has
// been heard.
class RecognitionDrillController {
public:
    static constexpr int kPauseAfterCorrectionMs = 700;

    enum class State { Idle, Playing, Waiting, Correcting, Pausing, Over };

    RecognitionDrillController(CharacterPlayer& player, const Clock& clock, CharacterLookup lookup,
                               std::unique_ptr<RecognitionDrill> drill, CharacterPlayer::Sound sound,
                               History* history, DrillView& view);

    void Start();
    // A key typed: its text (one character). Characters shown with several letters
    // (a user's own) take as many keys; the time is that of the last.
    void KeyTyped(const QString& text);
    // The timer: the time limit and the pause after a correction.
    void Tick();
    // Ends the drill now and stores what was answered.
    void Stop();

    State CurrentState() const { return state_; }
    const QString& Current() const { return current_; }
    const RecognitionDrill& Drill() const { return *drill_; }
    // The character's heard end, while waiting for the answer.
    std::optional<std::uint32_t> HeardTick() const { return heardTick_; }

private:
    void PlayNext();
    void Take(const QString& answer, int reactionMs, bool early);
    bool PlayCurrent();
    void OnHeard(std::uint32_t tick);
    void SoundFailed(const AudioResult& reason);
    void Finish();

    CharacterPlayer& player_;
    const Clock& clock_;
    CharacterLookup lookup_;
    std::unique_ptr<RecognitionDrill> drill_;
    CharacterPlayer::Sound sound_;
    History* history_;
    DrillView& view_;
    State state_ = State::Idle;
    QString current_;
    QString typed_;
    std::optional<std::uint32_t> heardTick_;
    std::uint32_t startTick_ = 0;
    std::uint32_t pauseTick_ = 0;
};

// Callsign runs: each call plays once at the run's speed (and its own pitch, when the
// run varies it); Enter takes the copy, scores it and plays the next call; one replay
// per call. The last Enter ends the run.
class CallsignRunController {
public:
    // The pitch range of the main window, which a call's own pitch keeps to.
    static constexpr int kLowestPitchHz = 350;
    static constexpr int kHighestPitchHz = 1500;

    enum class State { Idle, Running, Over };

    CallsignRunController(CharacterPlayer& player, const Clock& clock, CharacterLookup lookup,
                          std::unique_ptr<CallsignRun> run, CharacterPlayer::Sound sound, History* history,
                          DrillView& view);

    void Start();
    // The replay key: true when the call plays again (once per call).
    bool Replay();
    // Enter with what was typed.
    void Enter(const QString& copied);
    void Stop();

    State CurrentState() const { return state_; }
    const CallsignRun& Run() const { return *run_; }

private:
    bool PlayCall();
    void SoundFailed(const AudioResult& reason);
    void Finish();

    CharacterPlayer& player_;
    const Clock& clock_;
    CharacterLookup lookup_;
    std::unique_ptr<CallsignRun> run_;
    CharacterPlayer::Sound sound_;
    History* history_;
    DrillView& view_;
    State state_ = State::Idle;
    std::uint32_t startTick_ = 0;
};

}  // namespace lumbrel
