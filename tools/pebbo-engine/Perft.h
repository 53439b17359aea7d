#pragma once

#include "rules/Board.h"

#include <cstdint>

namespace pebbo {

// Move sequences of `depth` sowings from `board` (an extra turn gives the same side
// the next sowing); a sequence that ends the game early counts once. Uses the rules
// alone, so it checks them independently of the search.
uint64_t perft(const Board& board, int32_t depth);

} // namespace pebbo
