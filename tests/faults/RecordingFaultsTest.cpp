// Recordings that cannot be written, through the trainer on virtual time: a WAV file
// whose disk fills, whose folder turns read-only or is deleted mid-session; an MP3 file
// and a transcript on a full device. The session always goes on (two buffers in
// flight), the learner is told once, after the session, and a WAV file left behind is a
// valid file whose header matches the data in it: the audio that was heard, from its
// start.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <optional>

#include "recording/Mp3OutputStream.h"
#include "recording/Transcript.h"
#include "recording/WavFile.h"
#include "session/VirtualSession.h"
#include "tests/TestSupport.h"
#include "tests/faults/FaultSupport.h"
#include "tests/mp3/Mp3Support.h"
#include "tests/scoring/QtPrinters.h"

using namespace lumbrel;
using lumbrel::test::FileSizeLimit;
using lumbrel::test::WithoutRoot;

namespace {

const QString kFull = QStringLiteral("/dev/full");

bool IsCharacterDevice(const QString& path) {
    struct stat status {};
    return ::stat(path.toLocal8Bit().constData(), &status) == 0 && S_ISCHR(status.st_mode);
}

// The samples of a WAV file whose 46-byte header says exactly what the file holds;
// nothing when the header and the file disagree.
std::optional<QByteArray> ValidWavData(const QString& path) {
    const QByteArray bytes = test::ReadAll(path);
    if (bytes.size() < WavFile::kHeaderBytes)
        return std::nullopt;
    const auto dataBytes = static_cast<std::uint32_t>(bytes.size() - WavFile::kHeaderBytes);
    const WavFile::HeaderBytes expected = WavFile::MakeHeader(dataBytes + 38, dataBytes);
    if (bytes.left(WavFile::kHeaderBytes) !=
        QByteArray(reinterpret_cast<const char*>(expected.data()), WavFile::kHeaderBytes))
        return std::nullopt;
    return bytes.mid(WavFile::kHeaderBytes);
}

struct RecordingFaults : ::testing::Test {
    QTemporaryDir dir;
    SettingsStore store = SettingsStore::InMemory();
    std::unique_ptr<VirtualSession> s;

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        store.Write(keys::Pause, 0);
        s = std::make_unique<VirtualSession>(store, 2);
        s->CreateAndShow();  // the device keeps what is heard
    }
    Trainer& t() { return s->trainer(); }
    // Everything the device has played so far.
    QByteArray Heard() const {
        const std::vector<std::uint8_t> bytes = s->device().PlayedBytes();
        return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    }

    // Runs a session for `ms` with `during` called halfway, stops it and lets it end.
    void RunSession(std::int64_t ms, const std::function<void()>& during = {}) {
        const std::size_t messages = s->Messages().size();
        t().Start();
        ASSERT_TRUE(t().SessionActive());
        s->RunFor(ms / 2);
        if (during)
            during();
        s->RunFor(ms / 2);
        EXPECT_EQ(s->device().QueuedCount(), 2u) << "the session goes on";
        EXPECT_EQ(s->Messages().size(), messages) << "nothing while the session runs";
        t().Stop();
        ASSERT_TRUE(s->RunUntilIdle(30'000));
    }
    // A plain session afterwards: it plays and tells nothing.
    void ExpectNextSessionPlays() {
        const std::size_t messages = s->Messages().size();
        const int writes = s->device().CallCount(VirtualAudioDevice::Call::Write);
        RunSession(3000);
        EXPECT_GT(s->device().CallCount(VirtualAudioDevice::Call::Write), writes + 4);
        EXPECT_EQ(s->Messages().size(), messages);
    }
};

TEST_F(RecordingFaults, AWavFileWhoseDiskFillsKeepsAValidFileOfWhatWasHeardFirst) {
    const QString path = dir.filePath(QStringLiteral("take.wav"));
    t().ArmWavRecording(std::make_unique<WavFile>(path));
    {
        FileSizeLimit limit(400'000);  // about two seconds of audio
        ASSERT_TRUE(limit.Ok());
        RunSession(6000);
    }
    ASSERT_EQ(s->Messages().size(), 1u);
    EXPECT_EQ(s->Messages()[0].caption, QStringLiteral("Record Audio File"));
    // The system's reason: "File too large" for this limit, "No space left on device"
    // for a full disk.
    EXPECT_EQ(s->Messages()[0].text,
              QStringLiteral("The recording %1 was stopped: %2")
                  .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(EFBIG))));

    const std::optional<QByteArray> data = ValidWavData(path);
    ASSERT_TRUE(data) << "the header does not match the file";
    EXPECT_GT(data->size(), 100'000);
    EXPECT_LE(data->size() + WavFile::kHeaderBytes, 400'000);
    EXPECT_EQ(data->size() % 4, 0);
    EXPECT_EQ(*data, Heard().left(data->size())) << "whole buffers, from the start";
    ExpectNextSessionPlays();
}

// A recording armed over an old one, WAV or MP3: the old file and its transcript stay as
// they were while nothing is recorded (also when the recording is given up), and the
// new ones take their place from the first audio on, with nothing left beside them.
TEST_F(RecordingFaults, ArmingOverAnOldRecordingKeepsItAndItsTranscriptUntilTheFirstAudio) {
    const QByteArray old(1'800'000, 'x');
    for (const bool mp3 : {false, true}) {
        SCOPED_TRACE(mp3 ? "mp3" : "wav");
        const QString audio = dir.filePath(mp3 ? QStringLiteral("take.mp3") : QStringLiteral("take.wav"));
        const QString transcript = dir.filePath(QStringLiteral("take.txt"));
        const auto arm = [&] {
            if (mp3) {
                test::RecordedMessages reporter;
                Mp3OutputStream::Arming arming =
                    Mp3OutputStream::Arm(std::make_shared<test::FakeEncoder>(), audio, 1, reporter);
                ASSERT_EQ(arming.status, Mp3OutputStream::ArmStatus::Armed);
                t().ArmMp3Recording(std::move(arming.stream));
            } else {
                t().ArmWavRecording(std::make_unique<WavFile>(audio));
            }
            t().SetTranscriptFileName(transcript);
        };
        test::WriteAll(audio, old);
        test::WriteAll(transcript, "old copy\n");
        arm();
        EXPECT_EQ(test::ReadAll(audio), old) << "armed";
        t().ReleaseRecording();
        EXPECT_EQ(test::ReadAll(audio), old) << "given up";
        EXPECT_EQ(test::ReadAll(transcript), "old copy\n");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);

        arm();
        s->device().TakePlayedBytes();
        RunSession(3000, [&] { EXPECT_NE(test::ReadAll(audio), old) << "replaced at the first audio"; });
        if (!mp3) {
            EXPECT_EQ(ValidWavData(audio), Heard());
        }
        EXPECT_NE(test::ReadAll(transcript), "old copy\n");
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
        QFile::remove(audio);
        QFile::remove(transcript);
    }
}

TEST_F(RecordingFaults, AFolderTurnedReadOnlyKeepsTheOpenRecordingAndLosesOnlyTheTranscript) {
    WithoutRoot user(dir.path());
    if (!user.Ok())
        GTEST_SKIP() << "cannot act as an unprivileged user here";
    const QString wav = dir.filePath(QStringLiteral("take.wav"));
    const QString transcript = dir.filePath(QStringLiteral("take.txt"));
    t().ArmWavRecording(std::make_unique<WavFile>(wav));
    t().SetTranscriptFileName(transcript);
    RunSession(4000,
               [&] { ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner)); });
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    ASSERT_EQ(s->Messages().size(), 1u);
    EXPECT_EQ(s->Messages()[0].caption, QStringLiteral("Record Audio File"));
    EXPECT_TRUE(s->Messages()[0].text.startsWith(
        QStringLiteral("The transcript %1 could not be written: ").arg(QDir::toNativeSeparators(transcript))))
        << s->Messages()[0].text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(transcript));
    // The recording's file was open before: it holds the whole session.
    const std::optional<QByteArray> data = ValidWavData(wav);
    ASSERT_TRUE(data);
    EXPECT_EQ(*data, Heard());
    ExpectNextSessionPlays();
}

TEST_F(RecordingFaults, AFolderDeletedMidSessionStopsTheRecordingWithOneMessage) {
    const QString folder = dir.filePath(QStringLiteral("recordings"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString wav = folder + QStringLiteral("/take.wav");
    t().ArmWavRecording(std::make_unique<WavFile>(wav));
    t().SetTranscriptFileName(folder + QStringLiteral("/take.txt"));
    RunSession(4000, [&] {
        ASSERT_TRUE(QDir(folder).removeRecursively());
        // Written on, the deleted file would only fill the disk, with nobody told.
        s->RunFor(500);
        EXPECT_FALSE(t().Recorder().Recording());
    });
    ASSERT_EQ(s->Messages().size(), 1u);  // the transcript's failure is not told twice
    EXPECT_EQ(s->Messages()[0].text,
              QStringLiteral("The recording %1 was stopped: The file or its folder was deleted.")
                  .arg(QDir::toNativeSeparators(wav)));
    EXPECT_FALSE(QFileInfo::exists(folder));

    // A new recording in a folder that exists works again.
    const QString next = dir.filePath(QStringLiteral("next.wav"));
    t().ArmWavRecording(std::make_unique<WavFile>(next));
    s->device().TakePlayedBytes();
    ExpectNextSessionPlays();
    const std::optional<QByteArray> data = ValidWavData(next);
    ASSERT_TRUE(data);
    EXPECT_GT(data->size(), 100'000);
    EXPECT_TRUE(Heard().endsWith(*data));  // after the silence between the sessions
}

TEST_F(RecordingFaults, AnMp3RecordingOnAFullDeviceStopsAndIsToldOnceAfterTheSession) {
    if (!IsCharacterDevice(kFull))
        GTEST_SKIP() << "no /dev/full here";
    auto encoder = std::make_shared<test::FakeEncoder>();
    test::RecordedMessages reporter;
    Mp3OutputStream::Arming arming = Mp3OutputStream::Arm(encoder, kFull, 1, reporter);
    ASSERT_EQ(arming.status, Mp3OutputStream::ArmStatus::Armed);
    t().ArmMp3Recording(std::move(arming.stream));
    std::size_t piecesAtFailure = 0;
    RunSession(4000, [&] {
        EXPECT_FALSE(t().Recorder().Recording());  // stopped at the first write
        piecesAtFailure = encoder->pieces.size();
    });
    EXPECT_EQ(encoder->pieces.size(), piecesAtFailure) << "nothing is encoded once the recording stopped";
    ASSERT_EQ(s->Messages().size(), 1u);
    EXPECT_EQ(s->Messages()[0].caption, QStringLiteral("Record Audio File"));
    EXPECT_TRUE(s->Messages()[0].text.startsWith(QStringLiteral("cannot write /dev/full: ")))
        << s->Messages()[0].text.toStdString();
    EXPECT_FALSE(t().Recorder().Armed());
    EXPECT_EQ(encoder->closeCalls, 1);
    EXPECT_FALSE(encoder->misuse);
    EXPECT_TRUE(reporter.shown.empty());
    ExpectNextSessionPlays();
}

// The transcript is saved by writing a complete copy beside it and renaming that over
// the name; a name that is a device or a pipe must be written as it is, or the rename
// puts a plain file where the device was. A pipe shows it without touching a device.
TEST(TranscriptOnADevice, IsWrittenInPlaceAndAFullDeviceIsToldOnce) {
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    const int reader = ::open(pipe.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(SaveTextLines(pipe, {QStringLiteral("cq de test"), QStringLiteral("k")}), QString());
    char received[64] = {};
    const ssize_t n = ::read(reader, received, sizeof received);
    ::close(reader);
    struct stat status {};
    ASSERT_EQ(::stat(pipe.toLocal8Bit().constData(), &status), 0);
    // Stop here when the pipe was replaced: the same would replace /dev/full below.
    ASSERT_TRUE(S_ISFIFO(status.st_mode)) << "the pipe was replaced by a plain file";
    EXPECT_EQ(QByteArray(received, n > 0 ? static_cast<int>(n) : 0), QByteArrayLiteral("cq de test\nk\n"));
    // No reader: refused at once rather than waiting for one.
    EXPECT_FALSE(SaveTextLines(pipe, {QStringLiteral("x")}).isEmpty());

    if (!IsCharacterDevice(kFull))
        GTEST_SKIP() << "no /dev/full here";
    SettingsStore store = SettingsStore::InMemory();
    store.Write(keys::Pause, 0);
    VirtualSession s(store, 5);
    s.device().KeepPlayedBytes(false);
    s.CreateAndShow();
    s.trainer().SetTranscriptFileName(kFull);
    s.trainer().Start();
    s.RunFor(3000);
    EXPECT_TRUE(s.Messages().empty());
    s.trainer().Stop();
    ASSERT_TRUE(s.RunUntilIdle(30'000));
    ASSERT_EQ(s.Messages().size(), 1u);
    EXPECT_EQ(s.Messages()[0].caption, QStringLiteral("Record Audio File"));
    EXPECT_TRUE(
        s.Messages()[0].text.startsWith(QStringLiteral("The transcript /dev/full could not be written: ")))
        << s.Messages()[0].text.toStdString();
    EXPECT_TRUE(IsCharacterDevice(kFull)) << "the device node was replaced";

    s.trainer().Start();
    s.RunFor(3000);
    EXPECT_EQ(s.device().QueuedCount(), 2u);
    s.trainer().Stop();
    ASSERT_TRUE(s.RunUntilIdle(30'000));
    EXPECT_EQ(s.Messages().size(), 1u);  // the transcript was for one session only
}

}  // namespace
