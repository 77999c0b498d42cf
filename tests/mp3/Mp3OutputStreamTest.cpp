// The MP3 output stream against a scripted encoder: arming and its failures, chunking,
// finishing, the ID3v1 tag, and write errors during a session.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <numeric>

#ifdef __linux__
#include <csignal>
#include <sys/resource.h>
#endif

#include "recording/Mp3OutputStream.h"
#include "tests/FileSizeLimit.h"
#include "tests/mp3/Mp3Support.h"

using namespace lumbrel;
using namespace lumbrel::test;

namespace {

QByteArray Padded(const char* text, int width) {
    QByteArray field(text);
    field.resize(width, '\0');
    return field;
}

// --- The tag ------------------------------------------------------------------------

TEST(Id3v1Tag, IsTheFixedLayoutWithTheFileNameAsTitle) {
    const QByteArray expected = QByteArrayLiteral("TAG") + Padded("take1", 30) + Padded("Ditdah", 30) +
                                Padded("Learning Morse", 30) + QByteArrayLiteral("2007") +
                                Padded("Using Zelph Koch Method", 30) + QByteArray(1, '\xFF');
    ASSERT_EQ(expected.size(), 128);
    EXPECT_EQ(TagBytes(BuildId3v1Tag(QStringLiteral("rec/take1.mp3"))), expected);
}

TEST(Id3v1Tag, TitleIsTheNameWithoutFolderAndMp3EndingCutAtThirtyBytes) {
    const auto title = [](const QString& path) {
        return TagBytes(BuildId3v1Tag(path)).mid(3, 30);
    };
    EXPECT_EQ(title(QStringLiteral("/a/b.mp3/x.wav.mp3")), Padded("x.wav", 30));
    EXPECT_EQ(title(QStringLiteral("TAKE2.MP3")), Padded("TAKE2", 30));
    EXPECT_EQ(title(QStringLiteral("/my.mp3s/take3")), Padded("take3", 30));  // no ending to drop

    // Exactly 30: no terminating zero, the artist follows at once.
    const QByteArray thirty = TagBytes(BuildId3v1Tag(QStringLiteral("abcdefghijklmnopqrstuvwxyz0123.mp3")));
    EXPECT_EQ(thirty.mid(3, 36), QByteArrayLiteral("abcdefghijklmnopqrstuvwxyz0123Ditdah"));
    // Longer: cut at 30, the fields after it untouched.
    const QByteArray longer =
        TagBytes(BuildId3v1Tag(QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789.mp3")));
    EXPECT_EQ(longer.mid(3, 36), QByteArrayLiteral("abcdefghijklmnopqrstuvwxyz0123Ditdah"));
    EXPECT_EQ(longer.mid(93, 4), QByteArrayLiteral("2007"));
    EXPECT_EQ(static_cast<std::uint8_t>(longer[127]), 255);

    // Latin-1; what it cannot hold becomes '?'.
    EXPECT_EQ(title(QString::fromUtf8("K\xC3\xB6"
                                      "ch\xE2\x82\xAC.mp3")),
              Padded("K\xF6"
                     "ch?",
                     30));
}

// --- Arming -------------------------------------------------------------------------

class Mp3Stream : public ::testing::Test {
protected:
    std::unique_ptr<Mp3OutputStream> ArmOk(int bitRateSetting = 1) {
        Mp3OutputStream::Arming a = Mp3OutputStream::Arm(encoder, path, bitRateSetting, messages);
        EXPECT_EQ(a.status, Mp3OutputStream::ArmStatus::Armed);
        EXPECT_TRUE(a.error.isEmpty());
        return std::move(a.stream);
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("take1.mp3"));
    std::shared_ptr<FakeEncoder> encoder = std::make_shared<FakeEncoder>();
    RecordedMessages messages;
};

TEST_F(Mp3Stream, ArmingOpensTheEncoderWithTheRecordingConfigurationAndKeepsAnOlderFileUntilTheFirstAudio) {
    WriteFile(path, QByteArrayLiteral("an older file of that name"));
    auto stream = ArmOk(4);
    ASSERT_TRUE(stream);
    ASSERT_EQ(encoder->configs.size(), 1u);
    EXPECT_EQ(encoder->configs[0].bitRateKbps, 80u);
    EXPECT_EQ(encoder->configs[0].mode, Mp3Mode::JointStereo);
    EXPECT_TRUE(encoder->configs[0].crc);
    EXPECT_EQ(stream->OutputAreaBytes(), encoder->outputBytes);
    EXPECT_TRUE(stream->IsRecording());
    EXPECT_EQ(ReadFile(path), QByteArrayLiteral("an older file of that name"));
    EXPECT_EQ(TagBytes(stream->Tag()), TagBytes(BuildId3v1Tag(path)));
    EXPECT_TRUE(messages.shown.empty());
    std::vector<std::int16_t> values(1000, 5);
    ASSERT_TRUE(stream->Encode(values.data(), 2000));
    EXPECT_EQ(ReadFile(path), encoder->producedBytes);  // replaced by the first audio
}

TEST_F(Mp3Stream, AnEncoderRefusingTheStreamOrGivingNoUsableChunkIsReportedOnceAndTouchesNoFile) {
    WriteFile(path, QByteArrayLiteral("keep me"));
    // Refused outright, no encoder at all (not a crash), and chunks of 0 or 1 value.
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        encoder = std::make_shared<FakeEncoder>();
        if (k == 0)
            encoder->initResult = Mp3Error::InvalidFormatParameters;
        if (k >= 2)
            encoder->chunkSamples = static_cast<std::uint32_t>(k - 2);
        messages.shown.clear();
        Mp3OutputStream::Arming a = Mp3OutputStream::Arm(k == 1 ? nullptr : encoder, path, 1, messages);
        EXPECT_EQ(a.status, Mp3OutputStream::ArmStatus::EncoderRefused);
        EXPECT_FALSE(a.stream);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, QStringLiteral("Error opening MP3 encoding stream"));
        EXPECT_EQ(messages.shown[0].caption, QStringLiteral("Cannot continue with MP3 Recording"));
        EXPECT_EQ(ReadFile(path), QByteArrayLiteral("keep me"));
        EXPECT_FALSE(encoder->open);
        EXPECT_FALSE(encoder->misuse);
    }
}

TEST_F(Mp3Stream, AFileThatCannotBeCreatedIsAClearResultAndReleasesTheEncoderStream) {
    const QString bad = dir.filePath(QStringLiteral("no such folder/take1.mp3"));
    Mp3OutputStream::Arming a = Mp3OutputStream::Arm(encoder, bad, 1, messages);
    EXPECT_EQ(a.status, Mp3OutputStream::ArmStatus::FileNotCreated);
    EXPECT_FALSE(a.stream);
    EXPECT_FALSE(a.error.isEmpty());
    EXPECT_TRUE(messages.shown.empty());  // the caller reports it, naming the file
    EXPECT_EQ(encoder->closeCalls, 1);
    EXPECT_FALSE(encoder->open);
    EXPECT_FALSE(QFile::exists(bad));
}

// --- Encoding -----------------------------------------------------------------------

TEST_F(Mp3Stream, ALongBufferIsEncodedInPiecesOfAtMostOneChunk) {
    auto stream = ArmOk();
    std::vector<std::int16_t> values(10000);
    std::iota(values.begin(), values.end(), std::int16_t{-5000});
    ASSERT_TRUE(stream->Encode(values.data(), 20000));
    EXPECT_EQ(encoder->pieces, (std::vector<std::uint32_t>{2304, 2304, 2304, 2304, 784}));
    EXPECT_EQ(encoder->received, values);               // every value once, in order
    EXPECT_EQ(ReadFile(path), encoder->producedBytes);  // every piece's output, in order
    EXPECT_EQ(stream->BytesWritten(), encoder->producedBytes.size());

    // Short buffers go through whole; the engine hands byte length / 2 values.
    ASSERT_TRUE(stream->Encode(values.data(), 7));
    EXPECT_EQ(encoder->pieces.back(), 3u);
    ASSERT_TRUE(stream->Encode(values.data(), 0));
    EXPECT_EQ(encoder->pieces.size(), 6u);
    EXPECT_FALSE(encoder->misuse);
}

TEST_F(Mp3Stream, AnOddChunkSizeStillSplitsBetweenFrames) {
    encoder->chunkSamples = 5;
    auto stream = ArmOk();
    EXPECT_EQ(stream->ChunkSamples(), 4u);
    std::vector<std::int16_t> values(10, 1);
    ASSERT_TRUE(stream->Encode(values.data(), 20));
    EXPECT_EQ(encoder->pieces, (std::vector<std::uint32_t>{4, 4, 2}));
}

TEST_F(Mp3Stream, AFailedPieceIsSkippedSilentlyAndEncodingGoesOn) {
    encoder->failingChunks = {1};
    auto stream = ArmOk();
    std::vector<std::int16_t> values(3 * 2304, 100);
    EXPECT_TRUE(stream->Encode(values.data(), 2 * 3 * 2304));
    EXPECT_EQ(encoder->pieces.size(), 3u);
    const QByteArray written = ReadFile(path);
    EXPECT_EQ(written, encoder->producedBytes);
    EXPECT_FALSE(written.contains('\x02'));  // the failed call's output
    EXPECT_TRUE(stream->IsRecording());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(stream->Finish().isEmpty());
}

// --- Finishing ----------------------------------------------------------------------

TEST_F(Mp3Stream, FinishingAppendsTheFlushedFramesThenTheTag) {
    auto stream = ArmOk();
    const std::vector<std::int16_t> tone = Tone(3000, 600);
    ASSERT_TRUE(stream->Encode(tone.data(), static_cast<std::uint32_t>(2 * tone.size())));
    EXPECT_TRUE(stream->Finish().isEmpty());
    EXPECT_EQ(encoder->deinitCalls, 1);
    EXPECT_EQ(encoder->closeCalls, 1);
    EXPECT_FALSE(encoder->open);
    EXPECT_FALSE(stream->IsRecording());
    const QByteArray file = ReadFile(path);
    EXPECT_EQ(file, encoder->producedBytes + QByteArrayLiteral("FLUSH") + TagBytes(BuildId3v1Tag(path)));
    EXPECT_EQ(file.right(128).left(3), QByteArrayLiteral("TAG"));
    EXPECT_EQ(static_cast<std::uint8_t>(file.back()), 255);

    // Once only: a second finish and later buffers touch neither encoder nor file.
    EXPECT_TRUE(stream->Finish().isEmpty());
    EXPECT_FALSE(stream->Encode(tone.data(), 400));
    EXPECT_EQ(encoder->deinitCalls, 1);
    EXPECT_EQ(encoder->closeCalls, 1);
    EXPECT_EQ(ReadFile(path), file);
    EXPECT_FALSE(encoder->misuse);
}

TEST_F(Mp3Stream, AFailedOrEmptyFlushWritesNothingButTheTag) {
    encoder->deinitResult = Mp3Error::BufferTooSmall;
    auto stream = ArmOk();
    EXPECT_TRUE(stream->Finish().isEmpty());
    EXPECT_EQ(ReadFile(path), TagBytes(BuildId3v1Tag(path)));
    EXPECT_EQ(encoder->closeCalls, 1);

    encoder = std::make_shared<FakeEncoder>();
    encoder->flushBytes.clear();
    stream = ArmOk();
    EXPECT_TRUE(stream->Finish().isEmpty());
    EXPECT_EQ(ReadFile(path).size(), 128);
}

TEST_F(Mp3Stream, ARecordingDestroyedUnfinishedKeepsItsFramesWithoutTagAndReleasesTheEncoder) {
    {
        auto stream = ArmOk();
        std::vector<std::int16_t> values(1000, 5);
        ASSERT_TRUE(stream->Encode(values.data(), 2000));
    }
    EXPECT_EQ(ReadFile(path), encoder->producedBytes);
    EXPECT_EQ(encoder->deinitCalls, 0);
    EXPECT_EQ(encoder->closeCalls, 1);

    // One that met no session leaves the file of that name as it was, and nothing beside it.
    const QByteArray before = ReadFile(path);
    encoder = std::make_shared<FakeEncoder>();
    ArmOk().reset();
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    EXPECT_EQ(encoder->closeCalls, 1);
}

// --- Write errors -------------------------------------------------------------------

#ifdef __linux__
TEST_F(Mp3Stream, AFullDiskStopsTheRecordingAndIsReportedOnceAfterTheSession) {
    path = QStringLiteral("/dev/full");
    auto stream = ArmOk();
    std::vector<std::int16_t> values(2304, 7);
    EXPECT_FALSE(stream->Encode(values.data(), 2 * 2304));
    EXPECT_FALSE(stream->IsRecording());
    EXPECT_FALSE(stream->Error().isEmpty());
    EXPECT_TRUE(messages.shown.empty());  // nothing during the session

    const std::size_t calls = encoder->pieces.size();
    EXPECT_FALSE(stream->Encode(values.data(), 2 * 2304));
    EXPECT_EQ(encoder->pieces.size(), calls);  // stopped: no more encoding

    const QString message = stream->Finish();
    EXPECT_TRUE(message.startsWith(QStringLiteral("cannot write /dev/full: "))) << message.toStdString();
    EXPECT_TRUE(message.endsWith(stream->Error()));
    EXPECT_EQ(encoder->deinitCalls, 0);  // its frames could not follow the lost ones
    EXPECT_EQ(encoder->closeCalls, 1);
    EXPECT_TRUE(stream->Finish().isEmpty());  // one message only
}

TEST_F(Mp3Stream, AWriteCutShortLeavesTheFramesWrittenInFullAndTheirTag) {
    encoder->produce = [](std::uint32_t) {
        return 200u;
    };  // 200 bytes per piece
    auto stream = ArmOk();
    std::vector<std::int16_t> values(2 * 2304, 3);  // two chunks
    QString message;
    {
        FileSizeLimit limit(900);
        ASSERT_TRUE(limit.Ok());
        ASSERT_TRUE(stream->Encode(values.data(), 2 * 2304));       // 200
        ASSERT_TRUE(stream->Encode(values.data(), 2 * 2 * 2304));   // 600
        EXPECT_FALSE(stream->Encode(values.data(), 2 * 2 * 2304));  // 1000: only 300 of 400 fit
        EXPECT_FALSE(stream->IsRecording());
        EXPECT_EQ(stream->BytesWritten(), 600);
        EXPECT_EQ(QFileInfo(path).size(), 600);  // the partial write is cut back
        message = stream->Finish();              // the tag still fits: 728 bytes
    }
    EXPECT_TRUE(message.startsWith(QStringLiteral("cannot write %1: ").arg(path))) << message.toStdString();
    EXPECT_EQ(ReadFile(path), encoder->producedBytes.left(600) + TagBytes(BuildId3v1Tag(path)));
    EXPECT_EQ(encoder->closeCalls, 1);
}

TEST_F(Mp3Stream, ATagThatDoesNotFitIsLeftOutRatherThanCut) {
    encoder->outputBytes = 512;
    encoder->produce = [](std::uint32_t) {
        return 300u;
    };
    auto stream = ArmOk();
    std::vector<std::int16_t> values(2304, 3);
    QString message;
    {
        FileSizeLimit limit(400);
        ASSERT_TRUE(limit.Ok());
        ASSERT_TRUE(stream->Encode(values.data(), 2 * 2304));  // 300
        message = stream->Finish();  // "FLUSH" makes 305; the 128-byte tag would pass 400
    }
    EXPECT_FALSE(message.isEmpty());
    ASSERT_EQ(encoder->producedBytes.size(), 300);
    EXPECT_EQ(ReadFile(path), encoder->producedBytes + QByteArrayLiteral("FLUSH"));
}
#endif

}  // namespace
