#pragma once

#include "rules/Board.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>

namespace pebbo {

// A board with the given fourteen counters and side to move, both rules on.
inline Board position(std::array<int32_t, kPitCount> stones, uint8_t side) {
    Board board;
    board.stones = stones;
    board.sideToMove = side;
    return board;
}

// Plays `move` and passes the turn unless the move earned another.
inline MoveResult play(Board& board, int32_t move) {
    const MoveResult result = board.makeMove(move);
    if (result != MoveResult::ExtraTurn)
        board.sideToMove = board.sideToMove ? 0 : 1;
    return result;
}

int32_t minimax(Board board);

// By every line of play to the end under the rules, no table and no pruning: the final margin
// from the view of the side that plays `move`.
inline int32_t minimaxAfter(const Board& board, int32_t move) {
    Board child = board;
    return play(child, move) == MoveResult::ExtraTurn ? minimax(child) : -minimax(child);
}

// The same for the side to move, before its best move.
inline int32_t minimax(Board board) {
    if (!board.gameContinues())
        return board.sideToMove ? board.storeDifference() : -board.storeDifference();
    int32_t best = -kStoneTotal;
    for (int32_t move = 0; move < 6; ++move)
        if (board.isLegal(move))
            best = std::max(best, minimaxAfter(board, move));
    return best;
}

// A legal move of `board`, which must have one.
inline int32_t randomLegalMove(std::mt19937& random, const Board& board) {
    for (;;)
        if (const auto move = static_cast<int32_t>(random() % 6); board.isLegal(move))
            return move;
}

} // namespace pebbo
