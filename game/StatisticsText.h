#pragma once

#include <cstdint>
#include <string>

namespace pebbo {

enum StatisticIndex : int32_t { kPositionsText = 0, kSecondsText = 1, kMillionsPerSecondText = 2 };

// The text of one technical-information label: 0 the positions with thousands
// separators, 1 the seconds, 2 the millions of positions per second.
std::wstring formatStatistic(int32_t index, uint64_t positions, uint64_t elapsedMilliseconds);

} // namespace pebbo
