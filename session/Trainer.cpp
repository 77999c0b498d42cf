#include "session/Trainer.h"

#include <algorithm>

#include <QDir>
#include <QFile>

#include "audio/Clock.h"
#include "morse/SampleFormat.h"
#include "recording/Transcript.h"

namespace lumbrel {

Trainer::Trainer(Dependencies deps)
    : store_(std::move(deps.store)),
      clock_(deps.clock),
      window_(deps.window),
      audio_(deps.audio),
      host_(deps.host),
      rig_(deps.rig),
      random_(deps.seed),
      renderer_(random_),
      characters_(store_, *this),
      display_(controls_, sent_, window_)
{
    // The interfering stations: clean signals at S6 with no steady tone, each on its own
    // stream, handing their completions to the same window queue.
    for (std::size_t i = 0; i < senders_.size(); ++i) {
        if (!deps.qrmAudio[i])
            continue;
        auto sender = std::make_unique<TCWSender>(TCWSender::Dependencies{
            .device = *deps.qrmAudio[i], .window = window_, .random = random_,
            .messageBox = [this](const QString& text, const QString& caption, TCWSender::MessageIcon icon) {
                // A station's failure during a session (its stream failing with the main
                // one) is told with the session's own, once, when the session ends.
                if (sessionActive_)
                    NoteSoundFault(text, caption);
                else
                    host_.ShowMessage(text, caption,
                                      icon == TCWSender::MessageIcon::Error ? MessageKind::Error : MessageKind::Warning);
            }});
        sender->SetSampleRate(WSampleRate::sr44100);
        sender->SetUseCallbacks(true);
        sender->SetAmplitude(SigStrength::S6);
        sender->SetQRMTonePitch(575);
        sender->MorseSent = [this, i](TCWSender&) { RearmQrmStation(static_cast<int>(i)); };
        senders_[i] = std::move(sender);
    }
}

Trainer::~Trainer()
{
    // The device may still hold our buffers; they go with us, so the device is closed first.
    if (audioOpen_)
        (void)audio_.Close();
}

// --- CharacterWindows ------------------------------------------------------------

int Trainer::CharacterCount() const { return controls_.Value(ControlId::CharacterCountSpinEdit); }

void Trainer::SetCharacterCount(int count)
{
    // Lowering the count to a new maximum is not a user change: the mask stays.
    controls_.SetValue(ControlId::CharacterCountSpinEdit, count);
}

int Trainer::CharacterCountMaximum() const
{
    return controls_.Get(ControlId::CharacterCountSpinEdit).maximum;
}

void Trainer::SetCharacterCountMaximum(int maximum)
{
    controls_.SetMaximum(ControlId::CharacterCountSpinEdit, maximum);
    if (CharacterCount() > maximum)
        controls_.SetValue(ControlId::CharacterCountSpinEdit, maximum);
}

void Trainer::SetCharacterCaptions(const QStringList& captions) { host_.SetCharacterCaptions(captions); }

void Trainer::ShowCharacterBoxes(int count) { host_.ShowCharacterBoxes(count); }

void Trainer::SetToolVisible(LearningTool tool, bool visible)
{
    static constexpr std::pair<LearningTool, ControlId> kTools[] = {
        {LearningTool::SendFile, ControlId::SendFile},
        {LearningTool::ToolButton6, ControlId::ToolButton6},
        {LearningTool::ToolButton7, ControlId::ToolButton7},
        {LearningTool::ToolButton8, ControlId::ToolButton8},
        {LearningTool::ToolButton12, ControlId::ToolButton12},
        {LearningTool::ToolButton13, ControlId::ToolButton13},
        {LearningTool::ToolButton14, ControlId::ToolButton14},
        {LearningTool::CommonWords, ControlId::CommonWords},
        {LearningTool::QSOFiles, ControlId::QSOFiles},
    };
    for (const auto& [t, id] : kTools)
        if (t == tool)
            controls_.SetVisible(id, visible);
}

// --- Window life -------------------------------------------------------------------

void Trainer::FormCreate()
{
    // Restoring a control runs its reaction as a user's click would. "Letters" comes
    // before the count reaction is attached, "Speed" before "Delay" (a speed change
    // resets the effective speed), and "Display Delay" after "Display", which it replaces.
    controls_.SetValue(ControlId::PitchSpinner, store_.Read(keys::Pitch));
    controls_.SetValue(ControlId::CharacterCountSpinEdit, store_.Read(keys::Letters));
    controls_.SetValue(ControlId::RadioGroup1, store_.Read(keys::Speed));
    RadioGroup1Click();
    controls_.SetValue(ControlId::CodeSpeedRadioGroup, store_.Read(keys::Delay));
    CodeSpeedRadioGroupClick();
    controls_.SetValue(ControlId::DisplayDelayComboBox, store_.Read(keys::Display));
    copies_.useMfj = store_.Read(keys::UseMfj) != 0;
    copies_.callback = store_.Read(keys::Callback);
    copies_.port = store_.Read(keys::Port);
    controls_.SetValue(ControlId::DisplayDelayComboBox, store_.Read(keys::DisplayDelay));
    controls_.SetValue(ControlId::NoiseRadioGroup, store_.Read(keys::NoiseLevel));
    controls_.SetChecked(ControlId::ChirpCheckBox, store_.Read(keys::Chirp) != 0);
    ApplyChirp();
    controls_.SetChecked(ControlId::HandSentCheckBox, store_.Read(keys::StraightKey) != 0);
    ApplyChirp();
    controls_.SetChecked(ControlId::QRMCheckBox, store_.Read(keys::Qrm) != 0);
    QRMCheckBoxClick();
    controls_.SetValue(ControlId::SignalRadioGroup, store_.Read(keys::SignalLevel));
    controls_.SetChecked(ControlId::QSBCheckBox, store_.Read(keys::Qsb) != 0);
    QSBCheckBoxClick();
    controls_.SetValue(ControlId::QSBModeRadioGroup, store_.Read(keys::QsbMode));
    controls_.SetValue(ControlId::QSBTypeRadioGroup, store_.Read(keys::QsbType));
    controls_.SetChecked(ControlId::SpeedStepCheckBox, store_.Read(keys::SpeedStep) != 0);
    controls_.SetChecked(ControlId::PitchDitherCheckBox, store_.Read(keys::PitchDither) != 0);
    controls_.SetChecked(ControlId::WeightingCheckBox, store_.Read(keys::VariableWeighting) != 0);
    WeightingCheckBoxClick();
    copies_.speedDitherSize = store_.Read(keys::SpeedDitherSize);
    copies_.straightKeyFist = store_.Read(keys::StraightKeyFist);
    copies_.favourRecent = store_.Read(keys::FavourRecent) != 0;
    copies_.wordFilter = store_.Read(keys::WordFilter);
    copies_.singleWordOnly = store_.Read(keys::SingleWordOnly) != 0;
    copies_.maxWordLength = store_.Read(keys::MaxWordLength);
    copies_.commonWordFile = store_.Read(keys::CommonWordFile);
    copies_.qsoFile = store_.Read(keys::QsoFile);

    controls_.SetChecked(ControlId::SingleWordsOnly1, copies_.singleWordOnly);
    for (auto& sender : senders_)
        if (sender)
            sender->SetUseCallbacks(copies_.callback != 0);
    display_.SetSingleWordOnly(copies_.singleWordOnly);
    groups_.SetFavourRecent(copies_.favourRecent);
    characters_.SetOrder(copies_.useMfj ? LearningOrder::Mfj : LearningOrder::Koch);
    sessionMinutes_ = std::clamp(store_.Read(keys::Session), 1, 60);

    characterWpm_ = 15 + 5 * controls_.Value(ControlId::RadioGroup1);
    OpenAudio();
    DisplayDelayComboBoxChange();
    CodeSpeedRadioGroupClick();
    impairments_.SpeedDither = 0;
    impairments_.PitchDither = Impairments::kNoPitchDither;
    currentPitch_ = controls_.Value(ControlId::PitchSpinner);
}

void Trainer::FormShow()
{
    // Free to close, unless a session runs: the window may come back from the
    // notification area in the middle of one.
    if (!sessionActive_)
        idle_ = true;
    sentFont_.pointSize = store_.Read(keys::FontSize);
    sentFont_.face = store_.Read(keys::FontName);
    if (!shown_) {
        shown_ = true;
        characters_.SetShown();
        characters_.RebuildCharacterList();
        characters_.RebuildActiveSet();
        // The restored Chirp box found no character list to apply itself to.
        ApplyChirp();
    }
}

void Trainer::FormClose()
{
    // A close while the last buffers of a stopped session still play ends that session
    // here: its recordings are finished and the rig is unkeyed.
    if (sessionActive_)
        EndOfSession();
    store_.Write(keys::Letters, controls_.Value(ControlId::CharacterCountSpinEdit));
    store_.Write(keys::Speed, controls_.Value(ControlId::RadioGroup1));
    store_.Write(keys::Delay, controls_.Value(ControlId::CodeSpeedRadioGroup));
    store_.Write(keys::Pitch, controls_.Value(ControlId::PitchSpinner));
    store_.Write(keys::Display, controls_.Value(ControlId::DisplayDelayComboBox));
    store_.Write(keys::FontSize, sentFont_.pointSize);
    store_.Write(keys::DisplayDelay, controls_.Value(ControlId::DisplayDelayComboBox));
    store_.Write(keys::NoiseLevel, controls_.Value(ControlId::NoiseRadioGroup));
    store_.Write(keys::Chirp, controls_.Checked(ControlId::ChirpCheckBox) ? 1 : 0);
    store_.Write(keys::StraightKey, controls_.Checked(ControlId::HandSentCheckBox) ? 1 : 0);
    store_.Write(keys::Qrm, controls_.Checked(ControlId::QRMCheckBox) ? 1 : 0);
    store_.Write(keys::SignalLevel, controls_.Value(ControlId::SignalRadioGroup));
    store_.Write(keys::Qsb, controls_.Checked(ControlId::QSBCheckBox) ? 1 : 0);
    store_.Write(keys::QsbMode, controls_.Value(ControlId::QSBModeRadioGroup));
    store_.Write(keys::QsbType, controls_.Value(ControlId::QSBTypeRadioGroup));
    store_.Write(keys::SpeedStep, controls_.Checked(ControlId::SpeedStepCheckBox) ? 1 : 0);
    store_.Write(keys::PitchDither, controls_.Checked(ControlId::PitchDitherCheckBox) ? 1 : 0);
    store_.Write(keys::VariableWeighting, controls_.Checked(ControlId::WeightingCheckBox) ? 1 : 0);
    store_.Write(keys::SingleWordOnly, controls_.Checked(ControlId::SingleWordsOnly1) ? 1 : 0);
    store_.Sync();
    // The rig port before the audio output, so that nothing can fail in between.
    if (rig_)
        rig_->CloseRigPort();
    if (audioOpen_) {
        (void)audio_.Close();
        audioOpen_ = false;
    }
}

void Trainer::OpenAudio()
{
    const AudioResult result = OpenAudioDevice();
    if (!result.Ok())
        TellNoSoundOutput(result);
}

// The device's reason, what to look at, and a note in the status line that stays until
// a session plays (a session start clears the status line).
void Trainer::TellNoSoundOutput(const AudioResult& result)
{
    QString reason = QString::fromStdString(result.Text()).trimmed();
    if (!reason.isEmpty() && !reason.endsWith(QLatin1Char('.')))
        reason += QLatin1Char('.');
    controls_.SetText(ControlId::StatusBar1, QStringLiteral("  No sound output"));
    host_.ShowMessage(QStringLiteral("No sound output: %1 Check that PipeWire or PulseAudio is running and that "
                                     "an output device is selected in the desktop's sound settings.")
                          .arg(reason),
                      QStringLiteral("waveOutOpen"), MessageKind::Error);
}

AudioResult Trainer::OpenAudioDevice()
{
    for (int i = 0; i < kBufferCount; ++i) {
        buffers_[i] = AudioBufferHeader{};
        bufferData_[i].assign(kBufferBytes / 2, 0);
        buffers_[i].data = bufferData_[i].data();
    }
    MessageTarget& window = window_;
    const AudioResult result = audio_.Open(
        kTrainerAudioFormat,
        copies_.callback != 0
            ? AudioNotification::ToCallback([&window](AudioBufferHeader* h) {
                  // Runs on the device's thread: it only posts the buffer-done message.
                  window.PostMessage(kBufferDoneMessage, 0, reinterpret_cast<std::intptr_t>(h));
              })
            : AudioNotification::ToWindow(window_));
    audioOpen_ = result.Ok();
    if (audioOpen_)
        reopenAudio_ = false;
    return result;
}

// Before a session: a device that could not be opened (a headset plugged in after the
// program started) or that failed during the last session (a sound server that went
// away and came back) is opened again, so that Start works without a restart. Without
// sound output no session begins; one message says why.
bool Trainer::EnsureAudioOpen()
{
    if (audioOpen_ && !reopenAudio_)
        return true;
    if (audioOpen_) {
        (void)audio_.Close();
        audioOpen_ = false;
    }
    const AudioResult result = OpenAudioDevice();
    if (result.Ok())
        return true;
    TellNoSoundOutput(result);
    return false;
}

// A call of the device failed during the session: the device is opened again before
// the next session.
void Trainer::NoteAudioFault(const AudioResult& result, const QString& caption)
{
    reopenAudio_ = true;
    NoteSoundFault(QString::fromStdString(result.Text()), caption);
}

// Only the first sound failure of a session is kept, and told once when it ends.
void Trainer::NoteSoundFault(const QString& text, const QString& caption)
{
    if (audioFault_.isEmpty()) {
        audioFault_ = text;
        audioFaultCaption_ = caption;
    }
}

// No buffer is in flight and no primed event is pending, so no event will come home to
// carry the session on or end it: every write failed (a device that went away). Rather
// than sit "running" in silence, the session ends as after Stop.
void Trainer::EndWithNothingInFlight()
{
    if (!sessionActive_ || expectedEvents_ != 0)
        return;
    pipelineLost_ = true;
    sessionState_ = kEnded;
    EndOfSession();
}

// --- Session controller ----------------------------------------------------------

void Trainer::ApplySessionControls()
{
    for (ControlId id : {ControlId::StartButton, ControlId::ToolButton3, ControlId::SendFile,
                         ControlId::CommonWords, ControlId::QSOFiles, ControlId::ToolButton6,
                         ControlId::ToolButton7, ControlId::ToolButton8, ControlId::CharacterCountSpinEdit})
        controls_.SetEnabled(id, false);
    controls_.SetEnabled(ControlId::StopButton, true);
    controls_.SetEnabled(ControlId::ToolButton4, true);
    controls_.SetEnabled(ControlId::Timer1, true);
}

void Trainer::ApplyIdleControls()
{
    for (ControlId id : {ControlId::StartButton, ControlId::ToolButton3, ControlId::SendFile,
                         ControlId::CommonWords, ControlId::QSOFiles, ControlId::ToolButton6,
                         ControlId::ToolButton7, ControlId::ToolButton8, ControlId::CharacterCountSpinEdit})
        controls_.SetEnabled(id, true);
    controls_.SetEnabled(ControlId::StopButton, false);
    controls_.SetEnabled(ControlId::ToolButton4, false);
    controls_.SetEnabled(ControlId::Timer1, false);
}

int Trainer::ElapsedSeconds() const { return static_cast<int>((clock_.TickCount() - startTick_) / 1000u); }

void Trainer::StartButtonClick()
{
    // Never two pipelines over buffers still in flight: a start while a session runs,
    // winds down or counts down is ignored.
    if (sessionActive_ || countdown_ > 0)
        return;
    if (!EnsureAudioOpen())
        return;
    const int pause = store_.Read(keys::Pause);
    if (pause <= 0) {
        sourceKind_ = SourceKind::RandomGroups;
        if (!BeginSession())
            return;
    } else {
        tickCounter_ = 1;
        countdown_ = pause;
        controls_.SetText(ControlId::Label1, QString::number(pause));
    }
    ApplySessionControls();
}

bool Trainer::BeginSession()
{
    if (sessionActive_ || characters_.ActiveSet().size() < 2)
        return false;
    if (!EnsureAudioOpen())
        return false;
    startTick_ = clock_.TickCount();
    idle_ = false;
    prosignState_ = 0;
    renderer_.SetVariableWeighting(controls_.Checked(ControlId::WeightingCheckBox));
    renderer_.SetFist(copies_.straightKeyFist);
    characters_.RebuildActiveSet();
    if (characters_.ActiveSet().size() < 2)
        return false;
    audioFault_.clear();
    audioFaultCaption_.clear();
    pipelineLost_ = false;
    charactersSent_ = -2;
    controls_.SetText(ControlId::StatusBar1, QString());
    groups_.Begin(random_);
    sent_.Clear();
    sessionState_ = kRunning;
    sessionActive_ = true;
    currentRecord_ = nullptr;
    tickCounter_ = 1;
    controls_.SetText(ControlId::Label1, QStringLiteral("00:00"));
    display_.ResetPendingWord();
    display_.SetSourceKind(sourceKind_);
    display_.SetWordListSession(false);
    // A port that is not open (unplugged, or missing when the program started) is tried
    // again here, so that an interface plugged back in keys the next session.
    if (rig_)
        rig_->RaiseRigLines();
    PrimePipeline();
    if (controls_.Checked(ControlId::QRMCheckBox))
        SetUpQrmStations();
    return true;
}

void Trainer::StopButtonClick()
{
    display_.SetParameterLineMode(false);
    if (!characters_.CharacterList().empty())
        renderer_.SetDrift(false);
    if (controls_.Checked(ControlId::QRMCheckBox))
        CloseQrmStations();
    if (sessionState_ == kRunning && sessionActive_ && countdown_ == 0) {
        sessionState_ = kStopping;
        // Every buffer was lost to device failures: no event will come to end the session.
        if (expectedEvents_ == 0)
            EndOfSession();
        return;
    }
    idle_ = true;
    countdown_ = 0;
    ApplyIdleControls();
}

void Trainer::FinishButtonClick()
{
    ApplyIdleControls();
    host_.RequestClose();
}

bool Trainer::FormCloseQuery()
{
    if (idle_)
        return true;
    StopButtonClick();
    return false;
}

void Trainer::Timer1Timer()
{
    impairments_.AdvanceFading();
    if (tickCounter_ % 20 == 0) {
        if (countdown_ == 0) {
            const int elapsed = ElapsedSeconds();
            controls_.SetText(ControlId::Label1,
                              QStringLiteral("%1:%2").arg(elapsed / 60, 2, 10, QLatin1Char('0')).arg(elapsed % 60, 2, 10, QLatin1Char('0')));
            if (sourceKind_ == SourceKind::RandomGroups && elapsed >= 60 * sessionMinutes_) {
                StopButtonClick();
                controls_.SetEnabled(ControlId::Timer1, false);
            }
        } else {
            countdown_ -= 1;
            if (countdown_ == 0) {
                tickCounter_ = 0;
                sourceKind_ = SourceKind::RandomGroups;
                if (!BeginSession())
                    StopButtonClick();  // back to Idle, as a Stop during the countdown
            } else {
                controls_.SetText(ControlId::Label1, QString::number(countdown_));
            }
        }
    }
    tickCounter_ += 1;
}

void Trainer::RadioGroup1Click()
{
    const int index = controls_.Value(ControlId::RadioGroup1);
    characterWpm_ = 15 + 5 * index;
    controls_.SetEnabled(ControlId::SpeedStepCheckBox,
                         index > 0 && controls_.Value(ControlId::CodeSpeedRadioGroup) == 0);
    QStringList items;
    for (int k = 0; k < 8; ++k)
        items << QString::number(characterWpm_ * Impairments::PermilleForIndex(k) / 1000);
    controls_.SetItems(ControlId::CodeSpeedRadioGroup, items);
    // Back to full effective speed, exactly as a choice of its first item: the per-mille
    // and the speed dither follow.
    controls_.SetValue(ControlId::CodeSpeedRadioGroup, 0);
    CodeSpeedRadioGroupClick();
}

void Trainer::CodeSpeedRadioGroupClick()
{
    const int index = controls_.Value(ControlId::CodeSpeedRadioGroup);
    controls_.SetEnabled(ControlId::SpeedStepCheckBox, index == 0 && controls_.Value(ControlId::RadioGroup1) > 0);
    impairments_.EffectivePermille = Impairments::PermilleForIndex(index);
    if (shown_)
        characters_.LearningModeRefresh();
}

// --- Other reactions ---------------------------------------------------------------

void Trainer::PitchSpinnerChange() { currentPitch_ = controls_.Value(ControlId::PitchSpinner); }

void Trainer::DisplayDelayComboBoxChange()
{
    display_.SetDelayIndex(controls_.Value(ControlId::DisplayDelayComboBox));
}

void Trainer::QSBCheckBoxClick()
{
    const bool on = controls_.Checked(ControlId::QSBCheckBox);
    controls_.SetVisible(ControlId::QSBModeRadioGroup, on);
    controls_.SetVisible(ControlId::QSBTypeRadioGroup, on);
}

void Trainer::ApplyChirp()
{
    if (!characters_.CharacterList().empty())
        renderer_.SetChirp(controls_.Checked(ControlId::ChirpCheckBox));
}

void Trainer::WeightingCheckBoxClick()
{
    if (!characters_.ActiveSet().empty())
        renderer_.SetVariableWeighting(controls_.Checked(ControlId::WeightingCheckBox));
}

void Trainer::QRMCheckBoxClick()
{
    if (!controls_.Checked(ControlId::QRMCheckBox)) {
        CloseQrmStations();
        return;
    }
    // Under way (the countdown included): the stations start at once.
    if (!controls_.Enabled(ControlId::StartButton))
        SetUpQrmStations();
}

void Trainer::SetUpQrmStations()
{
    const int pitch = controls_.Value(ControlId::PitchSpinner);
    const int w = characterWpm_;
    const int speed = w < 20 ? w + 10 : (w <= 30 ? w - 5 : 30);
    const int offsets[2] = {150, 100};
    for (std::size_t i = 0; i < senders_.size(); ++i) {
        if (!senders_[i])
            continue;
        senders_[i]->SetPitch(pitch < 700 ? pitch + offsets[i] : pitch - offsets[i]);
        senders_[i]->SetSpeed(speed);
    }
    for (auto& sender : senders_)
        if (sender)
            sender->SetCodeString(RandomQrmGroup());
}

void Trainer::CloseQrmStations()
{
    for (auto& sender : senders_)
        if (sender)
            sender->Close();
}

void Trainer::RearmQrmStation(int index)
{
    TCWSender* sender = senders_[static_cast<std::size_t>(index)].get();
    if (sender && sessionActive_ && sessionState_ == kRunning)
        sender->SetCodeString(RandomQrmGroup());
}

QString Trainer::RandomQrmGroup()
{
    const auto& list = characters_.CharacterList();
    QString group;
    const int n = random_.Next(8) + 1;
    for (int k = 0; k < n; ++k) {
        const int index = random_.Next(static_cast<int>(list.size()));
        const QString& display = list.empty() ? QString() : list[static_cast<std::size_t>(index)]->display;
        group += display.isEmpty() ? QStringLiteral(" ") : display.left(1);
    }
    return group;
}

void Trainer::CharacterCountSpinEditChange()
{
    if (shown_)
        characters_.CharacterCountChanged();
}

void Trainer::SetupDialogClosed()
{
    copies_.useMfj = store_.Read(keys::UseMfj) != 0;
    copies_.favourRecent = store_.Read(keys::FavourRecent) != 0;
    copies_.wordFilter = store_.Read(keys::WordFilter);
    copies_.maxWordLength = store_.Read(keys::MaxWordLength);
    groups_.SetFavourRecent(copies_.favourRecent);
    characters_.SetOrder(copies_.useMfj ? LearningOrder::Mfj : LearningOrder::Koch);
    characters_.RebuildCharacterList();
    characters_.RebuildActiveSet();
}

// --- Text area commands --------------------------------------------------------------

void Trainer::SetSentFont(const QString& face, int pointSize)
{
    sentFont_.face = face;
    sentFont_.pointSize = pointSize;
    store_.Write(keys::FontSize, pointSize);
    store_.Write(keys::FontName, face);
}

void Trainer::SingleWordsOnly1Click()
{
    copies_.singleWordOnly = controls_.Checked(ControlId::SingleWordsOnly1);
    display_.SetSingleWordOnly(copies_.singleWordOnly);
}

void Trainer::Clear1Click() { sent_.Clear(); }

QString Trainer::SaveToFile1Click(const QString& path) { return SaveTextLines(path, sent_.Lines()); }

void Trainer::ArmWavRecording(std::unique_ptr<WavFile> wav)
{
    pendingWav_ = std::move(wav);
}

void Trainer::ArmMp3Recording(std::unique_ptr<Mp3OutputStream> mp3)
{
    if (mp3_) {
        const QString problem = mp3_->Finish();
        if (!problem.isEmpty())
            host_.ShowMessage(problem, QStringLiteral("Record Audio File"), MessageKind::Error);
    }
    mp3_ = std::move(mp3);
}

void Trainer::ReleaseRecording()
{
    if ((pendingWav_ && pendingWav_->DataBytes() > 0) || (mp3_ && mp3_->HasAudio())) {
        FinishRecordings();
        return;
    }
    QStringList empty;
    if (pendingWav_)
        empty << pendingWav_->Path();
    if (mp3_)
        empty << mp3_->Path();
    pendingWav_.reset();
    mp3_.reset();
    for (const QString& path : empty)
        QFile::remove(path);
    transcriptFileName_.clear();
}

// The end of a session: the WAV file is completed, then the MP3 file gets its last
// frames and its tag, then the transcript is written. Failures are told once.
void Trainer::FinishRecordings()
{
    pendingWav_.reset();
    if (mp3_) {
        const QString problem = mp3_->Finish();
        if (!problem.isEmpty() && recordingError_.isEmpty())
            recordingError_ = problem;
        mp3_.reset();
    }
    if (!transcriptFileName_.isEmpty()) {
        const QString problem = SaveTextLines(transcriptFileName_, sent_.Lines());
        if (!problem.isEmpty() && recordingError_.isEmpty())
            recordingError_ = QStringLiteral("The transcript %1 could not be written: %2")
                                  .arg(QDir::toNativeSeparators(transcriptFileName_), problem);
        transcriptFileName_.clear();
    }
    if (!recordingError_.isEmpty()) {
        host_.ShowMessage(recordingError_, QStringLiteral("Record Audio File"), MessageKind::Error);
        recordingError_.clear();
    }
}

// --- Window messages ---------------------------------------------------------------

bool Trainer::HandleMessage(int message, std::intptr_t wParam, std::intptr_t lParam)
{
    // The stations' completions come through the same queue, marked with their device.
    for (auto& sender : senders_)
        if (sender && sender->HandleMessage(message, wParam, lParam))
            return true;
    switch (message) {
    case kWaveOutDoneMessage:
        window_.PostMessage(kBufferDoneMessage, wParam, lParam);
        return true;
    case kStartRequestMessage:
        StartButtonClick();
        return true;
    case kStopRequestMessage:
        StopButtonClick();
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

// --- Audio stream engine ---------------------------------------------------------

void Trainer::PrimePipeline()
{
    expectedEvents_ += 2;
    for (int i = 0; i < 2; ++i) {
        if (copies_.callback != 0)
            window_.PostMessage(kBufferDoneMessage, 0, 0);
        else
            window_.PostMessage(kWaveOutDoneMessage, 0, 0);
    }
}

QString Trainer::HeaderText(const AudioBufferHeader* header) const
{
    const auto index = static_cast<std::size_t>(header->user);
    return index < bufferText_.size() ? bufferText_[index] : QString();
}

int Trainer::NextSymbol()
{
    // Words and QSOs, text files (TrainerTextSources.cpp); else random groups.
    if (sourceKind_ == SourceKind::RandomEntries)
        return NextEntrySymbol();
    if (sourceKind_ == SourceKind::SequentialText)
        return NextTextSymbol();
    prosignState_ = 0;
    const int index = groups_.NextGroupSymbol(random_, characters_.ActiveSet());
    impairments_.RedrawDither(CurrentSignalSettings(), random_);
    return index;
}

SignalSettings Trainer::CurrentSignalSettings() const
{
    SignalSettings signal;
    signal.signalLevel = controls_.Value(ControlId::SignalRadioGroup);
    signal.fading = controls_.Checked(ControlId::QSBCheckBox);
    signal.slowFading = controls_.Value(ControlId::QSBModeRadioGroup) != 0;
    signal.deepFading = controls_.Value(ControlId::QSBTypeRadioGroup) != 0;
    signal.speedDither = controls_.Checked(ControlId::SpeedStepCheckBox);
    signal.speedDitherOffered = controls_.Enabled(ControlId::SpeedStepCheckBox);
    signal.speedItem = controls_.Value(ControlId::RadioGroup1);
    signal.speedDitherSize = copies_.speedDitherSize;
    signal.pitchDither = controls_.Checked(ControlId::PitchDitherCheckBox);
    return signal;
}

void Trainer::OnBufferDone(AudioBufferHeader* header)
{
    // A header that is not one of ours (a stale message) is treated as none.
    if (header && (header < buffers_.data() || header >= buffers_.data() + kBufferCount))
        header = nullptr;
    if (expectedEvents_ > 0)
        --expectedEvents_;
    if (header && inFlight_ > 0)
        --inFlight_;

    // Nothing of a session is left to do (a stray or late message).
    if (!sessionActive_)
        return;

    const int effectiveMode = store_.Read(keys::EffectiveMode);
    const auto& active = characters_.ActiveSet();
    if (active.empty())
        return;
    charactersSent_ += 1;
    display_.ShowCount(charactersSent_);

    if (sessionState_ == kStopping || sessionState_ == kEnded) {
        if (header) {
            const QString text = HeaderText(header);
            display_.TakeLateText(&text);
        }
        if (sessionState_ == kStopping) {
            sessionState_ = kEnded;
            // Nothing else is coming home: end here rather than never.
            if (expectedEvents_ == 0)
                EndOfSession();
        } else if (sessionActive_ && expectedEvents_ == 0) {
            EndOfSession();
        }
        return;
    }

    // Running.
    if (header) {
        const QString text = HeaderText(header);
        display_.TakeText(&text);
    } else {
        display_.TakeText(nullptr);
    }

    const int index = NextSymbol();
    if (sessionState_ == kEnded) {
        // The text is exhausted: the buffer still in flight ends the session when it comes home.
        if (expectedEvents_ == 0)
            EndOfSession();
        return;
    }
    if (index < 0 || index >= static_cast<int>(active.size())) {
        EndWithNothingInFlight();
        return;
    }
    currentRecord_ = active[static_cast<std::size_t>(index)];

    const int slot = nextBuffer_;
    AudioBufferHeader& out = buffers_[static_cast<std::size_t>(slot)];
    nextBuffer_ = (nextBuffer_ + 1) % kBufferCount;

    if (const AudioResult unprepared = audio_.UnprepareHeader(out); !unprepared.Ok())
        NoteAudioFault(unprepared, QStringLiteral("Information"));

    const int amplitude = impairments_.AmplitudePercent(CurrentSignalSettings());
    const int permille = (sourceKind_ == SourceKind::RandomGroups || effectiveMode != 0 || index == 0)
        ? impairments_.EffectivePermille
        : 1000;
    // A slow station's speed left behind, less the dither, still plays as timed.
    const int wpm = std::max(characterWpm_ - impairments_.SpeedDither, MorseCode::kSlowestWpm);
    MorseCode code(renderer_, *currentRecord_, wpm,
                   currentPitch_ + 25 - impairments_.PitchDither, permille);
    renderer_.SetStraightKey(controls_.Checked(ControlId::HandSentCheckBox));
    const bool joined = prosignState_ != 0;
    // The device plays whole frames only. A slot stretched by the effective speed can
    // hold an odd number of values (a word space of seven odd units); its last value,
    // half a frame of closing silence, is left out rather than the buffer refused.
    int bytes = std::min<int>(code.SlotBytes(joined), static_cast<int>(kBufferBytes));
    bytes -= bytes % static_cast<int>(audio::kBlockAlign);
    const int noise = Impairments::NoiseSpan(controls_.Value(ControlId::NoiseRadioGroup));
    code.CopyOut(static_cast<std::int16_t*>(out.data), noise, joined, amplitude, bytes / 2);
    out.length = static_cast<std::uint32_t>(bytes);

    // A WAV recording takes precedence; a write error (disk full) stops that recording,
    // keeps what was written a valid file and is told once at the end of the session.
    if (pendingWav_) {
        if (!pendingWav_->Append(out.data, out.length) && pendingWav_->IsOpen()) {
            recordingError_ = QStringLiteral("The recording %1 was stopped: %2")
                                  .arg(QDir::toNativeSeparators(pendingWav_->Path()), pendingWav_->Error());
            pendingWav_.reset();
        }
    } else if (mp3_ && mp3_->IsRecording()) {
        mp3_->Encode(out.data, out.length);
    }

    bufferText_[static_cast<std::size_t>(slot)] = currentRecord_->display;
    if (prosignState_ == 1)
        bufferText_[static_cast<std::size_t>(slot)] = QLatin1Char('^') + currentRecord_->display;
    out.user = slot;
    if (prosignState_ != 0)
        ++prosignState_;

    if (const AudioResult prepared = audio_.PrepareHeader(out); !prepared.Ok())
        NoteAudioFault(prepared, QStringLiteral("Information"));
    const AudioResult written = audio_.Write(out);
    if (written.Ok()) {
        ++inFlight_;
        ++expectedEvents_;
    } else {
        // One buffer fewer in flight: the session goes on with what is left, and ends
        // when nothing is left.
        NoteAudioFault(written, QStringLiteral("waveOutWrite"));
        EndWithNothingInFlight();
    }
}

void Trainer::EndOfSession()
{
    display_.FinalReveal();
    controls_.SetEnabled(ControlId::CharacterCountSpinEdit, true);
    controls_.SetEnabled(ControlId::StopButton, false);
    controls_.SetEnabled(ControlId::ToolButton4, false);
    for (ControlId id : {ControlId::StartButton, ControlId::ToolButton3, ControlId::SendFile,
                         ControlId::CommonWords, ControlId::QSOFiles, ControlId::ToolButton6,
                         ControlId::ToolButton7, ControlId::ToolButton8})
        controls_.SetEnabled(id, true);
    controls_.SetEnabled(ControlId::Timer1, false);

    if (!audioFault_.isEmpty()) {
        const QString text = pipelineLost_
            ? QStringLiteral("Sound output failed: %1\nThe session was stopped.").arg(audioFault_)
            : QStringLiteral("Sound output failed during the session: %1").arg(audioFault_);
        // A session cut short by it is a failure; one that went on, a warning.
        host_.ShowMessage(text, audioFaultCaption_, pipelineLost_ ? MessageKind::Error : MessageKind::Warning);
        audioFault_.clear();
    }
    FinishRecordings();
    if (rig_) {
        rig_->DropRigLines();
        // Said once, after the count of characters sent, where it stays until the next session.
        const QString note = rig_->TakeKeyingNote();
        if (!note.isEmpty())
            controls_.SetText(ControlId::StatusBar1, QStringLiteral("  ") + note);
    }
    CloseQrmStations();
    idle_ = true;
    display_.SetParameterLineMode(false);
    renderer_.SetDrift(false);
    textFile_.Close();  // a text file stopped halfway is not held open
    sessionActive_ = false;
    sessionState_ = kEnded;
    // ===== The facts of the session, for checking the copy ==========================
    if (sessionEnded_) {
        SessionSummary summary;
        summary.source = sourceKind_;
        summary.singleEntry = endAfterOneEntry_;
        summary.order = characters_.Order();
        summary.characterCount = controls_.Value(ControlId::CharacterCountSpinEdit);
        summary.characterWpm = characterWpm_;
        summary.effectivePermille = impairments_.EffectivePermille;
        summary.sessionMinutes = sessionMinutes_;
        summary.elapsedSeconds = ElapsedSeconds();
        summary.text = sent_.Text();
        sessionEnded_(summary);
    }
    // ===== end of the facts of the session ==========================================
}

}  // namespace lumbrel
