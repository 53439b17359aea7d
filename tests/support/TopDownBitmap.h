#pragma once

#include "view/Gdi.h"

#include <windows.h>

#include <vector>

namespace pebbo {

// A block of pixels read back, row by row from the top.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> colors;
    COLORREF at(int x, int y) const { return colors[static_cast<size_t>(y * width + x)]; }
    friend bool operator==(const Pixels&, const Pixels&) = default;
};

// `rect` of `source`, copied into a 32-bit DIB section whose first row is the top one.
inline Pixels readPixelBlock(HDC source, const RECT& rect) {
    Pixels block{rect.right - rect.left, rect.bottom - rect.top, {}};
    BITMAPINFO info{
        {sizeof(BITMAPINFOHEADER), block.width, -block.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    const Bitmap bitmap(CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDC memoryDC(source);
    ScopedSelect select(memoryDC.get(), bitmap.get());
    BitBlt(memoryDC.get(), 0, 0, block.width, block.height, source, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const auto* bgra = static_cast<const BYTE*>(bits);
    for (size_t i = 0; i < static_cast<size_t>(block.width * block.height); ++i)
        block.colors.push_back(RGB(bgra[4 * i + 2], bgra[4 * i + 1], bgra[4 * i]));
    return block;
}

} // namespace pebbo
