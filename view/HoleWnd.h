#pragma once

#include <windows.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include "view/Gdi.h"
#include "view/Guarded.h"

namespace pebbo {

// One pit or store of the board: the shape image the board drew, with the
// stone count written across it. A release of the mouse button over one of
// the user's pits is reported to the board window as WM_USER, wParam = index.
class HoleWnd {
public:
    explicit HoleWnd(int32_t index);
    virtual ~HoleWnd(); // detaches from the window, never destroys it
    HoleWnd(const HoleWnd&) = delete;
    HoleWnd& operator=(const HoleWnd&) = delete;

    // The memory DC and the image are borrowed from the board and must outlive this object.
    void create(HINSTANCE instance, HWND parent, int x, int y, int width, int height, HDC memoryDC,
                HBITMAP image);
    // The setters may be called from any thread: they store, then invalidate.
    void setCount(int32_t count);
    void setColor(COLORREF color);
    void clear();
    void redraw();
    HWND handle() const { return window; }
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    void paintContent(HDC dc, const RECT& update);

private:
    static std::shared_ptr<Font> sharedHoleFont();
    void drawCount(HDC dc);
    LRESULT onPaint();
    LRESULT onButtonUp();

    // Written on the UI thread, read by the setters on game threads.
    std::atomic<HWND> window{nullptr};
    HWND parentWindow = nullptr;
    // The count as the next paint draws it.
    struct Label {
        // Room for any 32-bit count; stone counts need at most two digits.
        std::array<wchar_t, 12> text{};
        COLORREF color = 0;
    };
    Guarded<Label> label;
    const int32_t index;
    HDC memoryDC = nullptr;
    HBITMAP image = nullptr;
    std::shared_ptr<Font> holeFont;
};

} // namespace pebbo
