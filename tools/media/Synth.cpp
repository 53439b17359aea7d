#include "tools/media/Synth.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace pebbo {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kLn2 = 0.69314718055994530942;
} // namespace

double sinTurns(double turns) {
    // Fold into [-1/4, 1/4] turn, where the odd Taylor series to x^13 is
    // accurate far beyond 16 bits.
    double t = turns - std::floor(turns);
    if (t > 0.5) {
        t -= 1.0;
    }
    if (t > 0.25) {
        t = 0.5 - t;
    } else if (t < -0.25) {
        t = -0.5 - t;
    }
    const double x = 2.0 * kPi * t;
    const double x2 = x * x;
    double term = x;
    double sum = x;
    for (int n = 3; n <= 13; n += 2) {
        term *= -x2 / (n * (n - 1));
        sum += term;
    }
    return sum;
}

double expOf(double x) {
    // e^x = 2^k * e^r with |r| <= ln2 / 2; ldexp is exact.
    const int k = static_cast<int>(std::floor(x / kLn2 + 0.5));
    const double r = x - k * kLn2;
    double term = 1.0;
    double sum = 1.0;
    for (int n = 1; n <= 14; ++n) {
        term *= r / n;
        sum += term;
    }
    return std::ldexp(sum, k);
}

double smoothStep(double x) {
    const double c = std::clamp(x, 0.0, 1.0);
    return c * c * (3.0 - 2.0 * c);
}

ClipBuilder::ClipBuilder(uint32_t rate, double seconds)
    : rate_(rate), left_(static_cast<size_t>(std::lround(seconds * rate))), right_(left_.size()) {}

StereoClip ClipBuilder::finish(double peak, double fadeOutSeconds) const {
    assert(peak > 0.0 && peak < 1.0);
    const double fadeFrames = fadeOutSeconds * rate_;
    const size_t last = left_.size() - 1;
    auto fade = [&](size_t frame) {
        return smoothStep(static_cast<double>(last - frame) / fadeFrames);
    };

    double loudest = 0.0;
    for (size_t frame = 0; frame <= last; ++frame) {
        const double gain = fade(frame);
        loudest =
            std::max({loudest, std::abs(left_[frame] * gain), std::abs(right_[frame] * gain)});
    }
    assert(loudest > 0.0);
    const double scale = peak * 32767.0 / loudest;

    StereoClip clip;
    clip.rate = rate_;
    clip.samples.reserve(2 * left_.size());
    for (size_t frame = 0; frame <= last; ++frame) {
        const double gain = fade(frame) * scale;
        clip.samples.push_back(static_cast<int16_t>(std::lround(left_[frame] * gain)));
        clip.samples.push_back(static_cast<int16_t>(std::lround(right_[frame] * gain)));
    }
    return clip;
}

} // namespace pebbo
