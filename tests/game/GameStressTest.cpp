#include "tests/game/GameFakes.h"

#include <cstdio>

namespace pebbo::testing {
namespace {

// Ends the whole test program when the game stops making progress, so a hang
// shows up as a failure instead of a stuck CI job.
class Watchdog {
public:
    Watchdog(std::chrono::seconds limit, std::function<void()> onHang)
        : thread([this, limit, onHang] {
              auto last = std::chrono::steady_clock::now();
              uint64_t seen = 0;
              while (!stop) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(50));
                  if (progress != seen) {
                      seen = progress;
                      last = std::chrono::steady_clock::now();
                  } else if (std::chrono::steady_clock::now() - last > limit) {
                      std::fprintf(stderr, "watchdog: the game made no progress, it hangs\n");
                      onHang();
                      std::abort();
                  }
              }
          }) {}
    ~Watchdog() {
        stop = true;
        thread.join();
    }
    void tick() { ++progress; }

private:
    std::atomic<bool> stop{false};
    std::atomic<uint64_t> progress{0};
    std::thread thread;
};

class GameStressTest : public GameFixture {};

TEST_F(GameStressTest, WholeGamesSurviveNewGameAndDestructionAtRandomMoments) {
    clock.recordSleeps = false;
    settings.level = 0;
    settings.showTech = 1;
    Watchdog watchdog(std::chrono::seconds(60), [this] {
        const size_t size = log.size();
        for (const Event& event : log.since(size > 40 ? size - 40 : 0))
            std::fprintf(stderr, "  %llu: %s\n", static_cast<unsigned long long>(event.thread),
                         event.text.c_str());
    });
    std::mt19937 random(20261206);
    const auto randomMove = [&](const std::vector<int32_t>& legal) {
        return legal[random() % legal.size()];
    };
    createGame();

    int32_t finished = 0;
    int32_t interrupted = 0;
#ifdef _WIN32
    constexpr int32_t kGames = 100; // every thread start and pause is far slower under Wine
#else
    constexpr int32_t kGames = 400;
#endif
    for (int32_t round = 0; round < kGames; ++round) {
        settings.animate = random() % 2;
        settings.animateBest = random() % 2;
        settings.sound = random() % 2;
        const bool userFirst = random() % 2 == 0;
        const size_t from = log.size();
        game->newGame(userFirst);
        if (userFirst)
            EXPECT_EQ(game->shownCounts(), Board().stones);
        else
            ASSERT_EQ(log.since(waitForTurnEnd(from)).front().text, "status 0")
                << "nothing of the last game arrives in this one";

        // Half the games are cut short at a random moment of a random move.
        const bool cut = random() % 2 == 0;
        const int32_t cutAtMove = static_cast<int32_t>(random() % 12);
        for (int32_t move = 0;; ++move) {
            watchdog.tick();
            if (cut && move == cutAtMove) {
                game->userMove(static_cast<int32_t>(random() % 6));
                std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
                if (random() % 2 == 0) {
                    destroyGame();
                    createGame();
                }
                ++interrupted;
                break;
            }
            if (playOneTurn(randomMove)) {
                ++finished;
                break;
            }
        }
    }
    EXPECT_GT(finished, kGames / 4);
    EXPECT_GT(interrupted, kGames / 8);
    EXPECT_EQ(outcomes[0] + outcomes[1] + outcomes[2], finished);
}

} // namespace
} // namespace pebbo::testing
