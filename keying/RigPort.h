#pragma once
// The rig keying port: asserts DTR and RTS of a serial device while a session runs, so
// that a transmitter or another device can be switched for the length of a session.
// No data is sent; nothing but the two lines is touched.
//
// The main window owns one RigPort: Open when it is created (reads "Port" and
// "Port Device") and hands it to the trainer as its RigKeying, which closes it when the
// window closes, before the audio output. The trainer raises the lines when a session
// begins sending and drops them after the last buffer has been heard.
//
// A device that is missing, busy or no serial port leaves keying off, without a
// message; Problem() tells why, for a one-time note in the status line. Each session
// start tries such a device again, so an interface plugged in later keys the next
// session.
//
// A device that goes away while open (a USB interface unplugged: its line switches fail
// with an I/O error, or lines that switched before stop switching) is closed, and
// keying stops with one note (TakeKeyingNote); the next session start opens it again.
// Lines that never switched (a port without modem lines) are not a loss: their
// failures are ignored, as the note from opening has told.
//
// The sending practice borrows the lines (LendLines) and switches them from its own
// thread; while they are lent a session start leaves them alone and notes that keying
// is busy, and Close takes them back, dropped. One loan at a time.
//
// The UI thread, and a loan's Key on the borrower's thread: every member takes the
// port's mutex, which is never held while anything waits.
#include <QString>

#include <memory>
#include <mutex>

#include "keying/RigKeying.h"
#include "keying/SerialLines.h"
#include "settings/SettingsStore.h"

namespace lumbrel {

class RigPort final : public RigKeying {
public:
    explicit RigPort(std::unique_ptr<SerialLines> lines);
    ~RigPort() override;  // Close()

    RigPort(const RigPort&) = delete;
    RigPort& operator=(const RigPort&) = delete;

    // The system's name of numbered port n (1 = COM1): "COMn" on Windows, elsewhere
    // the n-th standard serial port, /dev/ttyS(n-1). Empty for n below 1.
    static QString StandardPortName(int number);
    // The device a configuration names: "Port Device" (trimmed) when it is not blank,
    // otherwise the standard port of "Port" when that is above 0, otherwise none
    // (empty: keying off).
    static QString ConfiguredDevice(int port, const QString& portDevice);

    // Opens the device that "Port" and "Port Device" of the store name. See Open below.
    bool Open(const SettingsStore& store);
    // Opens `deviceName` (empty: keying off, nothing is opened) and drops both lines at
    // once. A port already open is closed first. True when a device is open.
    bool Open(const QString& deviceName);
    // Closes the device, and no session start opens it again. The lines are left as they
    // are, except when a session was cut short after they were raised (the window closed
    // while the last buffers were still playing): then they are dropped first, so the
    // rig is never left keyed.
    void Close();

    bool IsOpen() const override;
    // Both lines asserted. A device named by Open that is not open (missing then, or
    // lost since) is opened first; when it still will not open, nothing happens.
    void RaiseRigLines() override;
    // Both lines dropped; nothing without an open device.
    void DropRigLines() override;
    // "Keying stopped: ..." once after the device went away; then empty until it goes
    // away again.
    QString TakeKeyingNote() override;
    void CloseRigPort() override { Close(); }
    // The lines for one borrower, dropped now; see RigKeying. While lent, RaiseRigLines
    // and DropRigLines do nothing but note that keying is busy.
    std::unique_ptr<RigLines> LendLines(QString* why) override;

    // The device in use, or the one that failed to open; empty when keying is off.
    QString DeviceName() const;
    // Whether the lines were last asserted (false while closed).
    bool LinesRaised() const;
    // Why keying does not work, for the status line: the device could not be opened, or
    // it opened but its lines cannot be switched. Empty when the port works or is off.
    QString Problem() const;

private:
    class Loan;

    bool OpenLocked(const QString& deviceName);
    void CloseLocked();
    // A loan's Key and its end.
    bool KeyLent(bool asserted, QString* failure);
    void GiveBack();

    // Opens deviceName_ and drops both lines; sets problem_ either way.
    bool OpenDevice();
    // True when both lines followed; otherwise *failure (when given) tells why, and
    // *lost (when given) whether the driver said the device is gone.
    bool SetLines(bool asserted, QString* failure = nullptr, bool* lost = nullptr);
    // Both lines to `asserted` during a session; a device found gone is closed.
    void SwitchDuringSession(bool asserted);

    mutable std::mutex mutex_;
    std::unique_ptr<SerialLines> lines_;
    QString deviceName_;
    QString problem_;
    QString note_;  // why keying stopped, until taken
    bool open_ = false;
    bool raised_ = false;
    bool switchable_ = false;  // both lines switched when the device was opened
    bool retry_ = false;       // a session start opens deviceName_ when it is not open
    bool lent_ = false;        // a loan holds the lines
};

}  // namespace lumbrel
