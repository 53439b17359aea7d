#pragma once

#include "rules/Board.h"

#include <array>
#include <bit>
#include <cassert>
#include <cstdint>
#include <cstring>

namespace pebbo {

// The search's copy of a position: one byte per counter, so a copy is a single 16-byte move.
//   bytes 0..5 side 1's pits, 6 its store, 7..12 side 0's pits, 13 its store,
//   14 the side to move (0 or 1), 15 unused. Both rules are always on.
struct PackedBoard {
    static constexpr int32_t kSideByte = 14;

    alignas(16) std::array<int8_t, 16> cell;

    static PackedBoard from(const Board& board) {
        PackedBoard packed{};
        for (int32_t pit = 0; pit < kPitCount; ++pit)
            packed.cell[pit] = static_cast<int8_t>(board.stones[pit]);
        packed.cell[kSideByte] = board.sideToMove ? 1 : 0;
        return packed;
    }

    uint8_t sideToMove() const { return static_cast<uint8_t>(cell[kSideByte]); }
    void passTurn() { cell[kSideByte] ^= 1; }
    int32_t storeDifference() const { return cell[kUserStore] - cell[kComputerStore]; }

    // The same sowing and rules as Board::makeMove, by one table lookup and a 16-byte add.
    inline MoveResult makeMove(int32_t move);

    // Board::gameContinues: false once either row is empty, after banking the other row.
    bool gameContinues() {
        static_assert(std::endian::native == std::endian::little);
        constexpr uint64_t kRow = 0xFFFF'FFFF'FFFFull;
        uint64_t userRow = 0;
        uint64_t computerRow = 0;
        std::memcpy(&userRow, &cell[0], sizeof userRow);
        std::memcpy(&computerRow, &cell[7], sizeof computerRow);
        if ((userRow & kRow) == 0) {
            bank(7, kComputerStore);
            return false;
        }
        if ((computerRow & kRow) == 0) {
            bank(0, kUserStore);
            return false;
        }
        return true;
    }

private:
    void bank(int32_t firstPit, int32_t store) {
        int32_t total = cell[store];
        for (int32_t pit = firstPit; pit < firstPit + 6; ++pit) {
            total += cell[pit];
            cell[pit] = 0;
        }
        cell[store] = static_cast<int8_t>(total);
    }
};

namespace detail {

// Everything a sowing of `count` stones by one move does, precomputed.
struct SowingStep {
    alignas(
        16) std::array<int8_t, 16> added; // stones dropped per position (start pit cleared first)
    int8_t last;                          // where the last stone lands
    int8_t ownPit;                        // 1 when that is a pit of the mover's own row
};

inline constexpr int32_t kMaxSown = kStoneTotal; // no pit can hold more than every stone

using SowingSteps = std::array<std::array<std::array<SowingStep, kMaxSown + 1>, 6>, 2>;

constexpr SowingSteps makeSowingSteps() {
    SowingSteps steps{};
    for (int side = 0; side < 2; ++side) {
        const SowingOrder& order = side ? kUserOrder : kComputerOrder;
        for (int move = 0; move < 6; ++move) {
            for (int count = 0; count <= kMaxSown; ++count) {
                SowingStep& step = steps[side][move][count];
                for (int entry = move + 1; entry <= move + count; ++entry)
                    ++step.added[order[entry]];
                step.last = order[move + count];
                step.ownPit = side ? step.last < kUserStore
                                   : step.last > kUserStore && step.last < kComputerStore;
            }
        }
    }
    return steps;
}

inline constexpr SowingSteps kSowingSteps = makeSowingSteps();

// All sixteen counters in one vector add (GCC and Clang both lower this to a single paddb).
inline void addBytes(std::array<int8_t, 16>& to, const std::array<int8_t, 16>& added) {
    using Bytes = int8_t __attribute__((vector_size(16)));
    Bytes sum;
    Bytes more;
    std::memcpy(&sum, to.data(), sizeof sum);
    std::memcpy(&more, added.data(), sizeof more);
    sum += more;
    std::memcpy(to.data(), &sum, sizeof sum);
}

} // namespace detail

inline MoveResult PackedBoard::makeMove(int32_t move) {
    assert(move >= 0 && move <= 5);
    const int32_t side = cell[kSideByte];
    const int32_t pit = side ? move : 7 + move;
    const int32_t count = cell[pit];
    assert(count >= 0 && count <= detail::kMaxSown);
    const detail::SowingStep& step = detail::kSowingSteps[side][move][count];
    cell[pit] = 0;
    detail::addBytes(cell, step.added);

    const int32_t last = step.last;
    const int32_t ownStore = side ? kUserStore : kComputerStore;
    if (last == ownStore)
        return MoveResult::ExtraTurn;
    // One stone means the pit was empty before the last stone (a full lap empties the start pit).
    if (!step.ownPit || cell[last] != 1)
        return MoveResult::Normal;
    const int32_t opposite = 12 - last;
    if (cell[opposite] == 0)
        return MoveResult::Normal;
    cell[ownStore] = static_cast<int8_t>(cell[ownStore] + cell[opposite] + 1);
    cell[opposite] = 0;
    cell[last] = 0;
    return MoveResult::Capture;
}

} // namespace pebbo
