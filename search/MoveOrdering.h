#pragma once

#include "search/PackedBoard.h"

#include <array>
#include <bit>
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

namespace detail {

// A sowing step with the order key of its move when it captures nothing: that
// key depends only on the side, the move and the stones sown. Sized and laid
// out so that finding a step is two shifts.
struct alignas(32) ChildStep {
    SowingStep sowing;
    int16_t key;
};

using ChildSteps = std::array<std::array<std::array<ChildStep, 32>, 6>, 2>;
static_assert(kMaxSown < 32);

constexpr ChildSteps makeChildSteps() {
    ChildSteps steps{};
    for (int side = 0; side < 2; ++side) {
        const SowingOrder& order = side ? kUserOrder : kComputerOrder;
        const int ownStore = side ? kUserStore : kComputerStore;
        for (int move = 0; move < 6; ++move) {
            for (int count = 0; count <= kMaxSown; ++count) {
                int gain = 0;
                for (int entry = move + 1; entry <= move + count; ++entry)
                    gain += order[entry] == ownStore ? 1 : 0;
                const bool extraTurn = order[move + count] == ownStore;
                const int rank = extraTurn ? 64 + 7 - move : 128 + (side ? 31 - gain : gain);
                steps[side][move][count] = ChildStep{kSowingSteps[side][move][count],
                                                     static_cast<int16_t>(rank * 8 + move)};
            }
        }
    }
    return steps;
}

inline constexpr ChildSteps kChildSteps = makeChildSteps();

// Every key carries its move in the low three bits, and lies in the range of its
// result: extra turns from kExtraTurnKeys, normal moves from kNormalKeys on.
constexpr bool keysFitTheirRanges() {
    for (int side = 0; side < 2; ++side) {
        const SowingOrder& order = side ? kUserOrder : kComputerOrder;
        for (int move = 0; move < 6; ++move) {
            for (int count = 0; count <= kMaxSown; ++count) {
                const int key = kChildSteps[side][move][count].key;
                const bool extraTurn = order[move + count] == (side ? kUserStore : kComputerStore);
                if ((key & 7) != move || key < (extraTurn ? kExtraTurnKeys : kNormalKeys) ||
                    (extraTurn && key >= kNormalKeys))
                    return false;
            }
        }
    }
    return true;
}
static_assert(keysFitTheirRanges());

} // namespace detail

// Sows `move` of `board` into `child` and returns its order key: captures by gain,
// largest first; extra turns by index, pit nearest the store first; normal moves
// by gain, towards the mover; the move index breaks every tie, lowest first.
// `Side` is the side to move of `board`.
template <int Side>
[[gnu::always_inline]] inline int32_t sowChild(const PackedBoard& board, int32_t move,
                                               int32_t stones, PackedBoard& child) {
    constexpr int32_t ownStore = Side ? kUserStore : kComputerStore;
    const detail::ChildStep& step = detail::kChildSteps[Side][move][stones];
    child = board;
    if (child.template sow<Side>(step.sowing) != MoveResult::Capture)
        return step.key;
    // The mover's store is the only one a move can fill.
    const int32_t gain = child.at(ownStore) - board.at(ownStore);
    return (31 - gain) * 8 + move;
}

// The moves to make from a row of pits, `row` of PackedBoard: the top bit of each
// move's byte. No byte exceeds 127, so adding 127 carries into its top bit
// exactly when it is nonzero, and never further.
inline uint64_t movesToMake(uint64_t row, bool allMoves) {
    constexpr uint64_t kTopBits = 0x8080'8080'8080ull;
    return allMoves ? kTopBits : (row + 0x7F7F'7F7F'7F7Full) & kTopBits;
}

// The move of the lowest bit of movesToMake, and the stones it sows.
inline int32_t lowestMove(uint64_t toMake) {
    return std::countr_zero(toMake) >> 3;
}
inline int32_t stonesOf(uint64_t row, int32_t move) {
    return static_cast<int32_t>((row >> 8 * move) & 0xFF);
}

// Buckets by MoveResult (captures, extra turns, normal moves), each sorted as the
// search wants it: see orderMoves. `Side` is the side to move of `board`.
template <int Side>
[[gnu::always_inline]] inline void orderChildren(const PackedBoard& board, bool allMoves,
                                                 OrderedChildren& children) {
    std::array<int32_t, 6>& keys = children.key;
    const uint64_t row = board.template row<Side>();
    int32_t count = 0;
    for (uint64_t toMake = movesToMake(row, allMoves); toMake != 0; toMake &= toMake - 1) {
        const int32_t move = lowestMove(toMake);
        const int32_t key = sowChild<Side>(board, move, stonesOf(row, move), children.board[move]);
        int32_t slot = count++;
        for (; slot > 0 && keys[slot - 1] > key; --slot)
            keys[slot] = keys[slot - 1];
        keys[slot] = key;
    }
    children.count = count;
}

} // namespace pebbo
