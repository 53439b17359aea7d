#include "tests/game/GameFakes.h"

#include <set>

namespace pebbo::testing {
namespace {

class ComputerTurnTest : public GameFixture {
protected:
    ComputerTurnTest() {
        settings.animate = 0;
        settings.animateBest = 0;
        settings.showTech = 0;
    }

    // A new game in which the computer has played its random first turn.
    void startAfterFirstTurn() {
        search.clear();
        const size_t from = log.size();
        game->newGame(false);
        waitForTurnEnd(from);
    }

    // Depths asked by the first searched move of the turn after the user's `pit`.
    std::vector<int32_t> depthsOfNextMove() {
        search.clear();
        const int32_t pit = normalUserPit();
        playOneTurn([pit](const std::vector<int32_t>&) { return pit; });
        std::vector<int32_t> depths;
        const std::vector<ScriptedSearch::Call> calls = search.calls(0);
        for (size_t i = 0; i < calls.size(); ++i) {
            if (i > 0 && calls[i].freshStart)
                break; // the next move of an extra turn
            EXPECT_EQ(calls[i].freshStart, i == 0);
            depths.push_back(calls[i].depthLimit);
        }
        return depths;
    }

    // The pit of the computer's first move since `from`: with the animation off,
    // its first step empties that pit.
    int32_t computerPitPlayed(size_t from) {
        const size_t at = waitFor(from, [](const std::string& text) {
            if (text.rfind("pit ", 0) != 0 || text.substr(text.size() - 4) != " 0 0")
                return false;
            const int32_t pit = std::stoi(text.substr(4));
            return pit >= 7 && pit <= 12;
        });
        return std::stoi(log.since(at).front().text.substr(4));
    }

    static std::vector<int32_t> range(int32_t first, int32_t last) {
        std::vector<int32_t> values;
        for (int32_t value = first; value <= last; ++value)
            values.push_back(value);
        return values;
    }
};

TEST_F(ComputerTurnTest, EachLevelSearchesOnceAtItsDepthAndReportsStatistics) {
    settings.showTech = 1;
    // The first legal move is the unique best; a search "takes" 2.5 s and 1,234,567 positions.
    search.setScript(0, [](Searcher& searcher, const Board& root, RootResults& results, int32_t) {
        keyedMoves([](int32_t move, int32_t) { return move; })(searcher, root, results, 0);
        searcher.leafCounts[0] = 1234567;
    });
    search.iterationMilliseconds = 2500;
    createGame();

    const std::vector<std::pair<int32_t, int32_t>> levelsAndDepths = {
        {0, 5}, {1, 6}, {2, 7}, {-4, 5}, {1000, 8}};
    for (const auto& [level, depth] : levelsAndDepths) {
        settings.level = level;
        startAfterFirstTurn();
        EXPECT_TRUE(search.calls(0).empty()) << "the first turn is not searched";

        const size_t from = log.size();
        const std::vector<int32_t> depths = depthsOfNextMove();
        EXPECT_EQ(depths.front(), depth) << "level " << level;
        if (level != 1000) {
            EXPECT_EQ(depths.size(), 1u) << "only Master iterates";
        }

        // Thinking..., the live statistics and their final figures, the timer.
        Texts measured;
        for (const Event& event : log.since(from))
            if (event.text.rfind("pit", 0) != 0 && event.text.rfind("sleep", 0) != 0 &&
                event.text.rfind("search", 0) != 0 && event.text.rfind("number", 0) != 0)
                measured.push_back(event.text);
        ASSERT_GE(measured.size(), 6u);
        EXPECT_EQ(Texts(measured.begin(), measured.begin() + 5),
                  (Texts{"timer on", "status 1", "live 1", "stats 1,234,567|2.50|0.49", "live 0"}));
        EXPECT_EQ(measured.back(), "status 0");
        EXPECT_EQ(measured[measured.size() - 2], "timer off");
    }
}

TEST_F(ComputerTurnTest, TurningFromPausesOneSecondAndWillTurnShowsWhileTheUserMoveIsShown) {
    settings.animate = 1;
    settings.level = 1;
    search.setScript(0, keyedMoves([](int32_t move, int32_t) { return -move; }));
    createGame();

    // The random first turn: nothing is being shown when it chooses.
    size_t from = log.size();
    game->newGame(false);
    size_t turning = waitFor(from, "status 4");
    Texts texts = log.of(log.since(turning).front().thread, from);
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts[0].rfind("number ", 0), 0u);
    EXPECT_EQ(Texts(texts.begin() + 1, texts.begin() + 3), (Texts{"status 4", "sleep 1000"}));
    const int32_t number = std::stoi(texts[0].substr(7));
    waitForTurnEnd(from);
    const size_t blinkAt = waitFor(from, [](const std::string& text) {
        return text.rfind("pit ", 0) == 0 && text.substr(text.size() - 2) == " 4";
    });
    EXPECT_EQ(std::stoi(log.since(blinkAt).front().text.substr(4)), 13 - number)
        << "the number counts the computer's pits 1 to 6 from the left";

    // The user's move is held on the screen while the computer chooses its reply,
    // the highest legal pit in this script.
    const int32_t pit = normalUserPit();
    Board mirror;
    mirror.stones = game->shownCounts();
    mirror.makeMove(pit);
    mirror.sideToMove = 0;
    int32_t reply = 5;
    while (!mirror.isLegal(reply))
        --reply;
    const std::string replyNumber = "number " + std::to_string(6 - reply);

    controller.pitGate.close();
    from = log.size();
    size_t willTurn = 0;
    for (bool accepted = false; !accepted;) {
        game->userMove(pit); // refused while the last turn's thread is still ending
        for (int wait = 0; wait < 100 && !accepted; ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            for (const Event& event : log.since(from))
                accepted = accepted || event.text == "status 1";
        }
    }
    willTurn = waitFor(from, "status 3");
    controller.pitGate.open();
    turning = waitFor(willTurn, "status 4");
    texts = log.of(log.since(turning).front().thread, from);
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(Texts(texts.begin(), texts.begin() + 4),
              (Texts{"status 1", "search side=0 depth=6 fresh=1", replyNumber, "status 3"}));
    const auto at = std::find(texts.begin(), texts.end(), "status 4");
    ASSERT_NE(at, texts.begin());
    EXPECT_EQ(*(at - 1), replyNumber);
    ASSERT_NE(at + 1, texts.end());
    EXPECT_EQ(*(at + 1), "sleep 1000");
    waitForTurnEnd(from);
}

TEST_F(ComputerTurnTest, MasterDeepensUntilAStopRuleHolds) {
    settings.level = 3;
    createGame();
    auto run = [&](uint64_t iterationMilliseconds, ScriptedSearch::Script script) {
        search.iterationMilliseconds = iterationMilliseconds;
        search.setScript(0, std::move(script));
        startAfterFirstTurn();
        return depthsOfNextMove();
    };
    // The best move changes with every iteration, so they never agree.
    const auto wavering = [](Searcher& searcher, const Board& root, RootResults& results,
                             int32_t call) {
        std::vector<int32_t> legal;
        for (int32_t move = 0; move < 6; ++move)
            if (root.isLegal(move))
                legal.push_back(move);
        const int32_t best = legal[static_cast<size_t>(call) % 2];
        keyedMoves([best](int32_t move, int32_t) { return move == best ? -1 : 0; })(searcher, root,
                                                                                    results, call);
    };
    const auto steady = keyedMoves([](int32_t move, int32_t) { return -move; });

    EXPECT_EQ(run(1000, wavering), (std::vector<int32_t>{8})) << "an iteration of 1.0 s stops";
    EXPECT_EQ(run(999, wavering), range(8, 47)) << "at most 40 iterations";
    EXPECT_EQ(run(0, steady), range(8, 11)) << "three agreeing iterations after the first";

    // Equal best moves agree whatever order the tree lists them in.
    EXPECT_EQ(run(0,
                  [](Searcher& searcher, const Board& root, RootResults& results, int32_t call) {
                      results.clear();
                      for (int32_t i = 0; i < 6; ++i) {
                          const int32_t move = call % 2 == 0 ? i : 5 - i;
                          if (root.isLegal(move))
                              results.emplace(move >= 4 ? -1 : 0, move);
                      }
                      searcher.deepestDepth = searcher.depthLimit;
                  }),
              range(8, 11));

    // No line reached the depth asked for on the second iteration.
    EXPECT_EQ(run(0,
                  [&](Searcher& searcher, const Board& root, RootResults& results, int32_t call) {
                      steady(searcher, root, results, call);
                      if (searcher.depthLimit == 9)
                          searcher.deepestDepth = 8;
                  }),
              range(8, 9));

    // A single legal move: one call, which the engine answers without searching.
    EXPECT_EQ(run(0,
                  [](Searcher& searcher, const Board& root, RootResults& results, int32_t) {
                      results.clear();
                      for (int32_t move = 0; move < 6 && results.empty(); ++move)
                          if (root.isLegal(move))
                              results.emplace(0, move);
                      searcher.deepestDepth = searcher.depthLimit;
                  }),
              std::vector<int32_t>{8});
}

TEST_F(ComputerTurnTest, FirstTurnIsRandomAndEqualBestMovesAreDrawnAlike) {
    settings.level = 1;
    // Every legal move is equally best, except move 0.
    search.setScript(0, keyedMoves([](int32_t move, int32_t) { return move == 0 ? 1 : 0; }));
    createGame();
    std::set<int32_t> firstPits;
    std::set<int32_t> searchedPits;
    for (int32_t round = 0; round < 120; ++round) {
        clock.advance(7919); // a different millisecond for every choice
        size_t from = log.size();
        search.clear();
        game->newGame(false);
        const size_t end = waitForTurnEnd(from);
        for (const Event& event : log.since(from))
            EXPECT_NE(event.text, "status 1") << "the first turn is played unsearched";
        EXPECT_TRUE(search.calls(0).empty());
        firstPits.insert(computerPitPlayed(from));
        EXPECT_LT(from, end);
        if (round >= 40)
            continue;

        from = log.size();
        const int32_t pit = normalUserPit();
        playOneTurn([pit](const std::vector<int32_t>&) { return pit; });
        const size_t searched = waitFor(from, "search side=0 depth=6 fresh=1");
        const int32_t move = computerPitPlayed(searched) - 7;
        EXPECT_NE(move, 0) << "only the equally best moves are drawn";
        searchedPits.insert(move);
    }
    EXPECT_EQ(firstPits, (std::set<int32_t>{7, 8, 9, 10, 11, 12}));
    EXPECT_GE(searchedPits.size(), 3u);
}

} // namespace
} // namespace pebbo::testing
