#include "game/StatisticsText.h"
#include "tests/game/GameFakes.h"

#include <random>
#include <set>

namespace pebbo::testing {
namespace {

using ComputerTurnTest = GameTest;

// Each level searches at its depth; Master deepens while a search takes less
// than a second, until a stop rule holds.
TEST_F(ComputerTurnTest, EachLevelSearchesAtItsDepthAndMasterDeepensUntilAStopRuleHolds) {
    settings.showTech = 1;
    createGame();
    const auto steady = keyedMoves([](int32_t move, int32_t) { return -move; });
    const auto wavering =
        keyedMoves([](int32_t move, int32_t depth) { return depth % 2 ? move : -move; });
    // The level, the time a search takes, its script, the depths of the first move's
    // searches, with or without animation, and the rule that ends them.
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
            const int32_t turned = 13 - std::stoi(number.substr(7));
            EXPECT_EQ(fake.threadAt(waitFor(from, text("pit", turned, 0, 0))).at(2), "sound Tink")
                << "the pit named is turned, its first stone heard in the computer's row";
        }
        ASSERT_GE(turn.size(), expected.size()) << rule;
        EXPECT_EQ(Texts(turn.begin(), turn.begin() + expected.size()), expected) << rule;
        EXPECT_TRUE(endsWith(turn, {"timer off", "status 0"})) << rule;
        const uint64_t elapsed = milliseconds * (lastDepth - depth + 1);
        for (int32_t index = 0; index < 3; ++index)
            EXPECT_EQ(game->statisticsText(index), formatStatistic(index, 1234567, elapsed));
    }
}

// Seeded with the time at each choice, which the fake clock varies.
TEST_F(ComputerTurnTest, TheFirstTurnIsDrawnAtRandom) {
    createGame();
    std::set<std::string> turned;
    std::mt19937 random(7);
    for (int32_t round = 0; round < 60; ++round) {
        fake.now += random() % 1000;
        const size_t from = fake.size();
        startAfterFirstTurn();
        turned.insert(fake.at(waitFor(from, "number .")).text);
    }
    EXPECT_EQ(turned.size(), 6u);
}

} // namespace
} // namespace pebbo::testing
