// The sound card going away in the middle of playing: PortAudio's default output (ALSA,
// which leads to PulseAudio) plays into a private sound server with a null sink, and
// the test kills or freezes that server while buffers are in flight. Every buffer
// written must still be reported done within a few seconds, the device must say why it
// stopped, and a new stream on a new server must play again; the trainer on top ends
// its session with one message and starts the next one normally.
//
// Real time and a real server: the waits below are the server's and the stream's.
// Skips where pulseaudio cannot be started or PortAudio reaches no output through it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "audio/AudioDevice.h"
#include "audio/Clock.h"
#include "audio/MessageQueue.h"
#include "audio/Messages.h"
#include "audio/PortAudioDevice.h"
#include "morse/LearningOrders.h"
#include "engine/CharacterPlayer.h"
#include "session/TrainerFactory.h"
#include "tests/TestSupport.h"

extern char** environ;

namespace lumbrel {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kFrameRate = 44100;
constexpr std::uint32_t kBytesPerSecond = 4 * kFrameRate;
const char* const kServerGone = "The sound device or sound server went away.";
const char* const kServerHangs = "The sound device has played nothing for 2 seconds.";

// A PulseAudio server of this test only: its own runtime folder, home and socket, so
// that it neither finds nor disturbs another server, with one null sink. The test
// process is pointed at it through the environment, which ALSA's PulseAudio plugin
// reads whenever a stream is opened.
class PrivateSoundServer {
public:
    PrivateSoundServer() {
        const QString runtime = dir_.filePath(QStringLiteral("runtime"));
        QDir().mkpath(runtime + QStringLiteral("/pulse"));
        QDir().mkpath(dir_.filePath(QStringLiteral("home")));
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(runtime + QStringLiteral("/pulse"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        socket_ = (runtime + QStringLiteral("/pulse/native")).toStdString();
        ::setenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit().constData(), 1);
        ::setenv("PULSE_RUNTIME_PATH", (runtime + QStringLiteral("/pulse")).toLocal8Bit().constData(), 1);
        ::setenv("HOME", dir_.filePath(QStringLiteral("home")).toLocal8Bit().constData(), 1);
        ::setenv("PULSE_SERVER", ("unix:" + socket_).c_str(), 1);
        ::unsetenv("PULSE_SINK");
    }
    ~PrivateSoundServer() { Stop(); }

    PrivateSoundServer(const PrivateSoundServer&) = delete;
    PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;

    // Starts the server and waits until it takes connections; false when it does not.
    bool Start() {
        Stop();
        const std::string socketModule =
            "module-native-protocol-unix socket=" + socket_ + " auth-anonymous=1";
        std::vector<std::string> args = {
            "pulseaudio",
            "-n",
            "--daemonize=no",
            "--exit-idle-time=-1",
            "--system=false",
            "--use-pid-file=no",
            "-L",
            socketModule,
            "-L",
            "module-null-sink sink_name=lumbrel_faults rate=44100 channels=2 format=s16le"};
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        const int spawned = ::posix_spawnp(&pid_, "pulseaudio", &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            pid_ = -1;
            return false;
        }
        const auto until = Clock::now() + std::chrono::seconds(10);
        while (Clock::now() < until) {
            if (Accepts())
                return true;
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return false;
            }
            std::this_thread::sleep_for(milliseconds(50));
        }
        return false;
    }

    // Sends a signal to the server: SIGKILL to make it go away, SIGSTOP to make it hang.
    void Signal(int signal) const {
        if (pid_ > 0)
            ::kill(pid_, signal);
    }

    void Stop() {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
        ::unlink(socket_.c_str());
    }

private:
    bool Accepts() const {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return false;
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, socket_.c_str(), sizeof(address.sun_path) - 1);
        const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
        ::close(fd);
        return ok;
    }

    QTemporaryDir dir_;
    std::string socket_;
    pid_t pid_ = -1;
};

#define START_SERVER_OR_SKIP(server)                                                  \
    do {                                                                              \
        if (!(server).Start())                                                        \
            GTEST_SKIP() << "no private pulseaudio server here (package pulseaudio)"; \
    } while (false)

// Skips every test where the private server cannot be started, or where PortAudio
// reaches no output through it (ALSA's PulseAudio plugin missing). Found out once,
// before any test holds the audio system.
class SoundServerLoss : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        PrivateSoundServer server;
        if (!server.Start()) {
            skip_ = "no private pulseaudio server here (package pulseaudio)";
            return;
        }
        MessageQueue queue;
        PortAudioDevice device;
        const AudioResult opened = device.Open(kTrainerAudioFormat, AudioNotification::ToWindow(queue));
        if (!opened)
            skip_ = "PortAudio reaches no output through the sound server: " + opened.Text();
        else
            (void)device.Close();
    }
    void SetUp() override {
        if (!skip_.empty())
            GTEST_SKIP() << skip_;
    }

private:
    static inline std::string skip_;
};

// Buffers of one value each, long enough that several are in flight when the server goes.
struct Buffers {
    explicit Buffers(int count, std::uint32_t bytes)
        : data(static_cast<std::size_t>(count)),
          headers(static_cast<std::size_t>(count)) {
        for (int i = 0; i < count; ++i) {
            auto& values = data[static_cast<std::size_t>(i)];
            values.assign(bytes / 2, static_cast<std::int16_t>(100 * (i + 1)));
            AudioBufferHeader& h = headers[static_cast<std::size_t>(i)];
            h.data = values.data();
            h.length = bytes;
            h.user = i;
        }
    }
    std::vector<std::vector<std::int16_t>> data;
    std::vector<AudioBufferHeader> headers;
};

// Opens the device reporting to `queue` and waits until its stream runs.
::testing::AssertionResult OpenAndRun(PortAudioDevice& device, MessageQueue& queue) {
    const AudioResult opened = device.Open(kTrainerAudioFormat, AudioNotification::ToWindow(queue));
    if (!opened)
        return ::testing::AssertionFailure() << "open: " << opened.Text();
    const auto until = Clock::now() + std::chrono::seconds(10);
    while (device.FramesOutput() < kFrameRate / 4) {
        if (Clock::now() > until)
            return ::testing::AssertionFailure() << "the stream does not run";
        std::this_thread::sleep_for(milliseconds(10));
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult WriteAll(PortAudioDevice& device, Buffers& buffers) {
    for (AudioBufferHeader& h : buffers.headers) {
        const AudioResult prepared = device.PrepareHeader(h);
        const AudioResult written = device.Write(h);
        if (!prepared || !written)
            return ::testing::AssertionFailure() << "write: " << (prepared ? written : prepared).Text();
    }
    return ::testing::AssertionSuccess();
}

// The buffers reported within `limit`, in the order reported.
std::vector<std::intptr_t> TakeReports(MessageQueue& queue, std::size_t count, milliseconds limit) {
    std::vector<std::intptr_t> users;
    const auto until = Clock::now() + limit;
    while (users.size() < count) {
        const auto left = std::chrono::duration_cast<milliseconds>(until - Clock::now());
        if (left.count() <= 0)
            break;
        const std::optional<Message> m = queue.TakeFor(left);
        if (!m)
            break;
        if (m->message == kWaveOutDoneMessage)
            users.push_back(reinterpret_cast<const AudioBufferHeader*>(m->lParam)->user);
    }
    return users;
}

void ExpectAllDone(const Buffers& buffers) {
    for (const AudioBufferHeader& h : buffers.headers) {
        EXPECT_TRUE(h.IsDone()) << "buffer " << h.user;
        EXPECT_FALSE(h.IsQueued()) << "buffer " << h.user;
    }
}

// What the program does with a new server: the same device closed and opened again
// plays and reports as before.
void ExpectPlaysAgainOn(PrivateSoundServer& server, PortAudioDevice& device, MessageQueue& queue) {
    (void)device.Close();
    queue.Drain();
    ASSERT_TRUE(server.Start());
    ASSERT_TRUE(OpenAndRun(device, queue));
    EXPECT_TRUE(device.StreamProblem().empty());
    Buffers again(3, kBytesPerSecond / 5);
    ASSERT_TRUE(WriteAll(device, again));
    EXPECT_EQ(TakeReports(queue, 3, milliseconds(5000)), (std::vector<std::intptr_t>{0, 1, 2}));
    ExpectAllDone(again);
    EXPECT_TRUE(device.Close());
}

TEST_F(SoundServerLoss, EveryBufferInFlightIsReportedWhenTheServerDiesAndANewServerPlays) {
    PrivateSoundServer server;
    START_SERVER_OR_SKIP(server);
    MessageQueue queue;
    PortAudioDevice device;
    ASSERT_TRUE(OpenAndRun(device, queue));

    Buffers buffers(4, kBytesPerSecond);  // four seconds in flight
    ASSERT_TRUE(WriteAll(device, buffers));
    std::this_thread::sleep_for(milliseconds(300));
    server.Signal(SIGKILL);
    const auto killed = Clock::now();
    EXPECT_EQ(TakeReports(queue, 4, milliseconds(3000)), (std::vector<std::intptr_t>{0, 1, 2, 3}));
    EXPECT_LT(Clock::now() - killed, std::chrono::seconds(2)) << "reported before they could have played";
    ExpectAllDone(buffers);

    // The device says why, and refuses more: that is how its owner tells these reports
    // from buffers that were heard.
    EXPECT_EQ(device.StreamProblem(), kServerGone);
    Buffers late(1, kBytesPerSecond / 10);
    ASSERT_TRUE(device.PrepareHeader(late.headers[0]));
    const AudioResult refused = device.Write(late.headers[0]);
    EXPECT_EQ(refused.Error(), AudioError::HostError);
    EXPECT_EQ(refused.Text(), kServerGone);
    EXPECT_FALSE(late.headers[0].IsQueued());
    EXPECT_FALSE(device.Reset());  // nothing left to drop; it returns at once

    ExpectPlaysAgainOn(server, device, queue);
}

TEST_F(SoundServerLoss, AServerThatHangsIsTakenForStoppedAndEveryBufferIsReported) {
    PrivateSoundServer server;
    START_SERVER_OR_SKIP(server);
    MessageQueue queue;
    PortAudioDevice device;
    ASSERT_TRUE(OpenAndRun(device, queue));

    Buffers buffers(3, kBytesPerSecond * 2);  // six seconds in flight
    ASSERT_TRUE(WriteAll(device, buffers));
    std::this_thread::sleep_for(milliseconds(300));
    server.Signal(SIGSTOP);
    const auto frozen = Clock::now();
    const std::vector<std::intptr_t> reported = TakeReports(queue, 3, milliseconds(5000));
    const auto after = Clock::now() - frozen;
    server.Signal(SIGKILL);  // a frozen server would hold up closing the stream
    EXPECT_EQ(reported, (std::vector<std::intptr_t>{0, 1, 2}));
    EXPECT_GE(after, milliseconds(1800)) << "a short pause of the server is no failure";
    ExpectAllDone(buffers);
    EXPECT_EQ(device.StreamProblem(), kServerHangs);
    Buffers late(1, kBytesPerSecond / 10);
    ASSERT_TRUE(device.PrepareHeader(late.headers[0]));
    EXPECT_EQ(device.Write(late.headers[0]).Text(), kServerHangs);

    ExpectPlaysAgainOn(server, device, queue);
}

// ---------------------------------------------------------------- the whole trainer

struct RecordingHost final : TrainerHost {
    struct Shown {
        QString text;
        QString caption;
    };
    void ShowMessage(const QString& text, const QString& caption, MessageKind) override {
        shown.push_back({text, caption});
    }
    void RequestClose() override {}
    std::vector<Shown> shown;
};

// A trainer of the program's making on the machine's clock and PortAudio, its messages
// in a queue of its own and its message boxes in `host`.
struct RealTrainer {
    explicit RealTrainer(std::uint32_t seed, bool countdown = true) {
        if (!countdown)
            store.Write(keys::Pause, 0);
        BuildTrainer(
            wired,
            Trainer::Dependencies{
                .store = store, .clock = clock, .window = queue, .audio = audio, .host = host, .seed = seed},
            TrainerWiring{});
    }
    Trainer& trainer() { return *wired; }

    SettingsStore store = SettingsStore::InMemory();
    SystemClock clock;
    MessageQueue queue;
    PortAudioDevice audio;
    RecordingHost host;
    WiredTrainer wired;
};

// The program's message loop in small: messages as they come, the 50 ms timer.
class Loop {
public:
    Loop(Trainer& trainer, MessageQueue& queue) : trainer_(trainer), queue_(queue) {}

    // Runs until pred() holds or `limit` has passed; whether it holds.
    bool RunUntil(const std::function<bool()>& pred, milliseconds limit) {
        const auto until = Clock::now() + limit;
        auto nextTick = Clock::now() + milliseconds(Trainer::kTimerIntervalMs);
        while (!pred()) {
            const auto now = Clock::now();
            if (now >= until)
                return pred();
            if (now >= nextTick) {
                if (trainer_.Readouts().ClockRunning())
                    trainer_.TimerTick();
                nextTick += milliseconds(Trainer::kTimerIntervalMs);
                continue;
            }
            const auto wait = std::chrono::duration_cast<milliseconds>(std::min(nextTick, until) - now);
            if (const std::optional<Message> m = queue_.TakeFor(std::max(wait, milliseconds(1)))) {
                if (claim && claim(*m))
                    continue;
                trainer_.HandleMessage(m->message, m->wParam, m->lParam);
                if (m->message == kBufferDoneMessage && m->lParam != 0)
                    ++buffersHome;
            }
        }
        return true;
    }
    void RunFor(milliseconds span) {
        RunUntil([] { return false; }, span);
    }

    int buffersHome = 0;
    // Messages that are not the trainer's (a drill's completions): true when taken.
    std::function<bool(const Message&)> claim;

private:
    Trainer& trainer_;
    MessageQueue& queue_;
};

TEST_F(SoundServerLoss, TheTrainerEndsItsSessionWithOneMessageAndTheNextPlaysOnANewServer) {
    PrivateSoundServer server;
    START_SERVER_OR_SKIP(server);
    RealTrainer real(3, false);
    Trainer& trainer = real.trainer();
    auto& queue = real.queue;
    auto& audio = real.audio;
    auto& host = real.host;
    ASSERT_TRUE(trainer.AudioOpen()) << (host.shown.empty() ? std::string()
                                                            : host.shown[0].text.toStdString());
    Loop loop(trainer, queue);
    ASSERT_TRUE(loop.RunUntil([&] { return audio.FramesOutput() >= kFrameRate / 4; }, milliseconds(10'000)));

    trainer.Start();
    ASSERT_TRUE(trainer.SessionActive());
    ASSERT_TRUE(loop.RunUntil([&] { return loop.buffersHome >= 3; }, milliseconds(10'000)));
    ASSERT_TRUE(host.shown.empty());

    server.Signal(SIGKILL);
    ASSERT_TRUE(loop.RunUntil([&] { return !trainer.SessionActive(); }, milliseconds(5000)))
        << "the session waits for buffers that will never come home";
    loop.RunFor(milliseconds(300));  // nothing more comes
    ASSERT_EQ(host.shown.size(), 1u);
    EXPECT_EQ(host.shown[0].caption, QStringLiteral("waveOutWrite"));
    EXPECT_EQ(host.shown[0].text, QStringLiteral("Sound output failed: %1\nThe session was stopped.")
                                      .arg(QString::fromLatin1(kServerGone)));
    EXPECT_EQ(trainer.Engine().InFlight(), 0);
    EXPECT_EQ(trainer.Engine().Pending(), 0);
    EXPECT_TRUE(trainer.Readouts().CommandsEnabled());
    EXPECT_TRUE(trainer.FormCloseQuery());

    // The sound server comes back: the next Start opens a new stream and plays.
    ASSERT_TRUE(server.Start());
    const int homeBefore = loop.buffersHome;
    trainer.Start();
    ASSERT_TRUE(trainer.SessionActive());
    ASSERT_TRUE(loop.RunUntil([&] { return loop.buffersHome >= homeBefore + 3; }, milliseconds(10'000)));
    EXPECT_GT(audio.FramesOutput(), 0u);
    EXPECT_TRUE(audio.StreamProblem().empty());
    trainer.Stop();
    ASSERT_TRUE(loop.RunUntil([&] { return !trainer.SessionActive(); }, milliseconds(10'000)));
    EXPECT_EQ(host.shown.size(), 1u);
    EXPECT_EQ(trainer.Engine().InFlight(), 0);
    trainer.FormClose();
}

// The drills play through the trainer's engine on the same device: after the server
// went away and came back, the next drill plays, as the next session does.
TEST_F(SoundServerLoss, TheNextDrillPlaysOnANewServer) {
    PrivateSoundServer server;
    START_SERVER_OR_SKIP(server);
    RealTrainer real(7);
    Trainer& trainer = real.trainer();
    auto& store = real.store;
    auto& queue = real.queue;
    auto& audio = real.audio;
    ASSERT_TRUE(trainer.AudioOpen());
    CharacterPlayer player(trainer.Engine(), trainer.Signal(), trainer.Options(), trainer.Store());
    Loop loop(trainer, queue);
    loop.claim = [&](const Message& m) {
        return player.TakeMessage(m.message, m.lParam);
    };
    bool heard = false;
    std::string failed;
    player.heard = [&](std::uint32_t) {
        heard = true;
    };
    player.failed = [&](const AudioResult& reason) {
        failed = reason.Text();
    };
    const MorseCharacter* k = nullptr;
    for (const MorseCharacter& c : LearningOrderTable(LearningOrder::Koch))
        if (c.display == QStringLiteral("k"))
            k = &c;
    ASSERT_NE(k, nullptr);
    const auto playOnce = [&] {
        heard = false;
        failed.clear();
        if (!player.Play({k}, {}))
            failed = player.LastError().Text();
        return loop.RunUntil([&] { return heard || !failed.empty(); }, milliseconds(10'000));
    };
    ASSERT_TRUE(playOnce());
    ASSERT_TRUE(heard) << failed;

    server.Signal(SIGKILL);
    ASSERT_TRUE(loop.RunUntil([&] { return !audio.StreamProblem().empty(); }, milliseconds(5000)));
    ASSERT_TRUE(playOnce());
    EXPECT_EQ(failed, kServerGone);

    ASSERT_TRUE(server.Start());
    ASSERT_TRUE(playOnce());
    EXPECT_TRUE(heard) << "the drill after the server came back: " << failed;
    EXPECT_TRUE(audio.StreamProblem().empty());
    const double drillLatency = audio.OutputLatencySeconds();

    // A session in between asks for the longer latency of sessions; the next drill has
    // the short one again.
    store.Write(keys::Pause, 0);
    trainer.Start();
    ASSERT_TRUE(trainer.SessionActive());
    EXPECT_GT(audio.OutputLatencySeconds(), drillLatency + 0.05);
    trainer.Stop();
    ASSERT_TRUE(loop.RunUntil([&] { return !trainer.SessionActive(); }, milliseconds(10'000)));
    ASSERT_TRUE(playOnce());
    EXPECT_TRUE(heard) << failed;
    EXPECT_NEAR(audio.OutputLatencySeconds(), drillLatency, 0.01);
    player.Stop();
    trainer.FormClose();
}

// The program keeps the audio system started from its first moment (PortAudioPreload),
// so the devices it listed then are all it knows, unless it looks again.
TEST_F(SoundServerLoss, NoServerAtTheStartOfTheProgramThenOneForTheNextStart) {
    PrivateSoundServer server;  // not started yet
    PortAudioPreload preload;
    RealTrainer real(5, false);
    Trainer& trainer = real.trainer();
    auto& queue = real.queue;
    auto& host = real.host;
    if (trainer.AudioOpen())
        GTEST_SKIP() << "an output device without the test's sound server";
    ASSERT_EQ(host.shown.size(), 1u);
    EXPECT_EQ(host.shown[0].caption, QStringLiteral("waveOutOpen"));
    EXPECT_EQ(host.shown[0].text, test::NoSoundOutputText("No audio output device is available."));

    trainer.Start();
    ASSERT_EQ(host.shown.size(), 2u);
    EXPECT_EQ(host.shown[1].text, test::NoSoundOutputText("No audio output device is available."));
    EXPECT_FALSE(trainer.SessionActive());
    EXPECT_TRUE(trainer.Readouts().CommandsEnabled());

    START_SERVER_OR_SKIP(server);
    Loop loop(trainer, queue);
    trainer.Start();
    ASSERT_TRUE(trainer.SessionActive()) << host.shown.back().text.toStdString();
    ASSERT_TRUE(loop.RunUntil([&] { return loop.buffersHome >= 3; }, milliseconds(10'000)));
    trainer.Stop();
    ASSERT_TRUE(loop.RunUntil([&] { return !trainer.SessionActive(); }, milliseconds(10'000)));
    EXPECT_EQ(host.shown.size(), 2u);
    trainer.FormClose();
}

}  // namespace
}  // namespace lumbrel
