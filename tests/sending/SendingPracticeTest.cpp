// A spell of sending on an output: the lowest latency and the live sound while it
// lasts, the session latency after; the inputs the options name, and their lines.
#include <gtest/gtest.h>

#include "sending/SendingPractice.h"

using namespace lumbrel;

namespace {

// Records what the practice asks of the output.
class LiveDevice final : public AudioDevice {
public:
    AudioResult Open(const AudioFormat&, AudioNotification) override {
        open = true;
        calls.push_back(lowest ? "open lowest" : "open");
        return AudioResult::Success();
    }
    AudioResult PrepareHeader(AudioBufferHeader&) override { return AudioResult::Success(); }
    AudioResult Write(AudioBufferHeader&) override { return AudioResult::Success(); }
    AudioResult UnprepareHeader(AudioBufferHeader&) override { return AudioResult::Success(); }
    AudioResult Reset() override { return AudioResult::Success(); }
    AudioResult Close() override {
        open = false;
        return AudioResult::Success();
    }
    bool IsOpen() const override { return open; }
    bool UseLowestLatency(bool on) override {
        const bool changed = lowest != on;
        lowest = on;
        return changed && open;
    }
    bool AttachLiveSound(LiveSound* sound) override {
        calls.push_back(sound ? "attach" : "detach");
        return live;
    }

    bool open = true;
    bool lowest = false;
    bool live = true;
    std::vector<std::string> calls;
};

class NamedInput final : public KeyInput {
public:
    NamedInput(QString line, bool starts) : line_(std::move(line)), starts_(starts) {}
    bool Start(KeyEventQueue&) override { return starts_; }
    void Stop() override {}
    QString Status() const override { return line_; }

private:
    QString line_;
    bool starts_;
};

SendingPractice::Inputs Named() {
    SendingPractice::Inputs inputs;
    inputs.serial = [](const QString& device) {
        return std::make_unique<NamedInput>(QStringLiteral("serial ") + device, true);
    };
    inputs.midi = [](const QString&) {
        return std::make_unique<NamedInput>(QStringLiteral("MIDI key: no MIDI key adapter is plugged in."),
                                            false);
    };
    return inputs;
}

TEST(SendingPractice, LowestLatencyAndTheLiveSoundWhileItLasts) {
    LiveDevice device;
    SendingPractice practice(
        device, [&] { (void)device.Open(kTrainerAudioFormat, {}); }, Named());
    SendingOptions options;
    options.serialDevice = QStringLiteral("/dev/ttyUSB0");
    options.midi = true;
    options.ditKey = 50;
    practice.Begin(options, 600);
    EXPECT_EQ(device.calls, (std::vector<std::string>{"open lowest", "attach"}));
    EXPECT_EQ(practice.Keyboard().ContactOf(50), KeyContact::Dit);
    EXPECT_EQ(practice.Sound().CurrentSettings().pitchHz, 600);
    const QStringList lines = practice.Status();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[1], "serial /dev/ttyUSB0");
    EXPECT_EQ(lines[2], "MIDI key: no MIDI key adapter is plugged in.");
    practice.End();
    EXPECT_EQ(device.calls, (std::vector<std::string>{"open lowest", "attach", "detach", "open"}));
    practice.End();  // once only
    EXPECT_EQ(device.calls.size(), 4U);

    // An output without a callback of its own: a line says the sidetone cannot play.
    LiveDevice silent;
    silent.live = false;
    SendingPractice quiet(
        silent, [] {}, Named());
    quiet.Begin(SendingOptions{}, 700);
    EXPECT_EQ(quiet.Status().last(), "This sound output cannot play a sidetone.");
}

}  // namespace
