// The rig port over a fake device: which device a configuration names, what opening,
// keying and closing do to the lines, and every way opening can fail.
#include <gtest/gtest.h>

#include "keying/RigPort.h"
#include "tests/keying/FakeSerialLines.h"

using namespace lumbrel;
using lumbrel::test::FakeDevice;
using lumbrel::test::FakeSerialLines;
using lumbrel::test::LineCall;

namespace {

struct RigPortFixture : ::testing::Test {
    std::shared_ptr<FakeDevice> device = std::make_shared<FakeDevice>();
    RigPort port{std::make_unique<FakeSerialLines>(device)};
    SettingsStore store = SettingsStore::InMemory();

    static LineCall Dtr(bool on) { return {LineCall::Dtr, on, {}}; }
    static LineCall Rts(bool on) { return {LineCall::Rts, on, {}}; }
    static LineCall Opened(const QString& name) { return {LineCall::Open, true, name}; }
    static LineCall Closed() { return {LineCall::Close, false, {}}; }
};

TEST(RigPortNames, NumberedPortsAreThePlatformsStandardPorts) {
#ifdef Q_OS_WIN
    EXPECT_EQ(RigPort::StandardPortName(1), QStringLiteral("COM1"));
    EXPECT_EQ(RigPort::StandardPortName(4), QStringLiteral("COM4"));
    EXPECT_EQ(RigPort::StandardPortName(12), QStringLiteral("COM12"));
#else
    EXPECT_EQ(RigPort::StandardPortName(1), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(RigPort::StandardPortName(4), QStringLiteral("/dev/ttyS3"));
    EXPECT_EQ(RigPort::StandardPortName(12), QStringLiteral("/dev/ttyS11"));
#endif
    EXPECT_TRUE(RigPort::StandardPortName(0).isEmpty());
    EXPECT_TRUE(RigPort::StandardPortName(-3).isEmpty());
}

TEST(RigPortNames, PortDeviceTakesPrecedenceWhenNotBlank) {
    EXPECT_TRUE(RigPort::ConfiguredDevice(0, QString()).isEmpty());
    EXPECT_TRUE(RigPort::ConfiguredDevice(0, QStringLiteral("  \t")).isEmpty());
    EXPECT_TRUE(RigPort::ConfiguredDevice(-1, QString()).isEmpty());
    EXPECT_EQ(RigPort::ConfiguredDevice(3, QString()), RigPort::StandardPortName(3));
    EXPECT_EQ(RigPort::ConfiguredDevice(3, QStringLiteral(" ")), RigPort::StandardPortName(3));
    EXPECT_EQ(RigPort::ConfiguredDevice(3, QStringLiteral(" /dev/ttyUSB0 ")), QStringLiteral("/dev/ttyUSB0"));
    // The device is used even with "Port" at "Off": the text is the user's choice of port.
    EXPECT_EQ(RigPort::ConfiguredDevice(0, QStringLiteral("COM7")), QStringLiteral("COM7"));
}

TEST_F(RigPortFixture, PortZeroOpensNothingAndKeyingDoesNothing) {
    store.Write(keys::Port, 0);
    device->present = {RigPort::StandardPortName(1)};
    EXPECT_FALSE(port.Open(store));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(port.Problem().isEmpty());
    EXPECT_TRUE(port.DeviceName().isEmpty());
    port.RaiseRigLines();
    port.DropRigLines();
    port.Close();
    EXPECT_TRUE(device->calls.empty());
}

TEST_F(RigPortFixture, OpeningTheNumberedPortDropsBothLinesAtOnce) {
    store.Write(keys::Port, 3);
    device->present = {RigPort::StandardPortName(3)};
    device->dtr = device->rts = true;  // as opening a serial device leaves them on many systems
    ASSERT_TRUE(port.Open(store));
    EXPECT_TRUE(port.IsOpen());
    EXPECT_TRUE(port.Problem().isEmpty());
    EXPECT_EQ(port.DeviceName(), RigPort::StandardPortName(3));
    EXPECT_EQ(device->calls,
              (std::vector<LineCall>{Opened(RigPort::StandardPortName(3)), Dtr(false), Rts(false)}));
    EXPECT_FALSE(device->dtr);
    EXPECT_FALSE(device->rts);
    EXPECT_FALSE(port.LinesRaised());
}

TEST_F(RigPortFixture, PortDeviceInTheStoreWinsOverThePortNumber) {
    store.Write(keys::Port, 2);
    store.Write(keys::PortDevice, QStringLiteral("/dev/ttyUSB0"));
    device->present = {RigPort::StandardPortName(2), QStringLiteral("/dev/ttyUSB0")};
    ASSERT_TRUE(port.Open(store));
    EXPECT_EQ(device->openName, QStringLiteral("/dev/ttyUSB0"));

    // Cleared again, the numbered port is back.
    store.Write(keys::PortDevice, QString());
    ASSERT_TRUE(port.Open(store));
    EXPECT_EQ(device->openName, RigPort::StandardPortName(2));
}

TEST_F(RigPortFixture, RaiseAndDropSwitchBothLinesTogether) {
    device->present = {QStringLiteral("COM3")};
    ASSERT_TRUE(port.Open(QStringLiteral("COM3")));
    device->calls.clear();
    port.RaiseRigLines();
    EXPECT_TRUE(device->dtr);
    EXPECT_TRUE(device->rts);
    EXPECT_TRUE(port.LinesRaised());
    port.DropRigLines();
    EXPECT_FALSE(device->dtr);
    EXPECT_FALSE(device->rts);
    EXPECT_EQ(device->calls, (std::vector<LineCall>{Dtr(true), Rts(true), Dtr(false), Rts(false)}));
}

TEST_F(RigPortFixture, MissingOrBusyDeviceLeavesKeyingOffWithAReason) {
    store.Write(keys::PortDevice, QStringLiteral("/dev/ttyUSB9"));
    EXPECT_FALSE(port.Open(store));
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.Problem(), QStringLiteral("Rig port /dev/ttyUSB9 not opened: No such file or directory"));
    EXPECT_EQ(port.DeviceName(), QStringLiteral("/dev/ttyUSB9"));
    port.RaiseRigLines();
    port.DropRigLines();
    port.Close();
    EXPECT_EQ(device->LineChanges().size(), 0u);

    device->busy = {QStringLiteral("COM2")};
    EXPECT_FALSE(port.Open(QStringLiteral("COM2")));
    EXPECT_EQ(port.Problem(), QStringLiteral("Rig port COM2 not opened: Device or resource busy"));

    // A later open that works clears the reason.
    device->present = {QStringLiteral("COM1")};
    EXPECT_TRUE(port.Open(QStringLiteral("COM1")));
    EXPECT_TRUE(port.Problem().isEmpty());
}

TEST_F(RigPortFixture, LinesThatCannotBeSwitchedAreReportedOnceAndIgnoredAfterwards) {
    device->present = {QStringLiteral("/dev/pts/4")};
    device->dtrFails = true;
    ASSERT_TRUE(port.Open(QStringLiteral("/dev/pts/4")));
    EXPECT_TRUE(port.IsOpen());  // the device is open; keying just has no effect on DTR
    EXPECT_EQ(
        port.Problem(),
        QStringLiteral("Rig port /dev/pts/4 cannot switch DTR and RTS: Inappropriate ioctl for device"));
    // The line that works still follows.
    port.RaiseRigLines();
    EXPECT_TRUE(device->rts);
    port.DropRigLines();
    EXPECT_FALSE(device->rts);
    EXPECT_EQ(
        port.Problem(),
        QStringLiteral("Rig port /dev/pts/4 cannot switch DTR and RTS: Inappropriate ioctl for device"));

    device->dtrFails = false;
    device->rtsFails = true;
    ASSERT_TRUE(port.Open(QStringLiteral("/dev/pts/4")));
    EXPECT_EQ(
        port.Problem(),
        QStringLiteral("Rig port /dev/pts/4 cannot switch DTR and RTS: Inappropriate ioctl for device"));
}

TEST_F(RigPortFixture, ClosingLeavesDroppedLinesAloneButNeverLeavesTheRigKeyed) {
    device->present = {QStringLiteral("COM3")};
    ASSERT_TRUE(port.Open(QStringLiteral("COM3")));
    port.RaiseRigLines();
    port.DropRigLines();
    device->calls.clear();
    port.Close();
    EXPECT_EQ(device->calls, (std::vector<LineCall>{Closed()}));
    EXPECT_FALSE(port.IsOpen());
    port.RaiseRigLines();  // closed: nothing
    EXPECT_EQ(device->calls, (std::vector<LineCall>{Closed()}));

    // Closed while a session was cut short: the lines come down before the device closes.
    ASSERT_TRUE(port.Open(QStringLiteral("COM3")));
    port.RaiseRigLines();
    device->calls.clear();
    port.Close();
    EXPECT_EQ(device->calls, (std::vector<LineCall>{Dtr(false), Rts(false), Closed()}));
    EXPECT_FALSE(device->dtr);
    EXPECT_FALSE(device->rts);
}

TEST_F(RigPortFixture, ReopeningClosesTheFirstDeviceAndDestructionClosesTheLast) {
    device->present = {QStringLiteral("COM1"), QStringLiteral("COM2")};
    {
        RigPort local(std::make_unique<FakeSerialLines>(device));
        ASSERT_TRUE(local.Open(QStringLiteral("COM1")));
        local.RaiseRigLines();
        device->calls.clear();
        ASSERT_TRUE(local.Open(QStringLiteral("COM2")));
        EXPECT_EQ(device->calls,
                  (std::vector<LineCall>{Dtr(false), Rts(false), Closed(), Opened(QStringLiteral("COM2")),
                                         Dtr(false), Rts(false)}));
        // A failed reopen still closes the first device.
        device->calls.clear();
        EXPECT_FALSE(local.Open(QStringLiteral("COM9")));
        EXPECT_FALSE(local.IsOpen());
        EXPECT_FALSE(device->open);
        ASSERT_TRUE(local.Open(QStringLiteral("COM1")));
    }
    EXPECT_FALSE(device->open);
}

TEST(RigPortWithoutDriver, OpenFailsQuietly) {
    RigPort port(nullptr);
    EXPECT_FALSE(port.Open(QStringLiteral("COM1")));
    EXPECT_EQ(port.Problem(), QStringLiteral("Rig port COM1 not opened"));
    port.RaiseRigLines();
    port.Close();
}

}  // namespace
