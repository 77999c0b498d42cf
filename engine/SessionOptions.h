#pragma once
// What a session is set to play (the options), what the window reads off the session
// (the read-outs) and the one listener both tell their changes to. Plain values, no
// widgets: the window binds its controls to them. UI thread only.
#include <QString>
#include <QStringList>

#include <array>

namespace lumbrel {

// The session's one state.
enum class SessionState {
    Idle,       // nothing plays; every command is offered
    Countdown,  // Start was pressed; the pause before the first character runs
    Running,    // characters are queued as buffers come home
    Stopping,   // nothing more is queued; the buffers in flight come home, the last ends it
};

// The character speed of a speed choice: 15 to 80 WPM in steps of 5.
inline constexpr int kCharacterSpeedChoices = 14;
inline constexpr int CharacterWpmForIndex(int index) {
    return 15 + 5 * index;
}

// An option of the session. Switches hold 0 or 1; choices their index.
enum class Option {
    Pitch,           // Hz of the tone before dither
    CharacterCount,  // the first N characters of the learning order in use
    CharacterSpeed,  // the character speed's index (CharacterWpmForIndex)
    EffectiveSpeed,  // index: full, 7/8, 3/4 ... 1/8 of the character speed
    DisplayDelay,    // index of DisplayDelayCaptions()
    Noise,           // band noise: off, S3, S5, S7, S9
    Signal,          // signal strength: S1 ... S7, S9
    Fading,          // QSB on
    SlowFading,      // QSB mode: fast (0) or slow (1)
    DeepFading,      // QSB type: shallow (0) or deep (1)
    Chirp,
    HandSent,   // straight-key timing
    Qrm,        // interfering stations
    SpeedStep,  // speed dither
    PitchDither,
    Weighting,    // variable weighting
    SingleWords,  // a word list shows one word at a time in the notification area
    Count
};
inline constexpr int kOptionCount = static_cast<int>(Option::Count);

// The display delay's choices: "Hide", then the number of items held back.
const QStringList& DisplayDelayCaptions();

// Whose changes the window follows: an option the session set itself (a speed choice
// resets the effective speed, the count is lowered to a new maximum) or a read-out.
enum class Readout {
    Clock,               // session time or countdown
    Status,              // the status line
    TrayWord,            // the last word shown, for the notification area
    EffectiveSpeeds,     // the effective speed choices' captions
    EffectiveSpeedNote,  // what a capped effective speed plays instead
    Commands,            // whether the commands that begin a session are offered
    CharacterCountEditable,
    ClockRunning,  // whether the session's timer ticks
    SpeedStepOffered,
    FadingOptionsShown,
    LearningTools,  // whether Text File, Words and QSO's are shown
};

class SessionListener {
public:
    virtual ~SessionListener() = default;
    virtual void OptionChanged(Option) {}
    virtual void ReadoutChanged(Readout) {}
};

class SessionOptions {
public:
    SessionOptions();

    int Get(Option option) const { return values_[Index(option)]; }
    bool On(Option option) const { return Get(option) != 0; }
    // Clamped to the option's range; a switch becomes 0 or 1. Tells the listener of a change.
    void Set(Option option, int value);
    int Minimum(Option option) const;
    int Maximum(Option option) const;

    int CharacterWpm() const { return CharacterWpmForIndex(Get(Option::CharacterSpeed)); }
    // The character count's maximum follows the character list; the count is lowered to it.
    void SetCharacterCountMaximum(int maximum);
    // Speed dither is offered above the slowest speed at full effective speed only.
    bool SpeedStepOffered() const {
        return Get(Option::CharacterSpeed) > 0 && Get(Option::EffectiveSpeed) == 0;
    }

    // Copies values, never the listener.
    SessionOptions(const SessionOptions& other)
        : values_(other.values_),
          countMaximum_(other.countMaximum_) {}
    SessionOptions& operator=(const SessionOptions& other);

    void SetListener(SessionListener* listener) { listener_ = listener; }

private:
    static int Index(Option option) { return static_cast<int>(option); }

    std::array<int, kOptionCount> values_{};
    int countMaximum_ = 64;
    SessionListener* listener_ = nullptr;
};

class SessionReadouts {
public:
    const QString& Clock() const { return clock_; }
    const QString& Status() const { return status_; }
    const QString& TrayWord() const { return trayWord_; }
    const QStringList& EffectiveSpeeds() const { return effectiveSpeeds_; }
    const QString& EffectiveSpeedNote() const { return effectiveNote_; }
    // Start, Text File, Words and QSO's; Stop is offered when they are not.
    bool CommandsEnabled() const { return commands_; }
    bool CharacterCountEditable() const { return countEditable_; }
    bool ClockRunning() const { return clockRunning_; }
    bool SpeedStepOffered() const { return speedStep_; }
    bool FadingOptionsShown() const { return fading_; }
    // Text File, Words and QSO's are offered once every character of the list is in use.
    bool LearningToolsShown() const { return tools_; }

    void SetClock(const QString& text) { Change(clock_, text, Readout::Clock); }
    void SetStatus(const QString& text) { Change(status_, text, Readout::Status); }
    void SetTrayWord(const QString& text) { Change(trayWord_, text, Readout::TrayWord); }
    void SetEffectiveSpeeds(const QStringList& items) {
        Change(effectiveSpeeds_, items, Readout::EffectiveSpeeds);
    }
    void SetEffectiveSpeedNote(const QString& text) {
        Change(effectiveNote_, text, Readout::EffectiveSpeedNote);
    }
    void SetCommandsEnabled(bool on) { Change(commands_, on, Readout::Commands); }
    void SetCharacterCountEditable(bool on) { Change(countEditable_, on, Readout::CharacterCountEditable); }
    void SetClockRunning(bool on) { Change(clockRunning_, on, Readout::ClockRunning); }
    void SetSpeedStepOffered(bool on) { Change(speedStep_, on, Readout::SpeedStepOffered); }
    void SetFadingOptionsShown(bool on) { Change(fading_, on, Readout::FadingOptionsShown); }
    void SetLearningToolsShown(bool on) { Change(tools_, on, Readout::LearningTools); }

    void SetListener(SessionListener* listener) { listener_ = listener; }

private:
    template <typename T>
    void Change(T& field, const T& value, Readout what) {
        if (field == value)
            return;
        field = value;
        if (listener_)
            listener_->ReadoutChanged(what);
    }

    QString clock_ = QStringLiteral("00:00");
    QString status_;
    QString trayWord_;
    QStringList effectiveSpeeds_ = {QStringLiteral("Full"), QStringLiteral("7/8"), QStringLiteral("3/4"),
                                    QStringLiteral("5/8"),  QStringLiteral("1/2"), QStringLiteral("3/8"),
                                    QStringLiteral("1/4"),  QStringLiteral("1/8")};
    QString effectiveNote_;
    bool commands_ = true;
    bool countEditable_ = true;
    bool clockRunning_ = false;
    bool speedStep_ = true;
    bool fading_ = false;
    bool tools_ = true;
    SessionListener* listener_ = nullptr;
};

}  // namespace lumbrel
