#include "session/Trainer.h"

#include <QCoreApplication>

#include <algorithm>
#include <utility>

#include <QDir>
#include <QFile>

#include "morse/SampleFormat.h"
#include "engine/EffectiveSpeed.h"
#include "recording/Transcript.h"

namespace lumbrel {

Trainer::Trainer(Dependencies deps)
    : settings_(std::move(deps.store)),
      sessionClock_(deps.clock),
      window_(deps.window),
      host_(deps.host),
      rig_(deps.rig),
      random_(deps.seed),
      characters_(settings_.Store(), *this),
      signal_(random_, options_, characters_, settings_.Store()),
      display_(readouts_, sent_, window_),
      sources_(*this,
               [this]() -> const std::vector<const MorseCharacter*>& { return characters_.ActiveSet(); }),
      recorder_([this](const QString& text, const QString& caption) {
          host_.ShowMessage(text, caption, MessageKind::Error);
      }),
      qrm_(QrmStations::Dependencies{
          .devices = deps.qrmAudio,
          .window = window_,
          .random = random_,
          .characters = [this]() -> const std::vector<const MorseCharacter*>& {
              return characters_.CharacterList();
          },
          .messageBox =
              [this](const QString& text, const QString& caption, TCWSender::MessageIcon icon) {
                  // A station's failure during a session (its stream failing with the main
                  // one) is told with the session's own, once, when the session ends.
                  if (SessionActive())
                      NoteSoundFault(text, caption);
                  else
                      host_.ShowMessage(
                          text, caption,
                          icon == TCWSender::MessageIcon::Error ? MessageKind::Error : MessageKind::Warning);
              },
          .groupSent =
              [this](int station) {
                  RearmQrmStation(station);
              }}),
      engine_(deps.audio, window_, *this) {}

Trainer::~Trainer() = default;

// --- CharacterWindows ------------------------------------------------------------

int Trainer::CharacterCount() const {
    return options_.Get(Option::CharacterCount);
}

void Trainer::SetCharacterCount(int count) {
    // Lowering the count to a new maximum is not a user change: the mask stays.
    options_.Set(Option::CharacterCount, count);
}

int Trainer::CharacterCountMaximum() const {
    return options_.Maximum(Option::CharacterCount);
}

void Trainer::SetCharacterCountMaximum(int maximum) {
    options_.SetCharacterCountMaximum(maximum);
}

void Trainer::SetCharacterCaptions(const QStringList& captions) {
    host_.SetCharacterCaptions(captions);
}

void Trainer::ShowCharacterBoxes(int count) {
    host_.ShowCharacterBoxes(count);
}

void Trainer::SetListener(SessionListener* listener) {
    options_.SetListener(listener);
    readouts_.SetListener(listener);
}

// --- Window life -------------------------------------------------------------------

void Trainer::FormCreate() {
    settings_.RestoreOptions(
        options_, [this](Option option) { OptionChosen(option); }, givenOptions_ ? &*givenOptions_ : nullptr);
    settings_.RestoreCopies();
    const Copies& copies = settings_.SettingCopies();
    options_.Set(Option::SingleWords, copies.singleWordOnly ? 1 : 0);
    qrm_.SetUseCallbacks(copies.callback != 0);
    signal_.SetSpeedDitherSize(copies.speedDitherSize);
    display_.SetSingleWordOnly(copies.singleWordOnly);
    sources_.Groups().SetFavourRecent(copies.favourRecent);
    characters_.SetOrder(copies.useMfj ? LearningOrder::Mfj : LearningOrder::Koch);
    sessionClock_.SetLengthMinutes(settings_.StoredSessionMinutes());

    signal_.SetWpm(options_.CharacterWpm());
    OpenAudio();
    OptionChosen(Option::DisplayDelay);
    EffectiveSpeedChosen();
    signal_.Impairments().SpeedDither = 0;
    signal_.Impairments().PitchDither = Impairments::kNoPitchDither;
    signal_.SetPitch(options_.Get(Option::Pitch));
    engine_.Gain().SetDb(settings_.Store().Read(keys::Volume));
    qrm_.SetVolumeDb(engine_.Gain().Db());
}

void Trainer::FormShow() {
    // Free to close, unless a session runs: the window may come back from the
    // notification area in the middle of one.
    if (!SessionActive())
        mayClose_ = true;
    settings_.ReadSentFont();
    // The first showing.
    if (!characters_.Shown()) {
        characters_.SetShown();
        characters_.RebuildCharacterList();
        characters_.RebuildActiveSet();
        opening_.CountNow(CharacterCount());
        // The restored Chirp box found no character list to apply itself to.
        ApplyChirp();
    }
}

void Trainer::FormClose() {
    // A close while the last buffers of a stopped session still play ends that session
    // here: its recordings are finished and the rig is unkeyed.
    if (SessionActive())
        EndOfSession();
    settings_.Save(options_);
    // The rig port before the audio output, so that nothing can fail in between.
    if (rig_)
        rig_->CloseRigPort();
    engine_.Close();
}

void Trainer::OpenAudio() {
    const AudioResult result = engine_.Open(settings_.SettingCopies().callback != 0);
    if (!result.Ok())
        TellNoSoundOutput(result);
}

// The device's reason, what to look at, and a note in the status line that stays until
// a session plays (a session start clears the status line).
void Trainer::TellNoSoundOutput(const AudioResult& result) {
    QString reason = QString::fromStdString(result.Text()).trimmed();
    if (!reason.isEmpty() && !reason.endsWith(QLatin1Char('.')))
        reason += QLatin1Char('.');
    readouts_.SetStatus(QCoreApplication::translate("lumbrel::Trainer", "  No sound output"));
    host_.ShowMessage(QCoreApplication::translate(
                          "lumbrel::Trainer",
                          "No sound output: %1 Check that PipeWire or PulseAudio is running and that "
                          "an output device is selected in the desktop's sound settings.")
                          .arg(reason),
                      QStringLiteral("waveOutOpen"), MessageKind::Error);
}

// Before a session: a device that could not be opened (a headset plugged in after the
// program started) or that failed during the last session (a sound server that went
// away and came back) is opened again, so that Start works without a restart. Without
// sound output no session begins; one message says why.
bool Trainer::EnsureAudioOpen() {
    if (engine_.Ready())
        return true;
    const AudioResult result = engine_.Open(settings_.SettingCopies().callback != 0);
    if (result.Ok())
        return true;
    TellNoSoundOutput(result);
    return false;
}

// A call of the device failed during the session: the engine opens it again before
// the next session.
void Trainer::StreamFault(const AudioResult& result, const QString& caption) {
    NoteSoundFault(QString::fromStdString(result.Text()), caption);
}

// Only the first sound failure of a session is kept, and told once when it ends.
void Trainer::NoteSoundFault(const QString& text, const QString& caption) {
    if (soundFault_.text.isEmpty()) {
        soundFault_.text = text;
        soundFault_.caption = caption;
    }
}

// No buffer is in flight and no primed event is pending, so no event will come home to
// carry the session on or end it: every write failed (a device that went away). Rather
// than sit "running" in silence, the session ends as after Stop.
void Trainer::EndWithNothingInFlight() {
    if (!SessionActive() || engine_.Pending() != 0)
        return;
    soundFault_.lost = true;
    EndOfSession();
}

// --- Session controller ----------------------------------------------------------

SessionState Trainer::State() const {
    if (state_ == SessionState::Idle && sessionClock_.CountdownPending())
        return SessionState::Countdown;
    return state_;
}

void Trainer::OfferCommands(bool idle) {
    readouts_.SetCommandsEnabled(idle);
    readouts_.SetCharacterCountEditable(idle);
    readouts_.SetClockRunning(!idle);
}

void Trainer::Start() {
    // Never two pipelines over buffers still in flight: a start while a session runs,
    // winds down or counts down is ignored.
    if (SessionActive() || sessionClock_.CountdownPending())
        return;
    if (!EnsureAudioOpen())
        return;
    const int pause = settings_.Store().Read(keys::Pause);
    if (pause <= 0) {
        sources_.Select(SourceKind::RandomGroups);
        if (!BeginSession())
            return;
    } else {
        sessionClock_.StartCountdown(pause);
        readouts_.SetClock(QString::number(pause));
    }
    OfferCommands(false);
}

bool Trainer::BeginSession() {
    if (SessionActive() || characters_.ActiveSet().size() < 2)
        return false;
    // A failure to open again at the new latency is told by EnsureAudioOpen.
    (void)engine_.UseLatency(AudioStreamEngine::SessionLatencySeconds(signal_.Wpm()));
    if (!EnsureAudioOpen())
        return false;
    sessionClock_.StartSessionClock();
    mayClose_ = false;
    signal_.Switches().SetVariableWeighting(options_.On(Option::Weighting));
    signal_.Switches().SetFist(settings_.SettingCopies().straightKeyFist);
    characters_.RebuildActiveSet();
    if (characters_.ActiveSet().size() < 2)
        return false;
    opening_.SessionBegins(random_, sources_.Groups(), settings_.Store());
    soundFault_ = SoundFault{};
    charactersSent_ = -2;
    sessionText_.clear();
    readouts_.SetStatus(QString());
    sources_.Groups().Begin(random_);
    sent_.Clear();
    state_ = SessionState::Running;
    sessionClock_.RestartTicks();
    readouts_.SetClock(QStringLiteral("00:00"));
    display_.ResetPendingWord();
    display_.SetSourceKind(sources_.Kind());
    display_.SetWordListSession(false);
    // A port that is not open (unplugged, or missing when the program started) is tried
    // again here, so that an interface plugged back in keys the next session.
    if (rig_)
        rig_->RaiseRigLines();
    signal_.SetRandomGroups(sources_.Kind() == SourceKind::RandomGroups);
    spoken_.Begin();
    const bool speak = SpeakAnswers() && sources_.Kind() == SourceKind::RandomEntries && list_.asWords;
    const auto& list = characters_.CharacterList();
    const int count = CharacterCount();
    engine_.Start(
        opening_.Symbols(sources_.Current(), sources_.Kind(), settings_.Store(), characters_.ActiveSet(),
                         count > 0 && count < static_cast<int>(list.size()) ? list[count] : nullptr),
        speak ? static_cast<SlotRenderer&>(spoken_) : signal_);
    if (options_.On(Option::Qrm))
        StartQrmStations();
    return true;
}

void Trainer::Stop() {
    display_.SetParameterLineMode(false);
    if (!characters_.CharacterList().empty())
        signal_.Switches().SetDrift(false);
    if (options_.On(Option::Qrm))
        qrm_.Close();
    if (state_ == SessionState::Running && !sessionClock_.CountdownPending()) {
        state_ = SessionState::Stopping;
        // Every buffer was lost to device failures: no event will come to end the session.
        if (engine_.Pending() == 0)
            EndOfSession();
        return;
    }
    mayClose_ = true;
    sessionClock_.CancelCountdown();
    OfferCommands(true);
}

void Trainer::Finish() {
    OfferCommands(true);
    host_.RequestClose();
}

bool Trainer::FormCloseQuery() {
    if (mayClose_)
        return true;
    Stop();
    return false;
}

void Trainer::TimerTick() {
    signal_.Impairments().AdvanceFading();
    switch (sessionClock_.BeginTick()) {
        case SessionClock::Second::None:
            break;
        case SessionClock::Second::SessionSecond: {
            const int elapsed = sessionClock_.ElapsedSeconds();
            readouts_.SetClock(SessionClock::ClockText(elapsed));
            if (sources_.Kind() == SourceKind::RandomGroups && sessionClock_.TimeUp(elapsed)) {
                Stop();
                readouts_.SetClockRunning(false);
            }
            break;
        }
        case SessionClock::Second::CountdownStep:
            readouts_.SetClock(QString::number(sessionClock_.CountdownLeft()));
            break;
        case SessionClock::Second::CountdownOver:
            sources_.Select(SourceKind::RandomGroups);
            if (!BeginSession())
                Stop();  // back to Idle, as a Stop during the countdown
            break;
    }
    sessionClock_.EndTick();
}

// --- Options --------------------------------------------------------------------------

void Trainer::SetOption(Option option, int value) {
    options_.Set(option, value);
    OptionChosen(option);
}

void Trainer::SetCharacterWpm(int wpm) {
    SetOption(Option::CharacterSpeed, (wpm - CharacterWpmForIndex(0)) / 5);
}

void Trainer::OptionChosen(Option option) {
    switch (option) {
        case Option::CharacterSpeed:
            CharacterSpeedChosen();
            break;
        case Option::EffectiveSpeed:
            EffectiveSpeedChosen();
            break;
        case Option::Pitch:
            signal_.SetPitch(options_.Get(Option::Pitch));
            break;
        case Option::CharacterCount:
            if (characters_.Shown()) {
                characters_.CharacterCountChanged();
                opening_.CountNow(CharacterCount());
            }
            break;
        case Option::DisplayDelay:
            display_.SetDelayIndex(options_.Get(Option::DisplayDelay));
            break;
        case Option::Fading:
            readouts_.SetFadingOptionsShown(options_.On(Option::Fading));
            break;
        case Option::Chirp:
        case Option::HandSent:
            ApplyChirp();
            break;
        case Option::Weighting:
            ApplyWeighting();
            break;
        case Option::Qrm:
            QrmChosen();
            break;
        case Option::SingleWords:
            settings_.SetSingleWordOnly(options_.On(Option::SingleWords));
            display_.SetSingleWordOnly(settings_.SettingCopies().singleWordOnly);
            break;
        default:
            break;
    }
}

void Trainer::CharacterSpeedChosen() {
    signal_.SetWpm(options_.CharacterWpm());
    readouts_.SetSpeedStepOffered(options_.SpeedStepOffered());
    QStringList items;
    for (int k = 0; k < 8; ++k)
        items << QString::number(signal_.Wpm() * Impairments::PermilleForIndex(k) / 1000);
    readouts_.SetEffectiveSpeeds(items);
    // Back to full effective speed, exactly as a choice of its first item: the per-mille
    // and the speed dither follow.
    options_.Set(Option::EffectiveSpeed, 0);
    EffectiveSpeedChosen();
}

void Trainer::EffectiveSpeedChosen() {
    const int index = options_.Get(Option::EffectiveSpeed);
    readouts_.SetSpeedStepOffered(options_.SpeedStepOffered());
    signal_.Impairments().EffectivePermille = Impairments::PermilleForIndex(index);
    ShowPlayedEffectiveSpeed();
    if (characters_.Shown())
        characters_.LearningModeRefresh();
}

// Where the stretch cap holds the choice back, the group's hint says what random groups
// play instead, and so does the status line when the user makes the choice.
void Trainer::ShowPlayedEffectiveSpeed() {
    const int wpm = signal_.Wpm();
    const int permille = signal_.Impairments().EffectivePermille;
    QString note;
    if (MorseCode::StretchCapped(wpm, permille))
        note = QCoreApplication::translate("lumbrel::Trainer",
                                           "%1 WPM plays at %2 WPM, the slowest effective speed at %3 WPM")
                   .arg(wpm * permille / 1000)
                   .arg(PlayedWpm(wpm, permille, Stretch::EveryUnit), 0, 'f', 1)
                   .arg(wpm);
    readouts_.SetEffectiveSpeedNote(note);
    if (!characters_.Shown() || SessionActive())
        return;
    const QString said = QCoreApplication::translate("lumbrel::Trainer", "  Effective speed: ");
    if (!note.isEmpty())
        readouts_.SetStatus(said + note);
    else if (readouts_.Status().startsWith(said))
        readouts_.SetStatus(QString());  // a choice that plays as named
}

// --- Other reactions ---------------------------------------------------------------

void Trainer::ApplyChirp() {
    if (!characters_.CharacterList().empty())
        signal_.Switches().SetChirp(options_.On(Option::Chirp));
}

void Trainer::ApplyWeighting() {
    if (!characters_.ActiveSet().empty())
        signal_.Switches().SetVariableWeighting(options_.On(Option::Weighting));
}

void Trainer::QrmChosen() {
    if (!options_.On(Option::Qrm)) {
        qrm_.Close();
        return;
    }
    // Under way (the countdown included): the stations start at once.
    if (State() != SessionState::Idle)
        StartQrmStations();
}

void Trainer::StartQrmStations() {
    qrm_.Start(options_.Get(Option::Pitch), signal_.Wpm());
}

// A station finished its group: another follows while the session runs.
void Trainer::RearmQrmStation(int index) {
    if (state_ == SessionState::Running)
        qrm_.Rearm(index);
}

bool Trainer::RepeatLastSession() {
    if (SessionActive() || sessionClock_.CountdownPending() || sources_.Kind() != SourceKind::RandomGroups ||
        !opening_.RepeatLast())
        return false;
    Start();
    return true;
}

void Trainer::SetVolumeDb(int db) {
    engine_.Gain().SetDb(db);
    qrm_.SetVolumeDb(engine_.Gain().Db());
    settings_.Store().Write(keys::Volume, engine_.Gain().Db());
}

void Trainer::SetupDialogClosed() {
    settings_.ReloadSetupCopies();
    const Copies& copies = settings_.SettingCopies();
    sources_.Groups().SetFavourRecent(copies.favourRecent);
    characters_.SetOrder(copies.useMfj ? LearningOrder::Mfj : LearningOrder::Koch);
    characters_.RebuildCharacterList();
    characters_.RebuildActiveSet();
}

// --- Text area commands --------------------------------------------------------------

void Trainer::SetSentFont(const QString& face, int pointSize) {
    settings_.SetSentFont(face, pointSize);
}

void Trainer::SetSpeakAnswers(bool on) {
    settings_.Store().Write(keys::SpeakAnswer, on ? 1 : 0);
}

bool Trainer::SpeakAnswers() const {
    return settings_.Store().Read(keys::SpeakAnswer) != 0;
}

void Trainer::ClearSent() {
    sent_.Clear();
}

QString Trainer::SaveSent(const QString& path) {
    return SaveTextLines(path, sent_.Lines());
}

// --- Window messages ---------------------------------------------------------------

bool Trainer::HandleMessage(int message, std::intptr_t wParam, std::intptr_t lParam) {
    // The stations' completions come through the same queue, marked with their device.
    if (qrm_.HandleMessage(message, wParam, lParam))
        return true;
    switch (message) {
        case kWaveOutDoneMessage:
            window_.PostMessage(kBufferDoneMessage, wParam, lParam);
            return true;
        case kStartRequestMessage:
            Start();
            return true;
        case kStopRequestMessage:
            Stop();
            return true;
        case kBufferDoneMessage:
            OnBufferDone(reinterpret_cast<AudioBufferHeader*>(lParam));
            return true;
        case kDisplayMessage:
            display_.ShowHeldItems();
            return true;
        default:
            return false;
    }
}

// --- The session's buffers -----------------------------------------------------------

void Trainer::OnBufferDone(AudioBufferHeader* header) {
    const AudioStreamEngine::Completion done = engine_.Complete(header);
    // Nothing of a session is left to do (a stray or late message).
    if (!SessionActive() || characters_.ActiveSet().empty())
        return;
    charactersSent_ += 1;
    display_.ShowCount(charactersSent_);
    if (state_ != SessionState::Running) {
        WindDown(done);
        return;
    }
    if (done.buffer)
        sessionText_ += done.text;
    display_.TakeText(done.buffer ? &done.text : nullptr);
    QueueNextCharacter();
}

// Stopping or ended: the buffers still in flight come home; the last one ends the session.
void Trainer::WindDown(const AudioStreamEngine::Completion& done) {
    if (done.buffer) {
        sessionText_ += done.text;
        display_.TakeLateText(&done.text);
    }
    state_ = SessionState::Stopping;
    // Nothing else is coming home: end here rather than never.
    if (engine_.Pending() == 0)
        EndOfSession();
}

void Trainer::QueueNextCharacter() {
    const AudioStreamEngine::QueueResult result = engine_.QueueNext();
    if (result.last)
        state_ = SessionState::Stopping;  // the session's time is up; this symbol still goes out
    switch (result.queued) {
        case AudioStreamEngine::Queued::Buffer:
            return;
        case AudioStreamEngine::Queued::SourceEnded:
            // The text is exhausted: the buffer still in flight ends the session when it comes home.
            state_ = SessionState::Stopping;
            if (engine_.Pending() == 0)
                EndOfSession();
            return;
        case AudioStreamEngine::Queued::NotSendable:
        case AudioStreamEngine::Queued::Lost:
            // One buffer fewer in flight: the session goes on with what is left, and ends
            // when nothing is left.
            EndWithNothingInFlight();
            return;
    }
}

void Trainer::EndOfSession() {
    display_.FinalReveal();
    OfferCommands(true);

    TellSoundFault();
    recorder_.Finish(TranscriptLines());
    if (rig_) {
        rig_->DropRigLines();
        // Said once, after the count of characters sent, where it stays until the next session.
        const QString note = rig_->TakeKeyingNote();
        if (!note.isEmpty())
            readouts_.SetStatus(QStringLiteral("  ") + note);
    }
    qrm_.Close();
    mayClose_ = true;
    display_.SetParameterLineMode(false);
    signal_.Switches().SetDrift(false);
    sources_.Text().Close();  // a text file stopped halfway is not held open
    state_ = SessionState::Idle;
    ReportSession();
    // The stations of a parameter-line file leave nothing behind: the next session
    // plays at the speed, pitch and switches the window shows.
    if (std::exchange(stationsPlayed_, false))
        RestoreMainSignal();
}

void Trainer::RestoreMainSignal() {
    signal_.SetWpm(options_.CharacterWpm());
    signal_.SetPitch(options_.Get(Option::Pitch));
    signal_.Switches().SetVariableWeighting(options_.On(Option::Weighting));
    ApplyChirp();
}

Stretch Trainer::SessionStretch() {
    return sources_.Kind() == SourceKind::RandomGroups || settings_.Store().Read(keys::EffectiveMode) != 0
               ? Stretch::EveryUnit
               : Stretch::WordSpaceOnly;
}

void Trainer::TellSoundFault() {
    if (soundFault_.text.isEmpty())
        return;
    const bool lost = soundFault_.lost;
    const QString text =
        lost ? QCoreApplication::translate("lumbrel::Trainer",
                                           "Sound output failed: %1\nThe session was stopped.")
                   .arg(soundFault_.text)
             : QCoreApplication::translate("lumbrel::Trainer", "Sound output failed during the session: %1")
                   .arg(soundFault_.text);
    // A session cut short by it is a failure; one that went on, a warning.
    host_.ShowMessage(text, soundFault_.caption, lost ? MessageKind::Error : MessageKind::Warning);
    soundFault_.text.clear();
}

// The facts of the session, for checking the copy.
void Trainer::ReportSession() {
    if (!sessionEnded_)
        return;
    SessionSummary summary;
    summary.source = sources_.Kind();
    summary.singleEntry = list_.oneEntry;
    summary.order = characters_.Order();
    summary.characterCount = options_.Get(Option::CharacterCount);
    summary.characterWpm = signal_.Wpm();
    // The effective speed that played: the stretch cap may hold a slow choice back, and
    // where only the word spaces stretch, the characters keep their speed.
    summary.effectivePermille =
        PlayedPermille(signal_.Wpm(), signal_.Impairments().EffectivePermille, SessionStretch());
    summary.sessionMinutes = sessionClock_.LengthMinutes();
    summary.elapsedSeconds = sessionClock_.ElapsedSeconds();
    summary.text = sessionText_;
    summary.multiLetterCharacters = MultiLetterCharacters();
    sessionEnded_(summary);
}

QStringList Trainer::MultiLetterCharacters() const {
    QStringList texts;
    const auto& list = characters_.CharacterList();
    for (std::size_t k = static_cast<std::size_t>(kOrderSize); k < list.size(); ++k)
        if (list[k]->display.size() > 1)
            texts << list[k]->display;
    return texts;
}

QStringList Trainer::TranscriptLines() const {
    QStringList lines;
    if (display_.ParameterLineMode())
        lines = sent_.Lines();
    if (!sessionText_.isEmpty())
        lines << sessionText_;
    return lines;
}

}  // namespace lumbrel
