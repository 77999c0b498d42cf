#pragma once
// An MP3 recording of the main signal: the encoder stream, its output area, the output
// file and the ID3v1 tag written at its end.
//
// Lifecycle: Arm() opens the encoder stream and creates the file; Encode() takes every
// main-signal buffer rendered from then on; Finish() at the end of the session flushes
// the encoder, closes its stream and appends the tag. A stream destroyed without
// Finish() (the program closed during a session) leaves the frames written so far and
// no tag. The file is written beside any file of its name, which stays until the first
// audio (or, for a render, until Commit()); a stream that met no audio leaves it as it was.
//
// File layout: MPEG audio frames at a constant bit rate, nothing in front of the first,
// then the 128-byte tag:
//   0 "TAG" | 3 title (30) | 33 "Ditdah" (30) | 63 "Learning Morse" (30) | 93 "2007" (4)
//   97 "Using Zelph Koch Method" (30) | 127 genre 255
#include <QFile>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "recording/Mp3Encoder.h"
#include "recording/PcmDownsampler.h"
#include "recording/ReplacingFile.h"

namespace lumbrel {

using Id3v1Tag = std::array<std::uint8_t, 128>;

// The tag of a recording written to `outputPath`. The title is the file name without
// its folder and without its ".mp3" ending, in Latin-1, cut at 30 bytes; text fields are
// zero-padded and a field filled to its width has no terminating zero.
Id3v1Tag BuildId3v1Tag(const QString& outputPath);

// Where the recorder shows a message box with an error icon.
class RecordingReporter {
public:
    virtual ~RecordingReporter() = default;
    virtual void ReportError(const QString& text, const QString& caption) = 0;
};

class Mp3OutputStream {
public:
    enum class ArmStatus {
        Armed,
        EncoderRefused,  // the encoder would not open a stream; already reported
        FileNotCreated,  // the output file could not be created; `error` says why
    };
    struct Arming {
        ArmStatus status = ArmStatus::EncoderRefused;
        std::unique_ptr<Mp3OutputStream> stream;  // set only when Armed
        QString error;                            // the file's reason when FileNotCreated
    };

    // Arms a recording to `path` (already carrying its ".mp3"):
    //  1. opens an encoder stream with RecordingMp3Config(bitRateSetting); if the encoder
    //     refuses, reports "Error opening MP3 encoding stream" captioned "Cannot continue
    //     with MP3 Recording" and returns EncoderRefused (no file is touched);
    //  2. allocates the output area of the size the encoder reports;
    //  3. creates the file, replacing any file of that name; if that fails, releases the
    //     encoder stream and returns FileNotCreated with the reason, for the caller to
    //     report "cannot create FILE: reason";
    //  4. builds the tag.
    static Arming Arm(std::shared_ptr<Mp3Encoder> encoder, const QString& path, int bitRateSetting,
                      RecordingReporter& reporter);
    // The same with another configuration. A mono one (CompactMp3Config) at 44100,
    // 22050 or 11025 Hz gets the engine's buffers downsampled to it; a configuration
    // that is neither that nor 44100 Hz stereo is refused like the encoder refusing it.
    static Arming Arm(std::shared_ptr<Mp3Encoder> encoder, const QString& path,
                      const Mp3EncoderConfig& config, RecordingReporter& reporter,
                      ReplaceWhen when = ReplaceWhen::FirstAudio);

    // Abandons a recording not finished: releases the encoder stream, closes the file.
    ~Mp3OutputStream();

    Mp3OutputStream(const Mp3OutputStream&) = delete;
    Mp3OutputStream& operator=(const Mp3OutputStream&) = delete;

    // Encodes one buffer of the engine's audio (44100 Hz stereo), `byteLength` bytes
    // (byteLength / 2 values), downsampled when the configuration asks for it, in
    // pieces of at most the encoder's chunk size, and appends what the encoder
    // produces. A piece the encoder fails on is skipped silently. A write error (disk
    // full) stops the recording: the file is cut back to the frames written in full,
    // and Finish() returns the error. Returns false when nothing could be appended
    // because the recording is stopped or finished.
    bool Encode(const void* data, std::uint32_t byteLength);

    // Ends the recording at the end of its session: flushes the downsampler and the
    // encoder and appends their last frames (unless a write error stopped the
    // recording), closes the encoder stream, appends the tag and closes the file.
    // Returns the message to show once when a write error stopped or spoiled the
    // recording ("cannot write FILE: reason"), otherwise an empty string. A second call
    // does nothing and returns an empty string.
    QString Finish();
    // Puts the finished file in place (a render that succeeded); empty, or why it failed.
    QString Commit();
    // Closes and removes the file this stream created, leaving any file it was to replace.
    void Discard() { file_.Discard(); }

    // True from arming until a write error or Finish().
    bool IsRecording() const { return recording_; }
    // Empty while all is well; otherwise the reason of the first write error.
    QString Error() const { return error_; }
    QString Path() const { return path_; }
    const Id3v1Tag& Tag() const { return tag_; }
    std::uint32_t ChunkSamples() const { return chunkSamples_; }
    std::uint32_t OutputAreaBytes() const { return static_cast<std::uint32_t>(output_.size()); }
    // Bytes of the file that were written in full.
    qint64 BytesWritten() const { return written_; }
    // Whether any audio was handed over, written yet or still held by the encoder.
    bool HasAudio() const { return hasAudio_; }

private:
    Mp3OutputStream(std::shared_ptr<Mp3Encoder> encoder, Mp3StreamHandle handle, std::uint32_t chunkSamples,
                    std::uint32_t outputBytes, const QString& path);

    // Encodes values in the encoder's own format and appends the result.
    bool EncodeValues(const std::int16_t* values, std::uint32_t count);
    // Appends bytes; on a short write cuts the file back, records the error and stops.
    bool Write(const char* data, qint64 bytes);
    void CloseEncoderStream();

    std::shared_ptr<Mp3Encoder> encoder_;
    Mp3StreamHandle handle_ = 0;
    bool streamOpen_ = false;
    std::uint32_t chunkSamples_ = 0;
    std::vector<std::uint8_t> output_;
    std::unique_ptr<PcmDownsampler> downsampler_;  // set for a mono configuration
    std::vector<std::int16_t> downsampled_;        // reused for every buffer
    ReplacingFile file_;
    ReplaceWhen when_ = ReplaceWhen::FirstAudio;
    QString path_;
    Id3v1Tag tag_{};
    QString error_;
    qint64 written_ = 0;
    bool hasAudio_ = false;
    bool recording_ = false;
    bool finished_ = false;
};

}  // namespace lumbrel
