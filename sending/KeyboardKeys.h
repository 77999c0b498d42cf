#pragma once
// The keyboard and the mouse as a key: keys told apart by their native scan codes (so
// Left and Right Ctrl are two paddles), and mouse buttons over the sending area. The
// window forwards its key and button events; a key held down and repeated by the
// system counts once.
#include <array>
#include <cstdint>
#include <optional>

#include "sending/KeyInput.h"

namespace lumbrel {

class KeyboardKeys final : public KeyInput {
public:
    // X11 and Wayland key codes (evdev + 8), as the window system reports them.
    static constexpr std::uint32_t kLeftCtrl = 37;
    static constexpr std::uint32_t kRightCtrl = 105;
    static constexpr std::uint32_t kSpace = 65;

    enum class MouseButton { Left, Right, Other };

    KeyboardKeys();

    // The scan code that closes `contact` (0: none).
    void Assign(KeyContact contact, std::uint32_t scanCode);
    std::uint32_t ScanCode(KeyContact contact) const { return codes_[static_cast<int>(contact)]; }
    std::optional<KeyContact> ContactOf(std::uint32_t scanCode) const;

    // UI thread. True when the key is one of the key's contacts (the window then
    // takes the event for itself).
    bool KeyChanged(std::uint32_t scanCode, bool down, std::int64_t timeUs);
    // UI thread. Left is dit, right is dah.
    bool ButtonChanged(MouseButton button, bool down, std::int64_t timeUs);
    // UI thread. Every contact closed opens (the window lost the focus).
    void ReleaseAll(std::int64_t timeUs);

    bool Start(KeyEventQueue& queue) override;
    void Stop() override;
    QString Status() const override;

private:
    bool Change(KeyContact contact, int source, bool down, std::int64_t timeUs);

    std::array<std::uint32_t, 3> codes_{};
    std::array<std::uint8_t, 3> held_{};  // bit 0 the keyboard, bit 1 the mouse
    KeyEventQueue* queue_ = nullptr;
};

}  // namespace lumbrel
