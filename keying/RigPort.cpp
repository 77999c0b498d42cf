#include "keying/RigPort.h"

#include <utility>

namespace lumbrel {

namespace {

QString WithReason(const QString& what, const QString& reason)
{
    return reason.isEmpty() ? what : QStringLiteral("%1: %2").arg(what, reason);
}

}  // namespace

RigPort::RigPort(std::unique_ptr<SerialLines> lines) : lines_(std::move(lines)) {}

RigPort::~RigPort() { Close(); }

QString RigPort::StandardPortName(int number)
{
    if (number < 1)
        return {};
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(number);
#else
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#endif
}

QString RigPort::ConfiguredDevice(int port, const QString& portDevice)
{
    const QString device = portDevice.trimmed();
    if (!device.isEmpty())
        return device;
    return StandardPortName(port);
}

bool RigPort::Open(const SettingsStore& store)
{
    return Open(ConfiguredDevice(store.Read(keys::Port), store.Read(keys::PortDevice)));
}

bool RigPort::Open(const QString& deviceName)
{
    Close();
    problem_.clear();
    deviceName_ = deviceName.trimmed();
    if (deviceName_.isEmpty())
        return false;
    if (!lines_ || !lines_->Open(deviceName_)) {
        problem_ = WithReason(QStringLiteral("Rig port %1 not opened").arg(deviceName_),
                              lines_ ? lines_->ErrorText() : QString());
        return false;
    }
    open_ = true;
    // Whatever state opening left the lines in, they are down until a session starts.
    QString failure;
    if (!SetLines(false, &failure))
        problem_ = WithReason(QStringLiteral("Rig port %1 cannot switch DTR and RTS").arg(deviceName_), failure);
    return true;
}

void RigPort::Close()
{
    if (!open_)
        return;
    if (raised_)
        SetLines(false);
    lines_->Close();
    open_ = false;
    raised_ = false;
}

void RigPort::RaiseRigLines()
{
    if (open_)
        SetLines(true);
}

void RigPort::DropRigLines()
{
    if (open_)
        SetLines(false);
}

bool RigPort::SetLines(bool asserted, QString* failure)
{
    // Both lines are switched even when the first refuses. Only Open reports a failure;
    // during sessions they are ignored.
    const bool dtr = lines_->SetDtr(asserted);
    if (!dtr && failure)
        *failure = lines_->ErrorText();
    const bool rts = lines_->SetRts(asserted);
    if (!rts && failure && failure->isEmpty())
        *failure = lines_->ErrorText();
    raised_ = asserted;
    return dtr && rts;
}

}  // namespace lumbrel
