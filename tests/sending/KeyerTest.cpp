// The keyer on the virtual clock: contacts at frames in, marks out, against the timing
// rules (a unit of 1200/wpm milliseconds, 2646 frames at 20 WPM).
#include <gtest/gtest.h>

#include <vector>

#include "sending/Keyer.h"

using namespace lumbrel;

namespace {

constexpr std::int64_t kUnit20 = 2646;  // 60 ms at 44100 frames a second

struct Mark {
    KeyedElement element;
    std::int64_t start;
    std::int64_t length;
    friend bool operator==(const Mark&, const Mark&) = default;
};

void PrintTo(const Mark& m, std::ostream* os) {
    *os << "{" << int(m.element) << " at " << m.start << " for " << m.length << "}";
}

struct Recorder final : KeyerOutput {
    std::vector<Mark> marks;
    void MarkBegins(std::int64_t frame, KeyedElement element, std::int64_t length) noexcept override {
        marks.push_back({element, frame, length});
    }
    void MarkEnds(std::int64_t frame) noexcept override { marks.back().length = frame - marks.back().start; }
};

// Times in half units of 20 WPM.
struct Contact {
    KeyContact contact;
    bool down;
    int halves;
};
struct HalfMark {
    KeyedElement element;
    int startHalves;
    int lengthHalves;
};

constexpr auto Dit = KeyContact::Dit;
constexpr auto Dah = KeyContact::Dah;
constexpr auto Hand = KeyContact::Straight;
constexpr auto D = KeyedElement::Dit;
constexpr auto A = KeyedElement::Dah;
constexpr auto H = KeyedElement::Hand;

struct Timeline {
    const char* name;
    KeyerMode mode;
    int weight;
    bool dotMemory;
    std::vector<Contact> contacts;
    std::vector<HalfMark> expected;
};

std::vector<Mark> KeyTimeline(const KeyerSettings& settings, const std::vector<Contact>& contacts,
                              std::int64_t unit) {
    Recorder out;
    Keyer keyer(out);
    keyer.Configure(settings);
    for (const auto& c : contacts)
        keyer.Key(c.contact, c.down, unit * c.halves / 2);
    keyer.AdvanceTo(unit * 100);
    EXPECT_FALSE(keyer.LineClosed());
    return out.marks;
}

TEST(Keyer, TimelinesFollowTheTimingRules) {
    const std::vector<Timeline> cases = {
        // A squeeze let go during the dah: A stops after it, B adds the dit.
        {"A squeeze",
         KeyerMode::IambicA,
         50,
         false,
         {{Dit, true, 0}, {Dah, true, 1}, {Dit, false, 5}, {Dah, false, 5}},
         {{D, 0, 2}, {A, 4, 6}}},
        {"B squeeze",
         KeyerMode::IambicB,
         50,
         false,
         {{Dit, true, 0}, {Dah, true, 1}, {Dit, false, 5}, {Dah, false, 5}},
         {{D, 0, 2}, {A, 4, 6}, {D, 12, 2}}},
        // Let go during the first dit: B still sends the dah.
        {"A short squeeze",
         KeyerMode::IambicA,
         50,
         false,
         {{Dit, true, 0}, {Dah, true, 1}, {Dit, false, 1}, {Dah, false, 1}},
         {{D, 0, 2}}},
        {"B short squeeze",
         KeyerMode::IambicB,
         50,
         false,
         {{Dit, true, 0}, {Dah, true, 1}, {Dit, false, 1}, {Dah, false, 1}},
         {{D, 0, 2}, {A, 4, 6}}},
        // One paddle held repeats its element; let go in a gap, nothing more.
        {"held dah",
         KeyerMode::IambicA,
         50,
         false,
         {{Dah, true, 0}, {Dah, false, 13}},
         {{A, 0, 6}, {A, 8, 6}}},
        // A dit tapped during a dah: lost in A without dot memory, sent after it with.
        {"A no memory",
         KeyerMode::IambicA,
         50,
         false,
         {{Dah, true, 0}, {Dit, true, 2}, {Dit, false, 3}, {Dah, false, 4}},
         {{A, 0, 6}}},
        {"A dot memory",
         KeyerMode::IambicA,
         50,
         true,
         {{Dah, true, 0}, {Dit, true, 2}, {Dit, false, 3}, {Dah, false, 4}},
         {{A, 0, 6}, {D, 8, 2}}},
        // Bug: dots while the dit paddle is held, dashes as long as the dah is held.
        {"bug",
         KeyerMode::Bug,
         50,
         false,
         {{Dit, true, 0},
          {Dit, false, 5},
          {Dah, true, 10},
          {Dah, false, 17},
          {Dit, true, 20},
          {Dit, false, 21}},
         {{D, 0, 2}, {D, 4, 2}, {H, 10, 7}, {D, 20, 2}}},
        // Weight 75: marks half a unit longer, gaps half a unit shorter; 25 the reverse.
        {"heavy",
         KeyerMode::IambicB,
         75,
         false,
         {{Dit, true, 0}, {Dit, false, 1}, {Dah, true, 3}, {Dah, false, 4}},
         {{D, 0, 3}, {A, 4, 7}}},
        {"light",
         KeyerMode::IambicB,
         25,
         false,
         {{Dit, true, 0}, {Dit, false, 1}, {Dah, true, 3}, {Dah, false, 4}},
         {{D, 0, 1}, {A, 4, 5}}},
        // Straight: every contact is a hand key; the straight key keys in every mode.
        {"straight",
         KeyerMode::Straight,
         50,
         false,
         {{Dit, true, 0},
          {Dah, true, 1},
          {Dit, false, 3},
          {Dah, false, 5},
          {Hand, true, 8},
          {Hand, false, 9}},
         {{H, 0, 5}, {H, 8, 1}}},
        {"hand in iambic", KeyerMode::IambicA, 50, false, {{Hand, true, 3}, {Hand, false, 8}}, {{H, 3, 5}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        KeyerSettings settings;
        settings.mode = c.mode;
        settings.weightPercent = c.weight;
        settings.dotMemory = c.dotMemory;
        std::vector<Mark> expected;
        for (const auto& m : c.expected)
            expected.push_back({m.element, kUnit20 * m.startHalves / 2, kUnit20 * m.lengthHalves / 2});
        EXPECT_EQ(KeyTimeline(settings, c.contacts, kUnit20), expected);
    }
}

TEST(Keyer, SpeedAndDashRatioSetTheLengths) {
    struct Case {
        int wpm, ratioTenths;
        std::int64_t dit, dah;
    } const cases[] = {
        {20, 30, 2646, 7938},   // 60 ms
        {60, 40, 882, 3528},    // 20 ms, a dah of four units
        {5, 25, 10584, 26460},  // 240 ms
        {100, 30, 882, 2646},   // above 60 WPM: 60
        {3, 30, 10584, 31752},  // below 5 WPM: 5
        {20, 99, 2646, 11907},  // a ratio above 4.5: 4.5
    };
    for (const auto& c : cases) {
        KeyerSettings s;
        s.wpm = c.wpm;
        s.dashRatioTenths = c.ratioTenths;
        const auto lengths = Keyer::ElementLengths(s);
        EXPECT_EQ(lengths.dit, c.dit) << c.wpm;
        EXPECT_EQ(lengths.dah, c.dah) << c.wpm;
        EXPECT_EQ(lengths.gap, c.dit) << c.wpm;
    }
}

TEST(Keyer, NewSettingsWaitForTheNextElement) {
    Recorder out;
    Keyer keyer(out);
    keyer.Key(Dah, true, 0);
    KeyerSettings fast;
    fast.wpm = 60;
    keyer.Configure(fast);                   // during the first dah
    keyer.Key(Dah, false, 4 * kUnit20 + 1);  // in the second dah, at 60 WPM
    keyer.AdvanceTo(100 * kUnit20);
    ASSERT_EQ(out.marks.size(), 2U);
    EXPECT_EQ(out.marks[0], (Mark{A, 0, 3 * kUnit20}));
    EXPECT_EQ(out.marks[1], (Mark{A, 4 * kUnit20, 3 * 882}));
    // Switched to straight while idle, the paddles key by hand at once.
    KeyerSettings straight;
    straight.mode = KeyerMode::Straight;
    keyer.Configure(straight);
    keyer.Key(Dit, true, 200 * kUnit20);
    EXPECT_TRUE(keyer.LineClosed());
    EXPECT_EQ(keyer.NextDue(), INT64_MAX);
}

}  // namespace
