#pragma once

#include "search/PackedBoard.h"

#include <array>
#include <cstdint>

namespace pebbo {

// Order keys: captures below kExtraTurnKeys, extra turns from there to kNormalKeys,
// normal moves from kNormalKeys on.
inline constexpr int32_t kExtraTurnKeys = 512;
inline constexpr int32_t kNormalKeys = 1024;

// The children of one position in search order; each child board is kept for the search.
struct OrderedChildren {
    std::array<PackedBoard, 6> board; // by move index, sown but with the mover still to move
    std::array<int32_t, 6> key;       // ascending: the order to search in
    int32_t count;

    static int32_t move(int32_t key) { return key & 7; }
    static bool extraTurn(int32_t key) { return key >= kExtraTurnKeys && key < kNormalKeys; }
};

// Sows `move` of `board` into `child` and returns its order key (see orderMoves).
// `Side` is the side to move of `board`.
template <int Side>
[[gnu::always_inline]] inline int32_t sowChild(const PackedBoard& board, int32_t move,
                                               int32_t stones, PackedBoard& child) {
    constexpr int32_t ownStore = Side ? kUserStore : kComputerStore;
    child = board;
    const MoveResult result = child.template sow<Side>(move, stones);
    // The mover's store is the only one a move can fill.
    const int32_t gain = child.at(ownStore) - board.at(ownStore);
    int32_t rank = 0;
    switch (result) {
    case MoveResult::Capture:
        rank = 31 - gain;
        break;
    case MoveResult::ExtraTurn:
        rank = 64 + 7 - move;
        break;
    case MoveResult::Normal:
        rank = 128 + (Side ? 31 - gain : gain);
        break;
    }
    // The move index breaks every tie, lowest first.
    return rank * 8 + move;
}

// Buckets by MoveResult (captures, extra turns, normal moves), each sorted as the
// search wants it: see orderMoves. `Side` is the side to move of `board`.
template <int Side>
[[gnu::always_inline]] inline void orderChildren(const PackedBoard& board, bool allMoves,
                                                 OrderedChildren& children) {
    constexpr int32_t firstPit = Side ? 0 : 7;
    std::array<int32_t, 6>& keys = children.key;
    int32_t count = 0;
    // Unrolled, every pit position and table row below is a constant.
#pragma GCC unroll 6
    for (int32_t move = 0; move < 6; ++move) {
        const int32_t stones = board.at(firstPit + move);
        if (!allMoves && stones == 0)
            continue;
        const int32_t key = sowChild<Side>(board, move, stones, children.board[move]);
        int32_t slot = count++;
        for (; slot > 0 && keys[slot - 1] > key; --slot)
            keys[slot] = keys[slot - 1];
        keys[slot] = key;
    }
    children.count = count;
}

} // namespace pebbo
