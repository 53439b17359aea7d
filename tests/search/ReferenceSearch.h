#pragma once

#include "rules/Board.h"
#include "search/RootSearch.h"

#include <cstdint>
#include <map>
#include <random>

namespace pebbo::testing {

// Plain minimax over whole turns on the public rules, no pruning: what every
// root key must equal.
inline int32_t referenceScore(const Board& board, int32_t depth, int32_t depthLimit) {
    int32_t best = board.sideToMove ? -9999 : 9999;
    for (int32_t move = 0; move < 6; ++move) {
        if (!board.isLegal(move))
            continue;
        Board child = board;
        const MoveResult result = child.makeMove(move);
        int32_t childDepth = depth;
        if (result != MoveResult::ExtraTurn) {
            ++childDepth;
            child.sideToMove = child.sideToMove ? 0 : 1;
        }
        const bool goOn =
            child.gameContinues() && (childDepth < depthLimit || result == MoveResult::ExtraTurn);
        const int32_t score =
            goOn ? referenceScore(child, childDepth, depthLimit) : child.storeDifference();
        best = board.sideToMove ? std::max(best, score) : std::min(best, score);
    }
    return best;
}

// Move -> key, with the root's own rule: every root move is searched on, finished or not.
inline std::map<int32_t, int32_t> referenceKeys(const Board& root, int32_t depthLimit) {
    std::map<int32_t, int32_t> keys;
    for (int32_t move = 0; move < 6; ++move) {
        if (!root.isLegal(move))
            continue;
        Board child = root;
        int32_t depth = 0;
        if (child.makeMove(move) != MoveResult::ExtraTurn) {
            depth = 1;
            child.sideToMove = child.sideToMove ? 0 : 1;
        }
        const int32_t score = referenceScore(child, depth, depthLimit);
        keys[move] = root.sideToMove ? -score : score;
    }
    return keys;
}

inline std::map<int32_t, int32_t> keysByMove(const RootResults& results) {
    std::map<int32_t, int32_t> keys;
    for (const auto& [key, move] : results)
        keys[move] = key;
    return keys;
}

// A position reached by random legal play from the start; the game may have ended.
inline Board randomPosition(std::mt19937& random, int32_t plies) {
    Board board;
    for (int32_t ply = 0; ply < plies && board.gameContinues(); ++ply) {
        int32_t move = 0;
        do {
            move = static_cast<int32_t>(random() % 6);
        } while (!board.isLegal(move));
        if (board.makeMove(move) != MoveResult::ExtraTurn)
            board.sideToMove = board.sideToMove ? 0 : 1;
    }
    return board;
}

} // namespace pebbo::testing
