#include "recording/SessionRecorder.h"

#include <QDir>

#include "recording/Transcript.h"

namespace lumbrel {
namespace {
const QString kCaption = QStringLiteral("Record Audio File");
}

void SessionRecorder::ArmMp3(std::unique_ptr<Mp3OutputStream> mp3) {
    if (mp3_) {
        const QString problem = mp3_->Finish();
        if (!problem.isEmpty())
            tell_(problem, kCaption);
    }
    mp3_ = std::move(mp3);
}

void SessionRecorder::Release(const QStringList& transcriptLines) {
    if ((wav_ && wav_->DataBytes() > 0) || (mp3_ && mp3_->HasAudio())) {
        Finish(transcriptLines);
        return;
    }
    // A file of the same name stays as it was: the new one never took its place.
    if (wav_)
        wav_->Discard();
    if (mp3_)
        mp3_->Discard();
    wav_.reset();
    mp3_.reset();
    transcript_.clear();
}

void SessionRecorder::Append(const void* data, std::uint32_t bytes) {
    if (wav_) {
        if (!wav_->Append(data, bytes) && wav_->IsOpen()) {
            error_ = QStringLiteral("The recording %1 was stopped: %2")
                         .arg(QDir::toNativeSeparators(wav_->Path()), wav_->Error());
            wav_.reset();
        }
    } else if (mp3_ && mp3_->IsRecording()) {
        mp3_->Encode(data, bytes);
    }
}

void SessionRecorder::Finish(const QStringList& transcriptLines) {
    wav_.reset();
    if (mp3_) {
        const QString problem = mp3_->Finish();
        if (!problem.isEmpty() && error_.isEmpty())
            error_ = problem;
        mp3_.reset();
    }
    if (!transcript_.isEmpty()) {
        const QString problem = SaveTextLines(transcript_, transcriptLines);
        if (!problem.isEmpty() && error_.isEmpty())
            error_ = QStringLiteral("The transcript %1 could not be written: %2")
                         .arg(QDir::toNativeSeparators(transcript_), problem);
        transcript_.clear();
    }
    if (!error_.isEmpty()) {
        tell_(error_, kCaption);
        error_.clear();
    }
}

}  // namespace lumbrel
