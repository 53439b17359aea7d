#include "view/FieldWnd.h"

#include <algorithm>
#include <vector>

#include "view/BoardLayout.h"
#include "view/WindowClass.h"
#include "view/WindowObject.h"

namespace pebbo {

namespace {
constexpr wchar_t kClassName[] = L"FieldClass";
constexpr COLORREF kBoardColorRef = kBoardColor;

RECT toRect(const LayoutRect& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// Draws the shape 4 x 4 times too large and averages it down: soft edges
// without any anti-aliasing support from GDI.
Bitmap drawShape(HDC windowDC, HDC memoryDC, HBRUSH boardBrush, HBRUSH shapeBrush, HPEN edgePen,
                 int32_t width, int32_t height, std::vector<uint32_t>& canvas) {
    const int32_t canvasWidth = width * kSupersampling;
    const int32_t canvasHeight = height * kSupersampling;
    {
        Bitmap canvasBitmap(CreateCompatibleBitmap(windowDC, canvasWidth, canvasHeight));
        ScopedSelect bitmap(memoryDC, canvasBitmap.get());
        ScopedSelect pen(memoryDC, edgePen);
        {
            ScopedSelect brush(memoryDC, boardBrush);
            Rectangle(memoryDC, 0, 0, canvasWidth, canvasHeight);
        }
        {
            ScopedSelect brush(memoryDC, shapeBrush);
            Ellipse(memoryDC, 0, 0, canvasWidth - 1, canvasHeight - 1);
        }
        for (int32_t y = 0; y < canvasHeight; ++y) {
            for (int32_t x = 0; x < canvasWidth; ++x) {
                canvas[y * canvasWidth + x] = GetPixel(memoryDC, x, y);
            }
        }
    }
    std::vector<uint32_t> pixels(static_cast<size_t>(width * height));
    boxFilter(canvas, width, height, pixels);
    Bitmap image(CreateCompatibleBitmap(windowDC, width, height));
    ScopedSelect selected(memoryDC, image.get());
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            SetPixel(memoryDC, x, y, pixels[y * width + x]);
        }
    }
    return image;
}
} // namespace

FieldWnd::FieldWnd() = default;

FieldWnd::~FieldWnd() {
    detachFromWindow(window.load());
}

void FieldWnd::create(HINSTANCE instance, HWND parent) {
    WNDCLASSEXW windowClass{};
    windowClass.lpfnWndProc = windowProcedure<&FieldWnd::window>;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    if (!registerWindowClass(windowClass, Brush(CreateSolidBrush(kBoardColorRef)))) {
        return;
    }
    parentWindow = parent;
    window = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                             kBoardWidth, kBoardHeight, parent, nullptr, instance, this);
    if (window == nullptr) {
        return;
    }
    drawShapeImages();
    createHoles(instance);
}

void FieldWnd::drawShapeImages() {
    WindowDC windowDC(window, WindowDC::Area::Whole);
    memoryDC = MemoryDC(windowDC.get());
    Brush boardBrush(CreateSolidBrush(kBoardColorRef));
    Brush shapeBrush(CreateSolidBrush(kShapeColor));
    Pen edgePen(CreatePen(PS_SOLID, kSupersampling, kBoardColorRef));
    // Big enough for the larger canvas, the store's.
    std::vector<uint32_t> canvas(
        static_cast<size_t>(kPitSize * kSupersampling * kStoreHeight * kSupersampling));
    holeImage = drawShape(windowDC.get(), memoryDC.get(), boardBrush.get(), shapeBrush.get(),
                          edgePen.get(), kPitSize, kPitSize, canvas);
    storeImage = drawShape(windowDC.get(), memoryDC.get(), boardBrush.get(), shapeBrush.get(),
                           edgePen.get(), kPitSize, kStoreHeight, canvas);
}

void FieldWnd::createHoles(HINSTANCE instance) {
    for (int32_t i = 0; i < static_cast<int32_t>(holes.size()); ++i) {
        const HolePlace& place = holeLayout[i];
        holes[i] = std::make_unique<HoleWnd>(i);
        holes[i]->create(instance, window, place.x, place.y, place.width, place.height,
                         memoryDC.get(), isStore(i) ? storeImage.get() : holeImage.get());
    }
}

RECT FieldWnd::place(int availableWidth, int top) {
    const int32_t x = boardX(availableWidth);
    MoveWindow(window, x, top, kBoardWidth, kBoardHeight, FALSE);
    SIZE extent{};
    {
        WindowDC windowDC(window, WindowDC::Area::Whole);
        GetTextExtentPoint32W(windowDC.get(), kWidestMessage,
                              static_cast<int>(std::size(kWidestMessage) - 1), &extent);
    }
    const RECT rect = toRect(messageRectFor(extent.cx, extent.cy));
    shownMessage.update([&rect](Message& shown) { shown.rect = rect; });
    return {x, top, x + kBoardWidth, top + kBoardHeight};
}

void FieldWnd::setMessage(const wchar_t* text) {
    const RECT dirty = shownMessage.update([text](Message& shown) {
        // Longer texts are cut, never overrun.
        size_t length = 0;
        while (length < kMessageTextLimit && text[length] != L'\0') {
            shown.text[length] = text[length];
            ++length;
        }
        shown.text[length] = L'\0';
        return shown.rect;
    });
    // One read: a null handle would invalidate every window on the desktop.
    if (const HWND own = window.load()) {
        InvalidateRect(own, &dirty, TRUE);
    }
}

HoleWnd* FieldWnd::hole(int index) const {
    if (index < 0 || index >= static_cast<int>(holes.size())) {
        return nullptr;
    }
    return holes[index].get();
}

void FieldWnd::setHoleCount(int index, int32_t count) {
    if (HoleWnd* target = hole(index)) {
        target->setCount(count);
    }
}

void FieldWnd::setHoleColor(int index, COLORREF color) {
    if (HoleWnd* target = hole(index)) {
        target->setColor(color);
    }
}

void FieldWnd::clearHole(int index) {
    if (HoleWnd* target = hole(index)) {
        target->clear();
    }
}

void FieldWnd::redrawHoles() {
    for (const auto& target : holes) {
        if (target) {
            target->redraw();
        }
    }
}

RECT FieldWnd::getHoleRect(int index) const {
    const HoleWnd* target = hole(index);
    if (target == nullptr || target->handle() == nullptr) {
        return {};
    }
    RECT board;
    RECT rect;
    GetWindowRect(window, &board);
    GetWindowRect(target->handle(), &rect);
    OffsetRect(&rect, -board.left, -board.top);
    return rect;
}

HWND FieldWnd::handle() const {
    return window;
}

LRESULT FieldWnd::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return onCreate(*reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_PAINT:
        return onPaint();
    case WM_USER:
        return onPitClick(wParam);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT FieldWnd::onCreate(const CREATESTRUCTW& creation) {
    // The window owns the region once it is set.
    Region rounded(CreateRoundRectRgn(0, 0, creation.cx, creation.cy, kBoardCorner, kBoardCorner));
    SetWindowRgn(window, rounded.release(), TRUE);
    return 0;
}

LRESULT FieldWnd::onPaint() {
    PaintDC paint(window);
    paintContent(paint.get());
    return 0;
}

LRESULT FieldWnd::onPitClick(WPARAM index) {
    SendMessageW(parentWindow, WM_USER, index, 0);
    return 0;
}

void FieldWnd::paintContent(HDC dc) {
    Message shown = shownMessage.get();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, messageColor.load());
    DrawTextW(dc, shown.text.data(), -1, &shown.rect,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
}

} // namespace pebbo
