#include "text/TextFileSource.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace lumbrel {
namespace {

// A byte-order mark at the device's position is passed over: it is no part of the text.
void SkipByteOrderMark(QIODevice& device) {
    if (device.peek(kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark)
        device.skip(kUtf8ByteOrderMark.size());
}

}  // namespace

// --- LineReader ----------------------------------------------------------------------

void LineReader::Reset() {
    buffer_.clear();
    begin_ = end_ = scanned_ = 0;
    eof_ = skipLf_ = failed_ = false;
}

bool LineReader::Open(const QString& path) {
    Close();
    error_.clear();
    const QFileInfo info(path);
    if (!info.exists()) {
        error_ = QStringLiteral("The file \"%1\" does not exist.").arg(path);
        return false;
    }
    // Devices, pipes and folders are refused: they may never end or cannot be read again.
    if (!info.isFile()) {
        error_ = QStringLiteral("\"%1\" is not a plain file.").arg(path);
        return false;
    }
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadOnly)) {
        error_ = QStringLiteral("The file \"%1\" cannot be read: %2").arg(path, file_.errorString());
        return false;
    }
    SkipByteOrderMark(file_);
    return true;
}

void LineReader::Close() {
    if (file_.isOpen())
        file_.close();
    Reset();
    buffer_.squeeze();
}

bool LineReader::Fill() {
    if (begin_ > 0) {
        const qsizetype kept = end_ - begin_;
        if (kept > 0)
            std::memmove(buffer_.data(), buffer_.constData() + begin_, static_cast<std::size_t>(kept));
        scanned_ -= begin_;
        end_ = kept;
        begin_ = 0;
    }
    if (buffer_.size() < end_ + kChunkBytes)
        buffer_.resize(end_ + kChunkBytes);
    const qint64 got = file_.read(buffer_.data() + end_, kChunkBytes);
    if (got < 0) {
        failed_ = true;
        error_ = file_.errorString();
        eof_ = true;
        return false;
    }
    if (got == 0) {
        eof_ = true;
        return false;
    }
    end_ += got;
    return true;
}

bool LineReader::Next(QByteArrayView& line) {
    if (!file_.isOpen())
        return false;
    for (;;) {
        if (skipLf_) {
            if (begin_ < end_) {
                if (buffer_.at(begin_) == '\n') {
                    ++begin_;
                    scanned_ = begin_;
                }
                skipLf_ = false;
            } else if (!eof_) {
                Fill();
                continue;
            } else {
                skipLf_ = false;
            }
        }

        const char* data = buffer_.constData();
        // A line ends at its line end or after kMaxLineBytes, whatever follows.
        const qsizetype limit = std::min(end_, begin_ + kMaxLineBytes);
        qsizetype i = scanned_ < begin_ ? begin_ : scanned_;
        while (i < limit && data[i] != '\n' && data[i] != '\r')
            ++i;
        if (i < limit) {
            line = QByteArrayView(data + begin_, i - begin_);
            if (data[i] == '\r') {
                if (i + 1 < end_) {
                    begin_ = data[i + 1] == '\n' ? i + 2 : i + 1;
                } else {
                    begin_ = i + 1;
                    skipLf_ = true;  // an LF at the start of the next chunk belongs to this end
                }
            } else {
                begin_ = i + 1;
            }
            scanned_ = begin_;
            return true;
        }
        scanned_ = i;
        if (end_ - begin_ >= kMaxLineBytes) {
            line = QByteArrayView(data + begin_, kMaxLineBytes);
            begin_ += kMaxLineBytes;
            scanned_ = begin_;
            return true;
        }
        if (eof_) {
            if (begin_ < end_) {
                line = QByteArrayView(data + begin_, end_ - begin_);
                begin_ = scanned_ = end_;
                return true;
            }
            return false;
        }
        Fill();
    }
}

// --- Kinds of line --------------------------------------------------------------------

bool IsBlankLine(QByteArrayView line) {
    for (const char c : line)
        if (static_cast<unsigned char>(c) > 0x20)
            return false;
    return true;
}

bool IsCommentLine(QByteArrayView line) {
    return !line.isEmpty() && line.front() == '\'';
}

// --- Kind of file ------------------------------------------------------------------------

TextFileKind ScanTextFileKind(QIODevice& device) {
    // Byte by byte rather than line by line: a file of a hundred million empty lines
    // is told apart in a moment. Lines end and split exactly as LineReader has them.
    // The same pass checks whether the file is UTF-8; once the kind is known that check
    // alone goes on, up to kEncodingScanBytes.
    TextFileKind kind;
    SkipByteOrderMark(device);
    Utf8Check utf8;
    qint64 checked = 0;
    bool kindKnown = false;
    QByteArray chunk(LineReader::kChunkBytes, Qt::Uninitialized);
    qint64 index = 0;      // the line being read
    qsizetype length = 0;  // its bytes so far
    bool blank = true;
    bool comment = false;
    bool comma = false;
    bool afterCr = false;  // the byte before was the CR ending a line
    auto endLine = [&] {
        const bool plain = !blank && !comment && !comma;
        if (plain) {
            kind.parameterLines = false;
            kind.firstPlainLine = index;
        }
        ++index;
        length = 0;
        blank = true;
        comment = comma = false;
        return plain;
    };
    for (;;) {
        if (kindKnown && (!utf8.ValidSoFar() || checked >= kEncodingScanBytes))
            break;
        const qint64 got = device.read(chunk.data(), chunk.size());
        if (got < 0) {
            kind.failed = true;
            kind.error = device.errorString();
            return kind;
        }
        if (got == 0)
            break;
        if (checked < kEncodingScanBytes) {
            utf8.Feed(QByteArrayView(chunk.constData(), got));
            checked += got;
        }
        const char* data = chunk.constData();
        for (qint64 i = 0; i < got && !kindKnown; ++i) {
            const char c = data[i];
            if (afterCr) {
                afterCr = false;
                if (c == '\n')
                    continue;
            }
            if (c == '\n' || c == '\r') {
                afterCr = c == '\r';
                kindKnown = endLine();
                continue;
            }
            if (length == 0 && c == '\'')
                comment = true;
            if (static_cast<unsigned char>(c) > 0x20)
                blank = false;
            if (c == ',')
                comma = true;
            if (++length == LineReader::kMaxLineBytes)
                kindKnown = endLine();
        }
    }
    if (!kindKnown && length > 0)
        endLine();
    // A file cut short inside a character is not UTF-8 either.
    kind.encoding = utf8.Judged(checked < kEncodingScanBytes);
    return kind;
}

// --- TextFileSource ---------------------------------------------------------------------

bool TextFileSource::Open(const QString& path) {
    Close();
    error_.clear();
    if (!reader_.Open(path)) {
        error_ = reader_.Error();
        return false;
    }
    QFile scan(path);
    TextFileKind kind;
    if (scan.open(QIODevice::ReadOnly)) {
        kind = ScanTextFileKind(scan);
    } else {
        kind.failed = true;
        kind.error = scan.errorString();
    }
    if (kind.failed) {
        error_ = QStringLiteral("The file \"%1\" cannot be read: %2").arg(path, kind.error);
        Close();
        return false;
    }
    parameterLines_ = kind.parameterLines;
    firstPlainLine_ = kind.firstPlainLine;
    encoding_ = kind.encoding;
    lineIndex_ = 0;
    return true;
}

void TextFileSource::Close() {
    reader_.Close();
    parameterLines_ = false;
    firstPlainLine_ = 0;
    lineIndex_ = 0;
}

TextFileSource::Next TextFileSource::NextLine(QByteArray& line, int& budget) {
    QByteArrayView view;
    while (budget > 0) {
        --budget;
        if (!reader_.Next(view)) {
            reader_.Close();  // the handle goes at once; the kind stays known
            return Next::End;
        }
        const qint64 index = lineIndex_++;
        const bool removable = parameterLines_ || index < firstPlainLine_;
        if (removable && IsCommentLine(view))
            continue;
        line = ToUtf8(view, encoding_);
        return Next::Line;
    }
    return Next::OutOfBudget;
}

}  // namespace lumbrel
