#pragma once

#include "rules/Board.h"
#include "search/MoveList.h"
#include "search/SearchNode.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <tuple>
#include <vector>

namespace pebbo::testing {

// What one search counts, besides its scores.
struct SearchCounts {
    uint64_t leaves = 0;
    uint64_t cutoffs = 0;
    uint64_t cutoffsNearRoot = 0;
    uint64_t cutoffTests = 0;
    int32_t deepest = 0;
};

// The move order written out plainly: buckets by result, each sorted on its own.
inline MoveList plainOrder(const Board& board, bool allMoves) {
    std::array<std::vector<std::pair<int32_t, int32_t>>, 3> buckets; // (gain, move)
    for (int32_t move = 0; move < 6; ++move) {
        if (!allMoves && !board.isLegal(move))
            continue;
        Board child = board;
        const int32_t before = child.storeDifference();
        const MoveResult result = child.makeMove(move);
        buckets[static_cast<int32_t>(result)].emplace_back(
            std::abs(child.storeDifference() - before), move);
    }
    auto& [captures, extraTurns, normals] = buckets;
    std::sort(captures.begin(), captures.end(), [](auto a, auto b) {
        return std::tie(b.first, a.second) < std::tie(a.first, b.second);
    });
    std::sort(extraTurns.begin(), extraTurns.end(),
              [](auto a, auto b) { return a.second > b.second; });
    std::sort(normals.begin(), normals.end(), [&board](auto a, auto b) {
        if (a.first != b.first)
            return board.sideToMove ? a.first > b.first : a.first < b.first;
        return a.second < b.second;
    });
    MoveList moves;
    for (const auto& bucket : buckets)
        for (const auto& entry : bucket)
            moves.append(entry.second);
    return moves;
}

// The position search step by step on the public rules, with the parent's score
// as the only bound: what every count of the real search must equal.
struct CountingSearch {
    int32_t depthLimit;
    bool allMoves = false;
    bool pruning = true;
    bool pruneShallow = false;
    SearchCounts counts;

    // `parentScore` is null for a node without a parent.
    int32_t search(const Board& board, int32_t depth, const int32_t* parentScore,
                   int32_t parentDepth) {
        int32_t score = startScore(board.sideToMove);
        const bool mayCut = pruning && parentScore != nullptr && (depth > 1 || pruneShallow) &&
                            depth != parentDepth;
        for (const int32_t move : plainOrder(board, allMoves)) {
            Board child = board;
            const MoveResult result = child.makeMove(move);
            int32_t childDepth = depth;
            if (result != MoveResult::ExtraTurn) {
                ++childDepth;
                child.sideToMove = child.sideToMove ? 0 : 1;
            }
            counts.deepest = std::max(counts.deepest, childDepth);
            int32_t childScore;
            if (child.gameContinues() &&
                (childDepth < depthLimit || result == MoveResult::ExtraTurn)) {
                childScore = search(child, childDepth, &score, depth);
            } else {
                ++counts.leaves;
                childScore = child.storeDifference();
            }
            score = board.sideToMove ? std::max(score, childScore) : std::min(score, childScore);
            if (mayCut) {
                ++counts.cutoffTests;
                if (board.sideToMove ? score >= *parentScore : score <= *parentScore) {
                    ++counts.cutoffs;
                    if (depth == 1)
                        ++counts.cutoffsNearRoot;
                    break;
                }
            }
        }
        return score;
    }
};

} // namespace pebbo::testing
