// Whole sessions on the virtual device with a virtual clock.
#include <cerrno>
#include <cstring>
#include <map>

#include "tests/SessionFixture.h"

using namespace lumbrel;

namespace {

constexpr int kBufferDone = kBufferDoneMessage;

struct Session : test::SessionFixture {
    QString Label() { return t().Readouts().Clock(); }
};

TEST_F(Session, DefaultsRestoreAsTheStoreGivesThem) {
    Create();
    EXPECT_EQ(t().Signal().Wpm(), 25);
    EXPECT_EQ(t().Signal().Pitch(), 750);
    EXPECT_EQ(t().Options().Get(Option::CharacterCount), 2);
    EXPECT_EQ(t().Display().Delay(), 0);
    EXPECT_EQ(t().Options().Get(Option::Signal), 7);
    EXPECT_EQ(t().Signal().Impairments().EffectivePermille, 1000);
    EXPECT_FALSE(t().Readouts().FadingOptionsShown());
    EXPECT_TRUE(t().AudioOpen());
    EXPECT_TRUE(s->Messages().empty());
    // A "Speed" of 99 restores the last item, and "Display" alone does not set the delay.
    store.Write(keys::Speed, 99);
    store.Write(keys::Display, 5);
    Create();
    EXPECT_EQ(t().Signal().Wpm(), 80);
    EXPECT_EQ(t().Display().Delay(), 0);
}

TEST_F(Session, CountdownShowsEachSecondThenTheClock) {
    store.Write(keys::Pause, 3);
    Create();
    t().Start();
    EXPECT_TRUE(t().CountdownPending());
    EXPECT_FALSE(t().Readouts().CommandsEnabled());
    EXPECT_FALSE(t().Readouts().CharacterCountEditable());

    QStringList seen{Label()};
    std::int64_t firstSound = -1;
    s->afterMessage = [&](int) {
        if (seen.last() != Label())
            seen << Label();
        if (firstSound < 0 && s->device().QueuedCount() > 0)
            firstSound = s->clock().ElapsedMs();
    };
    ASSERT_TRUE(s->RunUntil([&] { return t().SessionActive(); }, 10'000));
    s->RunFor(100);
    EXPECT_EQ(seen, (QStringList{"3", "2", "1", "00:00"}));
    EXPECT_GE(firstSound, 2900);
    EXPECT_LE(firstSound, 3100);
}

TEST_F(Session, StopDuringTheCountdownReturnsToIdleWithoutSound) {
    store.Write(keys::Pause, 5);
    Create();
    t().Start();
    s->RunFor(2000);
    t().Stop();
    ExpectIdleAndSilent();
    s->RunFor(10'000);
    ExpectIdleAndSilent();
}

TEST_F(Session, APauseOfZeroBeginsAtOnceWithPrimedEventsAndTwoBuffersInFlight) {
    Create();
    store.Write(keys::Pause, 0);
    t().Start();
    EXPECT_TRUE(t().SessionActive());
    EXPECT_EQ(Label(), QStringLiteral("00:00"));
    EXPECT_EQ(t().CharactersSent(), -2);
    s->Pump();
    EXPECT_EQ(t().CharactersSent(), 0);
    EXPECT_EQ(s->device().QueuedCount(), 2u);
    EXPECT_EQ(t().Readouts().Status(), QString());
    EXPECT_TRUE(t().Sent().Text().isEmpty());
    s->RunFor(5000);
    EXPECT_EQ(s->device().QueuedCount(), 2u);
    EXPECT_GT(t().CharactersSent(), 0);
    EXPECT_EQ(t().Readouts().Status(), QStringLiteral("  %1 characters sent").arg(t().CharactersSent()));
}

TEST_F(Session, StopWhileRunningGivesTwoMoreEventsAndRevealsOnTheSecond) {
    store.Write(keys::Pause, 0);
    store.Write(keys::DisplayDelay, 4);  // three characters held back
    Create();
    t().Start();
    s->RunFor(3000);
    const int countBefore = t().CharactersSent();
    const QString shownBefore = t().Sent().Text();
    t().Stop();
    EXPECT_TRUE(t().WindingDown());
    EXPECT_FALSE(t().Readouts().CommandsEnabled());  // still a session

    int events = 0;
    QString afterFirst;
    s->afterMessage = [&](int m) {
        if (m != kBufferDone)
            return;
        ++events;
        if (events == 1)
            afterFirst = t().Sent().Text();
    };
    ASSERT_TRUE(s->RunUntilIdle(30'000));
    EXPECT_EQ(events, 2);
    EXPECT_EQ(afterFirst, shownBefore);  // nothing is shown on the first
    EXPECT_EQ(t().CharactersSent(), countBefore + 2);
    // The reveal holds every item heard: the three held back and the two late ones.
    EXPECT_EQ(t().Sent().Text().size(), shownBefore.size() + 3 + 2);
    EXPECT_TRUE(t().Sent().Text().startsWith(shownBefore));
    EXPECT_TRUE(t().Readouts().CommandsEnabled());
    EXPECT_EQ(s->device().QueuedCount(), 0u);
    EXPECT_TRUE(t().FormCloseQuery());
}

TEST_F(Session, OneMinuteSessionStopsOnTheTickThatShowsOneMinute) {
    store.Write(keys::Session, 1);
    store.Write(keys::Pause, 0);
    Create(3, QTime(10, 0, 0, 0));
    t().Start();
    QString labelAtStop;
    s->afterMessage = [&](int) {
        if (labelAtStop.isEmpty() && t().WindingDown())
            labelAtStop = Label();
    };
    ASSERT_TRUE(s->RunUntilIdle(120'000));
    EXPECT_EQ(labelAtStop, QStringLiteral("01:00"));
    EXPECT_GE(s->clock().ElapsedMs(), 60'000);
    EXPECT_LE(s->clock().ElapsedMs(), 60'000 + 30'000);
}

TEST_F(Session, SessionAcrossMidnightKeepsCounting) {
    store.Write(keys::Session, 2);
    store.Write(keys::Pause, 0);
    Create(5, QTime(23, 59, 30));
    t().Start();
    s->RunFor(61'000);
    EXPECT_EQ(Label(), QStringLiteral("01:01"));
    s->clock().SetLocalTimeOfDay(QTime(23, 0, 31));  // the wall clock set back an hour
    s->RunFor(2'000);
    EXPECT_EQ(Label(), QStringLiteral("01:03"));
    EXPECT_TRUE(t().SessionActive());
    ASSERT_TRUE(s->RunUntilIdle(120'000));
    EXPECT_GE(s->clock().ElapsedMs(), 120'000);
    EXPECT_LE(s->clock().ElapsedMs(), 121'000 + 30'000);
}

TEST_F(Session, DelayZeroShowsEachCharacterAsItsBufferIsHeard) {
    store.Write(keys::Pause, 0);
    store.Write(keys::DisplayDelay, 1);
    Create(11);
    t().Start();
    s->Pump();
    const int heard = 6;
    ASSERT_TRUE(s->RunUntil([&] { return t().CharactersSent() >= heard; }, 60'000));
    s->Pump();
    EXPECT_EQ(t().Sent().Text().size(), heard);
    StopAndRunOut();
    EXPECT_EQ(t().Sent().Text().size(), heard + 2);
}

TEST_F(Session, HideShowsTheNoticeUntilTheEnd) {
    store.Write(keys::Pause, 0);
    store.Write(keys::DisplayDelay, 0);
    Create(4);
    t().Start();
    s->RunFor(4000);
    EXPECT_EQ(t().Sent().Lines(), DelayedDisplay::HideNotice());
    StopAndRunOut();
    EXPECT_EQ(t().Sent().Text().size(), t().CharactersSent());
    EXPECT_FALSE(t().Sent().Text().contains(QStringLiteral("reveal")));
}

TEST_F(Session, TheTextFollowsTheSoundCharacterForCharacter) {
    // Each character's text appears once its buffer has been heard: the revealed text,
    // timed by the rules, has exactly the length of what was played.
    store.Write(keys::Pause, 0);
    Create(21);
    std::vector<std::uint8_t> played;
    s->device().SetPlaySink(
        [&](const std::uint8_t* b, std::size_t n) { played.insert(played.end(), b, b + n); });
    t().Start();
    RunAndStop(8000);
    const QString text = t().Sent().Text();
    ASSERT_FALSE(text.isEmpty());
    std::size_t expected = 0;
    for (const std::uint32_t bytes : ExpectedBytes(text, 25))
        expected += bytes;
    EXPECT_EQ(played.size(), expected);
    EXPECT_FALSE(text.startsWith(QLatin1Char(' ')));  // a session begins with a character
}

TEST_F(Session, BuffersAreUsedInTurnAcrossSessions) {
    store.Write(keys::Pause, 0);
    Create();
    std::vector<int> order;
    s->device().SetWriteSink(
        [&](const AudioBufferHeader& header) { order.push_back(static_cast<int>(header.user)); });
    for (int session = 0; session < 2; ++session) {
        t().Start();
        RunAndStop(1500);
    }
    ASSERT_GE(order.size(), 6u);
    for (std::size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(order[i], static_cast<int>(i % 4)) << i;
}

TEST_F(Session, StartIsRefusedWhenNoCharacterOfTheFirstNIsEnabled) {
    store.Write(keys::Session1, ~0x3);
    store.Write(keys::Pause, 0);
    Create();
    t().Start();
    ExpectIdleAndSilent();

    store.Write(keys::Pause, 2);
    t().Start();
    EXPECT_TRUE(t().CountdownPending());
    ASSERT_TRUE(s->RunUntilIdle(10'000));
    ExpectIdleAndSilent();
}

TEST_F(Session, StartWhileASessionRunsOrWindsDownIsIgnored) {
    store.Write(keys::Pause, 0);
    Create();
    t().Start();
    s->RunFor(2000);
    const int writes = s->device().CallCount(VirtualAudioDevice::Call::Write);
    t().Start();
    s->queue().PostMessage(kStartRequestMessage, 0, 0);
    s->Pump();
    EXPECT_EQ(s->device().QueuedCount(), 2u);
    t().Stop();
    t().Stop();  // the second Stop brings the controls back at once
    EXPECT_TRUE(t().Readouts().CommandsEnabled());
    t().Start();  // winding down: still ignored
    ASSERT_TRUE(s->RunUntilIdle(30'000));
    EXPECT_LE(s->device().CallCount(VirtualAudioDevice::Call::Write), writes + 1);
    EXPECT_EQ(s->device().QueuedCount(), 0u);
}

TEST_F(Session, MessagesFromOtherProgramsStartAndStop) {
    store.Write(keys::Pause, 1);
    Create();
    s->queue().PostMessage(kStartRequestMessage, 0, 0);
    ASSERT_TRUE(s->RunUntil([&] { return t().SessionActive(); }, 5000));
    s->RunFor(2000);
    s->queue().PostMessage(kStopRequestMessage, 0, 0);
    s->Pump();
    EXPECT_TRUE(t().WindingDown());
    ASSERT_TRUE(s->RunUntilIdle(30'000));
}

TEST_F(Session, CallbackModeRunsTheSameSession) {
    store.Write(keys::Callback, 1);
    store.Write(keys::Pause, 0);
    Create(9);
    t().Start();
    s->RunFor(4000);
    EXPECT_EQ(s->device().QueuedCount(), 2u);
    EXPECT_GT(t().CharactersSent(), 3);
    StopAndRunOut();
}

TEST_F(Session, CloseDuringASessionOnlyStopsItAndDuringTheCountdownCloses) {
    store.Write(keys::Pause, 0);
    Create();
    t().Start();
    s->RunFor(1000);
    t().Finish();
    EXPECT_FALSE(s->Closed());
    EXPECT_TRUE(t().WindingDown());
    ASSERT_TRUE(s->RunUntilIdle(30'000));
    t().Finish();
    EXPECT_TRUE(s->Closed());
    // The options mirrored by the controls were saved.
    EXPECT_EQ(std::get<qint32>(*store.Raw(QStringLiteral("Setup"), QStringLiteral("Pitch"))), 750);

    store.Write(keys::Pause, 5);
    Create();
    t().Start();
    s->RunFor(1000);
    t().Finish();
    EXPECT_TRUE(s->Closed());
}

TEST_F(Session, WithoutADeviceStartSaysSoOnceAndBeginsNothing) {
    Make();
    s->device().InjectFailure(VirtualAudioDevice::Call::Open, "no sound card");
    s->CreateAndShow();
    ASSERT_EQ(s->Messages().size(), 1u);
    EXPECT_EQ(s->Messages()[0].caption, QStringLiteral("waveOutOpen"));
    EXPECT_EQ(s->Messages()[0].text, test::NoSoundOutputText("no sound card."));

    store.Write(keys::Pause, 0);
    t().Start();
    // Start tries the device again; still none: one message, and no session.
    ASSERT_EQ(s->Messages().size(), 2u);
    EXPECT_EQ(s->Messages()[1].caption, QStringLiteral("waveOutOpen"));
    EXPECT_EQ(s->Messages()[1].text, test::NoSoundOutputText("no sound card."));
    EXPECT_EQ(s->device().CallCount(VirtualAudioDevice::Call::Open), 2);
    ExpectIdleAndSilent();
    s->RunFor(3000);
    EXPECT_EQ(s->Messages().size(), 2u);
    ExpectIdleAndSilent();
}

TEST_F(Session, AWriteFailureShortensThePipelineByOneAndIsToldAfterTheSession) {
    store.Write(keys::Pause, 0);
    Create();
    s->device().InjectFailure(VirtualAudioDevice::Call::Write, "device gone", 1);
    t().Start();
    s->RunFor(3000);
    EXPECT_EQ(s->device().QueuedCount(), 1u);
    EXPECT_TRUE(t().SessionActive());
    EXPECT_TRUE(s->Messages().empty());  // nothing while the session runs
    StopAndRunOut();
    ASSERT_EQ(s->Messages().size(), 1u);
    EXPECT_EQ(s->Messages()[0].caption, QStringLiteral("waveOutWrite"));
    EXPECT_EQ(s->Messages()[0].text, QStringLiteral("Sound output failed during the session: device gone"));
}

TEST_F(Session, ADiskFullStopsTheRecordingWithOneMessageAfterTheSession) {
    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full here";
    store.Write(keys::Pause, 0);
    Create();
    t().ArmWavRecording(std::make_unique<WavFile>(QStringLiteral("/dev/full")));
    t().Start();
    s->RunFor(3000);
    EXPECT_FALSE(t().Recorder().Recording());  // stopped at the first failed write
    EXPECT_TRUE(s->Messages().empty());        // nothing while the session runs
    EXPECT_EQ(s->device().QueuedCount(), 2u);  // the session goes on
    StopAndRunOut();
    ASSERT_EQ(s->Messages().size(), 1u);
    EXPECT_EQ(s->Messages()[0].text, QStringLiteral("The recording /dev/full was stopped: %1")
                                         .arg(QString::fromLocal8Bit(std::strerror(ENOSPC))));
}

TEST_F(Session, TheTranscriptIsWrittenAtTheEndOfTheSession) {
    store.Write(keys::Pause, 0);
    Create();
    const QString path = dir.filePath(QStringLiteral("take.txt"));
    t().SetTranscriptFileName(path);
    t().Start();
    s->RunFor(3000);
    EXPECT_FALSE(QFile::exists(path));
    StopAndRunOut();
    EXPECT_EQ(QString::fromUtf8(test::ReadAll(path)), t().Sent().Text() + QLatin1Char('\n'));
    EXPECT_FALSE(t().Recorder().Armed());
}

TEST_F(Session, SpeedSelectionRelabelsAndResetsTheEffectiveSpeed) {
    Create();
    const auto& r = t().Readouts();
    t().SetCharacterWpm(25);
    EXPECT_EQ(r.EffectiveSpeeds(), (QStringList{"25", "21", "18", "15", "12", "9", "6", "3"}));
    t().SetCharacterWpm(17);  // the speed below: 15
    EXPECT_EQ(r.EffectiveSpeeds(), (QStringList{"15", "13", "11", "9", "7", "5", "3", "1"}));
    EXPECT_FALSE(r.SpeedStepOffered());
    t().SetOption(Option::CharacterSpeed, 1);
    EXPECT_TRUE(r.SpeedStepOffered());
    t().SetOption(Option::EffectiveSpeed, 4);
    EXPECT_FALSE(r.SpeedStepOffered());
    EXPECT_EQ(t().Signal().Impairments().EffectivePermille, 500);
    t().SetOption(Option::CharacterSpeed, 3);
    EXPECT_EQ(t().Options().Get(Option::EffectiveSpeed), 0);
    EXPECT_EQ(t().Signal().Impairments().EffectivePermille, 1000);  // by the speed reaction alone
    EXPECT_TRUE(r.SpeedStepOffered());
    EXPECT_EQ(t().Signal().Wpm(), 30);
}

TEST_F(Session, EffectiveSpeedStretchesEverySymbolOfRandomGroups) {
    store.Write(keys::Pause, 0);
    store.Write(keys::Speed, 1);  // 20 WPM
    store.Write(keys::Delay, 4);  // 1/2
    Create(2);
    std::vector<std::uint32_t> lengths;
    s->device().SetWriteSink([&](const AudioBufferHeader& header) { lengths.push_back(header.length); });
    t().Start();
    s->Pump();
    // The first character is a k or an m: 4+2+... units, each unit stretched to 10584 values.
    ASSERT_FALSE(lengths.empty());
    const int units = static_cast<int>(lengths[0] / 2 / 10584);
    EXPECT_EQ(lengths[0] % (2 * 10584), 0u);
    EXPECT_TRUE(units == 12 || units == 10) << units;  // k: 4+2+4+2 = 12, m: 4+4+2 = 10
}

TEST_F(Session, FavourRecentLeansOnTheNewestCharacter) {
    // With two characters the newer one comes three times in four; with five the
    // probabilities from the newest back are about .457 .257 .157 .090 .040.
    for (const auto& [n, expected] : {std::pair{2, std::vector<double>{0.25, 0.75}},
                                      std::pair{5, std::vector<double>{0.040, 0.090, 0.157, 0.257, 0.457}}}) {
        RandomNumber random(12345);
        RandomGroupSource groups;
        groups.SetFavourRecent(true);
        groups.Begin(random);
        std::vector<int> counts(static_cast<std::size_t>(n) + 1, 0);
        int total = 0;
        for (int i = 0; i < 200'000; ++i) {
            const int symbol = groups.NextGroupSymbol(random, n + 1);
            ASSERT_GE(symbol, 0);
            ASSERT_LE(symbol, n);
            ++counts[static_cast<std::size_t>(symbol)];
            if (symbol != 0)
                ++total;
        }
        for (int k = 1; k <= n; ++k) {
            const double p = expected[static_cast<std::size_t>(k - 1)];
            const double sigma = std::sqrt(p * (1 - p) / total);
            EXPECT_NEAR(static_cast<double>(counts[static_cast<std::size_t>(k)]) / total, p,
                        5 * sigma + 0.002)
                << "n=" << n << " k=" << k;
        }
    }
}

TEST_F(Session, MissTalliesFavourTheMissedAndWithoutThemTheDrawsAreUnchanged) {
    const MorseCharacter space{" ", " "}, k{"k", "-.-"}, m{"m", "--"}, r{"r", ".-."}, s5{"s", "..."},
        u{"u", "..-"};
    // Without tallies (no source, or "Favour Missed" off) the symbols are those drawn
    // before the option existed, favour recent off and on.
    const std::vector<const MorseCharacter*> five = {&space, &k, &m, &r, &s5, &u};
    for (const auto& [recent, expected] : {std::pair{false, "3502051142220413113350113205435310445411"},
                                           std::pair{true, "4405554355015310550325544550335153050545"}}) {
        for (const bool withSource : {false, true}) {
            RandomNumber random(2024);
            RandomGroupSource groups;
            groups.SetFavourRecent(recent);
            if (withSource)
                groups.SetMissTalliesSource([] { return MissTallies{}; });
            groups.Begin(random);
            std::string drawn;
            for (int i = 0; i < 40; ++i)
                drawn += static_cast<char>('0' + groups.NextGroupSymbol(random, five));
            EXPECT_EQ(drawn, expected) << recent << withSource;
        }
    }
    // k missed half the time, m never: 150 against 25 units; with favour recent times
    // the shares 1/2 and 3/2 of the older and the newer.
    for (const auto& [recent, kShare] : {std::pair{false, 150.0 / 175}, std::pair{true, 75.0 / 112.5}}) {
        RandomNumber random(99);
        RandomGroupSource groups;
        groups.SetFavourRecent(recent);
        groups.SetMissTalliesSource([] { return MissTallies{{"k", {20, 10}}, {"m", {20, 0}}}; });
        groups.Begin(random);
        int ks = 0;
        int characters = 0;
        for (int i = 0; i < 40'000; ++i) {
            const int symbol = groups.NextGroupSymbol(random, {&space, &k, &m});
            characters += symbol != 0;
            ks += symbol == 1;
        }
        EXPECT_NEAR(static_cast<double>(ks) / characters, kShare, 0.01) << recent;
    }
}

TEST_F(Session, GroupsHoldOneToEightCharactersEachClosedByOneSpace) {
    RandomNumber random(77);
    RandomGroupSource groups;
    groups.Begin(random);
    std::map<int, int> lengths;
    int run = 0;
    bool previousSpace = true;
    for (int i = 0; i < 50'000; ++i) {
        const int symbol = groups.NextGroupSymbol(random, 41);
        if (symbol == 0) {
            ASSERT_FALSE(previousSpace) << "two word spaces in a row";
            ++lengths[run];
            run = 0;
        } else {
            ++run;
        }
        previousSpace = symbol == 0;
    }
    EXPECT_EQ(lengths.size(), 8u);
    EXPECT_EQ(lengths.begin()->first, 1);
    EXPECT_EQ(lengths.rbegin()->first, 8);
}

}  // namespace
