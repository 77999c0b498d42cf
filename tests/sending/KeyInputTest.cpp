// The key inputs: the MIDI adapter's bytes, the serial lines through their interface,
// and the keyboard's scan codes and mouse buttons, each to the one queue.
#include <gtest/gtest.h>

#include <deque>
#include <mutex>
#include <condition_variable>

#include "sending/KeyboardKeys.h"
#include "sending/MidiKeyParser.h"
#include "sending/SerialKeyReader.h"

using namespace lumbrel;

namespace {

using Key = MidiKeyParser::Key;
constexpr auto Dit = KeyContact::Dit;
constexpr auto Dah = KeyContact::Dah;
constexpr auto Straight = KeyContact::Straight;

TEST(MidiKeyParser, RawBytesGiveKeyChanges) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::vector<Key> keys;
    } const cases[] = {
        {"passthrough notes",
         {0x90, 0x01, 0x7F, 0x80, 0x01, 0x00, 0x90, 0x02, 0x7F, 0x80, 0x02, 0x00},
         {{Dit, true, {}}, {Dit, false, {}}, {Dah, true, {}}, {Dah, false, {}}}},
        {"straight key", {0x90, 0x00, 0x7F, 0x80, 0x00, 0x00}, {{Straight, true, {}}, {Straight, false, {}}}},
        {"running status, velocity 0 is off",
         {0x90, 0x01, 0x7F, 0x01, 0x00, 0x02, 0x40},
         {{Dit, true, {}}, {Dit, false, {}}, {Dah, true, {}}}},
        {"other channel", {0x93, 0x02, 0x7F}, {{Dah, true, {}}}},
        {"real-time bytes inside a message", {0x90, 0xF8, 0x01, 0xFE, 0x7F}, {{Dit, true, {}}}},
        // 300 ms: high (300-1)/126 = 2, low (300-1)%126+1 = 48.
        {"embedded interval",
         {0xB0, 0x04, 0x02, 0x90, 0x01, 0x30, 0xB0, 0x04, 0x00, 0x80, 0x01, 0x01},
         {{Dit, true, 300}, {Dit, false, 1}}},
        {"other notes and controls", {0x90, 0x3C, 0x7F, 0xB0, 0x01, 0x32, 0xC0, 0x08, 0xE0, 0x00, 0x40}, {}},
        {"system exclusive skipped",
         {0xF0, 0x7E, 0x01, 0x02, 0xF7, 0x01, 0x90, 0x02, 0x7F},
         {{Dah, true, {}}}},
        {"data without status", {0x01, 0x7F, 0x40}, {}},
        {"cut short", {0x90, 0x01}, {}},
    };
    for (const auto& c : cases) {
        MidiKeyParser parser;
        EXPECT_EQ(parser.Feed(c.bytes.data(), c.bytes.size()), c.keys) << c.name;
    }
    // A message split across reads.
    MidiKeyParser parser;
    const std::uint8_t a[] = {0x90, 0x02};
    const std::uint8_t b[] = {0x7F};
    EXPECT_TRUE(parser.Feed(a, 2).empty());
    EXPECT_EQ(parser.Feed(b, 1), (std::vector<Key>{{Dah, true, {}}}));
    EXPECT_EQ(MidiKeyParser::PassthroughCommands(),
              (std::vector<std::uint8_t>{0xB0, 0x00, 0x00, 0xC0, 0x00}));
}

// Plays back line states, one a wait, then blocks until interrupted.
class ScriptedLines final : public ModemLines {
public:
    ScriptedLines(unsigned start, std::deque<unsigned> changes, bool opens = true)
        : start_(start),
          changes_(std::move(changes)),
          opens_(opens) {}
    bool Open(const QString&) override { return opens_; }
    std::optional<unsigned> Lines() override { return start_; }
    std::optional<unsigned> WaitForChange() override {
        std::unique_lock lock(mutex_);
        if (!changes_.empty()) {
            const unsigned next = changes_.front();
            changes_.pop_front();
            if (next == kGone)
                return std::nullopt;
            return next;
        }
        woken_.wait(lock, [this] { return interrupted_; });
        return std::nullopt;
    }
    void Interrupt() override {
        std::lock_guard lock(mutex_);
        interrupted_ = true;
        woken_.notify_all();
    }
    void Close() override {}
    QString ErrorText() const override { return QStringLiteral("No such file or directory"); }

    static constexpr unsigned kGone = ~0U;

private:
    unsigned start_;
    std::deque<unsigned> changes_;
    bool opens_;
    std::mutex mutex_;
    std::condition_variable woken_;
    bool interrupted_ = false;
};

std::vector<std::pair<KeyContact, bool>> Drain(KeyEventQueue& queue, std::size_t wanted) {
    std::vector<std::pair<KeyContact, bool>> got;
    KeyEvent event;
    for (int spin = 0; got.size() < wanted && spin < 200000; ++spin) {
        if (queue.Pop(event))
            got.emplace_back(event.contact, event.down);
        else
            std::this_thread::yield();
    }
    return got;
}

TEST(SerialKeyReader, LineChangesBecomeKeyEvents) {
    KeyEventQueue queue;
    // DCD closed from the start; DSR (dit) closes, CTS (dah) closes, DSR opens, then
    // the device goes away: what is still closed opens.
    SerialKeyReader reader(
        std::make_unique<ScriptedLines>(
            kLineDcd, std::deque<unsigned>{kLineDcd | kLineDsr, kLineDcd | kLineDsr | kLineCts,
                                           kLineDcd | kLineCts, ScriptedLines::kGone}),
        QStringLiteral("/dev/ttyUSB0"));
    ASSERT_TRUE(reader.Start(queue));
    const auto got = Drain(queue, 6);
    EXPECT_EQ(
        got, (std::vector<std::pair<KeyContact, bool>>{
                 {Straight, true}, {Dit, true}, {Dah, true}, {Dit, false}, {Dah, false}, {Straight, false}}));
    reader.Stop();
    EXPECT_TRUE(reader.Ended());
    EXPECT_EQ(reader.Status(), QStringLiteral("Serial key: /dev/ttyUSB0 went away."));

    // Stopped while waiting: nothing more, and nothing left closed.
    SerialKeyReader waiting(std::make_unique<ScriptedLines>(0, std::deque<unsigned>{kLineCts}),
                            QStringLiteral("/dev/ttyS0"));
    ASSERT_TRUE(waiting.Start(queue));
    EXPECT_EQ(Drain(queue, 1), (std::vector<std::pair<KeyContact, bool>>{{Dah, true}}));
    waiting.Stop();
    EXPECT_EQ(Drain(queue, 1), (std::vector<std::pair<KeyContact, bool>>{{Dah, false}}));

    SerialKeyReader missing(std::make_unique<ScriptedLines>(0, std::deque<unsigned>{}, false),
                            QStringLiteral("/dev/ttyUSB7"));
    EXPECT_FALSE(missing.Start(queue));
    EXPECT_EQ(missing.Status(),
              QStringLiteral("Serial key: /dev/ttyUSB7 cannot be opened (No such file or directory)."));
    SerialKeyReader none(std::make_unique<ScriptedLines>(0, std::deque<unsigned>{}), QString());
    EXPECT_FALSE(none.Start(queue));
    EXPECT_EQ(none.Status(), QStringLiteral("Serial key: no port chosen in Setup."));
}

TEST(KeyboardKeys, ScanCodesAndButtonsCloseTheirContacts) {
    KeyEventQueue queue;
    KeyboardKeys keys;
    keys.Start(queue);
    struct Step {
        enum { Key, Button } kind;
        std::uint32_t code;  // scan code, or 0 left / 1 right / 2 other button
        bool down;
        bool taken;
    } const steps[] = {
        {Step::Key, KeyboardKeys::kLeftCtrl, true, true},   // dit
        {Step::Key, KeyboardKeys::kLeftCtrl, true, true},   // repeated by the system: no event
        {Step::Key, KeyboardKeys::kRightCtrl, true, true},  // dah
        {Step::Key, 38, true, false},                       // "a": not a key
        {Step::Button, 0, true, true},                      // dit already closed by the keyboard
        {Step::Key, KeyboardKeys::kLeftCtrl, false, true},  // the mouse still holds it
        {Step::Button, 0, false, true},                     // dit opens
        {Step::Button, 2, true, false},
        {Step::Key, KeyboardKeys::kSpace, true, true},  // straight key
    };
    for (const auto& s : steps) {
        const bool taken =
            s.kind == Step::Key
                ? keys.KeyChanged(s.code, s.down, 0)
                : keys.ButtonChanged(static_cast<KeyboardKeys::MouseButton>(s.code), s.down, 0);
        EXPECT_EQ(taken, s.taken) << s.code;
    }
    keys.ReleaseAll(0);
    EXPECT_EQ(
        Drain(queue, 7),
        (std::vector<std::pair<KeyContact, bool>>{
            {Dit, true}, {Dah, true}, {Dit, false}, {Straight, true}, {Dah, false}, {Straight, false}}));
    // Reassigned: the old code is free, a code of 0 closes nothing.
    keys.Assign(Dit, 50);
    keys.Assign(Straight, 0);
    EXPECT_EQ(keys.ContactOf(50), Dit);
    EXPECT_FALSE(keys.ContactOf(KeyboardKeys::kLeftCtrl));
    EXPECT_FALSE(keys.ContactOf(0));
    EXPECT_FALSE(keys.ContactOf(KeyboardKeys::kSpace));
}

}  // namespace
