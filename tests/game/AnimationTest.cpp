#include "tests/game/GameFakes.h"

#include <numeric>

namespace pebbo::testing {
namespace {

// Three blinks of one pit: shown in `color` (with the sound on the first), then blanked.
Texts blink(int32_t pit, int32_t count, int32_t color, const std::string& sound = "") {
    Texts texts;
    for (int i = 0; i < 3; ++i) {
        texts.push_back("pit " + std::to_string(pit) + " " + std::to_string(count) + " " +
                        std::to_string(color));
        if (i == 0 && !sound.empty())
            texts.push_back("sound " + sound);
        texts.insert(texts.end(),
                     {"sleep 150", "pit " + std::to_string(pit) + " -1 0", "sleep 150"});
    }
    return texts;
}

class AnimationTest : public GameFixture {
protected:
    // The events of the thread that showed `firstText` first since `from`.
    Texts threadOf(const std::string& firstText, size_t from) {
        const size_t index = waitFor(from, firstText);
        return log.of(log.since(index).front().thread, index);
    }
};

TEST_F(AnimationTest, UserMovesAreShownStoneByStoneWithExtraTurnAndCapture) {
    settings.animateBest = 0;
    settings.level = 0;
    createGame();
    game->newGame(true);

    // Pit 4's two stones: one into pit 5, the last into the store.
    size_t from = log.size();
    play(4);
    waitFor(from, "pit 6 1 0");
    EXPECT_EQ(threadOf("pit 4 2 4", from),
              (blink(4, 2, 4) +
               Texts{"pit 4 0 0", "pit 5 3 4", "sound Pop", "sleep 349", "pit 5 3 0"} +
               blink(6, 1, 5, "Hero") + Texts{"pit 6 1 0"}));
    for (const Event& event : log.since(from))
        EXPECT_TRUE(event.text.rfind("status", 0) != 0 && event.text.rfind("search", 0) != 0)
            << event.text << ": after an extra turn the user moves again";

    // Pit 2's two stones: the last lands in empty pit 4 and takes pit 8's two.
    from = log.size();
    play(2);
    waitFor(from, "pit 6 4 0");
    EXPECT_EQ(threadOf("pit 2 2 4", from),
              (blink(2, 2, 4) +
               Texts{"pit 2 0 0", "pit 3 3 4", "sound Pop", "sleep 349", "pit 3 3 0", "pit 4 1 4",
                     "sound Pop", "sleep 349", "pit 4 1 0", "pit 4 0 0"} +
               blink(8, 2, 6, "Submarine") +
               Texts{"pit 8 0 0", "pit 6 4 4", "sleep 300", "pit 6 4 0"}));

    // The computer's reply: each of its stones is heard, Pop in pits 0-6, Tink in 7-13.
    const size_t turnEnd = waitForTurnEnd(from);
    const std::vector<Event> events = log.since(from);
    std::string lastShown;
    int32_t heard = 0;
    for (const Event& event : events) {
        if (event.text.rfind("pit ", 0) == 0)
            lastShown = event.text;
        if (event.text.rfind("sound ", 0) != 0 || event.text == "sound Submarine")
            continue;
        ++heard;
        const int32_t pit = std::stoi(lastShown.substr(4));
        EXPECT_EQ(event.text, pit <= kUserStore ? "sound Pop" : "sound Tink") << lastShown;
    }
    EXPECT_GT(heard, 2) << "the computer's stones were heard too";
    EXPECT_LT(turnEnd, log.size());
    const auto shown = game->shownCounts();
    EXPECT_EQ(std::accumulate(shown.begin(), shown.end(), 0), kStoneTotal);
}

TEST_F(AnimationTest, WithoutAnimationEveryPitShowsItsFinalCountAtOnce) {
    settings.animate = 0;
    settings.animateBest = 0;
    settings.level = 0;
    createGame();
    game->newGame(true);
    const size_t from = log.size();
    play(2);
    const size_t end = waitForTurnEnd(from);

    EXPECT_EQ(threadOf("pit 2 0 0", from), (Texts{"pit 2 0 0", "pit 3 3 0", "pit 4 3 0"}));
    for (const Event& event : log.since(0)) {
        EXPECT_EQ(event.text.rfind("sound", 0), std::string::npos) << "nothing is heard";
        EXPECT_NE(event.text, "load") << "sounds are not even looked up";
        EXPECT_EQ(event.text.rfind("sleep", 0) == 0 && event.text != "sleep 100", false)
            << event.text << ": no pause but the polls";
        EXPECT_NE(event.text, "status 3");
        EXPECT_NE(event.text, "status 4");
        EXPECT_EQ(event.text.rfind("search side=1", 0), std::string::npos) << "no analysis";
    }
    EXPECT_EQ(log.since(end).front().text, "status 0");
}

TEST_F(AnimationTest, BestMovesBlinkBeforeAMoveThatIsNotOneOfThem) {
    settings.sound = 0;
    settings.level = 0;
    // The analysis finds moves 3 and 5 equally best.
    search.setScript(
        1, keyedMoves([](int32_t move, int32_t) { return move == 5 || move == 3 ? -2 : 1; }));
    createGame();
    game->newGame(true);

    size_t from = log.size();
    play(0);
    const Texts searches = [&] {
        Texts found;
        for (const Event& event : log.since(from))
            if (event.text.rfind("search", 0) == 0)
                found.push_back(event.text);
        return found;
    }();
    ASSERT_FALSE(searches.empty());
    EXPECT_EQ(searches.front(), "search side=1 depth=6 fresh=1")
        << "the first move waits for the analysis of the start position";
    Texts bestBlink;
    for (int i = 0; i < 3; ++i)
        bestBlink = bestBlink + Texts{"pit 3 2 7",  "pit 5 2 7",  "sleep 150",
                                      "pit 3 -1 0", "pit 5 -1 0", "sleep 150"};
    const Texts shown = threadOf("pit 3 2 7", from);
    ASSERT_GT(shown.size(), bestBlink.size() + 3);
    EXPECT_EQ(Texts(shown.begin(), shown.begin() + static_cast<std::ptrdiff_t>(bestBlink.size())),
              bestBlink);
    EXPECT_EQ(Texts(shown.begin() + static_cast<std::ptrdiff_t>(bestBlink.size()),
                    shown.begin() + static_cast<std::ptrdiff_t>(bestBlink.size()) + 3),
              (Texts{"pit 3 2 0", "pit 5 2 0", "pit 0 2 4"}));

    // The computer's turn ends with an analysis of the user's new position; a
    // move among its equally best ones blinks no best moves.
    waitForTurnEnd(from);
    const auto counts = game->shownCounts();
    const int32_t best = counts[3] > 0 ? 3 : 5;
    ASSERT_GT(counts[best], 0);
    from = log.size();
    playOneTurn([&](const std::vector<int32_t>&) { return best; });
    for (const Event& event : log.since(from))
        EXPECT_NE(event.text.substr(event.text.size() - 2), " 7") << event.text;
}

} // namespace
} // namespace pebbo::testing
