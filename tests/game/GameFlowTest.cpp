#include "tests/game/GameFakes.h"

#include <random>

namespace pebbo::testing {
namespace {

class GameFlowTest : public GameTest {
protected:
    // Nothing at all happens for a moment after `from`.
    void expectQuietSince(size_t from) {
        std::this_thread::sleep_for(30ms);
        for (const std::string& text : log.texts(from))
            ADD_FAILURE() << "unexpected " << text;
    }
};

TEST_F(GameFlowTest, GamesEndWithTheRightMessageForTheUserTheComputerAndADraw) {
    settings.animate = 0;
    // A computer that draws at random among all its moves, against a random user.
    search.set(0, keyedMoves([](int32_t, int32_t) { return 0; }));
    createGame();
    std::mt19937 random(12345);
    for (int32_t round = 0; round < 400 && !(outcomes[0] && outcomes[1] && outcomes[2]); ++round) {
        game->newGame(true);
        while (!playOneTurn(
            [&](const std::vector<int32_t>& legal) { return legal[random() % legal.size()]; })) {
        }
        const size_t after = log.size();
        for (int32_t pit = 0; pit < 6; ++pit)
            game->userMove(pit);
        expectQuietSince(after); // a finished game takes no more moves
    }
    const char* const endings[] = {"You win", "Computer wins", "Draw"};
    for (int32_t ending = 0; ending < 3; ++ending)
        EXPECT_GT(outcomes[ending], 0) << endings[ending];
}

TEST_F(GameFlowTest, MovesAreRefusedWhileTheGameIsBusy) {
    settings.level = 1;
    search.set(0, keyedMoves([](int32_t move, int32_t) { return move; }));
    createGame();
    game->newGame(true);

    // While the user's move is shown, then while the computer's turn runs.
    log.pitGate.closed = true;
    size_t from = log.size();
    game->userMove(2);
    game->userMove(0);
    game->userMove(5);
    waitFor(from, "status 3");
    game->userMove(1);
    log.pitGate.closed = false;
    waitForTurnEnd(from);
    for (const std::string& text : log.texts(from))
        EXPECT_TRUE(text != "pit 0 2 4" && text != "pit 5 2 4" && text != "pit 1 2 4") << text;

    // While the computer thinks: its turn ends as the script plays (its lowest legal pit).
    settings.animate = 0;
    search.computerGate.closed = true;
    const int32_t pit = normalUserPit();
    Board expected = shownBoard();
    expected.makeMove(pit);
    from = log.size();
    game->userMove(pit);
    waitFor(from, "search 0 6 1");
    for (int32_t other = 0; other < 6; ++other)
        game->userMove(other);
    search.computerGate.closed = false;
    waitForTurnEnd(from);
    expected.sideToMove = 0;
    for (int32_t lowest = 0; expected.sideToMove == 0 && expected.gameContinues(); lowest = 0) {
        while (!expected.isLegal(lowest))
            ++lowest;
        expected.sideToMove = expected.makeMove(lowest) == MoveResult::ExtraTurn ? 0 : 1;
    }
    EXPECT_EQ(game->shownCounts(), expected.stones);

    // Pits that are not the user's or hold no stone.
    from = log.size();
    for (const int32_t other : {-1, 6, 13, 0, 1, 2, 3, 4, 5})
        if (other < 0 || other > 5 || game->shownCounts()[other] == 0)
            game->userMove(other);
    expectQuietSince(from);
}

// Whatever the Game is doing, New Game returns at once (a held pause would last
// two seconds, a held search for ever) and leaves nothing of the old game behind.
TEST_F(GameFlowTest, NewGameAtAnyMomentReturnsAtOnceAndLeavesNothingBehind) {
    settings.animateBest = 1;
    settings.showTech = 1;
    search.set(1, keyedMoves([](int32_t move, int32_t) { return move == 3 ? -1 : 0; }));
    search.set(0, keyedMoves([](int32_t move, int32_t) { return move; }));
    const struct {
        uint32_t pause; // the pause held, or none: the computer's search is held
        int32_t nth;
        const char* moment;
    } moments[] = {{0, 0, "the computer searching"},
                   {150, 1, "best move shown"},
                   {150, 2, "best move blanked"},
                   {349, 1, "a stone sown"},
                   {100, 1, "the computer waiting for the user's move to be shown"},
                   {1000, 1, "Turning From"}};
    createGame();
    for (const auto& [pause, nth, moment] : moments) {
        size_t from = log.size();
        game->newGame(false); // the computer's first turn is not searched
        waitForTurnEnd(from);
        clock.hold(pause, nth);
        search.computerGate.closed = pause == 0;
        log.pitGate.closed = pause != 0; // till the computer has chosen
        from = log.size();
        game->userMove(0);
        waitFor(from, pause == 0 ? "search 0 5 1" : "status 3");
        log.pitGate.closed = false;
        waitFor(from, pause == 0 ? "search 0 5 1" : "held");

        from = log.size();
        const auto start = std::chrono::steady_clock::now();
        game->newGame(true);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms) << moment;
        const Texts shown = log.texts(from);
        EXPECT_EQ(log.texts(from, threadSerial()).front(), "timer off") << moment;
        EXPECT_EQ(std::count(shown.begin(), shown.end(), "status 0"), 1) << moment;
        EXPECT_EQ(shown.back(), "status 0") << "the new game's Your Turn comes last";
        for (int32_t pit = 0; pit < kPitCount; ++pit) {
            const std::string prefix = "pit " + std::to_string(pit) + " ";
            std::string last = "none";
            for (const std::string& text : log.texts(0))
                last = text.rfind(prefix, 0) == 0 ? text : last;
            EXPECT_EQ(last, prefix + std::to_string(Board().stones[pit]) + " 0") << moment;
        }
        EXPECT_EQ(game->shownCounts(), Board().stones);
        expectQuietSince(log.size());
    }
}

// The turn's thread holds "Your Turn" on the screen a moment: a move made then is taken.
TEST_F(GameFlowTest, AMoveMadeAsSoonAsYourTurnShowsIsTaken) {
    settings.animate = 0;
    createGame();
    for (int32_t round = 0; round < 10; ++round) {
        log.statusGate.closed = true;
        const size_t from = log.size();
        game->newGame(false);
        waitFor(from, "status 0");
        game->userMove(0);
        log.statusGate.closed = false;
        waitForTurnEnd(waitFor(from, "pit 0 0 0"));
    }
}

} // namespace
} // namespace pebbo::testing
