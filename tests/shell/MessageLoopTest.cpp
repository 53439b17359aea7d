#include <windows.h>

#include <gtest/gtest.h>

#include "app/MessageLoop.h"
#include "app/PointsToPixels.h"
#include "app/StatusText.h"

namespace pebbo {
namespace {

MSG key(UINT message, WPARAM virtualKey, bool repeat = false) {
    MSG msg{};
    msg.message = message;
    msg.wParam = virtualKey;
    msg.lParam = repeat ? (LPARAM{1} << 30) : 0;
    return msg;
}

TEST(AltKeyFilter, DropsOnlyTheAltReleaseThatEndsAnAccelerator) {
    AltKeyFilter filter;

    // Alt+N, an accelerator: the Alt release must not reach the window.
    EXPECT_FALSE(filter.drop(key(WM_SYSKEYDOWN, VK_MENU), false));
    EXPECT_FALSE(filter.drop(key(WM_SYSKEYDOWN, 'N'), true));
    EXPECT_FALSE(filter.drop(key(WM_SYSKEYUP, 'N'), false));
    EXPECT_TRUE(filter.drop(key(WM_SYSKEYUP, VK_MENU), false));
    // The digit that follows goes through.
    EXPECT_FALSE(filter.drop(key(WM_KEYDOWN, '1'), false));
    EXPECT_FALSE(filter.drop(key(WM_KEYUP, '1'), false));

    // A plain Alt press and release still reaches the window (it opens the menu).
    EXPECT_FALSE(filter.drop(key(WM_SYSKEYDOWN, VK_MENU), false));
    EXPECT_FALSE(filter.drop(key(WM_SYSKEYUP, VK_MENU), false));

    // Alt held over two accelerators: one release, dropped once.
    EXPECT_FALSE(filter.drop(key(WM_SYSKEYDOWN, VK_MENU), false));
    EXPECT_FALSE(filter.drop(key(WM_SYSKEYDOWN, 'N'), true));
    EXPECT_FALSE(filter.drop(key(WM_SYSKEYDOWN, VK_MENU, true), false));
    EXPECT_FALSE(filter.drop(key(WM_SYSKEYDOWN, 'T'), true));
    EXPECT_TRUE(filter.drop(key(WM_SYSKEYUP, VK_MENU), false));
    EXPECT_FALSE(filter.drop(key(WM_SYSKEYDOWN, VK_MENU), false));
    EXPECT_FALSE(filter.drop(key(WM_SYSKEYUP, VK_MENU), false));

    // Alt+F, not an accelerator, is left to the window.
    EXPECT_FALSE(filter.drop(key(WM_SYSKEYDOWN, VK_MENU), false));
    EXPECT_FALSE(filter.drop(key(WM_SYSKEYDOWN, 'F'), false));
    EXPECT_FALSE(filter.drop(key(WM_SYSKEYUP, 'F'), false));
    EXPECT_FALSE(filter.drop(key(WM_SYSKEYUP, VK_MENU), false));
}

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
