#pragma once
// The MP3 encoder as the recorder sees it: four calls on a stream (initialise, encode a
// chunk of interleaved 16-bit values, flush, close), the configuration record handed to
// the first, and the configuration a recording uses.
//
// The real encoder is LAME loaded at run time (LameEncoder.h); tests put fakes behind
// the same interface.
#include <cstdint>

namespace lumbrel {

// What an encoder call returns; anything but Ok is a failure.
enum class Mp3Error : std::uint32_t {
    Ok = 0,
    InvalidFormat = 1,
    InvalidFormatParameters = 2,
    NoMoreHandles = 3,
    InvalidHandle = 4,
    BufferTooSmall = 5,
};

// Channel modes, numbered as the encoder's configuration record numbers them.
enum class Mp3Mode : int {
    Stereo = 0,
    JointStereo = 1,
    DualChannel = 2,
    Mono = 3,
};

// The configuration record handed to InitStream. A value-initialised record is the
// all-zero record; RecordingMp3Config() fills it the way a recording uses it.
struct Mp3EncoderConfig {
    std::uint32_t sampleRate = 0;    // rate of the PCM handed in, frames per second
    std::uint32_t resampleRate = 0;  // output rate; 0: the encoder chooses
    Mp3Mode mode = Mp3Mode::Stereo;
    std::uint32_t bitRateKbps = 0;     // constant bit rate (minimum bit rate with VBR)
    std::uint32_t maxBitRateKbps = 0;  // VBR only
    int preset = 0;                    // 0: normal quality
    std::uint32_t mpegVersion = 0;     // 1: MPEG-1 requested (the output rate decides)
    std::uint32_t psyModel = 0;
    std::uint32_t emphasis = 0;
    bool privateBit = false;
    bool crc = false;
    bool copyright = false;
    bool original = false;
    bool writeVbrHeader = false;
    bool enableVbr = false;
    int vbrQuality = 0;
    std::uint32_t abrBitRate = 0;
    int vbrMethod = 0;  // -1: none
    bool noBitReservoir = false;
    bool strictIso = false;
    int quality = 0;  // 0: the encoder's default for the preset
};

// The encoder's stream handle; 0 is never a valid one.
using Mp3StreamHandle = std::uintptr_t;

class Mp3Encoder {
public:
    virtual ~Mp3Encoder() = default;

    // Opens a stream. On success fills the number of 16-bit values (both channels
    // counted) one EncodeChunk call takes at most, the size in bytes of the output area
    // EncodeChunk and DeinitStream need, and the stream handle.
    virtual Mp3Error InitStream(const Mp3EncoderConfig& config, std::uint32_t* samplesPerChunk,
                                std::uint32_t* outputBytes, Mp3StreamHandle* stream) = 0;
    // Encodes `samples` interleaved 16-bit values (both channels counted, at most
    // samplesPerChunk) into `output`, which holds outputBytes bytes; `produced` receives
    // how many bytes of encoded stream were put there (often 0).
    virtual Mp3Error EncodeChunk(Mp3StreamHandle stream, std::uint32_t samples, const std::int16_t* data,
                                 std::uint8_t* output, std::uint32_t* produced) = 0;
    // Flushes what the encoder still holds: the last frames of the stream.
    virtual Mp3Error DeinitStream(Mp3StreamHandle stream, std::uint8_t* output, std::uint32_t* produced) = 0;
    // Releases the stream; the handle is invalid afterwards.
    virtual Mp3Error CloseStream(Mp3StreamHandle stream) = 0;
};

// The stored "MP3 Bit Rate" setting is the index 0..7 of the offered rates
// 16, 32, ..., 128 kbit/s. The setup dialog stores -1 when its typed text matches no
// item: that, and any other negative value, records at the default 32 kbit/s. Values
// above 7 record at the highest offered rate, 128 kbit/s.
int Mp3BitRateKbps(int bitRateSetting);

// The configuration of a recording: 44100 Hz stereo PCM in, constant bit rate
// Mp3BitRateKbps(bitRateSetting), joint stereo, CRC, private, copyright and original
// bits set, no bit reservoir, no VBR header frame.
Mp3EncoderConfig RecordingMp3Config(int bitRateSetting);

// A configuration for files rendered offline from one tone, smaller and several times
// faster to encode than a recording's: one channel (both carry the same signal) at
// 11025 Hz, or 22050 Hz for a tone above 4000 Hz or a bit rate above 64 kbit/s, handed
// to the encoder at the rate it writes (Mp3OutputStream downsamples), and LAME's
// quality 7, whose skipped noise shaping a single tone does not need. Bit rate and
// header bits as a recording's.
Mp3EncoderConfig CompactMp3Config(int bitRateSetting, int highestToneHz);

}  // namespace lumbrel
