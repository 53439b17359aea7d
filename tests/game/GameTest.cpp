#include "game/StatisticsText.h"
#include "tests/game/GameFakes.h"

#include <set>

namespace pebbo::testing {
namespace {

// Without animation each pit's final count shows at once; no move is taken while one is shown.
TEST_F(GameTest, UserMovesAreShownStepByStep) {
    settings.animateBest = 1;
    fake.scripts[1] =
        keyedMoves([](int32_t move, int32_t) { return move == 2 || move == 3 ? -1 : 0; });
    createGame();
    const auto start = Board().stones;
    Board afterFour;
    afterFour.makeMove(4);
    const std::tuple<bool, uint8_t, int32_t, Texts> moves[] = {
        // Not a best move, so those blink first. One stone into pit 5, the last
        // into the store: the user moves again.
        {true, 1, 4,
         blink({2, 3}, start, 7) + Texts{"pit 2 2 0", "pit 3 2 0"} + blink({4}, start, 4) +
             Texts{"pit 4 0 0", "pit 5 3 4", "sound Pop", "sleep 349", "pit 5 3 0"} +
             blink({6}, afterFour.stones, 5, {"sound Hero"}) + Texts{"pit 6 1 0"}},
        // A best move: its last stone lands in empty pit 4 and takes pit 8's two.
        {false, 1, 2,
         blink({2}, afterFour.stones, 4) +
             Texts{"pit 2 0 0", "pit 3 3 4", "sound Pop", "sleep 349", "pit 3 3 0", "pit 4 1 4",
                   "sound Pop", "sleep 349", "pit 4 1 0", "pit 4 0 0"} +
             blink({8}, afterFour.stones, 6, {"sound Submarine"}) +
             Texts{"pit 8 0 0", "pit 6 4 4", "sleep 300", "pit 6 4 0"}},
        {true, 0, 2, {"pit 2 0 0", "pit 3 3 0", "pit 4 3 0"}},
    };
    for (const auto& [newGame, animate, pit, steps] : moves) {
        settings.animate = animate;
        if (newGame)
            game->newGame(true);
        const size_t from = fake.size();
        fake.holdPits = true;
        game->userMove(pit);
        for (int32_t other = 0; other < 6; ++other)
            game->userMove(other);
        fake.holdPits = false;
        waitFor(from, steps.back());
        EXPECT_EQ(fake.threadAt(waitFor(from, steps.front())), steps) << "pit " << pit;
    }
}

TEST_F(GameTest, EachLevelSearchesAtItsDepthAndMasterDeepensUntilAStopRuleHolds) {
    createGame();
    const auto steady = keyedMoves([](int32_t move, int32_t) { return -move; });
    const auto wavering =
        keyedMoves([](int32_t move, int32_t depth) { return depth % 2 ? move : -move; });
    const std::tuple<int32_t, uint64_t, Script, int32_t, int32_t, uint8_t, const char*> rows[] = {
        {0, 0, steady, 5, 5, 1, "Low"},
        {1, 0, steady, 6, 6, 0, "Medium"},
        {2, 0, steady, 7, 7, 1, "Hard"},
        {-4, 0, steady, 5, 5, 1, "below Low"},
        {1000, 2500, steady, 8, 8, 1, "above Master: as Master"},
        {3, 1000, wavering, 8, 8, 1, "an iteration of 1.0 s is the last"},
        {3, 999, wavering, 8, 47, 0, "at most 40 iterations, however the best move wavers"},
        {3, 0, steady, 8, 11, 1, "three agreeing iterations after the first"},
        {3, 0, keyedMoves([](int32_t move, int32_t) { return move >= 4 ? -1 : 0; }), 8, 11, 0,
         "equal best moves agree in any order"},
        {3, 0,
         [&](Searcher& searcher, const Board& root, RootResults& results) {
             steady(searcher, root, results);
             searcher.deepestDepth -= searcher.depthLimit == 9;
         },
         8, 9, 0, "no line reached the depth asked for"},
        {3, 0,
         [&](Searcher& searcher, const Board& root, RootResults& results) {
             steady(searcher, root, results);
             results.erase(std::next(results.begin()), results.end());
         },
         8, 8, 0, "a single move"}};
    for (const auto& [level, milliseconds, script, depth, lastDepth, animate, rule] : rows) {
        settings.level = level;
        settings.animate = animate;
        fake.searchMilliseconds = milliseconds;
        fake.scripts[0] = script;
        startAfterFirstTurn();
        // The computer chooses while the user's move is still shown: "Will Turn".
        fake.holdPits = true;
        const size_t from = fake.size();
        game->userMove(0);          // 2 or 3 stones: never into the store
        waitFor(from, "sleep 100"); // it waits for the user's move to be shown
        fake.holdPits = false;
        waitFor(from, kTurnEnd);
        EXPECT_EQ(fake.texts(from).front(), "timer on");
        Texts turn = fake.threadAt(waitFor(from, "status 1"));
        std::erase(turn, "sleep 100");
        Texts expected = {"status 1", "live 1"};
        for (int32_t deeper = depth; deeper <= lastDepth; ++deeper)
            expected.push_back(text("search", 0, deeper, deeper == depth));
        expected.insert(expected.end(), {"stats", "live 0"});
        if (animate) {
            const std::string number = turn.at(expected.size()); // "number 6-m" for move m, pit 7+m
            expected.insert(expected.end(), {number, "status 3", number, "status 4", "sleep 1000"});
            waitFor(from, text("pit", 13 - std::stoi(number.substr(7)), 0, 0)); // named, turned
            EXPECT_GT(count(fake.texts(from), "sound Tink"), 0u) << "in the computer's row";
        }
        EXPECT_EQ(count(turn, "status [34]|sleep 1000") > 0, animate != 0) << rule;
        ASSERT_GE(turn.size(), expected.size()) << rule;
        EXPECT_EQ(Texts(turn.begin(), turn.begin() + expected.size()), expected) << rule;
        EXPECT_TRUE(endsWith(turn, {"timer off", "status 0"})) << rule;
        const uint64_t elapsed = milliseconds * (lastDepth - depth + 1);
        for (int32_t index = 0; index < 3; ++index)
            EXPECT_EQ(game->statisticsText(index), formatStatistic(index, 1234567, elapsed));
    }
}

// The first games move the moment "Your Turn" shows, while its thread holds it: all taken. Each
// game counts in the results of the level played, with the user's margin.
TEST_F(GameTest, GamesEndWithTheRightMessageForTheUserTheComputerAndADraw) {
    fake.scripts[0] = keyedMoves([](int32_t, int32_t) { return 0; }); // a random computer
    createGame();
    std::mt19937 random(12345);
    std::set<std::string> firsts; // "Turning From" of the first turns, seeded with the time
    std::array<LevelResults, 4> expected{};
    for (int32_t round = 0; round < 400 && (std::ranges::min(outcomes) == 0 || firsts.size() < 6);
         ++round) {
        fake.holdStatus = round < 3;
        settings.level = round % 5 - 1;
        const size_t from = fake.size();
        game->newGame(true);
        while (!playOneTurn(random)) {
        }
        firsts.insert(fake.texts(waitFor(from, "number .")).front());
        const auto final = game->shownCounts();
        const int32_t margin = final[kUserStore] - final[kComputerStore];
        LevelResults& level = expected[validLevel(settings.level)];
        ++(margin > 0 ? level.won : margin < 0 ? level.lost : level.drawn);
        level.marginSum += margin;
    }
    EXPECT_GT(std::ranges::min(outcomes), 0) << "You, Computer, Draw";
    EXPECT_EQ(firsts.size(), 6u) << "the computer's first turn is drawn at random";
    for (int32_t level = 0; level < 4; ++level)
        EXPECT_EQ(record.at(level), expected[level]) << level;
}

// Whatever the Game is doing, no move is taken nor taken back; New Game returns at once (a held
// pause would last two seconds, a held search for ever), repaints every pit at rest with its start
// count and shows "Your Turn", and nothing of the old game comes after.
TEST_F(GameTest, NewGameAtAnyMomentReturnsAtOnceAndLeavesNothingBehind) {
    settings.animateBest = 1;
    fake.scripts[1] = keyedMoves([](int32_t move, int32_t) { return move == 3 ? -1 : 0; });
    fake.scripts[0] = keyedMoves([](int32_t move, int32_t) { return move; });
    const std::tuple<uint32_t, int32_t, const char*> moments[] = {
        {0, 0, "the computer searching (no pause held)"},
        {150, 1, "best move shown"},
        {150, 2, "best move blanked"},
        {349, 1, "a stone sown"},
        {100, 1, "the computer waiting for the user's move to be shown"},
        {1000, 1, "Turning From: no animation runs"}};
    const Texts newGame = restingBoard(Board().stones);
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
        EXPECT_FALSE(game->canTakeBack() || game->takeBack()) << moment;
        if (pause == 1000) {
            for (int32_t pit = 1; pit < 6; ++pit)
                game->userMove(pit);
            std::this_thread::sleep_for(30ms);
            EXPECT_EQ(fake.texts(held + 1), Texts{}) << "no move taken";
        }
        from = fake.size();
        const auto start = std::chrono::steady_clock::now();
        game->newGame(true);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms) << moment;
        const Texts shown = fake.texts(from);
        EXPECT_EQ(count(shown, "timer off|status.*"), 2) << moment;
        EXPECT_TRUE(endsWith(shown, newGame)) << moment;
        std::this_thread::sleep_for(30ms);
        EXPECT_EQ(fake.texts(from + shown.size()), Texts{}) << moment;
    }
}

} // namespace
} // namespace pebbo::testing
