#include "game/Game.h"
#include "game/StatisticsText.h"

namespace pebbo {

// While the search runs its seconds grow with the clock; afterwards they stay.
std::wstring Game::statisticsText(int32_t index) {
    const uint64_t end = searchEnd != 0 ? searchEnd.load() : clock.tickCount();
    return formatStatistic(index, searcher.totalPositions(), end - searchStart);
}

} // namespace pebbo
