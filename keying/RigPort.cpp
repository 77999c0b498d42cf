#include "keying/RigPort.h"

#include <utility>

namespace lumbrel {

namespace {

QString WithReason(const QString& what, const QString& reason) {
    return reason.isEmpty() ? what : QStringLiteral("%1: %2").arg(what, reason);
}

}  // namespace

RigPort::RigPort(std::unique_ptr<SerialLines> lines) : lines_(std::move(lines)) {}

RigPort::~RigPort() {
    Close();
}

QString RigPort::StandardPortName(int number) {
    if (number < 1)
        return {};
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

QString RigPort::ConfiguredDevice(int port, const QString& portDevice) {
    const QString device = portDevice.trimmed();
    if (!device.isEmpty())
        return device;
    return StandardPortName(port);
}

bool RigPort::Open(const SettingsStore& store) {
    return Open(ConfiguredDevice(store.Read(keys::Port), store.Read(keys::PortDevice)));
}

bool RigPort::Open(const QString& deviceName) {
    Close();
    problem_.clear();
    note_.clear();
    deviceName_ = deviceName.trimmed();
    retry_ = !deviceName_.isEmpty();
    if (deviceName_.isEmpty())
        return false;
    return OpenDevice();
}

bool RigPort::OpenDevice() {
    problem_.clear();
    if (!lines_ || !lines_->Open(deviceName_)) {
        problem_ = WithReason(QStringLiteral("Rig port %1 not opened").arg(deviceName_),
                              lines_ ? lines_->ErrorText() : QString());
        return false;
    }
    open_ = true;
    // Whatever state opening left the lines in, they are down until a session starts.
    QString failure;
    switchable_ = SetLines(false, &failure);
    if (!switchable_)
        problem_ =
            WithReason(QStringLiteral("Rig port %1 cannot switch DTR and RTS").arg(deviceName_), failure);
    return true;
}

void RigPort::Close() {
    retry_ = false;
    if (!open_)
        return;
    if (raised_)
        SetLines(false);
    lines_->Close();
    open_ = false;
    raised_ = false;
}

void RigPort::RaiseRigLines() {
    // Quietly when it still will not open: the learner was told when it first failed.
    if (!open_ && (!retry_ || !OpenDevice()))
        return;
    SwitchDuringSession(true);
}

void RigPort::DropRigLines() {
    if (open_)
        SwitchDuringSession(false);
}

QString RigPort::TakeKeyingNote() {
    QString note;
    note.swap(note_);
    return note;
}

void RigPort::SwitchDuringSession(bool asserted) {
    QString failure;
    bool lost = false;
    if (SetLines(asserted, &failure, &lost))
        return;
    // Lines that never switched fail as they did at opening; that is no news. A device
    // whose lines switched before, or whose driver says it is gone, was unplugged: it is
    // closed (switching it again would only fail again) and opened at the next start.
    if (!lost && !switchable_)
        return;
    note_ = WithReason(QStringLiteral("Keying stopped: rig port %1 failed").arg(deviceName_), failure);
    problem_ = note_;
    lines_->Close();
    open_ = false;
    raised_ = false;
}

bool RigPort::SetLines(bool asserted, QString* failure, bool* lost) {
    // Both lines are switched even when the first refuses.
    const bool dtr = lines_->SetDtr(asserted);
    if (!dtr) {
        if (failure)
            *failure = lines_->ErrorText();
        if (lost && lines_->DeviceLost())
            *lost = true;
    }
    const bool rts = lines_->SetRts(asserted);
    if (!rts) {
        if (failure && failure->isEmpty())
            *failure = lines_->ErrorText();
        if (lost && lines_->DeviceLost())
            *lost = true;
    }
    raised_ = asserted;
    return dtr && rts;
}

}  // namespace lumbrel
