#include "tests/shell/DriverScreen.h"

#include <array>
#include <filesystem>
#include <fstream>

#include "tests/support/TopDownBitmap.h"
#include "view/Gdi.h"

namespace pebbo::driver {

namespace {

INPUT keyInput(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void send(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Sleep(30);
}

} // namespace

COLORREF ScreenPixels::at(int x, int y) const {
    const int width = rect.right - rect.left;
    return colors[static_cast<size_t>((y - rect.top) * width + (x - rect.left))];
}

ScreenPixels captureScreen(const RECT& rect) {
    WindowDC screen(nullptr);
    return ScreenPixels{rect, readPixels(screen.get(), rect)};
}

// A 24-bit bottom-up BMP, the simplest form every converter reads.
bool writeBitmap(const ScreenPixels& pixels, const std::wstring& file) {
    const int width = pixels.rect.right - pixels.rect.left;
    const int height = pixels.rect.bottom - pixels.rect.top;
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    BITMAPFILEHEADER fileHeader{};
    BITMAPINFOHEADER infoHeader{};
    fileHeader.bfType = 0x4D42; // "BM"
    fileHeader.bfOffBits = sizeof(fileHeader) + sizeof(infoHeader);
    fileHeader.bfSize = fileHeader.bfOffBits + static_cast<DWORD>(rowBytes * height);
    infoHeader.biSize = sizeof(infoHeader);
    infoHeader.biWidth = width;
    infoHeader.biHeight = height;
    infoHeader.biPlanes = 1;
    infoHeader.biBitCount = 24;
    infoHeader.biCompression = BI_RGB;
    std::ofstream out(std::filesystem::path(file), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&fileHeader), sizeof(fileHeader));
    out.write(reinterpret_cast<const char*>(&infoHeader), sizeof(infoHeader));
    std::vector<char> row(static_cast<size_t>(rowBytes), 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF color = pixels.colors[static_cast<size_t>(y * width + x)];
            row[static_cast<size_t>(3 * x)] = static_cast<char>(GetBValue(color));
            row[static_cast<size_t>(3 * x + 1)] = static_cast<char>(GetGValue(color));
            row[static_cast<size_t>(3 * x + 2)] = static_cast<char>(GetRValue(color));
        }
        out.write(row.data(), rowBytes);
    }
    return static_cast<bool>(out);
}

void pressKey(WORD virtualKey) {
    send({keyInput(virtualKey, false), keyInput(virtualKey, true)});
}

void pressWithAlt(WORD virtualKey) {
    send({keyInput(VK_MENU, false), keyInput(virtualKey, false), keyInput(virtualKey, true),
          keyInput(VK_MENU, true)});
}

void pressWithAltReleasedFirst(WORD virtualKey) {
    send({keyInput(VK_MENU, false), keyInput(virtualKey, false), keyInput(VK_MENU, true),
          keyInput(virtualKey, true)});
}

void tapAlt() {
    send({keyInput(VK_MENU, false), keyInput(VK_MENU, true)});
}

void clickAt(POINT screenPoint) {
    // Move first, as a real mouse does, so the window under it knows the pointer is there.
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = MulDiv(screenPoint.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    move.mi.dy = MulDiv(screenPoint.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    send({move});
    INPUT down{};
    down.type = INPUT_MOUSE;
    down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    send({down});
    INPUT up = down;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    send({up});
}

RECT screenRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

POINT centreOf(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

} // namespace pebbo::driver
