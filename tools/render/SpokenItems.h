#pragma once
// Spoken answers in renders: items (words, calls, the words or lines of a text file)
// sent in Morse, each with its answer spoken before or after it, or between two
// sendings, at one speed or at rising speeds; as one file or as a series of lessons.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

#include "morse/LearningOrders.h"

namespace lumbrel::render {

enum class SpeakOrder { After, Before, Ninja };  // ninja: Morse, spoken, Morse again
enum class ItemSource { Words, MyCharacters, Calls, TextWords, TextLines };

struct SpokenOptions {
    QString output = QStringLiteral("lumbrel.wav");
    SpeakOrder order = SpeakOrder::After;
    QString voice;  // empty: English
    bool listVoices = false;
    int speechRateWpm = 175;
    double speakGapSeconds = 1.5;
    std::vector<int> speeds{25};  // --wpm, or --speed-steps rising
    int toneHz = 750;
    int effectivePermille = 1000;
    LearningOrder learningOrder = LearningOrder::Koch;
    int characters = 2;  // --my-characters: the first N of the order
    int minutes = 5;
    ItemSource source = ItemSource::Words;
    QString file;  // the word list or text file; empty: the shipped common words
    bool phonetic = false;
    std::optional<std::uint32_t> seed;
    int mp3BitRate = 1;
    int wordFilter = 0x3FFFFFF;
    int maxWordLength = 20;
    // A series of lessons instead of one file.
    QString seriesDir;
    int lessons = 0;
    bool seriesMp3 = true;
    QString seriesUrl;  // where the lessons are served, for the feed's enclosures
    bool help = false;
};

struct SpokenParse {
    std::optional<SpokenOptions> options;
    QString error;
};

// Whether the arguments ask for spoken items (--speak, --series or --voice).
bool WantsSpokenItems(const QStringList& arguments);
SpokenParse ParseSpokenOptions(const QStringList& arguments);
QString SpokenUsage();

// Runs lumbrel-render with spoken items; the exit status.
int RenderSpokenItems(const QStringList& arguments);

}  // namespace lumbrel::render
