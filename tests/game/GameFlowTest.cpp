#include "tests/game/GameFakes.h"

namespace pebbo::testing {
namespace {

class GameFlowTest : public GameFixture {
protected:
    GameFlowTest() {
        settings.animate = 0;
        settings.animateBest = 0;
        settings.showTech = 0;
        settings.level = 0;
    }

    // Nothing at all happens for a moment after `from`.
    void expectQuietSince(size_t from) {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        for (const Event& event : log.since(from))
            ADD_FAILURE() << "unexpected " << event.text;
    }
};

TEST_F(GameFlowTest, GamesEndWithTheRightMessageForTheUserTheComputerAndADraw) {
    // A computer that draws at random among all its moves, against a random user.
    search.setScript(0, keyedMoves([](int32_t, int32_t) { return 0; }));
    createGame();
    std::mt19937 random(12345);
    for (int32_t game_ = 0; game_ < 400 && !(outcomes[0] && outcomes[1] && outcomes[2]); ++game_) {
        game->newGame(true);
        while (!playOneTurn(
            [&](const std::vector<int32_t>& legal) { return legal[random() % legal.size()]; })) {
        }
        // A finished game takes no more moves.
        const size_t after = log.size();
        for (int32_t pit = 0; pit < 6; ++pit)
            game->userMove(pit);
        expectQuietSince(after);
    }
    EXPECT_GT(outcomes[0], 0) << "the user won some";
    EXPECT_GT(outcomes[1], 0) << "the computer won some";
    EXPECT_GT(outcomes[2], 0) << "some were drawn";
}

TEST_F(GameFlowTest, MovesAreRefusedWhileTheGameIsBusy) {
    settings.animate = 1;
    settings.level = 1;
    search.setScript(0, keyedMoves([](int32_t move, int32_t) { return move; }));
    createGame();
    game->newGame(true);

    // While the user's move is being shown.
    controller.pitGate.close();
    size_t from = log.size();
    game->userMove(2);
    game->userMove(0);
    game->userMove(5);
    const size_t willTurn = waitFor(from, "status 3"); // the computer has chosen meanwhile
    game->userMove(1);                                 // while the computer's turn runs
    controller.pitGate.open();
    waitForTurnEnd(willTurn);
    for (const Event& event : log.since(from)) {
        EXPECT_NE(event.text, "pit 0 2 4");
        EXPECT_NE(event.text, "pit 5 2 4");
        EXPECT_NE(event.text, "pit 1 2 4");
    }

    // While the computer thinks: the search starts from the user's one move,
    // and the turn ends exactly as the script plays it (its lowest legal pit).
    settings.animate = 0;
    search.clear();
    search.computerGate.close();
    const int32_t pit = normalUserPit();
    Board expected;
    expected.stones = game->shownCounts();
    expected.makeMove(pit);
    from = log.size();
    play(pit);
    const size_t thinking = waitFor(from, "search side=0 depth=6 fresh=1");
    for (int32_t other = 0; other < 6; ++other)
        game->userMove(other);
    search.computerGate.open();
    waitForTurnEnd(thinking);
    ASSERT_FALSE(search.calls(0).empty());
    EXPECT_EQ(search.calls(0).front().root.stones, expected.stones);
    expected.sideToMove = 0;
    for (MoveResult result = MoveResult::ExtraTurn; result == MoveResult::ExtraTurn;) {
        int32_t lowest = 0;
        while (!expected.isLegal(lowest))
            ++lowest;
        result = expected.makeMove(lowest);
    }
    EXPECT_EQ(game->shownCounts(), expected.stones);

    // Pits that are not the user's or hold no stone.
    from = log.size();
    game->userMove(-1);
    game->userMove(6);
    game->userMove(13);
    const auto shown = game->shownCounts();
    for (int32_t empty = 0; empty < 6; ++empty)
        if (shown[empty] == 0)
            game->userMove(empty);
    expectQuietSince(from);
}

TEST_F(GameFlowTest, NewGameDuringASearchStopsTheTurnAndLeavesNothingBehind) {
    settings.level = 2;
    settings.showTech = 1;
    createGame();
    size_t from = log.size();
    game->newGame(false);
    waitForTurnEnd(from);
    search.computerGate.close(); // the search runs until it is stopped
    from = log.size();
    play(normalUserPit());
    waitFor(from, "search side=0 depth=7 fresh=1");

    from = log.size();
    game->newGame(true);
    const size_t returned = log.size();
    Texts texts;
    for (const Event& event : log.since(from))
        texts.push_back(event.text);
    EXPECT_EQ(texts.front(), "timer off");
    EXPECT_EQ(texts.back(), "status 0") << "the new game's Your Turn comes last";
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "status 0"), 1)
        << "the stopped turn hands over nothing";
    EXPECT_EQ(game->shownCounts(), Board().stones);
    expectQuietSince(returned);

    // The new game plays on normally.
    search.computerGate.open();
    from = log.size();
    play(normalUserPit());
    waitForTurnEnd(from);
}

TEST_F(GameFlowTest, DestructionStopsEveryThreadOfTheGame) {
    settings.animate = 1;
    settings.animateBest = 1;
    createGame();
    EXPECT_EQ(log.since(0).front().text, "load");

    // During the animation of the computer's first move.
    size_t from = log.size();
    game->newGame(false);
    waitFor(from, "sleep 349");
    destroyGame();
    expectQuietSince(log.size());

    // During a search, with the user's move still being shown.
    createGame();
    from = log.size();
    game->newGame(false);
    waitForTurnEnd(from);
    search.computerGate.close();
    from = log.size();
    play(normalUserPit());
    waitFor(from, "search side=0 depth=5 fresh=1");
    destroyGame();
    expectQuietSince(log.size());
    for (const Event& event : log.since(from))
        EXPECT_NE(event.text, "status 0");
}

} // namespace
} // namespace pebbo::testing
