#pragma once
// The two modem-control lines of one serial device, and nothing else of it: the rig
// port opens a device, switches DTR and RTS, and closes it. The program uses
// SystemSerialLines; tests use a fake that records what was asked of it.
#include <QString>

namespace lumbrel {

class SerialLines {
public:
    virtual ~SerialLines() = default;

    // Opens an existing device for reading and writing, not shared with other
    // programs, without waiting for a carrier. Leaves the device's settings (speed,
    // framing, the lines) as the system has them. False, with ErrorText(), when the
    // device is missing, busy or no serial port. A device already open is closed first.
    virtual bool Open(const QString& deviceName) = 0;

    // Assert (true) or drop (false) one line. False, with ErrorText(), when the device
    // refused or none is open.
    virtual bool SetDtr(bool asserted) = 0;
    virtual bool SetRts(bool asserted) = 0;

    // After SetDtr or SetRts failed: true when the device itself has gone away (a USB
    // interface unplugged, a terminal hung up), false when it only refused the line.
    virtual bool DeviceLost() const { return false; }

    // Closes the device without touching the lines. Nothing happens when none is open.
    virtual void Close() = 0;

    // The system's text for the last failure; empty after a successful Open.
    virtual QString ErrorText() const = 0;
};

}  // namespace lumbrel
