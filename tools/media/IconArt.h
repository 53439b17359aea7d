#pragma once

#include <cstdint>
#include <vector>

namespace pebbo {

// A square picture, rows top down, 8-bit red, green, blue, alpha (not premultiplied).
struct RgbaImage {
    int32_t size = 0;
    std::vector<uint8_t> rgba;
};

// The program's icon: a rounded board with two stores, white pits and a few stones.
RgbaImage drawBoardIcon(int32_t size);

} // namespace pebbo
