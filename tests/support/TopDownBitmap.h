#pragma once

#include "view/Gdi.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace pebbo {

// The colours of `rect` of `source`, row by row from the top: copied into a 32-bit
// DIB section whose first row is the top one.
inline std::vector<COLORREF> readPixels(HDC source, const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const Bitmap bitmap(CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDC memoryDC(source);
    ScopedSelect select(memoryDC.get(), bitmap.get());
    BitBlt(memoryDC.get(), 0, 0, width, height, source, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    std::vector<COLORREF> colors(static_cast<size_t>(width) * static_cast<size_t>(height));
    const auto* bgra = static_cast<const uint8_t*>(bits);
    for (size_t i = 0; i < colors.size(); ++i) {
        colors[i] = RGB(bgra[4 * i + 2], bgra[4 * i + 1], bgra[4 * i]);
    }
    return colors;
}

// A block of pixels read back, row by row from the top.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> colors;
    COLORREF at(int x, int y) const { return colors[static_cast<size_t>(y * width + x)]; }
    friend bool operator==(const Pixels&, const Pixels&) = default;
};

inline Pixels readPixelBlock(HDC source, const RECT& rect) {
    return {rect.right - rect.left, rect.bottom - rect.top, readPixels(source, rect)};
}

} // namespace pebbo
