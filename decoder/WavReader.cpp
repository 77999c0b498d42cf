#include "decoder/WavReader.h"

#include <cmath>
#include <cstring>

#include "text/PlainFile.h"

namespace lumbrel {
namespace {

std::uint32_t U32(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t(b[3]) << 24);
}

std::uint16_t U16(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

// One sample of the given kind at p, scaled to -1..1.
double Sample(const char* p, int bits, bool isFloat) {
    if (isFloat) {
        if (bits == 32) {
            float f;
            std::memcpy(&f, p, 4);
            return f;
        }
        double d;
        std::memcpy(&d, p, 8);
        return d;
    }
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    switch (bits) {
        case 8:
            return (b[0] - 128) / 128.0;
        case 16:
            return static_cast<std::int16_t>(U16(p)) / 32768.0;
        case 24:
            return static_cast<std::int32_t>((b[0] << 8) | (b[1] << 16) | (std::uint32_t(b[2]) << 24)) /
                   2147483648.0;
        default:
            return static_cast<std::int32_t>(U32(p)) / 2147483648.0;
    }
}

}  // namespace

WavAudio WavReader::Parse(const QByteArray& bytes) {
    WavAudio audio;
    const char* data = bytes.constData();
    const qsizetype size = bytes.size();
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) {
        audio.problem = QStringLiteral("not a WAV file (no RIFF/WAVE header)");
        return audio;
    }
    int format = 0, channels = 0, bits = 0;
    std::uint32_t rate = 0;
    const char* samples = nullptr;
    qsizetype sampleBytes = 0;
    for (qsizetype at = 12; at + 8 <= size;) {
        const std::uint32_t length = U32(data + at + 4);
        const char* body = data + at + 8;
        const qsizetype available = std::min<qsizetype>(length, size - at - 8);
        if (std::memcmp(data + at, "fmt ", 4) == 0 && available >= 16) {
            format = U16(body);
            channels = U16(body + 2);
            rate = U32(body + 4);
            bits = U16(body + 14);
            if (format == 0xFFFE && available >= 26)
                format = U16(body + 24);  // the sub-format's first two bytes
        } else if (std::memcmp(data + at, "data", 4) == 0) {
            samples = body;
            sampleBytes = available;  // a file cut short keeps what it holds
            break;
        }
        at += 8 + static_cast<qsizetype>(length) + (length & 1);
    }
    const bool isFloat = format == 3;
    const bool knownBits =
        isFloat ? (bits == 32 || bits == 64) : (bits == 8 || bits == 16 || bits == 24 || bits == 32);
    if (format == 0) {
        audio.problem = QStringLiteral("not a WAV file (no format chunk)");
    } else if ((format != 1 && !isFloat) || !knownBits || channels < 1 || channels > 64) {
        audio.problem = QStringLiteral(
                            "unsupported WAV format (format %1, %2 channels, %3 bits): "
                            "integer PCM of 8 to 32 bits or float of 32 or 64 bits")
                            .arg(format)
                            .arg(channels)
                            .arg(bits);
    } else if (rate < 1000 || rate > 384000) {
        audio.problem = QStringLiteral("unsupported WAV rate %1 Hz (1000 to 384000)").arg(rate);
    } else if (!samples) {
        audio.problem = QStringLiteral("not a WAV file (no data chunk)");
    }
    if (!audio.Ok())
        return audio;
    const int frameBytes = channels * bits / 8;
    const qsizetype frames = sampleBytes / frameBytes;
    if (frames == 0) {
        audio.problem = QStringLiteral("the WAV file holds no audio");
        return audio;
    }
    if (frames > kMaxFrames) {
        audio.problem = QStringLiteral("the WAV file is longer than %1 frames").arg(kMaxFrames);
        return audio;
    }
    audio.rate = static_cast<int>(rate);
    audio.samples.resize(static_cast<std::size_t>(frames));
    for (qsizetype f = 0; f < frames; ++f) {
        double sum = 0;
        for (int c = 0; c < channels; ++c)
            sum += Sample(samples + f * frameBytes + c * bits / 8, bits, isFloat);
        audio.samples[static_cast<std::size_t>(f)] =
            std::isfinite(sum) ? static_cast<float>(sum / channels) : 0.0f;
    }
    return audio;
}

WavAudio WavReader::ReadFile(const QString& path) {
    const PlainFileBytes file = ReadPlainFile(path, kMaxBytes);
    WavAudio audio;
    switch (file.status) {
        case PlainFileBytes::Status::Read:
            return Parse(file.bytes);
        case PlainFileBytes::Status::Missing:
            audio.problem = QStringLiteral("there is no file %1").arg(path);
            break;
        case PlainFileBytes::Status::NotPlain:
            audio.problem = QStringLiteral("%1 is not a plain file (a device, a pipe or a folder)").arg(path);
            break;
        case PlainFileBytes::Status::TooLarge:
            audio.problem = QStringLiteral("%1 is larger than %2 MiB").arg(path).arg(kMaxBytes >> 20);
            break;
        case PlainFileBytes::Status::Unreadable:
            audio.problem = QStringLiteral("cannot read %1: %2").arg(path, file.error);
            break;
    }
    return audio;
}

}  // namespace lumbrel
