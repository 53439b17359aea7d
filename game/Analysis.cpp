#include "game/Game.h"

namespace pebbo {

// Starts the analysis of the user's position in `board`. A previous analysis is
// let finish first: one Searcher serves one search at a time.
void Game::startAnalysis() {
    waitWhile(analysisRunning, kShortPoll);
    analysisDone = false;
    analysisRunning = true;
    {
        std::lock_guard lock(analysisMutex);
        analysisPosition = board.stones;
    }
    threads.start([this, copy = board] {
        analyse(copy);
        analysisRunning = false;
    });
}

void Game::analyse(Board copy) {
    if (copy.gameContinues()) {
        RootResults found;
        copy.sideToMove = 1;
        search.searchRoot(analysisSearcher, copy, found, true);
        if (analysisSearcher.running) {
            std::lock_guard lock(analysisMutex);
            bestMoves.clear();
            for (const auto& [key, pit] : found) {
                if (key != found.begin()->first)
                    break;
                bestMoves.append(pit);
            }
            bestMovesPosition = analysisPosition;
        }
    }
    analysisDone = true;
}

// Fills judgedBestMoves for the move about to be played. With the best-move
// display on, the best moves must be those of this very position: an analysis
// of it is started if none has delivered or runs, and waited for.
void Game::judgeAgainstBestMoves() {
    judgedBestMoves.clear();
    if (!settings.animateBest)
        return;
    bool known = false;
    bool running = false;
    {
        std::lock_guard lock(analysisMutex);
        known = bestMovesPosition == board.stones;
        running = analysisRunning && analysisPosition == board.stones;
    }
    if (!known) {
        if (!running)
            startAnalysis();
        while (!analysisDone)
            pause(kShortPoll);
        analysisDone = false;
    }
    std::lock_guard lock(analysisMutex);
    if (bestMovesPosition == board.stones)
        judgedBestMoves = bestMoves;
}

bool Game::isBestMove(int32_t pit) const {
    return judgedBestMoves.empty() || judgedBestMoves.contains(pit);
}

} // namespace pebbo
