#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "morse/Random.h"
#include "engine/Impairments.h"

using namespace lumbrel;

namespace {

TEST(Impairments, SignalStrengthWithoutFading) {
    SignalSettings c;
    Impairments imp;
    const int expected[] = {12, 25, 37, 50, 62, 75, 87, 100};
    for (int i = 0; i < 8; ++i) {
        c.signalLevel = i;
        EXPECT_EQ(imp.AmplitudePercent(c), expected[i]) << i;
    }
}

TEST(Impairments, FadingSwingsBetweenItsDepthAndFull) {
    SignalSettings c;
    Impairments imp;
    c.signalLevel = 7;
    c.fading = true;
    c.deepFading = true;
    imp.QsbPhaseFast = 3 * M_PI / 2;  // sin = -1: the bottom of the fade
    EXPECT_EQ(imp.AmplitudePercent(c), 30);
    imp.QsbPhaseFast = M_PI / 2;
    EXPECT_EQ(imp.AmplitudePercent(c), 100);
    c.deepFading = false;
    imp.QsbPhaseFast = 3 * M_PI / 2;
    EXPECT_EQ(imp.AmplitudePercent(c), 70);
    // Slow mode reads the slow phase.
    c.slowFading = true;
    imp.QsbPhaseSlow = M_PI / 2;
    EXPECT_EQ(imp.AmplitudePercent(c), 100);
}

TEST(Impairments, FadingPhasesAdvanceAndWrapOnce) {
    Impairments imp;
    int fastWraps = 0;
    double previous = 0;
    for (int tick = 0; tick < 1000; ++tick) {
        imp.AdvanceFading();
        if (imp.QsbPhaseFast < previous)
            ++fastWraps;
        previous = imp.QsbPhaseFast;
        ASSERT_LE(imp.QsbPhaseFast, 6.283185307179586);
        ASSERT_LE(imp.QsbPhaseSlow, 6.283185307179586);
    }
    EXPECT_EQ(fastWraps, 7);  // a cycle of about 126 ticks
    EXPECT_NEAR(imp.QsbPhaseSlow, 8.0 - 6.283185307179586, 1e-9);
}

TEST(Impairments, NoiseSpanIsIndexTimes3200) {
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Impairments::NoiseSpan(i), i * 3200);
    }
}

TEST(Impairments, SpeedDitherOnlyWhenEnabledAndChecked) {
    SignalSettings c;
    Impairments imp;
    RandomNumber random(3);
    c.speedDitherSize = 1;
    c.speedDither = true;  // checked but disabled
    for (int i = 0; i < 50; ++i) {
        imp.RedrawDither(c, random);
        EXPECT_EQ(imp.SpeedDither, 0);
    }
    c.speedDitherOffered = true;
    c.speedItem = 1;  // 20 WPM: size 10 still dithers by at most 5
    std::set<int> seen;
    for (int i = 0; i < 500; ++i) {
        imp.RedrawDither(c, random);
        seen.insert(imp.SpeedDither);
    }
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3, 4, 5}));
    c.speedItem = 2;  // 25 WPM and up: size 10
    seen.clear();
    for (int i = 0; i < 1000; ++i) {
        imp.RedrawDither(c, random);
        seen.insert(imp.SpeedDither);
    }
    EXPECT_EQ(seen.size(), 11u);
    EXPECT_EQ(*seen.rbegin(), 10);
}

TEST(Impairments, PitchDitherIsOffAt25) {
    SignalSettings c;
    Impairments imp;
    RandomNumber random(5);
    imp.RedrawDither(c, random);
    EXPECT_EQ(imp.PitchDither, 25);
    c.pitchDither = true;
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        imp.RedrawDither(c, random);
        seen.insert(imp.PitchDither);
    }
    EXPECT_EQ(*seen.begin(), 0);
    EXPECT_EQ(*seen.rbegin(), 49);
}

TEST(Impairments, PermilleOfEachEffectiveSpeedItem) {
    const int expected[] = {1000, 875, 750, 625, 500, 375, 250, 125};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(Impairments::PermilleForIndex(i), expected[i]);
}

}  // namespace
