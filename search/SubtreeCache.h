#pragma once

#include "search/PackedBoard.h"

#include <cassert>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>

namespace pebbo {

// What a subtree of the search gave: its score, its counts, and how many turns
// below its own depth it reached.
struct SubtreeResult {
    int32_t score;
    uint64_t leaves;
    uint64_t cutoffs;
    uint64_t cutoffTests;
    int32_t deepestBelow;
};

// Results of small subtrees already searched, for one worker of one search. A
// subtree's score and counts depend only on its position, its turns left and,
// when it may be cut off, its bound; positions recur through different orders of
// moves, so reusing what they gave changes nothing the search reports. Kept small
// enough to stay in the core's own cache: a bigger table misses there more often
// than it saves a search.
class SubtreeCache {
public:
    // Deeper subtrees recur too seldom to pay for their lookups.
    static constexpr int32_t kMaxRemaining = 4;
    // The bound of a subtree that is never cut off.
    static constexpr int32_t kNoBound = std::numeric_limits<int16_t>::max();

    struct Entry {
        uint64_t low;
        uint64_t highAndRemaining; // both words zero: empty, as no position has that
        uint32_t leaves;
        uint32_t cutoffs;
        uint32_t cutoffTests;
        int16_t bound;
        int8_t score;
        int8_t deepestBelow;
    };

    // The entry a subtree's result lives in, found or to be stored.
    Entry& entryFor(const PackedBoard& board, int32_t remaining, int32_t bound) {
        const uint64_t hash = board.low * 0x9E37'79B9'7F4A'7C15ull ^
                              keyHigh(board, remaining) * 0xC2B2'AE3D'27D4'EB4Full ^
                              static_cast<uint64_t>(bound + 32768) * 0x1656'67B1'9E37'79F9ull;
        if (table_ == nullptr) [[unlikely]]
            allocate();
        return table_[(hash >> (64 - kIndexBits)) & mask_];
    }

    static bool holds(const Entry& entry, const PackedBoard& board, int32_t remaining,
                      int32_t bound) {
        return entry.low == board.low && entry.highAndRemaining == keyHigh(board, remaining) &&
               entry.bound == bound;
    }

    static SubtreeResult resultOf(const Entry& entry) {
        return {entry.score, entry.leaves, entry.cutoffs, entry.cutoffTests, entry.deepestBelow};
    }

    // Counts beyond 32 bits are not kept: the subtree is searched again instead.
    static void store(Entry& entry, const PackedBoard& board, int32_t remaining, int32_t bound,
                      const SubtreeResult& result) {
        assert(result.score >= INT8_MIN && result.score <= INT8_MAX);
        constexpr uint64_t kMaxCount = std::numeric_limits<uint32_t>::max();
        if (result.leaves > kMaxCount || result.cutoffTests > kMaxCount)
            return;
        entry = Entry{board.low,
                      keyHigh(board, remaining),
                      static_cast<uint32_t>(result.leaves),
                      static_cast<uint32_t>(result.cutoffs),
                      static_cast<uint32_t>(result.cutoffTests),
                      static_cast<int16_t>(bound),
                      static_cast<int8_t>(result.score),
                      static_cast<int8_t>(result.deepestBelow)};
    }

private:
    static constexpr int32_t kIndexBits = 15;
    static constexpr uint64_t kEntries = uint64_t{1} << kIndexBits;

    // The high word's top byte is never used by a position.
    static uint64_t keyHigh(const PackedBoard& board, int32_t remaining) {
        return board.high | static_cast<uint64_t>(remaining) << 56;
    }

    // On first use, as many searches never reach a small subtree: zeroed pages
    // from the system, touched only where subtrees land. Should none be had, one
    // entry serves: slower, never wrong.
    void allocate() {
        owned_.reset(static_cast<Entry*>(std::calloc(kEntries, sizeof(Entry))));
        table_ = owned_ ? owned_.get() : &fallback_;
        mask_ = owned_ ? kEntries - 1 : 0;
    }

    struct Free {
        void operator()(Entry* entries) const { std::free(entries); }
    };
    std::unique_ptr<Entry, Free> owned_;
    Entry* table_ = nullptr;
    uint64_t mask_ = 0;
    Entry fallback_{};
};

} // namespace pebbo
