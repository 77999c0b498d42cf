#include "tests/fuzz/TextFileCheck.h"

#include <QBuffer>

#include "morse/Random.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/fuzz/ParameterLineCheck.h"
#include "text/ParameterLine.h"
#include "text/TextFileSource.h"

namespace lumbrel::fuzz {

QByteArrayView WithoutByteOrderMark(QByteArrayView bytes) {
    return bytes.startsWith(QByteArrayView("\xEF\xBB\xBF")) ? bytes.sliced(3) : bytes;
}

// The bytes of the valid UTF-8 character at i (by Qt's own check), 0 for a stray byte.
qsizetype Utf8CharacterAt(QByteArrayView bytes, qsizetype i) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const qsizetype length = lead < 0x80                    ? 1
                             : lead >= 0xC2 && lead <= 0xDF ? 2
                             : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                            : 0;
    return length > 0 && i + length <= bytes.size() && bytes.sliced(i, length).isValidUtf8() ? length : 0;
}

// A file is read as UTF-8 when it is valid, or when its characters beyond ASCII
// outnumber its stray bytes.
bool ReadAsUtf8(QByteArrayView bytes) {
    qsizetype characters = 0, stray = 0;
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype n = Utf8CharacterAt(bytes, i);
        characters += n > 1;
        stray += n == 0;
        i += n > 0 ? n : 1;
    }
    return stray == 0 || characters > stray;
}

// A line as the sources pass it on: a stray byte of a UTF-8 file is its Latin-1 character.
QByteArray AsUtf8(QByteArrayView line, bool fileIsUtf8) {
    if (!fileIsUtf8)
        return QString::fromLatin1(line).toUtf8();
    QByteArray out;
    for (qsizetype i = 0; i < line.size();) {
        const qsizetype n = Utf8CharacterAt(line, i);
        if (n > 0)
            out += line.sliced(i, n);
        else
            out += QString(QChar(static_cast<unsigned char>(line[i]))).toUtf8();
        i += n > 0 ? n : 1;
    }
    return out;
}

std::vector<QByteArray> PlainLines(QByteArrayView bytes) {
    bytes = WithoutByteOrderMark(bytes);
    std::vector<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\n' && c != '\r')
            continue;
        lines.push_back(bytes.sliced(start, i - start).toByteArray());
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.push_back(bytes.sliced(start).toByteArray());
    return lines;
}

namespace {

// The lines of bytes one at a time, as PlainLines has them, without holding them all.
class PlainLineCursor {
public:
    explicit PlainLineCursor(QByteArrayView bytes)
        : bytes_(bytes),
          start_(WithoutByteOrderMark(bytes).data() - bytes.data()) {}

    FUZZ_NO_COVERAGE bool Next(QByteArrayView& line) {
        if (start_ >= bytes_.size())
            return false;
        qsizetype i = start_;
        while (i < bytes_.size() && bytes_[i] != '\n' && bytes_[i] != '\r')
            ++i;
        line = bytes_.sliced(start_, i - start_);
        if (i + 1 < bytes_.size() && bytes_[i] == '\r' && bytes_[i + 1] == '\n')
            ++i;
        start_ = i + 1;
        return true;
    }

private:
    QByteArrayView bytes_;
    qsizetype start_ = 0;
};

}  // namespace

void CheckLineReaderAcrossChunks(QByteArrayView input) {
    if (input.isEmpty())
        return;
    const qsizetype copies = LineReader::kChunkBytes / input.size() + 2;
    QByteArray repeated;
    repeated.reserve(copies * input.size());
    for (qsizetype k = 0; k < copies; ++k)
        repeated.append(input);
    const QString path = WriteDataFile(QStringLiteral("repeated.txt"), repeated);

    PlainLineCursor expected(repeated);
    LineReader reader;
    FUZZ_CHECK(reader.Open(path));
    QByteArrayView line;
    QByteArrayView want;
    while (reader.Next(line)) {
        FUZZ_CHECK(expected.Next(want));
        FUZZ_CHECK(line == want);
    }
    FUZZ_CHECK(!reader.Failed());
    FUZZ_CHECK(!expected.Next(want));
}

void CheckTextFileSource(const QString& path, QByteArrayView input) {
    QBuffer buffer;
    buffer.setData(input.toByteArray());
    FUZZ_CHECK(buffer.open(QIODevice::ReadOnly));
    const TextFileKind kind = ScanTextFileKind(buffer);
    FUZZ_CHECK(!kind.failed);

    TextFileSource source;
    FUZZ_CHECK(source.Open(path));
    FUZZ_CHECK(source.ParameterLines() == kind.parameterLines);

    // A file of parameter lines loses all its comments, a plain file only those before
    // its first plain line. The rest come as UTF-8: as they are when the text after a
    // byte-order mark is read as UTF-8, converted from Latin-1 otherwise.
    const std::vector<QByteArray> all = PlainLines(input);
    const bool utf8 = ReadAsUtf8(WithoutByteOrderMark(input));
    FUZZ_CHECK(source.Encoding() == (utf8 ? TextEncoding::Utf8 : TextEncoding::Latin1));
    std::vector<QByteArray> kept;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const bool removable = source.ParameterLines() || i < static_cast<std::size_t>(kind.firstPlainLine);
        if (!(removable && IsCommentLine(all[i])))
            kept.push_back(AsUtf8(all[i], utf8));
    }

    RandomNumber random(InputHash(input));
    QByteArray line;
    std::size_t returned = 0;
    int budget = 1 << 16;
    for (;;) {
        const TextFileSource::Next next = source.NextLine(line, budget);
        if (next == TextFileSource::Next::End)
            break;
        FUZZ_CHECK(next == TextFileSource::Next::Line);  // the budget is far above the lines
        FUZZ_CHECK(returned < kept.size() && line == kept[returned]);
        ++returned;
        if (source.ParameterLines()) {
            // Every comment is removed; every other line is blank or holds a comma.
            FUZZ_CHECK(!IsCommentLine(line));
            FUZZ_CHECK(IsBlankLine(line) || line.contains(','));
            CheckParameterLine(line, static_cast<int>(returned % (kMaxLeadingSpaces + 1)), random);
        }
    }
    FUZZ_CHECK(!source.IsOpen());  // the handle goes at the end
    FUZZ_CHECK(returned == kept.size());
}

}  // namespace lumbrel::fuzz
