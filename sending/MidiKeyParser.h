#pragma once
// The MIDI of a USB key adapter, as raw bytes: in passthrough mode the adapter sends
// note 1 (C#) for the dit paddle, note 2 (D) for the dah paddle and note 0 (C) for a
// straight key (or an element its own keyer timed), Note On 0x9n to close and Note Off
// 0x8n (or Note On with velocity 0) to open. When the adapter embeds timing, each note
// comes after a CC4 (0xBn 0x04 high) and its velocity holds the low bits: the
// milliseconds since the adapter's previous key event are high * 126 + low.
//
// Running status is followed, real-time bytes (0xF8-0xFF) may come anywhere, and
// system exclusive and other messages are skipped. Any channel is accepted.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "sending/KeyEvent.h"

namespace lumbrel {

class MidiKeyParser {
public:
    // The messages that put an adapter into MIDI mode and passthrough keying, so the
    // host times the paddles itself, and the one that gives it back its keyboard mode.
    static std::vector<std::uint8_t> PassthroughCommands() { return {0xB0, 0x00, 0x00, 0xC0, 0x00}; }
    static std::vector<std::uint8_t> KeyboardModeCommand() { return {0xB0, 0x00, 0x7F}; }

    struct Key {
        KeyContact contact = KeyContact::Straight;
        bool down = false;
        // Milliseconds since the adapter's previous key event, when it embedded them.
        std::optional<int> intervalMs;
        friend bool operator==(const Key&, const Key&) = default;
    };

    // Feeds bytes as they arrive; returns the key changes they complete.
    std::vector<Key> Feed(const std::uint8_t* bytes, std::size_t count);
    // The same with one Key at a time to `out`; no allocation.
    template <typename Out>
    void Feed(const std::uint8_t* bytes, std::size_t count, Out&& out) {
        for (std::size_t i = 0; i < count; ++i) {
            if (auto key = Byte(bytes[i]))
                out(*key);
        }
    }

private:
    std::optional<Key> Byte(std::uint8_t byte);
    std::optional<Key> Message();

    std::uint8_t status_ = 0;  // running status; 0 when none (or inside system exclusive)
    std::uint8_t data_[2] = {0, 0};
    int have_ = 0;
    std::optional<int> high_;  // CC4's high bits, waiting for their note
};

}  // namespace lumbrel
