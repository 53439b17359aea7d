#include "view/BoardLayout.h"

#include <algorithm>
#include <cassert>

namespace pebbo {

namespace {
constexpr int32_t kRoomBetweenStores = holeLayout[6].x - kPitSize - holeLayout[13].x; // 489
constexpr int32_t kRoomBetweenRows = holeLayout[0].y - kPitSize - holeLayout[12].y;   // 90
} // namespace

LayoutRect messageRectFor(int32_t textWidth, int32_t textHeight) {
    const int32_t width = std::min(textWidth + 5, kRoomBetweenStores) - 2;
    const int32_t height = std::min(textHeight + 3, kRoomBetweenRows) - 2;
    const int32_t left = (kBoardWidth - width) / 2;
    const int32_t top = (kBoardHeight - height) / 2;
    return {left, top, left + width, top + height};
}

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
