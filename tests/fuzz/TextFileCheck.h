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

// Lines end at LF, CR or CR LF; a last line without an end counts, an empty rest
// after the last end does not. For inputs far below the reader's longest line.
std::vector<QByteArray> PlainLines(QByteArrayView bytes);

// The input repeated until it reaches past the line reader's first chunk, so that a
// chunk boundary falls at a place within the input that its length chooses; the reader
// must give the same lines as PlainLines.
void CheckLineReaderAcrossChunks(QByteArrayView input);

// The file at path, holding input, through the line source and the parameter line
// parser as the symbol source takes it.
void CheckTextFileSource(const QString& path, QByteArrayView input);

}  // namespace lumbrel::fuzz
