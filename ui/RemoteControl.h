#pragma once
// Start and stop from other programs (window messages 1034 and 1044),
// through a per-user local socket. The running trainer listens; `lumbrel --start`
// and `lumbrel --stop` connect, send one request line and wait for the answer.
//
// Protocol: the client sends "start\n" or "stop\n"; the trainer posts message 1034
// or 1044 to its window and answers "ok\n"; "busy\n" when it cannot start now,
// "unknown\n" for anything else. "show\n" brings the window to the front.
#include <QLocalServer>
#include <QObject>
#include <QString>

#include <functional>

#include "audio/Messages.h"

namespace lumbrel {

// Start and Stop are the start and stop requests; Show brings the running trainer's
// window to the front (a second copy of the program sends it instead of opening).
enum class RemoteCommand { Start, Stop, Show };

// The socket of this user: $LUMBREL_CONTROL_SOCKET when set (tests), otherwise
// "lumbrel-<uid>" in the user's runtime folder ($XDG_RUNTIME_DIR), or in the
// temporary folder where there is none.
QString DefaultControlSocketName();

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
    bool Listen(const QString& name);
    bool IsListening() const { return server_.isListening(); }
    QString FullServerName() const { return server_.fullServerName(); }
    QString ErrorText() const { return error_; }
    void Close() { server_.close(); }
    // Asked before a start request is passed on; a start is refused ("busy") while it
    // returns false, for example while the setup dialog is open.
    void SetStartAllowed(std::function<bool()> allowed) { startAllowed_ = std::move(allowed); }
    // Run for a "show" request.
    void SetShowRequested(std::function<void()> show) { showRequested_ = std::move(show); }

private:
    void Accept();

    MessageTarget& window_;
    QLocalServer server_;
    QString error_;
    std::function<bool()> startAllowed_;
    std::function<void()> showRequested_;
};

struct RemoteResult {
    bool delivered = false;
    QString error;  // why not, for the user
};

// Any thread with no event loop needed: blocks up to timeoutMs.
RemoteResult SendRemoteCommand(const QString& name, RemoteCommand command, int timeoutMs = 3000);

}  // namespace lumbrel
