#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "view/FieldWnd.h"
#include "view/Gdi.h"

namespace pebbo::testing {

inline constexpr COLORREF kParentColor = RGB(0, 0, 255);
inline constexpr COLORREF kBoardColorRef = RGB(128, 128, 64);
inline constexpr int kParentWidth = 640;
inline constexpr int kParentHeight = 240;
inline constexpr int kBoardTop = 20;

// A block of pixels read back from the screen, as COLORREF values.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> values;
    COLORREF at(int x, int y) const { return values[static_cast<size_t>(y * width + x)]; }
    friend bool operator==(const Pixels&, const Pixels&) = default;
};

// A 32-bit top-down DIB section selected into its own memory DC.
class Canvas {
public:
    Canvas(int canvasWidth, int canvasHeight);
    HDC dc() const { return memory.get(); }
    Pixels pixels() const;
    void fill(const Pixels& source);

private:
    int width;
    int height;
    uint32_t* bits = nullptr;
    MemoryDC memory;
    Bitmap bitmap;
    std::unique_ptr<ScopedSelect> selection;
};

// Stands in for the main dialog: a plain top-level window at the desktop's
// origin (client = screen coordinates) that records the pit clicks it gets.
class BoardWindowTest : public ::testing::Test {
public:
    static void recordClick(WPARAM wParam, LPARAM lParam) { clicks.emplace_back(wParam, lParam); }

protected:
    void SetUp() override;
    void TearDown() override;

    // Handles whatever is queued, then paints whatever is invalid.
    void settle();
    // What the parent shows in rect, given in board-window coordinates.
    Pixels capture(const RECT& rect) const;
    Pixels captureHole(int index) const;
    // The screen point at (x, y) of the board window.
    POINT onBoard(int x, int y) const;
    // Delivers a mouse message where the system would: to the window under the point.
    void mouseAt(UINT message, POINT screenPoint) const;
    // Width and height of text in the board window's default font.
    SIZE messageExtent(const wchar_t* text) const;

    static std::vector<std::pair<WPARAM, LPARAM>> clicks;
    HWND parent = nullptr;
    std::unique_ptr<FieldWnd> field;
    RECT boardRect{};
};

} // namespace pebbo::testing
