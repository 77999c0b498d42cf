#include "engine/CharacterPlayer.h"

namespace lumbrel {

CharacterPlayer::CharacterPlayer(AudioStreamEngine& engine, const SignalRenderer& main,
                                 const SessionOptions& options, const SettingsStore& store,
                                 std::uint32_t seed)
    : engine_(engine),
      main_(main),
      mainOptions_(options),
      store_(store),
      random_(seed),
      signal_(random_, options_, characters_, store_) {
    signal_.SetRandomGroups(false);
    signal_.SetEndAtLastMark(true);
}

CharacterPlayer::~CharacterPlayer() {
    Stop();
}

void CharacterPlayer::Stop() {
    playing_ = false;
    if (inFlight_ > 0) {
        if (const AudioResult dropped = engine_.Drop(); !dropped.Ok())
            error_ = dropped;
    }
    inFlight_ = 0;
}

bool CharacterPlayer::Play(const std::vector<const MorseCharacter*>& characters, const Sound& sound) {
    error_ = AudioResult::Success();
    Stop();
    if (!error_.Ok())
        return false;
    (void)engine_.UseLatency(AudioStreamEngine::kShortLatencySeconds);
    // A device that failed (a sound server that went away and came back) or could not
    // be opened is opened again first, as before a session.
    if (!engine_.Ready()) {
        if (const AudioResult reopened = engine_.Reopen(); !reopened.Ok()) {
            error_ = reopened;
            return false;
        }
    }
    if (characters.empty())
        return false;
    characters_ = characters;

    // The main signal's switches always; its noise, strength, fading and dither with
    // the band conditions only. Never the effective speed's stretch or the drift.
    options_ = mainOptions_;
    signal_.Impairments() = sound.bandConditions ? main_.Impairments() : Impairments();
    signal_.Impairments().EffectivePermille = 1000;
    if (!sound.bandConditions) {
        options_.Set(Option::Noise, 0);
        options_.Set(Option::Signal, 7);  // S9: full strength
        for (Option option : {Option::Fading, Option::SpeedStep, Option::PitchDither})
            options_.Set(option, 0);
    }
    const RendererState& switches = main_.Switches();
    signal_.Switches().SetStraightKey(switches.StraightKeyOn);
    signal_.Switches().SetFist(switches.FistSetting);
    signal_.Switches().SetVariableWeighting(switches.VariableWeightingOn);
    signal_.Switches().SetChirp(switches.ChirpOn);
    signal_.Switches().SetDrift(false);
    signal_.SetWpm(sound.wpm);
    signal_.SetPitch(sound.pitchHz);

    // A drill's sound is not part of a recording armed for the next session.
    source_.Load(static_cast<int>(characters_.size()));
    spoken_.Begin();
    run_ = engine_.Start(source_, sound.speak ? static_cast<SlotRenderer&>(spoken_) : signal_, false);
    inFlight_ = 0;
    sourceEnded_ = false;
    playing_ = true;
    return true;
}

bool CharacterPlayer::TakeMessage(int message, std::intptr_t lParam) {
    if ((message != kBufferDoneMessage && message != kWaveOutDoneMessage) || !playing_)
        return false;
    const AudioStreamEngine::Completion done = engine_.Complete(reinterpret_cast<AudioBufferHeader*>(lParam));
    if (done.buffer) {
        if (done.run != run_)
            return true;  // dropped by a later Play
        --inFlight_;
        if (sourceEnded_ && inFlight_ == 0) {
            playing_ = false;
            if (heard) {
                const auto tell = heard;  // the listener may set another
                tell(done.heardTick);
            }
            return true;
        }
    }
    // A primed completion (of this Play or of one it replaced) or one of this run's
    // buffers: at most two buffers on the device, as in a session.
    if (sourceEnded_ || inFlight_ >= AudioStreamEngine::kPrimedCompletions)
        return true;
    switch (engine_.QueueNext().queued) {
        case AudioStreamEngine::Queued::Buffer:
            ++inFlight_;
            break;
        case AudioStreamEngine::Queued::SourceEnded:
            sourceEnded_ = true;
            break;
        case AudioStreamEngine::Queued::Lost:
            Fail(engine_.LastFault());
            break;
        case AudioStreamEngine::Queued::NotSendable:
            Fail(AudioResult::Failure(AudioError::InvalidParameter));
            break;
    }
    return true;
}

void CharacterPlayer::Fail(const AudioResult& reason) {
    Stop();
    error_ = reason;
    if (failed) {
        const auto tell = failed;
        tell(reason);
    }
}

}  // namespace lumbrel
