// The real keyer's marks, rendered block by block, switch a fake device's lines when
// heard (virtual time); the port lends its lines to one borrower, taken back dropped.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "FakeSerialLines.h"
#include "keying/RigPort.h"
#include "sending/RigFollower.h"
#include "sending/SendingSound.h"

using namespace lumbrel;
using namespace lumbrel::test;

namespace {

const QString kDevice = QStringLiteral("/dev/ttyUSB0");
constexpr std::int64_t kBlock = 441;         // frames a callback: 10 ms
constexpr std::int64_t kLatencyUs = 20'000;  // from a callback to its first frame heard
constexpr std::int64_t kUnitUs = 60'000;     // 20 WPM: 2646 frames

using Switch = std::pair<bool, std::int64_t>;  // keyed, at

struct Bench {
    Bench() {
        device->present = {kDevice};
        port.Open(kDevice);
        // Each switch, at the virtual moment the follower made it; RTS goes with DTR.
        device->onCall = [this](const LineCall& c) {
            if (c.kind == LineCall::Dtr)
                switches.push_back({c.value, nowUs});
        };
    }
    void Follow(KeyerMode mode) {
        SendingSound::Settings settings;
        settings.keyer.mode = mode;
        sound.SetSettings(settings);
        sound.FollowRig(true);
        QString why;
        follower.Attach(port.LendLines(&why));
        ASSERT_TRUE(follower.Following()) << why.toStdString();
        switches.clear();  // lent dropped
        device->calls.clear();
    }
    // Callbacks up to untilUs of stream time, the follower run as its thread would.
    void Play(std::int64_t untilUs) {
        std::vector<std::int16_t> out(2 * kBlock);
        for (; frame * 1'000'000 / 44100 < untilUs; frame += kBlock) {
            const std::int64_t us = frame * 1'000'000 / 44100;
            sound.Mix(out.data(), kBlock, static_cast<std::uint64_t>(frame), us, us + kLatencyUs);
            Idle(us + 10'000);
            nowUs = us + 10'000;
        }
    }
    void Idle(std::int64_t untilUs) {
        for (std::int64_t due; (due = follower.Service(nowUs)) <= untilUs;)
            nowUs = due;
    }

    std::shared_ptr<FakeDevice> device = std::make_shared<FakeDevice>();
    RigPort port{std::make_unique<FakeSerialLines>(device)};
    SendingSound sound;
    RigFollower follower{sound.RigEdges()};
    std::int64_t frame = 0;
    std::int64_t nowUs = 0;
    std::vector<Switch> switches;
};

KeyEvent At(KeyContact contact, bool down, std::int64_t ms) {
    return {contact, down, ms * 1000};
}

TEST(RigFollow, TheLinesFollowTheKeyersMarksAsTheyAreHeard) {
    using C = KeyContact;
    constexpr std::int64_t t0 = 100'000 + kLatencyUs;  // the first contact, heard
    struct Case {
        const char* name;
        KeyerMode mode;
        std::vector<KeyEvent> events;
        std::vector<Switch> switches;
        std::int64_t soundStopsUs = 1'000'000;
    } const cases[] = {
        {"straight key",
         KeyerMode::Straight,
         {At(C::Straight, true, 100), At(C::Straight, false, 400)},
         {{true, t0}, {false, t0 + 300'000}}},
        {"iambic B squeeze: dit, then the dah B adds",
         KeyerMode::IambicB,
         {At(C::Dit, true, 100), At(C::Dah, true, 110), At(C::Dit, false, 130), At(C::Dah, false, 130)},
         {{true, t0}, {false, t0 + kUnitUs}, {true, t0 + 2 * kUnitUs}, {false, t0 + 5 * kUnitUs}}},
        {"iambic A, the same squeeze: the dit alone",
         KeyerMode::IambicA,
         {At(C::Dit, true, 100), At(C::Dah, true, 110), At(C::Dit, false, 130), At(C::Dah, false, 130)},
         {{true, t0}, {false, t0 + kUnitUs}}},
        {"a straight key closed during a dit keeps the line to its own end",
         KeyerMode::IambicA,
         {At(C::Dit, true, 100), At(C::Dit, false, 130), At(C::Straight, true, 140),
          At(C::Straight, false, 300)},
         {{true, t0}, {false, t0 + 200'000}}},
        {"the sound stops with the key down: dropped a stall after its last sign of life (every 50 ms "
         "of the mark, the last at 320 ms)",
         KeyerMode::Straight,
         {At(C::Straight, true, 100)},
         {{true, t0}, {false, 300'000 + kLatencyUs + RigFollower::kSoundStallUs}},
         300'000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench;
        bench.Follow(c.mode);
        for (const KeyEvent& e : c.events)
            ASSERT_TRUE(bench.sound.Events().Push(e));
        bench.Play(c.soundStopsUs);
        bench.Idle(2'000'000);
        EXPECT_EQ(bench.switches, c.switches);
        EXPECT_EQ(bench.device->LineChanges().size(), 2 * c.switches.size()) << "DTR and RTS alike";
    }
}

TEST(RigFollow, EndingMidMarkDropsTheLinesAndGivesThemBack) {
    Bench bench;
    bench.Follow(KeyerMode::Straight);
    ASSERT_TRUE(bench.sound.Events().Push(At(KeyContact::Straight, true, 100)));
    bench.Play(300'000);
    ASSERT_TRUE(bench.device->dtr);
    bench.follower.Release();
    EXPECT_FALSE(bench.device->dtr || bench.device->rts);
    // Given back: a session keys it again, and it can be lent again.
    bench.port.RaiseRigLines();
    EXPECT_TRUE(bench.device->dtr);

    // On its own thread too, lent again: a mark still open when the follower stops is dropped.
    QString why;
    std::atomic<bool> keyed{false};
    bench.device->onCall = [&](const LineCall& c) {
        if (c.kind == LineCall::Dtr)
            keyed = c.value;
    };
    bench.follower.Start(bench.port.LendLines(&why));
    bench.sound.RigEdges().Push(
        {KeyingEdge::Kind::Mark, SteadyMicroseconds(), SteadyMicroseconds() + 60'000'000});
    for (int i = 0; i < 5000 && !keyed; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_TRUE(keyed);
    bench.follower.Stop();
    EXPECT_FALSE(keyed);
}

TEST(RigFollow, ADeviceLostIsToldOnceAndTheSidetoneGoesOn) {
    Bench bench;
    bench.Follow(KeyerMode::Straight);
    for (const int ms : {100, 200, 300, 400})
        ASSERT_TRUE(bench.sound.Events().Push(At(KeyContact::Straight, ms % 200 != 0, ms)));
    bench.Play(250'000);
    bench.device->unplugged = true;
    bench.Play(1'000'000);
    EXPECT_EQ(bench.switches, (std::vector<Switch>{{true, 120'000}, {false, 220'000}}));
    EXPECT_EQ(bench.follower.Status(), "Keying stopped: rig port /dev/ttyUSB0 failed: Input/output error.");
    EXPECT_FALSE(bench.device->open) << "the dead device is let go";
    SentMark mark;
    EXPECT_TRUE(bench.sound.TakeMark(mark) && bench.sound.TakeMark(mark)) << "both marks sounded";
    bench.follower.Release();
    EXPECT_TRUE(bench.port.TakeKeyingNote().isEmpty()) << "told by the sending, not again by a session";
}

TEST(RigFollow, OneBorrowerAtATimeAndSessionsLeaveLentLinesAlone) {
    Bench bench;
    QString why;
    std::unique_ptr<RigLines> loan = bench.port.LendLines(&why);
    ASSERT_NE(loan, nullptr);
    EXPECT_EQ(bench.port.LendLines(&why), nullptr);
    EXPECT_EQ(why, "rig port /dev/ttyUSB0 is lent already");
    bench.device->calls.clear();
    bench.port.RaiseRigLines();
    EXPECT_TRUE(bench.device->calls.empty());
    EXPECT_EQ(bench.port.TakeKeyingNote(),
              "Keying busy: rig port /dev/ttyUSB0 is keyed by the sending practice");
    ASSERT_TRUE(loan->Key(true, &why));
    bench.port.Close();  // the window closes: taken back, dropped
    EXPECT_FALSE(bench.device->dtr || bench.device->rts);
    EXPECT_FALSE(loan->Key(true, &why));

    struct Refusal {  // no port, a missing device, one without modem lines
        QString device;
        bool dtrFails;
        const char* why;
    } const refusals[] = {
        {{}, false, "no rig port is set (Setup, \"Port\")"},
        {QStringLiteral("/dev/ttyUSB7"), false,
         "Rig port /dev/ttyUSB7 not opened: No such file or directory"},
        {kDevice, true, "Rig port /dev/ttyUSB0 cannot switch DTR and RTS: Inappropriate ioctl for device"},
    };
    for (const Refusal& r : refusals) {
        Bench other;
        other.device->dtrFails = r.dtrFails;
        other.port.Open(r.device);
        EXPECT_EQ(other.port.LendLines(&why), nullptr);
        EXPECT_EQ(why, r.why);
    }
}

}  // namespace
