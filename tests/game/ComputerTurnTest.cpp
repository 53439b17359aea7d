#include "tests/game/GameFakes.h"

#include <set>

namespace pebbo::testing {
namespace {

class ComputerTurnTest : public GameTest {
protected:
    // A new game with the computer's unsearched first turn played.
    void startAfterFirstTurn() {
        const size_t from = fake.size();
        game->newGame(false);
        waitFor(from, kTurnEnd);
        for (const std::string& text : fake.texts(from))
            EXPECT_FALSE(text.starts_with("search")) << "the first turn is random";
    }
    // The user's first move that hands the turn over, and the computer's turn after it.
    size_t playNormalMove() {
        const size_t from = fake.size();
        const int32_t pit = normalUserPit();
        playOneTurn([pit](const std::vector<int32_t>&) { return pit; });
        return from;
    }
};

TEST_F(ComputerTurnTest, EachLevelSearchesAtItsDepthAndNamesThePitItTurns) {
    settings.showTech = 1;
    // A search "takes" 2.5 s and 1,234,567 positions.
    fake.scripts[0] = [](Searcher& searcher, const Board& root, RootResults& results) {
        keyedMoves([](int32_t move, int32_t) { return -move; })(searcher, root, results);
        searcher.leafCounts[0] = 1234567;
    };
    fake.searchMilliseconds = 2500;
    createGame();
    const struct {
        int32_t level, depth;
        uint8_t animate;
    } levels[] = {{0, 5, 1}, {1, 6, 1}, {2, 7, 1}, {3, 8, 1}, {-4, 5, 0}, {1000, 8, 1}};
    for (const auto& [level, depth, animate] : levels) {
        settings.level = level;
        settings.animate = animate;
        startAfterFirstTurn();
        // The computer chooses while the user's move is still shown: "Will Turn".
        fake.holdPits = true;
        const size_t from = fake.size();
        game->userMove(normalUserPit());
        waitFor(from, "sleep 100"); // it waits for the user's move to be shown
        fake.holdPits = false;
        waitFor(from, kTurnEnd);
        EXPECT_EQ(fake.texts(from).front(), "timer on");
        Texts turn = fake.threadAt(waitFor(from, "status 1"));
        std::erase(turn, "sleep 100");
        Texts expected = {"status 1", "live 1", "search 0 " + std::to_string(depth) + " 1", "stats",
                          "live 0"};
        if (animate) {
            const std::string number = turn.at(5); // "number 6-m" for its move m, pit 7+m
            expected.insert(expected.end(), {number, "status 3", number, "status 4", "sleep 1000"});
            const std::string turned = std::to_string(13 - std::stoi(number.substr(7)));
            EXPECT_EQ(fake.threadAt(waitFor(from, "pit " + turned + " 0 0")).at(2), "sound Tink")
                << "the pit named is turned, its first stone heard in the computer's row";
        }
        ASSERT_GE(turn.size(), expected.size() + 2);
        EXPECT_EQ(Texts(turn.begin(), turn.begin() + expected.size()), expected) << level;
        EXPECT_EQ(Texts(turn.end() - 2, turn.end()), (Texts{"timer off", "status 0"}));
        const std::wstring statistics[] = {L"1,234,567", L"2.50", L"0.49"};
        for (int32_t index = 0; index < 3; ++index)
            EXPECT_EQ(game->statisticsText(index), statistics[index]);
    }
}

TEST_F(ComputerTurnTest, MasterDeepensUntilAStopRuleHolds) {
    settings.animate = 0;
    settings.level = 3;
    createGame();
    const auto steady = keyedMoves([](int32_t move, int32_t) { return -move; });
    const auto wavering =
        keyedMoves([](int32_t move, int32_t depth) { return depth % 2 ? move : -move; });
    const struct {
        uint64_t searchMilliseconds;
        Script script;
        int32_t lastDepth;
        const char* rule;
    } rules[] = {{1000, wavering, 8, "an iteration of 1.0 s is the last"},
                 {999, wavering, 47, "at most 40 iterations, however the best move wavers"},
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
        fake.searchMilliseconds = rule.searchMilliseconds;
        fake.scripts[0] = rule.script;
        startAfterFirstTurn();
        Texts searches, expected; // of its first move: only the first search is fresh
        for (const std::string& text : fake.texts(playNormalMove())) {
            if (!text.starts_with("search 0 "))
                continue;
            if (text.ends_with(" 1") && !searches.empty())
                break; // the next move
            searches.push_back(text);
        }
        for (int32_t depth = 8; depth <= rule.lastDepth; ++depth)
            expected.push_back("search 0 " + std::to_string(depth) + (depth == 8 ? " 1" : " 0"));
        EXPECT_EQ(searches, expected) << rule.rule;
    }
}

TEST_F(ComputerTurnTest, FirstTurnIsRandomAndEqualBestMovesAreDrawnAlike) {
    settings.animate = 0;
    settings.level = 1;
    fake.scripts[0] = keyedMoves([](int32_t move, int32_t) { return move == 0 ? 1 : 0; });
    createGame();
    const auto pitPlayed = [&](size_t from) { // its first step empties it
        return std::stoi(fake.at(waitFor(from, "pit ([7-9]|1[0-2]) 0 0")).text.substr(4));
    };
    std::set<int32_t> firstPits, searchedPits;
    for (int32_t round = 0; round < 80; ++round) {
        fake.now += 7919; // a different millisecond for every choice
        const size_t from = fake.size();
        startAfterFirstTurn();
        firstPits.insert(pitPlayed(from));
        searchedPits.insert(pitPlayed(waitFor(playNormalMove(), "search 0 6 1")));
    }
    EXPECT_EQ(firstPits, (std::set<int32_t>{7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(searchedPits.count(7), 0u) << "only the equally best moves are drawn";
    EXPECT_GE(searchedPits.size(), 3u);
}

} // namespace
} // namespace pebbo::testing
