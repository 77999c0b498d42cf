#pragma once
// Reads a text to score from a file: the sent text or the copy. A file that cannot
// be read, is not a text or is too long to score is refused with the reason.
#include <QString>

namespace lumbrel {

struct ScoringText {
    QString text;
    QString problem;  // empty when the text was read
    bool Ok() const { return problem.isEmpty(); }
};

// The most characters a text to score may have.
inline constexpr qsizetype kMaxScoringTextCharacters = 200'000;

// UTF-8 (a byte-order mark allowed; a stray byte that is not UTF-8 read as U+FFFD),
// UTF-16 with its byte-order mark, or else Latin-1 (text/TextEncoding.h decides). A
// NUL byte or many control characters mark a file as not a text; a device or a pipe
// is refused without waiting on it.
ScoringText ReadScoringText(const QString& path);

// The same checks on bytes already read; `name` is used in the messages.
ScoringText DecodeScoringText(const QByteArray& bytes, const QString& name);

}  // namespace lumbrel
