#pragma once

#include "rules/Board.h"

#include <array>
#include <bit>
#include <cassert>
#include <cstdint>

namespace pebbo {

namespace detail {
struct SowingStep;
} // namespace detail

// The search's copy of a position: one byte per counter in two 64-bit words, so a
// copy is two register moves and a sowing is two masked adds.
//   low:  bytes 0..5 side 1's pits, 6 its store, 7 side 0's first pit (pit 7)
//   high: bytes 0..4 pits 8..12, 5 side 0's store (13), 6 the side to move (0 or 1)
// No byte ever exceeds 24, so adds never carry into the next byte. Both rules are on.
struct PackedBoard {
    uint64_t low;
    uint64_t high;

    static PackedBoard from(const Board& board) {
        PackedBoard packed{0, 0};
        [[maybe_unused]] int32_t total = 0;
        for (int32_t position = 0; position < kPitCount; ++position) {
            assert(board.stones[position] >= 0 && board.stones[position] <= kStoneTotal);
            total += board.stones[position];
            packed.add(position, board.stones[position]);
        }
        assert(total == kStoneTotal);
        packed.high |= static_cast<uint64_t>(board.sideToMove ? 1 : 0) << kSideShift;
        return packed;
    }

    int32_t at(int32_t position) const {
        return static_cast<int32_t>((word(position) >> shift(position)) & 0xFF);
    }
    uint8_t sideToMove() const { return static_cast<uint8_t>(high >> kSideShift); }
    void passTurn() { high ^= uint64_t{1} << kSideShift; }
    int32_t storeDifference() const { return at(kUserStore) - at(kComputerStore); }

    // The same sowing and rules as Board::makeMove.
    inline MoveResult makeMove(int32_t move);

    // makeMove for a mover known at compile time, with the sowing's step already
    // looked up: the search's hot path.
    template <int Side>
    [[gnu::always_inline]] inline MoveResult sow(const detail::SowingStep& step);

    // The six pits of `Side`'s row, one byte each, its first pit lowest.
    template <int Side> uint64_t row() const { return Side ? low & kUserPits : computerPits(); }

    // storeDifference after gameContinues, without banking: when one row is empty,
    // every stone outside it ends in the other store, so one store decides.
    int32_t leafScore() const {
        const int32_t userStore = at(kUserStore);
        const int32_t computerStore = at(kComputerStore);
        const int32_t score = userStore - computerStore;
        const int32_t userEmpty = 2 * userStore - kStoneTotal;
        const int32_t computerEmpty = kStoneTotal - 2 * computerStore;
        return (low & kUserPits) == 0 ? userEmpty : computerPits() == 0 ? computerEmpty : score;
    }

    // Board::gameContinues: false once either row is empty, after banking the other row.
    bool gameContinues() {
        if ((low & kUserPits) == 0) {
            const uint64_t banked = (low >> 56) + byteSum(high & kComputerPitsHigh);
            low &= ~(uint64_t{0xFF} << 56);
            high = (high & ~kComputerPitsHigh) + (banked << shift(kComputerStore));
            return false;
        }
        if (computerPits() == 0) {
            const uint64_t banked = byteSum(low & kUserPits);
            low = (low & ~kUserPits) + (banked << shift(kUserStore));
            return false;
        }
        return true;
    }

private:
    static constexpr int32_t kSideShift = 48;
    static constexpr uint64_t kUserPits = 0x0000'FFFF'FFFF'FFFFull;
    static constexpr uint64_t kComputerPitsHigh = 0x0000'00FF'FFFF'FFFFull;

    // Side 0's row: nonzero while it has a stone in a pit.
    uint64_t computerPits() const { return (low >> 56) | (high & kComputerPitsHigh) << 8; }

    static constexpr int32_t shift(int32_t position) { return 8 * (position & 7); }
    uint64_t word(int32_t position) const { return position < 8 ? low : high; }
    uint64_t& word(int32_t position) { return position < 8 ? low : high; }
    void add(int32_t position, int32_t stones) {
        word(position) += static_cast<uint64_t>(stones) << shift(position);
    }
    void clear(int32_t position) { word(position) &= ~(uint64_t{0xFF} << shift(position)); }
    // at() for a position known only at run time: the two words lie in memory as
    // the fourteen counters in board order, one byte each.
    int32_t byteAt(int32_t position) const {
        static_assert(std::endian::native == std::endian::little && sizeof(PackedBoard) == 16);
        return reinterpret_cast<const unsigned char*>(this)[position];
    }
    // The sum of eight bytes whose total stays below 256.
    static uint64_t byteSum(uint64_t bytes) { return (bytes * 0x0101'0101'0101'0101ull) >> 56; }
};

namespace detail {

// Everything a sowing of `count` stones by one move does, precomputed. The start
// pit holds exactly `count`, so emptying it is a subtraction folded into the adds:
// one add per word makes the whole sowing, and as no byte ends out of range the
// borrows cancel.
struct SowingStep {
    uint64_t addLow;
    uint64_t addHigh;
    // Where the last stone lands when that is a pit of the mover's own row, else
    // kNeverOne: the capture test then needs no second condition.
    int8_t capturePit;
    int8_t extraTurn; // 1 when the last stone lands in the mover's store
};

// The top byte of the high word, unused and always 0.
inline constexpr int8_t kNeverOne = 15;

inline constexpr int32_t kMaxSown = kStoneTotal; // no pit can hold more than every stone

using SowingSteps = std::array<std::array<std::array<SowingStep, kMaxSown + 1>, 6>, 2>;

constexpr SowingSteps makeSowingSteps() {
    SowingSteps steps{};
    for (int side = 0; side < 2; ++side) {
        const SowingOrder& order = side ? kUserOrder : kComputerOrder;
        for (int move = 0; move < 6; ++move) {
            const int pit = order[move];
            for (int count = 0; count <= kMaxSown; ++count) {
                SowingStep& step = steps[side][move][count];
                (pit < 8 ? step.addLow : step.addHigh) -= static_cast<uint64_t>(count)
                                                          << 8 * (pit & 7);
                for (int entry = move + 1; entry <= move + count; ++entry) {
                    const int position = order[entry];
                    (position < 8 ? step.addLow : step.addHigh) += uint64_t{1}
                                                                   << 8 * (position & 7);
                }
                const int last = order[move + count];
                const bool ownPit =
                    side ? last < kUserStore : last > kUserStore && last < kComputerStore;
                step.capturePit = static_cast<int8_t>(ownPit ? last : kNeverOne);
                step.extraTurn = last == (side ? kUserStore : kComputerStore);
            }
        }
    }
    return steps;
}

inline constexpr SowingSteps kSowingSteps = makeSowingSteps();

} // namespace detail

inline MoveResult PackedBoard::makeMove(int32_t move) {
    assert(move >= 0 && move <= 5);
    return sideToMove() ? sow<1>(detail::kSowingSteps[1][move][at(move)])
                        : sow<0>(detail::kSowingSteps[0][move][at(7 + move)]);
}

template <int Side> inline MoveResult PackedBoard::sow(const detail::SowingStep& step) {
    low += step.addLow;
    high += step.addHigh;

    const int32_t last = step.capturePit;
    constexpr int32_t ownStore = Side ? kUserStore : kComputerStore;
    // One stone means the pit was empty before the last stone (a full lap empties the start pit).
    if (byteAt(last) == 1) {
        const int32_t opposite = 12 - last;
        const int32_t taken = byteAt(opposite);
        if (taken != 0) {
            clear(last);
            clear(opposite);
            add(ownStore, taken + 1);
            return MoveResult::Capture;
        }
    }
    return step.extraTurn ? MoveResult::ExtraTurn : MoveResult::Normal;
}

} // namespace pebbo
