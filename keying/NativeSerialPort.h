#pragma once
// A serial device through the operating system's own calls: open it, switch DTR or
// RTS, close it. Nothing else on the device is read or changed: not the speed, not
// the framing, not the other lines. Free of Qt so that each platform's half stays
// small; SystemSerialLines puts the SerialLines face on it.
//
// POSIX: open(2) without waiting for a carrier, an exclusive flock and TIOCEXCL
// against other users, TIOCMBIS/TIOCMBIC for the lines. Windows: CreateFile on
// \\.\NAME without sharing, GetCommState/SetCommState with the DTR or RTS control field
// switched between enabled and disabled.
//
// Texts are UTF-8: the system's message for the failure.
#include <cstdint>
#include <string>

namespace lumbrel {

enum class ModemLine { Dtr, Rts };

class NativeSerialPort {
public:
    NativeSerialPort() = default;
    ~NativeSerialPort();  // Close()

    NativeSerialPort(const NativeSerialPort&) = delete;
    NativeSerialPort& operator=(const NativeSerialPort&) = delete;

    // The path the system opens for a device name: names that are no path are taken
    // from /dev (POSIX) or the device namespace \\.\ (Windows).
    static std::string SystemPath(const std::string& name);

    // Opens `name`; a device already open is closed first. On failure, false and *error.
    bool Open(const std::string& name, std::string* error);
    // Asserts or drops one line. On failure, false and *error.
    bool SetLine(ModemLine line, bool asserted, std::string* error);
    // After a failed SetLine: true when the device has gone away (POSIX: an I/O error,
    // as a hung-up terminal or an unplugged USB interface gives), false when it only
    // has no such line.
    bool DeviceLost() const { return lost_; }
    // Closes the device without touching the lines.
    void Close();
    bool IsOpen() const { return handle_ != kNoHandle; }

private:
    static constexpr std::intptr_t kNoHandle = -1;
    std::intptr_t handle_ = kNoHandle;  // a file descriptor or a Windows HANDLE
    bool lost_ = false;
};

// The text for a device that opened but is no serial port.
inline constexpr const char* kNotASerialPortText = "The device is not a serial port.";

}  // namespace lumbrel
