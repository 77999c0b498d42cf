// The session recorder on real files: what an armed recording becomes when it is
// released or finished, byte for byte, and failures told once, at the end.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "recording/SessionRecorder.h"
#include "tests/TestSupport.h"

namespace lumbrel {
namespace {

// A WAV file of `data` as the format says: a 46-byte header (an 18-byte format chunk),
// then the samples.
QByteArray Wav(const QByteArray& data) {
    auto le = [](QByteArray& out, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.append(static_cast<char>((v >> (8 * i)) & 0xff));
    };
    QByteArray out("RIFF");
    le(out, static_cast<std::uint32_t>(data.size()) + 38, 4);
    out += "WAVEfmt ";
    le(out, 18, 4);
    for (const auto& [v, n] :
         {std::pair{1u, 2}, {2u, 2}, {44100u, 4}, {176400u, 4}, {4u, 2}, {16u, 2}, {0u, 2}})
        le(out, v, n);
    out += "data";
    le(out, static_cast<std::uint32_t>(data.size()), 4);
    return out + data;
}

class SessionRecorderTest : public ::testing::Test {
protected:
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    QStringList told;
    SessionRecorder recorder{[this](const QString& text, const QString& caption) {
        told << caption + QStringLiteral(": ") + text;
    }};
    const QByteArray audio = QByteArray("\x01\x00\x02\x00\x03\x00\x04\x00", 8);
    const QStringList lines{"EEE TTT", "AR"};
};

TEST_F(SessionRecorderTest, AnArmedRecordingIsFinishedOrDroppedByWhatItHolds) {
    const struct {
        const char* name;
        bool withAudio;
        bool finish;  // false: released for another recording
        bool kept;    // the recording took the old one's place
        bool transcript;
    } cases[] = {
        {"released-empty", false, false, false, false},
        {"released-with-audio", true, false, true, true},
        {"finished", true, true, true, true},
        {"finished-empty", false, true, false, true},  // no audio: the old file stays
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString wav = Path(c.name) + QStringLiteral(".wav");
        const QString transcript = Path(c.name) + QStringLiteral(".txt");
        test::WriteAll(wav, "an older recording");
        recorder.ArmWav(std::make_unique<WavFile>(wav));
        recorder.SetTranscriptFile(transcript);
        EXPECT_TRUE(recorder.Armed());
        EXPECT_TRUE(recorder.Recording());
        if (c.withAudio)
            recorder.Append(audio.constData(), static_cast<std::uint32_t>(audio.size()));
        if (c.finish)
            recorder.Finish(lines);
        else
            recorder.Release(lines);
        EXPECT_FALSE(recorder.Armed());
        EXPECT_EQ(test::ReadAll(wav),
                  c.kept ? Wav(c.withAudio ? audio : QByteArray()) : "an older recording");
        EXPECT_EQ(QFile::exists(transcript), c.transcript);
        if (c.transcript) {
            EXPECT_EQ(test::ReadAll(transcript), "EEE TTT\nAR\n");
        }
        EXPECT_TRUE(told.isEmpty()) << told.join('\n').toStdString();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 7);  // nothing left beside them
}

TEST_F(SessionRecorderTest, FailuresAreToldOnceAtTheEnd) {
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full here";
    recorder.ArmWav(std::make_unique<WavFile>(QStringLiteral("/dev/full")));
    recorder.SetTranscriptFile(Path("missing/folder.txt"));
    recorder.Append(audio.constData(), static_cast<std::uint32_t>(audio.size()));
    EXPECT_FALSE(recorder.Recording());  // the full disk stopped it
    recorder.Append(audio.constData(), static_cast<std::uint32_t>(audio.size()));
    EXPECT_TRUE(told.isEmpty());
    recorder.Finish(lines);
    ASSERT_EQ(told.size(), 1);  // the first failure only
    EXPECT_TRUE(
        told[0].startsWith(QStringLiteral("Record Audio File: The recording /dev/full was stopped: ")))
        << told[0].toStdString();
    recorder.Finish(lines);
    EXPECT_EQ(told.size(), 1);

    recorder.SetTranscriptFile(Path("missing/folder.txt"));
    recorder.Finish(lines);
    ASSERT_EQ(told.size(), 2);
    EXPECT_TRUE(told[1].startsWith(QStringLiteral("Record Audio File: The transcript ") +
                                   QDir::toNativeSeparators(Path("missing/folder.txt")) +
                                   QStringLiteral(" could not be written: ")))
        << told[1].toStdString();
}

}  // namespace
}  // namespace lumbrel
