#include "text/RealCalls.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include "text/DataFolders.h"

namespace lumbrel {

std::vector<std::string> ReadCallList(const QString& path) {
    std::vector<std::string> calls;
    QFile file(path);
    if (QFileInfo(path).size() > kMaxCallListBytes || !file.open(QIODevice::ReadOnly))
        return calls;
    const QByteArray all = file.read(kMaxCallListBytes);
    for (const QByteArray& raw : all.split('\n')) {
        const QByteArray line = raw.trimmed().toUpper();
        if (line.isEmpty() || line.size() > 16 || line.startsWith('#'))
            continue;
        const bool plain = std::all_of(line.begin(), line.end(), [](char c) {
            return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/';
        });
        const bool digit = std::any_of(line.begin(), line.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (plain && digit)
            calls.push_back(line.toStdString());
    }
    return calls;
}

QString RealCallsPath(const QString& programFolder) {
    const QFileInfo master(QString::fromLatin1(kMasterCallsPath));
    if (master.isFile() && master.isReadable())
        return master.filePath();
    return ResolveProgramPath(programFolder, QString::fromLatin1(kCallSampleName));
}

}  // namespace lumbrel
