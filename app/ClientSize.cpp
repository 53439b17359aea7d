#include "app/ClientSize.h"

#include "app/PointsToPixels.h"

namespace pebbo {

int32_t clientHeight() {
    return clientHeight(pointsToPixels(10));
}

} // namespace pebbo
