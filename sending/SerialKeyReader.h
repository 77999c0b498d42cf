#pragma once
// A key wired to a serial port's input lines: a thread of its own waits for the lines
// to change and stamps each change there, the moment the wait returned. Which line is
// which contact is set (by default DSR dit, CTS dah, DCD the straight key).
#include <QString>

#include <array>
#include <atomic>
#include <memory>
#include <thread>

#include "sending/KeyInput.h"
#include "sending/ModemLines.h"

namespace lumbrel {

class SerialKeyReader final : public KeyInput {
public:
    SerialKeyReader(std::unique_ptr<ModemLines> lines, QString deviceName);
    ~SerialKeyReader() override;  // Stop()

    // Before Start: the line (kLineCts, kLineDsr, kLineDcd, 0 for none) of each contact.
    void AssignLine(KeyContact contact, unsigned line) { lines_[static_cast<int>(contact)] = line; }

    bool Start(KeyEventQueue& queue) override;
    void Stop() override;
    QString Status() const override;
    // Any thread: the reader has stopped by itself (the device went away).
    bool Ended() const { return ended_.load(); }

private:
    void Run(KeyEventQueue& queue, unsigned state);

    std::unique_ptr<ModemLines> device_;
    QString deviceName_;
    QString problem_;
    std::array<unsigned, 3> lines_{kLineDsr, kLineCts, kLineDcd};
    std::atomic<bool> stopping_{false};
    std::atomic<bool> ended_{false};
    std::thread thread_;
};

// The system's serial device, waited on with TIOCMIWAIT; Interrupt sends the waiting
// thread a signal whose handler does nothing, so the wait returns.
class SystemModemLines final : public ModemLines {
public:
    SystemModemLines();
    ~SystemModemLines() override;
    bool Open(const QString& deviceName) override;
    std::optional<unsigned> WaitForChange() override;
    std::optional<unsigned> Lines() override;
    void Interrupt() override;
    void Close() override;
    QString ErrorText() const override { return error_; }

private:
    int fd_ = -1;
    QString error_;
    std::atomic<bool> interrupted_{false};
    std::atomic<unsigned long> waiter_{0};  // the pthread waiting, 0 when none
};

}  // namespace lumbrel
