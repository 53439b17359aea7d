#include "search/RootSearch.h"

#include "tests/search/ReferenceSearch.h"

#include <gtest/gtest.h>

namespace pebbo {
namespace {

using testing::keysByMove;
using testing::randomPosition;
using testing::referenceKeys;

TEST(RootSearch, KeysEqualPlainMinimaxOnRandomPositions) {
    std::mt19937 random(2024);
    Searcher searcher;
    RootResults results;
    int32_t searched = 0;
    while (searched < 150) {
        Board root = randomPosition(random, static_cast<int32_t>(random() % 30));
        Board probe = root;
        if (!probe.gameContinues())
            continue;
        searcher.depthLimit = 1 + static_cast<int32_t>(random() % 5);
        searchRoot(searcher, root, results, true);
        const auto expected = referenceKeys(root, searcher.depthLimit);
        if (expected.size() > 1) {
            EXPECT_EQ(keysByMove(results), expected) << "position " << searched;
        } else {
            EXPECT_EQ(results, (RootResults{{0, expected.begin()->first}}));
        }
        ++searched;
    }
}

} // namespace
} // namespace pebbo
