// The interfering stations on virtual devices of their own: where they sit beside the
// main signal, how fast they send, their groups, and what they do without devices.
#include <gtest/gtest.h>

#include <set>

#include "audio/Clock.h"
#include "audio/MessageQueue.h"
#include "audio/Messages.h"
#include "audio/VirtualAudioDevice.h"
#include "morse/MorseCharacter.h"
#include "morse/Random.h"
#include "engine/QrmStations.h"

namespace lumbrel {
namespace {

class QrmStationsTest : public ::testing::Test {
protected:
    QrmStations::Dependencies Deps(bool withDevices) {
        return {.devices = withDevices ? std::array<AudioDevice*, 2>{&first, &second}
                                       : std::array<AudioDevice*, 2>{},
                .window = window,
                .random = random,
                .characters = [this]() -> const std::vector<const MorseCharacter*>& { return list; },
                .messageBox = [this](const QString& text, const QString&,
                                     TCWSender::MessageIcon) { boxes << text; },
                .groupSent =
                    [this](int station) {
                        sent.push_back(station);
                    }};
    }
    // Hands the stations their completions until `until` is true or a minute has passed.
    template <typename Until>
    void Run(QrmStations& qrm, Until until) {
        while (!until() && clock.ElapsedMs() < 60'000 && clock.AdvanceToNextDue())
            for (const Message& m : window.Drain())
                EXPECT_TRUE(qrm.HandleMessage(m.message, m.wParam, m.lParam));
    }

    VirtualClock clock;
    VirtualAudioDevice first{clock};
    VirtualAudioDevice second{clock};
    MessageQueue window;
    RandomNumber random{5};
    MorseCharacter e{"E", "."}, t{"T", "-"}, ar{"AR", ".-.-."}, unnamed{"", "..--"};
    std::vector<const MorseCharacter*> list{&e, &t, &ar, &unnamed};
    QStringList boxes;
    std::vector<int> sent;
};

TEST_F(QrmStationsTest, StationsSitBesideThePitchAndNearTheSpeed) {
    QrmStations qrm(Deps(true));
    const struct {
        int pitch, wpm;
        int pitches[2];
        int speed;
    } cases[] = {
        {699, 5, {849, 799}, 15},  {700, 19, {550, 600}, 29}, {400, 20, {550, 500}, 15},
        {900, 30, {750, 800}, 25}, {650, 31, {800, 750}, 30}, {650, 60, {800, 750}, 30},
    };
    for (const auto& c : cases) {
        qrm.Start(c.pitch, c.wpm);
        for (int i : {0, 1}) {
            EXPECT_EQ(qrm.Station(i)->Pitch(), c.pitches[i]) << c.pitch << " Hz, station " << i;
            EXPECT_EQ(qrm.Station(i)->Speed(), c.speed) << c.wpm << " WPM";
            EXPECT_TRUE(qrm.Station(i)->Connected());
        }
        qrm.Close();
        EXPECT_FALSE(qrm.Station(0)->Connected());
        EXPECT_FALSE(qrm.Station(1)->Connected());
    }
}

TEST_F(QrmStationsTest, EachStationTellsItsGroupSentAndSendsAnotherWhenRearmed) {
    QrmStations qrm(Deps(true));
    qrm.Start(600, 40);
    Run(qrm, [&] { return sent.size() >= 2; });
    ASSERT_EQ(std::multiset<int>(sent.begin(), sent.end()), (std::multiset<int>{0, 1}));
    EXPECT_GT(first.CallCount(VirtualAudioDevice::Call::Write), 0);
    EXPECT_GT(second.CallCount(VirtualAudioDevice::Call::Write), 0);
    qrm.Rearm(1);
    Run(qrm, [&] { return sent.size() >= 3; });
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent.back(), 1);
    qrm.Close();
    EXPECT_FALSE(qrm.HandleMessage(kDisplayMessage, 0, 0));  // not theirs
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(QrmStationsTest, GroupsAreOneToEightFirstCharactersOfTheList) {
    for (const bool empty : {false, true}) {
        if (empty)
            list.clear();
        QrmStations qrm(Deps(false));
        std::set<int> lengths;
        std::set<QChar> characters;
        for (int i = 0; i < 400; ++i) {
            const QString group = qrm.RandomGroup();
            lengths.insert(static_cast<int>(group.size()));
            for (QChar c : group)
                characters.insert(c);
        }
        EXPECT_EQ(lengths, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8}));
        const std::set<QChar> drawn = empty ? std::set<QChar>{QChar(' ')}
                                            : std::set<QChar>{QChar('E'), QChar('T'), QChar('A'), QChar(' ')};
        EXPECT_EQ(characters, drawn);
        // Without devices there are no stations, and nothing fails.
        EXPECT_EQ(qrm.Station(0), nullptr);
        qrm.Start(600, 20);
        qrm.Rearm(0);
        EXPECT_FALSE(qrm.HandleMessage(kWaveOutDoneMessage, 0, 0));
        qrm.Close();
    }
}

}  // namespace
}  // namespace lumbrel
