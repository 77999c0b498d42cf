#pragma once
// The input lines of a serial port a key is wired to (CTS, DSR, DCD), and nothing else
// of it. The program uses SystemModemLines (the kernel's line-change wait); tests use
// a fake that plays back a list of line states.
#include <QString>

#include <cstdint>
#include <optional>

namespace lumbrel {

// Bits of the line state.
inline constexpr unsigned kLineCts = 1;
inline constexpr unsigned kLineDsr = 2;
inline constexpr unsigned kLineDcd = 4;

class ModemLines {
public:
    virtual ~ModemLines() = default;
    // The owner's thread. False, with ErrorText(), when the device is missing or busy.
    virtual bool Open(const QString& deviceName) = 0;
    // The reader's thread. Blocks until CTS, DSR or DCD changes (or Interrupt), then
    // gives the lines as they are now; nothing when the device went away or was
    // interrupted.
    virtual std::optional<unsigned> WaitForChange() = 0;
    // The reader's thread. The lines now, without waiting.
    virtual std::optional<unsigned> Lines() = 0;
    // Any thread. Makes a WaitForChange under way (or the next) return nothing.
    virtual void Interrupt() = 0;
    // The owner's thread, once the reader has stopped.
    virtual void Close() = 0;
    virtual QString ErrorText() const = 0;
};

}  // namespace lumbrel
