#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>

#include "tests/support/TopDownBitmap.h"
#include "view/BoardLayout.h"

namespace pebbo::test {

// Between the two rows and the two stores, in board coordinates: only the message draws here.
inline constexpr RECT kMessageRoom{holeLayout[13].x + kPitSize, holeLayout[7].y + kPitSize,
                                   holeLayout[6].x, holeLayout[0].y};

// Runs the thread's messages until `done` holds or `timeout` passes; returns `done()`.
inline bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done()) {
            return true;
        }
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// What `window` shows in `rect` of its client area; a null window means the screen.
inline Pixels capture(HWND window, const RECT& rect) {
    WindowDC dc(window);
    return readPixelBlock(dc.get(), rect);
}

inline std::string fileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace pebbo::test
