#pragma once

#include "rules/Board.h"
#include "search/RootSearch.h"
#include "search/Searcher.h"

namespace pebbo {

// The root search as the Game calls it; tests put a scripted search here to
// control results, depths and how long an iteration takes.
class MoveSearch {
public:
    virtual ~MoveSearch() = default;
    virtual void searchRoot(Searcher& searcher, const Board& root, RootResults& results,
                            bool freshStart) = 0;
};

// The engine's two-worker root search.
MoveSearch& engineSearch();

} // namespace pebbo
