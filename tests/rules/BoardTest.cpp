#include "rules/Board.h"

#include <gtest/gtest.h>

namespace pebbo {
namespace {

TEST(BoardStart, HasTwoStonesPerPitEmptyStoresAndUserToMove) {
    Board board;
    for (int pit = 0; pit < kPitCount; ++pit)
        EXPECT_EQ(board.stones[pit], pit == kUserStore || pit == kComputerStore ? 0 : 2) << pit;
    EXPECT_EQ(board.sideToMove, 1);
    EXPECT_TRUE(board.extraTurnRule);
    EXPECT_TRUE(board.captureRule);
}

} // namespace
} // namespace pebbo
