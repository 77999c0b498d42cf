// The binding on the real LAME library (libmp3lame0): a second of tone must come out as
// a stream of valid layer III frames with the configured header bits, followed by the
// tag. Skipped only where the library itself is not installed.
#include <QLibrary>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

#include "recording/LameEncoder.h"
#include "recording/Mp3OutputStream.h"
#include "tests/mp3/Mp3Support.h"

using namespace lumbrel;
using namespace lumbrel::test;

namespace {

bool LameInstalled()
{
    QLibrary probe(QStringLiteral("mp3lame"), 0);
    return probe.load();
}

TEST(LameLibrary, AMissingLibraryMeansNoMp3WithoutACrash)
{
    QString why;
    EXPECT_EQ(LoadLameEncoder(QStringLiteral("lumbrel-no-such-encoder"), 0, &why), nullptr);
    EXPECT_FALSE(why.isEmpty());
    EXPECT_EQ(LoadLameEncoder(QStringLiteral("lumbrel-no-such-encoder")), nullptr);  // no reason wanted
}

#ifdef __linux__
TEST(LameLibrary, ALibraryWithoutTheEncoderEntryPointsIsNotUsed)
{
    QString why;
    EXPECT_EQ(LoadLameEncoder(QStringLiteral("m"), 6, &why), nullptr);  // the C maths library
    EXPECT_TRUE(why.contains(QStringLiteral("lame_init"))) << why.toStdString();
}
#endif

class RealLame : public ::testing::TestWithParam<int> {};

TEST_P(RealLame, ASecondOfToneBecomesValidLayerThreeFramesThenTheTag)
{
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
        const std::uint32_t values = std::min<std::uint32_t>(2000, static_cast<std::uint32_t>(tone.size()) - at);
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
        ASSERT_TRUE(ReadMpegFrame(file, at, &f)) << "no layer III frame at " << at << " (layer " << f.layer << ")";
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

// Every offered rate, the default for a stored -1, and a value past the last item.
INSTANTIATE_TEST_SUITE_P(EveryBitRateSetting, RealLame, ::testing::Values(-1, 0, 1, 2, 3, 4, 5, 6, 7, 12));

TEST(RealLameBinding, ChunksLongerThanTheOutputAreaAllowsAreRefused)
{
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
    EXPECT_EQ(encoder->EncodeChunk(handle, chunk + 2, tone.data(), out.data(), &produced), Mp3Error::BufferTooSmall);
    EXPECT_EQ(encoder->EncodeChunk(handle, chunk, tone.data(), out.data(), &produced), Mp3Error::Ok);
    EXPECT_EQ(encoder->DeinitStream(handle, out.data(), &produced), Mp3Error::Ok);
    EXPECT_GT(produced, 0u);  // the frames still held
    EXPECT_EQ(encoder->CloseStream(handle), Mp3Error::Ok);
    EXPECT_EQ(encoder->CloseStream(handle), Mp3Error::InvalidHandle);
}

}  // namespace
