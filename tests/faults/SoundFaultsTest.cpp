// The sound device failing, on virtual time: no device when the program starts, and a
// device whose writes fail for good in the middle of a session. Each case checks what
// the learner is told, that the trainer is idle afterwards, and that the next session
// (once the device is back) starts and plays: buffers queued and coming home.
#include <gtest/gtest.h>

#include <memory>

#include "session/VirtualSession.h"
#include "tests/SessionFixture.h"
#include "tests/scoring/QtPrinters.h"

using namespace lumbrel;

namespace {

using Call = VirtualAudioDevice::Call;

// Buffer-done events handled: buffers home from the device, and the two that prime
// each session.
struct HomeCounter {
    int home = 0;
    void Attach(VirtualSession& s) {
        s.afterMessage = [this](int message) {
            if (message == kBufferDoneMessage)
                ++home;
        };
    }
};

// The controls as they are between sessions.
void ExpectIdle(Trainer& t) {
    EXPECT_FALSE(t.SessionActive());
    EXPECT_FALSE(t.CountdownPending());
    EXPECT_TRUE(t.FormCloseQuery());
    EXPECT_TRUE(t.Readouts().CommandsEnabled());
    EXPECT_FALSE(t.Readouts().ClockRunning());
}

// A random-group session that plays normally: two buffers in flight, characters sent,
// and after Stop every buffer home, with no message.
void ExpectASessionPlays(VirtualSession& s) {
    Trainer& t = s.trainer();
    const std::size_t messages = s.Messages().size();
    const int writes = s.device().CallCount(Call::Write);
    t.Start();
    s.RunFor(3000);
    ASSERT_TRUE(t.SessionActive());
    EXPECT_EQ(s.device().QueuedCount(), 2u);
    EXPECT_GT(s.device().CallCount(Call::Write), writes + 4);
    EXPECT_GT(t.CharactersSent(), 3);
    t.Stop();
    ASSERT_TRUE(s.RunUntilIdle(30'000));
    EXPECT_EQ(s.device().QueuedCount(), 0u);
    EXPECT_EQ(t.Engine().InFlight(), 0);
    EXPECT_EQ(s.Messages().size(), messages);
    ExpectIdle(t);
}

// ---------------------------------------------------------------- no device at start

struct NoSoundDevice : ::testing::Test {
    SettingsStore store = SettingsStore::InMemory();
    std::unique_ptr<VirtualSession> s;

    void SetUp() override {
        s = std::make_unique<VirtualSession>(store, 1);
        s->device().KeepPlayedBytes(false);
        s->device().InjectFailure(Call::Open, "No audio output device is available.");
        s->CreateAndShow();
        ASSERT_FALSE(t().AudioOpen());
        ASSERT_EQ(s->Messages().size(), 1u);  // the one at start
    }
    Trainer& t() { return s->trainer(); }
    const VirtualSession::Shown& Last() const { return s->Messages().back(); }
};

TEST_F(NoSoundDevice, EachStartTriesAgainAndSaysOnceThatThereIsNoSound) {
    store.Write(keys::Pause, 0);
    for (int press = 1; press <= 3; ++press) {
        t().Start();
        ASSERT_EQ(s->Messages().size(), 1u + press) << "one message per Start";
        EXPECT_EQ(Last().caption, QStringLiteral("waveOutOpen"));
        EXPECT_EQ(Last().text, test::NoSoundOutputText("No audio output device is available."));
        // A note that stays in the status line until a session plays.
        EXPECT_EQ(t().Readouts().Status(), QStringLiteral("  No sound output"));
        ExpectIdle(t());
        s->RunFor(2000);
    }
    EXPECT_EQ(s->device().CallCount(Call::Open), 4);
    EXPECT_EQ(s->device().CallCount(Call::Write), 0);
    EXPECT_EQ(s->Messages().size(), 4u);

    // A headset plugged in: the next Start opens it and the session plays.
    s->device().ClearFailures();
    ExpectASessionPlays(*s);
    EXPECT_TRUE(t().AudioOpen());
    EXPECT_FALSE(t().Readouts().Status().contains(QStringLiteral("No sound output")));
    EXPECT_EQ(s->device().CallCount(Call::Open), 5);
}

TEST_F(NoSoundDevice, AStartWithACountdownSaysSoAtOnceInsteadOfCountingDown) {
    store.Write(keys::Pause, 3);
    t().Start();
    ASSERT_EQ(s->Messages().size(), 2u);
    EXPECT_EQ(Last().text, test::NoSoundOutputText("No audio output device is available."));
    ExpectIdle(t());
    s->RunFor(5000);
    EXPECT_EQ(s->Messages().size(), 2u);
    EXPECT_FALSE(t().SessionActive());

    s->device().ClearFailures();
    t().Start();
    EXPECT_TRUE(t().CountdownPending());
    ASSERT_TRUE(s->RunUntil([&] { return t().SessionActive(); }, 10'000));
    s->RunFor(2000);
    EXPECT_EQ(s->device().QueuedCount(), 2u);
    t().Stop();
    ASSERT_TRUE(s->RunUntilIdle(30'000));
    EXPECT_EQ(s->Messages().size(), 2u);
}

// Words, QSOs and text files begin their sessions the same way.
struct NoSoundDeviceForText : lumbrel::test::TextSessionTest {};

TEST_F(NoSoundDeviceForText, ATextFileIsNotPlayedWithoutSoundAndPlaysOnceTheDeviceIsBack) {
    const QString path = Write(QStringLiteral("text.txt"), "the quick brown fox jumps over the lazy dog\n");
    s = std::make_unique<VirtualSession>(store, 1);
    s->device().KeepPlayedBytes(false);
    s->device().InjectFailure(Call::Open, "no sound card");
    s->CreateAndShow();
    t().SetProgramFolder(dir.path());
    ASSERT_EQ(s->Messages().size(), 1u);

    EXPECT_FALSE(t().PlayTextFile(path));
    ASSERT_EQ(s->Messages().size(), 2u);
    EXPECT_EQ(s->Messages()[1].text, test::NoSoundOutputText("no sound card."));
    ExpectIdle(t());

    s->device().ClearFailures();
    ASSERT_TRUE(t().PlayTextFile(path));
    s->RunFor(2000);
    EXPECT_EQ(s->device().QueuedCount(), 2u);
    ASSERT_TRUE(s->RunUntilIdle(120'000));
    EXPECT_TRUE(t().Sent().Text().contains(QStringLiteral("lazy dog"))) << t().Sent().Text().toStdString();
    EXPECT_EQ(s->Messages().size(), 2u);
}

// ---------------------------------------------------------------- device fails mid-session

struct DeviceFailsMidSession : ::testing::Test {
    SettingsStore store = SettingsStore::InMemory();
    std::unique_ptr<VirtualSession> s;
    HomeCounter counter;
    int sessionsEnded = 0;

    void SetUp() override {
        store.Write(keys::Pause, 0);
        s = std::make_unique<VirtualSession>(store, 4);
        s->device().KeepPlayedBytes(false);
        s->CreateAndShow();
        counter.Attach(*s);
        t().SetSessionEndedListener([this](const Trainer::SessionSummary&) { ++sessionsEnded; });
    }
    Trainer& t() { return s->trainer(); }
};

TEST_F(DeviceFailsMidSession, WritesFailingForGoodEndTheSessionWithOneMessage) {
    t().Start();
    s->RunFor(3000);
    ASSERT_EQ(s->device().QueuedCount(), 2u);
    const QString shownBefore = t().Sent().Text();

    s->device().InjectFailure(Call::Write, "The audio device failed.");
    // The two buffers in flight come home; nothing can follow them.
    ASSERT_TRUE(s->RunUntilIdle(5000)) << "the session sits running in silence";
    ASSERT_EQ(s->Messages().size(), 1u);
    EXPECT_EQ(s->Messages()[0].caption, QStringLiteral("waveOutWrite"));
    EXPECT_EQ(s->Messages()[0].text,
              QStringLiteral("Sound output failed: The audio device failed.\nThe session was stopped."));
    ExpectIdle(t());
    EXPECT_EQ(sessionsEnded, 1);  // ended as after Stop: the copy can be checked
    EXPECT_TRUE(t().Sent().Text().startsWith(shownBefore));
    EXPECT_EQ(t().Engine().InFlight(), 0);

    s->RunFor(10'000);
    EXPECT_EQ(s->Messages().size(), 1u) << "one message, not one per buffer";

    // While the device is still broken, Start opens it again, which works, but the
    // writes do not: the session ends as the first did, again with one message.
    t().Start();
    ASSERT_TRUE(s->RunUntilIdle(5000));
    EXPECT_EQ(s->Messages().size(), 2u);
    ExpectIdle(t());

    // The device recovers: the next session plays, on a device opened afresh.
    s->device().ClearFailures();
    const int opens = s->device().CallCount(Call::Open);
    const int home = counter.home;
    ExpectASessionPlays(*s);
    EXPECT_EQ(s->device().CallCount(Call::Open), opens + 1);
    EXPECT_GT(counter.home, home + 4);
}

TEST_F(DeviceFailsMidSession, ATextFileSessionDoesNotWaitForeverEither) {
    // A text file never ends by the clock: without an end here the window would stay
    // in its session state for good.
    QTemporaryDir dir;
    store.Write(keys::Letters, 64);
    WriteFirstCharactersMask(store, 40);
    s = std::make_unique<VirtualSession>(store, 4);
    s->device().KeepPlayedBytes(false);
    s->CreateAndShow();
    const QString path = dir.filePath(QStringLiteral("long.txt"));
    lumbrel::test::WriteAll(path, QByteArray("cq cq de test ").repeated(400));
    ASSERT_TRUE(t().PlayTextFile(path));
    s->RunFor(3000);
    ASSERT_EQ(s->device().QueuedCount(), 2u);

    s->device().InjectFailure(Call::Write, "device gone");
    ASSERT_TRUE(s->RunUntilIdle(5000));
    ASSERT_EQ(s->Messages().size(), 1u);
    EXPECT_EQ(s->Messages()[0].text,
              QStringLiteral("Sound output failed: device gone\nThe session was stopped."));
    ExpectIdle(t());

    s->device().ClearFailures();
    ASSERT_TRUE(t().PlayTextFile(path));
    s->RunFor(3000);
    EXPECT_EQ(s->device().QueuedCount(), 2u);
    t().Stop();
    ASSERT_TRUE(s->RunUntilIdle(30'000));
    EXPECT_EQ(s->Messages().size(), 1u);
}

TEST(DeviceFailsWithInterferingStations, TheStationsFailingToo) {
    // The stations play on streams of their own on the same sound card, which go the
    // same way: still one message.
    SettingsStore store = SettingsStore::InMemory();
    store.Write(keys::Pause, 0);
    store.Write(keys::Qrm, 1);
    VirtualSession s(store, 3, QTime(12, 0), nullptr, true);
    for (VirtualAudioDevice* device : {&s.device(), &s.qrmDevice(0), &s.qrmDevice(1)})
        device->KeepPlayedBytes(false);
    s.CreateAndShow();
    s.trainer().Start();
    s.RunFor(5000);
    ASSERT_GT(s.qrmDevice(0).CallCount(Call::Write), 0);
    for (VirtualAudioDevice* device : {&s.device(), &s.qrmDevice(0), &s.qrmDevice(1)})
        device->InjectFailure(Call::Write, "The sound card is gone.");
    ASSERT_TRUE(s.RunUntilIdle(20'000));
    s.RunFor(10'000);
    ASSERT_EQ(s.Messages().size(), 1u);
    EXPECT_EQ(s.Messages()[0].caption, QStringLiteral("waveOutWrite"));
    EXPECT_EQ(s.Messages()[0].text,
              QStringLiteral("Sound output failed: The sound card is gone.\nThe session was stopped."));
    ExpectIdle(s.trainer());

    for (VirtualAudioDevice* device : {&s.device(), &s.qrmDevice(0), &s.qrmDevice(1)})
        device->ClearFailures();
    const int stationWrites = s.qrmDevice(0).CallCount(Call::Write);
    ExpectASessionPlays(s);
    EXPECT_GT(s.qrmDevice(0).CallCount(Call::Write), stationWrites);
}

TEST_F(DeviceFailsMidSession, OtherFailingCallsAreToldOnceAfterTheSession) {
    t().Start();
    s->RunFor(2000);
    // Every unprepare fails (the header stays prepared, so the write still works): the
    // session plays on.
    s->device().InjectFailure(Call::UnprepareHeader, "unprepare refused");
    const int writes = s->device().CallCount(Call::Write);
    s->RunFor(3000);
    EXPECT_TRUE(s->Messages().empty());
    EXPECT_TRUE(t().SessionActive());
    EXPECT_EQ(s->device().QueuedCount(), 2u);
    EXPECT_GT(s->device().CallCount(Call::Write), writes + 4);
    s->device().ClearFailures();
    t().Stop();
    ASSERT_TRUE(s->RunUntilIdle(30'000));
    ASSERT_EQ(s->Messages().size(), 1u);
    EXPECT_EQ(s->Messages()[0].caption, QStringLiteral("Information"));
    EXPECT_EQ(s->Messages()[0].text,
              QStringLiteral("Sound output failed during the session: unprepare refused"));
    ExpectASessionPlays(*s);
}

// A slot stretched by the effective speed can hold an odd number of values (a word space
// of seven units of an odd length); the device takes whole frames only. Such a buffer
// must be cut to whole frames, not refused: refused, each one cost the session one of
// its two buffers in flight until nothing played.
TEST(EffectiveSpeed, EverySlotIsWholeFramesSoNoBufferIsRefused) {
    SettingsStore store = SettingsStore::InMemory();
    store.Write(keys::Pause, 0);
    store.Write(keys::Speed, 2);  // 25 WPM: a unit of 4232 values
    store.Write(keys::Delay, 3);  // stretched to an odd number of values
    store.Write(keys::Letters, 4);
    VirtualSession s(store, 4);
    s.device().KeepPlayedBytes(false);
    s.CreateAndShow();
    std::vector<std::uint32_t> lengths;
    s.device().SetWriteSink([&](const AudioBufferHeader& header) { lengths.push_back(header.length); });
    s.trainer().Start();
    s.RunFor(30'000);
    EXPECT_TRUE(s.Messages().empty()) << s.Messages()[0].text.toStdString();
    EXPECT_EQ(s.device().QueuedCount(), 2u);
    ASSERT_GT(lengths.size(), 20u);
    for (const std::uint32_t bytes : lengths)
        EXPECT_EQ(bytes % 4, 0u);
}

}  // namespace
