#include "morse/LearningOrders.h"

namespace lumbrel {
namespace {

struct Entry {
    const char* display;
    const char* code;
};

// Position 0 is the word space; 1..40 are taught in this order.
constexpr Entry kKoch[kOrderSize] = {
    {" ", " "},     {"k", "-.-"},    {"m", "--"},     {"r", ".-."},    {"s", "..."},   {"u", "..-"},
    {"a", ".-"},    {"p", ".--."},   {"t", "-"},      {"l", ".-.."},   {"o", "---"},   {"w", ".--"},
    {"i", ".."},    {".", ".-.-.-"}, {"n", "-."},     {"j", ".---"},   {"e", "."},     {"f", "..-."},
    {"0", "-----"}, {"y", "-.--"},   {"v", "...-"},   {",", "--..--"}, {"g", "--."},   {"5", "....."},
    {"/", "-..-."}, {"q", "--.-"},   {"9", "----."},  {"z", "--.."},   {"h", "...."},  {"3", "...--"},
    {"8", "---.."}, {"b", "-..."},   {"?", "..--.."}, {"4", "....-"},  {"2", "..---"}, {"7", "--..."},
    {"c", "-.-."},  {"1", ".----"},  {"d", "-.."},    {"6", "-...."},  {"x", "-..-"},
};

constexpr Entry kMfj[kOrderSize] = {
    {" ", " "},      {"w", ".--"},   {"b", "-..."},   {"m", "--"},    {"h", "...."},   {"a", ".-"},
    {"t", "-"},      {"j", ".---"},  {"s", "..."},    {"n", "-."},    {"i", ".."},     {"o", "---"},
    {"d", "-.."},    {"e", "."},     {"l", ".-.."},   {"k", "-.-"},   {"z", "--.."},   {"g", "--."},
    {"c", "-.-."},   {"u", "..-"},   {"q", "--.-"},   {"r", ".-."},   {"v", "...-"},   {"f", "..-."},
    {"p", ".--."},   {"y", "-.--"},  {"x", "-..-"},   {"5", "....."}, {".", ".-.-.-"}, {"7", "--..."},
    {"/", "-..-."},  {"9", "----."}, {",", "--..--"}, {"1", ".----"}, {"6", "-...."},  {"8", "---.."},
    {"?", "..--.."}, {"2", "..---"}, {"0", "-----"},  {"4", "....-"}, {"3", "...--"},
};

OrderTable MakeTable(const Entry (&entries)[kOrderSize]) {
    OrderTable table;
    for (int i = 0; i < kOrderSize; ++i)
        table[i] = MorseCharacter{QString::fromLatin1(entries[i].display), QByteArray(entries[i].code)};
    return table;
}

// Letters in both cases, digits and . , / ? map to their position in the order; the
// space to the word space; '^' starts a prosign in both orders, '~' only in the MFJ order.
constexpr CharacterMapTable MakeMap(const Entry (&entries)[kOrderSize], bool tildeIsProsign) {
    CharacterMapTable map{};
    for (auto& v : map)
        v = kUnmapped;
    for (int pos = 1; pos < kOrderSize; ++pos) {
        const char c = entries[pos].display[0];
        map[static_cast<unsigned char>(c)] = static_cast<std::uint8_t>(pos);
        if (c >= 'a' && c <= 'z')
            map[static_cast<unsigned char>(c - 'a' + 'A')] = static_cast<std::uint8_t>(pos);
    }
    map[' '] = kWordSpace;
    map['^'] = kProsignMarker;
    if (tildeIsProsign)
        map['~'] = kProsignMarker;
    return map;
}

constexpr CharacterMapTable kKochMap = MakeMap(kKoch, false);
constexpr CharacterMapTable kMfjMap = MakeMap(kMfj, true);

static_assert(kKochMap['K'] == 1 && kKochMap['k'] == 1 && kKochMap['/'] == 24 && kKochMap['~'] == kUnmapped);
static_assert(kMfjMap['K'] == 15 && kMfjMap['/'] == 30 && kMfjMap['~'] == kProsignMarker);

}  // namespace

const OrderTable& LearningOrderTable(LearningOrder order) {
    static const OrderTable koch = MakeTable(kKoch);
    static const OrderTable mfj = MakeTable(kMfj);
    return order == LearningOrder::Mfj ? mfj : koch;
}

const CharacterMapTable& CharacterMap(LearningOrder order) {
    return order == LearningOrder::Mfj ? kMfjMap : kKochMap;
}

}  // namespace lumbrel
