#include "tests/game/GameFakes.h"

namespace pebbo::testing {
namespace {

using Counts = std::array<int32_t, kPitCount>;

std::string analysed(const Counts& counts) {
    std::string text = "analysed";
    for (const int32_t count : counts)
        text += ' ' + std::to_string(count);
    return text;
}

// Each take back returns to the position the user last moved from (after an extra turn, the one
// between the two moves), shown at rest with "Your Turn", and analyses it; down to the first move,
// from where the computer's turn is random again. A game finished after take backs counts once.
TEST_F(GameTest, TakeBackReturnsToEachPositionTheUserMovedFromDownToTheFirst) {
    settings.animate = 1;
    settings.animateBest = 1;
    settings.level = 2;
    fake.scripts[0] = keyedMoves([](int32_t move, int32_t) { return move; });
    const Script best = keyedMoves([](int32_t move, int32_t) { return -move; });
    fake.scripts[1] = [&](Searcher& searcher, const Board& root, RootResults& results) {
        fake.add(analysed(root.stones));
        best(searcher, root, results);
    };
    createGame();
    std::mt19937 random(99);
    std::vector<Counts> movedFrom;
    for (bool over = true; over;) { // a game that lasts six user moves
        game->newGame(true);
        movedFrom = {game->shownCounts()};
        const size_t from = fake.size();
        game->userMove(4); // its last stone into the store: the user moves again
        waitFor(from, text("pit", kUserStore, 1, kRestColor));
        over = false;
        while (!over && movedFrom.size() < 6) {
            movedFrom.push_back(game->shownCounts());
            over = playOneTurn(random);
        }
    }
    for (auto position = movedFrom.rbegin(); position != movedFrom.rend(); ++position) {
        const size_t from = fake.size();
        ASSERT_TRUE(game->canTakeBack());
        ASSERT_TRUE(game->takeBack());
        EXPECT_EQ(game->shownCounts(), *position);
        const Texts shown = fake.texts(from); // the analysis follows
        EXPECT_EQ(Texts(shown.begin(), shown.begin() + std::min<size_t>(shown.size(), 15)),
                  restingBoard(*position));
        waitFor(from, analysed(*position));
    }
    EXPECT_FALSE(game->canTakeBack());
    EXPECT_FALSE(game->takeBack());
    size_t from = fake.size();
    game->userMove(0);
    waitFor(from, kTurnEnd);
    EXPECT_EQ(count(fake.texts(from), "search 0.*"), 0) << "the first turn is random again";

    for (int32_t turn = 0; !playOneTurn(random); ++turn)
        EXPECT_TRUE(turn % 3 != 2 || game->takeBack());
    const Counts final = game->shownCounts();
    const int32_t margin = final[kUserStore] - final[kComputerStore];
    EXPECT_EQ(record.at(2), (LevelResults{margin > 0, margin < 0, margin == 0, margin}));
    EXPECT_FALSE(game->takeBack()) << "the game is over";
}

// Nothing is taken back before the user's first move, nor hinted while a move is shown or the
// computer thinks (take backs while the Game is busy are refused in the New Game test).
TEST_F(GameTest, TakeBackWaitsForTheUsersFirstMoveAndHintForTheUsersTurn) {
    fake.scripts[0] = keyedMoves([](int32_t move, int32_t) { return move; });
    createGame();
    startAfterFirstTurn();
    EXPECT_FALSE(game->takeBack()) << "the computer moved first";
    // Move 4 ends in the store: shown, then the user's again; after move 0 the computer thinks.
    const std::tuple<std::atomic<bool>*, int32_t, std::string> busy[] = {
        {&fake.holdPits, 4, text("pit", kUserStore, 1, kRestColor)},
        {&fake.holdComputer, 0, kTurnEnd}};
    for (const auto& [hold, pit, end] : busy) {
        *hold = true;
        const size_t from = fake.size();
        game->userMove(pit);
        game->hint();
        *hold = false;
        waitFor(from, end);
    }
    EXPECT_EQ(count(fake.texts(0), "statusPit .*"), 0);
}

} // namespace
} // namespace pebbo::testing
