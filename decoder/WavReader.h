#pragma once
// Reads a RIFF/WAVE file as one channel of samples (-1..1): integer PCM of 8, 16, 24
// or 32 bits, float of 32 or 64 bits, plain or extensible, any number of channels
// (mixed) at any rate from 1000 to 384000 Hz. The file is read at most kMaxBytes long,
// and at most kMaxFrames of it kept; a sample that is no number counts as silence.
#include <QByteArray>
#include <QString>

#include <vector>

namespace lumbrel {

struct WavAudio {
    std::vector<float> samples;  // one a frame, the channels mixed
    int rate = 0;                // frames per second
    QString problem;             // empty when read; otherwise why not, in one line
    bool Ok() const { return problem.isEmpty(); }
};

class WavReader {
public:
    static constexpr qint64 kMaxBytes = 256LL * 1024 * 1024;
    static constexpr qint64 kMaxFrames = 64LL * 1024 * 1024;  // 25 minutes at 44100 Hz

    static WavAudio Parse(const QByteArray& bytes);
    // A device, a pipe or a folder is refused without reading it.
    static WavAudio ReadFile(const QString& path);
};

}  // namespace lumbrel
