// The control socket's path taken when the trainer starts: by a socket that a killed
// run left behind, by a user's file that is no socket, or in a folder where no socket
// can be made. The trainer either serves the socket or says why it does not, and never
// removes what is not a socket of its own.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <functional>
#include <future>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "audio/MessageQueue.h"
#include "tests/TestSupport.h"
#include "tests/faults/FaultSupport.h"
#include "tests/scoring/QtPrinters.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/RemoteControl.h"

namespace lumbrel {
namespace {

// Sends from another thread while this one runs the server's event loop.
RemoteResult Send(const QString& name, RemoteCommand command) {
    auto result = std::async(std::launch::async, [&] { return SendRemoteCommand(name, command, 2000); });
    while (result.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
        test::ProcessEvents(1);
    test::ProcessEvents();
    return result.get();
}

bool IsSocket(const QString& path) {
    struct stat status {};
    return ::lstat(path.toLocal8Bit().constData(), &status) == 0 && S_ISSOCK(status.st_mode);
}

// A server that tries `name` and is then closed and destroyed, as at the program's end.
struct Attempt {
    bool listened = false;
    QString error;
};
Attempt TryToListen(const QString& name) {
    MessageQueue queue;
    RemoteControlServer server(queue);
    Attempt attempt{server.Listen(name), server.ErrorText()};
    server.Close();
    return attempt;
}

TEST(ControlSocketPath, AFileThatIsNoSocketIsLeftAloneAndStartStopAreOff) {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("control"));
    const QString target = dir.filePath(QStringLiteral("notes.txt"));
    test::WriteAll(target, "73 de the user\n");

    // What is at the path, and how to see that it is still there as it was.
    struct Case {
        const char* what;
        std::function<void()> make;
        std::function<bool()> intact;
    };
    const Case cases[] = {
        {"a plain file", [&] { test::WriteAll(name, "the user's data\n"); },
         [&] {
             return QFileInfo(name).isFile() && test::ReadAll(name) == "the user's data\n";
         }},
        {"a folder",
         [&] {
             QDir().mkpath(name);
             test::WriteAll(name + QStringLiteral("/inside.txt"), "kept\n");
         },
         [&] {
             return test::ReadAll(name + QStringLiteral("/inside.txt")) == "kept\n";
         }},
        {"a link to a file", [&] { QFile::link(target, name); },
         [&] {
             return QFileInfo(name).isSymLink() && test::ReadAll(target) == "73 de the user\n";
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(name);
        QDir(name).removeRecursively();
        c.make();
        ASSERT_TRUE(c.intact());

        const Attempt attempt = TryToListen(name);
        EXPECT_FALSE(attempt.listened);
        EXPECT_EQ(attempt.error,
                  QStringLiteral("%1 is in the way and is not a socket; it was left as it is").arg(name));
        EXPECT_TRUE(c.intact()) << "removed or replaced";
        EXPECT_FALSE(IsSocket(name));
        EXPECT_FALSE(SendRemoteCommand(name, RemoteCommand::Start, 500).delivered);
    }
}

TEST(ControlSocketPath, AFolderWhereNoSocketCanBeMadeIsSaidAndChangesNothing) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("gone/control"));
    Attempt attempt = TryToListen(missing);
    EXPECT_FALSE(attempt.listened);
    EXPECT_EQ(attempt.error, QStringLiteral("cannot listen on %1: the folder %2 does not exist")
                                 .arg(missing, dir.filePath(QStringLiteral("gone"))));

    QTemporaryDir locked;
    const QString folder = locked.path();
    test::WithoutRoot user(folder);
    if (!user.Ok())
        GTEST_SKIP() << "cannot act as an unprivileged user here";
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    const QString name = folder + QStringLiteral("/control");
    attempt = TryToListen(name);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(attempt.listened);
    EXPECT_EQ(
        attempt.error,
        QStringLiteral("cannot listen on %1: %2").arg(name, QString::fromLocal8Bit(std::strerror(EACCES))));
    EXPECT_TRUE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
}

TEST(ControlSocketPath, TheSocketOfAKilledTrainerIsTakenOver) {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("control"));
    const QByteArray path = name.toLocal8Bit();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(static_cast<std::size_t>(path.size()), sizeof(address.sun_path));
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));

    // A child listens on the socket, as a running trainer does, and is killed: it
    // cannot remove its socket file.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const bool ok = fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
                        ::listen(fd, 4) == 0;
        const char byte = ok ? '1' : '0';
        (void)!::write(ready[1], &byte, 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
    ASSERT_EQ(byte, '1');
    {
        // While it lives, it owns the name.
        const Attempt second = TryToListen(name);
        EXPECT_FALSE(second.listened);
        EXPECT_TRUE(second.error.contains(QStringLiteral("already listening")));
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ASSERT_TRUE(IsSocket(name)) << "the killed listener's socket file stays";

    MessageQueue queue;
    RemoteControlServer server(queue);
    ASSERT_TRUE(server.Listen(name)) << server.ErrorText().toStdString();
    EXPECT_TRUE(Send(name, RemoteCommand::Start).delivered);
    EXPECT_TRUE(Send(name, RemoteCommand::Stop).delivered);
    const std::vector<Message> posted = queue.Drain();
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].message, kStartRequestMessage);
    EXPECT_EQ(posted[1].message, kStopRequestMessage);
}

}  // namespace
}  // namespace lumbrel
