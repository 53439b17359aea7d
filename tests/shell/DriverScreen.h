#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pebbo::driver {

// What the screen shows in a rectangle (screen coordinates), one COLORREF per pixel.
struct ScreenPixels {
    RECT rect{};
    std::vector<COLORREF> colors;
    friend bool operator==(const ScreenPixels& a, const ScreenPixels& b) {
        return a.colors == b.colors;
    }
    COLORREF at(int x, int y) const; // screen coordinates
};
ScreenPixels captureScreen(const RECT& rect);
bool writeBitmap(const ScreenPixels& pixels, const std::wstring& file);

// Real input, as the hardware would send it, to the foreground window.
void pressKey(WORD virtualKey);
void pressWithAlt(WORD virtualKey);
// The same, letting go of Alt before the key, as quick hands often do.
void pressWithAltReleasedFirst(WORD virtualKey);
void tapAlt();
void clickAt(POINT screenPoint);

// A window's rectangle on the screen and points in it.
RECT screenRect(HWND window);
POINT centreOf(const RECT& rect);

} // namespace pebbo::driver
