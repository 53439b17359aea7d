#pragma once

#include "search/PackedBoard.h"

#include <array>
#include <atomic>
#include <cassert>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <mutex>

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

// The bound a subtree that is never cut off is kept under.
inline constexpr int32_t kNoBound = std::numeric_limits<int16_t>::max();
// Turns left are kept in one byte; longer searches keep their biggest subtrees
// out of the cache.
inline constexpr int32_t kMaxCachedRemaining = std::numeric_limits<uint8_t>::max();

// Results of subtrees already searched in one search. A subtree's score and
// counts depend only on its position, its turns left and, when it may be cut
// off, its bound; positions recur through different orders of moves, so reusing
// what they gave changes nothing the search reports.
//
// `Shared`: several workers read and write it without a lock, a word at a time.
// An entry's first word is its position's low word mixed with its other words,
// so an entry torn by two writers no longer matches any position: only a miss.
template <bool Shared> class SubtreeCache {
public:
    // One cache line. The first entry keeps the biggest subtree that landed here,
    // the one that saves most when met again; the second takes the latest other.
    class alignas(64) Bucket {
    public:
        bool find(const PackedBoard& board, int32_t remaining, int32_t bound,
                  SubtreeResult& result) const {
            const uint64_t high = keyHigh(board, remaining);
            for (const Words& entry : entries_) {
                const Words words = load(entry);
                if (words[1] == high && (words[0] ^ words[2] ^ words[3]) == board.low &&
                    static_cast<int16_t>(words[3] >> 32) == bound) {
                    result = SubtreeResult{
                        static_cast<int8_t>(words[3] >> 48), words[2] & 0xFFFF'FFFF, words[2] >> 32,
                        words[3] & 0xFFFF'FFFF, static_cast<int8_t>(words[3] >> 56)};
                    return true;
                }
            }
            return false;
        }

        // Counts beyond 32 bits are not kept: the subtree is searched again instead.
        void store(const PackedBoard& board, int32_t remaining, int32_t bound,
                   const SubtreeResult& result) {
            assert(result.score >= INT8_MIN && result.score <= INT8_MAX);
            assert(remaining >= 0 && remaining <= UINT8_MAX);
            constexpr uint64_t kMaxCount = std::numeric_limits<uint32_t>::max();
            if (result.leaves > kMaxCount || result.cutoffTests > kMaxCount)
                return;
            const uint64_t counts = result.leaves | result.cutoffs << 32;
            const uint64_t rest = result.cutoffTests |
                                  uint64_t{static_cast<uint16_t>(bound)} << 32 |
                                  uint64_t{static_cast<uint8_t>(result.score)} << 48 |
                                  uint64_t{static_cast<uint8_t>(result.deepestBelow)} << 56;
            const Words words{board.low ^ counts ^ rest, keyHigh(board, remaining), counts, rest};
            const Words biggest = load(entries_[0]);
            if (result.leaves >= (biggest[2] & 0xFFFF'FFFF)) {
                save(entries_[1], biggest);
                save(entries_[0], words);
            } else {
                save(entries_[1], words);
            }
        }

    private:
        // [0] the position's low word mixed with [2] and [3]; [1] its high word
        // and turns left; [2] leaves and cut-offs; [3] cut-off tests, bound,
        // score and turns below. Plain words, so that zeroed memory is a table
        // of empty entries.
        using Words = std::array<uint64_t, 4>;

        static Words load(const Words& entry) {
            if constexpr (!Shared)
                return entry;
            Words words;
            for (size_t index = 0; index < words.size(); ++index)
                words[index] = std::atomic_ref<uint64_t>(const_cast<uint64_t&>(entry[index]))
                                   .load(std::memory_order_relaxed);
            return words;
        }
        static void save(Words& entry, const Words& words) {
            if constexpr (!Shared) {
                entry = words;
                return;
            }
            for (size_t index = 0; index < words.size(); ++index)
                std::atomic_ref<uint64_t>(entry[index])
                    .store(words[index], std::memory_order_relaxed);
        }

        std::array<Words, 2> entries_;
    };

    // A subtree's key mixed into one word, never zero; the same in every cache.
    static uint64_t hash(const PackedBoard& board, int32_t remaining, int32_t bound) {
        return (board.low * 0x9E37'79B9'7F4A'7C15ull ^
                keyHigh(board, remaining) * 0xC2B2'AE3D'27D4'EB4Full ^
                static_cast<uint64_t>(bound + 32768) * 0x1656'67B1'9E37'79F9ull) |
               1;
    }

    // The bucket the result of the subtree of `hash` lives in, found or to be stored.
    Bucket& bucketFor(uint64_t hash) {
        Bucket* table = table_.load(std::memory_order_acquire);
        if (table == nullptr) [[unlikely]]
            table = allocate();
        return table[(hash >> (64 - kIndexBits)) & mask_];
    }

private:
    // A worker's own table is a megabyte: it stays in the core's own cache, where
    // a bigger table would miss more often than it saves a search. The shared one
    // holds only the few biggest subtrees.
    static constexpr int32_t kIndexBits = Shared ? 11 : 14;
    static constexpr uint64_t kBuckets = uint64_t{1} << kIndexBits;

    // The high word's top byte is never used by a position.
    static uint64_t keyHigh(const PackedBoard& board, int32_t remaining) {
        return board.high | static_cast<uint64_t>(remaining) << 56;
    }

    // On first use, as many searches never reach a subtree worth keeping. Zeroed
    // pages from the system, each written at once: a page first read and then
    // written faults twice, and the second fault interrupts every other core of
    // the search. Should no table be had, one bucket serves: slower, never wrong.
    Bucket* allocate() {
        std::call_once(allocated_, [this] {
            owned_.reset(std::calloc(kBuckets + 1, sizeof(Bucket)));
            if (!owned_) {
                table_.store(&fallback_, std::memory_order_release);
                return;
            }
            const auto address = reinterpret_cast<uintptr_t>(owned_.get());
            constexpr uintptr_t kLine = alignof(Bucket);
            auto* table = reinterpret_cast<Bucket*>((address + kLine - 1) & ~(kLine - 1));
            // Volatile, as a zero stored over zeroed memory may otherwise be left out.
            // The table need not start a page, so its last bucket may open one more.
            constexpr uint64_t kBucketsPerPage = 4096 / sizeof(Bucket);
            for (uint64_t index = 0; index < kBuckets; index += kBucketsPerPage)
                *reinterpret_cast<volatile uint64_t*>(&table[index]) = 0;
            *reinterpret_cast<volatile uint64_t*>(&table[kBuckets - 1]) = 0;
            mask_ = kBuckets - 1;
            table_.store(table, std::memory_order_release);
        });
        return table_.load(std::memory_order_acquire);
    }

    struct Free {
        void operator()(void* memory) const { std::free(memory); }
    };
    std::unique_ptr<void, Free> owned_;
    std::atomic<Bucket*> table_{nullptr};
    uint64_t mask_ = 0; // written before table_ is published
    std::once_flag allocated_;
    Bucket fallback_{};
};

} // namespace pebbo
