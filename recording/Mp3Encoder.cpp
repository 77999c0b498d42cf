#include "recording/Mp3Encoder.h"

#include "morse/SampleFormat.h"

namespace lumbrel {

int Mp3BitRateKbps(int bitRateSetting) {
    constexpr int kDefaultIndex = 1;  // 32 kbit/s, the setting's default
    constexpr int kHighestIndex = 7;  // 128 kbit/s, the last offered rate
    int index = bitRateSetting;
    if (index < 0)
        index = kDefaultIndex;
    else if (index > kHighestIndex)
        index = kHighestIndex;
    return 16 * (index + 1);
}

Mp3EncoderConfig RecordingMp3Config(int bitRateSetting) {
    Mp3EncoderConfig config{};
    config.sampleRate = audio::kFrameRate;
    config.resampleRate = 0;
    config.mode = Mp3Mode::JointStereo;
    config.bitRateKbps = static_cast<std::uint32_t>(Mp3BitRateKbps(bitRateSetting));
    config.maxBitRateKbps = 0;
    config.preset = 0;
    config.mpegVersion = 1;
    config.psyModel = 0;
    config.emphasis = 0;
    config.privateBit = true;
    config.crc = true;
    config.copyright = true;
    config.original = true;
    config.writeVbrHeader = false;
    config.enableVbr = false;
    config.vbrQuality = 0;
    config.abrBitRate = 0;
    config.vbrMethod = -1;
    config.noBitReservoir = true;
    config.strictIso = false;
    config.quality = 0;
    return config;
}

Mp3EncoderConfig CompactMp3Config(int bitRateSetting, int highestToneHz) {
    // Downsampling keeps 0..4 kHz flat at 11025 Hz and 0..5.5 kHz at 22050 Hz; LAME
    // writes at most 64 kbit/s at 11025 Hz (MPEG-2.5), up to 160 kbit/s at 22050 Hz.
    constexpr int kHighestToneAtQuarterRate = 4000;
    constexpr int kHighestKbpsAtQuarterRate = 64;
    constexpr int kFastQuality = 7;  // LAME: "fast, ok quality"
    Mp3EncoderConfig config = RecordingMp3Config(bitRateSetting);
    const bool quarterRate = highestToneHz <= kHighestToneAtQuarterRate &&
                             Mp3BitRateKbps(bitRateSetting) <= kHighestKbpsAtQuarterRate;
    const int factor = quarterRate ? 4 : 2;
    config.sampleRate = static_cast<std::uint32_t>(audio::kFrameRate / factor);
    config.resampleRate = config.sampleRate;
    config.mode = Mp3Mode::Mono;
    config.quality = kFastQuality;
    return config;
}

}  // namespace lumbrel
