#pragma once
// The signals with which a desktop, a terminal or a user ends a program: SIGTERM
// (logout, shutdown, `kill PID`), SIGHUP (the terminal closed) and SIGINT (Ctrl+C).
// They reach the event loop through a self-pipe: the handler only writes the signal's
// number into the pipe and puts the signal's default action back, so that a second one
// ends the program at once; a socket notifier on the pipe's other end emits Requested
// on the UI thread, where the program closes as its Exit command does.
//
// One object at a time; UI thread.
#include <QObject>

class QSocketNotifier;

namespace lumbrel {

class QuitSignals final : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(QObject* parent = nullptr);
    // Puts back the actions the signals had before.
    ~QuitSignals() override;

    // Whether the handlers are in place (a pipe could be made).
    bool Installed() const { return notifier_ != nullptr; }

Q_SIGNALS:
    void Requested(int signal);

private:
    void Drain();

    int pipe_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace lumbrel
