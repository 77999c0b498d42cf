#pragma once
// The characters of the learning order as a learner looks them up: each with its code
// drawn as dots and dashes, and whether the lesson uses it yet.
#include <QString>

#include <vector>

namespace lumbrel {

struct MorseCharacter;

struct ChartEntry {
    const MorseCharacter* character = nullptr;
    QString code;        // "• • —": a bullet for a dot, an em dash for a dash
    bool inUse = false;  // among the first `count` of the order
};

// Every character of list (the character list, word space first, which is left out),
// in its order; the first count are in use.
std::vector<ChartEntry> CharacterChart(const std::vector<const MorseCharacter*>& list, int count);
// A code of '.' and '-' as the chart shows it; other symbols are left out.
QString DotsAndDashes(const QByteArray& code);

}  // namespace lumbrel
