#include "recording/Transcript.h"

#include <QSaveFile>

namespace lumbrel {

QString SaveTextLines(const QString& path, const QStringList& lines)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    for (const QString& line : lines) {
        file.write(line.toUtf8());
        file.write("\n");
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

}  // namespace lumbrel
