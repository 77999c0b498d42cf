#include "text/TextEncoding.h"

#include <cstdint>
#include <cstring>

namespace lumbrel {
namespace {

// The length of the character a lead byte starts and the range of the byte after it;
// 0 for a byte that starts no character.
int LeadLength(unsigned char lead, unsigned char& low, unsigned char& high) {
    low = 0x80;
    high = 0xBF;
    if (lead < 0x80)
        return 1;
    if (lead < 0xC2)
        return 0;  // a continuation byte, or an overlong two-byte form
    if (lead < 0xE0)
        return 2;
    if (lead < 0xF0) {
        if (lead == 0xE0)
            low = 0xA0;  // overlong below
        else if (lead == 0xED)
            high = 0x9F;  // surrogates above
        return 3;
    }
    if (lead < 0xF5) {
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;  // above U+10FFFF
        return 4;
    }
    return 0;
}

// The length of the valid character at data[i], or 0 when none starts there.
int ValidLength(const char* data, qsizetype size, qsizetype i) {
    unsigned char low = 0;
    unsigned char high = 0;
    const int length = LeadLength(static_cast<unsigned char>(data[i]), low, high);
    if (length == 0 || i + length > size)
        return 0;
    for (int k = 1; k < length; ++k) {
        const auto c = static_cast<unsigned char>(data[i + k]);
        if (c < low || c > high)
            return 0;
        low = 0x80;
        high = 0xBF;
    }
    return length;
}

}  // namespace

void Utf8Check::Feed(QByteArrayView bytes) {
    const char* data = bytes.data();
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size) {
        if (pending_ == 0) {
            // Plain ASCII eight bytes at a time: most text is.
            if (i + 8 <= size) {
                std::uint64_t eight = 0;
                std::memcpy(&eight, data + i, 8);
                if ((eight & 0x8080808080808080ull) == 0) {
                    i += 8;
                    continue;
                }
            }
            const int length = LeadLength(static_cast<unsigned char>(data[i]), low_, high_);
            if (length == 0) {
                valid_ = false;
                ++invalid_;
            }
            length_ = length;
            pending_ = length > 0 ? length - 1 : 0;
        } else {
            const auto c = static_cast<unsigned char>(data[i]);
            if (c < low_ || c > high_) {
                // The character read so far is cut short; this byte may begin the next.
                valid_ = false;
                invalid_ += length_ - pending_;
                pending_ = 0;
                continue;
            }
            low_ = 0x80;
            high_ = 0xBF;
            if (--pending_ == 0)
                ++characters_;
        }
        ++i;
    }
}

TextEncoding Utf8Check::Judged(bool atEnd) const {
    const qsizetype invalid = invalid_ + (atEnd && pending_ > 0 ? length_ - pending_ : 0);
    return invalid == 0 || characters_ > invalid ? TextEncoding::Utf8 : TextEncoding::Latin1;
}

TextEncoding JudgeEncoding(QByteArrayView bytes) {
    Utf8Check check;
    check.Feed(bytes);
    return check.Judged(true);
}

bool IsValidUtf8(QByteArrayView bytes) {
    Utf8Check check;
    check.Feed(bytes);
    return check.ValidAtEnd();
}

QByteArray ToUtf8(QByteArrayView bytes, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8 && IsValidUtf8(bytes))
        return bytes.toByteArray();
    QByteArray out;
    out.reserve(bytes.size() + bytes.size() / 2);
    const char* data = bytes.data();
    for (qsizetype i = 0; i < bytes.size();) {
        const int length = encoding == TextEncoding::Utf8 ? ValidLength(data, bytes.size(), i) : 0;
        if (length > 0) {
            out.append(data + i, length);
            i += length;
            continue;
        }
        const auto c = static_cast<unsigned char>(data[i++]);
        if (c < 0x80) {
            out.append(static_cast<char>(c));
        } else {
            out.append(static_cast<char>(0xC0 | (c >> 6)));
            out.append(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

char32_t NextCharacter(QByteArrayView utf8, qsizetype& position) {
    const auto lead = static_cast<unsigned char>(utf8[position++]);
    if (lead < 0x80)
        return lead;
    int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    char32_t c = lead & (0x3F >> more);
    for (; more > 0 && position < utf8.size(); --more)
        c = (c << 6) | (static_cast<unsigned char>(utf8[position++]) & 0x3Fu);
    return c;
}

qsizetype CharacterCount(QByteArrayView utf8) {
    qsizetype count = 0;
    for (const char c : utf8)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

}  // namespace lumbrel
