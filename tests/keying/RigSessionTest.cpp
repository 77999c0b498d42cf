// The keying lines against the sound of whole sessions: a trainer on virtual time with
// the rig port on a fake device. Each line change is logged together with where the
// audio pipeline stood at that moment.
#include <gtest/gtest.h>

#include "keying/RigPort.h"
#include "session/VirtualSession.h"
#include "tests/keying/FakeSerialLines.h"

using namespace lumbrel;
using lumbrel::test::FakeDevice;
using lumbrel::test::FakeSerialLines;
using lumbrel::test::LineCall;

namespace {

const QString kDevice = QStringLiteral("/dev/ttyUSB0");

// One switch of both lines (DTR first, then RTS at once) and the state around it.
struct LineSwitch {
    bool raised = false;
    int writes = 0;          // buffers written to the device so far
    std::size_t queued = 0;  // buffers written and not yet heard
    std::int64_t ms = 0;     // virtual time
    int buffersHomeAfterStop = -1;
    int charactersSent = 0;
    QString sent;  // the text area
};

struct RigSession : ::testing::Test {
    SettingsStore store = SettingsStore::InMemory();
    std::shared_ptr<FakeDevice> device = std::make_shared<FakeDevice>();
    std::unique_ptr<RigPort> rig;
    std::unique_ptr<VirtualSession> s;  // after rig: destroyed first
    std::vector<LineSwitch> switches;
    int buffersHome = 0;
    int buffersHomeAtStop = -1;

    // As the main window: the port is opened when the window is created.
    void Create(std::uint32_t seed = 1) {
        device->present = {kDevice};
        store.Write(keys::PortDevice, kDevice);
        rig = std::make_unique<RigPort>(std::make_unique<FakeSerialLines>(device));
        s = std::make_unique<VirtualSession>(store, seed, QTime(12, 0), rig.get());
        s->device().KeepPlayedBytes(false);
        rig->Open(store);
        s->CreateAndShow();
        ASSERT_TRUE(rig->IsOpen());
        device->calls.clear();
        device->onCall = [this](const LineCall& call) {
            if (call.kind == LineCall::Rts) {
                ASSERT_FALSE(switches.empty());  // RTS always follows DTR
            }
            if (call.kind != LineCall::Dtr)
                return;
            switches.push_back({call.value, s->device().CallCount(VirtualAudioDevice::Call::Write),
                                s->device().QueuedCount(), s->clock().ElapsedMs(),
                                buffersHomeAtStop < 0 ? -1 : buffersHome - buffersHomeAtStop,
                                t().CharactersSent(), t().Sent().Text()});
        };
        s->afterMessage = [this](int message) {
            if (message == kBufferDoneMessage)
                ++buffersHome;
        };
    }
    Trainer& t() { return s->trainer(); }
    void Stop() {
        buffersHomeAtStop = buffersHome;
        t().Stop();
    }
    int Writes() const { return s->device().CallCount(VirtualAudioDevice::Call::Write); }
};

TEST_F(RigSession, LinesRiseBeforeTheFirstBufferAndDropOnlyAfterTheLastIsHeard) {
    store.Write(keys::Pause, 2);
    store.Write(keys::DisplayDelay, 0);  // "Hide": the text appears only with the final reveal
    Create();

    t().Start();
    s->RunFor(1500);
    EXPECT_TRUE(t().CountdownPending());
    EXPECT_TRUE(switches.empty()) << "the countdown does not key the rig";

    ASSERT_TRUE(s->RunUntil([&] { return t().SessionActive(); }, 5000));
    ASSERT_EQ(switches.size(), 1u);
    EXPECT_TRUE(switches[0].raised);
    EXPECT_EQ(switches[0].writes, 0);
    EXPECT_EQ(switches[0].queued, 0u);
    EXPECT_EQ(switches[0].charactersSent, -2);  // the session fields were reset first
    EXPECT_TRUE(device->dtr);
    EXPECT_TRUE(device->rts);

    s->RunFor(4000);
    ASSERT_GT(Writes(), 2);
    const QString shownAtStop = t().Sent().Text();
    Stop();
    const std::int64_t stopMs = s->clock().ElapsedMs();
    EXPECT_EQ(switches.size(), 1u) << "Stop leaves the lines alone";
    EXPECT_TRUE(device->dtr);

    ASSERT_TRUE(s->RunUntilIdle(30'000));
    ASSERT_EQ(switches.size(), 2u);
    const LineSwitch& drop = switches[1];
    EXPECT_FALSE(drop.raised);
    EXPECT_EQ(drop.queued, 0u);        // every buffer written has been heard
    EXPECT_EQ(drop.writes, Writes());  // and none came after
    EXPECT_GT(drop.ms, stopMs);
    EXPECT_EQ(drop.buffersHomeAfterStop, 1) << "dropped while the second buffer after Stop comes home";
    EXPECT_EQ(buffersHome - buffersHomeAtStop, 2);
    EXPECT_EQ(drop.sent, t().Sent().Text()) << "after the final reveal";
    EXPECT_NE(drop.sent, shownAtStop);
    EXPECT_FALSE(device->dtr);
    EXPECT_FALSE(device->rts);
}

TEST_F(RigSession, SessionLengthEndDropsAfterTheWindDownNotOnTheTimerTick) {
    store.Write(keys::Pause, 0);
    store.Write(keys::Session, 1);
    Create(3);
    std::int64_t stoppingMs = -1;
    std::size_t switchesWhenStopping = 0;
    s->afterMessage = [&](int message) {
        if (message == kBufferDoneMessage)
            ++buffersHome;
        if (stoppingMs < 0 && t().SessionActive() && t().WindingDown()) {
            stoppingMs = s->clock().ElapsedMs();
            switchesWhenStopping = switches.size();
        }
    };
    t().Start();
    ASSERT_TRUE(s->RunUntilIdle(120'000));
    ASSERT_GE(stoppingMs, 60'000);
    EXPECT_EQ(switchesWhenStopping, 1u);
    ASSERT_EQ(switches.size(), 2u);
    EXPECT_TRUE(switches[0].raised);
    EXPECT_FALSE(switches[1].raised);
    EXPECT_GT(switches[1].ms, stoppingMs);
    EXPECT_EQ(switches[1].queued, 0u);
    EXPECT_EQ(switches[1].writes, Writes());
}

TEST_F(RigSession, TwoSessionsInARowDropBetweenAndRiseAgain) {
    store.Write(keys::Pause, 0);
    Create(7);
    t().Start();
    s->RunFor(2500);
    Stop();
    ASSERT_TRUE(s->RunUntilIdle(30'000));
    const int writesAfterFirst = Writes();
    ASSERT_EQ(switches.size(), 2u);
    s->RunFor(1000);
    EXPECT_EQ(switches.size(), 2u) << "between sessions the lines stay down";

    t().Start();
    ASSERT_EQ(switches.size(), 3u);
    EXPECT_TRUE(switches[2].raised);
    EXPECT_EQ(switches[2].writes, writesAfterFirst);
    EXPECT_EQ(switches[2].queued, 0u);
    s->RunFor(2500);
    EXPECT_GT(Writes(), writesAfterFirst);
    Stop();
    ASSERT_TRUE(s->RunUntilIdle(30'000));
    ASSERT_EQ(switches.size(), 4u);
    EXPECT_FALSE(switches[3].raised);
    EXPECT_EQ(switches[3].queued, 0u);
    EXPECT_EQ(switches[3].writes, Writes());
    EXPECT_EQ(device->LineChanges().size(), 8u);  // four switches of two lines
}

TEST_F(RigSession, RefusedStartRaisesNothing) {
    store.Write(keys::Session1, ~0x3);  // the first two characters excluded
    store.Write(keys::Pause, 0);
    Create();
    t().Start();
    EXPECT_FALSE(t().SessionActive());

    store.Write(keys::Pause, 2);
    t().Start();
    ASSERT_TRUE(t().CountdownPending());
    ASSERT_TRUE(s->RunUntilIdle(10'000));
    EXPECT_FALSE(t().SessionActive());
    EXPECT_EQ(Writes(), 0);
    EXPECT_TRUE(device->calls.empty());
}

TEST_F(RigSession, ClosingTheWindowDuringTheWindDownStillUnkeysTheRig) {
    store.Write(keys::Pause, 0);
    Create();
    t().Start();
    s->RunFor(2000);
    // The first close request stops the session, the second marks it idle, the third
    // closes the window while the last buffers are still playing.
    s->RequestClose();
    s->RequestClose();
    EXPECT_FALSE(s->Closed());
    EXPECT_TRUE(t().SessionActive());
    bool soundOpenAtPortClose = false;
    device->onCall = [&](const LineCall& c) {
        soundOpenAtPortClose |= c.kind == LineCall::Close && s->device().IsOpen();
    };
    s->RequestClose();
    ASSERT_TRUE(s->Closed());
    EXPECT_FALSE(t().SessionActive()) << "the end of the session ran: recordings finished, rig unkeyed";
    EXPECT_TRUE(soundOpenAtPortClose);
    EXPECT_FALSE(device->dtr);
    EXPECT_FALSE(device->rts);
    EXPECT_FALSE(device->open);
}

// What a session sounds and shows is the same with any rig port configuration.
struct SessionOutcome {
    QString text;
    int writes = 0;
    std::size_t heardBytes = 0;
    int lineChanges = 0;
    QString problem;
};

SessionOutcome RunSession(int port, const QString& portDevice, bool withRig) {
    SettingsStore store = SettingsStore::InMemory();
    store.Write(keys::Pause, 0);
    store.Write(keys::Port, port);
    store.Write(keys::PortDevice, portDevice);
    auto device = std::make_shared<FakeDevice>();
    device->present = {kDevice, RigPort::StandardPortName(3)};
    RigPort rig(std::make_unique<FakeSerialLines>(device));
    VirtualSession s(store, 42, QTime(9, 30), withRig ? &rig : nullptr);
    s.device().KeepPlayedBytes(false);
    SessionOutcome out;
    s.device().SetPlaySink([&](const std::uint8_t*, std::size_t n) { out.heardBytes += n; });
    if (withRig)
        rig.Open(store);
    s.CreateAndShow();
    s.trainer().Start();
    s.RunFor(3000);
    s.trainer().Stop();
    EXPECT_TRUE(s.RunUntilIdle(30'000));
    out.text = s.trainer().Sent().Text();
    out.writes = s.device().CallCount(VirtualAudioDevice::Call::Write);
    out.lineChanges = static_cast<int>(device->LineChanges().size());
    out.problem = rig.Problem();
    return out;
}

TEST(RigSessionConfigurations, PortOffMissingDeviceAndWorkingPortSoundAlike) {
    const SessionOutcome none = RunSession(0, {}, false);
    const SessionOutcome off = RunSession(0, {}, true);
    const SessionOutcome missing = RunSession(0, QStringLiteral("/dev/ttyUSB7"), true);
    const SessionOutcome numbered = RunSession(3, {}, true);
    const SessionOutcome device = RunSession(3, kDevice, true);

    ASSERT_FALSE(none.text.isEmpty());
    for (const SessionOutcome* o : {&off, &missing, &numbered, &device}) {
        EXPECT_EQ(o->text, none.text);
        EXPECT_EQ(o->writes, none.writes);
        EXPECT_EQ(o->heardBytes, none.heardBytes);
    }
    EXPECT_EQ(off.lineChanges, 0);
    EXPECT_TRUE(off.problem.isEmpty());
    EXPECT_EQ(missing.lineChanges, 0);
    EXPECT_EQ(missing.problem, QStringLiteral("Rig port /dev/ttyUSB7 not opened: No such file or directory"));
    // Open, session start, session end: three switches of both lines.
    EXPECT_EQ(numbered.lineChanges, 6);
    EXPECT_EQ(device.lineChanges, 6);
}

}  // namespace
