#include "recording/Transcript.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace lumbrel {
namespace {

QByteArray Joined(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += line.toUtf8();
        bytes += '\n';
    }
    return bytes;
}

// Writes straight into something that is not a plain file: a device or a pipe. It
// cannot be replaced by a complete copy as a plain file is, and must not be: renaming a
// file over a device node would put an ordinary file in its place.
QString WriteInPlace(const QString& path, const QByteArray& bytes) {
    QFile file;
#ifdef Q_OS_UNIX
    // A pipe with no reader would hold the open (and the window) for good: the open does
    // not wait, the writes then do.
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return file.errorString();
    }
#else
    file.setFileName(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
#endif
    if (file.write(bytes) != bytes.size())
        return file.errorString();
    return {};
}

}  // namespace

QString SaveTextLines(const QString& path, const QStringList& lines) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile() && !info.isDir())
        return WriteInPlace(path, Joined(lines));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    file.write(Joined(lines));
    if (!file.commit())
        return file.errorString();
    return {};
}

}  // namespace lumbrel
