#pragma once
// Command line of lumbrel-render.
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

#include "morse/LearningOrders.h"
#include "engine/EffectiveSpeed.h"
#include "text/GroupLength.h"

namespace lumbrel::render {

// The --qso argument that asks for a contact made at the moment rather than a file
// (a file of that name is given as ./generated).
inline constexpr const char* kGeneratedQso = "generated";

struct RenderOptions {
    QString output = QStringLiteral("lumbrel.wav");
    QString textFile;  // -f FILE
    QStringList text;  // plain TEXT arguments
    int wpm = 25;
    int toneHz = 750;
    int effectivePermille = 1000;
    int effectiveWpm = 0;  // --effective-wpm W; 0 when not given
    int pause = -1;        // seconds of silence at the start; -1: the default
    LearningOrder order = LearningOrder::Koch;
    std::optional<std::uint32_t> seed;
    bool help = false;
    bool version = false;

    // A random-group session through the trainer's own engine.
    bool groups = false;
    bool play = false;      // to the sound card instead of a file
    QString transcript;     // the revealed text, when given
    int characters = 2;     // the Koch character count N
    int effectiveMode = 0;  // 0 each word, 1 each character
    int minutes = 5;
    int signalIndex = 7;  // S1..S7, S9
    int noiseIndex = 0;   // off, S3, S5, S7, S9
    bool qsb = false;
    int qsbMode = 0;  // fast, slow
    int qsbType = 0;  // shallow, deep
    bool speedDither = false;
    bool pitchDither = false;
    bool straightKey = false;
    int fist = 0;  // good, bad
    bool weighting = false;
    bool chirp = false;
    bool favourRecent = false;
    bool introduce = false;     // the --chars'th character five times alone first
    GroupLength groupLength;    // --group-length N or MIN-MAX
    bool favourMissed = false;  // weigh by the misses in the user's history database
    bool qrm = false;           // the two interfering stations, mixed into the output
    int mp3BitRate = 1;         // the "MP3 Bit Rate" setting: 16 x (n + 1) kbit/s
    bool outputGiven = false;

    // Word, QSO and text-file sessions through the trainer's engine.
    bool words = false;          // --words [FILE]: random words until --minutes
    QString wordsFile;           // empty: the shipped "Common Word File"
    bool myCharacters = false;   // --my-characters: only words of the first --chars characters
    bool qso = false;            // --qso [FILE]: one random sample QSO
    QString qsoFile;             // empty: the shipped "QSO File"; kGeneratedQso: a contact made now
    QString textSession;         // --text FILE: a text file, parameter lines included
    int wordFilter = 0x3FFFFFF;  // bit n: words starting with letter n
    int maxWordLength = 20;
    int wordsSize = 0;             // 0 all, 1 500, 2 250, 3 100 words
    bool wordOptionGiven = false;  // one of the three above was given

    // Any session that runs through the trainer's engine.
    bool Session() const { return groups || words || qso || !textSession.isEmpty(); }
    // Seconds of silence at the start of the output: the countdown before random
    // groups (1 s unless given), none before anything else unless given.
    int PauseSeconds() const { return pause >= 0 ? pause : (groups ? 1 : 0); }
    // What an effective speed stretches: every unit for random groups, -f, TEXT and
    // --effective-mode char; the word spaces alone for words, QSOs and text files.
    Stretch StretchMode() const {
        return (groups || !Session() || effectiveMode == 1) ? Stretch::EveryUnit : Stretch::WordSpaceOnly;
    }
};

struct ParseResult {
    std::optional<RenderOptions> options;  // empty on a usage error
    QString error;                         // why, for standard error
};

ParseResult ParseRenderOptions(const QStringList& arguments);
QString RenderUsage();
// Said once on standard error when the effective speed asked for is slower than the
// renderer stretches a unit to: the speed that plays instead; empty otherwise.
QString StretchCapNote(const RenderOptions& options);

}  // namespace lumbrel::render
