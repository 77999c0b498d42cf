#include "speech/SpokenForm.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

namespace lumbrel::speech {
namespace {

constexpr std::array<const char*, 26> kPhonetic = {
    "Alfa",   "Bravo", "Charlie", "Delta",  "Echo",     "Foxtrot", "Golf",   "Hotel",  "India",
    "Juliet", "Kilo",  "Lima",    "Mike",   "November", "Oscar",   "Papa",   "Quebec", "Romeo",
    "Sierra", "Tango", "Uniform", "Victor", "Whiskey",  "X-ray",   "Yankee", "Zulu",
};

void AppendEscaped(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
}

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsVowel(char c) {
    switch (c | 0x20) {
        case 'a':
        case 'e':
        case 'i':
        case 'o':
        case 'u':
        case 'y':
            return true;
        default:
            return false;
    }
}

// Every character on its own, in the phonetic alphabet when asked.
void AppendSpelled(std::string& out, std::string_view text, bool phonetic) {
    if (!phonetic) {
        out += "<say-as interpret-as=\"characters\">";
        AppendEscaped(out, text);
        out += "</say-as>";
        return;
    }
    bool first = true;
    for (const char c : text) {
        if (!first)
            out += ' ';
        first = false;
        if (IsAsciiLetter(c)) {
            out += kPhonetic[static_cast<std::size_t>((c | 0x20) - 'a')];
        } else if (c == '/') {
            out += "stroke";
        } else {
            out += "<say-as interpret-as=\"characters\">";
            AppendEscaped(out, std::string_view(&c, 1));
            out += "</say-as>";
        }
    }
}

// An abbreviation as it was sent: a word of letters without a vowel ("tnx", "cw"), a
// Q code ("qth"), or letters and digits mixed ("5nn", "r2").
bool SpelledAsSent(std::string_view word) {
    bool digit = false, letter = false, vowel = false;
    for (const char c : word) {
        digit = digit || IsDigit(c);
        letter = letter || IsAsciiLetter(c);
        vowel = vowel || IsVowel(c);
    }
    if (!letter)
        return false;
    if (digit || !vowel)
        return true;
    return word.size() == 3 && (word[0] | 0x20) == 'q' && IsAsciiLetter(word[1]) && IsAsciiLetter(word[2]);
}

std::vector<std::string_view> SplitOnSpaces(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        if (end > start)
            words.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return words;
}

void AppendWord(std::string& out, std::string_view word, bool phonetic) {
    // A prosign: its letters after the marker.
    if (!word.empty() && (word.front() == '^' || word.front() == '~')) {
        AppendSpelled(out, word.substr(1), phonetic);
        return;
    }
    if (SpelledAsSent(word)) {
        AppendSpelled(out, word, phonetic);
        return;
    }
    // Numbers digit by digit, everything else as written.
    std::size_t i = 0;
    while (i < word.size()) {
        std::size_t j = i;
        const bool digits = IsDigit(word[i]);
        while (j < word.size() && IsDigit(word[j]) == digits)
            ++j;
        if (i > 0)
            out += ' ';
        if (digits)
            AppendSpelled(out, word.substr(i, j - i), false);
        else
            AppendEscaped(out, word.substr(i, j - i));
        i = j;
    }
}

}  // namespace

std::string SpokenForm(std::string_view item, ItemKind kind, bool phonetic) {
    std::string out = "<speak>";
    bool first = true;
    for (const std::string_view word : SplitOnSpaces(item)) {
        if (!first)
            out += ' ';
        first = false;
        if (kind == ItemKind::Call)
            AppendSpelled(out, word.front() == '^' ? word.substr(1) : word, phonetic);
        else
            AppendWord(out, word, phonetic);
    }
    out += "</speak>";
    return out;
}

}  // namespace lumbrel::speech
