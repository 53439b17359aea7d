#pragma once

#include "rules/Board.h"

#include <atomic>
#include <cstdint>

namespace pebbo {

// Worse than any real score (real scores lie within -24..24).
inline constexpr int32_t kUnscored = 9999;

// The worst value for the side that chooses at a node: side 1 maximises, side 0 minimises.
constexpr int32_t startScore(uint8_t sideToMove) {
    return sideToMove ? -kUnscored : kUnscored;
}

// One position on the search path. The board lives beside the node in the same owner.
struct SearchNode {
    SearchNode* parent = nullptr;
    Board* board = nullptr;
    int32_t depth = 0; // completed turns from the root; an extra turn keeps it
    int32_t score = 0; // store 6 minus store 13, whoever is to move
};

// A subtree to search and the root-move slot its evaluated positions count in.
struct SearchJob {
    SearchNode* node = nullptr;
    std::atomic<uint64_t>* leafCount = nullptr;
};

} // namespace pebbo
