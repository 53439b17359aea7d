#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <utility>
#include <vector>

#include "tests/support/TopDownBitmap.h"
#include "view/FieldWnd.h"
#include "view/WindowClass.h"

namespace pebbo::testing {

inline constexpr COLORREF kParentColor = RGB(0, 0, 255);
inline constexpr COLORREF kBoardColorRef = RGB(128, 128, 64);
inline constexpr int kParentWidth = 640;

// What `draw` paints on a screen-compatible bitmap of the given size.
template <class Draw> Pixels drawn(int width, int height, Draw draw) {
    WindowDC screen(nullptr);
    MemoryDC memory(screen.get());
    Bitmap canvas(CreateCompatibleBitmap(screen.get(), width, height));
    ScopedSelect selected(memory.get(), canvas.get());
    draw(memory.get());
    return readPixelBlock(memory.get(), {0, 0, width, height});
}

// The pit clicks the parent window got.
inline std::vector<std::pair<WPARAM, LPARAM>> clicks;

// Stands in for the main dialog: a plain top-level window at the desktop's
// origin (client = screen coordinates) that records the pit clicks it gets.
class BoardWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        clicks.clear();
        static const bool ownDesktop = enterOwnDesktop();
        ASSERT_TRUE(ownDesktop);
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW windowClass{};
        windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_USER) {
                clicks.emplace_back(wParam, lParam);
            }
            return DefWindowProcW(window, message, wParam, lParam);
        };
        windowClass.hInstance = instance;
        windowClass.lpszClassName = L"PebboTestParent";
        ASSERT_TRUE(registerWindowClass(windowClass, Brush(CreateSolidBrush(kParentColor))));
        parent = CreateWindowExW(WS_EX_TOPMOST, L"PebboTestParent", L"", WS_POPUP | WS_VISIBLE, 0,
                                 0, kParentWidth, 240, nullptr, nullptr, instance, nullptr);
        ASSERT_NE(parent, nullptr);
        field = std::make_unique<FieldWnd>();
        field->create(instance, parent);
        ASSERT_NE(field->handle(), nullptr);
        boardRect = field->place(kParentWidth, 20);
        field->messageColor = RGB(255, 255, 255);
        settle();
    }
    void TearDown() override {
        field.reset();
        DestroyWindow(parent);
    }

    // Handles whatever is queued, then paints whatever is invalid.
    void settle() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        RedrawWindow(parent, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    // What the screen shows in `rect` of the board window.
    Pixels capture(RECT rect) const {
        OffsetRect(&rect, boardRect.left, boardRect.top);
        return readPixelBlock(WindowDC(parent).get(), rect);
    }
    Pixels captureHole(int index) const { return capture(field->getHoleRect(index)); }
    POINT onBoard(POINT point) const { return {boardRect.left + point.x, boardRect.top + point.y}; }
    // Delivers a mouse message where the system would: to the window under the point.
    void mouseAt(UINT message, POINT boardPoint) const {
        POINT client = onBoard(boardPoint);
        const HWND target = WindowFromPoint(client);
        ScreenToClient(target, &client);
        SendMessageW(target, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                     MAKELPARAM(client.x, client.y));
    }

    HWND parent = nullptr;
    std::unique_ptr<FieldWnd> field;
    RECT boardRect{};

private:
    // A desktop of our own: test programs running side by side neither cover
    // each other's windows nor take each other's mouse messages. Under Wine a
    // desktop with a size in the registry is a virtual one, whose windows close
    // at once instead of waiting for a window manager.
    static bool enterOwnDesktop() {
        wchar_t name[64];
        std::swprintf(name, 64, L"PebboViewTest%lu", GetCurrentProcessId());
        constexpr wchar_t kSizes[] = L"Software\\Wine\\Explorer\\Desktops";
        constexpr wchar_t kSize[] = L"800x600";
        RegSetKeyValueW(HKEY_CURRENT_USER, kSizes, name, REG_SZ, kSize, sizeof(kSize));
        const HDESK desktop = CreateDesktopW(name, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
        const bool entered = desktop != nullptr && SetThreadDesktop(desktop) != FALSE;
        GetDesktopWindow(); // starts the desktop while its size is there to read
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kSizes, name);
        return entered;
    }
};

} // namespace pebbo::testing
