#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace pebbo {

// The search object shared by all threads of a root search.
struct Searcher {
    uint8_t allMoves = 0;     // offer all six indices without the legality test; never set in play
    uint8_t pruning = 1;      // cut-offs on
    uint8_t pruneShallow = 0; // let nodes of depth 0 and 1 be cut off too; never set in play
    std::atomic<uint8_t> running{1}; // cleared from another thread to stop every search
    int32_t depthLimit = 8;          // turns to search; written only between searches
    std::atomic<int32_t> deepestDepth{0};
    std::atomic<uint64_t> cutoffs{0};
    std::atomic<uint64_t> cutoffsNearRoot{0};
    std::atomic<uint64_t> cutoffTests{0};
    // Children searched by a worker other than the one whose search reached their
    // node: the work sharing's own count, zero with one worker.
    std::atomic<uint64_t> sharedChildren{0};
    // Subtrees a worker waited for another to finish instead of searching them too.
    std::atomic<uint64_t> awaitedSubtrees{0};
    // Positions evaluated, one slot per root move. Workers add what they evaluate
    // and take back what a cut off shared child counted, so a slot is exact once
    // the search ends; the statistics timer reads them while a search runs.
    std::array<std::atomic<uint64_t>, 6> leafCounts{};

    uint64_t totalPositions() const {
        uint64_t total = 0;
        for (const auto& count : leafCounts)
            total += count.load(std::memory_order_relaxed);
        return total;
    }
};

} // namespace pebbo
