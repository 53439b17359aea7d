#include "view/WindowClass.h"

namespace pebbo {

bool registerWindowClass(WNDCLASSEXW windowClass, Brush background) {
    windowClass.cbSize = sizeof(windowClass);
    WNDCLASSEXW registered{};
    registered.cbSize = sizeof(registered);
    if (GetClassInfoExW(windowClass.hInstance, windowClass.lpszClassName, &registered)) {
        return true;
    }
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    if (background) {
        windowClass.hbrBackground = background.get();
    }
    if (RegisterClassExW(&windowClass) == 0) {
        return false;
    }
    background.release();
    return true;
}

} // namespace pebbo
