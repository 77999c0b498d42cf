#pragma once
// The reading of a text file that the trainer's text source relies on, checked without
// the engine: the line reader against a plain reading of the line ends, the one-pass
// scan of the file's kind against the line source, and each line of a file of parameter
// lines through the parameter line parser.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

namespace lumbrel::fuzz {

// The bytes after a UTF-8 byte-order mark, or all of them when there is none.
QByteArrayView WithoutByteOrderMark(QByteArrayView bytes);

// A line of a file as the text sources pass it on: as it is in a UTF-8 file, converted
// from Latin-1 otherwise.
QByteArray AsUtf8(QByteArrayView line, bool fileIsUtf8);

// Lines end at LF, CR or CR LF; a last line without an end counts, an empty rest
// after the last end does not. A byte-order mark at the start is no part of the first.
// For inputs far below the reader's longest line.
std::vector<QByteArray> PlainLines(QByteArrayView bytes);

// The input repeated until it reaches past the line reader's first chunk, so that a
// chunk boundary falls at a place within the input that its length chooses; the reader
// must give the same lines as PlainLines.
void CheckLineReaderAcrossChunks(QByteArrayView input);

// The file at path, holding input, through the line source and the parameter line
// parser as the symbol source takes it.
void CheckTextFileSource(const QString& path, QByteArrayView input);

}  // namespace lumbrel::fuzz
