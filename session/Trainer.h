#pragma once
// The trainer behind the main window: session controller, audio stream engine,
// impairments and delayed display, over plain models of the window's controls.
// The Qt window (or a test, or the offline renderer) feeds it user reactions, timer
// ticks and window messages, one at a time, on one thread.
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <vector>

#include "CWSender/CWSender.h"
#include "audio/AudioDevice.h"
#include "audio/Messages.h"
#include "keying/RigKeying.h"
#include "morse/MorseCode.h"
#include "morse/Random.h"
#include "recording/Mp3OutputStream.h"
#include "recording/WavFile.h"
#include "session/CharacterSet.h"
#include "session/Controls.h"
#include "session/DelayedDisplay.h"
#include "session/Impairments.h"
#include "session/SessionSummary.h"
#include "session/SessionTypes.h"
#include "settings/SettingsStore.h"
#include "text/RandomGroups.h"
#include "text/TextFileSource.h"  // word lists, QSOs and text files

namespace lumbrel {

class Clock;

// What a message tells, shown by the box's icon: a note, a problem the work went on
// after, or a failure.
enum class MessageKind { Information, Warning, Error };

// What the trainer asks of its window. UI thread only.
class TrainerHost {
public:
    virtual ~TrainerHost() = default;
    // A modal message box with an OK button and the kind's icon. Must not run the
    // trainer's reactions re-entrantly (show it after the current reaction has returned).
    virtual void ShowMessage(const QString& text, const QString& caption,
                             MessageKind kind = MessageKind::Information) = 0;
    // "Finish": ask the window to close; the close query decides.
    virtual void RequestClose() = 0;
    // The setup dialog's character boxes.
    virtual void SetCharacterCaptions(const QStringList&) {}
    virtual void ShowCharacterBoxes(int) {}
};

class Trainer final : private CharacterWindows {
public:
    static constexpr std::uint32_t kBufferBytes = 2'205'000;  // 12.5 s of audio
    static constexpr int kBufferCount = 4;
    static constexpr int kTimerIntervalMs = 50;

    struct Dependencies {
        SettingsStore store;
        Clock& clock;
        MessageTarget& window;      // the window's message queue
        AudioDevice& audio;         // the main signal's output
        TrainerHost& host;
        RigKeying* rig = nullptr;
        // The two interfering stations' own streams; without them there is no QRM.
        std::array<AudioDevice*, 2> qrmAudio{};
        std::uint32_t seed = 0;     // the random source's seed (the tick count in the program)
    };

    explicit Trainer(Dependencies deps);
    ~Trainer() override;

    Trainer(const Trainer&) = delete;
    Trainer& operator=(const Trainer&) = delete;

    // --- Window life -------------------------------------------------------------
    // Restores the options, opens the audio output and applies delay and effective speed.
    void FormCreate();
    // Every showing; the first one builds the character list and the active set.
    void FormShow();
    // Writes the options the window's controls mirror, then closes the audio output.
    void FormClose();

    // --- Session controller ------------------------------------------------------
    void StartButtonClick();
    bool BeginSession();
    void StopButtonClick();
    void FinishButtonClick();
    // True when the window may close now.
    bool FormCloseQuery();
    void Timer1Timer();
    void RadioGroup1Click();
    void CodeSpeedRadioGroupClick();

    // --- Other reactions of the window -------------------------------------------
    void PitchSpinnerChange();
    void DisplayDelayComboBoxChange();
    void QSBCheckBoxClick();
    // The reaction of both the Chirp and the Straight Key box: the renderer takes the
    // Chirp box (the straight-key timing is read for every character). Nothing happens
    // before the character list exists.
    void ApplyChirp();
    void WeightingCheckBoxClick();
    void QRMCheckBoxClick();
    // The interfering stations: set up and started, re-armed after each group, closed.
    void SetUpQrmStations();
    void CloseQrmStations();
    void CWSender1MorseSent() { RearmQrmStation(0); }
    void CWSender2MorseSent() { RearmQrmStation(1); }
    // A random group of 1 to 8 characters drawn from the whole character list.
    QString RandomQrmGroup();
    TCWSender* CWSender(int index) { return senders_[static_cast<std::size_t>(index)].get(); }
    void CharacterCountSpinEditChange();
    // The setup dialog was confirmed: the copies it feeds and the character list.
    void SetupDialogClosed();

    // --- Text area commands (context menu of "Sent") ---------------------
    // The text area's font: face and point size as stored ("Font Name", "FontSize");
    // the window shows it in the designed bold style.
    struct TextFont {
        QString face;
        int pointSize = 10;
    };
    const TextFont& SentFont() const { return sentFont_; }
    // "Select Font" confirmed: the font of "Sent" for this run; writes "FontSize",
    // then "Font Name".
    void SetSentFont(const QString& face, int pointSize);
    // "Single Words Only": the menu item has toggled itself; its state becomes the copy.
    void SingleWordsOnly1Click();
    // "Clear ": empties "Sent".
    void Clear1Click();
    // "Save To File" confirmed: writes the lines of "Sent" to path. Returns an empty
    // text on success, otherwise why the file could not be written.
    QString SaveToFile1Click(const QString& path);

    // --- Window messages ---------------------------------------------------------
    // 957, 1034, 1044, 1054 and 32868; returns false for any other message.
    bool HandleMessage(int message, std::intptr_t wParam, std::intptr_t lParam);

    // --- Audio stream engine -----------------------------------------------------
    void PrimePipeline();
    void OnBufferDone(AudioBufferHeader* header);

    // --- State, for the window and for tests ---------------------------------------
    ControlsModel& Controls() { return controls_; }
    const ControlsModel& Controls() const { return controls_; }
    TextArea& Sent() { return sent_; }
    const TextArea& Sent() const { return sent_; }
    CharacterSet& Characters() { return characters_; }
    Impairments& Signal() { return impairments_; }
    DelayedDisplay& Display() { return display_; }
    RandomNumber& Random() { return random_; }
    RendererState& Renderer() { return renderer_; }
    RandomGroupSource& Groups() { return groups_; }
    SettingsStore& Store() { return store_; }

    int SessionState() const { return sessionState_; }
    bool CountdownPending() const { return countdown_ > 0; }
    bool IdleFlag() const { return idle_; }
    // From BeginSession until the end-of-session processing has run.
    bool SessionActive() const { return sessionActive_; }
    int CharactersSent() const { return charactersSent_; }
    int BuffersInFlight() const { return inFlight_; }
    int NextBufferIndex() const { return nextBuffer_; }
    SourceKind Source() const { return sourceKind_; }
    int CharacterWpm() const { return characterWpm_; }
    // A character speed between the speed buttons' steps (a course plan's 12 WPM, for
    // lumbrel-render); the next click of a speed button replaces it.
    void SetCharacterWpm(int wpm) { characterWpm_ = wpm; }
    int CurrentPitch() const { return currentPitch_; }
    int EffectivePermille() const { return impairments_.EffectivePermille; }
    bool AudioOpen() const { return audioOpen_; }
    const AudioBufferHeader& Buffer(int i) const { return buffers_[static_cast<std::size_t>(i)]; }
    int SessionLengthMinutes() const { return sessionMinutes_; }

    // The session length is the setup dialog's spinner, read when it is needed.
    void SetSessionLengthMinutes(int minutes) { sessionMinutes_ = minutes; }

    // Recording state: an armed WAV writer and the transcript path.
    // A recording armed while another waits finishes the earlier one first, so that its
    // file is complete.
    void ArmWavRecording(std::unique_ptr<WavFile> wav);
    void ArmMp3Recording(std::unique_ptr<Mp3OutputStream> mp3);
    // Before the record command arms another recording (the latest choice wins): an
    // armed file that holds no audio yet is removed and its transcript name dropped;
    // one that holds audio (armed during this session) is finished as it stands, with
    // its transcript.
    void ReleaseRecording();
    Mp3OutputStream* PendingMp3() { return mp3_.get(); }
    void SetTranscriptFileName(const QString& path) { transcriptFileName_ = path; }
    WavFile* PendingWavFile() { return pendingWav_.get(); }
    const QString& TranscriptFileName() const { return transcriptFileName_; }

    // Main-window copies of settings read at start or when the setup dialog closes.
    struct Copies {
        bool useMfj = false;
        int callback = 0;
        int port = 0;
        int speedDitherSize = 0;
        int straightKeyFist = 0;
        bool favourRecent = false;
        int wordFilter = 0x3FFFFFF;
        bool singleWordOnly = false;
        int maxWordLength = 20;
        QString commonWordFile;
        QString qsoFile;
    };
    const Copies& SettingCopies() const { return copies_; }

    // The facts of a session at its end (session/SessionSummary.h).
    using SessionSummary = lumbrel::SessionSummary;
    // Called at the end of every session that began, after the final reveal.
    void SetSessionEndedListener(std::function<void(const SessionSummary&)> listener)
    {
        sessionEnded_ = std::move(listener);
    }

private:
    // CharacterWindows: the spinner and the tools live in the controls model.
    int CharacterCount() const override;
    void SetCharacterCount(int count) override;
    int CharacterCountMaximum() const override;
    void SetCharacterCountMaximum(int maximum) override;
    void SetCharacterCaptions(const QStringList& captions) override;
    void ShowCharacterBoxes(int count) override;
    void SetToolVisible(LearningTool tool, bool visible) override;

    void OpenAudio();
    AudioResult OpenAudioDevice();
    bool EnsureAudioOpen();
    void TellNoSoundOutput(const AudioResult& result);
    void NoteAudioFault(const AudioResult& result, const QString& caption);
    void NoteSoundFault(const QString& text, const QString& caption);
    void EndWithNothingInFlight();
    void RearmQrmStation(int index);
    void ApplySessionControls();   // Countdown and during a session
    void ApplyIdleControls();      // back to Idle
    void EndOfSession();
    int NextSymbol();
    // The signal options of the controls and the setting copies, as they stand now.
    SignalSettings CurrentSignalSettings() const;
    // Whole seconds since the session began, on the tick count: a wall clock set back
    // or forward (a correction, summer time) or midnight changes nothing.
    int ElapsedSeconds() const;
    QString HeaderText(const AudioBufferHeader* header) const;

    SettingsStore store_;
    Clock& clock_;
    MessageTarget& window_;
    AudioDevice& audio_;
    TrainerHost& host_;
    RigKeying* rig_;
    std::array<std::unique_ptr<TCWSender>, 2> senders_;  // CWSender1, CWSender2

    ControlsModel controls_;
    TextArea sent_;
    RandomNumber random_;
    RendererState renderer_;
    CharacterSet characters_;
    Impairments impairments_;
    DelayedDisplay display_;
    RandomGroupSource groups_;
    Copies copies_;

    // Controller.
    int countdown_ = 0;
    int tickCounter_ = 0;
    std::uint32_t startTick_ = 0;
    bool idle_ = true;
    bool shown_ = false;
    bool sessionActive_ = false;
    SourceKind sourceKind_ = SourceKind::RandomGroups;
    int characterWpm_ = 25;
    int currentPitch_ = 750;
    int sessionMinutes_ = 5;
    TextFont sentFont_{QStringLiteral("Arial"), 10};

    // Engine.
    bool audioOpen_ = false;
    // The device failed during a session: it is closed and opened again before the next.
    bool reopenAudio_ = false;
    // The first sound output failure of this session and its caption, told once when the
    // session ends; pipelineLost_: the session ended because nothing was left in flight.
    QString audioFault_;
    QString audioFaultCaption_;
    bool pipelineLost_ = false;
    std::array<AudioBufferHeader, kBufferCount> buffers_{};
    std::array<std::vector<std::int16_t>, kBufferCount> bufferData_;
    std::array<QString, kBufferCount> bufferText_;  // display text of each queued buffer
    int nextBuffer_ = 0;
    int inFlight_ = 0;        // buffers written and not home yet
    int expectedEvents_ = 0;  // buffer-done events still to come: primed ones and buffers in flight
    int sessionState_ = kEnded;
    int charactersSent_ = 0;
    const MorseCharacter* currentRecord_ = nullptr;
    int prosignState_ = 0;

    // Recording.
    std::unique_ptr<WavFile> pendingWav_;
    std::unique_ptr<Mp3OutputStream> mp3_;
    QString recordingError_;  // a write error of this session's recording, told once at its end
    void FinishRecordings();
    QString transcriptFileName_;
    std::function<void(const SessionSummary&)> sessionEnded_;

    // ===== Word lists, sample QSOs and text files (TrainerTextSources.cpp) =========
public:
    // The folder that holds "Word Files" and "QSO Files"; the stored file names are
    // relative to it. Unset, it is DefaultProgramFolder() (text/DataFolders.h).
    void SetProgramFolder(const QString& folder) { programFolder_ = folder; }
    QString ProgramFolder() const;

    // "Words": plays the current word file ("Common Word File"); nothing when it is missing.
    void ToolButton7Click();
    // The items of the "Words" drop-down: the word files, names with extension.
    QStringList WordsPopupMenuPopup() const;
    // A "Words" item chosen (its caption, a first "&" accelerator marker allowed):
    // plays that file and makes it the current one.
    void WordPopupMenuItem1Click(const QString& caption);
    // "QSO's": plays one random QSO of the current QSO file ("QSO File").
    void ToolButton8Click();
    QStringList QSOPopupMenuPopup() const;
    void QSOPopupMenu1Click(const QString& caption);
    // Loads the entry list from the list path and begins a session; true when it began.
    // Shared by words and QSOs; the hidden buttons "Common Words" and "Sample QSO".
    bool PlayEntryList();
    // The list path and the two flags, for callers that name a file themselves.
    void SetEntryListSource(const QString& path, bool filterAsWords, bool endAfterOneEntry);
    // "Play Text File" / "Text FIle": the file the open dialog chose; empty when cancelled.
    void SendFileClick(const QString& path);
    // Files dropped on the window: DnDItem for each, in order, then DnDFinish once.
    void DnDForm1DnDItem(const QString& path);
    void DnDForm1DnDFinish();
    void FilesDropped(const QStringList& paths);
    // Loads a text file and begins a session; true when it began. A file that cannot be
    // read is reported with a message and changes nothing.
    bool PlayTextFile(const QString& path);

    const QList<QByteArray>& EntryList() const { return entries_; }
    bool FilterAsWords() const { return filterAsWords_; }
    bool EndAfterOneEntry() const { return endAfterOneEntry_; }
    const QString& ListPath() const { return listPath_; }
    bool ParameterLineFile() const { return parameterLines_; }

private:
    static constexpr int kNoSymbol = -1;
    // Most characters a source passes over (skipped, merged or removed) for one symbol;
    // past it a word space is sent, so that no file stalls the window.
    static constexpr int kSkipBudget = 1 << 16;

    bool AllCharactersInUse() const;
    bool SourceCommandAllowed() const;
    int NextEntrySymbol();
    int NextTextSymbol();
    void TakeParameterLine();

    QString programFolder_;
    // Random entries: words and QSOs. The entry list also stands for a text file's lines.
    QList<QByteArray> entries_;
    QString listPath_;
    bool filterAsWords_ = true;
    bool endAfterOneEntry_ = false;
    int currentEntry_ = 0;
    int entryPosition_ = 0;
    bool entryChosen_ = false;     // false: position "not started"
    bool entryFirstCall_ = false;
    // Text files.
    TextFileSource textFile_;
    QByteArray textLine_;
    bool textLineCurrent_ = false; // false: before the first line
    int textPosition_ = 0;
    bool lastWasWordSpace_ = false;
    bool parameterLines_ = false;
    std::uint32_t textStartTick_ = 0;
    QString parameterText_;
    int markIndex_ = -1;
    std::minstd_rand pauseRandom_;  // the stations' starting pauses; apart from RandomNumber
    bool pauseRandomSeeded_ = false;
    QString droppedName_;
    // ===== end of word lists, sample QSOs and text files ===============================
};

}  // namespace lumbrel
