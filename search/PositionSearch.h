#pragma once

#include "rules/Board.h"
#include "search/MoveList.h"
#include "search/SearchNode.h"
#include "search/Searcher.h"

namespace pebbo {

// Legal moves of `board`: captures (largest gain first), then extra turns (pit
// nearest the store first), then normal moves (side 1: largest gain first; side 0:
// smallest first), ties by lower index.
void orderMoves(const Searcher& searcher, const Board& board, MoveList& moves);

// Plays `move` from parent's position into child's board and sets child's depth,
// side to move and start score.
MoveResult expandChild(SearchNode& parent, int32_t move, SearchNode& child);

struct SharedWork;

// One worker of a root search: takes root jobs, then helps with the later children
// of other workers' nodes, until every job is done. Each job's outcome is its node's
// score, a depth-limited minimax.
void runRootWorker(Searcher& searcher, SharedWork& work, int32_t worker);

} // namespace pebbo
