#pragma once
#include <QString>
#include <QStringList>

namespace lumbrel {

// Writes the lines as a plain text file, one line per line, replacing any file of that
// name. The file is replaced only once it is complete. A name that is not a plain file
// (a device such as a terminal, or a pipe) is written as it is and never replaced.
// Returns an empty string on success, otherwise why it could not be written.
QString SaveTextLines(const QString& path, const QStringList& lines);

}  // namespace lumbrel
