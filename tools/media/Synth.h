#pragma once

#include "tools/media/Wave.h"

#include <cstdint>
#include <vector>

namespace pebbo {

// Sine and exponential built from +, * and exact library calls only, so the
// generated files come out bit-identical whatever libm or compiler folds them.
double sinTurns(double turns);
double expOf(double x);

// 0 at x <= 0, 1 at x >= 1, smooth in between: every envelope edge uses it
// so no clip starts or stops with a click.
double smoothStep(double x);

// Two channels in floating point, turned into 16-bit samples at the end.
class ClipBuilder {
public:
    ClipBuilder(uint32_t rate, double seconds);

    uint32_t rate() const { return rate_; }
    uint32_t frames() const { return static_cast<uint32_t>(left_.size()); }
    double time(uint32_t frame) const { return static_cast<double>(frame) / rate_; }

    void add(uint32_t frame, double left, double right) {
        left_[frame] += left;
        right_[frame] += right;
    }

    // Fades the tail to exact silence and scales the loudest sample to `peak`
    // (a fraction of full scale).
    StereoClip finish(double peak, double fadeOutSeconds) const;

private:
    uint32_t rate_;
    std::vector<double> left_;
    std::vector<double> right_;
};

} // namespace pebbo
