#pragma once
// Start and stop from other programs (window messages 1034 and 1044),
// through a per-user local socket. The running trainer listens; `lumbrel --start`
// and `lumbrel --stop` connect, send one request line and wait for the answer.
//
// Protocol: the client sends "start\n" or "stop\n"; the trainer posts message 1034
// or 1044 to its window and answers "ok\n"; "busy\n" when it cannot start now
// because its setup dialog is open, "busy drills\n" because its Drills window is,
// "unknown\n" for anything else. "show\n" brings the window to the front. A request
// is one line of at most kMaxRemoteLineBytes bytes; a longer one, or none within
// kRemoteReadTimeoutMs, closes the connection unanswered.
//
// Only this user: the socket lives in a folder of this user's that nobody else may
// write, and both ends check who is at the other (the peer's user id) before they
// believe a reply or obey a request.
#include <QByteArray>
#include <QLocalServer>
#include <QObject>
#include <QPointer>
#include <QString>

#include <deque>
#include <functional>
#include <optional>

#include "audio/Messages.h"

class QLocalSocket;

namespace lumbrel {

// Start and Stop are the start and stop requests; Show brings the running trainer's
// window to the front (a second copy of the program sends it instead of opening).
enum class RemoteCommand { Start, Stop, Show };

// Why a start request is refused now; None: it is taken.
enum class StartRefusal { None, SetupOpen, DrillsOpen };

inline constexpr int kMaxRemoteLineBytes = 64;
inline constexpr int kRemoteReadTimeoutMs = 2000;
// Connections open at once; one more closes the oldest.
inline constexpr int kMaxRemoteConnections = 16;

// The socket of this user: $LUMBREL_CONTROL_SOCKET when set (tests), otherwise
// "lumbrel-<uid>" in the user's runtime folder ($XDG_RUNTIME_DIR) or, where there is
// none (or it is not private), in a folder of the user's own made as Qt makes its
// runtime folder ("runtime-<user>" in the temporary folder, mode 0700), or else
// "lumbrel-runtime" in the user's cache folder. Empty when no private folder can be had.
QString DefaultControlSocketName();

// The socket file that `name` stands for: a name that is no path goes into the private
// folder above; a path too long for a socket becomes a hashed name in its own folder
// (or, when even that is too long, in the private folder).
QString ControlSocketPath(const QString& name);

// The protocol, apart from the socket.
struct RemoteRequest {
    enum class State { Incomplete, Complete, Bad };
    State state = State::Incomplete;
    std::optional<RemoteCommand> command;  // Complete: the request, or none (unknown)
};
// The request in the bytes a connection has brought so far (never more than
// kMaxRemoteLineBytes are looked at).
RemoteRequest ReadRemoteRequest(const QByteArray& received);
const char* RemoteRequestLine(RemoteCommand command);
struct RemoteResult;
// What an answer (the bytes up to the connection's end) means for the client.
RemoteResult ReadRemoteAnswer(const QByteArray& answer);

// UI thread.
class RemoteControlServer final : public QObject {
    Q_OBJECT
public:
    explicit RemoteControlServer(MessageTarget& window, QObject* parent = nullptr);
    ~RemoteControlServer() override;

    // Listens on `name`, for this user only. A socket file left by a run that crashed or
    // was killed is removed first. Fails when another trainer listens there, when
    // something that is not a socket (a user's file) is at that path, which is never
    // removed, or when the socket cannot be made (a folder that is not writable);
    // ErrorText() then says why.
    // Fails as well when the folder is not this user's alone, or when the socket file
    // is another user's or another user's program listens on it.
    bool Listen(const QString& name);
    bool IsListening() const { return server_.isListening(); }
    QString FullServerName() const { return server_.fullServerName(); }
    QString ErrorText() const { return error_; }
    void Close() { server_.close(); }
    // Asked before a start request is passed on; a start is refused ("busy") while it
    // gives a reason, for example while the setup dialog is open.
    void SetStartRefusal(std::function<StartRefusal()> refusal) { startRefusal_ = std::move(refusal); }
    // Run for a "show" request.
    void SetShowRequested(std::function<void()> show) { showRequested_ = std::move(show); }

    // Connections open now (tests).
    int OpenConnections();

private:
    void Accept();
    void Serve(QLocalSocket* socket, QByteArray& received);
    QByteArray Answer(RemoteCommand command);

    MessageTarget& window_;
    QLocalServer server_;
    QString error_;
    std::deque<QPointer<QLocalSocket>> connections_;  // oldest first
    std::function<StartRefusal()> startRefusal_;
    std::function<void()> showRequested_;
};

class MainWindow;
// The trainer's window behind the server: starts refused while its setup dialog or
// Drills window is open, "show" brings it to the front.
void ServeWindow(RemoteControlServer& server, MainWindow& window);

struct RemoteResult {
    bool delivered = false;
    QString error;  // why not, for the user
};

// Any thread with no event loop needed: blocks up to timeoutMs. The request is sent
// only to a socket of this user's in a folder of this user's, behind which a program of
// this user listens.
RemoteResult SendRemoteCommand(const QString& name, RemoteCommand command, int timeoutMs = 3000);

}  // namespace lumbrel
