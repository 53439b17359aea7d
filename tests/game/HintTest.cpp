#include "tests/game/GameFakes.h"
#include "tests/support/BoardPositions.h"

#include <set>

namespace pebbo::testing {
namespace {

// After the status, the best pits blink in the best-move colour and come to rest.
Texts hintShown(const Texts& status, const std::vector<int32_t>& best, const Board& position) {
    Texts texts = status + blink(best, position.stones, kBestMoveColor);
    for (const int32_t pit : best)
        texts.push_back(text("pit", pit, position.stones[pit], kRestColor));
    return texts;
}

// In end games small enough to solve here the hint names the first best pit and the exact margin.
TEST_F(GameTest, HintNamesTheBestPitWithTheExactOutcomeAndBlinksEveryBestPit) {
    fake.scripts[0] = keyedMoves([](int32_t, int32_t) { return 0; }); // a random computer
    createGame();
    std::mt19937 random(4321);
    std::set<int32_t> hinted;
    for (int32_t round = 0; round < 100 && hinted.size() < 3; ++round) {
        settings.animateBest = round % 2 ? 1 : 0; // the user asked: the pits blink either way
        game->newGame(true);
        for (bool over = false; !over; over = playOneTurn(random)) {
            Board position;
            position.stones = game->shownCounts();
            if (kStoneTotal - position.stones[kUserStore] - position.stones[kComputerStore] > 8)
                continue;
            const int32_t value = minimax(position);
            std::vector<int32_t> best;
            for (int32_t move = 0; move < 6; ++move)
                if (position.isLegal(move) && minimaxAfter(position, move) == value)
                    best.push_back(move);
            const int32_t status = value > 0 ? kHintWins : value < 0 ? kHintLoses : kHintDraws;
            Texts expected = {text("statusPit", best[0] + 1)};
            if (value != 0)
                expected.push_back(text("number", std::abs(value)));
            expected.push_back(text("status", status));
            expected = hintShown(expected, best, position);
            const size_t from = fake.size();
            game->hint();
            waitFor(from, expected.back());
            EXPECT_EQ(fake.threadAt(waitFor(from, "statusPit .*")), expected);
            hinted.insert(status);
        }
    }
    EXPECT_EQ(hinted.size(), 3u) << "wins, draws and losses";
}

// Unsolved within 2 s on the Game's clock, the hint names the analysis' best moves. A user move,
// New Game or a take back ends it at once, its pits at rest; a second hint meanwhile is ignored.
TEST_F(GameTest, HintFallsBackOnTheAnalysisAfterTwoSecondsAndAnyChangeEndsIt) {
    settings.animateBest = 1;
    fake.scripts[1] = keyedMoves([](int32_t move, int32_t) { return move == 2 || move == 5; });
    createGame();
    const std::tuple<bool, std::function<void()>, const char*> rows[] = {
        {false, nullptr, "the analysis started by the hint, no change"},
        {true, [&] { game->userMove(0); }, "a user move"},
        {true, [&] { game->newGame(true); }, "New Game"},
        {true, [&] { EXPECT_TRUE(game->takeBack()); }, "a take back"}};
    for (const auto& [moveFirst, change, why] : rows) {
        game->newGame(true);
        size_t from = fake.size();
        if (moveFirst) { // the extra turn's analysis is under way when the hint comes
            game->userMove(4);
            waitFor(from, text("pit", kUserStore, 1, kRestColor));
        }
        Board position;
        position.stones = game->shownCounts();
        const Texts status = {"statusPit 1", "status 9"}; // moves 0, 1, 3 and 4 keyed best
        const std::vector<int32_t> best =
            moveFirst ? std::vector{0, 1, 3} : std::vector{0, 1, 3, 4};
        fake.held = 150;
        fake.heldLeft = change ? 1 : 0;
        fake.tickStep = 2000;
        from = fake.size();
        game->hint();
        const size_t shown = waitFor(from, "statusPit .*");
        fake.tickStep = 0;
        Texts expected = hintShown(status, best, position);
        if (change) {
            waitFor(from, "held");
            game->hint();
            const auto start = std::chrono::steady_clock::now();
            change();
            EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms) << why;
            expected = Texts(expected.begin(), expected.begin() + 2 + best.size() + 1) +
                       Texts{"held"} + Texts(expected.end() - best.size(), expected.end());
        }
        waitFor(from, expected.back());
        EXPECT_EQ(fake.threadAt(shown), expected) << why;
        EXPECT_EQ(count(fake.texts(from), "statusPit .*"), 1) << why;
    }
}

} // namespace
} // namespace pebbo::testing
