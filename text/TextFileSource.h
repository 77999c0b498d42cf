#pragma once
// Text files read line by line in bounded chunks: a file of any size plays while only
// a chunk and the current line are held in memory. Also tells the two kinds of text
// file apart: plain text, and files of parameter lines (every line that is neither
// blank nor a comment holds a comma).
#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QIODevice>
#include <QString>

#include "text/TextEncoding.h"

namespace lumbrel {

// The lines of a file. A byte-order mark at its start is skipped. A line ends at LF, CR
// or CR LF, and the end is not part of it;
// a last line without an end counts, an empty remainder after the last end does not.
// A line longer than kMaxLineBytes is handed out in pieces of that length, each piece
// counting as a line of its own. Bytes are passed on as they are (NUL included).
class LineReader {
public:
    static constexpr qsizetype kChunkBytes = 64 * 1024;
    static constexpr qsizetype kMaxLineBytes = 4 * 1024 * 1024;

    // Opens a regular file; false when it cannot be read (Error() says why).
    bool Open(const QString& path);
    void Close();
    bool IsOpen() const { return file_.isOpen(); }
    // The next line, valid until the next call of any member; false at the end of the
    // file, and after a read error (Failed() then holds).
    bool Next(QByteArrayView& line);

    bool Failed() const { return failed_; }
    const QString& Error() const { return error_; }

private:
    bool Fill();
    void Reset();

    QFile file_;
    QByteArray buffer_;
    qsizetype begin_ = 0;    // first unread byte
    qsizetype end_ = 0;      // end of the bytes read
    qsizetype scanned_ = 0;  // bytes from begin_ up to here hold no line end
    bool eof_ = false;
    bool skipLf_ = false;  // the last line ended with CR at the end of the buffer
    bool failed_ = false;
    QString error_;
};

// Blank: nothing but spaces and control characters. Comment: starts with an apostrophe.
bool IsBlankLine(QByteArrayView line);
bool IsCommentLine(QByteArrayView line);

// The kind of a text file, found in one pass over its bytes: it is a file of parameter
// lines when every line that is neither blank nor a comment holds a comma; otherwise
// firstPlainLine is the index of the first line that does not (lines counted as
// LineReader hands them out, after a byte-order mark). Its encoding is UTF-8 when its
// first kEncodingScanBytes are, else Latin-1.
inline constexpr qint64 kEncodingScanBytes = 16 * 1024 * 1024;
struct TextFileKind {
    bool parameterLines = true;
    qint64 firstPlainLine = 0;
    TextEncoding encoding = TextEncoding::Utf8;
    bool failed = false;  // a read error; error says why
    QString error;
};
TextFileKind ScanTextFileKind(QIODevice& device);

// A text file to be sent in order. Comment lines are removed: in a file of parameter
// lines all of them, in a plain file only those before its first line that is neither
// blank nor a comment and holds no comma (later ones are sent as text).
class TextFileSource {
public:
    enum class Next {
        Line,         // line holds the next line
        End,          // no more lines
        OutOfBudget,  // the budget ran out while comment lines were skipped; ask again
    };

    // Opens the file and reads it once to decide its kind; false (with Error()) when it
    // is not a regular file or cannot be read. Replaces any file opened before.
    bool Open(const QString& path);
    void Close();
    bool IsOpen() const { return reader_.IsOpen(); }

    bool ParameterLines() const { return parameterLines_; }
    TextEncoding Encoding() const { return encoding_; }

    // The next line to send, as UTF-8. budget is lowered by one for every line read and must be
    // above 0; the call returns OutOfBudget when it reaches 0 on a removed line.
    Next NextLine(QByteArray& line, int& budget);

    const QString& Error() const { return error_; }

private:
    LineReader reader_;
    bool parameterLines_ = false;
    TextEncoding encoding_ = TextEncoding::Utf8;
    qint64 firstPlainLine_ = 0;  // index of the first comma-less line of a plain file
    qint64 lineIndex_ = 0;       // index of the next line to read
    QString error_;
};

}  // namespace lumbrel
