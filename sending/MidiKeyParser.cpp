#include "sending/MidiKeyParser.h"

namespace lumbrel {

namespace {

// Data bytes a channel message of this status carries.
int DataBytes(std::uint8_t status) {
    switch (status & 0xF0) {
        case 0xC0:
        case 0xD0:
            return 1;
        default:
            return 2;
    }
}

}  // namespace

std::vector<MidiKeyParser::Key> MidiKeyParser::Feed(const std::uint8_t* bytes, std::size_t count) {
    std::vector<Key> keys;
    Feed(bytes, count, [&](const Key& key) { keys.push_back(key); });
    return keys;
}

std::optional<MidiKeyParser::Key> MidiKeyParser::Byte(std::uint8_t byte) {
    if (byte >= 0xF8)
        return std::nullopt;  // real-time: clock, start, stop, active sensing, reset
    if (byte >= 0x80) {
        // A channel status starts running status; a system message (0xF0-0xF7) ends it,
        // and its data bytes are skipped until the next status.
        status_ = byte < 0xF0 ? byte : 0;
        have_ = 0;
        return std::nullopt;
    }
    if (status_ == 0)
        return std::nullopt;
    data_[have_++] = byte;
    if (have_ < DataBytes(status_))
        return std::nullopt;
    have_ = 0;
    return Message();
}

std::optional<MidiKeyParser::Key> MidiKeyParser::Message() {
    const std::uint8_t kind = status_ & 0xF0;
    if (kind == 0xB0) {
        if (data_[0] == 0x04)
            high_ = data_[1];
        return std::nullopt;
    }
    if (kind != 0x90 && kind != 0x80) {
        high_.reset();
        return std::nullopt;
    }
    const std::uint8_t note = data_[0];
    const std::uint8_t velocity = data_[1];
    std::optional<int> interval;
    if (high_) {
        interval = *high_ * 126 + velocity;
        high_.reset();
    }
    if (note > 2)
        return std::nullopt;
    Key key;
    key.contact = note == 1 ? KeyContact::Dit : note == 2 ? KeyContact::Dah : KeyContact::Straight;
    // With embedded timing the velocity carries the low bits (1..126, never 0).
    key.down = kind == 0x90 && (velocity != 0 || interval.has_value());
    key.intervalMs = interval;
    return key;
}

}  // namespace lumbrel
