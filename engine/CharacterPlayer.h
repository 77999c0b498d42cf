#pragma once
// Plays a few characters at a time for the drills, through the trainer's audio stream
// engine on the trainer's device: one character, or the characters of a callsign, as
// a run of its own (one character per buffer, as in a session) rendered by a
// SignalRenderer at the main signal's speed and tone. The last character's slot ends
// with its last mark, so the completion of its buffer is the moment that mark was
// heard, which the device reports (heardTick).
//
// Playing again (a replay, the next character) drops what is still on the device
// first, so that the new sound starts within one output latency. The player shares the
// engine with the trainer and must not play while a session does; while it plays, the
// buffer-done messages are its own (TakeMessage), otherwise the trainer's.
//
// UI thread only.
#include <cstdint>
#include <functional>
#include <vector>

#include "morse/Random.h"
#include "engine/AudioStreamEngine.h"
#include "engine/SessionOptions.h"
#include "engine/SignalRenderer.h"
#include "engine/SpokenAnswers.h"
#include "text/OneShotSymbols.h"

namespace lumbrel {

class CharacterPlayer {
public:
    // How the characters sound: the main window's speed and pitch and, with the band
    // conditions, its noise, signal strength, fading and dither.
    struct Sound {
        int wpm = 25;
        int pitchHz = 750;
        bool bandConditions = false;
        bool speak = false;  // "Speak the answer": the characters spoken after them
    };

    // engine: the trainer's, open; main and options: the main signal and the session's
    // options, whose switches (straight key, fist, weighting, chirp) and, with the band
    // conditions, impairments each Play takes over.
    CharacterPlayer(AudioStreamEngine& engine, const SignalRenderer& main, const SessionOptions& options,
                    const SettingsStore& store, std::uint32_t seed = 1);
    ~CharacterPlayer();
    CharacterPlayer(const CharacterPlayer&) = delete;
    CharacterPlayer& operator=(const CharacterPlayer&) = delete;

    // Drops what is playing and plays the characters; false (with the reason in
    // LastError) when there is nothing to play or the device refused at once. A device
    // that refuses a buffer later stops the player and tells `failed`.
    bool Play(const std::vector<const MorseCharacter*>& characters, const Sound& sound);
    // Drops what is playing; no heard report follows for it.
    void Stop();
    bool Playing() const { return playing_; }
    const AudioResult& LastError() const { return error_; }

    // A message of the window's queue, before the trainer: true when it was the
    // player's (a buffer-done message while it plays).
    bool TakeMessage(int message, std::intptr_t lParam);

    // The last mark of the characters given to Play was heard at this tick.
    std::function<void(std::uint32_t heardTick)> heard;
    // A buffer of the characters given to Play was refused: nothing more plays.
    std::function<void(const AudioResult& reason)> failed;

private:
    void Fail(const AudioResult& reason);

    AudioStreamEngine& engine_;
    const SignalRenderer& main_;
    const SessionOptions& mainOptions_;
    SettingsStore store_;
    RandomNumber random_;
    SessionOptions options_;  // the session's, the impairments off without band conditions
    std::vector<const MorseCharacter*> characters_;
    SignalRenderer signal_;
    SpokenAnswers spoken_{signal_, true};
    OneShotSymbols source_;
    std::uint32_t run_ = 0;  // the engine's run of the latest Play
    int inFlight_ = 0;       // buffers of that run on the device
    bool sourceEnded_ = false;
    bool playing_ = false;
    AudioResult error_ = AudioResult::Success();
};

}  // namespace lumbrel
