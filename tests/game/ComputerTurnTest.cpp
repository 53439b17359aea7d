#include "tests/game/GameFakes.h"

#include <set>

namespace pebbo::testing {
namespace {

class ComputerTurnTest : public GameTest {
protected:
    // A new game with the computer's unsearched first turn played.
    void startAfterFirstTurn() {
        const size_t from = log.size();
        game->newGame(false);
        waitForTurnEnd(from);
        for (const std::string& text : log.texts(from))
            EXPECT_NE(text.rfind("search", 0), 0u) << "the first turn is random";
    }
    // The computer's pit of its first move since `from`: its first step empties it.
    int32_t computerPitPlayed(size_t from) {
        const auto emptied = [](const std::string& text) {
            return text.rfind("pit ", 0) == 0 && text.ends_with(" 0 0") &&
                   std::stoi(text.substr(4)) > kUserStore &&
                   std::stoi(text.substr(4)) < kComputerStore;
        };
        return std::stoi(log.at(waitFor(from, emptied)).text.substr(4));
    }
};

TEST_F(ComputerTurnTest, EachLevelSearchesAtItsDepthAndNamesThePitItTurns) {
    settings.showTech = 1;
    // The highest legal pit is the unique best; a search "takes" 2.5 s and 1,234,567 positions.
    search.set(0, [](Searcher& searcher, const Board& root, RootResults& results) {
        keyedMoves([](int32_t move, int32_t) { return -move; })(searcher, root, results);
        searcher.leafCounts[0] = 1234567;
    });
    search.iterationMilliseconds = 2500;
    createGame();
    const std::pair<int32_t, int32_t> levelsAndDepths[] = {{0, 5}, {1, 6},  {2, 7},
                                                           {3, 8}, {-4, 5}, {1000, 8}};
    for (const auto& [level, depth] : levelsAndDepths) {
        settings.level = level;
        startAfterFirstTurn();
        const int32_t pit = normalUserPit();
        Board mirror = shownBoard();
        mirror.makeMove(pit);
        mirror.sideToMove = 0;
        int32_t reply = 5;
        while (!mirror.isLegal(reply))
            --reply;
        const std::string number = "number " + std::to_string(6 - reply);

        // "Will Turn" while the user's move is still shown, then "Turning From".
        log.pitGate.closed = true;
        const size_t from = log.size();
        game->userMove(pit);
        waitFor(from, "status 3");
        log.pitGate.closed = false;
        waitFor(from, "pit " + std::to_string(7 + reply) + " " +
                          std::to_string(mirror.stones[7 + reply]) + " 4");
        waitForTurnEnd(from);
        EXPECT_EQ(log.texts(from).front(), "timer on");
        Texts turn = log.threadAt(waitFor(from, "status 1"));
        std::erase(turn, "sleep 100");
        ASSERT_GE(turn.size(), 12u);
        EXPECT_EQ(Texts(turn.begin(), turn.begin() + 10),
                  (Texts{"status 1", "live 1", "search 0 " + std::to_string(depth) + " 1",
                         "stats 1,234,567 2.50 0.49", "live 0", number, "status 3", number,
                         "status 4", "sleep 1000"}))
            << "level " << level;
        EXPECT_EQ(Texts(turn.end() - 2, turn.end()), (Texts{"timer off", "status 0"}));
    }
}

TEST_F(ComputerTurnTest, MasterDeepensUntilAStopRuleHolds) {
    settings.animate = 0;
    settings.level = 3;
    createGame();
    const auto steady = keyedMoves([](int32_t move, int32_t) { return -move; });
    const struct {
        uint64_t iterationMilliseconds;
        Script script;
        int32_t lastDepth;
        const char* rule;
    } rules[] = {
        {1000, keyedMoves([](int32_t move, int32_t depth) { return depth % 2 ? move : -move; }), 8,
         "an iteration of 1.0 s is the last"},
        {999, keyedMoves([](int32_t move, int32_t depth) { return depth % 2 ? move : -move; }), 47,
         "at most 40 iterations, however the best move wavers"},
        {0, steady, 11, "three agreeing iterations after the first"},
        {0, keyedMoves([](int32_t move, int32_t) { return move >= 4 ? -1 : 0; }), 11,
         "equal best moves agree in any order"},
        {0,
         [&](Searcher& searcher, const Board& root, RootResults& results) {
             steady(searcher, root, results);
             searcher.deepestDepth -= searcher.depthLimit == 9;
         },
         9, "no line reached the depth asked for"},
        {0,
         [&](Searcher& searcher, const Board& root, RootResults& results) {
             steady(searcher, root, results);
             results.erase(std::next(results.begin()), results.end());
         },
         8, "a single move"}};
    for (const auto& rule : rules) {
        search.iterationMilliseconds = rule.iterationMilliseconds;
        search.set(0, rule.script);
        startAfterFirstTurn();
        const size_t from = log.size();
        const int32_t pit = normalUserPit();
        playOneTurn([pit](const std::vector<int32_t>&) { return pit; });
        std::vector<int32_t> depths, expected;
        for (const std::string& text : log.texts(from)) { // "search side depth fresh"
            if (text.rfind("search 0 ", 0) != 0)
                continue;
            if (!depths.empty() && text.ends_with('1'))
                break; // the next move
            EXPECT_EQ(text.ends_with('1'), depths.empty()) << "only a move's first search is fresh";
            depths.push_back(std::stoi(text.substr(9)));
        }
        for (int32_t depth = 8; depth <= rule.lastDepth; ++depth)
            expected.push_back(depth);
        EXPECT_EQ(depths, expected) << rule.rule;
    }
}

TEST_F(ComputerTurnTest, FirstTurnIsRandomAndEqualBestMovesAreDrawnAlike) {
    settings.animate = 0;
    settings.level = 1;
    search.set(0, keyedMoves([](int32_t move, int32_t) { return move == 0 ? 1 : 0; }));
    createGame();
    std::set<int32_t> firstPits, searchedPits;
    for (int32_t round = 0; round < 120; ++round) {
        clock.advance(7919); // a different millisecond for every choice
        size_t from = log.size();
        startAfterFirstTurn();
        firstPits.insert(computerPitPlayed(from));
        if (round >= 40)
            continue;
        from = log.size();
        const int32_t pit = normalUserPit();
        playOneTurn([pit](const std::vector<int32_t>&) { return pit; });
        searchedPits.insert(computerPitPlayed(waitFor(from, "search 0 6 1")));
    }
    EXPECT_EQ(firstPits, (std::set<int32_t>{7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(searchedPits.count(7), 0u) << "only the equally best moves are drawn";
    EXPECT_GE(searchedPits.size(), 3u);
}

} // namespace
} // namespace pebbo::testing
