#pragma once
// Every persisted option of the trainer, with its section, name, type and default.
// This is the only place a key name or a default is written; code reads and writes
// settings through these constants.
#include <array>
#include <variant>

namespace lumbrel::keys {

inline constexpr const char* kSetup = "Setup";
inline constexpr const char* kFormState = "FormState";
inline constexpr const char* kDrills = "Drills";
inline constexpr const char* kSending = "Sending";
// User-defined characters live in "MorseLetter1" to "MorseLetter24".
inline constexpr const char* kMorseLetterFormat = "MorseLetter%1";
inline constexpr int kMorseLetterSlots = 24;

struct IntKey {
    const char* section;
    const char* name;
    int def;
};

struct TextKey {
    const char* section;
    const char* name;
    const char* def;
};

// A "0"/"1" text of section "FormState"; read as a number, any non-zero meaning yes.
struct YesNoKey {
    const char* section;
    const char* name;
    bool def;
};

// --- Section "Setup" -------------------------------------------------------------
// Mirrored by the main window's controls: restored at start, saved at exit.
inline constexpr IntKey Pitch{kSetup, "Pitch", 750};               // Hz, 350..1500
inline constexpr IntKey Letters{kSetup, "Letters", 2};             // characters in a session
inline constexpr IntKey Speed{kSetup, "Speed", 2};                 // WPM = 15 + 5 * index
inline constexpr IntKey Delay{kSetup, "Delay", 0};                 // effective speed index 0..7
inline constexpr IntKey Display{kSetup, "Display", 1};             // same as "Display Delay"
inline constexpr IntKey DisplayDelay{kSetup, "Display Delay", 1};  // 0 Hide, 1..11 = 0..10, 12 = 20
inline constexpr IntKey NoiseLevel{kSetup, "Noise Level", 0};      // Off, S3, S5, S7, S9
inline constexpr IntKey Chirp{kSetup, "Chirp", 0};
inline constexpr IntKey StraightKey{kSetup, "Straight Key", 0};
inline constexpr IntKey Qrm{kSetup, "QRM", 0};
inline constexpr IntKey SignalLevel{kSetup, "Signal Level", 7};  // S1..S7, S9
inline constexpr IntKey Qsb{kSetup, "QSB", 0};
inline constexpr IntKey QsbMode{kSetup, "QSB Mode", 0};      // Fast, Slow
inline constexpr IntKey QsbType{kSetup, "QSB Type", 0};      // Shallow, Deep
inline constexpr IntKey SpeedStep{kSetup, "Speed Step", 0};  // speed dither
inline constexpr IntKey PitchDither{kSetup, "Pitch Dither", 0};
inline constexpr IntKey VariableWeighting{kSetup, "Variable Weighting", 0};
inline constexpr IntKey SingleWordOnly{kSetup, "Single Word Only", 0};
// "Speak the answer": word sessions speak each word after it is sent.
inline constexpr IntKey SpeakAnswer{kSetup, "Speak Answer", 0};
inline constexpr IntKey FontSize{kSetup, "FontSize", 10};

// Edited in the setup dialog.
inline constexpr IntKey UseMfj{kSetup, "Use MFJ", 0};
inline constexpr IntKey Callback{kSetup, "Callback", 0};
inline constexpr IntKey Port{kSetup, "Port", 0};                 // 0 off, 1..4 COM1..COM4
inline constexpr TextKey PortDevice{kSetup, "Port Device", ""};  // serial device; overrides "Port" when set
inline constexpr IntKey SpeedDitherSize{kSetup, "Speed Dither Size", 0};  // 5 WPM, 10 WPM
inline constexpr IntKey StraightKeyFist{kSetup, "Straight Key Fist", 0};  // Good, Bad
inline constexpr IntKey FavourRecent{kSetup, "Favour Recent", 0};
// Random groups draw the characters missed most in the last checked sessions and
// drills more often. Read as each random-group session begins.
inline constexpr IntKey FavourMissed{kSetup, "Favour Missed", 0};
inline constexpr IntKey WordFilter{kSetup, "Word Filter", 0x3FFFFFF};  // bit n: words on 'A' + n
inline constexpr IntKey MaxWordLength{kSetup, "Max Word Length", 20};
inline constexpr IntKey Pause{kSetup, "Pause", 1};                        // seconds, 1..60
inline constexpr IntKey Session{kSetup, "Session", 5};                    // minutes, 1..60
inline constexpr IntKey Session1{kSetup, "Session1", -1};                 // enable mask, bits 0..31
inline constexpr IntKey Session2{kSetup, "Session2", -1};                 // enable mask, bits 32..63
inline constexpr IntKey EffectiveMode{kSetup, "Effective Mode", 0};       // Each Word, Each Character
inline constexpr IntKey CommonWordsSize{kSetup, "Common Words Size", 0};  // All, 500, 250, 100
inline constexpr IntKey Mp3BitRate{kSetup, "MP3 Bit Rate", 1};            // 16 * (index + 1) kbit/s
// A random-group session after the character count rose plays the new character
// alone first.
inline constexpr IntKey IntroduceCharacter{kSetup, "Introduce Character", 1};
// Random groups: 0 one to eight characters, 1 fixed at five, 2 "Group Length Min" to
// "Group Length Max" (1..20).
inline constexpr IntKey GroupLengthMode{kSetup, "Group Length", 0};
inline constexpr IntKey GroupLengthMin{kSetup, "Group Length Min", 3};
inline constexpr IntKey GroupLengthMax{kSetup, "Group Length Max", 7};
// The trainer's gain before the sound card, in dB, -40..0; main window.
inline constexpr IntKey Volume{kSetup, "Volume", 0};
// 1 from the first start until the first session: the text area greets the learner.
inline constexpr IntKey Welcome{kSetup, "Welcome", 0};

inline constexpr TextKey CommonWordFile{kSetup, "Common Word File", "Word Files\\1000 Common Words.txt"};
inline constexpr TextKey QsoFile{kSetup, "QSO File", "QSO Files\\QSO.txt"};
inline constexpr TextKey FontName{kSetup, "Font Name", "Arial"};
// Where the file dialogs open: the folder of the text file played or saved last (empty:
// "Text Files" beside the program), of the last recording (empty: the current folder),
// and the type the last recording was chosen as (0 WAV, 1 MP3 when the encoder is there).
inline constexpr TextKey TextFolder{kSetup, "Text Folder", ""};
inline constexpr TextKey RecordingFolder{kSetup, "Recording Folder", ""};
inline constexpr TextKey ExportFolder{kSetup, "Export Folder", ""};
inline constexpr IntKey RecordingType{kSetup, "Recording Type", 1};

// --- Section "Drills": the options of the drills window, restored when it opens and
// saved when a drill starts ---------------------------------------------------------
inline constexpr IntKey DrillTimeLimit{kDrills, "Time Limit", 3000};  // ms, 500..10000
inline constexpr IntKey DrillCharacters{kDrills, "Characters", 100};  // 0: no such end
inline constexpr IntKey DrillMinutes{kDrills, "Minutes", 0};          // 0: no such end
inline constexpr IntKey DrillTarget{kDrills, "Target", 1000};         // ms, 200..5000
inline constexpr IntKey DrillBandConditions{kDrills, "Band Conditions",
                                            0};  // the main window's noise, signal, fading
inline constexpr IntKey DrillGrowing{kDrills, "Add Characters", 0};  // from two, one more as each is known
inline constexpr IntKey CallsignCalls{kDrills, "Calls", 50};         // 1..500
inline constexpr IntKey CallsignStartSpeed{kDrills, "Start Speed", 20};  // WPM, 10..150
inline constexpr IntKey CallsignStep{kDrills, "Step", 2};                // WPM, 1..20
inline constexpr IntKey CallsignTopSpeed{kDrills, "Top Speed", 150};     // WPM, 10..150: the ceiling
inline constexpr IntKey CallsignVaryPitch{kDrills, "Vary Pitch", 0};  // each call within 200 Hz of the pitch

// --- Section "Sending": the key, the keyer and the sidetone of the sending window ---
inline constexpr IntKey SendingMode{kSending, "Keyer Mode", 2};     // Straight, Iambic A, Iambic B, Bug
inline constexpr IntKey SendingSpeed{kSending, "Keyer Speed", 20};  // WPM, 5..60
inline constexpr IntKey SendingWeight{kSending, "Weighting", 50};   // percent, 25..75
inline constexpr IntKey DashRatio{kSending, "Dash Ratio", 30};      // tenths of a dot unit, 20..45
inline constexpr IntKey DotMemory{kSending, "Dot Memory", 1};
inline constexpr IntKey SidetoneVolume{kSending, "Sidetone Volume", 80};      // percent
inline constexpr IntKey DitKeyCode{kSending, "Dit Key", 37};                  // native scan code: Left Ctrl
inline constexpr IntKey DahKeyCode{kSending, "Dah Key", 105};                 // Right Ctrl
inline constexpr IntKey StraightKeyCode{kSending, "Straight Key", 65};        // Space
inline constexpr TextKey SerialKeyDevice{kSending, "Serial Key Device", ""};  // empty: none
inline constexpr IntKey MidiKey{kSending, "MIDI Key", 0};
inline constexpr TextKey MidiPort{kSending, "MIDI Port", ""};  // empty: the first that sends
inline constexpr IntKey KeyRig{kSending, "Key Rig", 0};        // the rig port's lines follow the key

// --- Section "FormState": the main window's placement -------------------------------
inline constexpr YesNoKey Saved{kFormState, "Saved", false};
inline constexpr IntKey Left{kFormState, "Left", 0};
inline constexpr IntKey Top{kFormState, "Top", 0};
inline constexpr IntKey Right{kFormState, "Right", 0};
inline constexpr IntKey Bottom{kFormState, "Bottom", 0};
inline constexpr YesNoKey Maximized{kFormState, "Maximized", false};

// --- Sections "MorseLetter%d": one user-defined character each ----------------------
inline constexpr const char* kContent = "Content";  // the code, "." and "-"
inline constexpr const char* kDisplayText = "Display";

using AnyKey = std::variant<const IntKey*, const TextKey*, const YesNoKey*>;

// Every key of "Setup", "Drills", "Sending" and "FormState", for tools and tests that walk the table.
inline constexpr std::array kAllKeys = {
    AnyKey{&Pitch},
    AnyKey{&Letters},
    AnyKey{&Speed},
    AnyKey{&Delay},
    AnyKey{&Display},
    AnyKey{&UseMfj},
    AnyKey{&Callback},
    AnyKey{&Port},
    AnyKey{&PortDevice},
    AnyKey{&DisplayDelay},
    AnyKey{&NoiseLevel},
    AnyKey{&Chirp},
    AnyKey{&StraightKey},
    AnyKey{&Qrm},
    AnyKey{&SignalLevel},
    AnyKey{&Qsb},
    AnyKey{&QsbMode},
    AnyKey{&QsbType},
    AnyKey{&SpeedStep},
    AnyKey{&PitchDither},
    AnyKey{&VariableWeighting},
    AnyKey{&SpeedDitherSize},
    AnyKey{&StraightKeyFist},
    AnyKey{&FavourRecent},
    AnyKey{&FavourMissed},
    AnyKey{&WordFilter},
    AnyKey{&SingleWordOnly},
    AnyKey{&SpeakAnswer},
    AnyKey{&MaxWordLength},
    AnyKey{&CommonWordFile},
    AnyKey{&QsoFile},
    AnyKey{&FontSize},
    AnyKey{&FontName},
    AnyKey{&TextFolder},
    AnyKey{&RecordingFolder},
    AnyKey{&ExportFolder},
    AnyKey{&RecordingType},
    AnyKey{&Pause},
    AnyKey{&Session},
    AnyKey{&Session1},
    AnyKey{&Session2},
    AnyKey{&EffectiveMode},
    AnyKey{&CommonWordsSize},
    AnyKey{&Mp3BitRate},
    AnyKey{&IntroduceCharacter},
    AnyKey{&GroupLengthMode},
    AnyKey{&GroupLengthMin},
    AnyKey{&GroupLengthMax},
    AnyKey{&Volume},
    AnyKey{&Welcome},
    AnyKey{&DrillTimeLimit},
    AnyKey{&DrillCharacters},
    AnyKey{&DrillMinutes},
    AnyKey{&DrillTarget},
    AnyKey{&DrillBandConditions},
    AnyKey{&DrillGrowing},
    AnyKey{&CallsignCalls},
    AnyKey{&CallsignStartSpeed},
    AnyKey{&CallsignStep},
    AnyKey{&CallsignTopSpeed},
    AnyKey{&CallsignVaryPitch},
    AnyKey{&SendingMode},
    AnyKey{&SendingSpeed},
    AnyKey{&SendingWeight},
    AnyKey{&DashRatio},
    AnyKey{&DotMemory},
    AnyKey{&SidetoneVolume},
    AnyKey{&DitKeyCode},
    AnyKey{&DahKeyCode},
    AnyKey{&StraightKeyCode},
    AnyKey{&SerialKeyDevice},
    AnyKey{&MidiKey},
    AnyKey{&MidiPort},
    AnyKey{&KeyRig},
    AnyKey{&Saved},
    AnyKey{&Left},
    AnyKey{&Top},
    AnyKey{&Right},
    AnyKey{&Bottom},
    AnyKey{&Maximized},
};

}  // namespace lumbrel::keys
