#pragma once
// Reads a whole text file that a user names, at most a limit of bytes: a device, a pipe
// or a folder is refused without waiting on it, and the size the file system tells is
// never trusted (a file may grow while it is read).
#include <QByteArray>
#include <QString>

namespace lumbrel {

struct PlainFileBytes {
    enum class Status { Read, Missing, NotPlain, TooLarge, Unreadable };
    Status status = Status::Unreadable;
    QByteArray bytes;  // the whole file when Read
    QString error;     // the system's reason when Unreadable
    bool Ok() const { return status == Status::Read; }
};

PlainFileBytes ReadPlainFile(const QString& path, qint64 maxBytes);

}  // namespace lumbrel
