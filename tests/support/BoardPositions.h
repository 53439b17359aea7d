#pragma once

#include "rules/Board.h"

#include <array>
#include <cstdint>

namespace pebbo {

// A board with the given fourteen counters and side to move, both rules on.
inline Board position(std::array<int32_t, kPitCount> stones, uint8_t side) {
    Board board;
    board.stones = stones;
    board.sideToMove = side;
    return board;
}

} // namespace pebbo
