#include "rules/Board.h"
#include "tests/support/BoardPositions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace pebbo {
namespace {

using Stones = std::array<int32_t, kPitCount>;

struct MoveCase {
    const char* name;
    Stones before;
    uint8_t side;
    int32_t move;
    MoveResult result;
    Stones after; // once an emptied row is banked
    uint8_t extraTurnRule = 1;
    uint8_t captureRule = 1;
    bool continues = true;
};

TEST(BoardMove, SowsReportsTheResultAndBanksAnEmptiedRow) {
    using enum MoveResult;
    const Stones start = Board().stones;
    const Stones capture = {1, 0, 0, 0, 2, 3, 0, 2, 2, 2, 2, 3, 2, 5};
    // clang-format off
    const MoveCase cases[] = {
        {"into the store", start, 1, 4, ExtraTurn, {2, 2, 2, 2, 0, 3, 1, 2, 2, 2, 2, 2, 2, 0}},
        {"side 0, store", start, 0, 4, ExtraTurn, {2, 2, 2, 2, 2, 2, 0, 2, 2, 2, 2, 0, 3, 1}},
        {"extra turn off", start, 1, 4, Normal, {2, 2, 2, 2, 0, 3, 1, 2, 2, 2, 2, 2, 2, 0}, 0},
        {"capture", capture, 1, 0, Capture, {0, 0, 0, 0, 2, 3, 4, 2, 2, 2, 2, 0, 2, 5}},
        {"capture off", capture, 1, 0, Normal, {0, 1, 0, 0, 2, 3, 0, 2, 2, 2, 2, 3, 2, 5}, 1, 0},
        {"into an occupied pit", {1, 1, 0, 0, 2, 2, 0, 2, 2, 2, 2, 3, 2, 5}, 1, 0, Normal,
         {0, 2, 0, 0, 2, 2, 0, 2, 2, 2, 2, 3, 2, 5}},
        {"facing an empty pit", {1, 0, 0, 0, 2, 3, 3, 2, 2, 2, 2, 0, 2, 5}, 1, 0, Normal,
         {0, 1, 0, 0, 2, 3, 3, 2, 2, 2, 2, 0, 2, 5}},
        {"into the opponent's row", {0, 0, 0, 0, 3, 3, 3, 0, 2, 2, 2, 2, 2, 5}, 1, 4, Normal,
         {0, 0, 0, 0, 0, 4, 4, 1, 2, 2, 2, 2, 2, 5}},
        {"side 0 captures", {2, 4, 2, 2, 2, 2, 0, 0, 0, 0, 1, 0, 2, 7}, 0, 3, Capture,
         {2, 0, 2, 2, 2, 2, 0, 0, 0, 0, 0, 0, 2, 12}},
        {"the mover's row empties", {0, 0, 0, 0, 0, 1, 10, 3, 0, 2, 0, 4, 0, 4}, 1, 5, ExtraTurn,
         {0, 0, 0, 0, 0, 0, 11, 0, 0, 0, 0, 0, 0, 13}, 1, 1, false},
        {"a capture empties the other row", {0, 0, 0, 0, 3, 0, 10, 1, 0, 0, 0, 0, 3, 7}, 0, 0,
         Capture, {0, 0, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0, 0, 14}, 1, 1, false},
    };
    // clang-format on
    for (const MoveCase& entry : cases) {
        Board board = position(entry.before, entry.side);
        board.extraTurnRule = entry.extraTurnRule;
        board.captureRule = entry.captureRule;
        EXPECT_EQ(board.makeMove(entry.move), entry.result) << entry.name;
        EXPECT_EQ(board.gameContinues(), entry.continues) << entry.name;
        EXPECT_EQ(board.stones, entry.after) << entry.name;
        EXPECT_EQ(board.sideToMove, entry.side) << entry.name << ": the turn stays";
    }
}

TEST(BoardRandomGames, StonesAreConservedAndEveryFinishedGameIsBanked) {
    std::mt19937 random(7);
    int32_t results[3] = {};
    for (int game = 0; game < 3000; ++game) {
        Board board;
        while (board.gameContinues()) {
            const int32_t opponentStore = board.sideToMove ? kComputerStore : kUserStore;
            const int32_t untouched = board.stones[opponentStore];
            ++results[static_cast<int32_t>(play(board, randomLegalMove(random, board)))];
            ASSERT_EQ(board.stones[opponentStore], untouched) << "sowed into the opponent's store";
            ASSERT_EQ(std::accumulate(board.stones.begin(), board.stones.end(), 0), kStoneTotal);
            ASSERT_GE(*std::min_element(board.stones.begin(), board.stones.end()), 0);
        }
        ASSERT_EQ(board.stones[kUserStore] + board.stones[kComputerStore], kStoneTotal);
    }
    EXPECT_GT(std::min({results[0], results[1], results[2]}), 1000) << "every result occurs";
}

} // namespace
} // namespace pebbo
