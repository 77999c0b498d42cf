#include "ui/RemoteControl.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>

#include <memory>

#include "ui/Main.h"

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace lumbrel {
namespace {

QString UserId() {
#ifdef Q_OS_UNIX
    return QString::number(static_cast<qulonglong>(::getuid()));
#else
    QString user = qEnvironmentVariable("USERNAME");
    user.remove(QLatin1Char('\\')).remove(QLatin1Char('/'));
    return user.isEmpty() ? QStringLiteral("user") : user;
#endif
}

#ifdef Q_OS_UNIX
// The longest path a socket address holds (its last byte is the terminating zero).
constexpr std::size_t kMaxSocketPathBytes = sizeof(sockaddr_un::sun_path) - 1;

QByteArray Encoded(const QString& path) {
    return QFile::encodeName(path);
}

bool Fits(const QString& path) {
    return static_cast<std::size_t>(Encoded(path).size()) <= kMaxSocketPathBytes;
}

// A folder this user may keep a socket in: a real folder (no link), owned by this
// user, that nobody else may write; `strict` also shuts out reading and entering, as
// a runtime folder is.
bool IsPrivateFolder(const QString& folder, bool strict) {
    struct stat status {};
    if (::lstat(Encoded(folder).constData(), &status) != 0 || !S_ISDIR(status.st_mode))
        return false;
    const mode_t others = strict ? (S_IRWXG | S_IRWXO) : (S_IWGRP | S_IWOTH);
    return status.st_uid == ::geteuid() && (status.st_mode & others) == 0;
}

// The folder, made with mode 0700 when missing, when it is private.
bool MakePrivateFolder(const QString& folder) {
    if (::mkdir(Encoded(folder).constData(), 0700) != 0 && errno != EEXIST)
        return false;
    return IsPrivateFolder(folder, true);
}

QString UserName() {
    if (const passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_name && *entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    return UserId();
}

// The user's private runtime folder; empty when none can be had.
QString PrivateFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && IsPrivateFolder(runtime, true))
        return QDir::cleanPath(runtime);
    // Where Qt keeps its runtime folder without XDG_RUNTIME_DIR; a folder of that name
    // that another user made first is passed over.
    const QString qtRuntime = QDir::cleanPath(QDir::tempPath()) + QStringLiteral("/runtime-") + UserName();
    if (MakePrivateFolder(qtRuntime))
        return qtRuntime;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (!cache.isEmpty() && QDir().mkpath(cache)) {
        const QString own = QDir::cleanPath(cache) + QStringLiteral("/lumbrel-runtime");
        if (MakePrivateFolder(own))
            return own;
    }
    return QString();
}

// What is at `path`: nothing, a socket, or something else (a file, a folder, a link).
enum class PathHolds { Nothing, Socket, SomethingElse };

PathHolds WhatIsAt(const QString& path, uid_t* owner = nullptr, mode_t* mode = nullptr) {
    struct stat status {};
    if (::lstat(Encoded(path).constData(), &status) != 0)
        return errno == ENOENT ? PathHolds::Nothing : PathHolds::SomethingElse;
    if (owner)
        *owner = status.st_uid;
    if (mode)
        *mode = status.st_mode;
    return S_ISSOCK(status.st_mode) ? PathHolds::Socket : PathHolds::SomethingElse;
}

// The user id of the program at the other end of a connected socket.
std::optional<uid_t> PeerUser(qintptr descriptor) {
    ucred credentials{};
    socklen_t length = sizeof(credentials);
    if (descriptor < 0 ||
        ::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0)
        return std::nullopt;
    return credentials.uid;
}

bool PeerIsThisUser(const QLocalSocket& socket) {
    const std::optional<uid_t> peer = PeerUser(socket.socketDescriptor());
    return peer && *peer == ::geteuid();
}

// Why a socket at `path` is not to be trusted with this user's requests; empty when it is.
QString UntrustedSocket(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    if (QFileInfo(folder).isDir() && !IsPrivateFolder(folder, false))
        return QStringLiteral("the folder %1 is not this user's alone").arg(folder);
    uid_t owner = 0;
    if (WhatIsAt(path, &owner) == PathHolds::Socket && owner != ::geteuid())
        return QStringLiteral("%1 belongs to another user").arg(path);
    return QString();
}
#endif

}  // namespace

QString DefaultControlSocketName() {
    const QString overridden = qEnvironmentVariable("LUMBREL_CONTROL_SOCKET");
    if (!overridden.isEmpty())
        return overridden;
    const QString name = QStringLiteral("lumbrel-%1").arg(UserId());
#ifdef Q_OS_UNIX
    const QString folder = PrivateFolder();
    return folder.isEmpty() ? QString() : folder + QLatin1Char('/') + name;
#else
    return name;
#endif
}

QString ControlSocketPath(const QString& name) {
#ifdef Q_OS_UNIX
    if (name.isEmpty())
        return name;
    QString path = name;
    if (!QDir::isAbsolutePath(path)) {
        const QString folder = PrivateFolder();
        if (folder.isEmpty())
            return QString();
        path = folder + QLatin1Char('/') + name;
    }
    path = QDir::cleanPath(path);
    if (Fits(path))
        return path;
    // The same long path always gives the same short name, so that a second copy of the
    // program finds the first.
    const QString hashed =
        QStringLiteral("lumbrel-") +
        QString::fromLatin1(
            QCryptographicHash::hash(Encoded(path), QCryptographicHash::Sha256).toHex().left(20));
    const QString beside = QFileInfo(path).absolutePath() + QLatin1Char('/') + hashed;
    if (Fits(beside))
        return beside;
    const QString folder = PrivateFolder();
    if (!folder.isEmpty() && Fits(folder + QLatin1Char('/') + hashed))
        return folder + QLatin1Char('/') + hashed;
    return path;
#else
    return name;
#endif
}

// --- The protocol ---------------------------------------------------------------------

RemoteRequest ReadRemoteRequest(const QByteArray& received) {
    RemoteRequest request;
    const QByteArray head = received.left(kMaxRemoteLineBytes);
    const qsizetype end = head.indexOf('\n');
    if (end < 0) {
        request.state = received.size() >= kMaxRemoteLineBytes ? RemoteRequest::State::Bad
                                                               : RemoteRequest::State::Incomplete;
        return request;
    }
    request.state = RemoteRequest::State::Complete;
    const QByteArray line = head.left(end).trimmed();
    for (RemoteCommand command : {RemoteCommand::Start, RemoteCommand::Stop, RemoteCommand::Show})
        if (line + '\n' == RemoteRequestLine(command))
            request.command = command;
    return request;
}

const char* RemoteRequestLine(RemoteCommand command) {
    switch (command) {
        case RemoteCommand::Start:
            return "start\n";
        case RemoteCommand::Stop:
            return "stop\n";
        case RemoteCommand::Show:
            return "show\n";
    }
    return "";
}

RemoteResult ReadRemoteAnswer(const QByteArray& received) {
    RemoteResult result;
    const QByteArray answer = received.left(kMaxRemoteLineBytes).trimmed();
    if (answer == "ok")
        result.delivered = true;
    else if (answer.isEmpty())
        result.error = QStringLiteral("the trainer did not answer");
    else if (answer == "busy")
        result.error = QStringLiteral("the trainer cannot start now (its setup dialog is open)");
    else if (answer == "busy drills")
        result.error = QStringLiteral("the trainer cannot start now (its Drills window is open)");
    else
        result.error = QStringLiteral("the trainer refused the request");
    return result;
}

// --- The trainer's end ----------------------------------------------------------------

RemoteControlServer::RemoteControlServer(MessageTarget& window, QObject* parent)
    : QObject(parent),
      window_(window) {
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &RemoteControlServer::Accept);
}

RemoteControlServer::~RemoteControlServer() = default;

bool RemoteControlServer::Listen(const QString& requested) {
    error_.clear();
    const QString name = ControlSocketPath(requested);
    if (name.isEmpty()) {
        error_ = QStringLiteral("there is no folder of this user's alone for the control socket");
        return false;
    }
#ifdef Q_OS_UNIX
    const QString path = name;
    if (const QString folder = QFileInfo(path).absolutePath(); !QFileInfo(folder).isDir()) {
        error_ = QStringLiteral("cannot listen on %1: the folder %2 does not exist").arg(name, folder);
        return false;
    }
    if (const QString untrusted = UntrustedSocket(path); !untrusted.isEmpty()) {
        error_ = QStringLiteral("cannot listen on %1: %2").arg(name, untrusted);
        return false;
    }
#endif
    // A trainer that answers owns the name. (Listening with access options replaces
    // an existing socket file, so the check comes first.) A socket file that nobody
    // answers on was left by a run that crashed, and goes.
    {
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(500)) {
#ifdef Q_OS_UNIX
            const bool ours = PeerIsThisUser(probe);
#else
            const bool ours = true;
#endif
            probe.abort();
            error_ = ours ? QStringLiteral("another Lumbrel trainer is already listening on %1").arg(name)
                          : QStringLiteral("cannot listen on %1: a program of another user listens there")
                                .arg(name);
            return false;
        }
    }
#ifdef Q_OS_UNIX
    // Only a socket is ours to replace. Anything else at that path may be the user's
    // (listening would rename the new socket over it): it stays, and so does the
    // trainer, without start and stop from other programs.
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
#else
    QLocalServer::removeServer(name);
#endif
    if (!server_.listen(name)) {
        error_ = server_.errorString();
        // Qt names its own function in front of the system's reason; the reason is enough.
        error_.remove(QStringLiteral("QLocalServer::listen: "));
        error_ = QStringLiteral("cannot listen on %1: %2").arg(name, error_);
        return false;
    }
#ifdef Q_OS_UNIX
    // The socket made must be this user's alone.
    uid_t owner = 0;
    mode_t mode = 0;
    if (WhatIsAt(path, &owner, &mode) != PathHolds::Socket || owner != ::geteuid() ||
        (mode & (S_IRWXG | S_IRWXO)) != 0) {
        server_.close();
        error_ =
            QStringLiteral("cannot listen on %1: the socket made there is not this user's alone").arg(name);
        return false;
    }
#endif
    return true;
}

int RemoteControlServer::OpenConnections() {
    std::erase_if(connections_, [](const QPointer<QLocalSocket>& s) { return s.isNull(); });
    return static_cast<int>(connections_.size());
}

void RemoteControlServer::Accept() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
#ifdef Q_OS_UNIX
        // Another user's program gets no answer at all.
        if (!PeerIsThisUser(*socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
#endif
        // Connections that say nothing cannot pile up: the oldest gives way, and each
        // has kRemoteReadTimeoutMs for its request.
        while (OpenConnections() >= kMaxRemoteConnections) {
            QLocalSocket* oldest = connections_.front();
            connections_.pop_front();
            oldest->abort();
            oldest->deleteLater();
        }
        connections_.emplace_back(socket);
        socket->setReadBufferSize(kMaxRemoteLineBytes);
        QPointer<QLocalSocket> guarded(socket);
        QTimer::singleShot(kRemoteReadTimeoutMs, socket, [guarded] {
            if (guarded) {
                guarded->abort();
                guarded->deleteLater();
            }
        });
        auto received = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::readyRead, this, [this, guarded, received] {
            if (guarded)
                Serve(guarded.data(), *received);
        });
        if (socket->bytesAvailable() > 0)
            Serve(socket, *received);
    }
}

void RemoteControlServer::Serve(QLocalSocket* socket, QByteArray& received) {
    if (socket->state() != QLocalSocket::ConnectedState)
        return;
    received += socket->read(kMaxRemoteLineBytes - received.size());
    const RemoteRequest request = ReadRemoteRequest(received);
    switch (request.state) {
        case RemoteRequest::State::Incomplete:
            return;
        case RemoteRequest::State::Bad:
            socket->abort();
            socket->deleteLater();
            return;
        case RemoteRequest::State::Complete:
            break;
    }
    socket->write(request.command ? Answer(*request.command) : QByteArray("unknown\n"));
    socket->flush();
    socket->disconnectFromServer();
}

QByteArray RemoteControlServer::Answer(RemoteCommand command) {
    switch (command) {
        case RemoteCommand::Start:
            switch (startRefusal_ ? startRefusal_() : StartRefusal::None) {
                case StartRefusal::SetupOpen:
                    return "busy\n";
                case StartRefusal::DrillsOpen:
                    return "busy drills\n";
                case StartRefusal::None:
                    break;
            }
            window_.PostMessage(kStartRequestMessage, 0, 0);
            return "ok\n";
        case RemoteCommand::Stop:
            window_.PostMessage(kStopRequestMessage, 0, 0);
            return "ok\n";
        case RemoteCommand::Show:
            if (!showRequested_)
                return "unknown\n";
            showRequested_();
            return "ok\n";
    }
    return "unknown\n";
}

void ServeWindow(RemoteControlServer& server, MainWindow& window) {
    server.SetStartRefusal([&window] {
        if (window.Drills())
            return StartRefusal::DrillsOpen;
        return window.SetupOpen() ? StartRefusal::SetupOpen : StartRefusal::None;
    });
    server.SetShowRequested([&window] { window.TrayIcon1Click(); });
}

// --- The client's end -----------------------------------------------------------------

RemoteResult SendRemoteCommand(const QString& requested, RemoteCommand command, int timeoutMs) {
    RemoteResult result;
    const QString name = ControlSocketPath(requested);
    if (name.isEmpty()) {
        result.error = QStringLiteral(
            "no Lumbrel trainer is running (there is no folder of this user's alone "
            "for its control socket)");
        return result;
    }
#ifdef Q_OS_UNIX
    if (const QString untrusted = UntrustedSocket(name); !untrusted.isEmpty()) {
        result.error = QStringLiteral("the request was not sent: %1").arg(untrusted);
        return result;
    }
#endif
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs)) {
        result.error = QStringLiteral("no Lumbrel trainer is running (nothing listens on %1)").arg(name);
        return result;
    }
#ifdef Q_OS_UNIX
    if (!PeerIsThisUser(socket)) {
        socket.abort();
        result.error =
            QStringLiteral("the request was not sent: a program of another user listens on %1").arg(name);
        return result;
    }
#endif
    socket.write(RemoteRequestLine(command));
    if (!socket.waitForBytesWritten(timeoutMs)) {
        result.error = QStringLiteral("the request was not sent: %1").arg(socket.errorString());
        return result;
    }
    QByteArray answer;
    while (!answer.contains('\n') && answer.size() < kMaxRemoteLineBytes &&
           socket.waitForReadyRead(timeoutMs))
        answer += socket.read(kMaxRemoteLineBytes - answer.size());
    answer += socket.read(kMaxRemoteLineBytes - answer.size());
    return ReadRemoteAnswer(answer);
}

}  // namespace lumbrel
