#include "tools/media/Synth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace pebbo {
namespace {

TEST(Synth, OwnSineAndExponentialAgreeWithTheLibrary) {
    for (double turns = -3.0; turns <= 3.0; turns += 0.0123) {
        EXPECT_NEAR(sinTurns(turns), std::sin(2.0 * std::numbers::pi * turns), 1e-9) << turns;
    }
    EXPECT_NEAR(sinTurns(12345.25), 1.0, 1e-9);
    for (double x = -40.0; x <= 0.0; x += 0.0371) {
        EXPECT_NEAR(expOf(x) / std::exp(x), 1.0, 1e-12) << x;
    }
}

TEST(Synth, SmoothStepRisesFromZeroToOneAndHoldsThere) {
    EXPECT_EQ(smoothStep(-1.0), 0.0);
    EXPECT_EQ(smoothStep(0.0), 0.0);
    EXPECT_EQ(smoothStep(0.5), 0.5);
    EXPECT_EQ(smoothStep(1.0), 1.0);
    EXPECT_EQ(smoothStep(7.0), 1.0);
    EXPECT_LT(smoothStep(0.25), smoothStep(0.3));
}

TEST(Synth, FinishedClipPeaksAtTheAskedLevelAndFadesToSilence) {
    ClipBuilder builder(1000, 0.5);
    ASSERT_EQ(builder.frames(), 500u);
    for (uint32_t frame = 0; frame < builder.frames(); ++frame) {
        builder.add(frame, 2.0, -1.0); // a constant, deliberately above full scale
    }
    const StereoClip clip = builder.finish(0.5, 0.1);
    EXPECT_EQ(clip.rate, 1000u);
    ASSERT_EQ(clip.frames(), 500u);
    EXPECT_EQ(clip.samples[0], 16384); // 0.5 of full scale, rounded
    EXPECT_EQ(clip.samples[1], -8192); // the other channel keeps its proportion
    EXPECT_EQ(clip.samples[998], 0);
    EXPECT_EQ(clip.samples[999], 0);
    EXPECT_GT(clip.samples[900], clip.samples[950]); // fading, not cut
    EXPECT_GT(clip.samples[950], 0);
}

} // namespace
} // namespace pebbo
