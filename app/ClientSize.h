#pragma once

#include <cstdint>

namespace pebbo {

// The main window's client area, which the main dialog covers exactly.
inline constexpr int32_t kClientWidth = 608;

// Six rows of a label's height (`labelPixels`, a 10-point font) and spacing.
inline constexpr int32_t clientHeight(int32_t labelPixels) {
    return (labelPixels + 35) * 6;
}
static_assert(clientHeight(14) == 294, "10 points at 96 pixels per inch");

// The height on this screen.
int32_t clientHeight();

} // namespace pebbo
