#pragma once
// Delivers the trainer's window messages and its 50 ms timer through the Qt event
// loop: posts become events on the thread that owns this object (the UI thread),
// handled one at a time, so the trainer never runs twice at once.
#include <QObject>
#include <QTimer>

#include <functional>

#include "audio/Messages.h"
#include "engine/MessageRouting.h"
#include "engine/SessionOptions.h"

namespace lumbrel {

class Trainer;

class QtMessagePump final : public QObject, public MessageTarget, public SessionListener {
    Q_OBJECT
public:
    explicit QtMessagePump(QObject* parent = nullptr);
    ~QtMessagePump() override;

    // UI thread. From now on messages and timer ticks go to the trainer, and changes
    // of its options and read-outs reach `forward` too (the window's binding), when given.
    void Attach(Trainer* trainer, SessionListener* forward = nullptr);

    // Any thread.
    void PostMessage(int message, std::intptr_t wParam, std::intptr_t lParam) override;

    // UI thread: the timer follows the session's clock; every change is forwarded.
    void OptionChanged(Option option) override;
    void ReadoutChanged(Readout readout) override;

    // UI thread: which user of the trainer's engine gets each message.
    MessageRouting routing;

    // Called on the UI thread after each message has been handled.
    std::function<void(int message)> afterMessage;

protected:
    bool event(QEvent* event) override;

private:
    Trainer* trainer_ = nullptr;
    SessionListener* forward_ = nullptr;
    QTimer timer_;
};

}  // namespace lumbrel
