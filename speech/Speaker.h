#pragma once
// The voice of the spoken answers: espeak-ng's synthesiser in its synchronous mode,
// its samples resampled to 44100 Hz by libsoxr and brought to the level of the signal.
// The synthesiser is one per process: one Speaker at a time, on one thread.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lumbrel::speech {

struct VoiceInfo {
    std::string name;      // what --voice takes
    std::string language;  // its first language ("en-gb")
};

class Speaker {
public:
    static constexpr int kDefaultRateWpm = 175;  // the synthesiser's own default
    static constexpr int kSlowestRateWpm = 80;
    static constexpr int kFastestRateWpm = 450;

    ~Speaker();
    Speaker(const Speaker&) = delete;
    Speaker& operator=(const Speaker&) = delete;

    // The synthesiser with voice (an espeak-ng voice name or language, "en" when empty)
    // at rateWpm words a minute; null, with why in error, when it cannot be had.
    static std::unique_ptr<Speaker> Open(const std::string& voice, int rateWpm, std::string& error);
    // The voices installed; empty, with why in error, when the synthesiser cannot start.
    static std::vector<VoiceInfo> Voices(std::string& error);

    // ssml (see SpokenForm) spoken at 44100 Hz, one value a frame, without the silence
    // the synthesiser puts around it; as loud as a steady tone of peak tonePeak (the same
    // mean power) unless that would go past peakLimit, then as loud as peakLimit allows.
    std::vector<std::int16_t> Speak(const std::string& ssml, int tonePeak, int peakLimit);

private:
    Speaker() = default;
    int rate_ = 0;  // the synthesiser's sample rate
};

// Resamples mono float values from inRate to outRate with libsoxr's high quality;
// the result has round(size * outRate / inRate) values.
std::vector<float> Resample(const std::vector<float>& in, double inRate, double outRate);

// Values scaled to the mean power of a steady tone of peak tonePeak, held within
// peakLimit; silence stays silence.
std::vector<std::int16_t> MatchLevel(const std::vector<float>& values, int tonePeak, int peakLimit);

}  // namespace lumbrel::speech
