#pragma once

#include <windows.h>

namespace pebbo {

// WM_NCCREATE of our window classes: the object comes as the creation parameter
// and is kept in the window's user data from the first message on.
template <class Object, class Handle>
void attachObject(HWND window, LPARAM createStruct, Handle Object::*handle) {
    auto* object =
        static_cast<Object*>(reinterpret_cast<const CREATESTRUCTW*>(createStruct)->lpCreateParams);
    object->*handle = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
}

// The tail of our window procedures: hand the message to the object kept in the
// window's user data. On WM_NCDESTROY window and object forget each other, so no
// later message reaches a freed object and no object keeps a dead handle.
template <class Object, class Handle>
LRESULT forwardToObject(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                        Handle Object::*handle) {
    auto* object = reinterpret_cast<Object*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (object != nullptr && message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        (object->*handle) = nullptr;
        object = nullptr;
    }
    if (object == nullptr) {
        // Detached windows still need their paints validated.
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return object->handleMessage(message, wParam, lParam);
}

// The window outlives its object (child windows go with their parent): stop it
// reaching the object once the object is gone.
inline void detachFromWindow(HWND window) {
    if (window != nullptr) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
}

} // namespace pebbo
