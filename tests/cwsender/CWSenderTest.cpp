// The sender component driven end to end on a VirtualAudioDevice, a VirtualClock and a
// MessageQueue, in window mode and in callback mode: properties at creation, the
// text -> characters -> pauses -> MorseSent cycle, replacing and resetting the text,
// Stop, Close and reopening with completions still on their way, handlers that call the
// sender back, several senders on one queue, failure paths, and what is heard.
//
// Times: a buffer of n frames is done at the first whole millisecond at or past it.
// At 15 WPM a unit is 3528 frames (80 ms): k 12 units = 42336 frames (960 ms),
// 0 22 units (1760 ms), word space 7 units (560 ms), pause 4 units (320 ms).

#include <gtest/gtest.h>

#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "CWSender/CWCharacterTable.h"
#include "CWSender/CWMorseCode.h"
#include "CWSender/CWSender.h"
#include "morse/Random.h"
#include "audio/Clock.h"
#include "audio/MessageQueue.h"
#include "audio/Messages.h"
#include "audio/VirtualAudioDevice.h"

namespace lumbrel {
namespace {

using Call = VirtualAudioDevice::Call;

constexpr int kUnit = 3528;  // frames at 15 WPM
constexpr std::uint32_t kPauseBytes = 4 * kUnit * 4;
constexpr std::uint32_t kWordSpaceBytes = 7 * kUnit * 4;
constexpr std::uint32_t kKBytes = 169344;
constexpr std::uint32_t kEBytes = 4 * kUnit * 4;
constexpr std::uint32_t kTBytes = 6 * kUnit * 4;
constexpr std::uint32_t kZeroBytes = 22 * kUnit * 4;

struct Shown {
    QString text;
    QString caption;
    TCWSender::MessageIcon icon;
};

std::vector<std::int16_t> LeftChannel(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::int16_t> left;
    left.reserve(bytes.size() / 4);
    for (std::size_t i = 0; i + 3 < bytes.size(); i += 4)
        left.push_back(static_cast<std::int16_t>(bytes[i] | (bytes[i + 1] << 8)));
    return left;
}

// What the renderer makes of `c` on its own (left channel), with the sender's defaults.
std::vector<std::int16_t> Expected(char c, int amplitudeLevel = 16000) {
    CWRenderSettings settings;
    settings.amplitudeLevel = amplitudeLevel;
    RandomNumber random(1);
    CWMorseCode code(CWCharacterTable::ForCharacter(QChar(c)), settings, random);
    std::vector<std::int16_t> buffer(static_cast<std::size_t>(code.Frames()) * 2);
    code.Render(buffer.data(), static_cast<std::size_t>(code.Frames()));
    std::vector<std::int16_t> left;
    for (std::size_t f = 0; f < buffer.size() / 2; ++f)
        left.push_back(buffer[2 * f]);
    return left;
}

bool AllZero(const std::vector<std::int16_t>& v, std::size_t from, std::size_t to) {
    return std::all_of(v.begin() + static_cast<std::ptrdiff_t>(from),
                       v.begin() + static_cast<std::ptrdiff_t>(to), [](std::int16_t x) { return x == 0; });
}

int Peak(const std::vector<std::int16_t>& v, std::size_t from, std::size_t to) {
    int peak = 0;
    for (std::size_t i = from; i < to && i < v.size(); ++i)
        peak = std::max(peak, std::abs(static_cast<int>(v[i])));
    return peak;
}

// One sender on its own virtual device, with counters on its events and a log of
// every completion handed to it.
struct Station {
    Station(VirtualClock& clock, MessageQueue& queue, RandomNumber& random, std::vector<Shown>& shown,
            bool callbacks, TCWSender::BufferAllocator allocator = {})
        : device(clock) {
        sender = std::make_unique<TCWSender>(TCWSender::Dependencies{
            device, queue, random,
            [&shown](const QString& text, const QString& caption, TCWSender::MessageIcon icon) {
                shown.push_back({text, caption, icon});
            },
            std::move(allocator)});
        sender->SetUseCallbacks(callbacks);
        sender->OnStart = [this](TCWSender& s) {
            EXPECT_EQ(&s, sender.get());
            ++starts;
        };
        sender->OnStop = [this](TCWSender& s) {
            EXPECT_EQ(&s, sender.get());
            ++stops;
        };
    }

    // Counts MorseSent and notes when it came; `then` runs inside the handler.
    void CountMorseSent(VirtualClock& clock, std::function<void(TCWSender&)> then = {}) {
        sender->MorseSent = [this, &clock, then](TCWSender& s) {
            ++sent;
            sentAtMs.push_back(clock.ElapsedMs());
            if (then)
                then(s);
        };
    }

    bool Offer(const Message& m) {
        if (m.message == kWaveOutDoneMessage && m.wParam == device.Handle())
            finished.push_back(reinterpret_cast<const AudioBufferHeader*>(m.lParam)->length);
        return sender->HandleMessage(m.message, m.wParam, m.lParam);
    }

    std::vector<std::int16_t> Heard() const { return LeftChannel(device.PlayedBytes()); }

    VirtualAudioDevice device;
    std::unique_ptr<TCWSender> sender;
    int starts = 0;
    int stops = 0;
    int sent = 0;
    std::vector<std::int64_t> sentAtMs;
    std::vector<std::uint32_t> finished;  // byte length of each completion handed over
};

class CWSenderTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        CWMorseCode::SharedPhases() = CWSharedPhases{};
        a = std::make_unique<Station>(clock, queue, random, shown, GetParam());
    }
    void TearDown() override {
        b.reset();
        a.reset();
        CWMorseCode::SharedPhases() = CWSharedPhases{};
    }

    TCWSender& S() { return *a->sender; }

    // The owner's message loop: every message goes to the senders first.
    void Dispatch() {
        while (auto m = queue.TryTake()) {
            if (a && a->Offer(*m))
                continue;
            if (b && b->Offer(*m))
                continue;
            foreign.push_back(*m);
        }
        if (checkTwoQueued && a->sender->Connected()) {
            ASSERT_EQ(a->device.QueuedCount(), 2u) << "at " << clock.ElapsedMs() << " ms";
        }
    }

    // Runs the clock for `ms`, handling messages at every completion on the way.
    void RunMs(std::int64_t ms) {
        const std::int64_t target = clock.ElapsedMs() + ms;
        while (clock.AdvanceToNextDue(target))
            Dispatch();
        clock.AdvanceTo(target);
        Dispatch();
    }

    VirtualClock clock;
    MessageQueue queue;
    RandomNumber random{42};
    std::vector<Shown> shown;
    std::unique_ptr<Station> a;
    std::unique_ptr<Station> b;
    std::vector<Message> foreign;
    bool checkTwoQueued = false;
};

INSTANTIATE_TEST_SUITE_P(BothModes, CWSenderTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& mode) {
                             return mode.param ? std::string("Callback") : std::string("Window");
                         });

// ------------------------------------------------------------------ properties

TEST(CWSenderPropertiesTest, ValuesAtCreationAndTheSignalStrengthTable) {
    VirtualClock clock;
    VirtualAudioDevice device(clock);
    MessageQueue queue;
    RandomNumber random(1);
    TCWSender sender({device, queue, random});
    EXPECT_EQ(sender.SampleRate(), WSampleRate::sr44100);
    EXPECT_FALSE(sender.UseCallbacks());
    EXPECT_TRUE(sender.TextToSend().isEmpty());
    EXPECT_EQ(sender.Pitch(), 550);
    EXPECT_EQ(sender.Speed(), 15);
    EXPECT_FALSE(sender.Connected());
    EXPECT_EQ(sender.Amplitude(), SigStrength::S0);
    EXPECT_EQ(sender.AmplitudeLevel(), 16000);  // never written: not the S0 level
    EXPECT_EQ(sender.Noise(), 0);
    EXPECT_EQ(sender.QRMToneAmplitude(), 0);
    EXPECT_EQ(sender.QRMTonePitch(), 575);
    EXPECT_FALSE(sender.Buzz());
    EXPECT_FALSE(sender.Staccato());
    EXPECT_FALSE(sender.Chirp());
    EXPECT_FALSE(sender.OnStop);
    EXPECT_FALSE(sender.OnStart);
    EXPECT_FALSE(sender.MorseSent);
    EXPECT_EQ(sender.SendPosition(), 0);
    EXPECT_FALSE(device.IsOpen());
    for (int i = 0; i < TCWSender::kBufferCount; ++i)
        EXPECT_FALSE(sender.HasDataArea(i));

    const int levels[] = {0, 117, 234, 468, 937, 1875, 3750, 7500, 10000, 20000};
    for (int s = 9; s >= 0; --s) {
        sender.SetAmplitude(static_cast<SigStrength>(s));
        EXPECT_EQ(sender.Amplitude(), static_cast<SigStrength>(s));
        EXPECT_EQ(sender.AmplitudeLevel(), levels[s]) << "S" << s;
    }
    // Values outside S0..S9 are limited, never read past the table.
    sender.SetAmplitude(static_cast<SigStrength>(42));
    EXPECT_EQ(sender.Amplitude(), SigStrength::S9);
    EXPECT_EQ(sender.AmplitudeLevel(), 20000);
    sender.SetAmplitude(static_cast<SigStrength>(-3));
    EXPECT_EQ(sender.Amplitude(), SigStrength::S0);
    EXPECT_EQ(sender.AmplitudeLevel(), 0);

    sender.SetNoise(12);
    EXPECT_EQ(sender.Noise(), 9);
    sender.SetNoise(-1);
    EXPECT_EQ(sender.Noise(), 0);
    sender.SetNoiseLevel(5);
    EXPECT_EQ(sender.Noise(), 5);

    // Nothing was opened by any of this.
    EXPECT_FALSE(sender.Connected());
    EXPECT_EQ(device.CallCount(Call::Open), 0);
}

TEST(CWSenderPropertiesTest, DestroyingAConnectedSenderClosesItsStreamQuietly) {
    VirtualClock clock;
    VirtualAudioDevice device(clock);
    MessageQueue queue;
    RandomNumber random(1);
    int stops = 0;
    {
        TCWSender sender({device, queue, random});
        sender.OnStop = [&stops](TCWSender&) {
            ++stops;
        };
        sender.SetCodeString(QStringLiteral("k"));
        EXPECT_TRUE(device.IsOpen());
    }
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(stops, 0);
}

// ------------------------------------------------------------------ sending

TEST_P(CWSenderTest, ATextOnAClosedSenderOpensQueuesTwoAndEndsWithMorseSent) {
    a->CountMorseSent(clock);
    S().SetSampleRate(WSampleRate::sr8000);  // stored only: the stream is still 44100 Hz
    S().SetCodeString(QStringLiteral("k"));

    EXPECT_EQ(S().SampleRate(), WSampleRate::sr8000);
    EXPECT_EQ(a->starts, 1);
    EXPECT_TRUE(S().Connected());
    EXPECT_TRUE(a->device.IsOpen());
    EXPECT_EQ(a->device.QueuedCount(), 2u);
    EXPECT_EQ(S().Buffer(0).length, kKBytes);
    EXPECT_EQ(S().Buffer(0).user, TCWSender::kBufferQueued);
    EXPECT_EQ(S().Buffer(1).length, kPauseBytes);
    EXPECT_EQ(S().Buffer(1).user, TCWSender::kBufferEndOfText);
    EXPECT_TRUE(S().TextToSend().isEmpty());
    EXPECT_EQ(S().SendPosition(), 2);

    // The completion of k (960 ms) is posted, not handled, by the device's route.
    const int writes = a->device.CallCount(Call::Write);
    clock.AdvanceTo(960);
    EXPECT_EQ(a->device.CallCount(Call::Write), writes);
    EXPECT_EQ(S().Buffer(0).user, TCWSender::kBufferQueued);
    const std::vector<Message> posted = queue.Drain();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].message, kWaveOutDoneMessage);
    EXPECT_EQ(posted[0].wParam, a->device.Handle());
    EXPECT_EQ(posted[0].lParam, reinterpret_cast<std::intptr_t>(&S().Buffer(0)));
    EXPECT_TRUE(a->Offer(posted[0]));
    EXPECT_EQ(a->device.QueuedCount(), 2u);  // a pause took its place

    checkTwoQueued = true;
    RunMs(2000);
    ASSERT_EQ(a->sent, 1);
    EXPECT_EQ(a->sentAtMs[0], 1280);  // k and the pause carrying the end mark: 56448 frames
    EXPECT_TRUE(foreign.empty());
}

TEST_P(CWSenderTest, MorseSentReArmsAndGroupsAreElevenUnitsApart) {
    a->CountMorseSent(clock, [this](TCWSender& s) {
        if (a->sent == 1)
            s.SetCodeString(QStringLiteral("e"));
    });
    checkTwoQueued = true;
    S().SetCodeString(QStringLiteral("k"));
    RunMs(3000);

    EXPECT_EQ(a->sent, 2);
    EXPECT_EQ(a->sentAtMs, (std::vector<std::int64_t>{1280, 2240}));
    const std::vector<std::int16_t> heard = a->Heard();
    ASSERT_GE(heard.size(), 98784u);
    const std::vector<std::int16_t> k = Expected('k');
    const std::vector<std::int16_t> e = Expected('e');
    EXPECT_TRUE(std::equal(k.begin(), k.end(), heard.begin()));
    // From the end of k's last dash (9 units) to the first frame of e: 3 + 4 + 4 units.
    EXPECT_TRUE(AllZero(heard, 9 * kUnit, 20 * kUnit));
    EXPECT_TRUE(std::equal(e.begin(), e.end(), heard.begin() + 20 * kUnit));
    EXPECT_GT(Peak(heard, 20 * kUnit, 21 * kUnit), 15000);
    EXPECT_TRUE(AllZero(heard, 21 * kUnit, heard.size()));
    EXPECT_EQ(a->finished, (std::vector<std::uint32_t>{kKBytes, kPauseBytes, kPauseBytes, kEBytes,
                                                       kPauseBytes, kPauseBytes, kPauseBytes}));
}

TEST_P(CWSenderTest, EmptyTextStreamsPausesWhenClosedAndOneWordSpaceWhenOpen) {
    a->CountMorseSent(clock);
    checkTwoQueued = true;
    S().SetCodeString(QString());
    EXPECT_TRUE(S().Connected());
    EXPECT_TRUE(S().TextToSend().isEmpty());
    RunMs(2000);
    EXPECT_EQ(a->sent, 0);
    ASSERT_FALSE(a->finished.empty());
    EXPECT_TRUE(std::all_of(a->finished.begin(), a->finished.end(),
                            [](std::uint32_t n) { return n == kPauseBytes; }));

    const std::size_t at = a->finished.size();
    S().SetCodeString(QString());
    EXPECT_EQ(S().TextToSend(), QStringLiteral(" "));
    EXPECT_EQ(a->starts, 2);
    RunMs(2000);
    EXPECT_EQ(a->sent, 1);
    EXPECT_TRUE(S().TextToSend().isEmpty());
    ASSERT_GE(a->finished.size(), at + 4);
    // The two pauses already queued, the word space, the pause with the end mark.
    EXPECT_EQ(std::vector<std::uint32_t>(a->finished.begin() + static_cast<std::ptrdiff_t>(at),
                                         a->finished.begin() + static_cast<std::ptrdiff_t>(at + 4)),
              (std::vector<std::uint32_t>{kPauseBytes, kPauseBytes, kWordSpaceBytes, kPauseBytes}));
    EXPECT_TRUE(AllZero(a->Heard(), 0, a->Heard().size()));
}

TEST_P(CWSenderTest, WithoutAMorseSentHandlerTheTextPlaysOnceAndStays) {
    checkTwoQueued = true;
    S().SetCodeString(QStringLiteral("ke"));
    RunMs(4000);
    EXPECT_EQ(S().TextToSend(), QStringLiteral("ke"));
    EXPECT_GT(S().SendPosition(), 2);
    ASSERT_GE(a->finished.size(), 5u);
    EXPECT_EQ(a->finished[0], kKBytes);
    EXPECT_EQ(a->finished[1], kEBytes);
    EXPECT_TRUE(std::all_of(a->finished.begin() + 2, a->finished.end(),
                            [](std::uint32_t n) { return n == kPauseBytes; }));
    for (int i = 0; i < TCWSender::kBufferCount; ++i)
        EXPECT_NE(S().Buffer(i).user, TCWSender::kBufferEndOfText);
}

TEST_P(CWSenderTest, ANewTextOnAnOpenSenderStartsAfterTheQueuedCharacter) {
    a->CountMorseSent(clock);
    checkTwoQueued = true;
    S().SetCodeString(QStringLiteral("00000"));
    RunMs(1760);  // the first 0 has played; the third is queued
    ASSERT_EQ(a->finished.size(), 1u);
    S().SetCodeString(QStringLiteral("kt"));
    EXPECT_EQ(S().SendPosition(), 0);
    EXPECT_EQ(a->device.QueuedCount(), 2u);  // nothing queued by the call itself
    RunMs(6000);
    ASSERT_GE(a->finished.size(), 6u);
    EXPECT_EQ(
        std::vector<std::uint32_t>(a->finished.begin(), a->finished.begin() + 6),
        (std::vector<std::uint32_t>{kZeroBytes, kZeroBytes, kZeroBytes, kKBytes, kTBytes, kPauseBytes}));
    EXPECT_EQ(a->sent, 1);
}

TEST_P(CWSenderTest, ResetCodeStringGoesOnAtTheSameIndex) {
    a->CountMorseSent(clock);
    // On an empty text it is SetCodeString: the closed sender opens and starts.
    S().ResetCodeString(QStringLiteral("0000"));
    EXPECT_EQ(a->starts, 1);
    EXPECT_EQ(a->device.QueuedCount(), 2u);
    EXPECT_EQ(S().SendPosition(), 2);

    S().ResetCodeString(QStringLiteral("kttt"));
    EXPECT_EQ(a->starts, 1);
    EXPECT_EQ(S().SendPosition(), 2);
    EXPECT_EQ(S().TextToSend(), QStringLiteral("kttt"));
    checkTwoQueued = true;
    RunMs(8000);
    ASSERT_GE(a->finished.size(), 5u);
    EXPECT_EQ(std::vector<std::uint32_t>(a->finished.begin(), a->finished.begin() + 5),
              (std::vector<std::uint32_t>{kZeroBytes, kZeroBytes, kTBytes, kTBytes, kPauseBytes}));
    EXPECT_EQ(a->sent, 1);

    // A shorter text than the index reached ends the text with the next buffer.
    S().SetCodeString(QStringLiteral("eeeee"));
    RunMs(700);
    const int sentBefore = a->sent;
    S().ResetCodeString(QStringLiteral("e"));
    RunMs(1500);
    EXPECT_EQ(a->sent, sentBefore + 1);
}

TEST_P(CWSenderTest, CapitalsPunctuationAndCharactersOutsideTheTable) {
    checkTwoQueued = true;
    a->CountMorseSent(clock);
    S().SetCodeString(QString::fromUtf8("K\xF0\x9F\x98\x80.,k"));  // K, an emoji, ".", ",", k
    RunMs(4000);
    ASSERT_GE(a->finished.size(), 6u);
    EXPECT_EQ(std::vector<std::uint32_t>(a->finished.begin(), a->finished.begin() + 6),
              (std::vector<std::uint32_t>{kKBytes, kWordSpaceBytes, kWordSpaceBytes, kWordSpaceBytes, kKBytes,
                                          kPauseBytes}));
    EXPECT_EQ(a->sent, 1);
    const std::vector<std::int16_t> heard = a->Heard();
    const std::vector<std::int16_t> k = Expected('k');
    EXPECT_TRUE(std::equal(k.begin(), k.end(), heard.begin()));
    const std::size_t secondK = static_cast<std::size_t>(12 + 21) * kUnit;
    EXPECT_TRUE(AllZero(heard, k.size(), secondK));
    EXPECT_TRUE(std::equal(k.begin(), k.end(), heard.begin() + static_cast<std::ptrdiff_t>(secondK)));
}

TEST_P(CWSenderTest, PitchAndSpeedApplyFromTheNextRenderedCharacter) {
    checkTwoQueued = true;
    S().SetCodeString(QStringLiteral("ttt"));
    S().SetPitch(1000);  // t and t are already rendered at 550 Hz
    RunMs(2500);
    const std::vector<std::int16_t> heard = a->Heard();
    auto crossings = [&heard](std::size_t from) {
        int count = 0;
        for (std::size_t i = from + 1; i < from + 4000; ++i)
            if ((heard[i - 1] < 0) != (heard[i] < 0))
                ++count;
        return count;
    };
    EXPECT_NEAR(crossings(4500), 100, 2);               // 550 Hz over 4000 frames
    EXPECT_NEAR(crossings(6 * kUnit + 4500), 100, 2);   // the second t
    EXPECT_NEAR(crossings(12 * kUnit + 4500), 181, 2);  // 1000 Hz

    // Speeds outside 3..705 are clamped: the digit 0 at 3 WPM still fits one buffer.
    S().SetSpeed(0);
    S().SetCodeString(QStringLiteral("0"));
    RunMs(3000);
    bool found = false;
    for (int i = 0; i < TCWSender::kBufferCount; ++i)
        found = found || S().Buffer(i).length == 388080u * 4u;
    EXPECT_TRUE(found);
    EXPECT_EQ(S().Speed(), 0);
    S().SetSpeed(100000);
    S().SetCodeString(QStringLiteral("0"));
    RunMs(20000);
    EXPECT_TRUE(S().Connected());
}

TEST_P(CWSenderTest, LevelsAndSilencingWhatIsQueued) {
    // No MorseSent handler: e, then pauses.
    checkTwoQueued = true;
    S().SetCodeString(QStringLiteral("e"));
    RunMs(600);
    EXPECT_GE(Peak(a->Heard(), 0, kUnit), 15990);  // never written: 16000
    EXPECT_LE(Peak(a->Heard(), 0, kUnit), 16000);

    // Two pauses are queued (320..640 and 640..960 ms); e plays from 960 ms, 0 from 1280.
    S().SetAmplitude(SigStrength::S8);
    S().SetCodeString(QStringLiteral("e0"));
    RunMs(2000);
    const std::size_t heardBefore = a->Heard().size();
    ASSERT_EQ(heardBefore, static_cast<std::size_t>(16) * kUnit);  // up to the end of e

    // S0 zeroes the queued 0 (and the pause behind it) at once.
    S().SetAmplitude(SigStrength::S0);
    EXPECT_EQ(S().AmplitudeLevel(), 0);
    RunMs(3000);
    std::vector<std::int16_t> heard = a->Heard();
    EXPECT_GE(Peak(heard, 12 * kUnit, 13 * kUnit), 9990);
    EXPECT_LE(Peak(heard, 12 * kUnit, 13 * kUnit), 10000);
    EXPECT_GT(heard.size(), heardBefore + 22 * kUnit);
    EXPECT_TRUE(AllZero(heard, heardBefore, heard.size()));

    // Later characters carry the noise bed and no tone; the steady tone is off too.
    S().SetNoise(3);
    S().SetQRMToneAmplitude(1000);
    const std::size_t from = heard.size() + 8 * static_cast<std::size_t>(kUnit);  // after the queued pauses
    S().SetCodeString(QStringLiteral("kkk"));
    RunMs(4000);
    heard = a->Heard();
    ASSERT_GT(heard.size(), from + 10000);
    bool anyNoise = false;
    for (std::size_t i = from; i < heard.size(); ++i) {
        const int v = heard[i];
        ASSERT_EQ(((v - 2400) % 64 + 64) % 64, 0) << "not a pure noise value at frame " << i;
        ASSERT_LE(v, 2400);
        ASSERT_GE(v, -2400 + 64);
        anyNoise = anyNoise || v != 0;
    }
    EXPECT_TRUE(anyNoise);
}

// ------------------------------------------------------------------ stop, close, open

TEST_P(CWSenderTest, StopDropsTheTextAndKeepsTheStreamOnPauses) {
    a->CountMorseSent(clock);
    S().SetCodeString(QStringLiteral("00000"));
    RunMs(1000);  // inside the first 0
    S().Stop();
    EXPECT_TRUE(S().TextToSend().isEmpty());
    EXPECT_EQ(a->stops, 1);
    EXPECT_TRUE(S().Connected());
    EXPECT_EQ(a->device.QueuedCount(), 2u);
    EXPECT_EQ(S().BuffersInUse(), 2);
    EXPECT_EQ(S().Buffer(0).length, kPauseBytes);
    EXPECT_EQ(S().Buffer(1).length, kPauseBytes);
    EXPECT_EQ(queue.Size(), 2u);  // the reset's reports of the two dropped buffers

    checkTwoQueued = true;
    RunMs(5000);
    EXPECT_EQ(a->sent, 0);
    const std::vector<std::int16_t> heard = a->Heard();
    EXPECT_GT(Peak(heard, 0, 44100), 15000);
    EXPECT_TRUE(AllZero(heard, 44100, heard.size()));  // cut at 1000 ms, then pauses

    // With no text, Stop does nothing.
    const int resets = a->device.CallCount(Call::Reset);
    S().Stop();
    EXPECT_EQ(a->stops, 1);
    EXPECT_EQ(a->device.CallCount(Call::Reset), resets);
}

TEST_P(CWSenderTest, CloseReleasesEverythingAndLateCompletionsAreIgnored) {
    a->CountMorseSent(clock);
    S().SetCodeString(QStringLiteral("k0"));
    RunMs(500);
    S().Close();
    EXPECT_FALSE(S().Connected());
    EXPECT_FALSE(a->device.IsOpen());
    EXPECT_EQ(a->stops, 1);
    EXPECT_EQ(S().TextToSend(), QStringLiteral("k0"));
    for (int i = 0; i < TCWSender::kBufferCount; ++i) {
        EXPECT_FALSE(S().HasDataArea(i));
        EXPECT_EQ(S().Buffer(i).user, TCWSender::kBufferFree);
    }
    const int writes = a->device.CallCount(Call::Write);
    RunMs(3000);  // the reset's reports arrive: ignored
    EXPECT_EQ(a->device.CallCount(Call::Write), writes);
    EXPECT_FALSE(S().Connected());
    S().Close();
    S().SetConnected(false);
    EXPECT_EQ(a->stops, 1);
    EXPECT_EQ(a->sent, 0);

    // Reopen while completions of the old stream are still in the queue.
    S().SetCodeString(QStringLiteral("k"));
    clock.Advance(960);  // k done, its report posted but not handled
    ASSERT_EQ(queue.Size(), 1u);
    S().Close();  // the pause's report follows
    S().SetCodeString(QStringLiteral("e"));
    EXPECT_EQ(a->device.QueuedCount(), 2u);
    checkTwoQueued = true;
    Dispatch();  // the two old reports are dropped
    EXPECT_EQ(a->device.QueuedCount(), 2u);
    EXPECT_EQ(S().BuffersInUse(), 2);
    RunMs(2000);
    EXPECT_EQ(a->sent, 1);
    EXPECT_TRUE(foreign.empty());

    // Reopened without sending: old reports must not start the stream.
    checkTwoQueued = false;
    clock.AdvanceTo(*a->device.NextCompletionMs());  // one report posted, not handled
    ASSERT_EQ(queue.Size(), 1u);
    S().Close();
    S().SetConnected(true);
    const int writesBefore = a->device.CallCount(Call::Write);
    Dispatch();
    EXPECT_EQ(a->device.QueuedCount(), 0u);
    EXPECT_EQ(S().BuffersInUse(), 0);
    RunMs(1000);
    EXPECT_TRUE(queue.Empty());
    EXPECT_EQ(a->device.CallCount(Call::Write), writesBefore);
}

TEST_P(CWSenderTest, ConnectedTrueQueuesNothingUntilStopped) {
    a->CountMorseSent(clock);
    S().SetConnected(true);
    EXPECT_TRUE(S().Connected());
    EXPECT_TRUE(a->device.IsOpen());
    for (int i = 0; i < TCWSender::kBufferCount; ++i)
        EXPECT_TRUE(S().HasDataArea(i));
    S().Open();  // already open: nothing happens
    EXPECT_EQ(a->device.CallCount(Call::Open), 1);

    S().SetCodeString(QStringLiteral("k"));
    EXPECT_EQ(S().TextToSend(), QStringLiteral("k"));
    RunMs(2000);
    EXPECT_EQ(a->device.QueuedCount(), 0u);
    EXPECT_TRUE(a->device.PlayedBytes().empty());
    EXPECT_EQ(a->sent, 0);

    S().Stop();  // starts the stream on pauses
    EXPECT_EQ(a->stops, 1);
    EXPECT_EQ(a->device.QueuedCount(), 2u);
    S().SetCodeString(QStringLiteral("e"));
    checkTwoQueued = true;
    RunMs(2000);
    EXPECT_EQ(a->sent, 1);
    checkTwoQueued = false;
    S().SetConnected(false);
    EXPECT_FALSE(a->device.IsOpen());
    EXPECT_EQ(a->stops, 2);
}

// ------------------------------------------------------------------ handlers calling back

TEST_P(CWSenderTest, MorseSentHandlerMayCloseAndReopen) {
    a->CountMorseSent(clock, [this](TCWSender& s) {
        if (a->sent == 1) {
            s.Close();
            s.SetCodeString(QStringLiteral("e"));
        }
    });
    S().SetCodeString(QStringLiteral("k"));
    checkTwoQueued = true;
    RunMs(4000);
    EXPECT_EQ(a->stops, 1);
    EXPECT_EQ(a->sent, 2);
    EXPECT_TRUE(S().Connected());
    EXPECT_EQ(S().BuffersInUse(), 2);
    EXPECT_EQ(a->device.CallCount(Call::Open), 2);
}

TEST_P(CWSenderTest, MorseSentHandlerMayStop) {
    a->CountMorseSent(clock, [](TCWSender& s) {
        s.SetCodeString(QStringLiteral("k"));
        s.Stop();
    });
    S().SetCodeString(QStringLiteral("e"));
    checkTwoQueued = true;
    RunMs(4000);
    EXPECT_EQ(a->sent, 1);
    EXPECT_EQ(a->stops, 1);
    EXPECT_EQ(S().BuffersInUse(), 2);
    EXPECT_TRUE(AllZero(a->Heard(), 4 * kUnit, a->Heard().size()));  // only pauses after e
}

TEST_P(CWSenderTest, OnStopHandlerMayReopenFromClose) {
    a->CountMorseSent(clock);
    S().SetCodeString(QStringLiteral("k"));
    S().OnStop = [](TCWSender& s) {
        s.SetCodeString(QStringLiteral("e"));
    };
    S().Close();
    EXPECT_TRUE(S().Connected());
    EXPECT_TRUE(a->device.IsOpen());
    EXPECT_EQ(a->device.QueuedCount(), 2u);
    checkTwoQueued = true;
    RunMs(2000);
    EXPECT_EQ(a->sent, 1);
    EXPECT_EQ(a->sentAtMs[0], 640);  // e and the end pause of the new opening
}

// ------------------------------------------------------------------ one queue, several owners

TEST_P(CWSenderTest, SendersShareOneQueueWithOtherMessages) {
    b = std::make_unique<Station>(clock, queue, random, shown, !GetParam());
    a->CountMorseSent(clock);
    b->CountMorseSent(clock);
    a->sender->SetCodeString(QStringLiteral("k"));
    b->sender->SetPitch(800);
    b->sender->SetCodeString(QStringLiteral("e"));
    queue.PostMessage(kWaveOutDoneMessage, 0, 0);  // the trainer's primed event
    queue.PostMessage(kBufferDoneMessage, a->device.Handle(), 0);
    EXPECT_FALSE(a->sender->HandleMessage(kDisplayMessage, a->device.Handle(), 0));
    EXPECT_FALSE(a->sender->HandleMessage(kWaveOutDoneMessage, b->device.Handle(), 0));
    // Ours by handle, but not one of our buffers: taken and ignored.
    AudioBufferHeader stranger;
    EXPECT_TRUE(a->sender->HandleMessage(kWaveOutDoneMessage, a->device.Handle(),
                                         reinterpret_cast<std::intptr_t>(&stranger)));
    checkTwoQueued = true;
    RunMs(2000);
    ASSERT_EQ(foreign.size(), 2u);
    EXPECT_EQ(foreign[0].message, kWaveOutDoneMessage);
    EXPECT_EQ(foreign[1].message, kBufferDoneMessage);
    EXPECT_EQ(a->sentAtMs, (std::vector<std::int64_t>{1280}));
    EXPECT_EQ(b->sentAtMs, (std::vector<std::int64_t>{640}));
    EXPECT_EQ(b->device.QueuedCount(), 2u);
    const std::vector<std::int16_t> k = Expected('k');
    const std::vector<std::int16_t> heardA = a->Heard();
    EXPECT_TRUE(std::equal(k.begin(), k.end(), heardA.begin()));
    const std::vector<std::int16_t> heardB = b->Heard();
    EXPECT_GT(Peak(heardB, 0, kUnit), 15000);
    EXPECT_TRUE(AllZero(heardB, kUnit, heardB.size()));
}

// ------------------------------------------------------------------ failures

TEST_P(CWSenderTest, AnOpenFailureIsShownAndTheSenderStallsUntilReopened) {
    a->device.InjectFailure(Call::Open, "No output device here", 1);
    S().SetCodeString(QStringLiteral("k"));
    EXPECT_TRUE(S().Connected());
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0].text, QStringLiteral("No output device here"));
    EXPECT_EQ(shown[0].caption, QStringLiteral("waveOutOpen"));
    for (const std::size_t i : {std::size_t{1}, std::size_t{3}}) {
        EXPECT_EQ(shown[i].text, QStringLiteral("waveOutPrepareHeader Failed"));
        EXPECT_EQ(shown[i].caption, QStringLiteral("Information"));
        EXPECT_EQ(shown[i + 1].text, QString::fromUtf8(AudioErrorText(AudioError::NotOpen)));
        EXPECT_EQ(shown[i + 1].caption, QStringLiteral("waveOutWrite"));
    }
    EXPECT_EQ(S().BuffersInUse(), 2);  // lost until the next opening
    RunMs(3000);
    EXPECT_EQ(shown.size(), 5u);
    EXPECT_TRUE(a->device.PlayedBytes().empty());

    S().Close();
    EXPECT_EQ(a->stops, 1);
    S().SetCodeString(QStringLiteral("k"));
    EXPECT_EQ(a->device.QueuedCount(), 2u);
    EXPECT_EQ(shown.size(), 5u);
}

TEST_P(CWSenderTest, ABufferThatCannotBeAllocatedIsNeverUsed) {
    int calls = 0;
    a.reset();
    a = std::make_unique<Station>(clock, queue, random, shown, GetParam(), [&calls](std::size_t bytes) {
        EXPECT_EQ(bytes, 1764000u);
        return calls++ == 0 ? nullptr : std::unique_ptr<std::int16_t[]>(new std::int16_t[bytes / 2]);
    });
    a->CountMorseSent(clock);
    S().SetCodeString(QStringLiteral("ke"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, QStringLiteral("Cannot Allocate Sound Buffer"));
    EXPECT_EQ(shown[0].caption, QStringLiteral("System Error"));
    EXPECT_EQ(shown[0].icon, TCWSender::MessageIcon::Error);
    EXPECT_FALSE(S().HasDataArea(0));
    EXPECT_EQ(S().Buffer(0).user, TCWSender::kBufferFree);
    EXPECT_EQ(S().Buffer(1).length, kKBytes);
    EXPECT_EQ(S().Buffer(2).length, kEBytes);
    checkTwoQueued = true;
    RunMs(3000);
    EXPECT_EQ(a->sent, 1);
    EXPECT_EQ(S().Buffer(0).user, TCWSender::kBufferFree);
    EXPECT_EQ(shown.size(), 1u);
}

TEST_P(CWSenderTest, NoBuffersAtAllQueuesNothing) {
    a.reset();
    a = std::make_unique<Station>(clock, queue, random, shown, GetParam(),
                                  [](std::size_t) { return std::unique_ptr<std::int16_t[]>(); });
    a->CountMorseSent(clock);
    S().SetCodeString(QStringLiteral("k"));
    EXPECT_EQ(shown.size(), 4u);
    EXPECT_TRUE(S().Connected());
    EXPECT_EQ(a->device.QueuedCount(), 0u);
    EXPECT_EQ(S().BuffersInUse(), 0);
    S().SetAmplitude(SigStrength::S0);  // nothing to silence
    RunMs(1000);
    EXPECT_EQ(a->sent, 0);
    S().Close();
    EXPECT_FALSE(a->device.IsOpen());
}

TEST_P(CWSenderTest, AFailedWriteLosesThatBufferButTheStreamGoesOn) {
    a->CountMorseSent(clock);
    a->device.InjectFailure(Call::Write, "", 1);
    S().SetCodeString(QStringLiteral("ke"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, QString::fromUtf8(AudioErrorText(AudioError::Injected)));
    EXPECT_EQ(shown[0].caption, QStringLiteral("waveOutWrite"));
    EXPECT_EQ(a->device.QueuedCount(), 1u);
    EXPECT_EQ(S().BuffersInUse(), 2);
    RunMs(3000);
    EXPECT_EQ(a->sent, 1);  // k was lost with its buffer; e and the end mark played
    ASSERT_GE(a->finished.size(), 3u);
    EXPECT_EQ(a->finished[0], kEBytes);
    EXPECT_EQ(a->finished[1], kPauseBytes);
    EXPECT_EQ(S().Buffer(0).user, TCWSender::kBufferQueued);  // still lost
    EXPECT_EQ(a->device.QueuedCount(), 1u);
    EXPECT_EQ(shown.size(), 1u);
}

TEST_P(CWSenderTest, AFailedUnprepareIsShownAndHandlingGoesOn) {
    a->CountMorseSent(clock);
    S().SetCodeString(QStringLiteral("k"));
    a->device.InjectFailure(Call::UnprepareHeader, "", 1);
    checkTwoQueued = true;
    RunMs(2000);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, QStringLiteral("waveOutUnprepareHeader Failed"));
    EXPECT_EQ(shown[0].caption, QStringLiteral("Information"));
    EXPECT_EQ(a->sent, 1);
}

}  // namespace
}  // namespace lumbrel
