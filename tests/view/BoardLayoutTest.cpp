#include "view/BoardLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace pebbo {
namespace {

TEST(BoardLayout, PitsGoRoundTheBoardAnticlockwiseInsideTheBoard) {
    // The user's row along the bottom, left to right, 77 pixels apart.
    EXPECT_EQ(holeLayout[0].x, 82);
    EXPECT_EQ(holeLayout[0].y, 145);
    for (int i = 1; i < 6; ++i) {
        EXPECT_EQ(holeLayout[i].x - holeLayout[i - 1].x, 77) << i;
        EXPECT_EQ(holeLayout[i].y, holeLayout[0].y) << i;
    }
    // The computer's row mirrors it along the top, right to left.
    for (int i = 7; i < 13; ++i) {
        EXPECT_EQ(holeLayout[i].x, holeLayout[12 - i].x) << i;
        EXPECT_EQ(holeLayout[i].y, 5) << i;
    }
    // Stores at the ends, centred vertically; the user's on the right.
    EXPECT_EQ(holeLayout[6].x, 544);
    EXPECT_EQ(holeLayout[13].x, 5);
    for (int store : {6, 13}) {
        EXPECT_TRUE(isStore(store));
        EXPECT_EQ(holeLayout[store].width, 50);
        EXPECT_EQ(holeLayout[store].height, 60);
        EXPECT_EQ(2 * holeLayout[store].y + holeLayout[store].height, kBoardHeight);
    }
    for (int i = 0; i < 14; ++i) {
        const HolePlace& place = holeLayout[i];
        if (!isStore(i)) {
            EXPECT_EQ(place.width, 50) << i;
            EXPECT_EQ(place.height, 50) << i;
        }
        EXPECT_GE(place.x, 0) << i;
        EXPECT_GE(place.y, 0) << i;
        EXPECT_LE(place.x + place.width, kBoardWidth) << i;
        EXPECT_LE(place.y + place.height, kBoardHeight) << i;
    }
}

TEST(BoardLayout, OnlyTheUsersPitsReportClicks) {
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(notifiesClick(i)) << i;
    }
    for (int i = 6; i < 14; ++i) {
        EXPECT_FALSE(notifiesClick(i)) << i;
    }
    EXPECT_FALSE(notifiesClick(-1));
}

TEST(BoardLayout, BoardIsCentredAndMayOverhangLeft) {
    EXPECT_EQ(boardX(607), 4);
    EXPECT_EQ(boardX(597), 0);
    EXPECT_EQ(boardX(598), 0);
    EXPECT_EQ(boardX(578), -10);
    // Halves truncate toward zero on both sides.
    EXPECT_EQ(boardX(601), 1);
    EXPECT_EQ(boardX(595), -1);
}

TEST(BoardLayout, MessageRectangleFitsTheMiddleAndIsCentred) {
    const LayoutRect small = messageRectFor(100, 16);
    EXPECT_EQ(small.width(), 103);
    EXPECT_EQ(small.height(), 17);
    EXPECT_EQ(small.left, (598 - 103) / 2);
    EXPECT_EQ(small.top, (200 - 17) / 2);

    // Capped by the room between the stores and between the rows.
    const LayoutRect huge = messageRectFor(1000, 500);
    EXPECT_EQ(huge.width(), 487);
    EXPECT_EQ(huge.height(), 88);
    EXPECT_EQ(huge.left, 55);
    EXPECT_EQ(huge.top, 56);
    EXPECT_GE(huge.left, holeLayout[13].x + holeLayout[13].width);
    EXPECT_LE(huge.right, holeLayout[6].x);
    EXPECT_GE(huge.top, holeLayout[12].y + holeLayout[12].height);
    EXPECT_LE(huge.bottom, holeLayout[0].y);

    // An odd leftover width puts the extra pixel on the right.
    const LayoutRect odd = messageRectFor(120, 20);
    EXPECT_EQ(odd.left, 237);
    EXPECT_EQ(kBoardWidth - odd.right, 238);
}

TEST(BoardLayout, BoxFilterAveragesEachChannelOfFourByFourRoundingDown) {
    // A 2 x 1 image from an 8 x 4 canvas.
    std::vector<uint32_t> canvas(8 * 4, 0x408080);
    std::vector<uint32_t> image(2, 0xDEADBEEF);
    // Right square: 9 white pixels among 16 black ones -> 255 * 9 / 16 = 143.4.
    for (int y = 0; y < 4; ++y) {
        for (int x = 4; x < 8; ++x) {
            canvas[y * 8 + x] = (y * 4 + x - 4) < 9 ? 0xFFFFFF : 0x000000;
        }
    }
    boxFilter(canvas, 2, 1, image);
    EXPECT_EQ(image[0], 0x408080u); // a uniform square keeps its colour
    EXPECT_EQ(image[1], 0x8F8F8Fu); // 143 in every channel

    // Channels never carry into each other: 15 pixels of 0x0000FF and one of 0x000001.
    std::vector<uint32_t> reds(16, 0x0000FF);
    reds[5] = 0x000001;
    std::vector<uint32_t> one(1);
    boxFilter(reds, 1, 1, one);
    EXPECT_EQ(one[0], static_cast<uint32_t>((15 * 255 + 1) / 16));

    // Each image pixel reads only its own square of the canvas.
    std::vector<uint32_t> rows(4 * 8, 0);
    for (int x = 0; x < 4; ++x) {
        rows[4 * 4 + x] = 0x100000; // first row of the lower square only
    }
    std::vector<uint32_t> column(2);
    boxFilter(rows, 1, 2, column);
    EXPECT_EQ(column[0], 0u);
    EXPECT_EQ(column[1], 0x040000u);
}

} // namespace
} // namespace pebbo
