// The binding on the real LAME library (libmp3lame0): a second of tone must come out as
// a stream of valid layer III frames with the configured header bits, followed by the
// tag; a compact file must decode, through LAME's own decoder, to the marks and gaps
// it was given. Skipped only where the library itself is not installed.
#include <QLibrary>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <utility>

#include "recording/LameEncoder.h"
#include "recording/Mp3OutputStream.h"
#include "tests/mp3/Mp3Support.h"

using namespace lumbrel;
using namespace lumbrel::test;

namespace {

bool LameInstalled() {
    QLibrary probe(QStringLiteral("mp3lame"), 0);
    return probe.load();
}

TEST(LameLibrary, AMissingLibraryMeansNoMp3WithoutACrash) {
    QString why;
    EXPECT_EQ(LoadLameEncoder(QStringLiteral("lumbrel-no-such-encoder"), 0, &why), nullptr);
    EXPECT_FALSE(why.isEmpty());
    EXPECT_EQ(LoadLameEncoder(QStringLiteral("lumbrel-no-such-encoder")), nullptr);  // no reason wanted
}

#ifdef __linux__
TEST(LameLibrary, ALibraryWithoutTheEncoderEntryPointsIsNotUsed) {
    QString why;
    EXPECT_EQ(LoadLameEncoder(QStringLiteral("m"), 6, &why), nullptr);  // the C maths library
    EXPECT_TRUE(why.contains(QStringLiteral("lame_init"))) << why.toStdString();
}
#endif

class RealLame : public ::testing::TestWithParam<int> {};

TEST_P(RealLame, ASecondOfToneBecomesValidLayerThreeFramesThenTheTag) {
    if (!LameInstalled())
        GTEST_SKIP() << "libmp3lame0 is not installed";
    QString why;
    std::shared_ptr<Mp3Encoder> encoder = LoadLameEncoder(QStringLiteral("mp3lame"), 0, &why);
    ASSERT_TRUE(encoder) << why.toStdString();

    const int setting = GetParam();
    const int kbps = Mp3BitRateKbps(setting);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tone.mp3"));
    RecordedMessages messages;
    Mp3OutputStream::Arming armed = Mp3OutputStream::Arm(encoder, path, setting, messages);
    ASSERT_EQ(armed.status, Mp3OutputStream::ArmStatus::Armed) << armed.error.toStdString();
    Mp3OutputStream& stream = *armed.stream;
    EXPECT_EQ(stream.ChunkSamples(), 2304u);

    // Half a second in one buffer (many chunks), the rest in buffers of 1000 frames.
    const std::vector<std::int16_t> tone = Tone(44100, 700);
    const std::uint32_t half = 2 * 22050;
    ASSERT_TRUE(stream.Encode(tone.data(), 2 * half));
    for (std::uint32_t at = half; at < tone.size(); at += 2000) {
        const std::uint32_t values =
            std::min<std::uint32_t>(2000, static_cast<std::uint32_t>(tone.size()) - at);
        ASSERT_TRUE(stream.Encode(tone.data() + at, 2 * values));
    }
    EXPECT_TRUE(stream.Finish().isEmpty());
    EXPECT_TRUE(messages.shown.empty());

    const QByteArray file = ReadFile(path);
    ASSERT_GT(file.size(), 128 + 4);
    EXPECT_EQ(file.right(128), TagBytes(BuildId3v1Tag(path)));

    // Frames back to back from the first byte to the tag.
    const int audioEnd = static_cast<int>(file.size()) - 128;
    int at = 0;
    int frames = 0;
    double seconds = 0;
    while (at < audioEnd) {
        MpegFrame f;
        ASSERT_TRUE(ReadMpegFrame(file, at, &f))
            << "no layer III frame at " << at << " (layer " << f.layer << ")";
        EXPECT_EQ(f.bitRateKbps, kbps) << "frame " << frames;
        EXPECT_TRUE(f.crc);
        EXPECT_TRUE(f.crcMatches) << "frame " << frames;
        EXPECT_TRUE(f.privateBit);
        EXPECT_TRUE(f.copyright);
        EXPECT_TRUE(f.original);
        EXPECT_EQ(f.mode, 1);  // joint stereo
        EXPECT_EQ(f.emphasis, 0);
        if (frames == 0) {
            // An ordinary audio frame, not a VBR (Xing/Info) header frame.
            const QByteArray first = file.mid(at, f.length);
            EXPECT_FALSE(first.contains("Xing"));
            EXPECT_FALSE(first.contains("Info"));
        }
        if (::testing::Test::HasFailure())
            break;
        seconds += static_cast<double>(f.samplesPerFrame) / f.sampleRate;
        at += f.length;
        ++frames;
    }
    EXPECT_EQ(at, audioEnd) << "the last frame runs into the tag";
    // The second of audio, plus the encoder's delay and padding of at most a few frames.
    EXPECT_GE(seconds, 1.0);
    EXPECT_LE(seconds, 1.2);
}

TEST_P(RealLame, ACompactFileIsMonoFramesThatDecodeToTheSameMarksAndGaps) {
    QLibrary lame(QStringLiteral("mp3lame"), 0);
    const auto init = reinterpret_cast<void* (*)()>(lame.resolve("hip_decode_init"));
    using Decode = int (*)(void*, unsigned char*, std::size_t, short*, short*);
    const auto decode = reinterpret_cast<Decode>(lame.resolve("hip_decode1"));
    const auto exit = reinterpret_cast<int (*)(void*)>(lame.resolve("hip_decode_exit"));
    if (!init || !decode || !exit)
        GTEST_SKIP() << "libmp3lame0 with its decoder is not installed";
    const int setting = GetParam();
    const int factor = Mp3BitRateKbps(setting) <= 64 ? 4 : 2;  // 11025 Hz up to LAME's most there
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("paris.mp3"));
    RecordedMessages messages;
    auto armed = Mp3OutputStream::Arm(LoadLameEncoder(), path, CompactMp3Config(setting, 750), messages);
    ASSERT_TRUE(armed.stream);
    // "paris" at 25 WPM (units of 2116 frames) between half seconds of silence: each
    // mark as (first unit, units); gaps of one unit inside a letter, three between.
    const std::vector<std::pair<int, int>> marks = {{0, 1},  {2, 3},  {6, 3},  {10, 1}, {14, 1},
                                                    {16, 3}, {22, 1}, {24, 3}, {28, 1}, {32, 1},
                                                    {34, 1}, {38, 1}, {40, 1}, {42, 1}};
    std::vector<std::int16_t> audio(2 * (44100 + 50 * 2116));
    for (const auto& [unit, units] : marks) {
        const std::vector<std::int16_t> tone = Tone(units * 2116, 750);
        std::copy(tone.begin(), tone.end(), audio.begin() + 2 * (22050 + unit * 2116));
    }
    for (std::size_t at = 0; at < audio.size(); at += 8820)  // buffers of 0.1 s
        armed.stream->Encode(audio.data() + at,
                             static_cast<std::uint32_t>(2 * std::min<std::size_t>(8820, audio.size() - at)));
    EXPECT_TRUE(armed.stream->Finish().isEmpty());

    QByteArray file = ReadFile(path);
    EXPECT_EQ(file.right(128), TagBytes(BuildId3v1Tag(path)));
    void* decoder = init();
    std::vector<short> heard;
    short left[1152], right[1152];
    int at = 0;
    for (MpegFrame f; at < file.size() - 128 && ReadMpegFrame(file, at, &f); at += f.length) {
        EXPECT_TRUE(f.bitRateKbps == Mp3BitRateKbps(setting) && f.sampleRate == 44100 / factor &&
                    f.mode == 3 && f.crcMatches)
            << "frame at " << at;
        const int n = decode(decoder, reinterpret_cast<unsigned char*>(file.data()) + at,
                             static_cast<std::size_t>(f.length), left, right);
        heard.insert(heard.end(), left, left + std::max(n, 0));
    }
    EXPECT_EQ(at, file.size() - 128);  // frames back to back up to the tag
    for (int n; (n = decode(decoder, nullptr, 0, left, right)) > 0;)
        heard.insert(heard.end(), left, left + n);
    exit(decoder);

    // Edges where the level crosses half the tone's, in frames at 44100 Hz, all one fixed
    // delay (LAME's 576 values and its decoder's 529) after the edges sent.
    std::vector<int> edges;
    const int period = 44100 / 750 / factor + 1;
    for (int i = 0, quiet = period; i < static_cast<int>(heard.size()); ++i) {
        const int was = quiet;
        quiet = std::abs(heard[static_cast<std::size_t>(i)]) > 8000 ? 0 : quiet + 1;
        if ((quiet == 0 && was >= period) || quiet == period)
            edges.push_back(factor * (quiet == 0 ? i : i - period));
    }
    ASSERT_EQ(edges.size(), 2 * marks.size());
    const int delay = edges[0] - 22050;
    EXPECT_TRUE(delay >= 0 && delay <= factor * 2 * 576) << delay;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const auto& [unit, units] = marks[i];
        EXPECT_NEAR(edges[2 * i] - delay, 22050 + unit * 2116, 44) << "mark " << i;  // 1 ms
        EXPECT_NEAR(edges[2 * i + 1] - delay, 22050 + (unit + units) * 2116, 44) << "mark " << i;
    }
    // All of it, then no more than the encoder's padding of its last frame.
    const int length = factor * static_cast<int>(heard.size()) - delay;
    EXPECT_GE(length, static_cast<int>(audio.size() / 2));
    EXPECT_LT(length, static_cast<int>(audio.size() / 2) + factor * 2 * 576);
}

// Every offered rate, the default for a stored -1, and a value past the last item.
INSTANTIATE_TEST_SUITE_P(EveryBitRateSetting, RealLame, ::testing::Values(-1, 0, 1, 2, 3, 4, 5, 6, 7, 12));

TEST(RealLameBinding, ChunksLongerThanTheOutputAreaAllowsAreRefused) {
    if (!LameInstalled())
        GTEST_SKIP() << "libmp3lame0 is not installed";
    std::unique_ptr<LameEncoder> encoder = LoadLameEncoder();
    ASSERT_TRUE(encoder);
    std::uint32_t chunk = 0;
    std::uint32_t outBytes = 0;
    Mp3StreamHandle handle = 0;
    ASSERT_EQ(encoder->InitStream(RecordingMp3Config(7), &chunk, &outBytes, &handle), Mp3Error::Ok);
    std::vector<std::uint8_t> out(outBytes);
    const std::vector<std::int16_t> tone = Tone(2000, 500);
    std::uint32_t produced = 0;
    EXPECT_EQ(encoder->EncodeChunk(handle, chunk + 2, tone.data(), out.data(), &produced),
              Mp3Error::BufferTooSmall);
    EXPECT_EQ(encoder->EncodeChunk(handle, chunk, tone.data(), out.data(), &produced), Mp3Error::Ok);
    EXPECT_EQ(encoder->DeinitStream(handle, out.data(), &produced), Mp3Error::Ok);
    EXPECT_GT(produced, 0u);  // the frames still held
    EXPECT_EQ(encoder->CloseStream(handle), Mp3Error::Ok);
    EXPECT_EQ(encoder->CloseStream(handle), Mp3Error::InvalidHandle);
}

}  // namespace
