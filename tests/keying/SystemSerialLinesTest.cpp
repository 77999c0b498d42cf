// The system driver on a pseudo-terminal: a tty that opens like a serial device but
// has no modem lines. It shows that opening, switching and closing leave the device's
// settings alone, that a second user is turned away, and how failures read.
// Where no pseudo-terminal can be made the tests skip.
#include <gtest/gtest.h>

#include <QFile>

#include "keying/NativeSerialPort.h"
#include "keying/RigPort.h"
#include "keying/SystemSerialLines.h"

#ifndef _WIN32
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#endif

using namespace lumbrel;

namespace {

#ifndef _WIN32

// A pseudo-terminal pair; `reference` is a descriptor of the device side that the
// test uses to set and read the settings behind the driver's back.
struct Pty {
    int master = -1;
    int reference = -1;
    QString path;

    Pty() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
            return;
        const char* name = ::ptsname(master);
        if (!name)
            return;
        path = QString::fromLocal8Bit(name);
        reference = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    }
    ~Pty() {
        if (reference >= 0)
            ::close(reference);
        if (master >= 0)
            ::close(master);
    }
    bool Ok() const { return reference >= 0; }

    termios Settings() const {
        termios tio{};
        EXPECT_EQ(::tcgetattr(reference, &tio), 0);
        return tio;
    }
    // Distinctive settings no driver would choose: 1200 baud, 7 bits, even parity, two
    // stop bits, canonical input.
    termios SetDistinctive(bool hardwareHandshake) {
        termios tio = Settings();
        ::cfsetispeed(&tio, B1200);
        ::cfsetospeed(&tio, B1200);
        tio.c_cflag = (tio.c_cflag & ~static_cast<tcflag_t>(CSIZE | PARODD)) | CS7 | PARENB | CSTOPB;
        tio.c_lflag |= ICANON;
#ifdef CRTSCTS
        if (hardwareHandshake)
            tio.c_cflag |= CRTSCTS;
        else
            tio.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
#else
        (void)hardwareHandshake;
#endif
        EXPECT_EQ(::tcsetattr(reference, TCSANOW, &tio), 0);
        return Settings();
    }
};

void ExpectSameSettings(const termios& a, const termios& b) {
    EXPECT_EQ(::cfgetispeed(&a), ::cfgetispeed(&b));
    EXPECT_EQ(::cfgetospeed(&a), ::cfgetospeed(&b));
    EXPECT_EQ(a.c_cflag, b.c_cflag);
    EXPECT_EQ(a.c_iflag, b.c_iflag);
    EXPECT_EQ(a.c_oflag, b.c_oflag);
    EXPECT_EQ(a.c_lflag, b.c_lflag);
}

#define NEED_PTY(pty)                                                \
    do {                                                             \
        if (!(pty).Ok())                                             \
            GTEST_SKIP() << "no pseudo-terminal can be opened here"; \
    } while (false)

TEST(SystemSerialLines, OpeningSwitchingAndClosingLeaveTheSettingsAlone) {
    Pty pty;
    NEED_PTY(pty);
    const termios before = pty.SetDistinctive(false);

    SystemSerialLines lines;
    ASSERT_TRUE(lines.Open(pty.path)) << lines.ErrorText().toStdString();
    EXPECT_TRUE(lines.ErrorText().isEmpty());
    ExpectSameSettings(pty.Settings(), before);

    // A pseudo-terminal has no modem lines: the calls fail with the system's reason.
    // Whatever they do, the settings stay.
    for (bool on : {true, false}) {
        if (!lines.SetDtr(on)) {
            EXPECT_FALSE(lines.ErrorText().isEmpty());
        }
        if (!lines.SetRts(on)) {
            EXPECT_FALSE(lines.ErrorText().isEmpty());
        }
    }
    ExpectSameSettings(pty.Settings(), before);

    lines.Close();
    lines.Close();  // a second close does nothing
    ExpectSameSettings(pty.Settings(), before);
    EXPECT_FALSE(lines.SetDtr(true));
}

TEST(SystemSerialLines, SwitchingRtsTakesItOutOfHardwareHandshakeAndNothingElse) {
#ifndef CRTSCTS
    GTEST_SKIP() << "no hardware handshake flag on this system";
#else
    Pty pty;
    NEED_PTY(pty);
    const termios before = pty.SetDistinctive(true);
    if ((before.c_cflag & CRTSCTS) == 0)
        GTEST_SKIP() << "this pseudo-terminal does not keep the handshake flag";

    SystemSerialLines lines;
    ASSERT_TRUE(lines.Open(pty.path));
    ExpectSameSettings(pty.Settings(), before);  // opening alone changes nothing
    (void)lines.SetDtr(true);
    ExpectSameSettings(pty.Settings(), before);  // nor does DTR
    (void)lines.SetRts(true);
    termios expected = before;
    expected.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
    ExpectSameSettings(pty.Settings(), expected);
#endif
}

TEST(SystemSerialLines, ADeviceInUseIsTurnedAwayUntilItIsClosed) {
    Pty pty;
    NEED_PTY(pty);
    SystemSerialLines first;
    SystemSerialLines second;
    ASSERT_TRUE(first.Open(pty.path));
    EXPECT_FALSE(second.Open(pty.path));
    EXPECT_EQ(second.ErrorText(), QString::fromLocal8Bit(std::strerror(EBUSY)));
    first.Close();
    EXPECT_TRUE(second.Open(pty.path)) << second.ErrorText().toStdString();
}

TEST(SystemSerialLines, MissingDevicesAndOtherFilesAreRefused) {
    SystemSerialLines lines;
    EXPECT_FALSE(lines.Open(QStringLiteral("/dev/lumbrel-no-such-port")));
    EXPECT_EQ(lines.ErrorText(), QString::fromLocal8Bit(std::strerror(ENOENT)));
    EXPECT_FALSE(lines.Open(QString()));
    EXPECT_FALSE(lines.ErrorText().isEmpty());
    EXPECT_FALSE(lines.SetDtr(true));

    if (QFile::exists(QStringLiteral("/dev/null"))) {
        EXPECT_FALSE(lines.Open(QStringLiteral("/dev/null")));
        EXPECT_EQ(lines.ErrorText(), QString::fromLatin1(kNotASerialPortText));
        // A bare name is looked up in /dev.
        EXPECT_FALSE(lines.Open(QStringLiteral("null")));
        EXPECT_EQ(lines.ErrorText(), QString::fromLatin1(kNotASerialPortText));
    }
}

TEST(SystemSerialLines, BareNamesAreTakenFromDev) {
    EXPECT_EQ(NativeSerialPort::SystemPath("ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(NativeSerialPort::SystemPath("/dev/serial/by-id/usb-x"), "/dev/serial/by-id/usb-x");
    Pty pty;
    NEED_PTY(pty);
    ASSERT_TRUE(pty.path.startsWith(QStringLiteral("/dev/")));
    SystemSerialLines lines;
    EXPECT_TRUE(lines.Open(pty.path.mid(5))) << lines.ErrorText().toStdString();
}

TEST(SystemSerialLines, RigPortReportsWhyKeyingIsOff) {
    RigPort missing(std::make_unique<SystemSerialLines>());
    EXPECT_FALSE(missing.Open(QStringLiteral("/dev/lumbrel-no-such-port")));
    EXPECT_EQ(missing.Problem(), QStringLiteral("Rig port /dev/lumbrel-no-such-port not opened: %1")
                                     .arg(QString::fromLocal8Bit(std::strerror(ENOENT))));
    missing.RaiseRigLines();
    missing.DropRigLines();

    Pty pty;
    NEED_PTY(pty);
    RigPort rig(std::make_unique<SystemSerialLines>());
    ASSERT_TRUE(rig.Open(pty.path));
    if (rig.Problem().isEmpty())
        GTEST_SKIP() << "this system's pseudo-terminals have modem lines";
    EXPECT_TRUE(
        rig.Problem().startsWith(QStringLiteral("Rig port %1 cannot switch DTR and RTS: ").arg(pty.path)))
        << rig.Problem().toStdString();
    rig.RaiseRigLines();
    rig.DropRigLines();
    rig.Close();
}

#else  // _WIN32

TEST(SystemSerialLines, MissingPortIsRefused) {
    SystemSerialLines lines;
    EXPECT_FALSE(lines.Open(QStringLiteral("COM255")));
    EXPECT_FALSE(lines.ErrorText().isEmpty());
    EXPECT_EQ(NativeSerialPort::SystemPath("COM12"), "\\\\.\\COM12");
}

#endif

}  // namespace
