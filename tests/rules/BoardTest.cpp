#include "rules/Board.h"
#include "tests/support/BoardPositions.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

namespace pebbo {
namespace {

int32_t stoneCount(const Board& board) {
    return std::accumulate(board.stones.begin(), board.stones.end(), 0);
}

TEST(BoardStart, HasTwoStonesPerPitEmptyStoresAndUserToMove) {
    Board board;
    for (int pit = 0; pit < kPitCount; ++pit)
        EXPECT_EQ(board.stones[pit], pit == kUserStore || pit == kComputerStore ? 0 : 2) << pit;
    EXPECT_EQ(board.sideToMove, 1);
    EXPECT_TRUE(board.extraTurnRule);
    EXPECT_TRUE(board.captureRule);
}

TEST(BoardStart, ResetRestoresThePositionButNotTheRuleSwitches) {
    Board board;
    board.makeMove(2);
    board.sideToMove = 0;
    board.extraTurnRule = 0;
    board.reset();
    EXPECT_EQ(board.stones, Board().stones);
    EXPECT_EQ(board.sideToMove, 1);
    EXPECT_EQ(board.extraTurnRule, 0);
    EXPECT_EQ(board.captureRule, 1);

    Board copy;
    copy.captureRule = 0;
    copy.copyFrom(position({0, 0, 0, 0, 0, 1, 10, 1, 0, 0, 0, 0, 0, 12}, 0));
    EXPECT_EQ(copy.stones[13], 12);
    EXPECT_EQ(copy.sideToMove, 0);
    EXPECT_EQ(copy.captureRule, 0) << "the destination keeps its own rules";
}

TEST(BoardSowing, TablesCycleThroughTheMoversThirteenPositions) {
    const SowingOrder& user = Board::sowingOrder(1);
    const SowingOrder& computer = Board::sowingOrder(0);
    for (int entry = 0; entry < kSowingOrderLength; ++entry) {
        EXPECT_EQ(user[entry], entry % 13) << entry;
        EXPECT_EQ(computer[entry], (entry % 13 + 7) % 14) << entry;
        EXPECT_NE(user[entry], kComputerStore);
        EXPECT_NE(computer[entry], kUserStore);
    }
    EXPECT_EQ(&Board::sowingOrder(2), &user) << "any non-zero side is side 1";
}

TEST(BoardSowing, StartPositionMoves) {
    Board board;
    EXPECT_EQ(board.makeMove(4), MoveResult::ExtraTurn);
    EXPECT_EQ(board.stones,
              (std::array<int32_t, kPitCount>{2, 2, 2, 2, 0, 3, 1, 2, 2, 2, 2, 2, 2, 0}));
    EXPECT_EQ(board.sideToMove, 1) << "makeMove never passes the turn";

    board.reset();
    EXPECT_EQ(board.makeMove(5), MoveResult::Normal);
    EXPECT_EQ(board.stones[5], 0);
    EXPECT_EQ(board.stones[kUserStore], 1);
    EXPECT_EQ(board.stones[7], 3);

    for (int32_t move = 0; move < 4; ++move) {
        board.reset();
        EXPECT_EQ(board.makeMove(move), MoveResult::Normal) << move;
        EXPECT_EQ(board.stones[kUserStore] + board.stones[kComputerStore], 0) << move;
        EXPECT_EQ(board.stones[move + 1], 3);
        EXPECT_EQ(board.stones[move + 2], 3);
    }

    board.reset();
    board.sideToMove = 0;
    EXPECT_EQ(board.makeMove(4), MoveResult::ExtraTurn);
    EXPECT_EQ(board.stones[kComputerStore], 1);
    EXPECT_EQ(board.stones[12], 3);
}

TEST(BoardSowing, ThirteenStonesLapOnceAndCaptureFromTheEmptiedStartPit) {
    // Side 1: pit 2 holds 13; the lap skips store 13 and ends in pit 2 again.
    Board user = position({0, 0, 13, 0, 0, 0, 0, 0, 1, 0, 2, 0, 0, 8}, 1);
    EXPECT_EQ(user.makeMove(2), MoveResult::Capture);
    EXPECT_EQ(user.stones[2], 0);
    EXPECT_EQ(user.stones[10], 0) << "the opposite pit had 2 and got 1 during the lap";
    EXPECT_EQ(user.stones[kUserStore], 1 + 3 + 1);
    EXPECT_EQ(user.stones[kComputerStore], 8);
    EXPECT_EQ(stoneCount(user), kStoneTotal);

    // Side 0: pit 7 + 1 = 8 holds 13; the lap skips store 6.
    Board computer = position({0, 0, 0, 0, 4, 0, 6, 0, 13, 0, 0, 0, 0, 1}, 0);
    EXPECT_EQ(computer.makeMove(1), MoveResult::Capture);
    EXPECT_EQ(computer.stones[kUserStore], 6);
    EXPECT_EQ(computer.stones[kComputerStore], 1 + 1 + 5 + 1);
    EXPECT_EQ(computer.stones[8], 0);
    EXPECT_EQ(computer.stones[4], 0);
    EXPECT_EQ(stoneCount(computer), kStoneTotal);
}

TEST(BoardSowing, CaptureNeedsAnEmptyOwnPitAndAStockedOppositePit) {
    // Move 0 (1 stone) lands in empty pit 1 facing pit 11 (3 stones): capture.
    Board capture = position({1, 0, 0, 0, 2, 3, 0, 2, 2, 2, 2, 3, 2, 5}, 1);
    EXPECT_EQ(capture.makeMove(0), MoveResult::Capture);
    EXPECT_EQ(capture.stones[kUserStore], 4);
    EXPECT_EQ(capture.stones[1], 0);
    EXPECT_EQ(capture.stones[11], 0);

    // The same move into a pit that already held a stone.
    Board occupied = position({1, 1, 0, 0, 2, 2, 0, 2, 2, 2, 2, 3, 2, 5}, 1);
    EXPECT_EQ(occupied.makeMove(0), MoveResult::Normal);
    EXPECT_EQ(occupied.stones[1], 2);
    EXPECT_EQ(occupied.stones[11], 3);

    // Empty own pit, empty opposite pit: the stone stays where it fell.
    Board bare = position({1, 0, 0, 0, 2, 3, 3, 2, 2, 2, 2, 0, 2, 5}, 1);
    EXPECT_EQ(bare.makeMove(0), MoveResult::Normal);
    EXPECT_EQ(bare.stones[1], 1);
    EXPECT_EQ(bare.stones[kUserStore], 3);

    // Last stone in an empty pit of the opponent's row (pit 7, facing a stocked pit 5).
    Board across = position({0, 0, 0, 0, 3, 3, 3, 0, 2, 2, 2, 2, 2, 5}, 1);
    EXPECT_EQ(across.makeMove(4), MoveResult::Normal);
    EXPECT_EQ(across.stones[7], 1);
    EXPECT_EQ(across.stones[kUserStore], 4);

    // Side 0 captures too: move 3 (pit 10, 1 stone) lands in empty pit 11 facing pit 1.
    Board computer = position({2, 4, 2, 2, 2, 2, 0, 0, 0, 0, 1, 0, 2, 7}, 0);
    EXPECT_EQ(computer.makeMove(3), MoveResult::Capture);
    EXPECT_EQ(computer.stones[kComputerStore], 12);
    EXPECT_EQ(computer.stones[1], 0);
    EXPECT_EQ(stoneCount(computer), kStoneTotal);
}

TEST(BoardSowing, RuleSwitchesTurnOffExtraTurnsAndCaptures) {
    Board noExtra;
    noExtra.extraTurnRule = 0;
    EXPECT_EQ(noExtra.makeMove(4), MoveResult::Normal);
    EXPECT_EQ(noExtra.stones[kUserStore], 1);

    Board noCapture = position({1, 0, 0, 0, 2, 3, 0, 2, 2, 2, 2, 3, 2, 5}, 1);
    noCapture.captureRule = 0;
    EXPECT_EQ(noCapture.makeMove(0), MoveResult::Normal);
    EXPECT_EQ(noCapture.stones[1], 1);
    EXPECT_EQ(noCapture.stones[11], 3);
}

TEST(BoardLegality, OnlyOwnStockedPitsInRange) {
    Board board = position({0, 1, 1, 1, 1, 1, 0, 0, 2, 2, 2, 2, 2, 8}, 1);
    EXPECT_FALSE(board.isLegal(-1));
    EXPECT_FALSE(board.isLegal(6));
    EXPECT_FALSE(board.isLegal(0));
    EXPECT_TRUE(board.isLegal(1));
    board.sideToMove = 0;
    EXPECT_FALSE(board.isLegal(0)) << "pit 7 is empty";
    EXPECT_TRUE(board.isLegal(1));
}

TEST(BoardEnd, AnEmptyRowBanksTheOtherRowInItsOwnersStore) {
    Board userEmpty = position({0, 0, 0, 0, 0, 0, 10, 1, 2, 0, 0, 3, 0, 8}, 0);
    EXPECT_FALSE(userEmpty.gameContinues());
    EXPECT_EQ(userEmpty.stones[kComputerStore], 14);
    EXPECT_EQ(userEmpty.stones[kUserStore], 10);
    for (int pit = 7; pit < 13; ++pit)
        EXPECT_EQ(userEmpty.stones[pit], 0);

    Board computerEmpty = position({1, 0, 4, 0, 0, 2, 9, 0, 0, 0, 0, 0, 0, 8}, 1);
    EXPECT_FALSE(computerEmpty.gameContinues());
    EXPECT_EQ(computerEmpty.stones[kUserStore], 16);
    EXPECT_EQ(computerEmpty.stones[kComputerStore], 8);
    EXPECT_EQ(computerEmpty.storeDifference(), 8);

    Board bothEmpty = position({0, 0, 0, 0, 0, 0, 12, 0, 0, 0, 0, 0, 0, 12}, 1);
    EXPECT_FALSE(bothEmpty.gameContinues());
    EXPECT_EQ(bothEmpty.stones[kUserStore], 12);
    EXPECT_EQ(bothEmpty.stones[kComputerStore], 12);

    Board running = position({1, 0, 0, 0, 0, 0, 11, 0, 0, 0, 0, 0, 1, 11}, 1);
    const Board before = running;
    EXPECT_TRUE(running.gameContinues());
    EXPECT_EQ(running.stones, before.stones);
    EXPECT_FALSE(running.sweepIfEmpty(0));
    EXPECT_EQ(running.stones, before.stones);
}

TEST(BoardRandomGames, StonesAreConservedAndNeverNegative) {
    std::mt19937 random(7);
    int32_t extraTurns = 0;
    int32_t captures = 0;
    for (int game = 0; game < 3000; ++game) {
        Board board;
        while (board.gameContinues()) {
            int32_t move = 0;
            do {
                move = static_cast<int32_t>(random() % 6);
            } while (!board.isLegal(move));
            const int32_t opponentStore = board.sideToMove ? kComputerStore : kUserStore;
            const int32_t untouched = board.stones[opponentStore];
            const MoveResult result = board.makeMove(move);
            extraTurns += result == MoveResult::ExtraTurn;
            captures += result == MoveResult::Capture;
            ASSERT_EQ(board.stones[opponentStore], untouched) << "sowed into the opponent's store";
            ASSERT_EQ(stoneCount(board), kStoneTotal);
            for (int32_t count : board.stones)
                ASSERT_GE(count, 0);
            if (result != MoveResult::ExtraTurn)
                board.sideToMove = board.sideToMove ? 0 : 1;
        }
        ASSERT_EQ(stoneCount(board), kStoneTotal);
        ASSERT_EQ(board.stones[kUserStore] + board.stones[kComputerStore], kStoneTotal)
            << "a finished game has every stone banked";
    }
    EXPECT_GT(extraTurns, 1000);
    EXPECT_GT(captures, 1000);
}

} // namespace
} // namespace pebbo
