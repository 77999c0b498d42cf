#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "recording/WavFile.h"
#include "tests/TestSupport.h"

using namespace lumbrel;

namespace {

std::uint32_t Le32(const QByteArray& b, int at) {
    return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8 |
           static_cast<std::uint8_t>(b[at + 2]) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24;
}

const QByteArray kFreshHeader = QByteArray::fromHex(
    "52 49 46 46 00 00 00 00 57 41 56 45 66 6d 74 20 12 00 00 00 01 00 02 00 44 ac 00 00 "
    "10 b1 02 00 04 00 10 00 00 00 64 61 74 61 00 00 00 00");

TEST(WavFile, FreshFileIsTheExactHeaderWithBothSizesZero) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("take.wav"));
    {
        WavFile wav(path);
        EXPECT_TRUE(wav.IsOpen());
        EXPECT_EQ(test::ReadAll(path), kFreshHeader);  // on disk from construction on
    }
    const QByteArray bytes = test::ReadAll(path);
    ASSERT_EQ(bytes.size(), 46);
    EXPECT_EQ(bytes, kFreshHeader);
}

TEST(WavFile, HeaderIsRewrittenAfterEveryAppend) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("take.wav"));
    WavFile wav(path);
    QByteArray first(1000, '\x11');
    QByteArray second(500, '\x22');
    ASSERT_TRUE(wav.Append(first.constData(), 1000));
    QByteArray bytes = test::ReadAll(path);  // valid while the writer is still open
    EXPECT_EQ(bytes.size(), 1046);
    EXPECT_EQ(Le32(bytes, 4), 1038u);
    EXPECT_EQ(Le32(bytes, 42), 1000u);

    ASSERT_TRUE(wav.Append(second.constData(), 500));
    bytes = test::ReadAll(path);
    ASSERT_EQ(bytes.size(), 1546);
    EXPECT_EQ(Le32(bytes, 4), 1538u);
    EXPECT_EQ(Le32(bytes, 42), 1500u);
    EXPECT_EQ(bytes.mid(46, 1000), first);
    EXPECT_EQ(bytes.mid(1046, 500), second);
    // Everything but the two sizes is the fixed header.
    QByteArray fixed = bytes.left(46);
    fixed.replace(4, 4, QByteArray(4, '\0'));
    fixed.replace(42, 4, QByteArray(4, '\0'));
    EXPECT_EQ(fixed, kFreshHeader);
}

// An existing file stays until the first audio (a recording) or the commit (a render);
// a writer that never gets there leaves it as it was and nothing beside it.
TEST(WavFile, ReplacesAnExistingFileOnlyAtItsFirstAudioOrCommit) {
    const QByteArray old(5000, 'x');
    const char audio[4] = {1, 2, 3, 4};
    for (const ReplaceWhen when : {ReplaceWhen::FirstAudio, ReplaceWhen::Commit}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("take.wav"));
        test::WriteAll(path, old);
        {
            WavFile wav(path, when);
            EXPECT_TRUE(wav.Append(nullptr, 0));
            EXPECT_EQ(test::ReadAll(path), old);
        }
        EXPECT_EQ(test::ReadAll(path), old);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
        {
            WavFile wav(path, when);
            EXPECT_TRUE(wav.Append(audio, 4));
            EXPECT_EQ(test::ReadAll(path) == old, when == ReplaceWhen::Commit);
            EXPECT_TRUE(wav.Commit());
            EXPECT_EQ(test::ReadAll(path).size(), 50);
        }
        EXPECT_EQ(test::ReadAll(path).mid(46), QByteArray(audio, 4));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
}

TEST(WavFile, FileThatCannotBeCreatedIgnoresAppends) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("no such folder/take.wav"));
    WavFile wav(path);
    EXPECT_FALSE(wav.IsOpen());
    EXPECT_FALSE(wav.Error().isEmpty());
    const char data[4] = {1, 2, 3, 4};
    EXPECT_FALSE(wav.Append(data, 4));
    EXPECT_EQ(wav.DataBytes(), 0u);
    EXPECT_FALSE(QFile::exists(path));
}

TEST(WavFile, EmptyAppendKeepsTheFileValid) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("take.wav"));
    WavFile wav(path);
    EXPECT_TRUE(wav.Append(nullptr, 0));
    const QByteArray bytes = test::ReadAll(path);
    EXPECT_EQ(Le32(bytes, 4), 38u);  // sizes follow the append, even of nothing
    EXPECT_EQ(Le32(bytes, 42), 0u);
}

}  // namespace
