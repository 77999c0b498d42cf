#pragma once
// The MP3 encoder on top of the LAME library (libmp3lame), which is loaded at run time:
// without it the trainer records WAV only. Only the few lame_* functions used here are
// declared, so building needs no LAME headers.
#include <QLibrary>
#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "recording/Mp3Encoder.h"

namespace lumbrel {

// LAME's encoder context (lame_global_flags); only ever handled through a pointer.
struct LameContext;

// The lame_* entry points used, with LAME's own signatures. LAME's enum parameters
// (MPEG_mode, vbr_mode) are plain C enums and passed as int.
struct LameFunctions {
    LameContext* (*init)();
    int (*set_in_samplerate)(LameContext*, int);
    int (*set_out_samplerate)(LameContext*, int);
    int (*set_num_channels)(LameContext*, int);
    int (*set_mode)(LameContext*, int);
    int (*set_brate)(LameContext*, int);
    int (*set_VBR)(LameContext*, int);
    int (*set_quality)(LameContext*, int);
    int (*set_emphasis)(LameContext*, int);
    int (*set_error_protection)(LameContext*, int);
    int (*set_extension)(LameContext*, int);
    int (*set_copyright)(LameContext*, int);
    int (*set_original)(LameContext*, int);
    int (*set_strict_ISO)(LameContext*, int);
    int (*set_disable_reservoir)(LameContext*, int);
    int (*set_bWriteVbrTag)(LameContext*, int);
    int (*init_params)(LameContext*);
    int (*encode_buffer_interleaved)(LameContext*, short* pcm, int framesPerChannel, unsigned char* mp3buf,
                                     int mp3bufSize);
    // One channel at a time; a mono stream reads only `left`.
    int (*encode_buffer)(LameContext*, const short* left, const short* right, int framesPerChannel,
                         unsigned char* mp3buf, int mp3bufSize);
    int (*encode_flush)(LameContext*, unsigned char* mp3buf, int size);
    int (*close)(LameContext*);
};

// LAME's values for the calls above.
namespace lame {
inline constexpr int kVbrOff = 0;         // vbr_off
inline constexpr int kJointStereo = 1;    // JOINT_STEREO
inline constexpr int kStereo = 0;         // STEREO
inline constexpr int kMono = 3;           // MONO
inline constexpr int kNormalQuality = 5;  // lame_set_quality: "good quality, fast"
inline constexpr int kFrameSize = 1152;   // frames per MPEG-1 layer III frame
}  // namespace lame

// The Mp3Encoder calls mapped onto LAME:
//   InitStream   lame_init, the lame_set_* of the configuration, lame_init_params;
//                a chunk is 1152 frames (2304 values of stereo, 1152 of mono), the
//                output area 1.25 x 1152 + 7200 = 8640 bytes (LAME's worst case for
//                one chunk, which also covers a flush)
//   EncodeChunk  lame_encode_buffer_interleaved; lame_encode_buffer for mono
//   DeinitStream lame_encode_flush
//   CloseStream  lame_close
// Stereo, joint stereo and mono input at a constant bit rate are supported (mono
// input is one value per frame); other configurations are refused with
// InvalidFormatParameters.
class LameEncoder final : public Mp3Encoder {
public:
    static constexpr std::uint32_t kChunkSamples = 2 * lame::kFrameSize;
    static constexpr std::uint32_t kOutputBytes = lame::kFrameSize * 5 / 4 + 7200;

    // `library` keeps the loaded library (if any) for as long as the encoder lives.
    explicit LameEncoder(const LameFunctions& functions, std::unique_ptr<QLibrary> library = nullptr);
    // Closes streams left open.
    ~LameEncoder() override;

    LameEncoder(const LameEncoder&) = delete;
    LameEncoder& operator=(const LameEncoder&) = delete;

    Mp3Error InitStream(const Mp3EncoderConfig& config, std::uint32_t* samplesPerChunk,
                        std::uint32_t* outputBytes, Mp3StreamHandle* stream) override;
    Mp3Error EncodeChunk(Mp3StreamHandle stream, std::uint32_t samples, const std::int16_t* data,
                         std::uint8_t* output, std::uint32_t* produced) override;
    Mp3Error DeinitStream(Mp3StreamHandle stream, std::uint8_t* output, std::uint32_t* produced) override;
    Mp3Error CloseStream(Mp3StreamHandle stream) override;

private:
    struct Stream {
        LameContext* context = nullptr;
        std::uint32_t channels = 2;
        std::vector<short> pcm;  // a copy of a stereo chunk: LAME's interleaved input is not const
    };

    Stream* Find(Mp3StreamHandle stream);

    LameFunctions lame_;
    std::unique_ptr<QLibrary> library_;
    std::map<Mp3StreamHandle, Stream> streams_;
    Mp3StreamHandle nextHandle_ = 1;
};

// Loads the LAME library (by default "mp3lame", major version 0: libmp3lame.so.0) and
// resolves every entry point of LameFunctions. Returns null when the library is missing
// or lacks one of them; `why`, when given, then receives the reason. The library is
// never unloaded.
std::unique_ptr<LameEncoder> LoadLameEncoder(const QString& libraryName = QStringLiteral("mp3lame"),
                                             int majorVersion = 0, QString* why = nullptr);

}  // namespace lumbrel
