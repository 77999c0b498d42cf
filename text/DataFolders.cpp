#include "text/DataFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace lumbrel {
namespace {

bool HoldsData(const QString& folder) {
    if (folder.isEmpty())
        return false;
    const QDir dir(folder);
    return dir.exists(QLatin1String(kWordFilesFolder)) || dir.exists(QLatin1String(kQsoFilesFolder));
}

}  // namespace

QString DefaultProgramFolder() {
    QString programFolder;
    if (QCoreApplication::instance())
        programFolder = QCoreApplication::applicationDirPath();

    QStringList candidates;
    if (!programFolder.isEmpty()) {
        candidates << programFolder;
        candidates << QDir::cleanPath(programFolder + QStringLiteral("/../share/lumbrel"));
    }
    for (const QString& folder : candidates)
        if (HoldsData(folder))
            return folder;
    return programFolder;
}

QString ResolveProgramPath(const QString& folder, const QString& stored) {
    QString relative = stored;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    qsizetype start = 0;
    while (start < relative.size() && relative.at(start) == QLatin1Char('/'))
        ++start;
    relative = relative.mid(start);
    if (relative.isEmpty())
        return QDir::cleanPath(folder);
    return QDir::cleanPath(folder + QLatin1Char('/') + relative);
}

QStringList ListTextFiles(const QString& folder) {
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return {};
    // Name filters match without regard to case; hidden files and system entries
    // (devices, sockets, pipes) are left out.
    return dir.entryList({QStringLiteral("*.txt")}, QDir::Files | QDir::Readable,
                         QDir::Name | QDir::IgnoreCase);
}

}  // namespace lumbrel
