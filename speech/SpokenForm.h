#pragma once
// What the voice says for an item that was sent: words as they are written, calls
// letter by letter (or in the phonetic alphabet), prosigns by their letters,
// abbreviations as they were sent and numbers as digits. The result is SSML for the
// synthesiser, its text escaped.
#include <string>
#include <string_view>

namespace lumbrel::speech {

enum class ItemKind {
    Word,  // a word, a line of text or an element of a QSO
    Call,  // a callsign: every character on its own
};

// The SSML spoken for item (UTF-8). phonetic: letters of calls (and of abbreviations
// and prosigns) as the phonetic alphabet's words ("Kilo"), digits as digits.
std::string SpokenForm(std::string_view item, ItemKind kind, bool phonetic);

}  // namespace lumbrel::speech
