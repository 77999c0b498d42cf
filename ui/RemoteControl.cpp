#include "ui/RemoteControl.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QPointer>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace lumbrel {
namespace {

constexpr qint64 kMaxRequestBytes = 64;

QString UserId()
{
#ifdef Q_OS_UNIX
    return QString::number(static_cast<qulonglong>(::getuid()));
#else
    QString user = qEnvironmentVariable("USERNAME");
    user.remove(QLatin1Char('\\')).remove(QLatin1Char('/'));
    return user.isEmpty() ? QStringLiteral("user") : user;
#endif
}

#ifdef Q_OS_UNIX
// The file a server name stands for: names that are no path live in the temporary
// folder, as QLocalServer puts them.
QString SocketPath(const QString& name)
{
    if (QDir::isAbsolutePath(name))
        return name;
    return QDir::cleanPath(QDir::tempPath()) + QLatin1Char('/') + name;
}

// What is at `path`: nothing, a socket, or something else (a file, a folder, a link).
enum class PathHolds { Nothing, Socket, SomethingElse };

PathHolds WhatIsAt(const QString& path)
{
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return errno == ENOENT ? PathHolds::Nothing : PathHolds::SomethingElse;
    return S_ISSOCK(status.st_mode) ? PathHolds::Socket : PathHolds::SomethingElse;
}
#endif

}  // namespace

QString DefaultControlSocketName()
{
    const QString overridden = qEnvironmentVariable("LUMBREL_CONTROL_SOCKET");
    if (!overridden.isEmpty())
        return overridden;
    const QString name = QStringLiteral("lumbrel-%1").arg(UserId());
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return QDir(runtime).filePath(name);
    return name;
}

RemoteControlServer::RemoteControlServer(MessageTarget& window, QObject* parent)
    : QObject(parent), window_(window)
{
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &RemoteControlServer::Accept);
}

RemoteControlServer::~RemoteControlServer() = default;

bool RemoteControlServer::Listen(const QString& name)
{
    error_.clear();
    // A trainer that answers owns the name. (Listening with access options replaces
    // an existing socket file, so the check comes first.) A socket file that nobody
    // answers on was left by a run that crashed, and goes.
    {
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(500)) {
            probe.abort();
            error_ = QStringLiteral("another Lumbrel trainer is already listening on %1").arg(name);
            return false;
        }
    }
#ifdef Q_OS_UNIX
    // Only a socket is ours to replace. Anything else at that path may be the user's
    // (listening would rename the new socket over it): it stays, and so does the
    // trainer, without start and stop from other programs.
    const QString path = SocketPath(name);
    switch (WhatIsAt(path)) {
    case PathHolds::Nothing:
        break;
    case PathHolds::Socket:
        QLocalServer::removeServer(name);
        break;
    case PathHolds::SomethingElse:
        error_ = QStringLiteral("%1 is in the way and is not a socket; it was left as it is").arg(path);
        return false;
    }
    if (const QString folder = QFileInfo(path).absolutePath(); !QFileInfo(folder).isDir()) {
        error_ = QStringLiteral("cannot listen on %1: the folder %2 does not exist").arg(name, folder);
        return false;
    }
#else
    QLocalServer::removeServer(name);
#endif
    if (server_.listen(name))
        return true;
    error_ = server_.errorString();
    // Qt names its own function in front of the system's reason; the reason is enough.
    error_.remove(QStringLiteral("QLocalServer::listen: "));
    error_ = QStringLiteral("cannot listen on %1: %2").arg(name, error_);
    return false;
}

void RemoteControlServer::Accept()
{
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QPointer<QLocalSocket> guarded(socket);
        connect(socket, &QLocalSocket::readyRead, this, [this, guarded] {
            if (!guarded)
                return;
            QLocalSocket* s = guarded.data();
            if (!s->canReadLine()) {
                if (s->bytesAvailable() > kMaxRequestBytes)
                    s->abort();
                return;
            }
            const QByteArray request = s->readLine(kMaxRequestBytes).trimmed();
            if (request == "start") {
                if (startAllowed_ && !startAllowed_()) {
                    s->write("busy\n");
                } else {
                    window_.PostMessage(kStartRequestMessage, 0, 0);
                    s->write("ok\n");
                }
            } else if (request == "stop") {
                window_.PostMessage(kStopRequestMessage, 0, 0);
                s->write("ok\n");
            } else if (request == "show" && showRequested_) {
                showRequested_();
                s->write("ok\n");
            } else {
                s->write("unknown\n");
            }
            s->flush();
            s->disconnectFromServer();
        });
    }
}

RemoteResult SendRemoteCommand(const QString& name, RemoteCommand command, int timeoutMs)
{
    RemoteResult result;
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs)) {
        result.error = QStringLiteral("no Lumbrel trainer is running (nothing listens on %1)").arg(name);
        return result;
    }
    socket.write(command == RemoteCommand::Start  ? "start\n"
                 : command == RemoteCommand::Stop ? "stop\n"
                                                  : "show\n");
    if (!socket.waitForBytesWritten(timeoutMs)) {
        result.error = QStringLiteral("the request could not be sent: %1").arg(socket.errorString());
        return result;
    }
    QByteArray answer;
    while (!answer.contains('\n') && socket.waitForReadyRead(timeoutMs))
        answer += socket.readAll();
    answer += socket.readAll();
    answer = answer.trimmed();
    if (answer != "ok") {
        if (answer.isEmpty())
            result.error = QStringLiteral("the trainer did not answer");
        else if (answer == "busy")
            result.error = QStringLiteral("the trainer cannot start now (its setup dialog is open)");
        else
            result.error = QStringLiteral("the trainer refused the request");
        return result;
    }
    result.delivered = true;
    return result;
}

}  // namespace lumbrel
