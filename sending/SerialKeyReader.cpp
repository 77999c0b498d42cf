#include "sending/SerialKeyReader.h"

#include <QCoreApplication>

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lumbrel {

namespace {

// The texts are marked where they stand (QT_TRANSLATE_NOOP) for lupdate.
QString Tr(const char* text) {
    return QCoreApplication::translate("lumbrel::SerialKeyReader", text);
}

}  // namespace

SerialKeyReader::SerialKeyReader(std::unique_ptr<ModemLines> lines, QString deviceName)
    : device_(std::move(lines)),
      deviceName_(std::move(deviceName)) {}

SerialKeyReader::~SerialKeyReader() {
    Stop();
}

bool SerialKeyReader::Start(KeyEventQueue& queue) {
    Stop();
    if (deviceName_.isEmpty()) {
        problem_ = Tr(QT_TRANSLATE_NOOP("lumbrel::SerialKeyReader", "Serial key: no port chosen in Setup."));
        return false;
    }
    if (!device_->Open(deviceName_)) {
        problem_ = Tr(QT_TRANSLATE_NOOP("lumbrel::SerialKeyReader", "Serial key: %1 cannot be opened (%2)."))
                       .arg(deviceName_, device_->ErrorText());
        return false;
    }
    const auto state = device_->Lines();
    if (!state) {
        problem_ =
            Tr(QT_TRANSLATE_NOOP("lumbrel::SerialKeyReader", "Serial key: %1 has no modem lines (%2)."))
                .arg(deviceName_, device_->ErrorText());
        device_->Close();
        return false;
    }
    problem_.clear();
    stopping_ = false;
    ended_ = false;
    thread_ = std::thread([this, &queue, s = *state] { Run(queue, s); });
    return true;
}

void SerialKeyReader::Run(KeyEventQueue& queue, unsigned state) {
    // Contacts closed when the reader starts count from then.
    const std::int64_t startUs = SteadyMicroseconds();
    for (int c = 0; c < 3; ++c) {
        if (lines_[c] != 0 && (state & lines_[c]) != 0)
            (void)queue.Push({static_cast<KeyContact>(c), true, startUs});
    }
    while (!stopping_) {
        const auto now = device_->WaitForChange();
        const std::int64_t timeUs = SteadyMicroseconds();
        if (!now || stopping_)
            break;
        for (int c = 0; c < 3; ++c) {
            const unsigned line = lines_[c];
            if (line != 0 && ((state ^ *now) & line) != 0)
                (void)queue.Push({static_cast<KeyContact>(c), (*now & line) != 0, timeUs});
        }
        state = *now;
    }
    // Nothing stays keyed when the reader goes.
    const std::int64_t endUs = SteadyMicroseconds();
    for (int c = 0; c < 3; ++c) {
        if (lines_[c] != 0 && (state & lines_[c]) != 0)
            (void)queue.Push({static_cast<KeyContact>(c), false, endUs});
    }
    ended_ = true;
}

void SerialKeyReader::Stop() {
    if (!thread_.joinable())
        return;
    stopping_ = true;
    device_->Interrupt();
    thread_.join();
    device_->Close();
}

QString SerialKeyReader::Status() const {
    if (!problem_.isEmpty())
        return problem_;
    if (ended_)
        return Tr(QT_TRANSLATE_NOOP("lumbrel::SerialKeyReader", "Serial key: %1 went away."))
            .arg(deviceName_);
    return Tr(QT_TRANSLATE_NOOP("lumbrel::SerialKeyReader", "Serial key: %1 (DSR, CTS, DCD)."))
        .arg(deviceName_);
}

namespace {

void IgnoreSignal(int) {}

// The signal that wakes a line-change wait: a real-time one that nothing else uses,
// with a handler that does nothing and no restart of the interrupted call.
int WakeSignal() {
    static const int number = [] {
        const int s = SIGRTMIN + 3;
        struct sigaction action {};
        action.sa_handler = IgnoreSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;
        ::sigaction(s, &action, nullptr);
        return s;
    }();
    return number;
}

std::optional<unsigned> FromModemBits(int bits) {
    unsigned lines = 0;
    if ((bits & TIOCM_CTS) != 0)
        lines |= kLineCts;
    if ((bits & TIOCM_DSR) != 0)
        lines |= kLineDsr;
    if ((bits & TIOCM_CD) != 0)
        lines |= kLineDcd;
    return lines;
}

}  // namespace

SystemModemLines::SystemModemLines() {
    (void)WakeSignal();
}

SystemModemLines::~SystemModemLines() {
    Close();
}

bool SystemModemLines::Open(const QString& deviceName) {
    Close();
    fd_ = ::open(deviceName.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    error_.clear();
    interrupted_ = false;
    return true;
}

std::optional<unsigned> SystemModemLines::Lines() {
    int bits = 0;
    if (fd_ < 0 || ::ioctl(fd_, TIOCMGET, &bits) != 0) {
        error_ = QString::fromLocal8Bit(std::strerror(fd_ < 0 ? EBADF : errno));
        return std::nullopt;
    }
    return FromModemBits(bits);
}

std::optional<unsigned> SystemModemLines::WaitForChange() {
    waiter_ = static_cast<unsigned long>(::pthread_self());
    std::optional<unsigned> result;
    while (!interrupted_) {
        if (::ioctl(fd_, TIOCMIWAIT, TIOCM_CTS | TIOCM_DSR | TIOCM_CD) == 0) {
            result = Lines();
            break;
        }
        if (errno != EINTR) {
            error_ = QString::fromLocal8Bit(std::strerror(errno));
            break;  // the device went away, or it has no such lines (a pseudo-terminal)
        }
    }
    waiter_ = 0;
    if (interrupted_)
        return std::nullopt;
    return result;
}

void SystemModemLines::Interrupt() {
    interrupted_ = true;
    // Repeated until the waiter has left: the signal may land just before the wait.
    for (int i = 0; i < 100 && waiter_.load() != 0; ++i) {
        ::pthread_kill(static_cast<pthread_t>(waiter_.load()), WakeSignal());
        ::usleep(1000);
    }
}

void SystemModemLines::Close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

}  // namespace lumbrel
