#include "app/MessageLoop.h"

namespace pebbo {

int runMessageLoop(HWND mainWindow, HACCEL accelerators) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Accelerator commands go to the main window whichever of its children
        // has the focus, so the About keys work everywhere too.
        if (TranslateAcceleratorW(mainWindow, accelerators, &message) != 0) {
            // Wine's default procedure takes the release of Alt for a lone Alt
            // press, and enters menu mode (swallowing the next digit key), unless
            // it saw another key go down meanwhile. It is shown the key that the
            // accelerator took (Alt+N, Alt+T); a plain Alt press still opens the menu.
            if (message.message == WM_SYSKEYDOWN) {
                DefWindowProcW(mainWindow, message.message, message.wParam, message.lParam);
            }
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace pebbo
