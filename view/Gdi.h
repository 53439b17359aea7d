#pragma once

#include <windows.h>

#include <utility>

namespace pebbo {

// Owns one GDI object (brush, pen, font, bitmap, region) and deletes it.
template <typename Handle> class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : object(handle) {}
    ~GdiObject() { reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : object(std::exchange(other.object, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.object, nullptr));
        }
        return *this;
    }

    Handle get() const { return object; }
    explicit operator bool() const { return object != nullptr; }
    // Hands the object to an owner that deletes it itself (a window region, a class brush).
    Handle release() { return std::exchange(object, nullptr); }
    void reset(Handle handle = nullptr) {
        if (object != nullptr) {
            DeleteObject(object);
        }
        object = handle;
    }

private:
    Handle object = nullptr;
};

using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;
using Region = GdiObject<HRGN>;

// A memory device context, deleted with the object.
class MemoryDC {
public:
    MemoryDC() = default;
    explicit MemoryDC(HDC compatibleWith) : dc(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDC() {
        if (dc != nullptr) {
            DeleteDC(dc);
        }
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    MemoryDC(MemoryDC&& other) noexcept : dc(std::exchange(other.dc, nullptr)) {}
    MemoryDC& operator=(MemoryDC&& other) noexcept {
        std::swap(dc, other.dc);
        return *this;
    }

    HDC get() const { return dc; }

private:
    HDC dc = nullptr;
};

// A window's device context (client area, or the whole window), released with the object.
class WindowDC {
public:
    enum class Area { Client, Whole };
    explicit WindowDC(HWND window, Area area = Area::Client)
        : owner(window), dc(area == Area::Whole ? GetWindowDC(window) : GetDC(window)) {}
    ~WindowDC() {
        if (dc != nullptr) {
            ReleaseDC(owner, dc);
        }
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC get() const { return dc; }

private:
    HWND owner;
    HDC dc;
};

// BeginPaint .. EndPaint for one WM_PAINT.
class PaintDC {
public:
    explicit PaintDC(HWND window) : owner(window) { dc = BeginPaint(owner, &paint); }
    ~PaintDC() { EndPaint(owner, &paint); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;

    HDC get() const { return dc; }
    const RECT& updateRect() const { return paint.rcPaint; }

private:
    HWND owner;
    PAINTSTRUCT paint{};
    HDC dc = nullptr;
};

// Selects an object into a DC for one scope and puts the previous one back.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : target(dc), previous(SelectObject(dc, object)) {}
    ~ScopedSelect() {
        if (previous != nullptr && previous != HGDI_ERROR) {
            SelectObject(target, previous);
        }
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC target;
    HGDIOBJ previous;
};

} // namespace pebbo
