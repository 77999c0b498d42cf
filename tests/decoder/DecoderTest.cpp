#include <QByteArray>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "decoder/KeyTimeline.h"
#include "decoder/TimelineDecoder.h"
#include "decoder/ToneKeying.h"
#include "decoder/WavReader.h"
#include "tests/decoder/Sending.h"
#include "tests/scoring/QtPrinters.h"

namespace lumbrel {
namespace {

using test::Fist;
using test::Sending;

struct SendingCase {
    const char* name;
    const char* text;
    Fist fist;
};

// Sendings read as sent: speeds, stretched gaps, prosigns and uneven fists. Each gap
// kind comes from the sender's own timings: the learner's element gaps of 2.2 units
// and dashes of 2.2 would be character gaps and dots beside fixed thresholds.
TEST(TimelineDecoder, ReadsSendingsAsSent) {
    const SendingCase cases[] = {
        {"5 WPM", "paris cq de k", {.wpm = 5}},
        {"60 WPM", "paris 73 tu ^sk", {.wpm = 60}},
        {"effective 5 WPM at 20", "kmr sua ptl", {.wpm = 20, .character = 27, .word = 62}},
        {"prosigns", "cq de ^ar ^kn ^bt ^sk ^as ^bk ?", {.wpm = 25}},
        {"long gaps inside", "the lazy dog", {.wpm = 15, .element = 2.2, .character = 6.5, .word = 14}},
        {"short dashes", "kilo tango 0", {.wpm = 18, .dash = 2.2}},
        {"heavy weighting", "heavy fist 5", {.wpm = 22, .weight = 0.35}},
        {"20 % spread",
         "the quick brown fox jumps over the lazy dog 1234567890",
         {.wpm = 30, .spread = 0.2, .seed = 3}},
        {"one character", "k", {.wpm = 20}},
        {"only dots", "eish5 eish5", {.wpm = 20}},
    };
    for (const SendingCase& c : cases)
        EXPECT_EQ(TimelineDecoder::Decode(Sending(QString::fromLatin1(c.text), c.fist)).text,
                  QString::fromLatin1(c.text))
            << c.name;
}

// A new speed is followed within three characters, faster and slower.
TEST(TimelineDecoder, FollowsSpeedChanges) {
    const QString before = QStringLiteral("the quick brown fox jumps");
    const QString after = QStringLiteral("over the lazy dog 73");
    for (const auto& [from, to] : {std::pair{15.0, 40.0}, std::pair{40.0, 12.0}, std::pair{8.0, 50.0}}) {
        KeyTimeline timeline;
        const double end = test::Send(before, {.wpm = from}, timeline);
        test::Send(after, {.wpm = to}, timeline, end + 7 * 1200 / to);
        const QString read = TimelineDecoder::Decode(timeline).text;
        EXPECT_TRUE(read.startsWith(before + QLatin1Char(' ')))
            << from << " -> " << to << ": " << qPrintable(read);
        EXPECT_TRUE(read.endsWith(after.mid(3))) << from << " -> " << to << ": " << qPrintable(read);
    }
}

TEST(TimelineDecoder, NamesCodes) {
    const std::pair<const char*, const char*> cases[] = {
        {".-.-.", "^ar"}, {"...-.-", "^sk"}, {"-...-", "^bt"}, {"-.--.", "^kn"},
        {"--..--", ","},  {"..--..", "?"},   {".-.-.-", "."},  {"......-", "*"},
    };
    for (const auto& [code, text] : cases) {
        EXPECT_EQ(TimelineDecoder::CharacterOf(code), QString::fromLatin1(text)) << code;
        if (QByteArrayView(text) != "*") {
            EXPECT_EQ(TimelineDecoder::CodeOf(QString::fromLatin1(text)), QByteArray(code)) << text;
        }
    }
}

TEST(KeyEvents, ReadsLinesAndRefusesBadOnes) {
    const std::pair<const char*, const char*> bad[] = {
        {"", "no key events"},
        {"# only a comment\n\n", "no key events"},
        {"0 down\n60 up\n50 down\n", "line 3: the events are out of order (50 ms after 60 ms)"},
        {"0 down\n10 down\n", "line 2: the key is down already"},
        {"0 up\n", "line 1: the key is up already"},
        {"0 down\n60 upp\n", "line 2: expected \"TIME_MS down\" or \"TIME_MS up\""},
        {"zero down\n", "line 1: expected \"TIME_MS down\" or \"TIME_MS up\""},
        {"-5 down\n", "line 1: expected \"TIME_MS down\" or \"TIME_MS up\""},
        {"nan down\n", "line 1: expected \"TIME_MS down\" or \"TIME_MS up\""},
        {"1e300 down\n", "line 1: expected \"TIME_MS down\" or \"TIME_MS up\""},
    };
    for (const auto& [text, problem] : bad) {
        const KeyTimelineText read = ParseKeyEvents(QByteArray(text));
        EXPECT_EQ(read.problem, QString::fromLatin1(problem)) << text;
        EXPECT_TRUE(read.timeline.marks.empty()) << text;
    }
    const KeyTimelineText read = ParseKeyEvents("# a\r\n 0 down\r\n60.5 up\n\n120 down\n");
    ASSERT_TRUE(read.Ok()) << qPrintable(read.problem);
    ASSERT_EQ(read.timeline.marks.size(), 2u);
    EXPECT_DOUBLE_EQ(read.timeline.marks[0].upMs, 60.5);
    EXPECT_DOUBLE_EQ(read.timeline.marks[1].Length(), 0);  // still down at the end
}

// A WAV file of the tone of a timeline, as the timing rules give it: frames at rate,
// channels the same, amplitude 0.5, samples of bits (integer) or 32-bit float.
QByteArray ToneWav(const KeyTimeline& t, int rate, int channels, int bits, bool isFloat, double hz) {
    const auto u32 = [](std::uint32_t v) {
        return QByteArray(1, char(v)) + char(v >> 8) + char(v >> 16) + char(v >> 24);
    };
    const auto u16 = [](int v) {
        return QByteArray(1, char(v)) + char(v >> 8);
    };
    const std::size_t frames = static_cast<std::size_t>((t.marks.back().upMs + 300) * rate / 1000);
    QByteArray samples;
    for (std::size_t f = 0; f < frames; ++f) {
        const double ms = f * 1000.0 / rate;
        bool on = false;
        for (const KeyMark& m : t.marks)
            on = on || (ms >= m.downMs && ms < m.upMs);
        const double v = on ? 0.5 * std::sin(2 * std::numbers::pi * hz * f / rate) : 0;
        for (int c = 0; c < channels; ++c) {
            if (isFloat) {
                const float x = static_cast<float>(v);
                samples.append(reinterpret_cast<const char*>(&x), 4);
            } else {
                const std::int32_t x = static_cast<std::int32_t>(std::lround(v * ((1LL << (bits - 1)) - 1)));
                for (int b = 0; b < bits / 8; ++b)
                    samples.append(char((bits == 8 ? x + 128 : x) >> (8 * b)));
            }
        }
    }
    const int block = channels * bits / 8;
    return "RIFF" + u32(36 + samples.size()) + "WAVEfmt " + u32(16) + u16(isFloat ? 3 : 1) + u16(channels) +
           u32(rate) + u32(rate * block) + u16(block) + u16(bits) + "data" + u32(samples.size()) + samples;
}

TEST(WavDecoding, ReadsTheStrongestToneOfEveryFormat) {
    const KeyTimeline sent = Sending(QStringLiteral("cq de ^ar"), {.wpm = 22});
    struct Format {
        int rate, channels, bits;
        bool isFloat;
        double hz;
    };
    for (const Format& f : {Format{8000, 1, 8, false, 600}, Format{44100, 2, 16, false, 750},
                            Format{48000, 1, 24, false, 1000}, Format{22050, 2, 32, true, 450}}) {
        const WavAudio audio = WavReader::Parse(ToneWav(sent, f.rate, f.channels, f.bits, f.isFloat, f.hz));
        ASSERT_TRUE(audio.Ok()) << qPrintable(audio.problem);
        EXPECT_EQ(audio.rate, f.rate);
        const double pitch = ToneKeying::StrongestTone(audio.samples, audio.rate);
        EXPECT_NEAR(pitch, f.hz, 3) << f.rate << " Hz, " << f.bits << " bits";
        const KeyTimeline read = ToneKeying::Read(audio.samples, audio.rate, pitch);
        EXPECT_EQ(TimelineDecoder::Decode(read).text, QStringLiteral("cq de ^ar"))
            << f.rate << " Hz, " << f.bits;
        ASSERT_EQ(read.marks.size(), sent.marks.size());
        for (std::size_t i = 0; i < sent.marks.size(); ++i)
            EXPECT_NEAR(read.marks[i].Length(), sent.marks[i].Length(), 5) << f.rate << " Hz, mark " << i;
    }
}

TEST(WavDecoding, RefusesWhatIsNoWav) {
    const QByteArray good = ToneWav(Sending(QStringLiteral("e"), {}), 8000, 1, 16, false, 700);
    QByteArray adpcm = good;
    adpcm[20] = 2;
    QByteArray noData = good.left(36);
    QByteArray badRate = good;
    badRate[24] = 10, badRate[25] = 0, badRate[26] = 0;
    const std::pair<QByteArray, const char*> cases[] = {
        {QByteArray(), "not a WAV file (no RIFF/WAVE header)"},
        {QByteArray("hello, this is text\n"), "not a WAV file (no RIFF/WAVE header)"},
        {good.left(12), "not a WAV file (no format chunk)"},
        {adpcm,
         "unsupported WAV format (format 2, 1 channels, 16 bits): integer PCM of 8 to 32 bits or float of 32 "
         "or 64 bits"},
        {badRate, "unsupported WAV rate 10 Hz (1000 to 384000)"},
        {noData, "not a WAV file (no data chunk)"},
        {good.left(45), "the WAV file holds no audio"},
    };
    for (const auto& [bytes, problem] : cases)
        EXPECT_EQ(WavReader::Parse(bytes).problem, QString::fromLatin1(problem)) << problem;
    // A file cut short in its samples keeps what it holds.
    EXPECT_EQ(WavReader::Parse(good.left(44 + 200)).samples.size(), 100u);
    // A float sample that is no number is silence, so that no sum or sort meets it.
    QByteArray nan = ToneWav(Sending(QStringLiteral("e"), {}), 8000, 1, 32, true, 700);
    nan.replace(44, 4, QByteArray("\x00\x00\xc0\x7f", 4));
    EXPECT_EQ(WavReader::Parse(nan).samples.at(0), 0.0f);
}

}  // namespace
}  // namespace lumbrel
