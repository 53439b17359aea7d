#include "search/ExactSolver.h"

#include "tests/support/BoardPositions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace pebbo {
namespace {

// `stones` scattered over the twelve pits, the rest split between the stores at random.
Board randomPosition(std::mt19937& random, int32_t stones) {
    Board board;
    board.stones.fill(0);
    for (int32_t stone = 0; stone < stones; ++stone) {
        const auto pit = static_cast<int32_t>(random() % 12);
        ++board.stones[pit < 6 ? pit : pit + 1];
    }
    board.stones[kUserStore] = static_cast<int32_t>(random() % (kStoneTotal - stones + 1));
    board.stones[kComputerStore] = kStoneTotal - stones - board.stones[kUserStore];
    board.sideToMove = static_cast<uint8_t>(random() % 2);
    return board;
}

// What every solution must satisfy, finished or not.
void expectConsistent(const Board& board, const Solution& solution) {
    Board swept = board;
    const bool finished = !swept.gameContinues();
    EXPECT_EQ(solution.gameOver, finished);
    std::vector<int32_t> legal, listed;
    int32_t best = -kStoneTotal;
    for (int32_t move = 0; move < 6 && !finished; ++move)
        if (board.isLegal(move))
            legal.push_back(move);
    for (int32_t index = 0; index < solution.moveCount; ++index) {
        listed.push_back(solution.moves[index].move);
        EXPECT_EQ(solution.moves[index].value % 2, 0);
        best = std::max(best, solution.moves[index].value);
    }
    EXPECT_EQ(listed, legal);
    const int32_t margin = board.sideToMove ? swept.storeDifference() : -swept.storeDifference();
    EXPECT_EQ(solution.value, finished ? margin : best);
}

TEST(ExactSolver, EveryValueEqualsPlainMinimaxWithAnyTableSize) {
    std::mt19937 random(7);
    ExactSolver solver(1 << 20);
    ExactSolver tiny(1024); // collisions on almost every store
    int32_t extraTurns = 0, captures = 0, finished = 0;
    for (int32_t index = 0; index < 800; ++index) {
        const Board board = randomPosition(random, 4 + index % 4);
        const Solution solution = *solver.solve(board);
        expectConsistent(board, solution);
        finished += solution.gameOver;
        for (int32_t entry = 0; entry < solution.moveCount; ++entry) {
            const int32_t move = solution.moves[entry].move;
            Board child = board;
            const MoveResult result = play(child, move);
            extraTurns += result == MoveResult::ExtraTurn;
            captures += result == MoveResult::Capture;
            EXPECT_EQ(solution.moves[entry].value, minimaxAfter(board, move))
                << ::testing::PrintToString(board.stones);
        }
        const Solution again = *tiny.solve(board);
        EXPECT_TRUE(again.value == solution.value && again.moves == solution.moves);
    }
    EXPECT_GT(extraTurns, 200);
    EXPECT_GT(captures, 200);
    EXPECT_GT(finished, 30);
}

TEST(ExactSolver, LargePositionsAreConsistentRepeatableAndAgreeAcrossTableSizes) {
    std::mt19937 random(11);
    ExactSolver solver;
    ExactSolver small(64 << 10);
    std::vector<Board> boards = {Board(), position(Board().stones, 0)};
    for (int32_t index = 0; index < 6; ++index)
        boards.push_back(randomPosition(random, 14 + index));
    for (const Board& board : boards) {
        const Solution solution = *solver.solve(board);
        expectConsistent(board, solution);
        EXPECT_TRUE(*solver.solve(board) == solution);
        const Solution other = *small.solve(board);
        EXPECT_TRUE(other.value == solution.value && other.moves == solution.moves);
    }
}

// The table's generations wrap around after 65535 solves: the second solve of the start takes
// the first one's generation, and nothing the first one stored may count then.
TEST(ExactSolver, TheSameSolutionAfterTheTableGenerationsWrapAround) {
    ExactSolver solver(64 << 10);
    const Solution first = *solver.solve(Board());
    const Board oneMoveToTheEnd = position({0, 0, 0, 0, 0, 1, 22, 0, 0, 0, 0, 0, 1, 0}, 1);
    for (int32_t solves = 0; solves < 65534; ++solves)
        EXPECT_EQ(solver.solve(oneMoveToTheEnd)->nodes, 1u);
    EXPECT_TRUE(*solver.solve(Board()) == first);
}

TEST(ExactSolver, AStopThatAnswersYesAtOnceGivesNoSolution) {
    ExactSolver solver;
    int32_t asked = 0;
    EXPECT_FALSE(solver.solve(Board(), [&] { return ++asked > 0; }));
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(solver.solve(Board(), [] { return false; }));
}

} // namespace
} // namespace pebbo
