// The two interfering stations during sessions, on virtual devices of their own.
#include "tests/SessionFixture.h"

using namespace lumbrel;

namespace {

struct Qrm : test::SessionFixture {
    Qrm() { qrmStations = true; }
    TCWSender& station(int i) { return *t().Qrm().Station(i); }
    void Check(bool on) { t().SetOption(Option::Qrm, on); }
};

TEST_F(Qrm, EachStartSetsTheStationsUpFromTheSessionAndTheWholeCharacterList) {
    // How pitch and speed map is QrmStationsTest's table; here, what the trainer hands over.
    store.Write(keys::Pause, 0);
    store.Write(keys::Qrm, 1);
    store.Write(keys::Pitch, 699);
    Create(11);
    const struct {
        int pitch, speedIndex;
        int pitches[2];
        int speed;
    } starts[] = {{0, 1, {849, 799}, 15}, {700, 13, {550, 600}, 30}};  // 0: the pitch restored
    for (const auto& start : starts) {
        if (start.pitch != 0) {
            t().SetOption(Option::Pitch, start.pitch);
        }
        t().SetOption(Option::CharacterSpeed, start.speedIndex);
        t().Start();
        for (int i : {0, 1}) {
            EXPECT_EQ(station(i).Pitch(), start.pitches[i]);
            EXPECT_EQ(station(i).Speed(), start.speed);
            EXPECT_TRUE(station(i).Connected());
        }
        StopAndRunOut();
    }
    QString all;
    for (int i = 0; i < 400; ++i)
        all += t().Qrm().RandomGroup();
    EXPECT_TRUE(all.contains(QLatin1Char('x')));  // the last character of the Koch order
}

TEST_F(Qrm, StationsPlayOnTheirOwnStreamsAndNeverInTheRecording) {
    store.Write(keys::Pause, 0);
    store.Write(keys::Qrm, 1);
    Create(7);
    std::size_t stationBytes = 0;
    s->qrmDevice(0).SetPlaySink([&](const std::uint8_t*, std::size_t n) { stationBytes += n; });
    t().Start();
    s->RunFor(20'000);
    EXPECT_GT(stationBytes, 176400u * 5);
    EXPECT_GT(station(0).SendPosition(), 0);
    t().Stop();
    EXPECT_FALSE(station(0).Connected());  // a stop closes them at once
    EXPECT_FALSE(station(1).Connected());
    ASSERT_TRUE(s->RunUntilIdle(30'000));
}

TEST_F(Qrm, GroupsAreRearmedOnlyWhileTheSessionRuns) {
    store.Write(keys::Pause, 0);
    store.Write(keys::Qrm, 1);
    Create(3);
    t().Start();
    QString first = station(0).TextToSend();
    ASSERT_FALSE(first.isEmpty());
    ASSERT_LE(first.size(), 8);
    // Within a minute each station plays several groups.
    int changes = 0;
    s->afterMessage = [&](int) {
        if (station(0).TextToSend() != first) {
            first = station(0).TextToSend();
            ++changes;
        }
    };
    s->RunFor(60'000);
    EXPECT_GE(changes, 3);
    // Winding down: the groups playing are finished, none follows.
    t().Stop();
    EXPECT_FALSE(station(0).Connected());
    s->afterMessage = nullptr;
}

TEST_F(Qrm, UncheckingAndCheckingDuringASessionRestartsBoth) {
    store.Write(keys::Pause, 0);
    store.Write(keys::Qrm, 1);
    Create(5);
    t().Start();
    s->RunFor(3000);
    Check(false);
    EXPECT_FALSE(station(0).Connected());
    EXPECT_FALSE(station(1).Connected());
    s->RunFor(1000);
    Check(true);
    EXPECT_TRUE(station(0).Connected());
    EXPECT_TRUE(station(1).Connected());
    EXPECT_EQ(station(0).SendPosition(), 2);  // a new group, its first two characters queued
    StopAndRunOut();
}

TEST_F(Qrm, CheckingDuringTheCountdownStartsTheStationsBeforeTheMainSignal) {
    store.Write(keys::Pause, 3);
    Create();
    t().Start();
    EXPECT_FALSE(station(0).Connected());
    Check(true);
    EXPECT_TRUE(station(0).Connected());
    EXPECT_EQ(s->device().CallCount(VirtualAudioDevice::Call::Write), 0);
    ASSERT_TRUE(s->RunUntil([&] { return t().SessionActive(); }, 10'000));
    StopAndRunOut();
}

TEST_F(Qrm, StoppingWithTheBoxUncheckedLeavesTheClosedStationsAlone) {
    store.Write(keys::Pause, 0);
    Create();
    t().Start();
    s->RunFor(2000);
    EXPECT_FALSE(station(0).Connected());
    const int closes = s->qrmDevice(0).CallCount(VirtualAudioDevice::Call::Close);
    t().Stop();
    EXPECT_EQ(s->qrmDevice(0).CallCount(VirtualAudioDevice::Call::Close), closes);
    ASSERT_TRUE(s->RunUntilIdle(30'000));
}

TEST_F(Qrm, TheEndOfASessionClosesTheStationsWhateverTheBox) {
    store.Write(keys::Pause, 0);
    store.Write(keys::Qrm, 1);
    store.Write(keys::Session, 1);
    Create();
    t().Start();
    ASSERT_TRUE(s->RunUntilIdle(120'000));
    EXPECT_FALSE(station(0).Connected());
    EXPECT_FALSE(station(1).Connected());
    EXPECT_TRUE(s->Messages().empty());
}

}  // namespace
