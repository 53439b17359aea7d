#include "tools/media/Sounds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace pebbo {
namespace {

TEST(Synth, EverySoundIsAudibleUnclippedAndStartsAndEndsInSilence) {
    constexpr int fullScale = 32767;
    for (const StereoClip& clip : {popSound(), heroSound(), submarineSound(), tinkSound()}) {
        SCOPED_TRACE(clip.frames());
        const auto [low, high] = std::ranges::minmax(clip.samples);
        const int peak = std::max(-int{low}, int{high});
        EXPECT_LT(peak, fullScale * 9 / 10) << "no clipping, some headroom";
        EXPECT_GT(peak, fullScale / 5) << "loud enough to be heard";
        // Near silence at both ends: no click as playback starts or is cut off.
        for (size_t i = 0; i < 6; ++i) {
            EXPECT_LT(std::abs(clip.samples[i]), fullScale / 100) << i;
            EXPECT_LT(std::abs(clip.samples[clip.samples.size() - 1 - i]), fullScale / 100) << i;
        }
    }
}

} // namespace
} // namespace pebbo
