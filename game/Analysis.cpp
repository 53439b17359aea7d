#include "game/Game.h"

namespace pebbo {

// Starts the analysis of `position`, the user's to move. A previous analysis is
// let finish first: one Searcher serves one search at a time.
void Game::startAnalysis(const Board& position) {
    waitWhile(analysisRunning, kShortPoll);
    analysisDone = false;
    analysisRunning = true;
    {
        std::lock_guard lock(analysisMutex);
        analysisPosition = position.stones;
    }
    threads.start([this, copy = position] {
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

// The best moves of this very position: an analysis of it is started if none
// has delivered or runs, and waited for, unless a stop of the hint ends the
// wait. Empty when the analysis was stopped.
MoveList Game::analysedBestMoves(const Board& position) {
    bool known = false;
    bool running = false;
    {
        std::lock_guard lock(analysisMutex);
        known = bestMovesPosition == position.stones;
        running = analysisRunning && analysisPosition == position.stones;
    }
    if (!known) {
        if (!running)
            startAnalysis(position);
        while (!analysisDone && !hintStop)
            pause(kShortPoll);
        analysisDone = false;
    }
    std::lock_guard lock(analysisMutex);
    return bestMovesPosition == position.stones ? bestMoves : MoveList{};
}

// Fills judgedBestMoves for the move about to be played, with the best-move display on.
void Game::judgeAgainstBestMoves() {
    judgedBestMoves.clear();
    if (settings.animateBest)
        judgedBestMoves = analysedBestMoves(board);
}

bool Game::isBestMove(int32_t pit) const {
    return judgedBestMoves.empty() || judgedBestMoves.contains(pit);
}

} // namespace pebbo
