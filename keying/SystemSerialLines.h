#pragma once
// The serial lines of a real device, through the operating system (NativeSerialPort).
// Opening leaves the device's settings alone; only DTR and RTS are ever switched.
#include "keying/NativeSerialPort.h"
#include "keying/SerialLines.h"

namespace lumbrel {

class SystemSerialLines final : public SerialLines {
public:
    bool Open(const QString& deviceName) override;
    bool SetDtr(bool asserted) override;
    bool SetRts(bool asserted) override;
    void Close() override;
    QString ErrorText() const override { return error_; }
    bool DeviceLost() const override { return lost_; }

private:
    bool SetLine(ModemLine line, bool asserted);

    NativeSerialPort port_;
    QString error_;
    bool lost_ = false;
};

}  // namespace lumbrel
