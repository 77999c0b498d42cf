#include "text/PlainFile.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

namespace lumbrel {

PlainFileBytes ReadPlainFile(const QString& path, qint64 maxBytes) {
    PlainFileBytes result;
    const QFileInfo info(path);
    if (!info.exists()) {
        result.status = PlainFileBytes::Status::Missing;
        return result;
    }
    if (!info.isFile()) {
        result.status = PlainFileBytes::Status::NotPlain;
        return result;
    }
    QFile file;
#ifdef Q_OS_UNIX
    // Opened without waiting, and checked again once open: a pipe put in the file's
    // place since would otherwise hold the open until a writer comes.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        result.error = QString::fromLocal8Bit(std::strerror(errno));
        return result;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        result.status = PlainFileBytes::Status::NotPlain;
        return result;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        result.error = file.errorString();
        return result;
    }
#else
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
#endif
    result.bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        result.error = file.errorString();
        result.bytes.clear();
        return result;
    }
    if (result.bytes.size() > maxBytes) {
        result.status = PlainFileBytes::Status::TooLarge;
        result.bytes.clear();
        return result;
    }
    result.status = PlainFileBytes::Status::Read;
    return result;
}

}  // namespace lumbrel
