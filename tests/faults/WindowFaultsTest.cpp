// The sound device failing as the learner meets it in the window, on a virtual device
// and a virtual clock: the message boxes, the Start and Stop buttons, and a session
// that plays once the device works again.
#include <gtest/gtest.h>

#include <QAction>

#include "audio/Clock.h"
#include "audio/VirtualAudioDevice.h"
#include "tests/TestSupport.h"
#include "tests/scoring/QtPrinters.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/Main.h"

namespace lumbrel::test {
namespace {

using Call = VirtualAudioDevice::Call;
const QString kNoDevice = QStringLiteral("No audio output device is available.");

struct SoundFaultsInTheWindow : ::testing::Test {
    VirtualClock clock{1000, QTime(12, 0)};
    VirtualAudioDevice audio{clock};
    FakePrompts prompts;
    SettingsStore store = SettingsStore::InMemory();
    std::unique_ptr<MainWindow> window;  // after the device: closed before it goes

    void Show() {
        store.Write(keys::Pause, 0);
        audio.KeepPlayedBytes(false);
        window = std::make_unique<MainWindow>(MainWindow::Environment{.store = store,
                                                                      .clock = clock,
                                                                      .audio = audio,
                                                                      .seed = 1,
                                                                      .prompts = &prompts,
                                                                      .trayAvailable = [] {
                                                                          return false;
                                                                      }});
        window->show();
        ProcessEvents();
    }
    void Run(int ms) {
        for (int t = 0; t < ms; t += 50) {
            clock.Advance(50);
            if (window->Controls().Enabled(ControlId::Timer1))
                window->trainer().TimerTick();
            ProcessEvents(2);
        }
    }
    QAction* Start() { return window->Action(ControlId::ToolButton3); }
    QAction* Stop() { return window->Action(ControlId::ToolButton4); }

    // Start, three seconds of sound, Stop: it plays and ends with no message.
    void ExpectASessionPlays() {
        const std::size_t shown = prompts.messages.size();
        const int writes = audio.CallCount(Call::Write);
        Start()->trigger();
        ProcessEvents();
        ASSERT_TRUE(window->trainer().SessionActive());
        Run(3000);
        EXPECT_EQ(audio.QueuedCount(), 2u);
        EXPECT_GT(audio.CallCount(Call::Write), writes + 4);
        Stop()->trigger();
        Run(5000);
        EXPECT_FALSE(window->trainer().SessionActive());
        EXPECT_EQ(audio.QueuedCount(), 0u);
        EXPECT_EQ(prompts.messages.size(), shown);
        EXPECT_TRUE(Start()->isEnabled());
    }
};

TEST_F(SoundFaultsInTheWindow, NoDeviceOneMessageAtStartAndOneForEachStartThenAHeadsetPluggedInPlays) {
    audio.InjectFailure(Call::Open, kNoDevice.toStdString());
    Show();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].caption, QStringLiteral("waveOutOpen"));
    EXPECT_EQ(prompts.messages[0].text, NoSoundOutputText(kNoDevice));

    for (int press = 1; press <= 2; ++press) {
        Start()->trigger();
        ProcessEvents();
        ASSERT_EQ(prompts.messages.size(), 1u + press);
        EXPECT_EQ(prompts.messages.back().caption, QStringLiteral("waveOutOpen"));
        EXPECT_EQ(prompts.messages.back().text, NoSoundOutputText(kNoDevice));
        EXPECT_FALSE(window->trainer().SessionActive());
        EXPECT_TRUE(Start()->isEnabled());
        EXPECT_FALSE(Stop()->isEnabled());
        Run(2000);
    }
    EXPECT_EQ(prompts.messages.size(), 3u);
    EXPECT_EQ(prompts.maxDepth, 1);

    audio.ClearFailures();
    ExpectASessionPlays();
    EXPECT_TRUE(window->isVisible());
}

TEST_F(SoundFaultsInTheWindow, ADeviceThatFailsMidSessionEndsItWithOneMessageAndStartWorksAgain) {
    Show();
    ASSERT_TRUE(prompts.messages.empty());
    Start()->trigger();
    ProcessEvents();
    Run(3000);
    ASSERT_EQ(audio.QueuedCount(), 2u);
    audio.InjectFailure(Call::Write, "The sound card is gone.");
    Run(3000);
    EXPECT_FALSE(window->trainer().SessionActive());
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].caption, QStringLiteral("waveOutWrite"));
    EXPECT_EQ(prompts.messages[0].text,
              QStringLiteral("Sound output failed: The sound card is gone.\nThe session was stopped."));
    EXPECT_TRUE(Start()->isEnabled());
    EXPECT_FALSE(Stop()->isEnabled());
    Run(5000);
    EXPECT_EQ(prompts.messages.size(), 1u);

    audio.ClearFailures();
    ExpectASessionPlays();
}

}  // namespace
}  // namespace lumbrel::test
