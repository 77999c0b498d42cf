#pragma once
#include <QByteArray>
#include <QString>

namespace lumbrel {

// One character of the trainer: the text shown for it and its code.
// code holds '.' (dot), '-' (dash) and ' ' (word space); any other symbol is kept
// but adds neither sound nor length when rendered.
struct MorseCharacter {
    static constexpr int kMaxLength = 10;  // display characters and code symbols

    QString display;
    QByteArray code;
};

}  // namespace lumbrel
