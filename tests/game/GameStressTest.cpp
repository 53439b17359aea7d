#include "tests/game/GameFakes.h"

#include <cstdlib>

namespace pebbo::testing {
namespace {

uint32_t fromEnvironment(const char* name, uint32_t fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? static_cast<uint32_t>(std::stoul(value)) : fallback;
}

// Random games with hints and take backs, half of them cut short by New Game or
// destruction at a random moment; PEBBO_STRESS_GAMES and PEBBO_STRESS_SEED choose the run.
TEST_F(GameTest, StressOfWholeGamesCutShortByNewGameAndDestructionAtRandomMoments) {
    const uint32_t games = fromEnvironment("PEBBO_STRESS_GAMES", kStressGames);
    std::mt19937 random(fromEnvironment("PEBBO_STRESS_SEED", 20261206));
    createGame();
    uint32_t finished = 0;
    for (uint32_t round = 0; round < games; ++round) {
        settings.animate = random() % 2;
        settings.animateBest = random() % 2;
        settings.sound = random() % 2;
        const bool userFirst = random() % 2 == 0;
        const size_t from = fake.size();
        game->newGame(userFirst);
        if (userFirst)
            EXPECT_EQ(game->shownCounts(), Board().stones);
        else
            EXPECT_EQ(fake.texts(waitFor(from, kTurnEnd)).front(), "status 0")
                << "nothing of the last game";
        const bool cut = random() % 2 == 0;
        const auto cutAtMove = random() % 12;
        bool over = false;
        for (uint64_t move = 0; !over && !(cut && move == cutAtMove); ++move) {
            if (random() % 4 == 0)
                game->hint(); // the next move stops it, or a take back
            if (random() % 8 == 0)
                game->takeBack();
            over = playOneTurn(random);
        }
        finished += over;
        if (!over) { // cut short
            game->userMove(static_cast<int32_t>(random() % 6));
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
            if (random() % 2 == 0)
                createGame();
        }
    }
    EXPECT_GT(finished, games / 4);
    const LevelResults low = record.at(0); // a cut game may have ended before it was cut
    EXPECT_GE(low.won + low.lost + low.drawn, finished);
    EXPECT_LE(low.won + low.lost + low.drawn, games);
}

} // namespace
} // namespace pebbo::testing
