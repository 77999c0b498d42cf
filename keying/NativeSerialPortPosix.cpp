#include "keying/NativeSerialPort.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace lumbrel {

namespace {

void SetError(std::string* error, int code) {
    if (error)
        *error = std::strerror(code);
}

}  // namespace

NativeSerialPort::~NativeSerialPort() {
    Close();
}

std::string NativeSerialPort::SystemPath(const std::string& name) {
    if (name.empty() || name.front() == '/')
        return name;
    return "/dev/" + name;
}

bool NativeSerialPort::Open(const std::string& name, std::string* error) {
    Close();
    const std::string path = SystemPath(name);
    if (path.empty()) {
        SetError(error, ENOENT);
        return false;
    }
    // O_NONBLOCK: a port whose carrier is down must not hold the open. Nothing is ever
    // read or written, so the flag can stay.
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        SetError(error, errno);
        return false;
    }
    if (!::isatty(fd)) {
        ::close(fd);
        if (error)
            *error = kNotASerialPortText;
        return false;
    }
    // Not shared: another keying program of ours holds the lock, and TIOCEXCL keeps
    // other programs from opening the device while we have it.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int code = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        SetError(error, code);
        return false;
    }
#ifdef TIOCEXCL
    (void)::ioctl(fd, TIOCEXCL);
#endif
    handle_ = fd;
    return true;
}

bool NativeSerialPort::SetLine(ModemLine line, bool asserted, std::string* error) {
    lost_ = false;
    if (!IsOpen()) {
        SetError(error, EBADF);
        return false;
    }
    const int fd = static_cast<int>(handle_);
#ifdef CRTSCTS
    if (line == ModemLine::Rts) {
        // With hardware handshake on, the driver (or the chip) owns RTS. Switching the
        // line takes it out of the handshake, as the RTS control field does on Windows;
        // nothing else of the settings changes.
        termios tio{};
        if (::tcgetattr(fd, &tio) == 0 && (tio.c_cflag & CRTSCTS) != 0) {
            tio.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
            (void)::tcsetattr(fd, TCSANOW, &tio);
        }
    }
#endif
    int bits = line == ModemLine::Dtr ? TIOCM_DTR : TIOCM_RTS;
    if (::ioctl(fd, asserted ? TIOCMBIS : TIOCMBIC, &bits) != 0) {
        const int code = errno;
        // A terminal that was hung up (its device unplugged) answers every request
        // with EIO; ENODEV and ENXIO say the same of a device that is gone.
        lost_ = code == EIO || code == ENODEV || code == ENXIO;
        SetError(error, code);
        return false;
    }
    return true;
}

void NativeSerialPort::Close() {
    if (!IsOpen())
        return;
    const int fd = static_cast<int>(handle_);
#ifdef TIOCNXCL
    (void)::ioctl(fd, TIOCNXCL);
#endif
    ::close(fd);
    handle_ = kNoHandle;
}

}  // namespace lumbrel
