#pragma once
// Shared by the MP3 tests: a scripted encoder, a message recorder, file helpers and a
// reader of MPEG audio frame headers.
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <set>
#include <vector>

#include "recording/Mp3Encoder.h"
#include "recording/Mp3OutputStream.h"

namespace lumbrel::test {

QByteArray ReadFile(const QString& path);
void WriteFile(const QString& path, const QByteArray& bytes);
QByteArray TagBytes(const Id3v1Tag& tag);

// Interleaved stereo of a sine tone: `frames` frames, both channels equal.
std::vector<std::int16_t> Tone(int frames, double hz, double amplitude = 16000.0);

// Stands in for the encoder: records every call and produces recognisable output.
class FakeEncoder final : public Mp3Encoder {
public:
    static constexpr Mp3StreamHandle kHandle = 42;

    Mp3Error InitStream(const Mp3EncoderConfig& config, std::uint32_t* samplesPerChunk,
                        std::uint32_t* outputBytes, Mp3StreamHandle* stream) override;
    Mp3Error EncodeChunk(Mp3StreamHandle stream, std::uint32_t samples, const std::int16_t* data,
                         std::uint8_t* output, std::uint32_t* produced) override;
    Mp3Error DeinitStream(Mp3StreamHandle stream, std::uint8_t* output, std::uint32_t* produced) override;
    Mp3Error CloseStream(Mp3StreamHandle stream) override;

    // Script.
    Mp3Error initResult = Mp3Error::Ok;
    std::uint32_t chunkSamples = 2304;
    std::uint32_t outputBytes = 256;
    std::set<int> failingChunks;  // indexes of EncodeChunk calls that fail
    // Bytes produced for a piece of n values; each byte is (call index + 1).
    std::function<std::uint32_t(std::uint32_t)> produce = [](std::uint32_t n) {
        return n / 16 + 1;
    };
    Mp3Error deinitResult = Mp3Error::Ok;
    QByteArray flushBytes = QByteArrayLiteral("FLUSH");

    // Record.
    std::vector<Mp3EncoderConfig> configs;
    std::vector<std::uint32_t> pieces;   // values per EncodeChunk call
    std::vector<std::int16_t> received;  // every value handed in, in order
    QByteArray producedBytes;            // what successful calls put out, in order
    int deinitCalls = 0;
    int closeCalls = 0;
    bool misuse = false;  // a wrong handle, an oversized piece or a closed stream
    bool open = false;
};

class RecordedMessages final : public RecordingReporter {
public:
    struct Message {
        QString text;
        QString caption;
    };
    void ReportError(const QString& text, const QString& caption) override {
        shown.push_back({text, caption});
    }
    std::vector<Message> shown;
};

// One MPEG audio frame header, as found in the stream.
struct MpegFrame {
    int version = 0;   // 1, 2 or 25 (MPEG-2.5)
    int layer = 0;     // 3 for layer III
    bool crc = false;  // protected by a CRC-16 after the header
    int bitRateIndex = 0;
    int bitRateKbps = 0;
    int sampleRate = 0;
    bool padding = false;
    bool privateBit = false;
    int mode = 0;  // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono
    bool copyright = false;
    bool original = false;
    int emphasis = 0;
    int length = 0;  // bytes, header included
    int samplesPerFrame = 0;
    bool crcMatches = false;  // the stored CRC equals the one computed over header and side info
};

// Reads the frame header at `at`; false when there is no valid layer III header there.
bool ReadMpegFrame(const QByteArray& bytes, int at, MpegFrame* frame);

}  // namespace lumbrel::test
