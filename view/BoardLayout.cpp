#include "view/BoardLayout.h"

#include <cassert>

namespace pebbo {

void boxFilter(std::span<const uint32_t> canvas, int32_t width, int32_t height,
               std::span<uint32_t> image) {
    constexpr int32_t n = kSupersampling;
    assert(width > 0 && height > 0);
    assert(canvas.size() >= static_cast<size_t>(width * n * height * n));
    assert(image.size() >= static_cast<size_t>(width * height));
    const int32_t canvasWidth = width * n;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            std::array<uint32_t, 4> sums{};
            for (int32_t row = y * n; row < y * n + n; ++row) {
                for (int32_t column = x * n; column < x * n + n; ++column) {
                    const uint32_t pixel = canvas[row * canvasWidth + column];
                    for (uint32_t lane = 0; lane < 4; ++lane) {
                        sums[lane] += (pixel >> (8 * lane)) & 0xFF;
                    }
                }
            }
            uint32_t averaged = 0;
            for (uint32_t lane = 0; lane < 4; ++lane) {
                averaged |= (sums[lane] / (n * n)) << (8 * lane);
            }
            image[y * width + x] = averaged;
        }
    }
}

} // namespace pebbo
