#include "recording/LameEncoder.h"

#include <QStringList>

#include <algorithm>
#include <limits>

namespace lumbrel {

LameEncoder::LameEncoder(const LameFunctions& functions, std::unique_ptr<QLibrary> library)
    : lame_(functions),
      library_(std::move(library)) {}

LameEncoder::~LameEncoder() {
    for (auto& [handle, stream] : streams_)
        lame_.close(stream.context);
}

LameEncoder::Stream* LameEncoder::Find(Mp3StreamHandle stream) {
    auto it = streams_.find(stream);
    return it == streams_.end() ? nullptr : &it->second;
}

Mp3Error LameEncoder::InitStream(const Mp3EncoderConfig& config, std::uint32_t* samplesPerChunk,
                                 std::uint32_t* outputBytes, Mp3StreamHandle* stream) {
    if (!samplesPerChunk || !outputBytes || !stream)
        return Mp3Error::InvalidFormatParameters;
    constexpr auto kIntMax = static_cast<std::uint32_t>(std::numeric_limits<int>::max());
    const bool supported = (config.mode == Mp3Mode::Stereo || config.mode == Mp3Mode::JointStereo ||
                            config.mode == Mp3Mode::Mono) &&
                           !config.enableVbr && config.abrBitRate == 0 && config.preset == 0 &&
                           config.quality >= 0 && config.quality <= 9 && config.sampleRate > 0 &&
                           config.sampleRate <= kIntMax && config.resampleRate <= kIntMax &&
                           config.bitRateKbps > 0 && config.bitRateKbps <= kIntMax && config.emphasis <= 3;
    if (!supported)
        return Mp3Error::InvalidFormatParameters;

    LameContext* context = lame_.init();
    if (!context)
        return Mp3Error::NoMoreHandles;

    // The "normal quality" preset is LAME's quality 5; a non-zero quality overrides it.
    const int quality = config.quality != 0 ? config.quality : lame::kNormalQuality;
    const bool mono = config.mode == Mp3Mode::Mono;
    int mode = lame::kStereo;
    if (mono)
        mode = lame::kMono;
    else if (config.mode == Mp3Mode::JointStereo)
        mode = lame::kJointStereo;
    bool ok = lame_.set_in_samplerate(context, static_cast<int>(config.sampleRate)) >= 0;
    if (config.resampleRate > 0)
        ok = ok && lame_.set_out_samplerate(context, static_cast<int>(config.resampleRate)) >= 0;
    ok = ok && lame_.set_num_channels(context, mono ? 1 : 2) >= 0 && lame_.set_mode(context, mode) >= 0 &&
         lame_.set_VBR(context, lame::kVbrOff) >= 0 &&
         lame_.set_brate(context, static_cast<int>(config.bitRateKbps)) >= 0 &&
         lame_.set_quality(context, quality) >= 0 &&
         lame_.set_emphasis(context, static_cast<int>(config.emphasis)) >= 0 &&
         lame_.set_error_protection(context, config.crc ? 1 : 0) >= 0 &&
         lame_.set_extension(context, config.privateBit ? 1 : 0) >= 0 &&
         lame_.set_copyright(context, config.copyright ? 1 : 0) >= 0 &&
         lame_.set_original(context, config.original ? 1 : 0) >= 0 &&
         lame_.set_strict_ISO(context, config.strictIso ? 1 : 0) >= 0 &&
         lame_.set_disable_reservoir(context, config.noBitReservoir ? 1 : 0) >= 0 &&
         lame_.set_bWriteVbrTag(context, config.writeVbrHeader ? 1 : 0) >= 0 &&
         lame_.init_params(context) >= 0;
    if (!ok) {
        lame_.close(context);
        return Mp3Error::InvalidFormatParameters;
    }

    const Mp3StreamHandle handle = nextHandle_++;
    Stream& s = streams_[handle];
    s.context = context;
    s.channels = mono ? 1 : 2;
    if (!mono)
        s.pcm.resize(kChunkSamples);
    *samplesPerChunk = s.channels * lame::kFrameSize;
    *outputBytes = kOutputBytes;
    *stream = handle;
    return Mp3Error::Ok;
}

Mp3Error LameEncoder::EncodeChunk(Mp3StreamHandle stream, std::uint32_t samples, const std::int16_t* data,
                                  std::uint8_t* output, std::uint32_t* produced) {
    Stream* s = Find(stream);
    if (!s)
        return Mp3Error::InvalidHandle;
    if (!produced || !output || (samples > 0 && !data))
        return Mp3Error::InvalidFormatParameters;
    *produced = 0;
    if (samples > s->channels * lame::kFrameSize)
        return Mp3Error::BufferTooSmall;  // the output area is sized for one chunk
    // Whole frames only: a lone last stereo value has no partner channel and is dropped.
    const std::uint32_t frames = samples / s->channels;
    if (frames == 0)
        return Mp3Error::Ok;
    int result = 0;
    if (s->channels == 1) {
        result = lame_.encode_buffer(s->context, data, data, static_cast<int>(frames), output,
                                     static_cast<int>(kOutputBytes));
    } else {
        std::copy(data, data + 2 * frames, s->pcm.begin());
        result = lame_.encode_buffer_interleaved(s->context, s->pcm.data(), static_cast<int>(frames), output,
                                                 static_cast<int>(kOutputBytes));
    }
    if (result < 0)
        return result == -1 ? Mp3Error::BufferTooSmall : Mp3Error::InvalidFormat;
    *produced = static_cast<std::uint32_t>(result);
    return Mp3Error::Ok;
}

Mp3Error LameEncoder::DeinitStream(Mp3StreamHandle stream, std::uint8_t* output, std::uint32_t* produced) {
    Stream* s = Find(stream);
    if (!s)
        return Mp3Error::InvalidHandle;
    if (!produced || !output)
        return Mp3Error::InvalidFormatParameters;
    *produced = 0;
    const int result = lame_.encode_flush(s->context, output, static_cast<int>(kOutputBytes));
    if (result < 0)
        return result == -1 ? Mp3Error::BufferTooSmall : Mp3Error::InvalidFormat;
    *produced = static_cast<std::uint32_t>(result);
    return Mp3Error::Ok;
}

Mp3Error LameEncoder::CloseStream(Mp3StreamHandle stream) {
    auto it = streams_.find(stream);
    if (it == streams_.end())
        return Mp3Error::InvalidHandle;
    lame_.close(it->second.context);
    streams_.erase(it);
    return Mp3Error::Ok;
}

namespace {

template <typename Function>
void Resolve(QLibrary& library, const char* name, Function& into, QStringList& missing) {
    // QFunctionPointer is the generic void (*)() that any function pointer converts from and back.
    const QFunctionPointer found = library.resolve(name);
    if (!found)
        missing << QString::fromLatin1(name);
    into = reinterpret_cast<Function>(found);
}

}  // namespace

std::unique_ptr<LameEncoder> LoadLameEncoder(const QString& libraryName, int majorVersion, QString* why) {
    auto library = std::make_unique<QLibrary>(libraryName, majorVersion);
    if (!library->load()) {
        if (why)
            *why = library->errorString();
        return nullptr;
    }
    LameFunctions f{};
    QStringList missing;
    Resolve(*library, "lame_init", f.init, missing);
    Resolve(*library, "lame_set_in_samplerate", f.set_in_samplerate, missing);
    Resolve(*library, "lame_set_out_samplerate", f.set_out_samplerate, missing);
    Resolve(*library, "lame_set_num_channels", f.set_num_channels, missing);
    Resolve(*library, "lame_set_mode", f.set_mode, missing);
    Resolve(*library, "lame_set_brate", f.set_brate, missing);
    Resolve(*library, "lame_set_VBR", f.set_VBR, missing);
    Resolve(*library, "lame_set_quality", f.set_quality, missing);
    Resolve(*library, "lame_set_emphasis", f.set_emphasis, missing);
    Resolve(*library, "lame_set_error_protection", f.set_error_protection, missing);
    Resolve(*library, "lame_set_extension", f.set_extension, missing);
    Resolve(*library, "lame_set_copyright", f.set_copyright, missing);
    Resolve(*library, "lame_set_original", f.set_original, missing);
    Resolve(*library, "lame_set_strict_ISO", f.set_strict_ISO, missing);
    Resolve(*library, "lame_set_disable_reservoir", f.set_disable_reservoir, missing);
    Resolve(*library, "lame_set_bWriteVbrTag", f.set_bWriteVbrTag, missing);
    Resolve(*library, "lame_init_params", f.init_params, missing);
    Resolve(*library, "lame_encode_buffer_interleaved", f.encode_buffer_interleaved, missing);
    Resolve(*library, "lame_encode_buffer", f.encode_buffer, missing);
    Resolve(*library, "lame_encode_flush", f.encode_flush, missing);
    Resolve(*library, "lame_close", f.close, missing);
    if (!missing.isEmpty()) {
        // Stays loaded (QLibrary does not unload on destruction); it is simply not used.
        if (why)
            *why = QStringLiteral("%1 lacks %2").arg(library->fileName(), missing.join(QStringLiteral(", ")));
        return nullptr;
    }
    return std::make_unique<LameEncoder>(f, std::move(library));
}

}  // namespace lumbrel
