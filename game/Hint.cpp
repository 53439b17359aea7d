#include "game/Game.h"

#include <cstdlib>

namespace pebbo {

void Game::hint() {
    if (hintRunning || !userMayMove())
        return;
    hintRunning = true;
    threads.start([this, position = board] {
        giveHint(position);
        hintRunning = false;
    });
}

// The exact value when the solver finishes within kHintMilliseconds on the
// Game's clock, else the analysis' best moves of the same position. Every
// change of the position stops the hint and waits for it first, so what it
// shows is always about the position on the board.
void Game::giveHint(const Board& position) {
    if (!solver)
        solver = std::make_unique<ExactSolver>();
    const uint64_t start = clock.tickCount();
    const std::optional<Solution> solution = solver->solve(position, [this, start] {
        return hintStop || clock.tickCount() - start >= kHintMilliseconds;
    });
    MoveList best;
    int32_t status = kHintBest;
    std::optional<int32_t> margin;
    if (solution) {
        for (int32_t i = 0; i < solution->moveCount; ++i)
            if (solution->moves[i].value == solution->value)
                best.append(solution->moves[i].move);
        const int32_t value = solution->value;
        status = value > 0 ? kHintWins : value < 0 ? kHintLoses : kHintDraws;
        if (value != 0)
            margin = std::abs(value);
    } else if (!hintStop) {
        best = analysedBestMoves(position);
    }
    if (best.empty() || !showUnlessStopped(status, margin, best.moves[0] + 1))
        return;
    blinkPits(best, kBlinkTimes, kBestMoveColor, true);
    restoreAtRest(best);
}

// Paints the pits at rest even when the blinking was cut short: a stopped hint
// leaves no pit coloured or blanked.
void Game::restoreAtRest(const MoveList& list) {
    for (const int32_t pit : list)
        controller.updatePit(pit, shownAt(pit), kRestColor);
}

} // namespace pebbo
