#pragma once

#include "rules/Board.h"
#include "search/Searcher.h"

#include <cstdint>
#include <map>

namespace pebbo {

// Key -> move index; smaller keys are better for the side to move, and entries
// with equal keys keep their insertion order. The first entries sharing the
// first key are the equally best moves.
using RootResults = std::multimap<int32_t, int32_t>;

// Searches every root move of `root` on two worker threads and refills `results`.
// freshStart: order the root moves afresh and zero the leaf counts; otherwise
// take the root moves in the order of `results` and keep counting.
void searchRoot(Searcher& searcher, const Board& root, RootResults& results, bool freshStart);

// The game always searches with two workers; fewer exist for measuring the engine.
inline constexpr int32_t kRootWorkers = 2;
void searchRoot(Searcher& searcher, const Board& root, RootResults& results, bool freshStart,
                int32_t workerCount);

} // namespace pebbo
