// Start and stop from other programs through the per-user local socket.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLocalServer>
#include <QPushButton>
#include <QTemporaryDir>

#include <chrono>
#include <future>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "UiTestSupport.h"
#include "audio/MessageQueue.h"
#include "ui/Drills.h"
#include "ui/RemoteControl.h"

namespace lumbrel::test {
namespace {

// Sends from another thread while this one runs the server's event loop.
RemoteResult Send(const QString& name, RemoteCommand command) {
    auto result = std::async(std::launch::async, [&] { return SendRemoteCommand(name, command, 2000); });
    while (result.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
        ProcessEvents(1);
    ProcessEvents();
    return result.get();
}

// A socket file that nobody listens on, as a crashed run leaves it.
void MakeStaleSocket(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray bytes = path.toLocal8Bit();
    ASSERT_LT(static_cast<std::size_t>(bytes.size()), sizeof(address.sun_path));
    std::memcpy(address.sun_path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
    ASSERT_TRUE(QFileInfo::exists(path));
}

TEST(RemoteControl, DefaultNameIsPerUser) {
    qunsetenv("LUMBREL_CONTROL_SOCKET");
    const QString name = DefaultControlSocketName();
    EXPECT_TRUE(name.contains(QString::number(::getuid()))) << name.toStdString();
    // In this test program's own runtime folder, never the learner's: a trainer can
    // serve it here while the learner's own trainer keeps its socket.
    EXPECT_TRUE(name.startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR") + '/')) << name.toStdString();
    MessageQueue queue;
    RemoteControlServer server(queue);
    ASSERT_TRUE(server.Listen(name)) << server.ErrorText().toStdString();
    EXPECT_TRUE(Send(name, RemoteCommand::Start).delivered);
    EXPECT_EQ(queue.Size(), 1u);
    server.Close();
    qputenv("LUMBREL_CONTROL_SOCKET", "/tmp/lumbrel-test-socket");
    EXPECT_EQ(DefaultControlSocketName(), "/tmp/lumbrel-test-socket");
    qunsetenv("LUMBREL_CONTROL_SOCKET");
}

TEST(RemoteControl, StartAndStopBecomeMessages) {
    QTemporaryDir dir;
    const QString name = dir.filePath("control");
    MessageQueue queue;
    RemoteControlServer server(queue);
    ASSERT_TRUE(server.Listen(name)) << server.ErrorText().toStdString();
    // Only this user may connect.
    EXPECT_EQ(QFileInfo(server.FullServerName()).permissions() &
                  (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup | QFile::WriteGroup),
              QFile::Permissions());

    EXPECT_TRUE(Send(name, RemoteCommand::Start).delivered);
    EXPECT_TRUE(Send(name, RemoteCommand::Stop).delivered);
    const std::vector<Message> posted = queue.Drain();
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].message, 1034);
    EXPECT_EQ(posted[1].message, 1044);
}

TEST(RemoteControl, NoTrainerRunning) {
    QTemporaryDir dir;
    const RemoteResult r = SendRemoteCommand(dir.filePath("nobody"), RemoteCommand::Start, 500);
    EXPECT_FALSE(r.delivered);
    EXPECT_TRUE(r.error.contains("no Lumbrel trainer is running"));
}

TEST(RemoteControl, StaleSocketFileIsReplaced) {
    QTemporaryDir dir;
    const QString name = dir.filePath("control");
    MakeStaleSocket(name);
    MessageQueue queue;
    RemoteControlServer server(queue);
    ASSERT_TRUE(server.Listen(name)) << server.ErrorText().toStdString();
    EXPECT_TRUE(Send(name, RemoteCommand::Start).delivered);
    EXPECT_EQ(queue.Size(), 1u);
}

TEST(RemoteControl, SecondTrainerDoesNotTakeTheSocket) {
    QTemporaryDir dir;
    const QString name = dir.filePath("control");
    MessageQueue first;
    MessageQueue second;
    RemoteControlServer a(first);
    RemoteControlServer b(second);
    ASSERT_TRUE(a.Listen(name));
    EXPECT_FALSE(b.Listen(name));
    EXPECT_TRUE(b.ErrorText().contains("already"));
    EXPECT_TRUE(Send(name, RemoteCommand::Stop).delivered);
    EXPECT_EQ(first.Size(), 1u);
    EXPECT_EQ(second.Size(), 0u);
}

TEST(RemoteControl, StartRefusedWhileBusy) {
    const struct {
        StartRefusal refusal;
        const char* said;
    } cases[] = {{StartRefusal::SetupOpen, "(its setup dialog is open)"},
                 {StartRefusal::DrillsOpen, "(its Drills window is open)"}};
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString name = dir.filePath("control");
        MessageQueue queue;
        RemoteControlServer server(queue);
        server.SetStartRefusal([&] { return c.refusal; });
        ASSERT_TRUE(server.Listen(name));
        const RemoteResult r = Send(name, RemoteCommand::Start);
        EXPECT_FALSE(r.delivered);
        EXPECT_TRUE(r.error.endsWith(c.said)) << r.error.toStdString();
        EXPECT_TRUE(Send(name, RemoteCommand::Stop).delivered);
        ASSERT_EQ(queue.Size(), 1u);
    }
}

// --stop ends a drill as Escape does; --start says why it cannot start.
TEST(RemoteControl, StopEndsADrillAndStartSaysTheDrillsWindowIsOpen) {
    QTemporaryDir dir;
    const QString name = dir.filePath("control");
    SettingsStore store = SettingsStore::InMemory();
    store.Write(keys::DrillCharacters, 50);
    WindowRig rig(store);
    rig.window->SetHistoryPath(dir.filePath("history.sqlite"));
    rig.window->show();
    RemoteControlServer server(rig.window->pump());
    ServeWindow(server, *rig.window);
    ASSERT_TRUE(server.Listen(name));
    rig.window->DrillsAction()->trigger();
    DrillsDialog* drills = rig.window->Drills();
    ASSERT_NE(drills, nullptr);
    drills->RecognitionStart()->click();
    rig.Run(500, 10);
    ASSERT_NE(drills->Recognition(), nullptr);
    ASSERT_NE(drills->Recognition()->CurrentState(), RecognitionDrillController::State::Over);

    const RemoteResult start = Send(name, RemoteCommand::Start);
    EXPECT_FALSE(start.delivered);
    EXPECT_EQ(start.error, "the trainer cannot start now (its Drills window is open)");
    EXPECT_TRUE(Send(name, RemoteCommand::Stop).delivered);
    rig.Run(100, 10);
    EXPECT_EQ(drills->Recognition()->CurrentState(), RecognitionDrillController::State::Over);
    EXPECT_FALSE(rig.window->trainer().SessionActive());
}

TEST(RemoteControl, StartsTheWindowsTrainer) {
    QTemporaryDir dir;
    const QString name = dir.filePath("control");
    SettingsStore store = SettingsStore::InMemory();
    store.Write(keys::Pause, 2);
    WindowRig rig(store);
    rig.window->show();
    RemoteControlServer server(rig.window->pump());
    ASSERT_TRUE(server.Listen(name));
    EXPECT_TRUE(Send(name, RemoteCommand::Start).delivered);
    ProcessEvents();
    EXPECT_TRUE(rig.window->trainer().CountdownPending());
    EXPECT_TRUE(Send(name, RemoteCommand::Stop).delivered);
    ProcessEvents();
    EXPECT_FALSE(rig.window->trainer().CountdownPending());
    EXPECT_TRUE(rig.window->Action(ControlId::ToolButton3)->isEnabled());
}

}  // namespace
}  // namespace lumbrel::test
