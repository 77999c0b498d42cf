#pragma once
// The sender component's own character table, independent of the main signal's
// character list: fixed 28-byte records of a 10-byte display text and an 18-byte code
// string, both zero-terminated.
//
// Code symbols: '.' dot, '-' dash, ' ' word space, '@' pause.
//
//   records: a..z, 0..9 (International Morse Code), "/" "-..-.", "?" "..--..",
//            the word space (display " ", code " ") and the pause (display "@", code "@").

#include <QChar>

namespace lumbrel {

struct CWCharacter {
    char display[10];
    char code[18];
};
static_assert(sizeof(CWCharacter) == 28, "a table record is 28 bytes");

class CWCharacterTable {
public:
    // The 40 records: a..z, 0..9, "/", "?", word space, pause.
    static constexpr int kRecordCount = 40;

    static const CWCharacter& Record(int index);
    static const CWCharacter& WordSpace();
    static const CWCharacter& Pause();

    // The record a text character is sent as: A..Z fold to a..z; letters, digits, "/"
    // and "?" are their own records; everything else (spaces, punctuation, characters
    // outside the table) is the word space.
    static const CWCharacter& ForCharacter(QChar c);

    // Length of a code in dot units: '-' counts 4, '.' 2, ' ' 5, any other symbol 2;
    // 2 more for the closing gap when the sum exceeds 1.
    static int Units(const char* code);
};

}  // namespace lumbrel
