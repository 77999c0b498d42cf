#include "keying/RigPort.h"

#include <utility>

namespace lumbrel {

namespace {

QString WithReason(const QString& what, const QString& reason) {
    return reason.isEmpty() ? what : QStringLiteral("%1: %2").arg(what, reason);
}

}  // namespace

// The lines while they are lent: each call goes through the port and its mutex.
class RigPort::Loan final : public RigLines {
public:
    Loan(RigPort& port, QString device) : port_(port), device_(std::move(device)) {}
    ~Loan() override { port_.GiveBack(); }
    bool Key(bool asserted, QString* failure) override { return port_.KeyLent(asserted, failure); }
    QString DeviceName() const override { return device_; }

private:
    RigPort& port_;
    const QString device_;
};

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
    const std::lock_guard lock(mutex_);
    return OpenLocked(deviceName);
}

bool RigPort::OpenLocked(const QString& deviceName) {
    CloseLocked();
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
    const std::lock_guard lock(mutex_);
    CloseLocked();
}

void RigPort::CloseLocked() {
    retry_ = false;
    lent_ = false;  // a loan's Key fails from now on
    if (!open_)
        return;
    if (raised_)
        SetLines(false);
    lines_->Close();
    open_ = false;
    raised_ = false;
}

bool RigPort::IsOpen() const {
    const std::lock_guard lock(mutex_);
    return open_;
}

QString RigPort::DeviceName() const {
    const std::lock_guard lock(mutex_);
    return deviceName_;
}

bool RigPort::LinesRaised() const {
    const std::lock_guard lock(mutex_);
    return raised_;
}

QString RigPort::Problem() const {
    const std::lock_guard lock(mutex_);
    return problem_;
}

void RigPort::RaiseRigLines() {
    const std::lock_guard lock(mutex_);
    if (lent_) {
        note_ = QStringLiteral("Keying busy: rig port %1 is keyed by the sending practice").arg(deviceName_);
        return;
    }
    // Quietly when it still will not open: the learner was told when it first failed.
    if (!open_ && (!retry_ || !OpenDevice()))
        return;
    SwitchDuringSession(true);
}

void RigPort::DropRigLines() {
    const std::lock_guard lock(mutex_);
    if (open_ && !lent_)
        SwitchDuringSession(false);
}

std::unique_ptr<RigLines> RigPort::LendLines(QString* why) {
    const std::lock_guard lock(mutex_);
    QString reason;
    QString failure;
    if (lent_) {
        reason = QStringLiteral("rig port %1 is lent already").arg(deviceName_);
    } else if (deviceName_.isEmpty()) {
        reason = QStringLiteral("no rig port is set (Setup, \"Port\")");
    } else if (!open_ && (!retry_ || !OpenDevice())) {
        reason = problem_.isEmpty() ? QStringLiteral("rig port %1 is closed").arg(deviceName_) : problem_;
    } else if (!SetLines(false, &failure)) {
        // Lines that never switched key nothing; lines that switched before and fail now
        // belong to a device that went away: it is closed, to be opened again later.
        if (switchable_) {
            problem_ = WithReason(QStringLiteral("Rig port %1 failed").arg(deviceName_), failure);
            lines_->Close();
            open_ = false;
        }
        reason = problem_;
    }
    if (!reason.isEmpty()) {
        if (why)
            *why = reason;
        return nullptr;
    }
    lent_ = true;
    return std::make_unique<Loan>(*this, deviceName_);
}

bool RigPort::KeyLent(bool asserted, QString* failure) {
    const std::lock_guard lock(mutex_);
    if (!lent_ || !open_) {
        if (failure)
            *failure = QStringLiteral("rig port %1 closed").arg(deviceName_);
        return false;
    }
    QString why;
    if (SetLines(asserted, &why))
        return true;
    // Lines that switched when lent and fail now: the device went away. It is closed, and
    // the next session start (or loan) opens it again.
    problem_ = WithReason(QStringLiteral("Keying stopped: rig port %1 failed").arg(deviceName_), why);
    if (failure)
        *failure = problem_;
    lines_->Close();
    open_ = false;
    raised_ = false;
    return false;
}

void RigPort::GiveBack() {
    const std::lock_guard lock(mutex_);
    if (!lent_)
        return;  // taken back by Close
    lent_ = false;
    if (open_ && raised_)
        (void)SetLines(false);  // a failure here was the borrower's to tell
}

QString RigPort::TakeKeyingNote() {
    const std::lock_guard lock(mutex_);
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
