#pragma once

#include <cstdint>

namespace pebbo {

// Pixel height of a font of `points` points on the screen, rounded up
// (14 for 10 points at 96 pixels per inch).
int32_t pointsToPixels(int32_t points);

// The same for a given vertical resolution in pixels per inch.
int32_t pointsToPixels(int32_t points, int32_t pixelsPerInch);

} // namespace pebbo
