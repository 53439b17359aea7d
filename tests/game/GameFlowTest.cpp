#include "tests/game/GameFakes.h"

#include <random>

namespace pebbo::testing {
namespace {

using GameFlowTest = GameTest;

// The turns of the first games are made the moment "Your Turn" shows, while the
// turn's thread still holds it on the screen: each of them is taken.
TEST_F(GameFlowTest, GamesEndWithTheRightMessageForTheUserTheComputerAndADraw) {
    settings.animate = 0;
    fake.scripts[0] = keyedMoves([](int32_t, int32_t) { return 0; }); // a random computer
    createGame();
    std::mt19937 random(12345);
    const auto randomPit = [&](const std::vector<int32_t>& legal) {
        return legal[random() % legal.size()];
    };
    for (int32_t round = 0; round < 400 && !(outcomes[0] && outcomes[1] && outcomes[2]); ++round) {
        fake.holdStatus = round < 3;
        game->newGame(true);
        while (!playOneTurn(randomPit)) {
        }
        const size_t after = fake.size();
        for (int32_t pit = 0; pit < 6; ++pit)
            game->userMove(pit);
        expectQuietSince(after); // a finished game takes no more moves
    }
    EXPECT_TRUE(outcomes[0] && outcomes[1] && outcomes[2]) << "You, Computer, Draw";
}

// Whatever the Game is doing, no move is taken; New Game returns at once (a
// held pause would last two seconds, a held search for ever), repaints every
// pit at rest with its start count and shows "Your Turn", and nothing of the
// old game comes after.
TEST_F(GameFlowTest, NewGameAtAnyMomentReturnsAtOnceAndLeavesNothingBehind) {
    settings.animateBest = settings.showTech = 1;
    fake.scripts[1] = keyedMoves([](int32_t move, int32_t) { return move == 3 ? -1 : 0; });
    fake.scripts[0] = keyedMoves([](int32_t move, int32_t) { return move; });
    // The pause held, or none: the computer's search is held.
    const std::tuple<uint32_t, int32_t, const char*> moments[] = {
        {0, 0, "the computer searching"},
        {150, 1, "best move shown"},
        {150, 2, "best move blanked"},
        {349, 1, "a stone sown"},
        {100, 1, "the computer waiting for the user's move to be shown"},
        {1000, 1, "Turning From: no animation runs"}};
    Texts newGame;
    for (int32_t pit = 0; pit < kPitCount; ++pit)
        newGame.push_back(text("pit", pit, Board().stones[pit], kRestColor));
    newGame.push_back("status 0");
    createGame();
    for (const auto& [pause, nth, moment] : moments) {
        startAfterFirstTurn();
        fake.heldLeft = nth;
        fake.held = pause;
        fake.holdComputer = pause == 0;
        fake.holdPits = pause != 0; // till the computer has chosen
        size_t from = fake.size();
        game->userMove(0);
        waitFor(from, pause == 0 ? "search 0 5 1" : "status 3");
        fake.holdPits = false;
        const size_t held = waitFor(from, pause == 0 ? "search 0 5 1" : "held");
        EXPECT_EQ(fake.threadAt(held).size(), 1u) << "held in real time: " << moment;
        if (pause == 1000) {
            for (int32_t pit = 1; pit < 6; ++pit)
                game->userMove(pit);
            expectQuietSince(held + 1);
        }

        from = fake.size();
        const auto start = std::chrono::steady_clock::now();
        game->newGame(true);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms) << moment;
        const Texts shown = fake.texts(from);
        EXPECT_EQ(std::count(shown.begin(), shown.end(), "timer off"), 1) << moment;
        EXPECT_TRUE(endsWith(shown, newGame)) << moment;
        EXPECT_EQ(count(shown, "status.*"), 1) << moment;
        EXPECT_EQ(game->shownCounts(), Board().stones);
        from = fake.size();
        for (const int32_t pit : {-1, 6, 13})
            game->userMove(pit); // not the user's
        expectQuietSince(from);
    }
}

} // namespace
} // namespace pebbo::testing
