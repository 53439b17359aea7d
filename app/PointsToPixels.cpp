#include "app/PointsToPixels.h"

#include <windows.h>

#include "view/Gdi.h"

namespace pebbo {

int32_t pointsToPixels(int32_t points) {
    MemoryDC screen(nullptr);
    return pointsToPixels(points, GetDeviceCaps(screen.get(), LOGPIXELSY));
}

} // namespace pebbo
