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

// Depth-limited minimax of the job's node; the outcome is the node's score.
void searchNode(Searcher& searcher, const SearchJob& job);

} // namespace pebbo
