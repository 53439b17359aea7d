#pragma once

#include "search/PackedBoard.h"

#include <array>
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

// Results of subtrees already searched, for one worker of one search. A subtree's
// score and counts depend only on its position, its turns left and, when it may
// be cut off, its bound; positions recur through different orders of moves, so
// reusing what they gave changes nothing the search reports.
class SubtreeCache {
public:
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

    // One cache line. The first entry keeps the biggest subtree that landed here,
    // the one that saves most when met again; the second takes the latest other.
    struct alignas(64) Bucket {
        std::array<Entry, 2> entries;
    };

    // The bucket a subtree's result lives in, found or to be stored.
    Bucket& bucketFor(const PackedBoard& board, int32_t remaining, int32_t bound) {
        const uint64_t hash = board.low * 0x9E37'79B9'7F4A'7C15ull ^
                              keyHigh(board, remaining) * 0xC2B2'AE3D'27D4'EB4Full ^
                              static_cast<uint64_t>(bound + 32768) * 0x1656'67B1'9E37'79F9ull;
        if (table_ == nullptr) [[unlikely]]
            allocate();
        return table_[(hash >> (64 - kIndexBits)) & mask_];
    }

    static const Entry* find(const Bucket& bucket, const PackedBoard& board, int32_t remaining,
                             int32_t bound) {
        const uint64_t high = keyHigh(board, remaining);
        for (const Entry& entry : bucket.entries) {
            if (entry.low == board.low && entry.highAndRemaining == high && entry.bound == bound)
                return &entry;
        }
        return nullptr;
    }

    static SubtreeResult resultOf(const Entry& entry) {
        return {entry.score, entry.leaves, entry.cutoffs, entry.cutoffTests, entry.deepestBelow};
    }

    // Counts beyond 32 bits are not kept: the subtree is searched again instead.
    static void store(Bucket& bucket, const PackedBoard& board, int32_t remaining, int32_t bound,
                      const SubtreeResult& result) {
        assert(result.score >= INT8_MIN && result.score <= INT8_MAX);
        assert(remaining >= 0 && remaining <= UINT8_MAX);
        constexpr uint64_t kMaxCount = std::numeric_limits<uint32_t>::max();
        if (result.leaves > kMaxCount || result.cutoffTests > kMaxCount)
            return;
        const Entry entry{board.low,
                          keyHigh(board, remaining),
                          static_cast<uint32_t>(result.leaves),
                          static_cast<uint32_t>(result.cutoffs),
                          static_cast<uint32_t>(result.cutoffTests),
                          static_cast<int16_t>(bound),
                          static_cast<int8_t>(result.score),
                          static_cast<int8_t>(result.deepestBelow)};
        Entry& biggest = bucket.entries[0];
        if (entry.leaves >= biggest.leaves) {
            bucket.entries[1] = biggest;
            biggest = entry;
        } else {
            bucket.entries[1] = entry;
        }
    }

private:
    // A megabyte: it stays in the core's own cache, where a bigger table would
    // miss more often than it saves a search.
    static constexpr int32_t kIndexBits = 14;
    static constexpr uint64_t kBuckets = uint64_t{1} << kIndexBits;

    // The high word's top byte is never used by a position.
    static uint64_t keyHigh(const PackedBoard& board, int32_t remaining) {
        return board.high | static_cast<uint64_t>(remaining) << 56;
    }

    // On first use, as many searches never reach a subtree worth keeping: zeroed
    // pages from the system, touched only where subtrees land. Should none be
    // had, one bucket serves: slower, never wrong.
    // One bucket more than used, to start on a cache line.
    void allocate() {
        owned_.reset(std::calloc(kBuckets + 1, sizeof(Bucket)));
        const auto address = reinterpret_cast<uintptr_t>(owned_.get());
        constexpr uintptr_t kLine = alignof(Bucket);
        table_ =
            owned_ ? reinterpret_cast<Bucket*>((address + kLine - 1) & ~(kLine - 1)) : &fallback_;
        mask_ = owned_ ? kBuckets - 1 : 0;
    }

    struct Free {
        void operator()(void* memory) const { std::free(memory); }
    };
    std::unique_ptr<void, Free> owned_;
    Bucket* table_ = nullptr;
    uint64_t mask_ = 0;
    Bucket fallback_{};
};

} // namespace pebbo
