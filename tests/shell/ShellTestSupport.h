#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "tests/support/TopDownBitmap.h"
#include "view/BoardLayout.h"

namespace pebbo::test {

// Between the two rows and the two stores, in board coordinates: only the message draws here.
inline constexpr RECT kMessageRoom{holeLayout[13].x + kPitSize, holeLayout[7].y + kPitSize,
                                   holeLayout[6].x, holeLayout[0].y};

// Runs the thread's messages until `done` holds or `timeout` passes; returns `done()`.
inline bool pumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (MSG message{};; Sleep(10)) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (const bool held = done(); held || std::chrono::steady_clock::now() > end)
            return held;
    }
}

inline HWND holeWindow(HWND board, int i) {
    return ChildWindowFromPoint(board, {holeLayout[i].x + 1, holeLayout[i].y + 1});
}

// What `window` shows in `rect` of its client area; a null window means the screen.
inline Pixels capture(HWND window, const RECT& rect) {
    return readPixelBlock(WindowDC(window).get(), rect);
}

inline std::string fileText(const std::filesystem::path& file) {
    return {std::istreambuf_iterator<char>(std::ifstream(file, std::ios::binary).rdbuf()), {}};
}

} // namespace pebbo::test
