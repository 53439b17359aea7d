#include <windows.h>

#include <gtest/gtest.h>

#include "app/PointsToPixels.h"
#include "app/StatusText.h"

namespace pebbo {
namespace {

TEST(StatusText, FormatsEveryMessage) {
    EXPECT_EQ(statusText(0, 7, true), L"Your Turn");
    EXPECT_EQ(statusText(1, 7, true), L"Thinking...");
    EXPECT_EQ(statusText(2, 7, true), L"Draw");
    EXPECT_EQ(statusText(3, 4, false), L"Will Turn 4");
    EXPECT_EQ(statusText(4, 6, false), L"Turning From 6");
    EXPECT_EQ(statusText(5, 4, false), L"You Win 4 stones");
    EXPECT_EQ(statusText(5, 58, true), L"Computer Win 58 stones");
    EXPECT_EQ(statusText(6, 4, true), L"");
    EXPECT_EQ(statusText(-1, 4, true), L"");
}

TEST(PointsToPixels, RoundsUp) {
    EXPECT_EQ(pointsToPixels(10, 96), 14); // 13.33
    EXPECT_EQ(pointsToPixels(9, 96), 12);  // exactly 12
    EXPECT_EQ(pointsToPixels(10, 120), 17);
    EXPECT_EQ(pointsToPixels(10), pointsToPixels(10, 96)); // the test display runs at 96 dpi
}

} // namespace
} // namespace pebbo
