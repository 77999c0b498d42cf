#pragma once
// The trainer behind the main window: the session controller. It owns the session's
// states and the reactions the window calls, and composes the parts that do the work:
// the stored options (TrainerSettings), the countdown and session clock (SessionClock),
// the symbol sources, the main signal, the audio stream engine, the recorder, the
// interfering stations and the delayed display, over the session's options. It tells
// its read-outs (time, status line, which commands are offered) to one listener. The
// Qt window (or a test, or the offline renderer) feeds it commands, option changes,
// timer ticks and window messages, one at a time, on one thread.
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <vector>

#include "audio/AudioDevice.h"
#include "audio/Messages.h"
#include "keying/RigKeying.h"
#include "morse/MorseCode.h"
#include "morse/Random.h"
#include "recording/SessionRecorder.h"
#include "engine/AudioStreamEngine.h"
#include "engine/CharacterSet.h"
#include "session/DelayedDisplay.h"
#include "engine/EffectiveSpeed.h"
#include "engine/Impairments.h"
#include "engine/MessageRouting.h"
#include "engine/QrmStations.h"
#include "session/SessionClock.h"
#include "engine/SessionOptions.h"
#include "session/SessionOpening.h"
#include "session/SessionSources.h"
#include "engine/SessionSummary.h"
#include "engine/SpokenAnswers.h"
#include "engine/SessionTypes.h"
#include "engine/SignalRenderer.h"
#include "session/TextArea.h"
#include "session/TrainerSettings.h"
#include "settings/SettingsStore.h"

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

class Trainer final : public MessageReceiver,
                      private CharacterWindows,
                      private SourceHost,
                      private StreamListener {
public:
    static constexpr int kTimerIntervalMs = 50;

    struct Dependencies {
        SettingsStore store;
        Clock& clock;
        MessageTarget& window;  // the window's message queue
        AudioDevice& audio;     // the main signal's output
        TrainerHost& host;
        RigKeying* rig = nullptr;
        // The two interfering stations' own streams; without them there is no QRM.
        std::array<AudioDevice*, 2> qrmAudio{};
        std::uint32_t seed = 0;  // the random source's seed (the tick count in the program)
    };

    explicit Trainer(Dependencies deps);
    ~Trainer() override;

    Trainer(const Trainer&) = delete;
    Trainer& operator=(const Trainer&) = delete;

    // --- Window life -------------------------------------------------------------
    // Restores the options, opens the audio output and applies delay and effective speed.
    void FormCreate();
    // Before FormCreate: it restores these options instead of the stored ones (a session
    // configured by a program rather than by the window).
    void UseOptions(const SessionOptions& options) { givenOptions_ = options; }
    // Every showing; the first one builds the character list and the active set.
    void FormShow();
    // Writes the stored options, then closes the audio output.
    void FormClose();
    // True when the window may close now.
    bool FormCloseQuery();

    // --- Session controller ------------------------------------------------------
    // Begins a session of random groups, after the countdown when a pause is set.
    void Start();
    bool BeginSession();
    // Ends the countdown, or lets the session wind down: nothing more is queued.
    void Stop();
    // "Finish": the commands are offered again and the window is asked to close.
    void Finish();
    // Every kTimerIntervalMs while the clock runs (SessionReadouts::ClockRunning).
    void TimerTick();
    // 957, 1034, 1044, 1054 and 32868; returns false for any other message.
    bool HandleMessage(int message, std::intptr_t wParam, std::intptr_t lParam) override;
    // A buffer-done message: the engine's completion carries the session on or ends it.
    void OnBufferDone(AudioBufferHeader* header);

    SessionState State() const;
    bool CountdownPending() const { return sessionClock_.CountdownPending(); }
    // From BeginSession until the end-of-session processing has run.
    bool SessionActive() const { return state_ != SessionState::Idle; }
    // Stopped or at its end, with buffers still to come home.
    bool WindingDown() const { return state_ == SessionState::Stopping; }
    // The source of the session that runs or ran last.
    SourceKind Source() const { return sources_.Kind(); }
    int CharactersSent() const { return charactersSent_; }
    // Every character heard in the session that runs or ran last, in the order heard,
    // word spaces as " " and "^" before the first character of a joined run: what the
    // copy is checked against and the transcript holds, whatever "Sent" shows (a display
    // delay changed, "Clear").
    const QString& SessionText() const { return sessionText_; }
    // The user-defined characters of more than one letter, which count as one each
    // when a copy is checked.
    QStringList MultiLetterCharacters() const;
    // "Repeat last session": the last random-group session again, from the same random
    // start (and with its introduction, when it had one); false when there is none or a
    // session runs.
    bool RepeatLastSession();
    // What sessions open with: the introduction of a new character and the repeat.
    SessionOpening& Opening() { return opening_; }
    const SessionOpening& Opening() const { return opening_; }
    // The trainer's volume in dB ("Volume"), on the samples before the sound card.
    void SetVolumeDb(int db);
    // The session length is the setup dialog's spinner, read when it is needed.
    void SetSessionLengthMinutes(int minutes) { sessionClock_.SetLengthMinutes(minutes); }

    // The facts of a session at its end (engine/SessionSummary.h).
    using SessionSummary = lumbrel::SessionSummary;
    // Called at the end of every session that began, after the final reveal.
    void SetSessionEndedListener(std::function<void(const SessionSummary&)> listener) {
        sessionEnded_ = std::move(listener);
    }

    // --- Options ---------------------------------------------------------------------
    const SessionOptions& Options() const { return options_; }
    // Sets an option and runs its reaction, as the user's choice of it does.
    void SetOption(Option option, int value);
    // The character speed nearest below wpm (15 to 80 in steps of 5).
    void SetCharacterWpm(int wpm);
    // The reaction to an option's new value; a restored option runs it as a click would.
    void OptionChosen(Option option);
    // What the window reads off the session; the listener hears every change of the
    // read-outs and of an option the session set itself.
    const SessionReadouts& Readouts() const { return readouts_; }
    void SetListener(SessionListener* listener);
    // A note of the window's own in the status line (a recording armed), until the
    // session's next one.
    void ShowStatus(const QString& text) { readouts_.SetStatus(text); }
    // The setup dialog was confirmed: the copies it feeds and the character list.
    void SetupDialogClosed();

    // Main-window copies of settings read at start or when the setup dialog closes.
    using Copies = TrainerSettings::Copies;
    const Copies& SettingCopies() const { return settings_.SettingCopies(); }
    SettingsStore& Store() { return settings_.Store(); }

    // --- Word lists, sample QSOs and text files (TrainerTextSources.cpp) ------------
    // The folder that holds "Word Files" and "QSO Files"; the stored file names are
    // relative to it. Unset, it is DefaultProgramFolder() (text/DataFolders.h).
    void SetProgramFolder(const QString& folder) { programFolder_ = folder; }
    QString ProgramFolder() const;

    // "Words": plays the current word file ("Common Word File"); nothing when it is missing.
    void PlayCurrentWordFile();
    // The items of the "Words" drop-down: the word files, names with extension.
    QStringList WordsPopupMenuPopup() const;
    // A "Words" item chosen (its caption, a first "&" accelerator marker allowed):
    // plays that file and makes it the current one.
    void PlayWordFile(const QString& caption);
    // "Words from my characters": words of the current word file made only of the
    // characters in use (the first N of the learning order), before all are learnt;
    // the second item kind of the "Words" drop-down, kMyCharacterWords, at its top.
    // Nothing when no word is left; true when the session began.
    static constexpr const char* kMyCharacterWords = "Words from my characters";
    bool PlayMyCharacterWords();
    // "QSO's": plays one random QSO of the current QSO file ("QSO File").
    void PlayCurrentQsoFile();
    // The items of the "QSO's" drop-down: kGeneratedContact, then the QSO files.
    QStringList QSOPopupMenuPopup() const;
    // A "QSO's" item chosen: plays one QSO of that file and makes it the current one;
    // kGeneratedContact plays a contact made at the moment (PlayGeneratedContact).
    void PlayQsoFile(const QString& caption);
    static constexpr const char* kGeneratedContact = "Generated contact";
    // Plays one contact made now by the QSO generator (text/QsoGenerator.h), seeded
    // from the session's random source; the current QSO file stays. True when it began.
    bool PlayGeneratedContact();
    // Loads the entry list from the list path and begins a session; true when it began.
    // Shared by words and QSOs; the hidden buttons "Common Words" and "Sample QSO".
    bool PlayEntryList();
    // Begins a list session of the entries, the list already loaded.
    bool PlayEntries(QList<QByteArray> entries);
    // The list path and the two flags, for callers that name a file themselves.
    void SetEntryListSource(const QString& path, bool filterAsWords, bool endAfterOneEntry);
    // "Play Text File" / "Text FIle": the file the open dialog chose; empty when cancelled.
    void PlayChosenTextFile(const QString& path);
    // Files dropped on the window: FileDropped for each, in order, then DropFinished once;
    // the last one plays when it is a text file and every character is in use.
    void FileDropped(const QString& path);
    void DropFinished();
    void FilesDropped(const QStringList& paths);
    // Files named on the program's command line: the last one plays as a dropped file
    // does, whatever its name (the user named it); while not every character is in use,
    // a message says why it does not play yet.
    void PlayFileArguments(const QStringList& paths);
    // Loads a text file and begins a session; true when it began. A file that cannot be
    // read is reported with a message and changes nothing.
    bool PlayTextFile(const QString& path);

    // --- Text area commands (context menu of "Sent") ---------------------
    using TextFont = TrainerSettings::TextFont;
    const TextFont& SentFont() const { return settings_.SentFont(); }
    // "Select Font" confirmed: the font of "Sent" for this run; writes "FontSize",
    // then "Font Name".
    void SetSentFont(const QString& face, int pointSize);
    // "Speak the answer": each word of a word-list session is spoken after it is sent,
    // from the next session on; kept in the settings.
    void SetSpeakAnswers(bool on);
    bool SpeakAnswers() const;
    const SpokenAnswers& Spoken() const { return spoken_; }
    // "Clear ": empties "Sent".
    void ClearSent();
    // "Save To File" confirmed: writes the lines of "Sent" to path. Returns an empty
    // text on success, otherwise why the file could not be written.
    QString SaveSent(const QString& path);

    // --- Recording -----------------------------------------------------------------
    // The record command arms a WAV or MP3 recording and the transcript.
    void ArmWavRecording(std::unique_ptr<WavFile> wav) { recorder_.ArmWav(std::move(wav)); }
    void ArmMp3Recording(std::unique_ptr<Mp3OutputStream> mp3) { recorder_.ArmMp3(std::move(mp3)); }
    void SetTranscriptFileName(const QString& path) { recorder_.SetTranscriptFile(path); }
    // Before the record command arms another recording (SessionRecorder::Release).
    void ReleaseRecording() { recorder_.Release(TranscriptLines()); }

    // --- The parts, for the window, the tools and the tests ---------------------------
    TextArea& Sent() { return sent_; }
    const TextArea& Sent() const { return sent_; }
    CharacterSet& Characters() { return characters_; }
    // The main signal: speed, tone, switches and impairments.
    SignalRenderer& Signal() { return signal_; }
    RandomGroupSource& Groups() { return sources_.Groups(); }
    const EntrySymbols& Entries() const { return sources_.Entries(); }
    const TextSymbols& TextFile() const { return sources_.Text(); }
    AudioStreamEngine& Engine() { return engine_; }
    const AudioStreamEngine& Engine() const { return engine_; }
    bool AudioOpen() const { return engine_.IsOpen(); }
    SessionRecorder& Recorder() { return recorder_; }
    // The interfering stations: set up and started, re-armed after each group, closed.
    QrmStations& Qrm() { return qrm_; }
    // The delayed display of the sent text.
    const DelayedDisplay& Display() const { return display_; }

private:
    // CharacterWindows: the count is an option, the tools a read-out.
    int CharacterCount() const override;
    void SetCharacterCount(int count) override;
    int CharacterCountMaximum() const override;
    void SetCharacterCountMaximum(int maximum) override;
    void SetCharacterCaptions(const QStringList& captions) override;
    void ShowCharacterBoxes(int count) override;
    void SetLearningToolsShown(bool shown) override { readouts_.SetLearningToolsShown(shown); }

    // SourceHost: what the symbol sources ask of the session.
    int LookUp(char32_t c) const override { return characters_.LookUpTextCharacter(c); }
    RandomNumber& Random() override { return random_; }
    void DrawDither() override { signal_.DrawDither(); }
    void EntryBegins() override { signal_.Switches().ResetDrift(); }
    bool TimeUp() const override { return sessionClock_.TimeUp(); }
    Station StartStation(const std::array<int, 4>& values) override;
    void StationTextBegins(const QString& parameterText) override;

    // StreamListener.
    void StreamFault(const AudioResult& result, const QString& caption) override;
    void BufferFilled(const void* data, std::uint32_t bytes) override { recorder_.Append(data, bytes); }

    // Window life and the session's states.
    // Whether the commands that begin a session are offered (Idle) or Stop is.
    void OfferCommands(bool idle);
    void CharacterSpeedChosen();
    void EffectiveSpeedChosen();
    // Chirp and Straight Key: the renderer takes the Chirp switch (the straight-key
    // timing is read for every character). Nothing happens before the character list exists.
    void ApplyChirp();
    void ApplyWeighting();
    void QrmChosen();
    void QueueNextCharacter();
    void WindDown(const AudioStreamEngine::Completion& done);
    void EndWithNothingInFlight();
    void EndOfSession();
    void ReportSession();
    // What the transcript holds: the session's text, after the timed log lines of a
    // station file that "Sent" shows.
    QStringList TranscriptLines() const;
    // The window's own speed, pitch, weighting and chirp, after a file of stations.
    void RestoreMainSignal();
    // What the session's effective speed stretches.
    Stretch SessionStretch();
    void ShowPlayedEffectiveSpeed();

    // Sound output.
    void OpenAudio();
    bool EnsureAudioOpen();
    void TellNoSoundOutput(const AudioResult& result);
    void NoteSoundFault(const QString& text, const QString& caption);
    void TellSoundFault();

    // The interfering stations.
    void StartQrmStations();
    void RearmQrmStation(int index);

    // Word lists, sample QSOs and text files.
    bool AllCharactersInUse() const;
    bool SourceCommandAllowed() const;
    bool PlayChosenList(const QString& folder, const QString& caption, bool asWords);

    // Restore and save; the countdown and the session clock.
    TrainerSettings settings_;
    SessionClock sessionClock_;

    // The window's message queue, its message boxes and the rig's port.
    MessageTarget& window_;
    TrainerHost& host_;
    RigKeying* rig_;

    // The session's options, its read-outs and the sent text.
    SessionOptions options_;
    std::optional<SessionOptions> givenOptions_;
    SessionReadouts readouts_;
    TextArea sent_;

    // The parts that make the session's sound and text.
    RandomNumber random_;
    CharacterSet characters_;
    SignalRenderer signal_;
    SpokenAnswers spoken_{signal_};  // the signal with each word spoken after it
    DelayedDisplay display_;
    SessionSources sources_;
    SessionRecorder recorder_;
    QrmStations qrm_;
    AudioStreamEngine engine_;
    SessionOpening opening_;

    // The session's states.
    // Idle, Running or Stopping; the countdown is the session clock's.
    SessionState state_ = SessionState::Idle;
    // The window may close: no session runs, or Stop was asked again while it winds down.
    bool mayClose_ = true;
    int charactersSent_ = 0;
    QString sessionText_;
    // The session plays a file of parameter lines, whose stations set speed and tone.
    bool stationsPlayed_ = false;
    // The first sound output failure of this session and its caption, told once when the
    // session ends; lost: the session ended because nothing was left in flight.
    struct SoundFault {
        QString text;
        QString caption;
        bool lost = false;
    } soundFault_;
    std::function<void(const SessionSummary&)> sessionEnded_;

    // Word lists, sample QSOs and text files: the folder of the stored file names, the
    // word or QSO list to play (its path, whether it is read as words, filtered, and
    // whether one entry is played, a QSO) and the file dropped last.
    QString programFolder_;
    struct ListChoice {
        QString path;
        bool asWords = true;
        bool oneEntry = false;
    } list_;
    QString droppedName_;
};

}  // namespace lumbrel
