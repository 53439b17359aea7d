#include "game/Game.h"

#include <cassert>
#include <random>

namespace pebbo {
namespace {

// The pits of all entries that share the first (best) key, in tree order.
MoveList equallyBest(const RootResults& results) {
    MoveList best;
    for (const auto& [key, pit] : results) {
        if (key != results.begin()->first)
            break;
        best.append(pit);
    }
    return best;
}

// Sets of distinct pits compared regardless of the order the tree listed them in.
uint32_t pitMask(const MoveList& list) {
    uint32_t mask = 0;
    for (const int32_t pit : list)
        mask |= 1u << pit;
    return mask;
}

bool sameMoves(const MoveList& a, const MoveList& b) {
    return a.count == b.count && pitMask(a) == pitMask(b);
}

} // namespace

void Game::readLevel() {
    level = validLevel(settings.level);
    masterLevel = level == kMaxLevel;
    searcher.depthLimit = depthTable[level];
}

void Game::startComputerTurn() {
    computerTurn = true;
    readLevel();
    if (settings.showTech)
        controller.startStatsTimer();
    threads.start([this] {
        const bool gameOver = playComputerTurn();
        if (gameOver)
            finishGame(board);
        std::lock_guard lock(handOverMutex);
        if (!gameOver && searcher.running)
            controller.showStatus(kYourTurn);
        computerTurn = false;
    });
}

// Plays the computer's moves up to the hand-over, which its thread shows.
bool Game::playComputerTurn() {
    const int32_t turn = ++computerTurns;
    board.sideToMove = 0;
    bool gameOver = false;
    MoveResult result = MoveResult::Normal;
    while (searcher.running) {
        if (!board.gameContinues()) {
            gameOver = true;
            break;
        }
        if (turn == 1) {
            // The whole first turn of a game is played at random, unsearched.
            results.clear();
            for (int32_t pit = 0; pit < 6; ++pit)
                if (board.isLegal(pit))
                    results.emplace(0, pit);
        } else if (!searchComputerMove()) {
            break;
        }
        const int32_t pit = chooseMove(results);

        if (settings.animate && animating)
            showUnlessStopped(kWillTurn, 6 - pit);
        waitWhile(animating, kWorkerPoll);
        if (settings.animate && showUnlessStopped(kTurningFrom, 6 - pit))
            pause(1000);
        if (!searcher.running)
            break; // stopped: no further move
        copyShown(board);
        startMoveAnimation(pit, board.sideToMove, false, false);
        result = board.makeMove(pit);
        if (!board.gameContinues()) {
            gameOver = true;
            break;
        }
        if (result != MoveResult::ExtraTurn)
            break;
    }
    board.sideToMove = 1;
    if (!searcher.running)
        return gameOver;
    controller.stopStatsTimer();
    if (settings.animateBest)
        startAnalysis(board);
    waitWhile(animating, kWorkerPoll);
    return gameOver;
}

// One searched move: "Thinking...", then one search or, at Master, deeper
// iterations while each takes less than timeLimit. False when it was stopped.
bool Game::searchComputerMove() {
    showUnlessStopped(kThinking);
    const bool measured = settings.showTech;
    if (measured)
        controller.setStatsLive(true);
    readLevel();
    searchEnd = 0;
    searchStart = clock.tickCount();
    for (int32_t iteration = 0;;) {
        searcher.depthLimit = depthTable[level] + iteration;
        const uint64_t before = clock.tickCount();
        search.searchRoot(searcher, board, results, iteration == 0);
        const double seconds = static_cast<double>(clock.tickCount() - before) / 1000.0;
        if (!searcher.running || !masterLevel || results.size() < 2 ||
            searcher.deepestDepth < searcher.depthLimit || iterationsAgree(iteration, results))
            break;
        ++iteration;
        if (!(seconds < timeLimit) || iteration >= kMaxIterations)
            break;
    }
    searchEnd = clock.tickCount();
    const bool completed = searcher.running != 0;
    if (measured) {
        if (completed)
            controller.refreshStats();
        controller.setStatsLive(false);
    }
    return completed;
}

int32_t Game::chooseMove(const RootResults& found) {
    const MoveList candidates = equallyBest(found);
    assert(candidates.count > 0); // a game that goes on always has a legal move
    if (candidates.count == 1)
        return candidates.moves[0];
    // Seeded afresh from the clock at every choice: two choices within one
    // millisecond pick alike.
    std::minstd_rand generator(static_cast<uint32_t>(clock.tickCount()));
    std::uniform_int_distribution<int32_t> pick(0, candidates.count - 1);
    return candidates.moves[pick(generator)];
}

// Master stops deepening once the best moves of three iterations in a row agree.
bool Game::iterationsAgree(int32_t iteration, const RootResults& found) {
    const MoveList best = equallyBest(found);
    if (iteration < 3) {
        bestHistory[iteration] = best;
        return false;
    }
    bestHistory[0] = bestHistory[1];
    bestHistory[1] = bestHistory[2];
    bestHistory[2] = best;
    return sameMoves(bestHistory[0], bestHistory[1]) && sameMoves(bestHistory[1], bestHistory[2]);
}

} // namespace pebbo
