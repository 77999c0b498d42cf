#pragma once
// Text as people's files hold it: UTF-8, with or without a byte-order mark, or older
// files in Latin-1. A file is read as UTF-8 when its bytes are valid UTF-8, or when its
// valid UTF-8 characters beyond ASCII outnumber the bytes that are not (a UTF-8 file
// with a stray byte), and as Latin-1 otherwise, so the choice is made once per file.
// Whatever a file held, the text sources pass its text on as UTF-8.
#include <QByteArray>
#include <QByteArrayView>

namespace lumbrel {

enum class TextEncoding { Utf8, Latin1 };

// The UTF-8 byte-order mark, skipped at the start of a file.
inline constexpr QByteArrayView kUtf8ByteOrderMark("\xEF\xBB\xBF", 3);

// Whether bytes are UTF-8, fed in pieces of any size (a character may be split
// between two): no overlong forms, no surrogates, nothing above U+10FFFF.
class Utf8Check {
public:
    void Feed(QByteArrayView bytes);
    // False as soon as a byte cannot be UTF-8.
    bool ValidSoFar() const { return valid_; }
    // Valid and not inside a character: the end of the bytes is a valid end.
    bool ValidAtEnd() const { return valid_ && pending_ == 0; }
    // How the bytes so far are best read; atEnd counts a character cut off at the end
    // as bytes that are not UTF-8.
    TextEncoding Judged(bool atEnd) const;

private:
    bool valid_ = true;
    qsizetype characters_ = 0;  // valid characters of two to four bytes
    qsizetype invalid_ = 0;     // bytes that are part of no valid character
    int length_ = 0;            // the bytes of the character being read
    int pending_ = 0;           // continuation bytes still to come
    unsigned char low_ = 0x80;  // the range the next continuation byte must be in
    unsigned char high_ = 0xBF;
};

bool IsValidUtf8(QByteArrayView bytes);

// How a whole text is best read (see the top of this file).
TextEncoding JudgeEncoding(QByteArrayView bytes);

// bytes as UTF-8: a Latin-1 text converted; a UTF-8 text as it is, except that any
// byte that is not part of a valid character is taken as its Latin-1 character.
QByteArray ToUtf8(QByteArrayView bytes, TextEncoding encoding);

// The character at position in valid UTF-8 text; position moves past it.
char32_t NextCharacter(QByteArrayView utf8, qsizetype& position);

// The number of characters of valid UTF-8 text.
qsizetype CharacterCount(QByteArrayView utf8);

}  // namespace lumbrel
