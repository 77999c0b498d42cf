#pragma once
// The history as CSV (RFC 4180: comma-separated, CRLF line ends, quoted fields where
// needed), one line per checked session, oldest first, with a header line; the drills
// likewise, one line per drill, with what was played in each in files of their own:
// every answer of the recognition drills, every call of the callsign runs.
#include <QString>
#include <QStringList>

#include <vector>

#include "scoring/DrillRecord.h"
#include "scoring/SessionRecord.h"

namespace lumbrel {

QString HistoryCsv(const std::vector<SessionRecord>& records);

// Writes the CSV to path in UTF-8, replacing the file only once it is complete.
// Returns an empty text on success, otherwise why it could not be written.
QString ExportHistoryCsv(const std::vector<SessionRecord>& records, const QString& path);

// One line per drill: its id, end, kind, length and speed, and its result.
QString DrillsCsv(const std::vector<DrillRecord>& drills);
// One line per answer of the recognition drills, by drill id and place.
QString RecognitionAnswersCsv(const std::vector<DrillRecord>& drills);
// One line per call of the callsign runs, by drill id and place.
QString CallsignCallsCsv(const std::vector<DrillRecord>& drills);

// The drill files beside the sessions' CSV "NAME.csv": "NAME-drills.csv",
// "NAME-recognition.csv" and "NAME-callsigns.csv".
QStringList DrillCsvPaths(const QString& sessionsPath);
// Writes the three drill files beside the sessions' CSV, each replaced only once it
// is complete. Returns an empty text on success, otherwise why one could not be written.
QString ExportDrillsCsv(const std::vector<DrillRecord>& drills, const QString& sessionsPath);

}  // namespace lumbrel
