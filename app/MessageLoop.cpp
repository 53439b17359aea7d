#include "app/MessageLoop.h"

namespace pebbo {

namespace {

constexpr LPARAM kRepeatBit = LPARAM{1} << 30;

bool isAltKey(const MSG& message) {
    return message.wParam == VK_MENU || message.wParam == VK_LMENU || message.wParam == VK_RMENU;
}

} // namespace

bool AltKeyFilter::drop(const MSG& message, bool wasAccelerator) {
    switch (message.message) {
    case WM_SYSKEYDOWN:
        if (wasAccelerator) {
            acceleratorWithAlt = true;
        } else if (isAltKey(message) && (message.lParam & kRepeatBit) == 0) {
            acceleratorWithAlt = false; // a fresh Alt press
        }
        return false;
    case WM_SYSKEYUP:
    case WM_KEYUP:
        if (isAltKey(message) && acceleratorWithAlt) {
            acceleratorWithAlt = false;
            return true;
        }
        return false;
    default:
        return false;
    }
}

int runMessageLoop(HWND mainWindow, HACCEL accelerators) {
    AltKeyFilter altKeyFilter;
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Accelerator commands go to the main window whichever of its children
        // has the focus, so the About keys work everywhere too.
        const bool wasAccelerator = TranslateAcceleratorW(mainWindow, accelerators, &message) != 0;
        if (altKeyFilter.drop(message, wasAccelerator) || wasAccelerator) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace pebbo
