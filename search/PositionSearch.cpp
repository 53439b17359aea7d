#include "search/PositionSearch.h"

#include "search/MoveOrdering.h"

#include <algorithm>

namespace pebbo {

void orderMoves(const Searcher& searcher, const Board& board, MoveList& moves) {
    OrderedChildren children;
    const PackedBoard packed = PackedBoard::from(board);
    if (packed.sideToMove())
        orderChildren<1>(packed, searcher.allMoves != 0, children);
    else
        orderChildren<0>(packed, searcher.allMoves != 0, children);
    moves.clear();
    for (int32_t slot = 0; slot < children.count; ++slot)
        moves.append(OrderedChildren::move(children.key[slot]));
}

MoveResult expandChild(SearchNode& parent, int32_t move, SearchNode& child) {
    child.board->copyFrom(*parent.board);
    child.depth = parent.depth;
    child.parent = &parent;
    const MoveResult result = child.board->makeMove(move);
    if (result != MoveResult::ExtraTurn) {
        ++child.depth;
        child.board->sideToMove = child.board->sideToMove ? 0 : 1;
    }
    child.score = startScore(child.board->sideToMove);
    return result;
}

namespace {

// One job's recursion. Statistics are kept locally and published in batches, so
// the workers do not write shared cache lines per node.
class SubtreeSearch {
public:
    SubtreeSearch(const Searcher& searcher, std::atomic<uint64_t>& leafCount)
        : running_(searcher.running), leafCount_(leafCount), depthLimit_(searcher.depthLimit),
          allMoves_(searcher.allMoves != 0), pruning_(searcher.pruning != 0),
          pruneShallow_(searcher.pruneShallow != 0) {}

    // May a node at `depth`, reached from a node at `parentDepth`, be cut off?
    bool mayCut(int32_t depth, int32_t parentDepth) const {
        return pruning_ && (depth > 1 || pruneShallow_) && depth != parentDepth;
    }

    int32_t search(const PackedBoard& board, int32_t depth, bool cut, int32_t bound) {
        if (depth + 1 >= depthLimit_)
            return board.sideToMove() ? searchAs<1, true>(board, depth, cut, bound)
                                      : searchAs<0, true>(board, depth, cut, bound);
        return board.sideToMove() ? searchAs<1, false>(board, depth, cut, bound)
                                  : searchAs<0, false>(board, depth, cut, bound);
    }

    void publish(Searcher& searcher) {
        publishLeaves();
        searcher.cutoffs.fetch_add(cutoffs_, std::memory_order_relaxed);
        searcher.cutoffsNearRoot.fetch_add(cutoffsNearRoot_, std::memory_order_relaxed);
        searcher.cutoffTests.fetch_add(cutoffTests_, std::memory_order_relaxed);
        int32_t seen = searcher.deepestDepth.load(std::memory_order_relaxed);
        while (seen < deepest_ && !searcher.deepestDepth.compare_exchange_weak(
                                      seen, deepest_, std::memory_order_relaxed)) {
        }
    }

private:
    // Often enough for a live position count, rarely enough not to matter.
    static constexpr uint64_t kLeafBatch = uint64_t{1} << 16;

    template <int Side, bool Horizon>
    int32_t searchAs(const PackedBoard& board, int32_t depth, bool cut, int32_t bound) {
        return cut ? search<Side, Horizon, true>(board, depth, bound)
                   : search<Side, Horizon, false>(board, depth, bound);
    }

    // Returns the node's score. `Side` is the side to move. `Horizon`: every move
    // that hands over the turn from here reaches a leaf. `Cut`: the node may be cut
    // off, against `bound`, its parent's score while this node is searched.
    template <int Side, bool Horizon, bool Cut>
    int32_t search(const PackedBoard& board, int32_t depth, int32_t bound) {
        int32_t score = startScore(Side);
        if (!running_.load(std::memory_order_relaxed))
            return score;
        OrderedChildren children;
        orderChildren<Side>(board, allMoves_, children);
        for (int32_t tried = 0; tried < children.count; ++tried) {
            if (!running_.load(std::memory_order_relaxed))
                break;
            const int32_t key = children.key[tried];
            PackedBoard& child = children.board[OrderedChildren::move(key)];
            const bool extraTurn = OrderedChildren::extraTurn(key);

            // Step 1: search on, or evaluate a leaf. A turn of extra moves at the
            // horizon is played out, so no leaf lies in the middle of a turn.
            int32_t childScore;
            if (Horizon && !extraTurn) {
                deepest_ = std::max(deepest_, depth + 1);
                ++pendingLeaves_;
                childScore = child.leafScore();
            } else {
                int32_t childDepth = depth;
                if (!extraTurn) {
                    ++childDepth;
                    child.passTurn();
                }
                deepest_ = std::max(deepest_, childDepth);
                if (child.gameContinues() && (childDepth < depthLimit_ || extraTurn)) {
                    // A node reached by an extra turn is never cut off.
                    const bool childCut = mayCut(childDepth, depth);
                    if (extraTurn)
                        childScore = search<Side, Horizon, false>(child, childDepth, score);
                    else if (childDepth + 1 >= depthLimit_)
                        childScore = searchAs<1 - Side, true>(child, childDepth, childCut, score);
                    else
                        childScore = searchAs<1 - Side, false>(child, childDepth, childCut, score);
                } else {
                    ++pendingLeaves_;
                    childScore = child.storeDifference();
                }
            }

            // Step 2: fold the child's score.
            score = Side ? std::max(score, childScore) : std::min(score, childScore);

            // Step 3: once this node cannot beat what its parent already has, the
            // parent will not choose it; ties cut too.
            if constexpr (Cut) {
                ++cutoffTests_;
                if (Side ? score >= bound : score <= bound) {
                    ++cutoffs_;
                    if (depth == 1)
                        ++cutoffsNearRoot_;
                    break;
                }
            }
        }
        if (pendingLeaves_ >= kLeafBatch)
            publishLeaves();
        return score;
    }

    // One writer per slot: a plain read and write, no locked add.
    void publishLeaves() {
        leafCount_.store(leafCount_.load(std::memory_order_relaxed) + pendingLeaves_,
                         std::memory_order_relaxed);
        pendingLeaves_ = 0;
    }

    const std::atomic<uint8_t>& running_;
    std::atomic<uint64_t>& leafCount_;
    const int32_t depthLimit_;
    const bool allMoves_;
    const bool pruning_;
    const bool pruneShallow_;
    uint64_t pendingLeaves_ = 0;
    int32_t deepest_ = 0;
    uint64_t cutoffs_ = 0;
    uint64_t cutoffsNearRoot_ = 0;
    uint64_t cutoffTests_ = 0;
};

} // namespace

void searchNode(Searcher& searcher, const SearchJob& job) {
    assert(job.node != nullptr && job.node->board != nullptr && job.leafCount != nullptr);
    SearchNode& node = *job.node;
    SubtreeSearch subtree(searcher, *job.leafCount);
    const SearchNode* parent = node.parent;
    const bool cut = parent != nullptr && subtree.mayCut(node.depth, parent->depth);
    node.score = subtree.search(PackedBoard::from(*node.board), node.depth, cut,
                                parent != nullptr ? parent->score : 0);
    subtree.publish(searcher);
}

} // namespace pebbo
