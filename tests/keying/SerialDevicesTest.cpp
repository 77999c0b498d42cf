// The list of serial devices the setup dialog offers.
#include <gtest/gtest.h>

#include <set>

#include "keying/SerialDevices.h"

using namespace lumbrel;

namespace {

TEST(SerialDevices, NamesSortByTheValueOfTheirNumbers) {
    QStringList names{"COM10", "COM2",        "/dev/ttyUSB10", "/dev/ttyS1", "/dev/ttyUSB2",
                      "COM1",  "/dev/ttyS10", "/dev/ttyACM0",  "COM02",      "/dev/ttyS"};
    SortDeviceNames(names);
    EXPECT_EQ(names, (QStringList{"/dev/ttyACM0", "/dev/ttyS", "/dev/ttyS1", "/dev/ttyS10", "/dev/ttyUSB2",
                                  "/dev/ttyUSB10", "COM1", "COM02", "COM2", "COM10"}));
    QStringList empty;
    SortDeviceNames(empty);
    EXPECT_TRUE(empty.isEmpty());
}

TEST(SerialDevices, TheMachinesListHasNoBlanksOrDuplicates) {
    const QStringList names = AvailableSerialDevices();
    const std::set<QString> unique(names.begin(), names.end());
    EXPECT_EQ(unique.size(), static_cast<std::size_t>(names.size()));
    for (const QString& name : names)
        EXPECT_FALSE(name.trimmed().isEmpty());
    QStringList sorted = names;
    SortDeviceNames(sorted);
    EXPECT_EQ(sorted, names);
}

}  // namespace
