#include "sending/KeyboardKeys.h"

#include <QCoreApplication>

namespace lumbrel {

KeyboardKeys::KeyboardKeys() : codes_{kLeftCtrl, kRightCtrl, kSpace} {}

void KeyboardKeys::Assign(KeyContact contact, std::uint32_t scanCode) {
    codes_[static_cast<int>(contact)] = scanCode;
}

std::optional<KeyContact> KeyboardKeys::ContactOf(std::uint32_t scanCode) const {
    if (scanCode == 0)
        return std::nullopt;
    for (int c = 0; c < 3; ++c) {
        if (codes_[c] == scanCode)
            return static_cast<KeyContact>(c);
    }
    return std::nullopt;
}

bool KeyboardKeys::Change(KeyContact contact, int source, bool down, std::int64_t timeUs) {
    auto& held = held_[static_cast<int>(contact)];
    const bool was = held != 0;
    held = down ? (held | source) : (held & ~source);
    if (queue_ != nullptr && was != (held != 0))
        (void)queue_->Push({contact, held != 0, timeUs});
    return true;
}

bool KeyboardKeys::KeyChanged(std::uint32_t scanCode, bool down, std::int64_t timeUs) {
    const auto contact = ContactOf(scanCode);
    return contact && Change(*contact, 1, down, timeUs);
}

bool KeyboardKeys::ButtonChanged(MouseButton button, bool down, std::int64_t timeUs) {
    if (button == MouseButton::Other)
        return false;
    return Change(button == MouseButton::Left ? KeyContact::Dit : KeyContact::Dah, 2, down, timeUs);
}

void KeyboardKeys::ReleaseAll(std::int64_t timeUs) {
    for (int c = 0; c < 3; ++c) {
        Change(static_cast<KeyContact>(c), 3, false, timeUs);
    }
}

bool KeyboardKeys::Start(KeyEventQueue& queue) {
    queue_ = &queue;
    return true;
}

void KeyboardKeys::Stop() {
    ReleaseAll(SteadyMicroseconds());
    queue_ = nullptr;
}

QString KeyboardKeys::Status() const {
    return QCoreApplication::translate("lumbrel::KeyboardKeys",
                                       "Keyboard: the keys set in Setup; mouse: left dit, right dah.");
}

}  // namespace lumbrel
