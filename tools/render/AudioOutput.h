#pragma once
// Where lumbrel-render writes what it renders: a WAV file, an MP3 file through the
// LAME library, or WAV on standard output ("-").
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace lumbrel::render {

class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // 44100 Hz 16-bit stereo bytes, whole frames. False once writing has failed.
    virtual bool Write(const std::uint8_t* bytes, std::size_t count) = 0;
    // Completes the file, still beside any file of its name; empty on success,
    // otherwise why it failed.
    virtual QString Finish() = 0;
    // Puts the completed file in the place of any file of its name; empty on success.
    // Never called, the new file is removed and the old one stays as it was.
    virtual QString Commit() = 0;
    // Why the last write failed.
    virtual QString Error() const = 0;
};

// "-" is WAV on standard output; a name ending in ".mp3" (any case) is MP3 at the
// bit-rate setting (16 x (setting + 1) kbit/s), mono at a rate that carries tones up
// to highestToneHz (by default the highest a session reaches, drift included);
// anything else WAV. Null, with the reason in `error`, when the output cannot be made.
std::unique_ptr<AudioOutput> CreateAudioOutput(const QString& path, int mp3BitRateSetting, QString& error,
                                               int highestToneHz = 2000);

bool IsMp3Path(const QString& path);

// Writes `seconds` of silence. False once writing has failed.
bool WriteSilence(AudioOutput& out, int seconds);

}  // namespace lumbrel::render
