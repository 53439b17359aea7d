#include "tests/view/BoardWindowFixture.h"

#include "tests/support/TopDownBitmap.h"

#include <cwchar>

namespace pebbo::testing {

std::vector<std::pair<WPARAM, LPARAM>> BoardWindowTest::clicks;

namespace {
constexpr wchar_t kParentClass[] = L"PebboTestParent";

LRESULT CALLBACK parentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A desktop of our own: test programs running side by side neither cover
// each other's windows nor take each other's mouse messages.
bool enterOwnDesktop() {
    wchar_t name[64];
    swprintf(name, 64, L"PebboViewTest%lu", GetCurrentProcessId());
    // Under Wine a desktop with a size in the registry is a virtual one, whose
    // windows close at once instead of waiting for a window manager.
    constexpr wchar_t kSizes[] = L"Software\\Wine\\Explorer\\Desktops";
    constexpr wchar_t kSize[] = L"800x600";
    RegSetKeyValueW(HKEY_CURRENT_USER, kSizes, name, REG_SZ, kSize, sizeof(kSize));
    const HDESK desktop = CreateDesktopW(name, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    const bool entered = desktop != nullptr && SetThreadDesktop(desktop) != FALSE;
    GetDesktopWindow(); // starts the desktop while its size is there to read
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kSizes, name);
    return entered;
}

COLORREF toColorRef(uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}
} // namespace

Canvas::Canvas(int canvasWidth, int canvasHeight)
    : width(canvasWidth), height(canvasHeight), memory(nullptr) {
    void* memoryBits = nullptr;
    bitmap = topDownBitmap(nullptr, width, height, &memoryBits);
    bits = static_cast<uint32_t*>(memoryBits);
    selection = std::make_unique<ScopedSelect>(memory.get(), bitmap.get());
}

Pixels Canvas::pixels() const {
    GdiFlush();
    Pixels result{width, height, {}};
    result.values.reserve(static_cast<size_t>(width * height));
    for (int i = 0; i < width * height; ++i) {
        result.values.push_back(toColorRef(bits[i]));
    }
    return result;
}

void Canvas::fill(const Pixels& source) {
    for (int i = 0; i < width * height; ++i) {
        const COLORREF pixel = source.values[static_cast<size_t>(i)];
        bits[i] = (static_cast<uint32_t>(GetRValue(pixel)) << 16) |
                  (static_cast<uint32_t>(GetGValue(pixel)) << 8) | GetBValue(pixel);
    }
}

void BoardWindowTest::SetUp() {
    clicks.clear();
    static const bool ownDesktop = enterOwnDesktop();
    ASSERT_TRUE(ownDesktop);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    static const bool registered = [instance] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = parentProc;
        windowClass.hInstance = instance;
        windowClass.hbrBackground = CreateSolidBrush(kParentColor);
        windowClass.lpszClassName = kParentClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    ASSERT_TRUE(registered);
    parent = CreateWindowExW(WS_EX_TOPMOST, kParentClass, L"", WS_POPUP | WS_VISIBLE, 0, 0,
                             kParentWidth, kParentHeight, nullptr, nullptr, instance, nullptr);
    ASSERT_NE(parent, nullptr);
    field = std::make_unique<FieldWnd>();
    field->create(instance, parent);
    ASSERT_NE(field->handle(), nullptr);
    boardRect = field->place(kParentWidth, kBoardTop);
    field->messageColor = RGB(255, 255, 255);
    settle();
}

void BoardWindowTest::TearDown() {
    field.reset();
    if (parent != nullptr) {
        DestroyWindow(parent);
    }
}

void BoardWindowTest::settle() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    RedrawWindow(parent, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

Pixels BoardWindowTest::capture(const RECT& rect) const {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    Canvas canvas(width, height);
    WindowDC shown(parent);
    BitBlt(canvas.dc(), 0, 0, width, height, shown.get(), boardRect.left + rect.left,
           boardRect.top + rect.top, SRCCOPY);
    return canvas.pixels();
}

Pixels BoardWindowTest::captureHole(int index) const {
    return capture(field->getHoleRect(index));
}

POINT BoardWindowTest::onBoard(int x, int y) const {
    return {boardRect.left + x, boardRect.top + y};
}

void BoardWindowTest::mouseAt(UINT message, POINT screenPoint) const {
    const HWND target = WindowFromPoint(screenPoint);
    POINT client = screenPoint;
    ScreenToClient(target, &client);
    SendMessageW(target, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                 MAKELPARAM(client.x, client.y));
}

SIZE BoardWindowTest::messageExtent(const wchar_t* text) const {
    WindowDC board(field->handle(), WindowDC::Area::Whole);
    SIZE extent{};
    GetTextExtentPoint32W(board.get(), text, static_cast<int>(wcslen(text)), &extent);
    return extent;
}

namespace {
LRESULT CALLBACK parentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER) {
        BoardWindowTest::recordClick(wParam, lParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
} // namespace

} // namespace pebbo::testing
