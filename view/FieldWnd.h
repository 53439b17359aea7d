#pragma once

#include <windows.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include "view/Gdi.h"
#include "view/Guarded.h"
#include "view/HoleWnd.h"

namespace pebbo {

// The board: a rounded panel holding the fourteen pit windows and the message
// line. Window index i shows board counter i. The setters may be called from
// any thread; they store and invalidate, the painting happens on the UI thread.
class FieldWnd {
public:
    FieldWnd();
    virtual ~FieldWnd(); // deletes the HoleWnd objects and GDI resources, not the windows
    FieldWnd(const FieldWnd&) = delete;
    FieldWnd& operator=(const FieldWnd&) = delete;

    void create(HINSTANCE instance, HWND parent);
    // Moves the board, sizes the message's rectangle; returns the board's rect in the parent.
    RECT place(int availableWidth, int top);
    void setMessage(const wchar_t* text);
    void setHoleCount(int index, int32_t count);
    void setHoleColor(int index, COLORREF color);
    void clearHole(int index);
    void redrawHoles();
    RECT getHoleRect(int index) const;
    HWND handle() const;
    std::atomic<COLORREF> messageColor{0}; // set directly by the controller
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    void paintContent(HDC dc);

private:
    void drawShapeImages();
    void createHoles(HINSTANCE instance);
    HoleWnd* hole(int index) const;
    LRESULT onCreate(const CREATESTRUCTW& creation);
    LRESULT onPaint();
    LRESULT onPitClick(WPARAM index);

    // Written on the UI thread, read by the setters on game threads.
    std::atomic<HWND> window{nullptr};
    HWND parentWindow = nullptr;
    // The message line as the next paint draws it.
    struct Message {
        std::array<wchar_t, 64> text{};
        RECT rect{};
    };
    Guarded<Message> shownMessage;
    MemoryDC memoryDC;
    Bitmap holeImage;
    Bitmap storeImage;
    // Declared after the images so the pits, which borrow them, go first.
    std::array<std::unique_ptr<HoleWnd>, 14> holes;
};

} // namespace pebbo
