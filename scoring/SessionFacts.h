#pragma once
// The facts of a session kept beside its transcript, so that a copy checked later,
// away from the trainer (a lesson rendered to a file and heard elsewhere), can be
// stored in the history like one checked in the window.
//
// The file is a few lines of "key=value" in UTF-8, with no header, in this order:
//   source=groups            groups, words, qso or text
//   order=koch               koch or mfj
//   characters=5             N
//   character_wpm=25
//   effective_permille=500   the effective speed in thousandths of the character speed
//   session_minutes=5        the session length that was set
//   duration_seconds=301     from the start to the end of the session
//   seed=12345               the random source's seed (present when known)
// Readers ignore keys they do not know and blank lines.
#include <QString>

#include <cstdint>
#include <optional>

#include "engine/SessionSummary.h"

namespace lumbrel {

// "T.session" beside the transcript "T.txt" (any case of ".txt"); other names get
// ".session" appended: "lesson" -> "lesson.session".
QString SessionFactsPath(const QString& transcriptPath);

// The file's text for a session.
QString SessionFactsText(const SessionSummary& session, std::optional<std::uint32_t> seed);

// Writes the facts to path, replacing the file only once it is complete. Returns an
// empty text on success, otherwise why it could not be written.
QString WriteSessionFacts(const QString& path, const SessionSummary& session,
                          std::optional<std::uint32_t> seed);

struct SessionFacts {
    SessionSummary session;  // its text is left empty
    std::optional<std::uint32_t> seed;
    QString problem;  // empty when the facts were read
    bool Ok() const { return problem.isEmpty(); }
};

// Reads and checks the facts; a missing file, a missing or bad value is a problem
// that names the file and the key.
SessionFacts ReadSessionFacts(const QString& path);

}  // namespace lumbrel
