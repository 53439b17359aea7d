#include "tests/game/GameFakes.h"

namespace pebbo::testing {
namespace {

Texts operator+(Texts a, const Texts& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Three blinks of `pits` showing `count` in `color`, the first one heard.
Texts blink(const std::vector<int32_t>& pits, int32_t count, int32_t color,
            const std::string& sound = "") {
    Texts texts;
    for (int32_t i = 0; i < 3; ++i) {
        for (const int32_t pit : pits)
            texts.push_back(text("pit", pit, count, color));
        texts = texts + (i == 0 && !sound.empty() ? Texts{"sound " + sound, "sleep 150"}
                                                  : Texts{"sleep 150"});
        for (const int32_t pit : pits)
            texts.push_back(text("pit", pit, -1, 0));
        texts.push_back("sleep 150");
    }
    return texts;
}

using AnimationTest = GameTest;

// Every step of a user move's animation: its pits, sounds and pauses, in order.
// No move of an empty pit is taken, nor any move while one is shown.
TEST_F(AnimationTest, UserMovesAreShownStepByStep) {
    settings.animateBest = 1;
    fake.scripts[1] =
        keyedMoves([](int32_t move, int32_t) { return move == 2 || move == 3 ? -1 : 0; });
    createGame();
    const std::tuple<bool, uint8_t, int32_t, Texts> moves[] = {
        // new game? animated? pit, steps
        // Not a best move, so those blink first. One stone into pit 5, the last
        // into the store: the user moves again.
        {true, 1, 4,
         blink({2, 3}, 2, 7) + Texts{"pit 2 2 0", "pit 3 2 0"} + blink({4}, 2, 4) +
             Texts{"pit 4 0 0", "pit 5 3 4", "sound Pop", "sleep 349", "pit 5 3 0"} +
             blink({6}, 1, 5, "Hero") + Texts{"pit 6 1 0"}},
        // A best move: its last stone lands in empty pit 4 and takes pit 8's two.
        {false, 1, 2,
         blink({2}, 2, 4) +
             Texts{"pit 2 0 0", "pit 3 3 4", "sound Pop", "sleep 349", "pit 3 3 0", "pit 4 1 4",
                   "sound Pop", "sleep 349", "pit 4 1 0", "pit 4 0 0"} +
             blink({8}, 2, 6, "Submarine") +
             Texts{"pit 8 0 0", "pit 6 4 4", "sleep 300", "pit 6 4 0"}},
        // Without animation every pit shows its final count at once.
        {true, 0, 2, {"pit 2 0 0", "pit 3 3 0", "pit 4 3 0"}},
    };
    size_t from = 0;
    for (const auto& [newGame, animate, pit, steps] : moves) {
        settings.animate = animate;
        if (newGame)
            game->newGame(true);
        for (int32_t empty = 0; empty < 6; ++empty)
            if (game->shownCounts()[empty] == 0)
                game->userMove(empty);
        from = fake.size();
        fake.holdPits = true;
        game->userMove(pit);
        for (int32_t other = 0; other < 6; ++other)
            game->userMove(other);
        fake.holdPits = false;
        waitFor(from, steps.back());
        EXPECT_EQ(fake.threadAt(waitFor(from, steps.front())), steps) << "pit " << pit;
    }
    waitFor(from, "status 0");
    EXPECT_EQ(count(fake.texts(from), "sound.*|sleep (150|300|349|1000)|status [34]"), 0)
        << "nothing is heard, no pause but the polls, no \"Will Turn\" nor \"Turning From\"";
}

} // namespace
} // namespace pebbo::testing
