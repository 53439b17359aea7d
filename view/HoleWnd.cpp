#include "view/HoleWnd.h"

#include <charconv>
#include <optional>

#include "view/BoardLayout.h"
#include "view/WindowClass.h"
#include "view/WindowObject.h"

namespace pebbo {

namespace {
constexpr wchar_t kClassName[] = L"HoleClass";
} // namespace

HoleWnd::HoleWnd(int32_t holeIndex) : index(holeIndex) {}

HoleWnd::~HoleWnd() {
    detachFromWindow(window.load());
}

// One font for every pit window of the process, made by the first that needs
// it and deleted with the last that uses it.
std::shared_ptr<Font> HoleWnd::sharedHoleFont() {
    static std::weak_ptr<Font> shared;
    std::shared_ptr<Font> font = shared.lock();
    if (!font) {
        font = std::make_shared<Font>(
            CreateFontW(36, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_PRECIS,
                        CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, L"MS Sans Serif"));
        shared = font;
    }
    return font;
}

void HoleWnd::create(HINSTANCE instance, HWND parent, int x, int y, int width, int height,
                     HDC boardMemoryDC, HBITMAP shapeImage) {
    WNDCLASSEXW windowClass{};
    windowClass.lpfnWndProc = windowProcedure<&HoleWnd::window>;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    if (!registerWindowClass(windowClass)) {
        return;
    }
    memoryDC = boardMemoryDC;
    image = shapeImage;
    parentWindow = parent;
    holeFont = sharedHoleFont();
    window = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                             nullptr, instance, this);
}

void HoleWnd::setCount(int32_t count) {
    std::array<char, 12> digits{};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size() - 1, count).ptr;
    label.update([&](Label& shown) {
        size_t length = 0;
        for (const char* digit = digits.data(); digit != end; ++digit) {
            shown.text[length++] = static_cast<wchar_t>(*digit);
        }
        shown.text[length] = L'\0';
    });
    redraw();
}

void HoleWnd::setColor(COLORREF color) {
    label.update([color](Label& shown) { shown.color = color; });
}

void HoleWnd::clear() {
    label.update([](Label& shown) { shown.text[0] = L'\0'; });
    redraw();
}

void HoleWnd::redraw() {
    // One read: a null handle would invalidate every window on the desktop.
    if (const HWND own = window.load()) {
        InvalidateRect(own, nullptr, TRUE);
    }
}

LRESULT HoleWnd::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        return onPaint();
    case WM_ERASEBKGND:
        // The image covers the whole window: erasing would only flicker.
        return 1;
    case WM_LBUTTONUP:
        return onButtonUp();
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT HoleWnd::onPaint() {
    PaintDC paint(window);
    paintContent(paint.get(), paint.updateRect());
    return 0;
}

LRESULT HoleWnd::onButtonUp() {
    if (notifiesClick(index)) {
        SendMessageW(parentWindow, WM_USER, static_cast<WPARAM>(index), 0);
    }
    return 1;
}

void HoleWnd::paintContent(HDC dc, const RECT& update) {
    {
        ScopedSelect selected(memoryDC, image);
        BitBlt(dc, update.left, update.top, update.right - update.left, update.bottom - update.top,
               memoryDC, update.left, update.top, SRCCOPY);
    }
    drawCount(dc);
}

void HoleWnd::drawCount(HDC dc) {
    const Label shown = label.get();
    if (shown.text[0] == L'\0') {
        return;
    }
    RECT client;
    GetClientRect(window, &client);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, shown.color);
    // Without the font the count still shows, in the context's own font.
    std::optional<ScopedSelect> font;
    if (holeFont && *holeFont) {
        font.emplace(dc, holeFont->get());
    }
    DrawTextW(dc, shown.text.data(), -1, &client,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
}

} // namespace pebbo
