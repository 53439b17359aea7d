#include "tests/game/GameFakes.h"

namespace pebbo::testing {
namespace {

Texts operator+(Texts a, const Texts& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Three blinks of `pits`, the first one heard.
Texts blink(const std::vector<int32_t>& pits, int32_t count, int32_t color,
            std::string sound = "") {
    Texts shown, hidden;
    for (const int32_t pit : pits) {
        shown.push_back("pit " + std::to_string(pit) + " " + std::to_string(count) + " " +
                        std::to_string(color));
        hidden.push_back("pit " + std::to_string(pit) + " -1 0");
    }
    Texts texts;
    for (int i = 0; i < 3; ++i, sound.clear())
        texts = texts + shown + (sound.empty() ? Texts{} : Texts{"sound " + sound}) +
                Texts{"sleep 150"} + hidden + Texts{"sleep 150"};
    return texts;
}

using AnimationTest = GameTest;

TEST_F(AnimationTest, UserMovesAreShownStoneByStoneWithBestMovesExtraTurnAndCapture) {
    settings.animateBest = 1;
    search.set(1,
               keyedMoves([](int32_t move, int32_t) { return move == 2 || move == 3 ? -1 : 0; }));
    const auto isPit = [](const std::string& text) { return text.rfind("pit ", 0) == 0; };
    createGame();
    game->newGame(true);
    // Pit 4, not among the best: those blink first. One stone into pit 5, the
    // last into the store; the user moves again.
    size_t from = log.size();
    game->userMove(4);
    waitFor(from, "pit 6 1 0");
    EXPECT_EQ(log.threadAt(waitFor(from, isPit)),
              (blink({2, 3}, 2, 7) + Texts{"pit 2 2 0", "pit 3 2 0"} + blink({4}, 2, 4) +
               Texts{"pit 4 0 0", "pit 5 3 4", "sound Pop", "sleep 349", "pit 5 3 0"} +
               blink({6}, 1, 5, "Hero") + Texts{"pit 6 1 0"}));
    for (const std::string& text : log.texts(from))
        EXPECT_TRUE(text.rfind("status", 0) != 0 && text.rfind("search 0", 0) != 0) << text;

    // Pit 2 at once, a best move: its last stone lands in empty pit 4 and takes pit 8's two.
    from = log.size();
    game->userMove(2);
    waitFor(from, "pit 6 4 0");
    EXPECT_EQ(log.threadAt(waitFor(from, isPit)),
              (blink({2}, 2, 4) +
               Texts{"pit 2 0 0", "pit 3 3 4", "sound Pop", "sleep 349", "pit 3 3 0", "pit 4 1 4",
                     "sound Pop", "sleep 349", "pit 4 1 0", "pit 4 0 0"} +
               blink({8}, 2, 6, "Submarine") +
               Texts{"pit 8 0 0", "pit 6 4 4", "sleep 300", "pit 6 4 0"}));

    // The computer's stones are heard too: Pop in pits 0-6, Tink in 7-13.
    from = log.size();
    waitForTurnEnd(from);
    std::string lastPit;
    int32_t heard = 0;
    for (const std::string& text : log.texts(from)) {
        lastPit = isPit(text) ? text : lastPit;
        if (text == "sound Pop" || text == "sound Tink") {
            ++heard;
            EXPECT_EQ(text,
                      std::stoi(lastPit.substr(4)) <= kUserStore ? "sound Pop" : "sound Tink");
        }
    }
    EXPECT_GT(heard, 1);
}

TEST_F(AnimationTest, WithoutAnimationEveryPitShowsItsFinalCountAtOnce) {
    settings.animate = 0;
    createGame();
    game->newGame(true);
    const size_t from = log.size();
    game->userMove(2);
    EXPECT_EQ(log.at(waitForTurnEnd(from)).text, "status 0");
    EXPECT_EQ(log.threadAt(waitFor(from, "pit 2 0 0")),
              (Texts{"pit 2 0 0", "pit 3 3 0", "pit 4 3 0"}));
    for (const std::string& text : log.texts(0)) {
        EXPECT_TRUE(text.rfind("sound", 0) != 0 && text != "load") << "nothing is heard";
        EXPECT_TRUE(text.rfind("sleep", 0) != 0 || text == "sleep 100" || text == "sleep 10")
            << text << ": no pause but the polls";
        EXPECT_TRUE(text != "status 3" && text != "status 4") << text;
    }
}

} // namespace
} // namespace pebbo::testing
