#include "search/RootSearch.h"

#include "search/MoveList.h"
#include "search/PositionSearch.h"
#include "search/SearchNode.h"
#include "search/SharedWork.h"

#include <array>
#include <cassert>
#include <system_error>
#include <thread>

namespace pebbo {

namespace {

// The root moves of a later deepening step: the previous results in their order.
// Anything that is not a distinct playable move of this position is dropped, so a
// stale map can neither overflow the list nor sow from a pit that does not exist.
void previousOrder(const Searcher& searcher, const Board& root, const RootResults& results,
                   MoveList& moves) {
    moves.clear();
    for (const auto& [key, move] : results) {
        const bool playable = searcher.allMoves ? move >= 0 && move <= 5 : root.isLegal(move);
        if (playable && !moves.contains(move))
            moves.append(move);
    }
}

} // namespace

void searchRoot(Searcher& searcher, const Board& root, RootResults& results, bool freshStart) {
    searchRoot(searcher, root, results, freshStart, kRootWorkers);
}

void searchRoot(Searcher& searcher, const Board& root, RootResults& results, bool freshStart,
                int32_t workerCount) {
    assert(workerCount >= 1 && workerCount <= kRootWorkers);
    // Step 1: the root moves.
    MoveList moves;
    if (freshStart) {
        for (auto& count : searcher.leafCounts)
            count.store(0, std::memory_order_relaxed);
        orderMoves(searcher, root, moves);
    } else {
        previousOrder(searcher, root, results, moves);
    }

    // Step 2: a clean slate. The root record's score is never updated, so root
    // moves never cut each other off.
    results.clear();
    searcher.deepestDepth.store(0, std::memory_order_relaxed);
    searcher.cutoffs.store(0, std::memory_order_relaxed);
    searcher.cutoffsNearRoot.store(0, std::memory_order_relaxed);
    searcher.cutoffTests.store(0, std::memory_order_relaxed);
    searcher.sharedChildren.store(0, std::memory_order_relaxed);
    searcher.awaitedSubtrees.store(0, std::memory_order_relaxed);
    Board rootBoard;
    rootBoard.copyFrom(root);
    SearchNode rootRecord{nullptr, &rootBoard, 0, startScore(root.sideToMove)};

    // Step 3: nothing to choose means nothing to search (a finished game has no
    // entry at all rather than a made-up one).
    if (moves.count == 0)
        return;
    if (moves.count == 1) {
        results.emplace(0, moves.moves[0]);
        return;
    }

    // Step 4: one job per root move; job i owns board i, node i and slot i.
    std::array<Board, 6> boards;
    std::array<SearchNode, 6> nodes;
    std::array<SearchJob, 6> jobs;
    SharedWork work;
    work.splitting = workerCount > 1;
    work.unfinishedJobs = moves.count;
    for (int32_t i = 0; i < moves.count; ++i) {
        nodes[i].board = &boards[i];
        expandChild(rootRecord, moves.moves[i], nodes[i]);
        jobs[i] = SearchJob{&nodes[i], &searcher.leafCounts[i]};
        work.jobs.push(&jobs[i]);
    }

    // Step 5: the workers. Should the system refuse every thread, this thread works
    // the queue itself: a slower search beats losing the game in progress.
    std::array<std::thread, kRootWorkers> workers;
    int32_t started = 0;
    for (; started < workerCount; ++started) {
        try {
            workers[started] =
                std::thread(runRootWorker, std::ref(searcher), std::ref(work), started);
        } catch (const std::system_error&) {
            break;
        }
    }
    if (started == 0)
        runRootWorker(searcher, work, 0);
    for (int32_t i = 0; i < started; ++i)
        workers[i].join();

    // Step 6: keys from the mover's point of view, smaller is better; equal keys
    // keep list order.
    for (int32_t i = 0; i < moves.count; ++i) {
        const int32_t score = nodes[i].score;
        results.emplace(root.sideToMove ? -score : score, moves.moves[i]);
    }
}

} // namespace pebbo
