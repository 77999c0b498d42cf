#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "decoder/TimelineDecoder.h"
#include "decoder/ToneKeying.h"
#include "tests/decoder/Sending.h"
#include "tests/scoring/QtPrinters.h"

namespace lumbrel {
namespace {

constexpr int kRate = 8000;

struct Air {
    double snrDb = 100;  // in a 3 kHz bandwidth; 100: no noise
    double hz = 700;
    double driftHz = 0;  // added over the whole sending, evenly
    unsigned seed = 1;
};

// The tone of a timeline as the timing rules key it (amplitude 1 while the key is down,
// the oscillator running on, 4 ms raised-cosine edges), 300 ms either side, in white noise;
// no marks: 10 s of noise.
std::vector<float> Tone(const KeyTimeline& t, const Air& air) {
    const double end = t.marks.empty() ? 10000 : t.marks.back().upMs + 600;
    const std::size_t frames = static_cast<std::size_t>(end * kRate / 1000);
    const double edge = 0.004 * kRate;
    std::vector<double> gain(frames, 0);
    for (const KeyMark& m : t.marks) {
        const double a = (m.downMs + 300) * kRate / 1000, b = (m.upMs + 300) * kRate / 1000;
        for (auto f = static_cast<std::size_t>(a); f < std::min(frames, static_cast<std::size_t>(b + edge));
             ++f)
            gain[f] = f < a + edge ? 0.5 - 0.5 * std::cos(std::numbers::pi * (f - a) / edge)
                      : f > b      ? 0.5 + 0.5 * std::cos(std::numbers::pi * (f - b) / edge)
                                   : 1;
    }
    const double sigma = std::sqrt(0.5 / std::pow(10.0, air.snrDb / 10) * (kRate / 2.0) / 3000.0);
    std::mt19937 random(air.seed);
    std::normal_distribution<double> noise(0, sigma);
    std::vector<float> out(frames);
    double phase = 0;
    for (std::size_t f = 0; f < frames; ++f) {
        phase += 2 * std::numbers::pi * (air.hz + air.driftHz * f / frames) / kRate;
        out[f] = static_cast<float>((gain[f] * std::sin(phase) + noise(random)) * 0.1);
    }
    return out;
}

QString Read(const std::vector<float>& audio) {
    const double pitch = ToneKeying::StrongestTone(audio, kRate);
    return pitch > 0 ? TimelineDecoder::Decode(ToneKeying::Read(audio, kRate, pitch)).text : QString();
}

// Audio read exactly down to where the noise is ten times the tone's power in 3 kHz,
// as the sender's timing, speed and pitch change.
TEST(ToneDecoding, ReadsTonesInNoiseExactly) {
    struct Case {
        const char* name;
        test::Fist fist;
        Air air;
    };
    const QString text = QStringLiteral("cq de ^ar 73 paris kilo 5nn tu");
    const Case cases[] = {
        {"20 WPM, +6 dB", {.wpm = 20}, {.snrDb = 6}},
        {"20 WPM, -3 dB", {.wpm = 20}, {.snrDb = -3, .seed = 2}},
        {"20 WPM, -6 dB", {.wpm = 20}, {.snrDb = -6, .seed = 3}},
        {"30 WPM, 0 dB, drifting 8 Hz", {.wpm = 30}, {.snrDb = 0, .driftHz = 8, .seed = 4}},
        {"25 WPM, no noise, drifting 20 Hz", {.wpm = 25}, {.hz = 600, .driftHz = 20}},
        {"hand sent, 15 % spread, 0 dB", {.wpm = 18, .spread = 0.15, .seed = 5}, {.snrDb = 0, .seed = 5}},
        {"5 WPM, 0 dB", {.wpm = 5}, {.snrDb = 0, .seed = 6}},
        {"50 WPM, +6 dB", {.wpm = 50}, {.snrDb = 6, .seed = 7}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Read(Tone(test::Sending(text, c.fist), c.air)), text) << c.name;
    // Glitches: a dash broken for a fifth of a dot, a click of a fifth of a dot in a word gap.
    KeyTimeline glitches = test::Sending(text, {.wpm = 20});
    const KeyMark dash = glitches.marks[0];
    glitches.marks[0].upMs = dash.downMs + 88;
    glitches.marks.insert(glitches.marks.begin() + 1, {dash.downMs + 100, dash.upMs});
    const double gapEnd = glitches.marks[9].downMs;  // "d", after the word gap
    glitches.marks.insert(glitches.marks.begin() + 9, {gapEnd - 200, gapEnd - 188});
    for (double snrDb : {100.0, 3.0})
        EXPECT_EQ(Read(Tone(glitches, {.snrDb = snrDb, .seed = 11})), text)
            << "glitches at " << snrDb << " dB";
    // 15 then 40 WPM, at 0 dB: the new speed followed within three characters.
    const QString before = QStringLiteral("the quick brown fox");
    const QString after = QStringLiteral("jumps over the lazy dog");
    KeyTimeline both;
    const double end = test::Send(before, {.wpm = 15}, both);
    test::Send(after, {.wpm = 40}, both, end + 7 * 1200 / 40.0);
    const QString read = Read(Tone(both, {.snrDb = 0, .seed = 8}));
    EXPECT_TRUE(read.startsWith(before + QLatin1Char(' '))) << qPrintable(read);
    EXPECT_TRUE(read.endsWith(after.mid(3))) << qPrintable(read);
}

// What holds no tone reads as nothing, and soon: silence, noise alone.
TEST(ToneDecoding, ReadsNothingWhereThereIsNoTone) {
    const std::pair<const char*, std::vector<float>> cases[] = {
        {"silence", std::vector<float>(10 * kRate, 0.0f)},
        {"noise, 0 dB, 10 s", Tone({}, {.snrDb = 0, .seed = 9})},
        {"noise, 30 dB, 10 s", Tone({}, {.snrDb = 30, .seed = 10})},
        {"too short for a spectrum", std::vector<float>(100, 0.5f)},
    };
    for (const auto& [name, audio] : cases)
        EXPECT_EQ(Read(audio).trimmed(), QString()) << name;
}

}  // namespace
}  // namespace lumbrel
