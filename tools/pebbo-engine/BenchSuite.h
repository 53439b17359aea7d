#pragma once

#include "rules/Board.h"

#include <cstdint>
#include <span>

namespace pebbo {

struct BenchPosition {
    std::array<int32_t, kPitCount> stones;
    uint8_t sideToMove;
    int32_t depth;
};

// The fixed positions `bench` searches: the start for both sides, openings,
// middle games and endings (searched to their end).
std::span<const BenchPosition> benchSuite();

} // namespace pebbo
