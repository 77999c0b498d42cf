// The sound of sending as the audio callback makes it: key events through the queue,
// rendered block by block, the marks measured in the rendered frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "sending/SendingSound.h"

using namespace lumbrel;

namespace {

constexpr std::uint32_t kBlock = 512;  // frames a callback
constexpr std::int64_t kUnit20 = 2646;
constexpr std::int64_t kFall = 80;  // frames of the envelope's fall

std::int64_t UsOfFrame(std::int64_t frame) {
    return frame * 1'000'000 / 44100;
}

// A run of sound: its first and last frame that are not silent.
struct Run {
    std::int64_t first;
    std::int64_t last;
};

// Runs of frames that are not zero; a tone crosses zero for a frame or two at most.
std::vector<Run> Marks(const std::vector<std::int16_t>& values) {
    std::vector<Run> runs;
    const auto frames = static_cast<std::int64_t>(values.size() / 2);
    for (std::int64_t f = 0; f < frames; ++f) {
        EXPECT_EQ(values[2 * f], values[2 * f + 1]) << "frame " << f;
        if (values[2 * f] == 0)
            continue;
        if (!runs.empty() && f - runs.back().last <= 4)
            runs.back().last = f;
        else
            runs.push_back({f, f});
    }
    return runs;
}

struct Played {
    std::vector<std::int16_t> values;
    int peak = 0;
};

// Renders `blocks` callbacks; before the callback of block b, the events of b are pushed.
Played Play(SendingSound& sound, int blocks, const std::vector<std::pair<int, KeyEvent>>& events) {
    Played played;
    played.values.assign(std::size_t{kBlock} * 2 * static_cast<std::size_t>(blocks), 0);
    for (int b = 0; b < blocks; ++b) {
        for (const auto& [block, event] : events) {
            if (block == b) {
                EXPECT_TRUE(sound.Events().Push(event));
            }
        }
        const std::int64_t first = std::int64_t{b} * kBlock;
        sound.Mix(played.values.data() + 2 * first, kBlock, static_cast<std::uint64_t>(first),
                  UsOfFrame(first), UsOfFrame(first));
    }
    for (const auto v : played.values)
        played.peak = std::max(played.peak, std::abs(int{v}));
    return played;
}

TEST(SendingSound, MarksStartAtTheirFrameAndLastTheirUnits) {
    struct Case {
        const char* name;
        KeyerMode mode;
        std::vector<std::pair<int, KeyEvent>> events;              // pushed before block n
        std::vector<std::pair<std::int64_t, std::int64_t>> marks;  // start frame, sounding frames
    } const cases[] = {
        // Stamped ahead of the callback (10 ms = 441 frames each): exact to the frame.
        {"straight",
         KeyerMode::Straight,
         {{0, {KeyContact::Straight, true, 100'000}}, {0, {KeyContact::Straight, false, 400'000}}},
         {{4410, 13230 + kFall}}},
        {"dits",
         KeyerMode::IambicB,
         {{0, {KeyContact::Dit, true, 100'000}}, {0, {KeyContact::Dit, false, 250'000}}},
         {{4410, kUnit20}, {4410 + 2 * kUnit20, kUnit20}}},
        {"dah",
         KeyerMode::IambicA,
         {{0, {KeyContact::Dah, true, 0}}, {0, {KeyContact::Dah, false, 10'000}}},
         {{0, 3 * kUnit20}}},
        // Stamped before the callback that takes it (the live case): its first frame.
        {"late",
         KeyerMode::IambicB,
         {{10, {KeyContact::Dit, true, UsOfFrame(4000)}}, {10, {KeyContact::Dit, false, UsOfFrame(4100)}}},
         {{10 * kBlock, kUnit20}}},
        // Both stamped before a callback that came late: the mark keeps its length.
        {"late hand",
         KeyerMode::Straight,
         {{10, {KeyContact::Straight, true, UsOfFrame(4000)}},
          {10, {KeyContact::Straight, false, UsOfFrame(5764)}}},
         {{10 * kBlock, 1764 + kFall}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SendingSound sound;
        SendingSound::Settings settings;
        settings.keyer.mode = c.mode;
        settings.pitchHz = 700;
        settings.volumePercent = 50;
        sound.SetSettings(settings);
        const Played played = Play(sound, 100, c.events);
        EXPECT_LE(played.peak, 8000);
        EXPECT_GE(played.peak, 7900);
        const auto runs = Marks(played.values);
        ASSERT_EQ(runs.size(), c.marks.size());
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const auto [start, length] = c.marks[i];
            // A mark's first frame is silent (the envelope starts at 0), and so may be
            // its last few, where the fall is down to a few hundredths.
            EXPECT_EQ(runs[i].first, start + 1) << i;
            EXPECT_LE(runs[i].last, start + length - 1) << i;
            EXPECT_GE(runs[i].last, start + length - 4) << i;
        }
        // The window hears of each mark with its frames.
        SentMark mark;
        for (const auto& [start, length] : c.marks) {
            ASSERT_TRUE(sound.TakeMark(mark));
            EXPECT_EQ(mark.startFrame, start);
            EXPECT_EQ(mark.lengthFrames, c.mode == KeyerMode::Straight ? length - kFall : length);
        }
        EXPECT_FALSE(sound.TakeMark(mark));
    }
}

TEST(SendingSound, MixAddsToWhatTheBufferHolds) {
    SendingSound sound;
    std::vector<std::int16_t> values(2 * kBlock, 31000);
    ASSERT_TRUE(sound.Events().Push({KeyContact::Straight, true, 0}));
    sound.Mix(values.data(), kBlock, 0, 0, 0);
    EXPECT_EQ(values[0], 31000);                                        // the first frame of a mark is silent
    EXPECT_EQ(*std::max_element(values.begin(), values.end()), 32000);  // clamped to the peak
    EXPECT_EQ(*std::min_element(values.begin(), values.end()), 31000 - 16000 + 1);
}

// A stream opened again counts from frame 0: the keyer's line goes on where it was,
// and held dits keep their unit apart.
TEST(SendingSound, AStreamOpenedAgainGoesOnOnTheKeyersLine) {
    SendingSound sound;  // iambic B, 20 WPM
    std::vector<std::int16_t> values(2 * kBlock);
    const std::int64_t before = 100 * kBlock;
    for (std::int64_t f = 0; f < before; f += kBlock)
        sound.Mix(values.data(), kBlock, static_cast<std::uint64_t>(f), UsOfFrame(f), UsOfFrame(f));
    ASSERT_TRUE(sound.Events().Push({KeyContact::Dit, true, UsOfFrame(before)}));
    ASSERT_TRUE(sound.Events().Push({KeyContact::Dit, false, UsOfFrame(before + 3 * kUnit20)}));
    for (std::int64_t f = 0; f < 20 * kBlock; f += kBlock)
        sound.Mix(values.data(), kBlock, static_cast<std::uint64_t>(f), UsOfFrame(before + f),
                  UsOfFrame(before + f));
    EXPECT_EQ(sound.RenderedFrames(), before + 20 * kBlock);
    SentMark mark;
    for (const std::int64_t start : {before, before + 2 * kUnit20}) {
        ASSERT_TRUE(sound.TakeMark(mark));
        EXPECT_EQ(std::pair(mark.startFrame, mark.lengthFrames), std::pair(start, kUnit20));
    }
}

TEST(KeyEventQueue, ManyProducersOneConsumerLoseNothingAndKeepEachOrder) {
    KeyEventQueue queue;
    constexpr int kProducers = 4;
    constexpr int kEach = 5000;
    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p) {
        producers.emplace_back([&queue, p] {
            for (int i = 0; i < kEach; ++i) {
                while (!queue.Push({static_cast<KeyContact>(p % 3), p >= 3, std::int64_t{p} << 32 | i}))
                    std::this_thread::yield();
            }
        });
    }
    std::vector<std::int64_t> next(kProducers, 0);
    int taken = 0;
    KeyEvent event;
    while (taken < kProducers * kEach) {
        if (!queue.Pop(event))
            continue;
        const auto p = static_cast<int>(event.timeUs >> 32);
        ASSERT_EQ(event.timeUs & 0xffffffff, next[p]++);
        ASSERT_EQ(event.contact, static_cast<KeyContact>(p % 3));
        ++taken;
    }
    for (auto& t : producers)
        t.join();
    EXPECT_FALSE(queue.Pop(event));
    // Full: the push is refused and counted, nothing overwritten.
    const auto dropped = queue.Dropped();
    for (std::size_t i = 0; i < KeyEventQueue::kCapacity; ++i)
        ASSERT_TRUE(queue.Push({KeyContact::Dit, true, static_cast<std::int64_t>(i)}));
    EXPECT_FALSE(queue.Push({KeyContact::Dit, true, -1}));
    EXPECT_EQ(queue.Dropped(), dropped + 1);
    ASSERT_TRUE(queue.Pop(event));
    EXPECT_EQ(event.timeUs, 0);
}

}  // namespace
