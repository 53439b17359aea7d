#pragma once

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <vector>

// Real input, as the hardware would send it, to the foreground window.
namespace pebbo::driver {

inline INPUT keyInput(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

inline INPUT mouseInput(DWORD flags, POINT screenPoint = {}) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screenPoint.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screenPoint.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags;
    return input;
}

inline void send(std::initializer_list<INPUT> inputs) {
    std::vector<INPUT> events(inputs);
    SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
    Sleep(30);
}

inline void pressKey(WORD virtualKey) {
    send({keyInput(virtualKey, false), keyInput(virtualKey, true)});
}

// Quick hands often let go of Alt before the key.
inline void pressWithAlt(WORD virtualKey, bool altReleasedFirst = false) {
    const INPUT altUp = keyInput(VK_MENU, true);
    const INPUT keyUp = keyInput(virtualKey, true);
    send({keyInput(VK_MENU, false), keyInput(virtualKey, false), altReleasedFirst ? altUp : keyUp,
          altReleasedFirst ? keyUp : altUp});
}

inline void tapAlt() {
    send({keyInput(VK_MENU, false), keyInput(VK_MENU, true)});
}

// Moves the pointer and checks it followed: under Wine the first move of a
// session may be dropped, and only such a lost move is sent again.
inline bool moveTo(POINT target) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        send({mouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, target)});
        POINT cursor{};
        GetCursorPos(&cursor);
        if (std::abs(cursor.x - target.x) <= 1 && std::abs(cursor.y - target.y) <= 1) {
            return true;
        }
        std::printf("note: the pointer did not follow a move\n");
    }
    return false;
}

// Moves first, as a real mouse does, so the window under it knows the pointer is there.
inline void clickAt(POINT target) {
    if (moveTo(target)) {
        send({mouseInput(MOUSEEVENTF_LEFTDOWN)});
        send({mouseInput(MOUSEEVENTF_LEFTUP)});
    }
}

} // namespace pebbo::driver
