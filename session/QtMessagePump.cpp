#include "session/QtMessagePump.h"

#include <QCoreApplication>
#include <QEvent>

#include "session/Trainer.h"

namespace lumbrel {
namespace {

const QEvent::Type kMessageEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class MessageEvent final : public QEvent {
public:
    MessageEvent(int m, std::intptr_t w, std::intptr_t l) : QEvent(kMessageEvent), message{m, w, l} {}
    Message message;
};

}  // namespace

QtMessagePump::QtMessagePump(QObject* parent) : QObject(parent) {
    timer_.setInterval(Trainer::kTimerIntervalMs);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (trainer_)
            trainer_->TimerTick();
    });
}

QtMessagePump::~QtMessagePump() = default;

void QtMessagePump::Attach(Trainer* trainer, SessionListener* forward) {
    trainer_ = trainer;
    forward_ = forward;
    routing.SetReceiver(trainer);
}

void QtMessagePump::PostMessage(int message, std::intptr_t wParam, std::intptr_t lParam) {
    QCoreApplication::postEvent(this, new MessageEvent(message, wParam, lParam));
}

void QtMessagePump::OptionChanged(Option option) {
    if (forward_)
        forward_->OptionChanged(option);
}

void QtMessagePump::ReadoutChanged(Readout readout) {
    if (readout == Readout::ClockRunning && trainer_) {
        const bool on = trainer_->Readouts().ClockRunning();
        if (on && !timer_.isActive())
            timer_.start();
        else if (!on)
            timer_.stop();
    }
    if (forward_)
        forward_->ReadoutChanged(readout);
}

bool QtMessagePump::event(QEvent* event) {
    if (event->type() != kMessageEvent)
        return QObject::event(event);
    const Message& m = static_cast<MessageEvent*>(event)->message;
    routing.Deliver(m.message, m.wParam, m.lParam);
    if (afterMessage)
        afterMessage(m.message);
    return true;
}

}  // namespace lumbrel
