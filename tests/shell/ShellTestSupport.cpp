#include "tests/shell/ShellTestSupport.h"

#include <string>
#include <thread>

#include "tests/support/TopDownBitmap.h"
#include "view/Gdi.h"

namespace pebbo::test {

namespace {

constexpr wchar_t kHostClass[] = L"PebboTestHost";

void pumpPending() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace

bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        pumpPending();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    pumpPending();
    return true;
}

void pumpFor(std::chrono::milliseconds duration) {
    pumpUntil([] { return false; }, duration);
}

HostWindow::HostWindow(int clientWidth, int clientHeight) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    windowClass.lpszClassName = kHostClass;
    RegisterClassExW(&windowClass); // fails harmlessly when a previous test registered it
    constexpr DWORD style = WS_CAPTION | WS_SYSMENU;
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    window = CreateWindowExW(0, kHostClass, L"Shell test", style, 20, 20, frame.right - frame.left,
                             frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleW(nullptr),
                             nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
}

HostWindow::~HostWindow() {
    destroy();
}

void HostWindow::destroy() {
    if (window != nullptr) {
        DestroyWindow(window);
        window = nullptr;
    }
}

bool Pixels::contains(COLORREF color) const {
    for (COLORREF pixel : colors) {
        if (pixel == color) {
            return true;
        }
    }
    return false;
}

// The window's own surface is read, so other windows on the desktop don't matter.
Pixels capture(HWND window, const RECT& rect) {
    Pixels pixels;
    pixels.width = rect.right - rect.left;
    pixels.height = rect.bottom - rect.top;
    WindowDC windowDC(window);
    pixels.colors = readPixels(windowDC.get(), rect);
    return pixels;
}

TempSettingsFile::TempSettingsFile() {
    static std::atomic<int> serial{0};
    file = std::filesystem::temp_directory_path() /
           ("pebbo-shell-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(serial++) + ".txt");
    std::filesystem::remove(file);
}

TempSettingsFile::~TempSettingsFile() {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
}

} // namespace pebbo::test
