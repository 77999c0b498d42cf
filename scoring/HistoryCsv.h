#pragma once
// The history as CSV (RFC 4180: comma-separated, CRLF line ends, quoted fields where
// needed), one line per checked session, oldest first, with a header line.
#include <QString>

#include <vector>

#include "scoring/SessionRecord.h"

namespace lumbrel {

QString HistoryCsv(const std::vector<SessionRecord>& records);

// Writes the CSV to path in UTF-8, replacing the file only once it is complete.
// Returns an empty text on success, otherwise why it could not be written.
QString ExportHistoryCsv(const std::vector<SessionRecord>& records, const QString& path);

}  // namespace lumbrel
