#pragma once

#include <array>
#include <cassert>
#include <cstdint>

namespace pebbo {

// Callers rely on the numbers: move ordering uses them as bucket indices.
enum class MoveResult : int32_t { Capture = 0, ExtraTurn = 1, Normal = 2 };

inline constexpr int32_t kPitCount = 14;
inline constexpr int32_t kStoneTotal = 24;
inline constexpr int32_t kUserStore = 6;
inline constexpr int32_t kComputerStore = 13;
inline constexpr int32_t kSowingOrderLength = 52;

using SowingOrder = std::array<int8_t, kSowingOrderLength>;

namespace detail {
// One side's 13 sowing positions written out four times: a sowing never needs a modulo.
constexpr SowingOrder makeSowingOrder(int first) {
    SowingOrder order{};
    const int skipped = first == 0 ? kComputerStore : kUserStore;
    int position = first;
    for (int entry = 0; entry < kSowingOrderLength; ++entry) {
        order[entry] = static_cast<int8_t>(position);
        do {
            position = (position + 1) % kPitCount;
        } while (position == skipped);
    }
    return order;
}
inline constexpr SowingOrder kUserOrder = makeSowingOrder(0);
inline constexpr SowingOrder kComputerOrder = makeSowingOrder(7);

// Entry e of a side's order is its e-th position after the first pit, the
// opponent's store left out: 0..12 for side 1, 7..13 then 0..5 for side 0.
constexpr bool lapsThirteenPositions(const SowingOrder& order, int first) {
    for (int entry = 0; entry < kSowingOrderLength; ++entry)
        if (order[entry] != (first + entry % 13) % kPitCount)
            return false;
    return true;
}
static_assert(lapsThirteenPositions(kUserOrder, 0) && lapsThirteenPositions(kComputerOrder, 7));
} // namespace detail

// The position record.
//   stones:  0..5 the user's pits (side 1), 6 the user's store,
//            7..12 the computer's pits (side 0), 13 the computer's store.
//   Pit i faces pit 12 - i; move m is pit m for side 1 and pit 7 + m for side 0.
struct Board {
    std::array<int32_t, kPitCount> stones;
    uint8_t sideToMove;
    uint8_t extraTurnRule;
    uint8_t captureRule;

    Board() : extraTurnRule(1), captureRule(1) { reset(); }

    void reset() {
        stones.fill(2);
        stones[kUserStore] = 0;
        stones[kComputerStore] = 0;
        sideToMove = 1;
    }

    // The destination keeps its own rule switches.
    void copyFrom(const Board& source) {
        stones = source.stones;
        sideToMove = source.sideToMove;
    }

    static const SowingOrder& sowingOrder(uint8_t side) {
        return side ? detail::kUserOrder : detail::kComputerOrder;
    }

    bool isLegal(int32_t move) const {
        return move >= 0 && move <= 5 && stones[sowingOrder(sideToMove)[move]] > 0;
    }

    MoveResult makeMove(int32_t move) {
        assert(move >= 0 && move <= 5);
        const SowingOrder& order = sowingOrder(sideToMove);
        const int32_t pit = order[move];
        const int32_t count = stones[pit];
        assert(count >= 0 && move + count < kSowingOrderLength);
        stones[pit] = 0;
        for (int32_t entry = move + 1; entry <= move + count; ++entry)
            ++stones[order[entry]];

        const int32_t last = order[move + count];
        const int32_t ownStore = sideToMove ? kUserStore : kComputerStore;
        if (last == ownStore)
            return extraTurnRule ? MoveResult::ExtraTurn : MoveResult::Normal;
        if (!captureRule || stones[last] != 1)
            return MoveResult::Normal;
        const int32_t opposite = 12 - last;
        if (stones[opposite] == 0)
            return MoveResult::Normal;
        const bool ownRow = sideToMove ? last < kUserStore : last > kUserStore;
        if (!ownRow)
            return MoveResult::Normal;
        stones[ownStore] += stones[opposite] + 1;
        stones[opposite] = 0;
        stones[last] = 0;
        return MoveResult::Capture;
    }

    // When side's six pits are empty, the other row goes into its owner's store.
    bool sweepIfEmpty(uint8_t side) {
        const int32_t own = side ? 0 : 7;
        for (int32_t pit = own; pit < own + 6; ++pit)
            if (stones[pit] != 0)
                return false;
        const int32_t other = side ? 7 : 0;
        const int32_t otherStore = side ? kComputerStore : kUserStore;
        for (int32_t pit = other; pit < other + 6; ++pit) {
            stones[otherStore] += stones[pit];
            stones[pit] = 0;
        }
        return true;
    }

    // False once either row is empty; the remaining stones are then already banked.
    bool gameContinues() { return !sweepIfEmpty(1) && !sweepIfEmpty(0); }

    // Store 6 minus store 13: the outcome and the search's evaluation, from side 1's view.
    int32_t storeDifference() const { return stones[kUserStore] - stones[kComputerStore]; }
};

} // namespace pebbo
