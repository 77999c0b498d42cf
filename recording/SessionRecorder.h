#pragma once
// Records a session: an armed WAV file or MP3 stream takes every buffer the engine
// fills, and at the session's end the recording is finished and the transcript (the
// text that was sent) written beside it. A failure is told once, at the end.
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

#include "recording/Mp3OutputStream.h"
#include "recording/WavFile.h"

namespace lumbrel {

class SessionRecorder {
public:
    // Tells a failure to the user (a message box with an error icon).
    using Tell = std::function<void(const QString& text, const QString& caption)>;
    explicit SessionRecorder(Tell tell) : tell_(std::move(tell)) {}

    // A WAV recording takes precedence over an MP3 one.
    void ArmWav(std::unique_ptr<WavFile> wav) { wav_ = std::move(wav); }
    // An MP3 recording armed while another waits finishes the earlier one first, so
    // that its file is complete.
    void ArmMp3(std::unique_ptr<Mp3OutputStream> mp3);
    // Where the transcript goes when the recording finishes; empty: none.
    void SetTranscriptFile(const QString& path) { transcript_ = path; }

    // Before another recording is armed (the latest choice wins): an armed file that
    // holds no audio yet is dropped (a file it was to replace stays as it was) and its
    // transcript too; one that holds audio
    // (armed during this session) is finished as it stands, with transcript lines.
    void Release(const QStringList& transcriptLines);

    // Whether a recording or a transcript waits for the session.
    bool Armed() const { return wav_ || mp3_ || !transcript_.isEmpty(); }
    // Whether the armed recording still takes audio.
    bool Recording() const { return (wav_ && wav_->IsOpen()) || (mp3_ && mp3_->IsRecording()); }

    // One buffer of the session. A write error (disk full) stops the WAV recording,
    // keeps what was written a valid file and is told at the end of the session.
    void Append(const void* data, std::uint32_t bytes);

    // The end of a session: the WAV file is completed, then the MP3 file gets its last
    // frames and its tag, then the transcript is written.
    void Finish(const QStringList& transcriptLines);

private:
    Tell tell_;
    std::unique_ptr<WavFile> wav_;
    std::unique_ptr<Mp3OutputStream> mp3_;
    QString transcript_;
    QString error_;  // the first failure of this session's recording
};

}  // namespace lumbrel
