#include "CWSender/CWCharacterTable.h"

#include <array>

namespace lumbrel {

namespace {

constexpr int kWordSpaceIndex = 38;
constexpr int kPauseIndex = 39;

constexpr std::array<CWCharacter, CWCharacterTable::kRecordCount> kTable{{
    {"a", ".-"},    {"b", "-..."},   {"c", "-.-."},  {"d", "-.."},   {"e", "."},     {"f", "..-."},
    {"g", "--."},   {"h", "...."},   {"i", ".."},    {"j", ".---"},  {"k", "-.-"},   {"l", ".-.."},
    {"m", "--"},    {"n", "-."},     {"o", "---"},   {"p", ".--."},  {"q", "--.-"},  {"r", ".-."},
    {"s", "..."},   {"t", "-"},      {"u", "..-"},   {"v", "...-"},  {"w", ".--"},   {"x", "-..-"},
    {"y", "-.--"},  {"z", "--.."},   {"0", "-----"}, {"1", ".----"}, {"2", "..---"}, {"3", "...--"},
    {"4", "....-"}, {"5", "....."},  {"6", "-...."}, {"7", "--..."}, {"8", "---.."}, {"9", "----."},
    {"/", "-..-."}, {"?", "..--.."}, {" ", " "},     {"@", "@"},
}};

// Index into kTable for every 7-bit character; the word space for all others.
constexpr std::array<unsigned char, 128> MakeLookup() {
    std::array<unsigned char, 128> lookup{};
    for (auto& entry : lookup)
        entry = kWordSpaceIndex;
    for (int i = 0; i < 26; ++i) {
        lookup[static_cast<std::size_t>('a' + i)] = static_cast<unsigned char>(i);
        lookup[static_cast<std::size_t>('A' + i)] = static_cast<unsigned char>(i);
    }
    for (int i = 0; i < 10; ++i)
        lookup[static_cast<std::size_t>('0' + i)] = static_cast<unsigned char>(26 + i);
    lookup['/'] = 36;
    lookup['?'] = 37;
    return lookup;
}

constexpr std::array<unsigned char, 128> kLookup = MakeLookup();

}  // namespace

const CWCharacter& CWCharacterTable::Record(int index) {
    if (index < 0 || index >= kRecordCount)
        return kTable[kWordSpaceIndex];
    return kTable[static_cast<std::size_t>(index)];
}

const CWCharacter& CWCharacterTable::WordSpace() {
    return kTable[kWordSpaceIndex];
}

const CWCharacter& CWCharacterTable::Pause() {
    return kTable[kPauseIndex];
}

const CWCharacter& CWCharacterTable::ForCharacter(QChar c) {
    const char16_t u = c.unicode();
    if (u >= kLookup.size())
        return kTable[kWordSpaceIndex];
    return kTable[kLookup[u]];
}

int CWCharacterTable::Units(const char* code) {
    int units = 0;
    for (const char* p = code; *p != '\0'; ++p) {
        switch (*p) {
            case '-':
                units += 4;
                break;
            case '.':
                units += 2;
                break;
            case ' ':
                units += 5;
                break;
            default:
                units += 2;
                break;
        }
    }
    if (units > 1)
        units += 2;
    return units;
}

}  // namespace lumbrel
