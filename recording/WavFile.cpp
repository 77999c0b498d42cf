#include "recording/WavFile.h"

#include <cstring>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include "morse/SampleFormat.h"

namespace lumbrel {
namespace {

void Put16(std::uint8_t* at, std::uint16_t v) {
    at[0] = static_cast<std::uint8_t>(v);
    at[1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

WavFile::HeaderBytes WavFile::MakeHeader(std::uint32_t riffSize, std::uint32_t dataSize) {
    HeaderBytes header{};
    std::uint8_t* h = header.data();
    std::memcpy(h + 0, "RIFF", 4);
    std::memcpy(h + 8, "WAVE", 4);
    std::memcpy(h + 12, "fmt ", 4);
    Put32(h + 16, 18);  // format chunk: 16 bytes of PCM format + cbSize
    Put16(h + 20, 1);   // PCM
    Put16(h + 22, audio::kChannels);
    Put32(h + 24, audio::kFrameRate);
    Put32(h + 28, audio::kByteRate);
    Put16(h + 32, audio::kBlockAlign);
    Put16(h + 34, audio::kBitsPerSample);
    Put16(h + 36, 0);  // no extra format bytes
    std::memcpy(h + 38, "data", 4);
    Put32(h + 4, riffSize);
    Put32(h + 42, dataSize);
    return header;
}

WavFile::WavFile(const QString& path, ReplaceWhen when)
    : file_(path),
      when_(when),
      header_(MakeHeader(0, 0))  // both sizes 0 until the first append
{
    if (!file_.OpenNew(when == ReplaceWhen::FirstAudio)) {
        error_ = file_.errorString();
        return;
    }
    // A device or a pipe (no plain file) is written front to back: the header once,
    // then the samples; it cannot be rewritten.
    if (file_.write(reinterpret_cast<const char*>(header_.data()), kHeaderBytes) != kHeaderBytes)
        error_ = file_.errorString();
}

WavFile::~WavFile() {
    if (file_.isOpen()) {
        RewriteHeader();
        file_.close();
    }
}

bool WavFile::Append(const void* data, std::uint32_t bytes) {
    if (!file_.isOpen())
        return false;
    if (Removed()) {
        // Writing on would fill the disk with a file nobody can open any more.
        error_ = QStringLiteral("The file or its folder was deleted.");
        return false;
    }
    if (bytes > kMaxDataBytes - dataBytes_) {
        if (error_.isEmpty())
            error_ = QStringLiteral("The recording has reached the largest size a WAV file can hold.");
        return false;
    }
    if (!file_.isSequential() && !file_.seek(kHeaderBytes + static_cast<qint64>(dataBytes_))) {
        error_ = file_.errorString();
        return false;
    }
    const char* from = static_cast<const char*>(data);
    qint64 written = 0;
    while (written < static_cast<qint64>(bytes)) {
        // A write cut short (the disk filled up) sets no error; the next one says why.
        const qint64 n = file_.write(from + written, static_cast<qint64>(bytes) - written);
        if (n <= 0)
            break;
        written += n;
    }
    if (written != static_cast<qint64>(bytes)) {
        // Keep the header describing only what was written in full, so the file stays valid.
        error_ = file_.error() != QFileDevice::NoError ? file_.errorString()
                                                       : QStringLiteral("The file could not be written.");
        if (!file_.isSequential())
            file_.resize(kHeaderBytes + static_cast<qint64>(dataBytes_));
        return false;
    }
    dataBytes_ += bytes;
    UpdateHeader();
    if (!RewriteHeader()) {
        error_ = file_.errorString();
        return false;
    }
    if (when_ == ReplaceWhen::FirstAudio && dataBytes_ > 0)
        return Commit();
    return true;
}

bool WavFile::Commit() {
    if (file_.Replaced())
        return true;
    if (!file_.isOpen() || !RewriteHeader() || !file_.ReplaceTarget()) {
        if (error_.isEmpty())
            error_ = file_.errorString();
        return false;
    }
    return true;
}

bool WavFile::Removed() const {
#ifdef Q_OS_UNIX
    struct stat status {};
    return ::fstat(file_.handle(), &status) == 0 && S_ISREG(status.st_mode) && status.st_nlink == 0;
#else
    return false;  // an open file cannot be deleted
#endif
}

void WavFile::UpdateHeader() {
    Put32(header_.data() + 4, dataBytes_ + 38);
    Put32(header_.data() + 42, dataBytes_);
}

bool WavFile::RewriteHeader() {
    if (file_.isSequential())
        return true;
    return file_.seek(0) &&
           file_.write(reinterpret_cast<const char*>(header_.data()), kHeaderBytes) == kHeaderBytes;
}

}  // namespace lumbrel
