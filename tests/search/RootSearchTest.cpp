#include "search/RootSearch.h"

#include "search/MoveList.h"
#include "search/SearchNode.h"
#include "tests/support/BoardPositions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <thread>
#include <tuple>

namespace pebbo {
namespace {

// The move order written out plainly: captures by gain, largest first; extra turns nearest the
// store first; normal moves by gain towards the mover; ties lowest index first.
MoveList plainOrder(const Board& board, bool allMoves) {
    std::array<std::tuple<int32_t, int32_t, int32_t>, 6> ranked; // (result, rank, move)
    int32_t count = 0;
    for (int32_t move = 0; move < 6; ++move) {
        if (!allMoves && !board.isLegal(move))
            continue;
        Board child = board;
        const MoveResult result = child.makeMove(move);
        const int32_t gain = std::abs(child.storeDifference() - board.storeDifference());
        const int32_t rank = result == MoveResult::Capture     ? -gain
                             : result == MoveResult::ExtraTurn ? -move
                             : board.sideToMove                ? -gain
                                                               : gain;
        const std::tuple entry{static_cast<int32_t>(result), rank, move};
        int32_t slot = count++;
        for (; slot > 0 && ranked[slot - 1] > entry; --slot)
            ranked[slot] = ranked[slot - 1];
        ranked[slot] = entry;
    }
    MoveList moves;
    for (int32_t i = 0; i < count; ++i)
        moves.append(std::get<2>(ranked[i]));
    return moves;
}

auto outcome(const Searcher& searcher, const RootResults& results) {
    std::array<uint64_t, 6> leaves;
    for (size_t slot = 0; slot < leaves.size(); ++slot)
        leaves[slot] = searcher.leafCounts[slot].load();
    return std::tuple(results, leaves, searcher.cutoffs.load(), searcher.cutoffsNearRoot.load(),
                      searcher.cutoffTests.load(), searcher.deepestDepth.load());
}

// The root search step by step on the public rules, in one thread, with the parent's score as
// the only bound: what every result and count of the real search must equal. Without pruning it
// is plain minimax over whole turns. Takes its switches from `record` and counts into it.
struct ReferenceSearch {
    Searcher& record;
    int32_t slot = 0;

    void root(const Board& root, const MoveList& moves, RootResults& results) {
        results.clear();
        if (moves.count == 1)
            results.emplace(0, moves.moves[0]);
        for (slot = 0; slot < moves.count && moves.count > 1; ++slot) {
            Board child = root;
            const int32_t depth = play(child, moves.moves[slot]) == MoveResult::ExtraTurn ? 0 : 1;
            const int32_t score = search(child, depth, startScore(root.sideToMove), 0);
            results.emplace(root.sideToMove ? -score : score, moves.moves[slot]);
        }
    }
    int32_t search(const Board& board, int32_t depth, int32_t parentScore, int32_t parentDepth) {
        int32_t score = startScore(board.sideToMove);
        const bool mayCut =
            record.pruning && (depth > 1 || record.pruneShallow) && depth != parentDepth;
        for (const int32_t move : plainOrder(board, record.allMoves != 0)) {
            Board child = board;
            const bool extraTurn = play(child, move) == MoveResult::ExtraTurn;
            const int32_t childDepth = extraTurn ? depth : depth + 1;
            record.deepestDepth = std::max(record.deepestDepth.load(), childDepth);
            int32_t childScore;
            if (child.gameContinues() && (childDepth < record.depthLimit || extraTurn)) {
                childScore = search(child, childDepth, score, depth);
            } else {
                ++record.leafCounts[slot];
                childScore = child.storeDifference();
            }
            score = board.sideToMove ? std::max(score, childScore) : std::min(score, childScore);
            if (mayCut) {
                ++record.cutoffTests;
                if (board.sideToMove ? score >= parentScore : score <= parentScore) {
                    ++record.cutoffs;
                    record.cutoffsNearRoot += depth == 1;
                    break;
                }
            }
        }
        return score;
    }
};

// A position of an unfinished game reached by random play from the start.
Board randomRoot(std::mt19937& random) {
    for (;;) {
        Board board;
        const int32_t plies = static_cast<int32_t>(random() % 30);
        for (int32_t ply = 0; ply < plies && board.gameContinues(); ++ply)
            play(board, randomLegalMove(random, board));
        if (Board probe = board; probe.gameContinues())
            return board;
    }
}

// The switches of case `index`: every combination in turn, so each meets many positions.
void configure(Searcher& searcher, int32_t index, bool pruning) {
    searcher.depthLimit = 1 + index % 7;
    searcher.allMoves = index % 8 == 7;
    searcher.pruneShallow = index % 2 == 1;
    searcher.pruning = pruning;
}

TEST(RootSearch, EveryResultAndCountEqualsTheStepByStepSearch) {
    std::mt19937 random(2024);
    Searcher searcher;
    RootResults results;
    RootResults unpruned;
    int32_t forcedRoots = 0;
    int32_t certainWins = 0;
    // Searches afresh, or as a later deepening step that takes the root moves in
    // the order of the last results and counts on in the same slots.
    auto compare = [&](const Board& root, int32_t index, bool pruning, bool fresh,
                       std::initializer_list<int32_t> workerCounts) {
        Searcher expected;
        configure(expected, index, pruning);
        MoveList order = plainOrder(root, expected.allMoves != 0);
        if (!fresh) {
            order.clear();
            for (const auto& [key, move] : results)
                order.append(move);
            for (size_t slot = 0; slot < expected.leafCounts.size(); ++slot)
                expected.leafCounts[slot] = searcher.leafCounts[slot].load();
        }
        RootResults expectedResults;
        ReferenceSearch{expected}.root(root, order, expectedResults);
        configure(searcher, index, pruning);
        for (const int32_t workers : workerCounts) {
            searchRoot(searcher, root, results, fresh, workers);
            EXPECT_EQ(outcome(searcher, results), outcome(expected, expectedResults))
                << index << (fresh ? " afresh" : " again") << " with " << workers << " workers";
        }
        forcedRoots += order.count == 1;
        certainWins += results.begin()->first == -kUnscored;
    };
    for (int32_t index = 0; index < 300 && !HasFailure(); ++index) {
        const Board root = randomRoot(random);
        // Plain minimax soon costs seconds; the pruned comparisons go deeper.
        const bool deep = 1 + index % 7 > 5;
        if (!deep) {
            compare(root, index, false, true, {1 + index % 2});
            unpruned = results;
        }
        compare(root, index, true, true, {1, 2});
        if (!deep) {
            EXPECT_EQ(results, unpruned) << index << ": pruning changed a result";
        }
        compare(root, index, true, false, {1 + index % 2});
    }
    // The sample reaches the rarer paths too.
    EXPECT_GT(forcedRoots, 0);
    EXPECT_GT(certainWins, 0);
}

TEST(RootSearch, ALaterStepDropsMovesThatAreNotPlayable) {
    // Side 0 to move; move 3 (pit 10) is empty.
    const Board root = position({2, 3, 0, 1, 4, 2, 1, 1, 2, 3, 0, 2, 2, 1}, 0);
    Searcher searcher;
    RootResults stale{{0, 9}, {1, 4}, {2, 4}, {3, -1}, {4, 3}};
    searchRoot(searcher, root, stale, false);
    EXPECT_EQ(stale, (RootResults{{0, 4}})) << "one playable move left: returned unsearched";
    RootResults none;
    searchRoot(searcher, root, none, false);
    EXPECT_TRUE(none.empty());
}

TEST(RootSearch, WorkersWhoShareWorkGiveTheSameResultsAndCountsAsOneWorker) {
    const std::tuple<Board, int32_t, std::atomic<uint64_t> Searcher::*, const char*> cases[] = {
        // Two root moves, and pit 2's capture ends the game at once: whatever the
        // timing, the second worker can help only by sharing the children of pit
        // 5's millions of positions, searching them against bounds not yet final.
        {position({0, 0, 1, 0, 0, 16, 0, 0, 0, 7, 0, 0, 0, 0}, 1), 12, &Searcher::sharedChildren,
         "no child was searched by another worker than its node's"},
        // The first two root moves meet a move later in a subtree of 700,000
        // positions, which the first is still searching when the second gets there.
        {position({2, 2, 2, 0, 1, 4, 1, 2, 2, 2, 2, 2, 2, 0}, 0), 11, &Searcher::awaitedSubtrees,
         "no worker waited for a subtree the other was searching"},
    };
    for (const auto& [root, depth, sharing, missing] : cases) {
        Searcher searcher;
        searcher.depthLimit = depth;
        RootResults results;
        searchRoot(searcher, root, results, true, 1);
        const auto first = outcome(searcher, results);
        EXPECT_EQ((searcher.*sharing).load(), 0u);
        uint64_t shared = 0;
        for (int run = 0; run < 4; ++run) {
            searchRoot(searcher, root, results, true, 2 - run % 2);
            ASSERT_EQ(outcome(searcher, results), first) << run;
            shared += (searcher.*sharing).load();
        }
        EXPECT_GT(shared, 0u) << missing;
    }
}

TEST(RootSearch, AnotherThreadStopsTheSearchPromptly) {
    // Forty turns from the start would outlast any test run: only the stop ends it.
    Searcher searcher;
    searcher.depthLimit = 40;
    RootResults results;
    std::thread search([&] { searchRoot(searcher, Board(), results, true); });
    while (searcher.totalPositions() == 0)
        std::this_thread::yield();
    searcher.running = 0;
    const uint64_t atStop = searcher.totalPositions();
    search.join();
    // Cut off shared children may still be taken back, so the count can also fall.
    EXPECT_LT(searcher.totalPositions(), atStop + 1'000'000u)
        << "positions evaluated after the stop, beyond the last published batch";
    EXPECT_EQ(results.size(), 6u) << "one entry per root move, searched or not";

    searchRoot(searcher, Board(), results, true);
    EXPECT_EQ(searcher.totalPositions(), 0u) << "a search started while stopped searches nothing";
}

} // namespace
} // namespace pebbo
