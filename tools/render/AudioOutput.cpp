#include "tools/render/AudioOutput.h"

#include <QFile>

#include <array>
#include <cstdio>
#include <cstring>
#include <vector>

#include "morse/SampleFormat.h"
#include "recording/LameEncoder.h"
#include "recording/Mp3OutputStream.h"
#include "recording/WavFile.h"

namespace lumbrel::render {
namespace {

class WavOutput final : public AudioOutput {
public:
    explicit WavOutput(const QString& path) : wav_(path, ReplaceWhen::Commit) {}
    bool Open(QString& error) {
        if (!wav_.IsOpen())
            error = QStringLiteral("cannot create %1: %2").arg(wav_.Path(), wav_.Error());
        return wav_.IsOpen();
    }
    bool Write(const std::uint8_t* bytes, std::size_t count) override {
        return wav_.Append(bytes, static_cast<std::uint32_t>(count));
    }
    QString Finish() override { return {}; }
    QString Commit() override {
        return wav_.Commit() ? QString()
                             : QStringLiteral("cannot write %1: %2").arg(wav_.Path(), wav_.Error());
    }
    QString Error() const override { return wav_.Error(); }

private:
    WavFile wav_;
};

// WAV on a pipe: no seeking back, so both sizes say "unknown" (all ones), as players
// of streamed WAV expect.
class StdoutWavOutput final : public AudioOutput {
public:
    bool Open(QString& error) {
        if (!out_.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            error = QStringLiteral("cannot write to standard output: %1").arg(out_.errorString());
            return false;
        }
        const WavFile::HeaderBytes header = WavFile::MakeHeader(0xFFFFFFFFu, 0xFFFFFFFFu);
        return WriteAll(header.data(), header.size());
    }
    bool Write(const std::uint8_t* bytes, std::size_t count) override { return WriteAll(bytes, count); }
    QString Finish() override { return failed_ ? Error() : QString(); }
    QString Commit() override { return {}; }
    QString Error() const override {
        return QStringLiteral("cannot write to standard output: %1").arg(out_.errorString());
    }

private:
    bool WriteAll(const std::uint8_t* bytes, std::size_t count) {
        if (failed_)
            return false;
        failed_ = out_.write(reinterpret_cast<const char*>(bytes), static_cast<qint64>(count)) !=
                  static_cast<qint64>(count);
        return !failed_;
    }
    QFile out_;
    bool failed_ = false;
};

class SilentReporter final : public RecordingReporter {
public:
    void ReportError(const QString& text, const QString& caption) override {
        message = caption + QStringLiteral(": ") + text;
    }
    QString message;
};

class Mp3Output final : public AudioOutput {
public:
    bool Open(const QString& path, int setting, int highestToneHz, QString& error) {
        QString why;
        std::shared_ptr<Mp3Encoder> encoder = LoadLameEncoder(QStringLiteral("mp3lame"), 0, &why);
        if (!encoder) {
            error = QStringLiteral("MP3 needs the LAME library (Debian package libmp3lame0): %1").arg(why);
            return false;
        }
        SilentReporter reporter;
        // Files for listening, not the trainer's recordings: the compact configuration.
        auto arming = Mp3OutputStream::Arm(encoder, path, CompactMp3Config(setting, highestToneHz), reporter,
                                           ReplaceWhen::Commit);
        if (!arming.stream) {
            error = arming.error.isEmpty() ? reporter.message : arming.error;
            return false;
        }
        stream_ = std::move(arming.stream);
        return true;
    }
    bool Write(const std::uint8_t* bytes, std::size_t count) override {
        return stream_->Encode(bytes, static_cast<std::uint32_t>(count)) || stream_->IsRecording();
    }
    QString Finish() override { return stream_->Finish(); }
    QString Commit() override { return stream_->Commit(); }
    QString Error() const override { return stream_->Error(); }

private:
    std::unique_ptr<Mp3OutputStream> stream_;
};

}  // namespace

bool IsMp3Path(const QString& path) {
    return path.endsWith(QLatin1String(".mp3"), Qt::CaseInsensitive);
}

std::unique_ptr<AudioOutput> CreateAudioOutput(const QString& path, int mp3BitRateSetting, QString& error,
                                               int highestToneHz) {
    if (path == QLatin1String("-")) {
        auto out = std::make_unique<StdoutWavOutput>();
        return out->Open(error) ? std::move(out) : nullptr;
    }
    if (IsMp3Path(path)) {
        auto out = std::make_unique<Mp3Output>();
        return out->Open(path, mp3BitRateSetting, highestToneHz, error) ? std::move(out) : nullptr;
    }
    auto out = std::make_unique<WavOutput>(path);
    return out->Open(error) ? std::move(out) : nullptr;
}

bool WriteSilence(AudioOutput& out, int seconds) {
    const std::vector<std::uint8_t> second(static_cast<std::size_t>(audio::kByteRate), 0);
    for (int i = 0; i < seconds; ++i)
        if (!out.Write(second.data(), second.size()))
            return false;
    return true;
}

}  // namespace lumbrel::render
