#include "recording/ReplacingFile.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace lumbrel {

ReplacingFile::ReplacingFile(const QString& target) : target_(target) {
    const QFileInfo info(target);
    inPlace_ = info.exists() && !info.isFile();
    replaced_ = inPlace_;
}

ReplacingFile::~ReplacingFile() {
    if (!replaced_ && !fileName().isEmpty()) {
        close();
        QFile::remove(fileName());
    }
}

bool ReplacingFile::OpenNew(bool atOnce) {
    if (inPlace_) {
        setFileName(target_);
        return open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    if (atOnce && !QFileInfo(target_).isSymLink()) {
        setFileName(target_);
        if (open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
            replaced_ = true;
            return true;
        }
        if (!exists())
            return false;  // the folder is missing or not writable
    }
    // Beside the file a link leads to, so that the rename keeps the link.
    const QFileInfo info(target_);
    const QString real = info.isSymLink() ? info.canonicalFilePath() : info.absoluteFilePath();
    const QFileInfo place(real.isEmpty() ? info.absoluteFilePath() : real);
    for (int attempt = 0; attempt < 16; ++attempt) {
        setFileName(QStringLiteral("%1/.%2.%3.new")
                        .arg(place.absolutePath(), place.fileName())
                        .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        if (open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            return true;
        if (exists())
            continue;  // a name taken by chance
        break;
    }
    const QString why = errorString();
    setFileName(QString());
    setErrorString(why);
    return false;
}

void ReplacingFile::Discard() {
    if (inPlace_ || fileName().isEmpty())
        return;
    close();
    QFile::remove(fileName());
    setFileName(QString());
    replaced_ = true;  // nothing left to replace or remove
}

bool ReplacingFile::ReplaceTarget() {
    if (replaced_)
        return true;
    if (fileName().isEmpty())
        return false;
    const QFileInfo info(target_);
    const QString real =
        info.isSymLink() && !info.canonicalFilePath().isEmpty() ? info.canonicalFilePath() : target_;
    // The new file takes the old one's permissions (a private recording stays private);
    // std::rename replaces an existing file in one step, where QFile::rename would refuse.
    if (QFileInfo::exists(real))
        setPermissions(QFile::permissions(real));
    if (std::rename(QFile::encodeName(fileName()).constData(), QFile::encodeName(real).constData()) != 0) {
        setErrorString(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    replaced_ = true;
    return true;
}

}  // namespace lumbrel
