#include "game/Game.h"

#include <cstdlib>

namespace pebbo {

Game::Game(GameController& gameController, Settings& gameSettings, ResultsRecord& resultsRecord,
           SoundBank& soundBank, Clock& gameClock, MoveSearch& moveSearch)
    : controller(gameController), settings(gameSettings), record(resultsRecord), sounds(soundBank),
      clock(gameClock), search(moveSearch) {
    readLevel();
    searcher.depthLimit = depthTable[level];
    analysisSearcher.depthLimit = kAnalysisDepth;
    copyShown(board);
    loadSounds();
}

Game::~Game() {
    shuttingDown = true;
    stopThreads();
    threads.joinAll();
    unloadSounds();
}

void Game::newGame(bool userFirst) {
    stopActivity();
    board.reset();
    board.sideToMove = userFirst ? 1 : 0;
    resumeFromBoard();
    computerTurns = 0;
    takeBackPoints.clear();
    {
        std::lock_guard lock(analysisMutex);
        bestMoves.clear();
        bestMovesPosition.reset();
    }
    analysisDone = false;
    gameActive = true;
    if (userFirst)
        controller.showStatus(kYourTurn);
    else
        startComputerTurn();
}

void Game::userMove(int32_t pit) {
    if (!userMayMove())
        return;
    board.sideToMove = 1;
    if (!board.isLegal(pit))
        return;
    userMoveBusy = true;
    stopHint();
    takeBackPoints.push_back({board.stones, computerTurns});

    judgeAgainstBestMoves();
    copyShown(board);
    startMoveAnimation(pit, 1, true, isBestMove(pit));
    if (board.makeMove(pit) == MoveResult::ExtraTurn) {
        // The user moves again, unless that move emptied the user's row.
        if (board.sweepIfEmpty(1))
            startFinishGame();
        else if (settings.animateBest)
            startAnalysis(board);
    } else {
        // The computer searches while the user's move is still being shown.
        startComputerTurn();
    }
    userMoveBusy = false;
}

bool Game::takeBack() {
    if (!canTakeBack())
        return false;
    stopThreads();
    const TakeBackPoint point = takeBackPoints.back();
    takeBackPoints.pop_back();
    board.stones = point.stones;
    board.sideToMove = 1;
    computerTurns = point.computerTurns;
    resumeFromBoard();
    controller.showStatus(kYourTurn);
    if (settings.animateBest)
        startAnalysis(board);
    return true;
}

bool Game::canTakeBack() const {
    return !takeBackPoints.empty() && userMayMove();
}

// The user's turn with nothing of the Game busy but the analysis or a hint. A
// worker clears its flag under handOverMutex as its last step is shown: once
// "Your Turn" shows, the user may move.
bool Game::userMayMove() const {
    std::lock_guard lock(handOverMutex);
    return gameActive && !computerTurn && !animating && !endingGame && !userMoveBusy;
}

// Shows `board` after a stop, which may have left pits coloured or blanked, and
// lets the searches run again.
void Game::resumeFromBoard() {
    copyShown(board);
    for (int32_t pit = 0; pit < kPitCount; ++pit)
        showAtRest(pit);
    searcher.running = 1;
    analysisSearcher.running = 1;
}

std::array<int32_t, kPitCount> Game::shownCounts() const {
    std::lock_guard lock(shownMutex);
    return shown;
}

void Game::stopActivity() {
    controller.stopStatsTimer();
    stopThreads();
}

// Stops every search, cuts the animation and the hint short, ends every pause
// and waits until no thread of the Game is left, so nothing of the old game
// reaches the next one. The hint goes first: it may start an analysis. The
// animation stays aborted until the computer's turn has ended: that turn may
// still start one last animation after the stop.
void Game::stopThreads() {
    {
        std::lock_guard lock(handOverMutex);
        searcher.running = 0;
        analysisSearcher.running = 0;
    }
    stopWorkers({&hintRunning, &computerTurn, &endingGame, &analysisRunning, &animating});
}

// Only while no animation runs (a user move): the hint borrows its abort, and
// the analysis goes on for the move to be judged against.
void Game::stopHint() {
    if (hintRunning)
        stopWorkers({&hintRunning});
}

void Game::stopWorkers(std::initializer_list<const std::atomic<bool>*> flags) {
    {
        std::lock_guard lock(handOverMutex);
        abortAnimation = true;
        stopping = true;
        hintStop = true;
    }
    for (const std::atomic<bool>* flag : flags)
        waitWhile(*flag, kShortPoll);
    abortAnimation = false;
    stopping = false;
    hintStop = false;
}

void Game::waitWhile(const std::atomic<bool>& flag, uint32_t pollMilliseconds) {
    while (flag)
        pause(pollMilliseconds);
}

// Every pause of the Game, so that a stop ends them all within a slice.
void Game::pause(uint32_t milliseconds) {
    clock.sleepUnless(milliseconds, stopping);
}

void Game::startFinishGame() {
    endingGame = true;
    threads.start([this, final = board] {
        waitWhile(animating, kWorkerPoll);
        finishGame(final);
        endingGame = false;
    });
}

// Recorded before the result shows, at the level the computer played, and outside the
// hand-over lock: saving the file must not hold up the user-interface thread.
void Game::finishGame(const Board& final) {
    if (!searcher.running)
        return;
    const int32_t difference = final.storeDifference();
    record.add(level, difference);
    std::lock_guard lock(handOverMutex);
    if (!searcher.running)
        return;
    // The last sweep is shown at once, without animation.
    copyShown(final);
    controller.refreshPits();
    if (difference != 0) {
        controller.setWinner(difference < 0);
        controller.setStatusNumber(std::abs(difference));
        controller.showStatus(kWinner);
    } else {
        controller.showStatus(kDraw);
    }
    gameActive = false;
}

// Shows a worker's status, with its pit and number first, unless the work was stopped.
bool Game::showUnlessStopped(int32_t status, std::optional<int32_t> number,
                             std::optional<int32_t> pit) {
    std::lock_guard lock(handOverMutex);
    if (!searcher.running || hintStop)
        return false;
    if (pit)
        controller.setStatusPit(*pit);
    if (number)
        controller.setStatusNumber(*number);
    controller.showStatus(status);
    return true;
}

int32_t Game::shownAt(int32_t pit) const {
    std::lock_guard lock(shownMutex);
    return shown[pit];
}

void Game::setShown(int32_t pit, int32_t count) {
    std::lock_guard lock(shownMutex);
    shown[pit] = count;
}

void Game::copyShown(const Board& source) {
    std::lock_guard lock(shownMutex);
    shown = source.stones;
}

} // namespace pebbo
