#include "app/MainWnd.h"

#include <array>
#include <cwctype>

#include "app/AboutDlg.h"
#include "app/ClientSize.h"
#include "app/PrefDlg.h"
#include "app/ResultsDlg.h"
#include "resources/resource.h"
#include "view/Gdi.h"
#include "view/WindowClass.h"
#include "view/WindowObject.h"

namespace pebbo {

namespace {

constexpr DWORD kWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

} // namespace

MainWnd::~MainWnd() {
    detachFromWindow(window);
}

bool MainWnd::create(HINSTANCE instance, int showCommand) {
    appInstance = instance;
    std::array<wchar_t, 100> className{};
    LoadStringW(instance, IDS_CLASSNAME, className.data(), static_cast<int>(className.size()));
    WNDCLASSEXW windowClass{};
    windowClass.lpfnWndProc = windowProcedure<&MainWnd::window>;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_PEBBO));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINMENU);
    windowClass.lpszClassName = className.data();
    if (!registerWindowClass(windowClass)) {
        return false;
    }
    computeSize();
    window =
        CreateWindowExW(0, className.data(), kTitle, kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                        mainWindowWidth, mainWindowHeight, nullptr, nullptr, instance, this);
    if (window == nullptr) {
        return false;
    }
    HWND dialog = controller.create(instance, window, &settings, &results);
    if (dialog == nullptr) {
        return false;
    }
    ShowWindow(dialog, showCommand);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return true;
}

// The client area must hold the dialog exactly. The frame is asked of the
// system for this very style, so themes with other border widths still give
// that client size.
void MainWnd::computeSize() {
    RECT frame{0, 0, kClientWidth, clientHeight()};
    AdjustWindowRectEx(&frame, kWindowStyle, TRUE, 0);
    mainWindowWidth = frame.right - frame.left;
    mainWindowHeight = frame.bottom - frame.top;
}

LRESULT MainWnd::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        onCreate();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        onPaint();
        return 0;
    case WM_GETMINMAXINFO:
        onMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_HELP:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_USER:
        return 0;
    case WM_COMMAND:
        return onCommand(wParam, lParam);
    case WM_INITMENUPOPUP:
        onInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_MENUCHAR:
        return onMenuChar(static_cast<wchar_t>(LOWORD(wParam)), reinterpret_cast<HMENU>(lParam));
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void MainWnd::onCreate() {
    SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXFULLSCREEN) - mainWindowWidth) / 2,
                 (GetSystemMetrics(SM_CYFULLSCREEN) - mainWindowHeight) / 2, mainWindowWidth,
                 mainWindowHeight, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void MainWnd::onPaint() {
    PaintDC paint(window);
    controller.repaintPits();
}

void MainWnd::onMinMaxInfo(MINMAXINFO* info) const {
    // Sent before WM_CREATE, while the size is not known yet.
    if (mainWindowWidth == 0) {
        return;
    }
    const POINT size{mainWindowWidth, mainWindowHeight};
    info->ptMaxSize = size;
    info->ptMinTrackSize = size;
    info->ptMaxTrackSize = size;
}

LRESULT MainWnd::onCommand(WPARAM wParam, LPARAM lParam) {
    const WORD id = LOWORD(wParam);
    switch (id) {
    case IDM_EXIT:
        DestroyWindow(window);
        return 0;
    case IDM_ABOUT:
        AboutDlg().show(appInstance, window);
        return 0;
    case IDM_SETTINGS:
        onSettings();
        return 0;
    case IDM_RESULTS:
        ResultsDlg(results).show(appInstance, window);
        return 0;
    case IDC_FIRSTTURN:
    case IDC_NEWGAME:
    case IDM_PIT1:
    case IDM_PIT2:
    case IDM_PIT3:
    case IDM_PIT4:
    case IDM_PIT5:
    case IDM_PIT6:
    case IDM_TAKEBACK:
    case IDM_HINT:
        SendMessageW(controller.dialogHandle(), WM_COMMAND, wParam, lParam);
        return 0;
    default:
        return DefWindowProcW(window, WM_COMMAND, wParam, lParam);
    }
}

// "File" has no mnemonic, so the system finds no item for Alt+F or Alt, F: the
// item whose text starts with the letter is chosen instead.
LRESULT MainWnd::onMenuChar(wchar_t key, HMENU menu) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        std::array<wchar_t, 32> text{};
        GetMenuStringW(menu, static_cast<UINT>(i), text.data(), static_cast<int>(text.size()),
                       MF_BYPOSITION);
        if (text[0] != L'\0' && std::towupper(text[0]) == std::towupper(key)) {
            return MAKELRESULT(i, MNC_EXECUTE);
        }
    }
    return MAKELRESULT(0, MNC_IGNORE);
}

// Take Back is greyed whenever the game would refuse it; the accelerator then does nothing.
void MainWnd::onInitMenuPopup(HMENU menu) const {
    EnableMenuItem(menu, IDM_TAKEBACK,
                   MF_BYCOMMAND | (controller.canTakeBack() ? MF_ENABLED : MF_GRAYED));
}

void MainWnd::onSettings() {
    PrefDlg prefDlg(settings);
    if (prefDlg.show(appInstance, window) == IDOK) {
        SendMessageW(controller.dialogHandle(), WM_USER, WinDlgController::kSettingsChanged, 0);
    }
}

} // namespace pebbo
