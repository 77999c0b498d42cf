#include "recording/Mp3OutputStream.h"

#include <QByteArray>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

#include "morse/SampleFormat.h"

namespace lumbrel {
namespace {

void PutText(Id3v1Tag& tag, std::size_t offset, std::size_t width, const QByteArray& text) {
    const std::size_t n = std::min(width, static_cast<std::size_t>(text.size()));
    std::memcpy(tag.data() + offset, text.constData(), n);
}

}  // namespace

Id3v1Tag BuildId3v1Tag(const QString& outputPath) {
    Id3v1Tag tag{};
    PutText(tag, 0, 3, QByteArrayLiteral("TAG"));
    QString title = QFileInfo(outputPath).fileName();
    if (title.endsWith(QLatin1String(".mp3"), Qt::CaseInsensitive))
        title.chop(4);
    PutText(tag, 3, 30, title.toLatin1());
    PutText(tag, 33, 30, QByteArrayLiteral("Ditdah"));
    PutText(tag, 63, 30, QByteArrayLiteral("Learning Morse"));
    PutText(tag, 93, 4, QByteArrayLiteral("2007"));
    PutText(tag, 97, 30, QByteArrayLiteral("Using Zelph Koch Method"));
    tag[127] = 255;
    return tag;
}

Mp3OutputStream::Mp3OutputStream(std::shared_ptr<Mp3Encoder> encoder, Mp3StreamHandle handle,
                                 std::uint32_t chunkSamples, std::uint32_t outputBytes, const QString& path)
    : encoder_(std::move(encoder)),
      handle_(handle),
      streamOpen_(true),
      chunkSamples_(chunkSamples),
      output_(outputBytes),
      file_(path),
      path_(path) {}

Mp3OutputStream::~Mp3OutputStream() {
    CloseEncoderStream();
}

Mp3OutputStream::Arming Mp3OutputStream::Arm(std::shared_ptr<Mp3Encoder> encoder, const QString& path,
                                             int bitRateSetting, RecordingReporter& reporter) {
    return Arm(std::move(encoder), path, RecordingMp3Config(bitRateSetting), reporter);
}

Mp3OutputStream::Arming Mp3OutputStream::Arm(std::shared_ptr<Mp3Encoder> encoder, const QString& path,
                                             const Mp3EncoderConfig& config, RecordingReporter& reporter,
                                             ReplaceWhen when) {
    Arming result;
    constexpr auto kEngineRate = static_cast<std::uint32_t>(audio::kFrameRate);
    const bool mono = config.mode == Mp3Mode::Mono;
    const std::uint32_t rate = config.sampleRate;
    const bool engineFormat = !mono && rate == kEngineRate;
    const bool downsampled =
        mono && (rate == kEngineRate || rate == kEngineRate / 2 || rate == kEngineRate / 4);
    std::uint32_t samplesPerChunk = 0;
    std::uint32_t outputBytes = 0;
    Mp3StreamHandle handle = 0;
    Mp3Error opened = Mp3Error::InvalidFormat;
    if (encoder && (engineFormat || downsampled))
        opened = encoder->InitStream(config, &samplesPerChunk, &outputBytes, &handle);
    // Pieces hold whole frames (two values each, one for mono).
    const std::uint32_t piece = mono ? samplesPerChunk : samplesPerChunk & ~1u;
    if (opened != Mp3Error::Ok || piece == 0 || outputBytes == 0) {
        if (opened == Mp3Error::Ok)
            encoder->CloseStream(handle);
        reporter.ReportError(QStringLiteral("Error opening MP3 encoding stream"),
                             QStringLiteral("Cannot continue with MP3 Recording"));
        result.status = ArmStatus::EncoderRefused;
        return result;
    }

    std::unique_ptr<Mp3OutputStream> stream(
        new Mp3OutputStream(std::move(encoder), handle, piece, outputBytes, path));
    if (mono)
        stream->downsampler_ = std::make_unique<PcmDownsampler>(static_cast<int>(kEngineRate / rate));
    stream->when_ = when;
    if (!stream->file_.OpenNew(when == ReplaceWhen::FirstAudio)) {
        result.status = ArmStatus::FileNotCreated;
        result.error = stream->file_.errorString();
        return result;  // the stream's destruction releases the encoder stream
    }
    stream->tag_ = BuildId3v1Tag(path);
    stream->recording_ = true;
    result.status = ArmStatus::Armed;
    result.stream = std::move(stream);
    return result;
}

bool Mp3OutputStream::Encode(const void* data, std::uint32_t byteLength) {
    if (!recording_ || (byteLength > 1 && !data))
        return false;
    const auto* values = static_cast<const std::int16_t*>(data);
    if (!hasAudio_ && byteLength >= 2 && when_ == ReplaceWhen::FirstAudio && !file_.ReplaceTarget()) {
        error_ = file_.errorString();
        recording_ = false;
        return false;
    }
    hasAudio_ = hasAudio_ || byteLength >= 2;
    if (!downsampler_)
        return EncodeValues(values, byteLength / 2);
    downsampled_.clear();
    downsampler_->Process(values, byteLength / 4, downsampled_);
    return EncodeValues(downsampled_.data(), static_cast<std::uint32_t>(downsampled_.size()));
}

bool Mp3OutputStream::EncodeValues(const std::int16_t* values, std::uint32_t samples) {
    QByteArray encoded;
    for (std::uint32_t done = 0; done < samples;) {
        const std::uint32_t n = std::min(chunkSamples_, samples - done);
        std::uint32_t produced = 0;
        const Mp3Error result = encoder_->EncodeChunk(handle_, n, values + done, output_.data(), &produced);
        if (result == Mp3Error::Ok && produced <= output_.size())
            encoded.append(reinterpret_cast<const char*>(output_.data()), static_cast<qsizetype>(produced));
        done += n;
    }
    return Write(encoded.constData(), encoded.size());
}

QString Mp3OutputStream::Finish() {
    if (finished_)
        return {};
    finished_ = true;
    if (recording_ && streamOpen_ && downsampler_) {
        downsampled_.clear();
        downsampler_->Flush(downsampled_);
        EncodeValues(downsampled_.data(), static_cast<std::uint32_t>(downsampled_.size()));
    }
    if (recording_ && streamOpen_) {
        std::uint32_t produced = 0;
        const Mp3Error result = encoder_->DeinitStream(handle_, output_.data(), &produced);
        if (result == Mp3Error::Ok && produced > 0 && produced <= output_.size())
            Write(reinterpret_cast<const char*>(output_.data()), produced);
    }
    CloseEncoderStream();
    output_ = {};
    if (file_.isOpen()) {
        // Also after a write error: the frames written in full then get their tag if it fits.
        Write(reinterpret_cast<const char*>(tag_.data()), static_cast<qint64>(tag_.size()));
        file_.close();
    }
    recording_ = false;
    if (error_.isEmpty())
        return {};
    return QStringLiteral("cannot write %1: %2").arg(path_, error_);
}

QString Mp3OutputStream::Commit() {
    if (!error_.isEmpty() || !file_.ReplaceTarget())
        return QStringLiteral("cannot write %1: %2")
            .arg(path_, error_.isEmpty() ? file_.errorString() : error_);
    return {};
}

bool Mp3OutputStream::Write(const char* data, qint64 bytes) {
    if (!file_.isOpen())
        return false;
    qint64 done = 0;
    while (done < bytes) {
        const qint64 n = file_.write(data + done, bytes - done);
        if (n <= 0)
            break;
        done += n;
    }
    if (done == bytes) {
        written_ += bytes;
        return true;
    }
    // Keep the file to what was written in full, so that it stays a valid stream.
    if (error_.isEmpty()) {
        error_ = file_.errorString();
        if (error_.isEmpty())
            error_ = QStringLiteral("write failed");
    }
    if (!file_.isSequential()) {  // a device or a pipe cannot be cut back
        file_.resize(written_);
        file_.seek(written_);
    }
    recording_ = false;
    return false;
}

void Mp3OutputStream::CloseEncoderStream() {
    if (streamOpen_) {
        encoder_->CloseStream(handle_);
        streamOpen_ = false;
    }
}

}  // namespace lumbrel
