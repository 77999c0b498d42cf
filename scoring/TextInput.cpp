#include "scoring/TextInput.h"

#include <QFileInfo>
#include <QStringDecoder>

#include "text/PlainFile.h"
#include "text/TextEncoding.h"

namespace lumbrel {
namespace {

// Far more than any text to score; a larger file is refused before it is read.
constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024;

bool IsTextControl(char16_t c) {
    return c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r' && c != u'\f' && c != u'\v';
}

}  // namespace

ScoringText DecodeScoringText(const QByteArray& bytes, const QString& name) {
    ScoringText result;
    QString text;
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                            : QStringConverter::Utf16BE);
        text = decoder.decode(bytes.mid(2));
        if (decoder.hasError()) {
            result.problem = QStringLiteral("%1 is not a readable UTF-16 text.").arg(name);
            return result;
        }
    } else {
        if (bytes.contains('\0')) {
            result.problem = QStringLiteral("%1 is not a text file (it holds NUL bytes).").arg(name);
            return result;
        }
        // A byte that is not UTF-8 in a UTF-8 text becomes U+FFFD; an older 8-bit text
        // is Latin-1.
        if (JudgeEncoding(bytes) == TextEncoding::Utf8)
            text = QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
        else
            text = QString::fromLatin1(bytes);
    }
    qsizetype controls = 0;
    for (QChar c : text)
        if (IsTextControl(c.unicode()) || c.unicode() == 0)
            ++controls;
    // A stray escape or form feed is a text's; a share of control characters is not.
    if (controls > 0 && controls * 100 > text.size()) {
        result.problem = QStringLiteral("%1 is not a text file (it holds control characters).").arg(name);
        return result;
    }
    if (text.size() > kMaxScoringTextCharacters) {
        result.problem = QStringLiteral("%1 is too long to score (more than %2 characters).")
                             .arg(name)
                             .arg(kMaxScoringTextCharacters);
        return result;
    }
    result.text = text;
    return result;
}

ScoringText ReadScoringText(const QString& path) {
    ScoringText result;
    if (QFileInfo(path).isDir()) {
        result.problem = QStringLiteral("%1 is a folder, not a text file.").arg(path);
        return result;
    }
    PlainFileBytes file = ReadPlainFile(path, kMaxFileBytes);
    switch (file.status) {
        case PlainFileBytes::Status::Read:
            return DecodeScoringText(file.bytes, path);
        case PlainFileBytes::Status::Missing:
            result.problem = QStringLiteral("%1: no such file.").arg(path);
            break;
        case PlainFileBytes::Status::NotPlain:
            result.problem = QStringLiteral("%1 is not a plain file (a device or a pipe).").arg(path);
            break;
        case PlainFileBytes::Status::TooLarge:
            result.problem =
                QStringLiteral("%1 is too large to score (more than %2 bytes).").arg(path).arg(kMaxFileBytes);
            break;
        case PlainFileBytes::Status::Unreadable:
            result.problem = QStringLiteral("%1 cannot be read: %2.").arg(path, file.error);
            break;
    }
    return result;
}

}  // namespace lumbrel
