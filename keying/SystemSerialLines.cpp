#include "keying/SystemSerialLines.h"

#include <QFile>

#include <string>

namespace lumbrel {

namespace {

// File names go to the system in its own encoding; Windows names are widened from UTF-8.
std::string NativeName(const QString& name) {
#ifdef Q_OS_WIN
    return name.toStdString();
#else
    return QFile::encodeName(name).toStdString();
#endif
}

}  // namespace

bool SystemSerialLines::Open(const QString& deviceName) {
    std::string error;
    if (port_.Open(NativeName(deviceName), &error)) {
        error_.clear();
        return true;
    }
    error_ = QString::fromStdString(error);
    return false;
}

bool SystemSerialLines::SetDtr(bool asserted) {
    return SetLine(ModemLine::Dtr, asserted);
}

bool SystemSerialLines::SetRts(bool asserted) {
    return SetLine(ModemLine::Rts, asserted);
}

bool SystemSerialLines::SetLine(ModemLine line, bool asserted) {
    std::string error;
    lost_ = false;
    if (port_.SetLine(line, asserted, &error))
        return true;
    error_ = QString::fromStdString(error);
    lost_ = port_.DeviceLost();
    return false;
}

void SystemSerialLines::Close() {
    port_.Close();
}

}  // namespace lumbrel
