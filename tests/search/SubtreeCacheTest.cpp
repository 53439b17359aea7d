#include "search/SubtreeCache.h"

#include "search/SearchNode.h"
#include "tests/support/BoardPositions.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

namespace pebbo {
namespace {

auto fields(const SubtreeResult& result) {
    return std::tuple(result.score, result.leaves, result.cutoffs, result.cutoffTests,
                      result.deepestBelow);
}

// Every field at the edges of its range comes back as stored, in either kind of
// cache; counts too big to keep are not stored at all.
template <bool Shared> void expectExactRoundTrips() {
    constexpr uint64_t kMaxKept = 0xFFFF'FFFF;
    struct Case {
        int32_t remaining;
        int32_t bound;
        SubtreeResult result;
        bool kept;
    };
    const Case cases[] = {
        {1, -kUnscored, {-24, 1, 0, 1, 0}, true},
        {2, kUnscored, {24, kMaxKept, kMaxKept, kMaxKept, 1}, true},
        {255, kNoBound, {-1, 12'345, 678, 9'012, 40}, true},
        {40, -48, {0, 0, 0, 0, 127}, true},
        {3, 0, {7, kMaxKept + 1, 0, 1, 0}, false},
        {4, 0, {7, 1, 0, kMaxKept + 1, 0}, false},
    };
    const auto cache = std::make_unique<SubtreeCache<Shared>>();
    const PackedBoard board =
        PackedBoard::from(position({0, 3, 0, 1, 4, 2, 9, 1, 0, 3, 0, 0, 0, 1}, 0));
    for (const Case& entry : cases) {
        auto& bucket =
            cache->bucketFor(SubtreeCache<Shared>::hash(board, entry.remaining, entry.bound));
        bucket.store(board, entry.remaining, entry.bound, entry.result);
        SubtreeResult found{};
        ASSERT_EQ(bucket.find(board, entry.remaining, entry.bound, found), entry.kept)
            << entry.remaining;
        if (entry.kept) {
            EXPECT_EQ(fields(found), fields(entry.result)) << entry.remaining;
        }
    }
}

TEST(SubtreeCache, ResultsComeBackExactlyAtTheEdgesOfEveryField) {
    expectExactRoundTrips<false>();
    expectExactRoundTrips<true>();
}

} // namespace
} // namespace pebbo
