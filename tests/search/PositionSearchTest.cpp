#include "search/PositionSearch.h"

#include "search/PackedBoard.h"
#include "tests/search/ReferenceSearch.h"
#include "tests/support/BoardPositions.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace pebbo {
namespace {

std::vector<int32_t> ordered(const Board& board, uint8_t allMoves = 0) {
    Searcher searcher;
    searcher.allMoves = allMoves;
    MoveList moves;
    orderMoves(searcher, board, moves);
    return {moves.begin(), moves.end()};
}

TEST(MoveOrdering, StartPositionForBothSides) {
    Board board;
    EXPECT_EQ(ordered(board), (std::vector<int32_t>{4, 5, 0, 1, 2, 3}));
    board.sideToMove = 0;
    EXPECT_EQ(ordered(board), (std::vector<int32_t>{4, 0, 1, 2, 3, 5}))
        << "side 0 plays the normal move that fills its store last";
}

TEST(MoveOrdering, CapturesThenExtraTurnsThenNormalMoves) {
    // Moves 0 and 2 capture 3 each, 3 and 5 end in the store.
    const Board equalGains = position({1, 0, 2, 3, 0, 1, 3, 1, 3, 1, 1, 3, 1, 4}, 1);
    EXPECT_EQ(ordered(equalGains), (std::vector<int32_t>{0, 2, 5, 3}))
        << "equal captures lowest index first; extra turns nearest the store first";

    // The larger capture (move 2 takes 5) goes first.
    const Board unequalGains = position({1, 0, 2, 3, 0, 1, 3, 1, 5, 1, 1, 1, 1, 4}, 1);
    EXPECT_EQ(ordered(unequalGains), (std::vector<int32_t>{2, 0, 5, 3}));

    // Mirrored for side 0: pits 7..12 play the part of 0..5.
    const Board computer = position({1, 3, 1, 1, 3, 1, 4, 1, 0, 2, 3, 0, 1, 3}, 0);
    EXPECT_EQ(ordered(computer), (std::vector<int32_t>{0, 2, 5, 3}));

    // The capture (move 2) before the normal moves of lower index.
    const Board mixed = position({1, 1, 1, 0, 0, 0, 3, 2, 2, 2, 2, 2, 2, 6}, 1);
    EXPECT_EQ(ordered(mixed), (std::vector<int32_t>{2, 0, 1}));

    const Board stuck = position({0, 0, 0, 0, 0, 0, 12, 2, 2, 2, 2, 2, 2, 0}, 1);
    EXPECT_TRUE(ordered(stuck).empty());
    EXPECT_EQ(ordered(stuck, 1), (std::vector<int32_t>{0, 1, 2, 3, 4, 5}))
        << "allMoves offers every index, empty pits as normal moves";
}

TEST(MoveOrdering, NormalMovesByGainTowardsTheMover) {
    // Side 1: move 4 passes the store (gain 1) and goes before move 0 (gain 0).
    const Board user = position({1, 0, 0, 0, 3, 0, 6, 2, 0, 0, 0, 0, 0, 12}, 1);
    EXPECT_EQ(ordered(user), (std::vector<int32_t>{4, 0}));
    // Side 0 plays the move that feeds its store (move 0) after the one that does not.
    const Board computer = position({0, 0, 0, 0, 0, 2, 6, 7, 1, 0, 0, 0, 0, 8}, 0);
    EXPECT_EQ(ordered(computer), (std::vector<int32_t>{1, 0}));
}

TEST(ExpandChild, PassesTheTurnUnlessTheMoveEarnedAnother) {
    Board rootBoard;
    SearchNode root{nullptr, &rootBoard, 3, 42};
    Board childBoard;
    SearchNode child{nullptr, &childBoard, 0, 0};

    EXPECT_EQ(expandChild(root, 4, child), MoveResult::ExtraTurn);
    EXPECT_EQ(child.parent, &root);
    EXPECT_EQ(child.depth, 3);
    EXPECT_EQ(childBoard.sideToMove, 1);
    EXPECT_EQ(child.score, -kUnscored);
    EXPECT_EQ(childBoard.stones[kUserStore], 1);

    EXPECT_EQ(expandChild(root, 0, child), MoveResult::Normal);
    EXPECT_EQ(child.depth, 4);
    EXPECT_EQ(childBoard.sideToMove, 0);
    EXPECT_EQ(child.score, kUnscored);
    EXPECT_EQ(childBoard.stones[kUserStore], 0) << "the child starts from the parent's position";
    EXPECT_EQ(rootBoard.stones, Board().stones) << "the parent is left alone";
}

struct NodeOutcome {
    int32_t score;
    uint64_t leaves;
    int32_t deepest;
};

// Searches one node without a parent, so nothing at its own level is cut off.
NodeOutcome searchAlone(const Board& board, int32_t depth, int32_t depthLimit) {
    Searcher searcher;
    searcher.depthLimit = depthLimit;
    Board scratch = board;
    SearchNode node{nullptr, &scratch, depth, startScore(board.sideToMove)};
    searchNode(searcher, SearchJob{&node, &searcher.leafCounts[0]});
    return {node.score, searcher.totalPositions(), searcher.deepestDepth.load()};
}

TEST(SearchNode, ExtraTurnsAtTheHorizonArePlayedOutNormalMovesAreLeaves) {
    // Move 5 reaches the store; move 0 is a normal move. At depth 1 with limit 1,
    // move 0 is a leaf (4 - 3), while move 5 is searched on: its own move 0 is a
    // leaf worth 5 - 3.
    const Board board = position({1, 0, 0, 0, 0, 1, 4, 3, 3, 3, 3, 0, 3, 3}, 1);
    const NodeOutcome limitOne = searchAlone(board, 1, 1);
    EXPECT_EQ(limitOne.score, 2);
    EXPECT_EQ(limitOne.leaves, 2u);
    EXPECT_EQ(limitOne.deepest, 2);

    // One more turn of depth lets side 0 answer both lines.
    const NodeOutcome limitThree = searchAlone(board, 1, 3);
    EXPECT_GT(limitThree.leaves, limitOne.leaves);
    EXPECT_EQ(limitThree.deepest, 3);
    EXPECT_EQ(limitThree.score, testing::referenceScore(board, 1, 3));
}

TEST(SearchNode, AFinishedChildIsALeafScoredAfterTheSweep) {
    // Side 1's only move empties its row with an extra turn: the game is over even
    // though eight turns remain, and side 0's 9 pit stones go to store 13.
    const Board board = position({0, 0, 0, 0, 0, 1, 10, 3, 0, 2, 0, 4, 0, 4}, 1);
    const NodeOutcome outcome = searchAlone(board, 1, 8);
    EXPECT_EQ(outcome.leaves, 1u);
    EXPECT_EQ(outcome.score, 11 - 13);
    EXPECT_EQ(outcome.deepest, 1);
}

TEST(SearchNode, NoLegalMoveKeepsTheStartScore) {
    const Board stuck = position({0, 0, 0, 0, 0, 0, 12, 2, 2, 2, 2, 2, 2, 0}, 1);
    const NodeOutcome outcome = searchAlone(stuck, 1, 4);
    EXPECT_EQ(outcome.score, -kUnscored);
    EXPECT_EQ(outcome.leaves, 0u);
}

struct CutOutcome {
    uint64_t tests;
    uint64_t cutoffs;
    uint64_t nearRoot;
};

// Side 0 to move from the start position, below a side-1 parent that already has 5:
// any first reply holds side 1 to 5 or less.
CutOutcome searchBelow(int32_t parentDepth, int32_t depth, uint8_t pruneShallow) {
    Board parentBoard;
    SearchNode parent{nullptr, &parentBoard, parentDepth, 5};
    Board board;
    board.sideToMove = 0;
    SearchNode node{&parent, &board, depth, kUnscored};
    Searcher searcher;
    searcher.depthLimit = depth + 1;
    searcher.pruneShallow = pruneShallow;
    searchNode(searcher, SearchJob{&node, &searcher.leafCounts[0]});
    EXPECT_LE(node.score, 5);
    return {searcher.cutoffTests.load(), searcher.cutoffs.load(), searcher.cutoffsNearRoot.load()};
}

TEST(SearchNode, ACutOffNeedsATurnChangeAndDepthAboveOne) {
    const CutOutcome deep = searchBelow(1, 2, 0);
    EXPECT_EQ(deep.tests, 1u) << "the first reply ends the node";
    EXPECT_EQ(deep.cutoffs, 1u);
    EXPECT_EQ(deep.nearRoot, 0u);

    const CutOutcome sameTurn = searchBelow(2, 2, 0);
    EXPECT_EQ(sameTurn.tests, 0u) << "a node reached by an extra turn is never cut off";

    const CutOutcome shallow = searchBelow(0, 1, 0);
    EXPECT_EQ(shallow.tests, 0u);
    const CutOutcome shallowAllowed = searchBelow(0, 1, 1);
    EXPECT_EQ(shallowAllowed.cutoffs, 1u);
    EXPECT_EQ(shallowAllowed.nearRoot, 1u);
}

TEST(PackedBoard, PlaysEveryRandomGameExactlyLikeTheBoard) {
    std::mt19937 random(99);
    for (int game = 0; game < 2000; ++game) {
        Board board;
        PackedBoard packed = PackedBoard::from(board);
        for (;;) {
            const bool goesOn = board.gameContinues();
            ASSERT_EQ(packed.gameContinues(), goesOn);
            for (int32_t pit = 0; pit < kPitCount; ++pit)
                ASSERT_EQ(packed.at(pit), board.stones[pit]) << pit;
            if (!goesOn)
                break;
            ASSERT_EQ(packed.sideToMove(), board.sideToMove);
            ASSERT_EQ(packed.storeDifference(), board.storeDifference());
            int32_t move = 0;
            do {
                move = static_cast<int32_t>(random() % 6);
            } while (!board.isLegal(move));
            const MoveResult result = board.makeMove(move);
            ASSERT_EQ(packed.makeMove(move), result);
            if (result != MoveResult::ExtraTurn) {
                board.sideToMove = board.sideToMove ? 0 : 1;
                packed.passTurn();
            }
        }
    }
}

} // namespace
} // namespace pebbo
