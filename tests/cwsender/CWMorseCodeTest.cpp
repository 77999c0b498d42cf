// The sender's character table and its per-character renderer: lengths in frames and
// bytes, the element envelope, pitch, echo taps, staccato, chirp, buzz, the noise bed,
// the steady interfering tone, saturation, the speed clamp and bad settings.
//
// Reference values are worked out by hand from 44100 frames per second and a dot of
// 52920000 / (WPM × 1000) frames; tone shapes are checked against sin() evaluated
// directly at the frame's time, which may differ by 1 from the renderer's running phase.

#include <gtest/gtest.h>

#include <QChar>
#include <QString>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "CWSender/CWCharacterTable.h"
#include "CWSender/CWMorseCode.h"
#include "morse/Random.h"

namespace lumbrel {
namespace {

constexpr double kTwoPi = 6.283185307179586;

const CWCharacter& Rec(char c) {
    return CWCharacterTable::ForCharacter(QChar(c));
}

// Renders `record` and returns the left channel; checks that the right channel equals
// it and that the byte count matches.
struct Rendered {
    std::vector<std::int16_t> mono;
    std::uint32_t bytes = 0;
};

Rendered RenderMono(const CWCharacter& record, const CWRenderSettings& settings, RandomNumber& random) {
    CWMorseCode code(record, settings, random);
    std::vector<std::int16_t> buffer(static_cast<std::size_t>(code.Frames()) * 2 + 2, 0x5A5A);
    Rendered out;
    out.bytes = code.Render(buffer.data(), static_cast<std::size_t>(code.Frames()));
    EXPECT_EQ(out.bytes, code.ByteLength());
    const std::size_t frames = out.bytes / 4;
    for (std::size_t f = 0; f < frames; ++f) {
        if (buffer[2 * f] != buffer[2 * f + 1]) {
            ADD_FAILURE() << "channels differ at frame " << f;
            break;
        }
        out.mono.push_back(buffer[2 * f]);
    }
    EXPECT_EQ(buffer[2 * frames], 0x5A5A) << "wrote past the character";
    return out;
}

Rendered RenderMono(const CWCharacter& record, const CWRenderSettings& settings) {
    RandomNumber random(1);
    return RenderMono(record, settings, random);
}

CWRenderSettings Plain(int speed = 15) {
    CWRenderSettings s;
    s.speed = speed;
    return s;
}

// sin() of the element's own tone `i` frames after its start, at constant pitch.
int PureTone(int level, int pitch, int i) {
    return static_cast<int>(level * std::sin(kTwoPi * pitch * i / 44100.0));
}

int ZeroCrossings(const std::vector<std::int16_t>& v, int from, int to) {
    int count = 0;
    for (int i = from + 1; i < to; ++i) {
        const auto a = static_cast<std::size_t>(i - 1);
        const auto b = static_cast<std::size_t>(i);
        if ((v[a] < 0 && v[b] >= 0) || (v[a] >= 0 && v[b] < 0))
            ++count;
    }
    return count;
}

class CWMorseCodeTest : public ::testing::Test {
protected:
    void SetUp() override { CWMorseCode::SharedPhases() = CWSharedPhases{}; }
    void TearDown() override { CWMorseCode::SharedPhases() = CWSharedPhases{}; }
};

// ------------------------------------------------------------------ character table

TEST(CWCharacterTableTest, RecordsAreTheFortyCharactersWithDistinctCodes) {
    std::set<std::string> codes;
    std::string displays;
    for (int i = 0; i < CWCharacterTable::kRecordCount; ++i) {
        const CWCharacter& r = CWCharacterTable::Record(i);
        EXPECT_TRUE(codes.insert(r.code).second) << "duplicate code " << r.code;
        displays += r.display;
    }
    EXPECT_EQ(displays, "abcdefghijklmnopqrstuvwxyz0123456789/? @");
    EXPECT_STREQ(Rec('k').code, "-.-");
    EXPECT_STREQ(Rec('0').code, "-----");
    EXPECT_STREQ(Rec('5').code, ".....");
    EXPECT_STREQ(Rec('q').code, "--.-");
    EXPECT_STREQ(Rec('/').code, "-..-.");
    EXPECT_STREQ(Rec('?').code, "..--..");
    EXPECT_STREQ(CWCharacterTable::WordSpace().code, " ");
    EXPECT_STREQ(CWCharacterTable::Pause().code, "@");
    // Out-of-range indices give the word space, never a read outside the table.
    EXPECT_EQ(&CWCharacterTable::Record(-1), &CWCharacterTable::WordSpace());
    EXPECT_EQ(&CWCharacterTable::Record(40), &CWCharacterTable::WordSpace());
}

TEST(CWCharacterTableTest, CapitalsFoldAndEverythingElseIsAWordSpace) {
    for (char c = 'A'; c <= 'Z'; ++c)
        EXPECT_EQ(&Rec(c), &Rec(static_cast<char>(c - 'A' + 'a'))) << c;
    const CWCharacter* space = &CWCharacterTable::WordSpace();
    for (const char c : std::string(".,;:!\"'()-+=@ \t\n#"))
        EXPECT_EQ(&Rec(c), space) << "'" << c << "'";
    EXPECT_EQ(&CWCharacterTable::ForCharacter(QChar(0x00E9)), space);  // e acute
    EXPECT_EQ(&CWCharacterTable::ForCharacter(QChar(0x0416)), space);  // Cyrillic
    EXPECT_EQ(&CWCharacterTable::ForCharacter(QChar(0xD83D)), space);  // lone surrogate
    EXPECT_EQ(&CWCharacterTable::ForCharacter(QChar(0)), space);
    // The pause is never chosen by text: "@" is a word space.
    EXPECT_NE(&Rec('@'), &CWCharacterTable::Pause());
}

// ------------------------------------------------------------------ lengths

TEST_F(CWMorseCodeTest, ACharacterLastsTheUnitsOfItsMarksGapsAndClosingGapAtTheCommonSpeeds) {
    for (const auto& [wpm, dot] : {std::pair{15, 3528}, {20, 2646}, {25, 2116}, {30, 1764}})
        EXPECT_EQ(CWMorseCode::DotFramesAt(wpm), dot) << wpm << " WPM";
    RandomNumber random(1);
    CWMorseCode k(Rec('k'), Plain(15), random);
    EXPECT_EQ(k.DotFrames(), 3528);
    EXPECT_EQ(k.DashFrames(), 10584);
    for (const auto& [record, units] : {std::pair{&Rec('k'), 12},
                                        {&Rec('e'), 4},
                                        {&Rec('0'), 22},
                                        {&CWCharacterTable::WordSpace(), 7},
                                        {&CWCharacterTable::Pause(), 4}}) {
        EXPECT_EQ(CWCharacterTable::Units(record->code), units) << record->code;
        const CWMorseCode code(*record, Plain(15), random);
        EXPECT_EQ(code.Frames(), units * 3528) << record->code;
        EXPECT_EQ(code.ByteLength(), static_cast<std::uint32_t>(4 * units * 3528)) << record->code;
    }
    EXPECT_EQ(CWCharacterTable::Units(""), 0);
    EXPECT_EQ(CWCharacterTable::Units("x"), 4);  // unknown symbols count 2
    int longest = 0;
    for (int i = 0; i < CWCharacterTable::kRecordCount; ++i)
        longest = std::max(longest, CWCharacterTable::Units(CWCharacterTable::Record(i).code));
    EXPECT_EQ(longest, 22);
}

TEST_F(CWMorseCodeTest, SpeedOutsideThreeTo705IsClampedAndTheLongestCharacterFitsABuffer) {
    for (const int slow : {INT_MIN, -7, 0, 1, 2, 3})
        EXPECT_EQ(CWMorseCode::DotFramesAt(slow), 17640) << slow;
    for (const int fast : {705, 706, 100000, INT_MAX})
        EXPECT_EQ(CWMorseCode::DotFramesAt(fast), 75) << fast;

    RandomNumber random(1);
    CWMorseCode slowest(Rec('0'), Plain(0), random);
    EXPECT_EQ(slowest.Frames(), 388080);
    EXPECT_LE(slowest.Frames(), 441000);

    // At the fast end every element is 75 frames or more, so the chirp step stays valid.
    CWRenderSettings fast = Plain(1000000);
    fast.chirp = true;
    fast.staccato = true;
    fast.buzz = true;
    const Rendered r = RenderMono(Rec('0'), fast);
    EXPECT_EQ(r.bytes, 22u * 75u * 4u);
}

// ------------------------------------------------------------------ elements

TEST_F(CWMorseCodeTest, KIsDashDotDashWithSilentGapsAndElementsStartAtZero) {
    const Rendered r = RenderMono(Rec('k'), Plain(15));
    ASSERT_EQ(r.mono.size(), 42336u);
    const int D = 3528;
    struct Span {
        int from, to;
        bool tone;
    };
    const Span spans[] = {{0, 3 * D, true},      {3 * D, 4 * D, false}, {4 * D, 5 * D, true},
                          {5 * D, 6 * D, false}, {6 * D, 9 * D, true},  {9 * D, 12 * D, false}};
    for (const Span& s : spans) {
        // A dash at 15 WPM carries echo taps up to 3985 frames in; its plain tone follows.
        const int plainFrom = s.tone && s.to - s.from == 3 * D ? s.from + 3985 : s.from;
        int peak = 0;
        for (int f = plainFrom; f < s.to; ++f)
            peak = std::max(peak, std::abs(static_cast<int>(r.mono[static_cast<std::size_t>(f)])));
        if (s.tone) {
            EXPECT_EQ(r.mono[static_cast<std::size_t>(s.from)], 0)
                << "first frame of the element at " << s.from;
            EXPECT_LE(peak, 16000);
            EXPECT_GE(peak, 15990);
        } else {
            EXPECT_EQ(peak, 0) << "gap from " << s.from;
        }
    }
}

TEST_F(CWMorseCodeTest, EnvelopeRisesAndFallsBy40PerFrameOver400Frames) {
    // Level 16000: step 40, turning frame N - 400.
    const Rendered r = RenderMono(Rec('e'), Plain(16));  // a dot of 3307 frames, no echo
    const int N = CWMorseCode::DotFramesAt(16);
    for (int i = 0; i < N; ++i) {
        const int v = std::abs(static_cast<int>(r.mono[static_cast<std::size_t>(i)]));
        const int rising = 40 * i;  // level before frame i's update
        const int falling = 16000 - 40 * (i - (N - 400));
        const int bound = i < N - 400 ? std::min(rising, 16000) : falling;
        ASSERT_LE(v, bound) << "frame " << i;
    }
    // On the plateau the tone is the plain sine at 550 Hz and level 16000.
    for (int i = 400; i < N - 400; ++i)
        ASSERT_NEAR(r.mono[static_cast<std::size_t>(i)], PureTone(16000, 550, i), 1) << "frame " << i;
}

TEST_F(CWMorseCodeTest, QuietLevelsUseAStepOfOneAndPitchFollowsTheSetting) {
    CWRenderSettings s = Plain(16);  // no echo taps
    s.amplitudeLevel = 117;          // S1: step 1, turning frame N - 117
    s.pitch = 1000;
    const Rendered r = RenderMono(Rec('t'), s);
    const int N = 3 * 3307;
    int peak = 0;
    for (int i = 0; i < N; ++i)
        peak = std::max(peak, std::abs(static_cast<int>(r.mono[static_cast<std::size_t>(i)])));
    EXPECT_LE(peak, 117);
    EXPECT_GE(peak, 116);
    for (int i = 117; i < N - 117; ++i)
        ASSERT_NEAR(r.mono[static_cast<std::size_t>(i)], PureTone(117, 1000, i), 1) << "frame " << i;
    // The last frame is heard at level 1 at most.
    EXPECT_LE(std::abs(static_cast<int>(r.mono[static_cast<std::size_t>(N - 1)])), 1);

    s.amplitudeLevel = 0;
    const Rendered silent = RenderMono(Rec('t'), s);
    EXPECT_TRUE(std::all_of(silent.mono.begin(), silent.mono.end(), [](std::int16_t v) { return v == 0; }));
}

TEST_F(CWMorseCodeTest, EchoTapsOnlyFromFramesMoreThan10000BeforeTheElementEnd) {
    // 15 WPM dash: 10584 frames, so its first 584 frames echo 501, 1101, 1701, 2801 and
    // 3401 frames later; frames before 501 are plain tone.
    const Rendered r = RenderMono(Rec('t'), Plain(15));
    auto at = [&](int f) {
        return static_cast<int>(r.mono[static_cast<std::size_t>(f)]);
    };
    // Frames before 501 are plain tone, so each tap's source is known exactly there.
    for (int j = 501; j < 501 + 501; ++j)
        ASSERT_NEAR(at(j) - PureTone(16000, 550, j), at(j - 501), 2) << "first tap, frame " << j;
    for (int j = 501 + 584; j < 1101; ++j)
        ASSERT_NEAR(at(j), PureTone(16000, 550, j), 1) << "no tap, frame " << j;
    for (int j = 1101; j < 1101 + 501; ++j)
        ASSERT_NEAR(at(j) - PureTone(16000, 550, j), at(j - 1101), 2) << "second tap, frame " << j;
    for (int j = 3401; j < 3401 + 501; ++j)
        ASSERT_NEAR(at(j) - PureTone(16000, 550, j), at(j - 3401), 2) << "last tap, frame " << j;
    for (int j = 3401 + 584; j < 10584 - 400; ++j)
        ASSERT_NEAR(at(j), PureTone(16000, 550, j), 1) << "after the taps, frame " << j;

    // 16 WPM: a dash is 9921 frames, no taps at all.
    const Rendered noTaps = RenderMono(Rec('t'), Plain(16));
    for (int j = 400; j < 9921 - 400; ++j)
        ASSERT_NEAR(noTaps.mono[static_cast<std::size_t>(j)], PureTone(16000, 550, j), 1) << "frame " << j;

    // Dots echo only at 5 WPM and slower (10584 frames); at 6 WPM (8820) they do not.
    const Rendered dot5 = RenderMono(Rec('e'), Plain(5));
    EXPECT_NEAR(dot5.mono[600] - PureTone(16000, 550, 600), dot5.mono[99], 2);
    EXPECT_GT(std::abs(dot5.mono[600] - PureTone(16000, 550, 600)), 100);
    const Rendered dot6 = RenderMono(Rec('e'), Plain(6));
    for (int j = 400; j < 8820 - 400; ++j)
        ASSERT_NEAR(dot6.mono[static_cast<std::size_t>(j)], PureTone(16000, 550, j), 1) << "frame " << j;
}

TEST_F(CWMorseCodeTest, StaccatoTurnsAtSevenTwelfthsOfTheElement) {
    CWRenderSettings s = Plain(15);
    s.staccato = true;
    const Rendered r = RenderMono(Rec('e'), s);
    // Turning frame 7 × 3528 / 12 = 2058; the level is 0 after 400 falling frames.
    for (int i = 2058 + 400; i < 4 * 3528; ++i)
        ASSERT_EQ(r.mono[static_cast<std::size_t>(i)], 0) << "frame " << i;
    for (int i = 400; i < 2058; ++i)
        ASSERT_NEAR(r.mono[static_cast<std::size_t>(i)], PureTone(16000, 550, i), 1) << "frame " << i;
    int lateEnergy = 0;
    for (int i = 2100; i < 2400; ++i)
        lateEnergy = std::max(lateEnergy, std::abs(static_cast<int>(r.mono[static_cast<std::size_t>(i)])));
    EXPECT_GT(lateEnergy, 1000);  // still fading, not cut
}

TEST_F(CWMorseCodeTest, ChirpRaisesThePitchWithinEachElementAndRestartsOnTheNext) {
    CWRenderSettings s = Plain(15);
    const int N = 10584;
    const int D = 3528;
    const Rendered plain = RenderMono(Rec('m'), s);
    s.chirp = true;
    const Rendered chirp = RenderMono(Rec('m'), s);

    // 3000-frame windows: 550 Hz gives about 75 crossings; the chirp adds i / 141 Hz.
    const int plainEarly = ZeroCrossings(plain.mono, 400, 3400);
    const int plainLate = ZeroCrossings(plain.mono, N - 3400, N - 400);
    EXPECT_NEAR(plainEarly, 75, 1);
    EXPECT_NEAR(plainLate, 75, 1);
    const int early = ZeroCrossings(chirp.mono, 400, 3400);
    const int late = ZeroCrossings(chirp.mono, N - 3400, N - 400);
    EXPECT_NEAR(early, 77, 2);  // about 563 Hz on average
    EXPECT_NEAR(late, 83, 2);   // about 611 Hz on average
    // The second dash starts over at 550 Hz.
    const int secondEarly = ZeroCrossings(chirp.mono, N + D + 400, N + D + 3400);
    EXPECT_EQ(secondEarly, early);
    // At 16 WPM (a dash of 9921 frames, no echo taps) frame i sounds at 550 + i / 132 Hz
    // (132 = 9921 / 75): the phase at a frame is the sum of the steps of the frames before it.
    CWRenderSettings s16 = Plain(16);
    s16.chirp = true;
    const Rendered dash16 = RenderMono(Rec('t'), s16);
    double cycles = 0.0;  // hertz-frames
    for (int i = 0; i < 9921 - 400; ++i) {
        if (i >= 400) {
            const int expected = static_cast<int>(16000 * std::sin(kTwoPi * cycles / 44100.0));
            ASSERT_NEAR(dash16.mono[static_cast<std::size_t>(i)], expected, 1) << "frame " << i;
        }
        cycles += 550 + i / 132;
    }
}

TEST_F(CWMorseCodeTest, BuzzRingModulatesAt25HzWithASharedPhase) {
    CWRenderSettings s = Plain(20);  // dot 2646 frames: 1.5 cycles of the modulator
    s.buzz = true;
    const Rendered r = RenderMono(Rec('e'), s);
    for (int i = 0; i < 2646; ++i) {
        const double bound = 16000.0 * std::fabs(std::sin(kTwoPi * 25.0 * i / 44100.0)) + 1.0;
        ASSERT_LE(std::abs(static_cast<int>(r.mono[static_cast<std::size_t>(i)])), bound) << "frame " << i;
    }
    int peakNear441 = 0;
    for (int i = 400; i < 480; ++i)
        peakNear441 = std::max(peakNear441, std::abs(static_cast<int>(r.mono[static_cast<std::size_t>(i)])));
    EXPECT_GT(peakNear441, 15000);
    // The modulator advanced only while the tone sounded: 1.5 cycles.
    EXPECT_NEAR(CWMorseCode::SharedPhases().buzzPhase, kTwoPi / 2, 1e-6);
    // A second character continues from there, so its element starts out of phase.
    const Rendered next = RenderMono(Rec('e'), s);
    const double after = CWMorseCode::SharedPhases().buzzPhase;  // three whole cycles
    EXPECT_LT(std::min(std::fabs(after), std::fabs(kTwoPi - after)), 1e-6);
    for (int i = 0; i < 2646; ++i)
        ASSERT_NEAR(next.mono[static_cast<std::size_t>(i)], -r.mono[static_cast<std::size_t>(i)], 1)
            << "frame " << i;

    // Without buzz the modulator stands still.
    CWMorseCode::SharedPhases().buzzPhase = 1.0;
    s.buzz = false;
    RenderMono(Rec('0'), s);
    EXPECT_EQ(CWMorseCode::SharedPhases().buzzPhase, 1.0);
}

// ------------------------------------------------------------------ bed

TEST_F(CWMorseCodeTest, NoiseBedHoldsEachDrawForEightFramesAndDrawsFromRandomLong) {
    for (const int noise : {1, 5, 9}) {
        CWRenderSettings s = Plain(40);  // dot 1323 frames: the pause is 5292 frames, 661.5 holds
        s.noise = noise;
        RandomNumber random(1234);
        RandomNumber reference(1234);
        const Rendered r = RenderMono(CWCharacterTable::Pause(), s, random);
        ASSERT_EQ(r.mono.size(), 5292u);
        for (std::size_t f = 0; f < r.mono.size(); f += 8) {
            const int expected = noise * 800 - 64 * reference.RandomLong(noise * 25);
            for (std::size_t k = f; k < std::min(f + 8, r.mono.size()); ++k)
                ASSERT_EQ(r.mono[k], expected) << "noise " << noise << " frame " << k;
        }
        // 662 draws, no more: both generators are in the same state.
        EXPECT_EQ(random.LowWord(), reference.LowWord());
        EXPECT_EQ(random.HighWord(), reference.HighWord());
        const auto [lo, hi] = std::minmax_element(r.mono.begin(), r.mono.end());
        EXPECT_GE(*lo, -noise * 800 + 64);
        EXPECT_LE(*hi, noise * 800);
    }
}

TEST_F(CWMorseCodeTest, NoiseLiesUnderTheToneAndOutOfRangeNoiseIsClamped) {
    CWRenderSettings s = Plain(15);
    s.noise = 3;
    RandomNumber a(77);
    const Rendered withNoise = RenderMono(Rec('e'), s, a);
    RandomNumber b(77);
    const Rendered bedOnly = RenderMono(CWCharacterTable::Pause(), s, b);  // same length, same draws
    const Rendered toneOnly = RenderMono(Rec('e'), Plain(15));
    ASSERT_EQ(withNoise.mono.size(), bedOnly.mono.size());
    for (std::size_t f = 0; f < withNoise.mono.size(); ++f)
        ASSERT_EQ(withNoise.mono[f], bedOnly.mono[f] + toneOnly.mono[f]) << "frame " << f;

    // Noise 0 draws nothing.
    RandomNumber quiet(5);
    RenderMono(Rec('k'), Plain(15), quiet);
    EXPECT_EQ(quiet.LowWord(), RandomNumber(5).LowWord());

    // Levels outside 0..9 are limited.
    s.noise = 12;
    RandomNumber c(9);
    const Rendered loud = RenderMono(CWCharacterTable::Pause(), s, c);
    EXPECT_LE(*std::max_element(loud.mono.begin(), loud.mono.end()), 7200);
    EXPECT_GE(*std::min_element(loud.mono.begin(), loud.mono.end()), -7136);
    EXPECT_GT(*std::max_element(loud.mono.begin(), loud.mono.end()), 3 * 800);
    s.noise = -4;
    const Rendered none = RenderMono(CWCharacterTable::Pause(), s);
    EXPECT_TRUE(std::all_of(none.mono.begin(), none.mono.end(), [](std::int16_t v) { return v == 0; }));
}

TEST_F(CWMorseCodeTest, SteadyToneRunsOnAcrossCharactersAndStopsAtLevelZero) {
    CWRenderSettings s = Plain(15);
    s.qrmToneAmplitude = 1000;
    s.qrmTonePitch = 575;
    std::vector<std::int16_t> stream;
    for (const CWCharacter* rec : {&CWCharacterTable::Pause(), &CWCharacterTable::WordSpace()}) {
        const Rendered r = RenderMono(*rec, s);
        stream.insert(stream.end(), r.mono.begin(), r.mono.end());
    }
    ASSERT_EQ(stream.size(), 11u * 3528u);
    for (std::size_t f = 0; f < stream.size(); ++f)
        ASSERT_NEAR(stream[f], PureTone(1000, 575, static_cast<int>(f)), 1) << "frame " << f;

    // Level 0 (S0) switches the steady tone off and leaves its phase alone.
    const double phase = CWMorseCode::SharedPhases().qrmTonePhase;
    s.amplitudeLevel = 0;
    const Rendered off = RenderMono(Rec('k'), s);
    EXPECT_TRUE(std::all_of(off.mono.begin(), off.mono.end(), [](std::int16_t v) { return v == 0; }));
    EXPECT_EQ(CWMorseCode::SharedPhases().qrmTonePhase, phase);
}

TEST_F(CWMorseCodeTest, LoudSumsSaturateAt32000InsteadOfWrapping) {
    CWRenderSettings s = Plain(15);
    s.amplitudeLevel = 20000;    // S9
    s.qrmToneAmplitude = 30000;  // same pitch, in phase with the element
    s.qrmTonePitch = 550;
    s.noise = 9;
    const Rendered r = RenderMono(Rec('t'), s);
    for (int i = 4000; i < 10000; ++i) {  // past the echo taps, before the fall
        const double sine = std::sin(kTwoPi * 550 * i / 44100.0);
        if (sine > 0.9) {
            ASSERT_EQ(r.mono[static_cast<std::size_t>(i)], 32000) << "frame " << i;
        }
        if (sine < -0.9) {
            ASSERT_EQ(r.mono[static_cast<std::size_t>(i)], -32000) << "frame " << i;
        }
    }
    // Absurd settings stay in range and do not crash.
    s.qrmToneAmplitude = INT_MAX;
    s.qrmTonePitch = INT_MIN;
    s.pitch = INT_MAX;
    s.amplitudeLevel = INT_MAX;
    const Rendered wild = RenderMono(Rec('0'), s);
    EXPECT_LE(*std::max_element(wild.mono.begin(), wild.mono.end()), 32000);
    EXPECT_GE(*std::min_element(wild.mono.begin(), wild.mono.end()), -32000);
    EXPECT_TRUE(std::isfinite(CWMorseCode::SharedPhases().qrmTonePhase));
}

TEST_F(CWMorseCodeTest, WordSpaceAndPauseAreSilentAndAZeroPitchIsSilent) {
    for (const CWCharacter* rec : {&CWCharacterTable::WordSpace(), &CWCharacterTable::Pause()}) {
        const Rendered r = RenderMono(*rec, Plain(15));
        EXPECT_TRUE(std::all_of(r.mono.begin(), r.mono.end(), [](std::int16_t v) { return v == 0; }));
    }
    CWRenderSettings s = Plain(15);
    s.pitch = 0;
    const Rendered r = RenderMono(Rec('k'), s);
    EXPECT_TRUE(std::all_of(r.mono.begin(), r.mono.end(), [](std::int16_t v) { return v == 0; }));
    // A negative pitch is the same tone upside down.
    s.pitch = -550;
    const Rendered negative = RenderMono(Rec('e'), s);
    const Rendered positive = RenderMono(Rec('e'), Plain(15));
    for (std::size_t f = 0; f < positive.mono.size(); ++f)
        ASSERT_NEAR(negative.mono[f], -positive.mono[f], 1) << "frame " << f;
}

TEST_F(CWMorseCodeTest, ACharacterLongerThanTheRoomIsCutAtTheRoom) {
    RandomNumber random(1);
    CWMorseCode code(Rec('0'), Plain(15), random);
    std::vector<std::int16_t> buffer(2 * 1000 + 2, 0x1234);
    EXPECT_EQ(code.Render(buffer.data(), 1000), 4000u);
    EXPECT_EQ(buffer[2000], 0x1234);
    EXPECT_EQ(buffer[2001], 0x1234);
    EXPECT_EQ(code.ByteLength(), 22u * 3528u * 4u);
    EXPECT_EQ(code.Render(nullptr, 1000), 0u);
}

}  // namespace
}  // namespace lumbrel
