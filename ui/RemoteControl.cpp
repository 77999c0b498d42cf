#include "ui/RemoteControl.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QPointer>

#ifdef Q_OS_UNIX
#include <unistd.h>
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
    QLocalServer::removeServer(name);
    if (server_.listen(name))
        return true;
    error_ = server_.errorString();
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
