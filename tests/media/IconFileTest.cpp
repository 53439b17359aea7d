#include "tests/media/ResourceBytes.h"

#include <gtest/gtest.h>

#include <array>
#include <map>

namespace pebbo {
namespace {

struct Bgra {
    uint8_t b, g, r, a;
};

struct IconImage {
    uint32_t size = 0;
    std::vector<Bgra> pixels; // top row first
    std::vector<bool> masked; // AND mask bit, top row first

    const Bgra& at(uint32_t x, uint32_t y) const { return pixels[y * size + x]; }
};

// Reads one directory entry and its bitmap, checking the headers agree.
IconImage readImage(const std::vector<uint8_t>& bytes, size_t entry) {
    IconImage image;
    const size_t at = 6 + 16 * entry;
    const uint32_t width = bytes.at(at);
    EXPECT_EQ(bytes.at(at + 1), width);
    EXPECT_EQ(le16(bytes, at + 4), 1u);  // planes
    EXPECT_EQ(le16(bytes, at + 6), 32u); // bits per pixel
    const uint32_t length = le32(bytes, at + 8);
    const uint32_t offset = le32(bytes, at + 12);
    const uint32_t maskRow = (width + 31) / 32 * 4;
    EXPECT_EQ(length, 40 + width * width * 4 + maskRow * width);
    if (offset + length > bytes.size()) {
        ADD_FAILURE() << "image " << entry << " runs past the end of the file";
        return image;
    }

    EXPECT_EQ(le32(bytes, offset), 40u);
    EXPECT_EQ(le32(bytes, offset + 4), width);
    EXPECT_EQ(le32(bytes, offset + 8), 2 * width);
    EXPECT_EQ(le16(bytes, offset + 12), 1u);
    EXPECT_EQ(le16(bytes, offset + 14), 32u);
    EXPECT_EQ(le32(bytes, offset + 16), 0u); // uncompressed

    image.size = width;
    const size_t colours = offset + 40;
    const size_t mask = colours + width * width * 4;
    for (uint32_t y = 0; y < width; ++y) {
        const uint32_t stored = width - 1 - y; // bottom row first in the file
        for (uint32_t x = 0; x < width; ++x) {
            const size_t p = colours + (stored * width + x) * 4;
            image.pixels.push_back({bytes[p], bytes[p + 1], bytes[p + 2], bytes[p + 3]});
            const uint8_t maskByte = bytes[mask + stored * maskRow + x / 8];
            image.masked.push_back((maskByte & (0x80 >> (x % 8))) != 0);
        }
    }
    return image;
}

TEST(IconFile, HoldsTheBoardAtSixteenThirtyTwoAndFortyEightPixels) {
    const std::vector<uint8_t> bytes = readResource("icon/pebbo.ico");
    ASSERT_GE(bytes.size(), 6u + 3 * 16);
    EXPECT_EQ(le16(bytes, 0), 0u);
    EXPECT_EQ(le16(bytes, 2), 1u); // an icon
    ASSERT_EQ(le16(bytes, 4), 3u);

    const std::array<uint32_t, 3> sizes{16, 32, 48};
    for (size_t entry = 0; entry < sizes.size(); ++entry) {
        SCOPED_TRACE(sizes[entry]);
        const IconImage image = readImage(bytes, entry);
        ASSERT_EQ(image.size, sizes[entry]);

        std::map<std::array<uint8_t, 3>, int> opaqueColours;
        int translucent = 0;
        for (size_t i = 0; i < image.pixels.size(); ++i) {
            const Bgra& p = image.pixels[i];
            EXPECT_EQ(image.masked[i], p.a == 0) << "mask and alpha disagree at " << i;
            if (p.a == 255) {
                ++opaqueColours[{p.r, p.g, p.b}];
            } else if (p.a > 0) {
                ++translucent;
            }
        }
        // Rounded corners on a transparent ground, with smoothed edges.
        const uint32_t last = image.size - 1;
        for (auto [x, y] : {std::pair{0u, 0u}, {last, 0u}, {0u, last}, {last, last}}) {
            EXPECT_EQ(image.at(x, y).a, 0);
        }
        EXPECT_GT(translucent, 0);

        // Mostly board, then the white pits.
        const std::array<uint8_t, 3> board{128, 128, 64};
        const std::array<uint8_t, 3> white{255, 255, 255};
        auto mostCommon = opaqueColours.begin();
        for (auto it = opaqueColours.begin(); it != opaqueColours.end(); ++it) {
            if (it->second > mostCommon->second) {
                mostCommon = it;
            }
        }
        ASSERT_NE(mostCommon, opaqueColours.end());
        EXPECT_EQ(mostCommon->first, board);
        EXPECT_GT(opaqueColours[white], 0);
        EXPECT_GT(opaqueColours.size(), 4u) << "board, pits and stones of several colours";
    }
}

} // namespace
} // namespace pebbo
