#include "speech/Speaker.h"

#include <espeak-ng/speak_lib.h>
#include <soxr.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace lumbrel::speech {

namespace {
Speaker* g_current = nullptr;  // the synthesiser is one per process
bool g_initialised = false;
int g_rate = 0;

// Starts the synthesiser once; its sample rate, or 0 when it cannot start (no voice data).
int Initialise() {
    if (!g_initialised) {
        g_rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
        g_initialised = g_rate > 0;
        if (!g_initialised)
            g_rate = 0;
    }
    return g_rate;
}

}  // namespace

namespace {
std::vector<std::int16_t> g_samples;  // what the synthesiser gave for the text being spoken

int SynthCallback(short* wav, int count, espeak_EVENT* /*events*/) {
    if (wav && count > 0)
        g_samples.insert(g_samples.end(), wav, wav + count);
    return 0;  // go on
}
}  // namespace

Speaker::~Speaker() {
    if (g_current == this)
        g_current = nullptr;
}

std::unique_ptr<Speaker> Speaker::Open(const std::string& voice, int rateWpm, std::string& error) {
    if (g_current) {
        error = "the speech synthesiser is already in use";
        return nullptr;
    }
    const int rate = Initialise();
    if (rate <= 0) {
        error = "the espeak-ng speech synthesiser cannot start (is espeak-ng-data installed?)";
        return nullptr;
    }
    const std::string name = voice.empty() ? std::string("en") : voice;
    if (espeak_SetVoiceByName(name.c_str()) != EE_OK) {
        error = "there is no espeak-ng voice '" + name + "' (--voice list names them)";
        return nullptr;
    }
    espeak_SetParameter(espeakRATE, std::clamp(rateWpm, kSlowestRateWpm, kFastestRateWpm), 0);
    espeak_SetSynthCallback(SynthCallback);
    std::unique_ptr<Speaker> speaker(new Speaker);
    speaker->rate_ = rate;
    g_current = speaker.get();
    return speaker;
}

std::vector<VoiceInfo> Speaker::Voices(std::string& error) {
    if (Initialise() <= 0) {
        error = "the espeak-ng speech synthesiser cannot start (is espeak-ng-data installed?)";
        return {};
    }
    std::vector<VoiceInfo> voices;
    for (const espeak_VOICE** v = espeak_ListVoices(nullptr); v && *v; ++v) {
        // languages: a priority byte, then the language, NUL, and so on.
        const char* language = (*v)->languages ? (*v)->languages + 1 : "";
        voices.push_back({(*v)->name ? (*v)->name : "", language});
    }
    return voices;
}

std::vector<std::int16_t> Speaker::Speak(const std::string& ssml, int tonePeak, int peakLimit) {
    g_samples.clear();
    espeak_Synth(ssml.c_str(), ssml.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8 | espeakSSML, nullptr,
                 nullptr);
    espeak_Synchronize();
    // Without the near-silence before and after the words.
    constexpr int kQuiet = 300;
    auto loud = [](std::int16_t v) {
        return std::abs(static_cast<int>(v)) > kQuiet;
    };
    const auto first = std::find_if(g_samples.begin(), g_samples.end(), loud);
    const auto last = std::find_if(g_samples.rbegin(), g_samples.rend(), loud).base();
    if (first >= last)
        return {};
    std::vector<float> values(first, last);
    return MatchLevel(Resample(values, rate_, 44100.0), tonePeak, peakLimit);
}

std::vector<float> Resample(const std::vector<float>& in, double inRate, double outRate) {
    if (in.empty())
        return {};
    const std::size_t wanted = static_cast<std::size_t>(std::llround(in.size() * outRate / inRate));
    std::vector<float> out(wanted);
    if (inRate == outRate) {
        std::copy(in.begin(), in.end(), out.begin());
        return out;
    }
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    std::size_t done = 0;
    const soxr_error_t e = soxr_oneshot(inRate, outRate, 1, in.data(), in.size(), nullptr, out.data(),
                                        out.size(), &done, &io, &quality, nullptr);
    if (e)
        return {};
    out.resize(done);
    return out;
}

std::vector<std::int16_t> MatchLevel(const std::vector<float>& values, int tonePeak, int peakLimit) {
    double power = 0;
    float peak = 0;
    for (const float v : values) {
        power += static_cast<double>(v) * v;
        peak = std::max(peak, std::abs(v));
    }
    std::vector<std::int16_t> out(values.size());
    if (values.empty() || peak <= 0)
        return out;
    const double rms = std::sqrt(power / static_cast<double>(values.size()));
    const double gain = std::min(tonePeak / std::sqrt(2.0) / rms, peakLimit / static_cast<double>(peak));
    for (std::size_t i = 0; i < values.size(); ++i)
        out[i] = static_cast<std::int16_t>(std::clamp(
            std::lround(values[i] * gain), -static_cast<long>(peakLimit), static_cast<long>(peakLimit)));
    return out;
}

}  // namespace lumbrel::speech
