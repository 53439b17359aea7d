#include "search/RootSearch.h"

#include "search/PositionSearch.h"
#include "tests/search/CountingReference.h"
#include "tests/search/ReferenceSearch.h"
#include "tests/support/BoardPositions.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace pebbo {
namespace {

using testing::keysByMove;
using testing::randomPosition;
using testing::referenceKeys;

std::vector<std::pair<int32_t, int32_t>> entries(const RootResults& results) {
    return {results.begin(), results.end()};
}

// Positions of unfinished games reached by random play, with their depth limits.
std::vector<std::pair<Board, int32_t>> randomRoots(uint32_t seed, int32_t count, int32_t maxDepth) {
    std::mt19937 random(seed);
    std::vector<std::pair<Board, int32_t>> roots;
    while (static_cast<int32_t>(roots.size()) < count) {
        const Board root = randomPosition(random, static_cast<int32_t>(random() % 30));
        Board probe = root;
        if (probe.gameContinues())
            roots.emplace_back(root, 1 + static_cast<int32_t>(random() % maxDepth));
    }
    return roots;
}

TEST(RootSearch, KeysEqualPlainMinimaxWithAndWithoutPruning) {
    Searcher searcher;
    RootResults results;
    int32_t compared = 0;
    for (const auto& [root, depthLimit] : randomRoots(2024, 200, 6)) {
        const auto expected = referenceKeys(root, depthLimit);
        if (expected.size() < 2)
            continue;
        ++compared;
        searcher.depthLimit = depthLimit;
        for (const uint8_t pruning : {uint8_t{0}, uint8_t{1}}) {
            for (const uint8_t shallow : {uint8_t{0}, uint8_t{1}}) {
                searcher.pruning = pruning;
                searcher.pruneShallow = shallow;
                searchRoot(searcher, root, results, true);
                EXPECT_EQ(keysByMove(results), expected) << "pruning " << int{pruning};
                if (!pruning) {
                    EXPECT_EQ(searcher.cutoffTests.load(), 0u);
                }
            }
        }
    }
    EXPECT_GT(compared, 150);
}

TEST(RootSearch, EveryCountEqualsTheStepByStepSearch) {
    Searcher searcher;
    RootResults results;
    int32_t compared = 0;
    int32_t variant = 0;
    for (const auto& [root, depthLimit] : randomRoots(77, 160, 7)) {
        // Every switch combination in turn, so each meets many positions.
        const bool allMoves = variant % 8 == 7;
        const bool pruning = variant % 4 != 3;
        const bool shallow = variant % 2 == 1;
        ++variant;
        testing::CountingSearch reference{depthLimit, allMoves, pruning, shallow, {}};
        const MoveList order = testing::plainOrder(root, allMoves);
        if (order.count < 2)
            continue;
        ++compared;
        std::array<uint64_t, 6> slots{};
        const int32_t rootScore = startScore(root.sideToMove);
        for (int32_t slot = 0; slot < order.count; ++slot) {
            Board child = root;
            int32_t depth = 0;
            if (child.makeMove(order.moves[slot]) != MoveResult::ExtraTurn) {
                depth = 1;
                child.sideToMove = child.sideToMove ? 0 : 1;
            }
            const uint64_t before = reference.counts.leaves;
            reference.search(child, depth, &rootScore, 0);
            slots[slot] = reference.counts.leaves - before;
        }

        searcher.depthLimit = depthLimit;
        searcher.allMoves = allMoves;
        searcher.pruning = pruning;
        searcher.pruneShallow = shallow;
        searchRoot(searcher, root, results, true, 1 + variant % 2);
        for (int32_t slot = 0; slot < 6; ++slot)
            EXPECT_EQ(searcher.leafCounts[slot].load(), slots[slot]) << variant << " " << slot;
        EXPECT_EQ(searcher.cutoffs.load(), reference.counts.cutoffs) << variant;
        EXPECT_EQ(searcher.cutoffsNearRoot.load(), reference.counts.cutoffsNearRoot) << variant;
        EXPECT_EQ(searcher.cutoffTests.load(), reference.counts.cutoffTests) << variant;
        EXPECT_EQ(searcher.deepestDepth.load(), reference.counts.deepest) << variant;
    }
    EXPECT_GT(compared, 120);
}

TEST(RootSearch, PruningSavesPositionsOnTheStartPosition) {
    Searcher searcher;
    searcher.depthLimit = 6;
    RootResults pruned;
    searchRoot(searcher, Board(), pruned, true);
    const uint64_t prunedTotal = searcher.totalPositions();
    EXPECT_GT(searcher.cutoffs.load(), 0u);
    EXPECT_EQ(searcher.cutoffsNearRoot.load(), 0u) << "depth-1 nodes are cut only when shallow";
    EXPECT_LE(searcher.cutoffs.load(), searcher.cutoffTests.load());

    searcher.pruning = 0;
    RootResults full;
    searchRoot(searcher, Board(), full, true);
    EXPECT_GT(searcher.totalPositions(), prunedTotal);
    EXPECT_EQ(entries(full), entries(pruned));
}

TEST(RootSearch, KeysAreFromTheMoversViewAndTiesKeepListOrder) {
    // Side 1 is 7 behind, but move 0 captures 8 (pit 11) and move 5 earns a move
    // before that capture: both are good for the mover, so their keys are negative.
    const Board user = position({1, 0, 1, 1, 1, 1, 0, 1, 1, 1, 1, 7, 1, 7}, 1);
    Searcher searcher;
    searcher.depthLimit = 1;
    RootResults results;
    searchRoot(searcher, user, results, true);
    EXPECT_EQ(results.begin()->second, 5);
    EXPECT_LT(results.begin()->first, 0);
    EXPECT_LT(keysByMove(results).at(5), keysByMove(results).at(0));
    EXPECT_LT(keysByMove(results).at(0), keysByMove(results).at(2));
    EXPECT_GT(keysByMove(results).at(2), 0) << "a quiet move leaves the mover behind";

    // The mirror image for side 0 gives the same keys.
    const Board computer = position({1, 1, 1, 1, 7, 1, 7, 1, 0, 1, 1, 1, 1, 0}, 0);
    RootResults mirrored;
    searchRoot(searcher, computer, mirrored, true);
    EXPECT_EQ(entries(mirrored), entries(results));

    // Equal keys appear in the order the moves were searched in.
    for (const auto& [root, depthLimit] : randomRoots(31, 100, 5)) {
        searcher.depthLimit = depthLimit;
        searchRoot(searcher, root, results, true);
        MoveList order;
        orderMoves(searcher, root, order);
        auto listIndex = [&](int32_t move) {
            return std::find(order.begin(), order.end(), move) - order.begin();
        };
        for (auto entry = results.begin(); std::next(entry) != results.end(); ++entry) {
            const auto next = std::next(entry);
            if (entry->first == next->first) {
                EXPECT_LT(listIndex(entry->second), listIndex(next->second));
            }
        }
    }
}

TEST(RootSearch, ASingleLegalMoveIsReturnedUnsearched) {
    const Board forced = position({0, 0, 0, 3, 0, 0, 5, 2, 2, 2, 2, 2, 2, 4}, 1);
    Searcher searcher;
    searcher.leafCounts[2] = 77;
    searcher.deepestDepth = 9;
    RootResults results{{4, 1}, {5, 2}};
    searchRoot(searcher, forced, results, true);
    EXPECT_EQ(entries(results), (std::vector<std::pair<int32_t, int32_t>>{{0, 3}}));
    EXPECT_EQ(searcher.totalPositions(), 0u);
    EXPECT_EQ(searcher.deepestDepth.load(), 0);
}

TEST(RootSearch, ARootMoveThatLeavesTheOpponentNoMoveKeepsItsStartScore) {
    Searcher searcher;
    searcher.depthLimit = 3;
    RootResults results;
    // Side 0's capture takes side 1's last stones: a certain win, key -9999.
    const Board takingAll = position({0, 0, 0, 0, 3, 0, 10, 1, 0, 0, 0, 0, 3, 7}, 0);
    searchRoot(searcher, takingAll, results, true);
    EXPECT_EQ(keysByMove(results).at(0), -kUnscored);
    EXPECT_EQ(results.begin()->second, 0);
}

TEST(RootSearch, LeafCountsBelongToTheRootMoveSlots) {
    const Board root = position({0, 3, 2, 0, 4, 1, 2, 2, 0, 3, 2, 2, 1, 2}, 1);
    Searcher searcher;
    searcher.depthLimit = 7;
    RootResults results;
    searchRoot(searcher, root, results, true);
    MoveList order;
    orderMoves(searcher, root, order);
    ASSERT_EQ(order.count, 4);

    // Each slot holds what a lone search of that root move counts.
    uint64_t sum = 0;
    for (int32_t slot = 0; slot < 6; ++slot) {
        const uint64_t counted = searcher.leafCounts[slot].load();
        sum += counted;
        if (slot >= order.count) {
            EXPECT_EQ(counted, 0u) << slot;
            continue;
        }
        Board rootBoard = root;
        SearchNode rootRecord{nullptr, &rootBoard, 0, startScore(root.sideToMove)};
        Board childBoard;
        SearchNode child{nullptr, &childBoard, 0, 0};
        expandChild(rootRecord, order.moves[slot], child);
        Searcher alone;
        alone.depthLimit = searcher.depthLimit;
        searchNode(alone, SearchJob{&child, &alone.leafCounts[0]});
        EXPECT_EQ(counted, alone.totalPositions()) << slot;
        EXPECT_GT(counted, 0u);
    }
    EXPECT_EQ(searcher.totalPositions(), sum);
}

TEST(RootSearch, ALaterStepSearchesInThePreviousOrderAndKeepsCounting) {
    const Board root = position({2, 3, 0, 1, 4, 2, 1, 1, 2, 3, 0, 2, 2, 1}, 0);
    Searcher searcher;
    searcher.depthLimit = 4;
    RootResults results;
    searchRoot(searcher, root, results, true);
    std::vector<uint64_t> first;
    for (const auto& count : searcher.leafCounts)
        first.push_back(count.load());

    // Slot i of the first step held the i-th root move of orderMoves; slot i of the
    // second holds the i-th entry of the first step's results.
    MoveList firstOrder;
    orderMoves(searcher, root, firstOrder);
    std::vector<int32_t> secondOrder;
    for (const auto& [key, move] : results)
        secondOrder.push_back(move);
    ASSERT_NE(std::vector<int32_t>(firstOrder.begin(), firstOrder.end()), secondOrder)
        << "the position must reorder its moves for this test to mean anything";
    const auto firstKeys = keysByMove(results);
    searchRoot(searcher, root, results, false);
    EXPECT_EQ(keysByMove(results), firstKeys);
    for (size_t slot = 0; slot < secondOrder.size(); ++slot) {
        const auto earlier = std::find(firstOrder.begin(), firstOrder.end(), secondOrder[slot]);
        const uint64_t countOfMove = first[earlier - firstOrder.begin()];
        EXPECT_EQ(searcher.leafCounts[slot].load(), first[slot] + countOfMove) << slot;
    }

    // A stale map is cleaned: foreign, duplicate and out-of-range moves are dropped.
    RootResults stale{{0, 9}, {1, secondOrder[1]}, {2, secondOrder[1]}, {3, -1}};
    searchRoot(searcher, root, stale, false);
    EXPECT_EQ(entries(stale), (std::vector<std::pair<int32_t, int32_t>>{{0, secondOrder[1]}}));
    RootResults none;
    searchRoot(searcher, root, none, false);
    EXPECT_TRUE(none.empty());
}

TEST(RootSearch, AnotherThreadCanStopTheSearch) {
    Searcher searcher;
    searcher.depthLimit = 40;
    RootResults results;
    std::thread search([&] { searchRoot(searcher, Board(), results, true); });
    while (searcher.totalPositions() == 0)
        std::this_thread::yield();
    searcher.running = 0;
    search.join();
    EXPECT_EQ(results.size(), 6u) << "one entry per root move, searched or not";

    // A search started while stopped searches nothing.
    searchRoot(searcher, Board(), results, true);
    EXPECT_EQ(searcher.totalPositions(), 0u);
    EXPECT_EQ(results.size(), 6u);
}

TEST(RootSearch, TheSamePositionAlwaysGivesTheSameCounts) {
    const Board root = position({3, 1, 2, 0, 2, 3, 1, 2, 2, 1, 3, 0, 2, 2}, 1);
    Searcher searcher;
    searcher.depthLimit = 8;
    RootResults first;
    searchRoot(searcher, root, first, true);
    const uint64_t total = searcher.totalPositions();
    const int32_t deepest = searcher.deepestDepth.load();
    const uint64_t cutoffs = searcher.cutoffs.load();
    const uint64_t nearRoot = searcher.cutoffsNearRoot.load();
    const uint64_t tests = searcher.cutoffTests.load();
    for (int run = 0; run < 30; ++run) {
        RootResults again;
        searchRoot(searcher, root, again, true, 1 + run % 2);
        ASSERT_EQ(entries(again), entries(first)) << run;
        ASSERT_EQ(searcher.totalPositions(), total) << run;
        ASSERT_EQ(searcher.deepestDepth.load(), deepest) << run;
        ASSERT_EQ(searcher.cutoffs.load(), cutoffs) << run;
        ASSERT_EQ(searcher.cutoffsNearRoot.load(), nearRoot) << run;
        ASSERT_EQ(searcher.cutoffTests.load(), tests) << run;
    }
}

} // namespace
} // namespace pebbo
