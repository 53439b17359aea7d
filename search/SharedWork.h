#pragma once

#include "search/MoveOrdering.h"
#include "search/RootSearch.h"
#include "search/SearchNode.h"
#include "search/SubtreeCache.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <queue>

namespace pebbo {

// Counts of one piece of a search. Pieces searched apart add up to the counts of
// the one-thread search.
struct SearchTally {
    uint64_t leaves = 0;
    uint64_t cutoffs = 0;
    uint64_t cutoffsNearRoot = 0;
    uint64_t cutoffTests = 0;
    int32_t deepest = 0;

    void add(const SearchTally& other) {
        leaves += other.leaves;
        cutoffs += other.cutoffs;
        cutoffsNearRoot += other.cutoffsNearRoot;
        cutoffTests += other.cutoffTests;
        deepest = deepest > other.deepest ? deepest : other.deepest;
    }
};

// A node's running score and counts after one of its children.
struct ChildRecord {
    int32_t score;
    SearchTally tally;
};

// One child of a split point. Its own children are searched against its running
// score, never against its bound, so the records up to any cut point are those of
// the one-thread search: only where it stops depends on the bound.
struct ChildSlot {
    std::array<ChildRecord, 6> records;
    // Written after its record, so the owner may read the records below it while
    // the child is still searched. None only when stopped.
    std::atomic<int32_t> recordCount{0};
    // Set once the rest of the child's search is not wanted: its node was cut off
    // or stopped, or a record already shows where the child itself is cut off.
    std::atomic<bool> abandoned{false};
    int32_t depth = 0;   // the child's depth
    bool mayCut = false; // whether the child itself may be cut off
    bool done = false;
    uint64_t published = 0; // positions its search added to the root-move slot
    const std::atomic<int32_t>* parentScore = nullptr; // its split point's knownScore
    int32_t worker = -1;                               // who searches it
    int32_t base = 0; // that worker's split points from here on lie inside this child
};

// A node whose children after the first are handed out to whichever worker is
// free. Each is searched against the node's score over the children already
// done in order, a bound no stronger than the true one, read afresh as it
// tightens; the owner joins the records in the one-thread order. Lives in its
// owner's stack frame.
struct SplitPoint {
    const OrderedChildren* children = nullptr;
    std::atomic<uint64_t>* leafCount = nullptr;
    int32_t owner = 0; // the worker whose search reached the node
    int32_t depth = 0;
    int32_t ahead = 0; // how many children past the scored ones may be out
    uint8_t side = 0;
    // Guarded by SharedWork::mutex.
    int32_t next = 1; // the next child to hand out, in search order
    // The node's score over its first `scored` children: folded by whichever
    // worker finishes the next of them, so that it tightens while the owner is
    // busy elsewhere.
    std::atomic<int32_t> knownScore{0};
    int32_t scored = 1;
    bool closed = false; // cut off or stopped: hand out no more
    std::array<ChildSlot, 6> slots;
};

// A subtree near the root that a worker is searching, which the other worker
// may reach too by another order of moves.
struct BusySubtree {
    std::atomic<uint64_t> key{0};  // its table key in one word; none once done
    std::atomic<int32_t> level{0}; // its worker's split points from this one on lie inside it
};

// What the workers of one root search share; guarded by `mutex`, but for the
// subtree caches and the busy subtrees, which keep rules of their own.
struct SharedWork {
    std::mutex mutex;
    std::condition_variable changed; // a job or child finished, or a split point opened
    std::queue<SearchJob*> jobs;
    int32_t unfinishedJobs = 0;
    // Set once the queue is empty; read at many nodes, so on a line of its own.
    alignas(64) std::atomic<bool> allTaken{false};
    alignas(64) bool splitting = false; // more than one worker: open split points
    // Each worker's open split points, outermost first.
    static constexpr int32_t kMaxNesting = 48;
    std::array<std::array<SplitPoint*, kMaxNesting>, kRootWorkers> open{};
    std::array<int32_t, kRootWorkers> openCount{};
    std::array<SubtreeCache<false>, kRootWorkers> caches; // each worker's own
    SubtreeCache<true> sharedCache;                       // the biggest subtrees, for all
    // Each worker's busy subtrees, outermost first, written by that worker alone;
    // `waiters`: how many wait for one of them to be done; `awaiting`: whether a
    // worker is waiting for one, its own to read and write.
    static constexpr int32_t kMaxBusy = 8;
    std::array<std::array<BusySubtree, kMaxBusy>, kRootWorkers> busy;
    std::array<std::atomic<int32_t>, kRootWorkers> busyCount{};
    std::array<std::atomic<int32_t>, kRootWorkers> waiters{};
    std::array<bool, kRootWorkers> awaiting{};
};

} // namespace pebbo
