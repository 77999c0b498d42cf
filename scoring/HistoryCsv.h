#pragma once
// The history as CSV (RFC 4180: comma-separated, CRLF line ends, quoted fields where
// needed), one line per checked session, oldest first, with a header line; the drills
// likewise, one line per drill, with what was played in each in files of their own:
// every answer of the recognition drills, every call of the callsign runs; and the
// sendings likewise, one line per sending, with their items and the notes of their
// fist in files of their own. The sessions' file keeps its columns whatever else is
// kept: a reader of it finds no line of another kind in it.
#include <QString>
#include <QStringList>

#include <vector>

#include "scoring/DrillRecord.h"
#include "scoring/SendingRecord.h"
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

// One line per sending: its id, end, kind, length and keyer, its score (no accuracy
// for free sending) and its fist (cells left empty where the decoder measured none).
QString SendingsCsv(const std::vector<SendingRecord>& sendings);
// One line per item of the sendings, by sending id and place; right is empty where
// nothing was expected (free sending).
QString SentItemsCsv(const std::vector<SendingRecord>& sendings);
// One line per note of a sending's fist, by sending id and place.
QString FistNotesCsv(const std::vector<SendingRecord>& sendings);

// The sending files beside the sessions' CSV "NAME.csv": "NAME-sendings.csv",
// "NAME-sent-items.csv" and "NAME-fist-notes.csv".
QStringList SendingCsvPaths(const QString& sessionsPath);
// Writes the three sending files beside the sessions' CSV, as ExportDrillsCsv.
QString ExportSendingsCsv(const std::vector<SendingRecord>& sendings, const QString& sessionsPath);

}  // namespace lumbrel
