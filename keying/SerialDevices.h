#pragma once
// The serial devices of this machine, for the setup dialog to offer as "Port Device".
#include <QStringList>

namespace lumbrel {

// Every serial device the system reports, USB adapters included, by the name the rig
// port opens: "COM5" on Windows, "/dev/ttyUSB0" and the like elsewhere. No duplicates,
// in natural order (COM2 before COM10). Empty when there are none.
QStringList AvailableSerialDevices();

// Sorts names so that runs of digits compare by value: ttyS2 < ttyS10 < ttyUSB0.
void SortDeviceNames(QStringList& names);

}  // namespace lumbrel
