#pragma once

#include <cstdint>

namespace pebbo {

// Pixel height of a font of `points` points on the screen, rounded up.
int32_t pointsToPixels(int32_t points);

// The same for a given vertical resolution in pixels per inch.
inline constexpr int32_t pointsToPixels(int32_t points, int32_t pixelsPerInch) {
    return (points * pixelsPerInch + 71) / 72;
}
static_assert(pointsToPixels(10, 96) == 14, "13.33 rounds up");
static_assert(pointsToPixels(9, 96) == 12, "a whole number stays");
static_assert(pointsToPixels(10, 120) == 17);

} // namespace pebbo
