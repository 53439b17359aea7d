#pragma once

#include <windows.h>

namespace pebbo {

// Every window and dialog of the program keeps its object in the window's
// user data, from the creation message on, and hands each message to the
// object's virtual handleMessage. On WM_NCDESTROY window and object forget
// each other, so no later message reaches a freed object and no object keeps
// a dead handle; an object that goes first calls detachFromWindow.

// A window's object comes in CREATESTRUCTW with WM_NCCREATE; the default
// procedure answers what no object takes (detached windows still need their
// paints validated).
struct WindowKind {
    using Result = LRESULT;
    static constexpr UINT kCreation = WM_NCCREATE;
    static void* object(LPARAM lParam) {
        return reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams;
    }
    static Result unattached(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

// A dialog's object is the parameter of WM_INITDIALOG, which its handleMessage
// answers; FALSE leaves what no object takes to the dialog manager.
struct DialogKind {
    using Result = INT_PTR;
    static constexpr UINT kCreation = WM_INITDIALOG;
    static void* object(LPARAM lParam) { return reinterpret_cast<void*>(lParam); }
    static Result unattached(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
};

template <class Member> struct MemberOwner;
template <class Object, class Handle> struct MemberOwner<Handle Object::*> { using Type = Object; };

// The procedure of the objects that keep their window in the member `handle`.
template <class Kind, auto handle>
typename Kind::Result CALLBACK objectProcedure(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    using Object = typename MemberOwner<decltype(handle)>::Type;
    auto* object = reinterpret_cast<Object*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == Kind::kCreation) {
        object = static_cast<Object*>(Kind::object(lParam));
        object->*handle = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
    } else if (object != nullptr && message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        object->*handle = nullptr;
        object = nullptr;
    }
    if (object == nullptr) {
        return Kind::unattached(window, message, wParam, lParam);
    }
    return object->handleMessage(message, wParam, lParam);
}

template <auto handle>
inline constexpr WNDPROC windowProcedure = objectProcedure<WindowKind, handle>;
template <auto handle>
inline constexpr DLGPROC dialogProcedure = objectProcedure<DialogKind, handle>;

// For the destructor of an object whose window may outlive it (child windows
// go with their parent): stop the window reaching the object.
inline void detachFromWindow(HWND window) {
    if (window != nullptr) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
}

} // namespace pebbo
