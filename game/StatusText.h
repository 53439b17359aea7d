#pragma once

#include <cstdint>
#include <string>

namespace pebbo {

inline constexpr int32_t kStatusCount = 6;

// Status message `index` as the board shows it: 0 "Your Turn", 1 "Thinking...",
// 2 "Draw", 3 "Will Turn %d", 4 "Turning From %d", 5 "%s Win %d stones" (the
// winner, then `number`). Any other index gives an empty line.
std::wstring statusText(int32_t index, int32_t number, bool computerWins);

} // namespace pebbo
