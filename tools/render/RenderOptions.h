#pragma once
// Command line of lumbrel-render.
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

#include "morse/LearningOrders.h"

namespace lumbrel::render {

struct RenderOptions {
    QString output = QStringLiteral("lumbrel.wav");
    QString textFile;                 // -f FILE
    QStringList text;                 // plain TEXT arguments
    int wpm = 25;
    int toneHz = 750;
    int effectivePermille = 1000;
    LearningOrder order = LearningOrder::Koch;
    std::optional<std::uint32_t> seed;
    bool help = false;
    bool version = false;

    // A random-group session through the trainer's own engine.
    bool groups = false;
    bool play = false;                // to the sound card instead of a file
    QString transcript;               // the revealed text, when given
    int characters = 2;               // the Koch character count N
    int effectiveMode = 0;            // 0 each word, 1 each character
    int minutes = 5;
    int pause = 1;                    // seconds of countdown
    int signalIndex = 7;              // S1..S7, S9
    int noiseIndex = 0;               // off, S3, S5, S7, S9
    bool qsb = false;
    int qsbMode = 0;                  // fast, slow
    int qsbType = 0;                  // shallow, deep
    bool speedDither = false;
    bool pitchDither = false;
    bool straightKey = false;
    int fist = 0;                     // good, bad
    bool weighting = false;
    bool chirp = false;
    bool favourRecent = false;
    bool outputGiven = false;
};

struct ParseResult {
    std::optional<RenderOptions> options;  // empty on a usage error
    QString error;                         // why, for standard error
};

ParseResult ParseRenderOptions(const QStringList& arguments);
QString RenderUsage();

}  // namespace lumbrel::render
