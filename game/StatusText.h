#pragma once

#include <cstdint>
#include <string>

namespace pebbo {

inline constexpr int32_t kStatusCount = 10;

// Status message `index` as the board shows it: 0 "Your Turn", 1 "Thinking...",
// 2 "Draw", 3 "Will Turn %d", 4 "Turning From %d", 5 "%s Win %d stones" (the
// winner, then `number`); the hints 6 "Pit %d wins by %d", 7 "Pit %d draws",
// 8 "Pit %d loses by %d" and 9 "Best: pit %d" (`pit`, then `number`). Any other
// index gives an empty line.
std::wstring statusText(int32_t index, int32_t number, bool computerWins, int32_t pit = 0);

} // namespace pebbo
