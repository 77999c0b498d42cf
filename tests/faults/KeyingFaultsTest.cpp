// The serial interface that keys the rig unplugged while the trainer runs: on a fake
// device (whole sessions on virtual time), and on a real pseudo-terminal whose master
// side is closed, which hangs up the device side as unplugging a USB interface does.
// The sessions sound the same as without a rig, the status line says once that keying
// stopped and why, and the next session opens the device again.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>

#include "keying/RigPort.h"
#include "keying/SystemSerialLines.h"
#include "session/VirtualSession.h"
#include "tests/keying/FakeSerialLines.h"
#include "tests/scoring/QtPrinters.h"

using namespace lumbrel;
using lumbrel::test::FakeDevice;
using lumbrel::test::FakeSerialLines;
using lumbrel::test::LineCall;

namespace {

const QString kDevice = QStringLiteral("/dev/ttyUSB0");

// What a session leaves: its sound, its text and the status line at its end.
struct Outcome {
    std::size_t heardBytes = 0;
    int writes = 0;
    QString text;
    QString status;
};

// A trainer on virtual time with a rig port on a fake device.
struct RigBench {
    SettingsStore store = SettingsStore::InMemory();
    std::shared_ptr<FakeDevice> device = std::make_shared<FakeDevice>();
    std::unique_ptr<RigPort> rig;
    std::unique_ptr<VirtualSession> s;
    std::size_t heard = 0;

    // As the program: the port opens when the window is created.
    void Create(bool withRig = true) {
        store.Write(keys::Pause, 0);
        store.Write(keys::PortDevice, kDevice);
        device->present = {kDevice};
        rig = std::make_unique<RigPort>(std::make_unique<FakeSerialLines>(device));
        s = std::make_unique<VirtualSession>(store, 11, QTime(10, 0), withRig ? rig.get() : nullptr);
        s->device().KeepPlayedBytes(false);
        s->device().SetPlaySink([this](const std::uint8_t*, std::size_t n) { heard += n; });
        if (withRig) {
            ASSERT_TRUE(rig->Open(store));
        }
        s->CreateAndShow();
    }
    Trainer& t() { return s->trainer(); }
    QString Status() { return t().Readouts().Status(); }

    // A session of `ms`, with `during` halfway; stopped and run out.
    Outcome RunSession(std::int64_t ms, const std::function<void()>& during = {}) {
        const std::size_t heardBefore = heard;
        const int writesBefore = s->device().CallCount(VirtualAudioDevice::Call::Write);
        t().Start();
        EXPECT_TRUE(t().SessionActive());
        s->RunFor(ms / 2);
        if (during)
            during();
        s->RunFor(ms / 2);
        EXPECT_EQ(s->device().QueuedCount(), 2u);
        t().Stop();
        EXPECT_TRUE(s->RunUntilIdle(30'000));
        return {heard - heardBefore, s->device().CallCount(VirtualAudioDevice::Call::Write) - writesBefore,
                t().Sent().Text(), Status()};
    }
};

struct UnpluggedRig : ::testing::Test, RigBench {};

// The same sessions without a rig: what the learner hears and sees must not change.
std::vector<Outcome> SessionsWithoutRig(int count) {
    RigBench plain;
    plain.Create(false);
    std::vector<Outcome> outcomes;
    for (int i = 0; i < count; ++i)
        outcomes.push_back(plain.RunSession(4000));
    return outcomes;
}

TEST_F(UnpluggedRig, MidSessionKeyingStopsWithOneNoteAndAReplugKeysTheNextSession) {
    const std::vector<Outcome> expected = SessionsWithoutRig(3);
    Create();
    device->calls.clear();

    // Unplugged while the first session plays: it plays on; the lines cannot come down.
    const Outcome first = RunSession(4000, [&] { device->unplugged = true; });
    EXPECT_EQ(first.heardBytes, expected[0].heardBytes);
    EXPECT_EQ(first.writes, expected[0].writes);
    EXPECT_EQ(first.text, expected[0].text);
    EXPECT_EQ(first.status,
              QStringLiteral("  Keying stopped: rig port /dev/ttyUSB0 failed: Input/output error"));
    EXPECT_FALSE(rig->IsOpen());
    EXPECT_FALSE(device->open) << "the dead device is let go";
    EXPECT_TRUE(s->Messages().empty()) << "a note, not a message box";

    // Still unplugged: the next start tries the device, quietly, and the session is the
    // same; the status line shows the count again, not the note a second time.
    device->calls.clear();
    const Outcome second = RunSession(4000);
    EXPECT_EQ(second.heardBytes, expected[1].heardBytes);
    EXPECT_EQ(second.text, expected[1].text);
    EXPECT_EQ(second.status, QStringLiteral("  %1 characters sent").arg(t().CharactersSent()));
    EXPECT_EQ(device->calls, (std::vector<LineCall>{{LineCall::Open, false, kDevice}}));

    // Plugged in again: opened at the start, keyed for the session, unkeyed at its end.
    device->unplugged = false;
    device->calls.clear();
    const Outcome third = RunSession(4000);
    EXPECT_EQ(third.heardBytes, expected[2].heardBytes);
    EXPECT_EQ(third.text, expected[2].text);
    EXPECT_EQ(device->calls, (std::vector<LineCall>{{LineCall::Open, true, kDevice},
                                                    {LineCall::Dtr, false, {}},
                                                    {LineCall::Rts, false, {}},
                                                    {LineCall::Dtr, true, {}},
                                                    {LineCall::Rts, true, {}},
                                                    {LineCall::Dtr, false, {}},
                                                    {LineCall::Rts, false, {}}}));
    EXPECT_TRUE(rig->IsOpen());
    EXPECT_TRUE(rig->Problem().isEmpty());
    EXPECT_EQ(third.status, QStringLiteral("  %1 characters sent").arg(t().CharactersSent()));
    EXPECT_TRUE(s->Messages().empty());
}

TEST_F(UnpluggedRig, UnpluggedBetweenSessionsTheStartFindsItAndTheSessionStillPlays) {
    const std::vector<Outcome> expected = SessionsWithoutRig(2);
    Create();
    RunSession(4000);
    device->unplugged = true;  // the device node is gone, but the port still holds it
    const Outcome second = RunSession(4000);
    EXPECT_EQ(second.heardBytes, expected[1].heardBytes);
    EXPECT_EQ(second.text, expected[1].text);
    EXPECT_EQ(second.status,
              QStringLiteral("  Keying stopped: rig port /dev/ttyUSB0 failed: Input/output error"));
    EXPECT_FALSE(device->open);
    EXPECT_TRUE(s->Messages().empty());
}

// A port whose lines never switched (no modem lines) is no loss: its failures were told
// when it opened and stay quiet during sessions.
TEST_F(UnpluggedRig, LinesThatNeverSwitchedAreNoLoss) {
    device->dtrFails = true;
    Create();
    const QString problem = rig->Problem();
    ASSERT_FALSE(problem.isEmpty());
    const Outcome outcome = RunSession(4000);
    EXPECT_EQ(outcome.status, QStringLiteral("  %1 characters sent").arg(t().CharactersSent()));
    EXPECT_TRUE(rig->IsOpen());
    EXPECT_EQ(rig->Problem(), problem);
}

// ---------------------------------------------------------------- the system's lines

// A pseudo-terminal: the device side opens like a serial device; closing the master
// side hangs it up, as unplugging a USB serial interface does.
struct Pty {
    int master = -1;
    QString path;
    Pty() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
            return;
        if (const char* name = ::ptsname(master))
            path = QString::fromLocal8Bit(name);
    }
    ~Pty() { Unplug(); }
    bool Ok() const { return master >= 0 && !path.isEmpty(); }
    void Unplug() {
        if (master >= 0)
            ::close(master);
        master = -1;
    }
};

TEST(UnpluggedSystemPort, AHungUpTerminalStopsKeyingOnceAndTheReplacementIsOpenedNextSession) {
    auto first = std::make_unique<Pty>();
    if (!first->Ok())
        GTEST_SKIP() << "no pseudo-terminal can be opened here";
    // The configured name is a link, as the system's stable names of USB interfaces are:
    // plugged in again, the interface comes back behind the same name.
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("rig-interface"));
    ASSERT_TRUE(QFile::link(first->path, link));

    SettingsStore store = SettingsStore::InMemory();
    store.Write(keys::Pause, 0);
    store.Write(keys::PortDevice, link);
    RigPort rig(std::make_unique<SystemSerialLines>());
    VirtualSession s(store, 12, QTime(10, 0), &rig);
    s.device().KeepPlayedBytes(false);
    ASSERT_TRUE(rig.Open(store));
    s.CreateAndShow();
    Trainer& t = s.trainer();

    t.Start();
    s.RunFor(2000);
    first->Unplug();
    s.RunFor(2000);
    EXPECT_EQ(s.device().QueuedCount(), 2u);
    t.Stop();
    ASSERT_TRUE(s.RunUntilIdle(30'000));
    EXPECT_EQ(t.Readouts().Status(), QStringLiteral("  Keying stopped: rig port %1 failed: %2")
                                         .arg(link, QString::fromLocal8Bit(std::strerror(EIO))));
    EXPECT_FALSE(rig.IsOpen());
    EXPECT_TRUE(s.Messages().empty());

    // Still gone: the next session plays, without the note again.
    t.Start();
    s.RunFor(2000);
    t.Stop();
    ASSERT_TRUE(s.RunUntilIdle(30'000));
    EXPECT_FALSE(rig.IsOpen());
    EXPECT_FALSE(t.Readouts().Status().contains(QStringLiteral("Keying stopped")));

    // Plugged in again: the start of the next session opens it. (Held by the rig port,
    // it turns away a second user.)
    Pty second;
    ASSERT_TRUE(second.Ok());
    ASSERT_TRUE(QFile::remove(link));
    ASSERT_TRUE(QFile::link(second.path, link));
    t.Start();
    EXPECT_TRUE(rig.IsOpen());
    SystemSerialLines other;
    EXPECT_FALSE(other.Open(second.path));
    s.RunFor(2000);
    EXPECT_EQ(s.device().QueuedCount(), 2u);
    t.Stop();
    ASSERT_TRUE(s.RunUntilIdle(30'000));
    EXPECT_TRUE(rig.IsOpen());
    EXPECT_FALSE(t.Readouts().Status().contains(QStringLiteral("Keying stopped")));
    rig.Close();
    EXPECT_TRUE(other.Open(second.path)) << other.ErrorText().toStdString();
}

}  // namespace
