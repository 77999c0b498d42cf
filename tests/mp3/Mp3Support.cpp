#include "tests/mp3/Mp3Support.h"

#include <QFile>

#include <cmath>
#include <numbers>

namespace lumbrel::test {

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QByteArray TagBytes(const Id3v1Tag& tag) {
    return QByteArray(reinterpret_cast<const char*>(tag.data()), static_cast<qsizetype>(tag.size()));
}

std::vector<std::int16_t> Tone(int frames, double hz, double amplitude) {
    std::vector<std::int16_t> values;
    values.reserve(static_cast<std::size_t>(frames) * 2);
    for (int i = 0; i < frames; ++i) {
        const auto v = static_cast<std::int16_t>(
            std::lround(amplitude * std::sin(2 * std::numbers::pi * hz * i / 44100.0)));
        values.push_back(v);
        values.push_back(v);
    }
    return values;
}

Mp3Error FakeEncoder::InitStream(const Mp3EncoderConfig& config, std::uint32_t* samplesPerChunk,
                                 std::uint32_t* outputBytesOut, Mp3StreamHandle* stream) {
    configs.push_back(config);
    if (initResult != Mp3Error::Ok)
        return initResult;
    if (open)
        misuse = true;
    open = true;
    *samplesPerChunk = chunkSamples;
    *outputBytesOut = outputBytes;
    *stream = kHandle;
    return Mp3Error::Ok;
}

Mp3Error FakeEncoder::EncodeChunk(Mp3StreamHandle stream, std::uint32_t samples, const std::int16_t* data,
                                  std::uint8_t* output, std::uint32_t* produced) {
    const int call = static_cast<int>(pieces.size());
    pieces.push_back(samples);
    *produced = 0;
    if (stream != kHandle || !open || samples > chunkSamples) {
        misuse = true;
        return Mp3Error::InvalidHandle;
    }
    received.insert(received.end(), data, data + samples);
    if (failingChunks.count(call) != 0)
        return Mp3Error::InvalidFormat;
    const std::uint32_t n = produce(samples);
    if (n > outputBytes) {
        misuse = true;
        return Mp3Error::BufferTooSmall;
    }
    for (std::uint32_t i = 0; i < n; ++i)
        output[i] = static_cast<std::uint8_t>(call + 1);
    producedBytes.append(reinterpret_cast<const char*>(output), static_cast<qsizetype>(n));
    *produced = n;
    return Mp3Error::Ok;
}

Mp3Error FakeEncoder::DeinitStream(Mp3StreamHandle stream, std::uint8_t* output, std::uint32_t* produced) {
    ++deinitCalls;
    *produced = 0;
    if (stream != kHandle || !open) {
        misuse = true;
        return Mp3Error::InvalidHandle;
    }
    if (deinitResult != Mp3Error::Ok)
        return deinitResult;
    std::copy(flushBytes.begin(), flushBytes.end(), output);
    *produced = static_cast<std::uint32_t>(flushBytes.size());
    return Mp3Error::Ok;
}

Mp3Error FakeEncoder::CloseStream(Mp3StreamHandle stream) {
    ++closeCalls;
    if (stream != kHandle || !open) {
        misuse = true;
        return Mp3Error::InvalidHandle;
    }
    open = false;
    return Mp3Error::Ok;
}

namespace {

constexpr int kV1Layer3Kbps[15] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
constexpr int kV2Layer3Kbps[15] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
constexpr int kV1Rates[3] = {44100, 48000, 32000};

std::uint16_t Crc16(const QByteArray& bytes, int from, int count, std::uint16_t crc) {
    for (int i = from; i < from + count; ++i) {
        crc ^= static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[i]) << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x8005 : crc << 1);
    }
    return crc;
}

}  // namespace

bool ReadMpegFrame(const QByteArray& bytes, int at, MpegFrame* frame) {
    if (at < 0 || at + 4 > bytes.size())
        return false;
    const auto b = [&](int i) {
        return static_cast<std::uint8_t>(bytes[at + i]);
    };
    if (b(0) != 0xFF || (b(1) & 0xE0) != 0xE0)
        return false;  // no 11-bit frame sync
    MpegFrame f;
    switch ((b(1) >> 3) & 3) {
        case 0:
            f.version = 25;
            break;
        case 2:
            f.version = 2;
            break;
        case 3:
            f.version = 1;
            break;
        default:
            return false;
    }
    f.layer = 4 - ((b(1) >> 1) & 3);
    f.crc = (b(1) & 1) == 0;
    f.bitRateIndex = b(2) >> 4;
    const int rateIndex = (b(2) >> 2) & 3;
    f.padding = (b(2) & 2) != 0;
    f.privateBit = (b(2) & 1) != 0;
    f.mode = b(3) >> 6;
    f.copyright = (b(3) & 8) != 0;
    f.original = (b(3) & 4) != 0;
    f.emphasis = b(3) & 3;
    *frame = f;
    if (f.layer != 3 || f.bitRateIndex == 0 || f.bitRateIndex == 15 || rateIndex == 3)
        return false;
    f.bitRateKbps = f.version == 1 ? kV1Layer3Kbps[f.bitRateIndex] : kV2Layer3Kbps[f.bitRateIndex];
    f.sampleRate = kV1Rates[rateIndex] / (f.version == 1 ? 1 : f.version == 2 ? 2 : 4);
    f.samplesPerFrame = f.version == 1 ? 1152 : 576;
    f.length = (f.version == 1 ? 144000 : 72000) * f.bitRateKbps / f.sampleRate + (f.padding ? 1 : 0);
    if (f.crc) {
        const bool mono = f.mode == 3;
        const int sideInfo = f.version == 1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
        if (at + 6 + sideInfo <= bytes.size()) {
            std::uint16_t crc = Crc16(bytes, at + 2, 2, 0xFFFF);
            crc = Crc16(bytes, at + 6, sideInfo, crc);
            f.crcMatches = crc == static_cast<std::uint16_t>(b(4) << 8 | b(5));
        }
    }
    *frame = f;
    return true;
}

}  // namespace lumbrel::test
