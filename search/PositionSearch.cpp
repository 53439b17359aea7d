#include "search/PositionSearch.h"

#include "search/MoveOrdering.h"
#include "search/SharedWork.h"

#include <algorithm>
#include <cassert>

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

// A node's later children are handed out when its first child's subtree counted
// this many positions: smaller ones cost more to share than they gain.
constexpr uint64_t kShareLeaves = uint64_t{1} << 13;
// Only nodes with this many turns left or more, and this near the root, are
// shared, look in the table all workers share, or notice that their piece was
// abandoned. Those steps would cost the many smaller subtrees more time than
// sharing them could gain: they seldom reach `kShareLeaves` and soon end by
// themselves. Deep in a long search, where few stones are left, the turns left
// say little of a subtree's size.
constexpr int32_t kShareRemaining = 6;
constexpr int32_t kShareDepth = 8;
// How far past the children whose scores are known a split point hands out: the
// further, the weaker the bound a child starts with, and the more of its search
// is wasted.
// A node that may be cut off wastes too all its children past the cut, so it
// hands out one at a time.
constexpr int32_t kShareAhead = 2;
constexpr int32_t kShareAheadIfCut = 1;

// Big subtrees of shared nodes are also kept where every worker finds them: the
// others would otherwise search them again. The rest stay with their worker, as
// the cores would spend more on passing the table's lines to and fro than they
// save.
constexpr uint64_t kSharedLeaves = 1000;
// Two root moves often meet in one subtree a move later, while the first still
// searches it. A worker that reaches a subtree this near the root that another
// is searching waits for its result rather than search it a second time. Once
// every root move is taken, the workers share the children of the same root
// moves, whose subtrees meet deeper down as well.
constexpr int32_t kAwaitDepth = 2;
constexpr int32_t kAwaitDepthAllTaken = 8;
static_assert(kAwaitDepth <= kAwaitDepthAllTaken && kAwaitDepthAllTaken <= kShareDepth,
              "an awaited result is found in the shared table");

// Step 3's test: the node's score reached its parent's, so the parent will not choose it.
constexpr bool reaches(int32_t side, int32_t score, int32_t bound) {
    return side ? score >= bound : score <= bound;
}
template <int Side> constexpr bool reaches(int32_t score, int32_t bound) {
    return reaches(Side, score, bound);
}

// Where the one-thread search stops a child of a node whose score so far is
// `bound`: its first record that reaches it, else its last.
int32_t cutRecord(const ChildSlot& slot, int32_t count, int32_t childSide, int32_t bound) {
    for (int32_t step = 0; slot.mayCut && step < count; ++step) {
        if (reaches(childSide, slot.records[step].score, bound))
            return step;
    }
    return count - 1;
}

bool claimFrom(Searcher& searcher, SharedWork& work, int32_t worker, int32_t owner,
               int32_t firstLevel, std::unique_lock<std::mutex>& lock);

// One piece of a search: a root job or a shared child. Statistics are kept locally
// and published in batches, so the workers do not write shared cache lines per node.
// `Sharing`, a parameter of the node steps: other workers may take part. Only the
// nodes `searchedAsShared` picks are searched so, and the many others have no test
// for it.
class SubtreeSearch {
public:
    // `abandoned`: set once the search of this piece is no longer wanted; none for a root job.
    SubtreeSearch(Searcher& searcher, std::atomic<uint64_t>& leafCount, SharedWork& work,
                  int32_t worker, const std::atomic<bool>* abandoned)
        : searcher_(searcher), running_(searcher.running), abandoned_(abandoned),
          leafCount_(leafCount), work_(work), cache_(work.caches[worker]), worker_(worker),
          depthLimit_(searcher.depthLimit), allMoves_(searcher.allMoves != 0),
          pruning_(searcher.pruning != 0), pruneShallow_(searcher.pruneShallow != 0) {}

    // May a node at `depth`, reached from a node at `parentDepth`, be cut off?
    bool mayCut(int32_t depth, int32_t parentDepth) const {
        return pruning_ && (depth > 1 || pruneShallow_) && depth != parentDepth;
    }

    int32_t search(const PackedBoard& board, int32_t depth, bool cut, int32_t bound) {
        if (work_.splitting && searchedAsShared(depth))
            return board.sideToMove() ? searchAs<true, 1, false>(board, depth, cut, bound)
                                      : searchAs<true, 0, false>(board, depth, cut, bound);
        if (depth + 1 >= depthLimit_)
            return board.sideToMove() ? searchAs<false, 1, true>(board, depth, cut, bound)
                                      : searchAs<false, 0, true>(board, depth, cut, bound);
        return board.sideToMove() ? searchAs<false, 1, false>(board, depth, cut, bound)
                                  : searchAs<false, 0, false>(board, depth, cut, bound);
    }

    // Searches child `index` of `point` against `bound` into its slot.
    void searchChild(SplitPoint& point, int32_t index, int32_t bound) {
        if (point.side)
            searchChildOf<1>(point, index, bound);
        else
            searchChildOf<0>(point, index, bound);
        publishLeaves();
        point.slots[index].published = tally_.leaves;
    }

    void publish() {
        publishLeaves();
        searcher_.cutoffs.fetch_add(tally_.cutoffs, std::memory_order_relaxed);
        searcher_.cutoffsNearRoot.fetch_add(tally_.cutoffsNearRoot, std::memory_order_relaxed);
        searcher_.cutoffTests.fetch_add(tally_.cutoffTests, std::memory_order_relaxed);
        int32_t seen = searcher_.deepestDepth.load(std::memory_order_relaxed);
        while (seen < tally_.deepest && !searcher_.deepestDepth.compare_exchange_weak(
                                            seen, tally_.deepest, std::memory_order_relaxed)) {
        }
    }

private:
    // Often enough for a live position count, rarely enough not to matter.
    static constexpr uint64_t kLeafBatch = uint64_t{1} << 16;

    template <bool Sharing, int Side, bool Horizon>
    int32_t searchAs(const PackedBoard& board, int32_t depth, bool cut, int32_t bound) {
        if (cut)
            return search<Sharing, Side, Horizon, true, false>(board, depth, bound, nullptr);
        if constexpr (Horizon)
            return playOut<Side>(board, depth);
        else
            return search<Sharing, Side, false, false, false>(board, depth, bound, nullptr);
    }

    // A horizon node that is never cut off: its extra turns are not cut off
    // either, so its score and counts are the same in any order, and its children
    // are played out as they come, neither sorted nor stored.
    template <int Side> int32_t playOut(const PackedBoard& board, int32_t depth) {
        int32_t score = startScore(Side);
        int32_t deepest = depth;
        const uint64_t row = board.template row<Side>();
        for (uint64_t toMake = movesToMake(row, allMoves_); toMake != 0; toMake &= toMake - 1) {
            const int32_t move = lowestMove(toMake);
            PackedBoard child = board;
            int32_t childScore;
            if (child.template sow<Side>(
                    detail::kChildSteps[Side][move][stonesOf(row, move)].sowing) !=
                MoveResult::ExtraTurn) {
                deepest = depth + 1;
                ++tally_.leaves;
                childScore = child.leafScore();
            } else if (child.gameContinues()) {
                childScore = playOut<Side>(child, depth);
            } else {
                ++tally_.leaves;
                childScore = child.storeDifference();
            }
            score = Side ? std::max(score, childScore) : std::min(score, childScore);
        }
        tally_.deepest = std::max(tally_.deepest, deepest);
        return score;
    }

    // Returns the node's score. `Side` is the side to move. `Horizon`: every move
    // that hands over the turn from here reaches a leaf. `Cut`: the node may be cut
    // off, against `bound`, its parent's score while this node is searched.
    // `Record`: the node is a shared child; it writes its running score and counts
    // after each child to `record`, leaves its own cut-off counts to the joining,
    // and stops against its split point's score read afresh, `bound` being stale.
    template <bool Sharing, int Side, bool Horizon, bool Cut, bool Record>
    int32_t search(const PackedBoard& board, int32_t depth, int32_t bound, ChildSlot* record) {
        // Depths 0 and 1 have cut-off rules of their own, and a shared child
        // records as it goes.
        const int32_t remaining = depthLimit_ - depth;
        if (Record || depth < 2 || remaining > kMaxCachedRemaining)
            return expand<Sharing, Side, Horizon, Cut, Record>(board, depth, bound, record);
        const int32_t cacheBound = Cut ? bound : kNoBound;
        // One key for both tables and for the other worker to wait on.
        const uint64_t key = SubtreeCache<false>::hash(board, remaining, cacheBound);
        auto& bucket = cache_.bucketFor(key);
        auto* const sharedBucket =
            sharesAt<Sharing, Horizon>(depth) ? &work_.sharedCache.bucketFor(key) : nullptr;
        SubtreeResult result;
        const bool announced =
            sharedBucket != nullptr &&
            (depth <= kAwaitDepth ||
             (depth <= kAwaitDepthAllTaken && work_.allTaken.load(std::memory_order_relaxed)));
        if (bucket.find(board, remaining, cacheBound, result) ||
            (sharedBucket != nullptr && sharedBucket->find(board, remaining, cacheBound, result)) ||
            (announced && awaitOther(key) &&
             sharedBucket->find(board, remaining, cacheBound, result))) {
            tally_.leaves += result.leaves;
            reusedLeaves_ += result.leaves;
            tally_.cutoffs += result.cutoffs;
            tally_.cutoffTests += result.cutoffTests;
            tally_.deepest = std::max(tally_.deepest, depth + result.deepestBelow);
            return result.score;
        }
        const bool busy = announced && enterBusy(key);
        const SearchTally before = tally_;
        tally_.deepest = depth;
        result.score = expand<Sharing, Side, Horizon, Cut, Record>(board, depth, bound, record);
        const int32_t deepest = tally_.deepest;
        tally_.deepest = std::max(before.deepest, deepest);
        // A stopped or abandoned search leaves its nodes unfinished.
        if (!stopped_) {
            result = {result.score, tally_.leaves - before.leaves, tally_.cutoffs - before.cutoffs,
                      tally_.cutoffTests - before.cutoffTests, deepest - depth};
            bucket.store(board, remaining, cacheBound, result);
            if (sharedBucket != nullptr && result.leaves >= kSharedLeaves)
                sharedBucket->store(board, remaining, cacheBound, result);
        }
        if (busy)
            leaveBusy();
        return result.score;
    }

    // The node's own search: its children in order, each scored and folded.
    template <bool Sharing, int Side, bool Horizon, bool Cut, bool Record>
    int32_t expand(const PackedBoard& board, int32_t depth, int32_t bound, ChildSlot* record) {
        int32_t score = startScore(Side);
        const bool sharable = Sharing && !Horizon && searchedAsShared(depth);
        // A shared child notices at least between its own children that it is
        // no longer wanted, however deep it lies.
        const bool watched = Record || sharable;
        if (stops(watched))
            return score;
        OrderedChildren children;
        orderChildren<Side>(board, allMoves_, children);
        [[maybe_unused]] const uint64_t evaluatedBefore = tally_.leaves - reusedLeaves_;
        for (int32_t tried = 0; tried < children.count; ++tried) {
            // A horizon node evaluates leaves only, so the check on entry suffices.
            if (!Horizon && stops(watched))
                break;
            const int32_t key = children.key[tried];
            PackedBoard& child = children.board[OrderedChildren::move(key)];
            const int32_t childScore = scoreChild<Sharing, Side, Horizon>(
                child, OrderedChildren::extraTurn(key), depth, score);
            if (fold<Side, Cut, Record>(score, childScore, tried, depth, bound, record))
                break;
            if constexpr (Sharing && !Horizon) {
                if (sharable && tried == 0 && children.count > 1 &&
                    mayShare(tally_.leaves - reusedLeaves_ - evaluatedBefore))
                    return share<Side, Cut, Record>(children, depth, score, bound, record);
            }
        }
        if (tally_.leaves - publishedLeaves_ >= kLeafBatch)
            publishLeaves();
        return score;
    }

    // Step 1: search on, or evaluate a leaf. A turn of extra moves at the horizon
    // is played out, so no leaf lies in the middle of a turn. `score` is the
    // node's running score, the child's bound.
    template <bool Sharing, int Side, bool Horizon>
    int32_t scoreChild(PackedBoard& child, bool extraTurn, int32_t depth, int32_t score) {
        if (Horizon && !extraTurn) {
            tally_.deepest = std::max(tally_.deepest, depth + 1);
            ++tally_.leaves;
            return child.leafScore();
        }
        int32_t childDepth = depth;
        if (!extraTurn) {
            ++childDepth;
            child.passTurn();
        }
        tally_.deepest = std::max(tally_.deepest, childDepth);
        if (child.gameContinues() && (childDepth < depthLimit_ || extraTurn)) {
            // A node reached by an extra turn is never cut off.
            const bool childCut = mayCut(childDepth, depth);
            if (extraTurn)
                return searchAs<Sharing, Side, Horizon>(child, childDepth, false, score);
            if (childDepth + 1 >= depthLimit_)
                return searchAs<false, 1 - Side, true>(child, childDepth, childCut, score);
            if (Sharing && searchedAsShared(childDepth))
                return searchAs<true, 1 - Side, false>(child, childDepth, childCut, score);
            return searchAs<false, 1 - Side, false>(child, childDepth, childCut, score);
        }
        ++tally_.leaves;
        return child.storeDifference();
    }

    // Steps 2 and 3: folds child `tried`'s score; true when the node stops here.
    // Once a node cannot beat what its parent already has, the parent will not
    // choose it; ties cut too.
    template <int Side, bool Cut, bool Record>
    bool fold(int32_t& score, int32_t childScore, int32_t tried, int32_t depth, int32_t bound,
              ChildSlot* record) {
        score = Side ? std::max(score, childScore) : std::min(score, childScore);
        if constexpr (Record) {
            record->records[tried] = ChildRecord{score, tally_};
            record->recordCount.store(tried + 1, std::memory_order_release);
            // Read afresh: the parent's score tightens towards the true bound as
            // the children before this one are done.
            return Cut &&
                   reaches<Side>(score, record->parentScore->load(std::memory_order_relaxed));
        }
        if constexpr (Cut) {
            ++tally_.cutoffTests;
            if (reaches<Side>(score, bound)) {
                ++tally_.cutoffs;
                if (depth == 1)
                    ++tally_.cutoffsNearRoot;
                return true;
            }
        }
        return false;
    }

    // Whether the node stops before its next child: the search was stopped or,
    // for a `watched` node, this piece was abandoned.
    bool stops(bool watched) {
        if (running_.load(std::memory_order_relaxed) && !(watched && isAbandoned()))
            return false;
        stopped_ = true;
        return true;
    }

    // Whether a node at `depth` is searched as shared.
    bool searchedAsShared(int32_t depth) const {
        return depth <= kShareDepth && depthLimit_ - depth >= kShareRemaining;
    }

    // Whether a subtree at `depth` is also kept where every worker finds it.
    template <bool Sharing, bool Horizon> bool sharesAt(int32_t depth) const {
        return Sharing && !Horizon && searchedAsShared(depth);
    }

    // Announces the subtree of `key` as searched here; false when too deeply nested.
    bool enterBusy(uint64_t key) {
        const int32_t count = work_.busyCount[worker_].load(std::memory_order_relaxed);
        if (count == SharedWork::kMaxBusy)
            return false;
        BusySubtree& subtree = work_.busy[worker_][count];
        subtree.level.store(work_.openCount[worker_], std::memory_order_relaxed);
        subtree.key.store(key, std::memory_order_relaxed);
        work_.busyCount[worker_].store(count + 1, std::memory_order_release);
        return true;
    }

    // The innermost announced subtree is done and its result stored: wakes whoever waits.
    void leaveBusy() {
        const int32_t count = work_.busyCount[worker_].load(std::memory_order_relaxed) - 1;
        // Cleared before the waiters are counted, and a waiter counts itself in
        // before it tests the key: it either sees the key cleared or is woken.
        work_.busy[worker_][count].key.store(0);
        work_.busyCount[worker_].store(count, std::memory_order_release);
        if (work_.waiters[worker_].load() > 0) {
            const std::lock_guard<std::mutex> lock(work_.mutex);
            work_.changed.notify_all();
        }
    }

    // When the other worker is searching the subtree of `key`, takes part in its
    // search until that subtree is done, and returns true. Its split points
    // inside that subtree come first; then any of its others, as waiting idle
    // costs more than the search it saves, and they are work the other worker
    // would do anyway. A worker waits for one subtree at a time, so that its
    // nesting stays within twice the tree's depth. Waits never form a cycle:
    // each worker's awaited subtree would lie below the other's, two positions
    // of one depth that follow each other, and no position follows itself.
    bool awaitOther(uint64_t key) {
        static_assert(kRootWorkers == 2, "one other worker");
        if (work_.awaiting[worker_])
            return false;
        const int32_t other = 1 - worker_;
        const int32_t count = work_.busyCount[other].load(std::memory_order_acquire);
        for (int32_t index = 0; index < count; ++index) {
            const BusySubtree& subtree = work_.busy[other][index];
            if (subtree.key.load(std::memory_order_relaxed) != key)
                continue;
            std::unique_lock<std::mutex> lock(work_.mutex);
            work_.awaiting[worker_] = true;
            work_.waiters[other].fetch_add(1);
            while (subtree.key.load() == key && !stops(true)) {
                const int32_t inside = subtree.level.load(std::memory_order_relaxed);
                if (!claimFrom(searcher_, work_, worker_, other, inside, lock) &&
                    !claimFrom(searcher_, work_, worker_, other, 0, lock))
                    work_.changed.wait(lock);
            }
            work_.waiters[other].fetch_sub(1);
            work_.awaiting[worker_] = false;
            searcher_.awaitedSubtrees.fetch_add(1, std::memory_order_relaxed);
            return true;
        }
        return false;
    }

    bool isAbandoned() const {
        return abandoned_ != nullptr && abandoned_->load(std::memory_order_relaxed);
    }

    bool mayShare(uint64_t firstLeaves) const {
        return firstLeaves >= kShareLeaves && work_.openCount[worker_] < SharedWork::kMaxNesting;
    }

    // The rest of a node whose first child is done: its later children go to
    // whichever worker is free, this one included, and are joined in order.
    template <int Side, bool Cut, bool Record>
    int32_t share(const OrderedChildren& children, int32_t depth, int32_t score, int32_t bound,
                  ChildSlot* record) {
        SplitPoint point;
        point.children = &children;
        point.leafCount = &leafCount_;
        point.owner = worker_;
        point.depth = depth;
        point.side = Side;
        point.ahead = Cut ? kShareAheadIfCut : kShareAhead;
        point.knownScore.store(score, std::memory_order_relaxed);
        std::unique_lock<std::mutex> lock(work_.mutex);
        work_.open[worker_][work_.openCount[worker_]++] = &point;
        work_.changed.notify_all();
        int32_t joined = 1;
        bool cut = false;
        for (;;) {
            while (!cut && joined < point.next && point.slots[joined].done)
                cut = join<Side, Cut, Record>(point, joined++, score, depth, bound, record);
            if (!point.closed && (cut || stops(true))) {
                // The children still out lie beyond the cut, or nothing is wanted any more.
                point.closed = true;
                for (int32_t index = joined; index < point.next; ++index)
                    point.slots[index].abandoned.store(true, std::memory_order_relaxed);
                work_.changed.notify_all();
            }
            if (claimFrom(searcher_, work_, worker_, worker_, work_.openCount[worker_] - 1, lock))
                continue;
            if (!point.closed && joined < point.next) {
                // Help only inside the children still out, so that waiting ends
                // with them and the nesting stays within the tree's depth.
                bool helped = false;
                for (int32_t index = joined; index < point.next && !helped; ++index) {
                    const ChildSlot& slot = point.slots[index];
                    helped = !slot.done &&
                             claimFrom(searcher_, work_, worker_, slot.worker, slot.base, lock);
                }
                if (!helped)
                    work_.changed.wait(lock);
                continue;
            }
            bool allDone = true;
            for (int32_t index = joined; index < point.next; ++index)
                allDone = allDone && point.slots[index].done;
            if (allDone && (point.closed || joined == children.count))
                break;
            work_.changed.wait(lock);
        }
        --work_.openCount[worker_];
        lock.unlock();
        // Children beyond the cut are not part of the search.
        for (int32_t index = joined; index < point.next; ++index)
            leafCount_.fetch_sub(point.slots[index].published, std::memory_order_relaxed);
        return score;
    }

    // Joins shared child `index` against its true bound, the node's score so far:
    // the first record that reaches it is where the one-thread search cut.
    template <int Side, bool Cut, bool Record>
    bool join(const SplitPoint& point, int32_t index, int32_t& score, int32_t depth, int32_t bound,
              ChildSlot* record) {
        const ChildSlot& slot = point.slots[index];
        tally_.deepest = std::max(tally_.deepest, slot.depth);
        const int32_t count = slot.recordCount.load(std::memory_order_relaxed);
        if (count == 0) { // stopped before it began
            stopped_ = true;
            return true;
        }
        const int32_t used = cutRecord(slot, count, 1 - Side, score);
        SearchTally ownTests;
        if (slot.mayCut) {
            ownTests.cutoffTests = used + 1;
            if (reaches<1 - Side>(slot.records[used].score, score)) {
                ownTests.cutoffs = 1;
                ownTests.cutoffsNearRoot = slot.depth == 1;
            }
        }
        const SearchTally& chosen = slot.records[used].tally;
        tally_.add(chosen);
        tally_.add(ownTests);
        // The child published all it counted; keep only what the cut leaves.
        publishedLeaves_ += chosen.leaves;
        leafCount_.fetch_add(chosen.leaves - slot.published, std::memory_order_relaxed);
        return fold<Side, Cut, Record>(score, slot.records[used].score, index, depth, bound,
                                       record);
    }

    // A shared child searched as its node would: the same steps, recorded.
    template <int Side> void searchChildOf(SplitPoint& point, int32_t index, int32_t bound) {
        ChildSlot& slot = point.slots[index];
        const int32_t key = point.children->key[index];
        PackedBoard child = point.children->board[OrderedChildren::move(key)];
        const bool extraTurn = OrderedChildren::extraTurn(key);
        slot.depth = extraTurn ? point.depth : point.depth + 1;
        if (!extraTurn)
            child.passTurn();
        if (!child.gameContinues() || (slot.depth >= depthLimit_ && !extraTurn)) {
            ++tally_.leaves;
            slot.records[0] = ChildRecord{child.storeDifference(), tally_};
            slot.recordCount.store(1, std::memory_order_release);
            return;
        }
        slot.mayCut = !extraTurn && mayCut(slot.depth, point.depth);
        if (extraTurn) {
            search<true, Side, false, false, true>(child, slot.depth, bound, &slot);
        } else if (slot.mayCut) {
            search<true, 1 - Side, false, true, true>(child, slot.depth, bound, &slot);
        } else {
            search<true, 1 - Side, false, false, true>(child, slot.depth, bound, &slot);
        }
    }

    // Positions counted here that are not yet in the slot. Several workers may
    // count into one slot, each adding what it evaluated.
    void publishLeaves() {
        leafCount_.fetch_add(tally_.leaves - publishedLeaves_, std::memory_order_relaxed);
        publishedLeaves_ = tally_.leaves;
    }

    Searcher& searcher_;
    const std::atomic<uint8_t>& running_;
    const std::atomic<bool>* const abandoned_;
    std::atomic<uint64_t>& leafCount_;
    SharedWork& work_;
    SubtreeCache<false>& cache_;
    const int32_t worker_;
    const int32_t depthLimit_;
    const bool allMoves_;
    const bool pruning_;
    const bool pruneShallow_;
    SearchTally tally_;
    uint64_t publishedLeaves_ = 0;
    // Leaves counted from the cache: sharing goes by the work done.
    uint64_t reusedLeaves_ = 0;
    bool stopped_ = false; // nodes unfinished since are not cached
};

// Folds the children done in search order into the split point's known score,
// and abandons those out whose running score already reaches it: the bound only
// tightens, so they will be cut off at or before their last record. They would
// otherwise find out only after their current child, which may be most of their
// work. Called with the work's mutex held.
void advanceKnownScore(SplitPoint& point) {
    const int32_t before = point.knownScore.load(std::memory_order_relaxed);
    int32_t score = before;
    for (; !point.closed && point.scored < point.next && point.slots[point.scored].done;
         ++point.scored) {
        const ChildSlot& slot = point.slots[point.scored];
        const int32_t count = slot.recordCount.load(std::memory_order_relaxed);
        if (count == 0)
            break; // stopped: the search is over
        const int32_t childScore =
            slot.records[cutRecord(slot, count, 1 - point.side, score)].score;
        score = point.side ? std::max(score, childScore) : std::min(score, childScore);
    }
    if (score == before)
        return;
    point.knownScore.store(score, std::memory_order_relaxed);
    for (int32_t index = point.scored; index < point.next; ++index) {
        ChildSlot& slot = point.slots[index];
        const int32_t count = slot.recordCount.load(std::memory_order_acquire);
        // The child wrote mayCut before its first record.
        if (count > 0 && slot.mayCut &&
            reaches(1 - point.side, slot.records[count - 1].score, score))
            slot.abandoned.store(true, std::memory_order_relaxed);
    }
}

// Takes the next child of the outermost open split point of `owner` from
// `firstLevel` on and searches it; false when there is none. Called and returns
// with `lock` held.
bool claimFrom(Searcher& searcher, SharedWork& work, int32_t worker, int32_t owner,
               int32_t firstLevel, std::unique_lock<std::mutex>& lock) {
    if (!searcher.running.load(std::memory_order_relaxed))
        return false;
    for (int32_t level = std::max(firstLevel, 0); level < work.openCount[owner]; ++level) {
        SplitPoint& point = *work.open[owner][level];
        if (point.closed || point.next == point.children->count ||
            point.next > point.scored + point.ahead)
            continue;
        const int32_t index = point.next++;
        ChildSlot& slot = point.slots[index];
        slot.worker = worker;
        slot.base = work.openCount[worker];
        slot.parentScore = &point.knownScore;
        const int32_t bound = point.knownScore.load(std::memory_order_relaxed);
        lock.unlock();
        SubtreeSearch(searcher, *point.leafCount, work, worker, &slot.abandoned)
            .searchChild(point, index, bound);
        lock.lock();
        slot.done = true;
        advanceKnownScore(point);
        if (worker != point.owner)
            searcher.sharedChildren.fetch_add(1, std::memory_order_relaxed);
        work.changed.notify_all();
        return true;
    }
    return false;
}

void searchJob(Searcher& searcher, SharedWork& work, int32_t worker, const SearchJob& job) {
    assert(job.node != nullptr && job.node->board != nullptr && job.leafCount != nullptr);
    SearchNode& node = *job.node;
    SubtreeSearch subtree(searcher, *job.leafCount, work, worker, nullptr);
    const SearchNode* parent = node.parent;
    const bool cut = parent != nullptr && subtree.mayCut(node.depth, parent->depth);
    node.score = subtree.search(PackedBoard::from(*node.board), node.depth, cut,
                                parent != nullptr ? parent->score : 0);
    subtree.publish();
}

} // namespace

void runRootWorker(Searcher& searcher, SharedWork& work, int32_t worker) {
    std::unique_lock<std::mutex> lock(work.mutex);
    while (work.unfinishedJobs > 0 && searcher.running.load(std::memory_order_relaxed)) {
        if (!work.jobs.empty()) {
            SearchJob* job = work.jobs.front();
            work.jobs.pop();
            if (work.jobs.empty())
                work.allTaken.store(true, std::memory_order_relaxed);
            lock.unlock();
            searchJob(searcher, work, worker, *job);
            lock.lock();
            --work.unfinishedJobs;
            work.changed.notify_all();
            continue;
        }
        bool helped = false;
        for (int32_t owner = 0; owner < kRootWorkers && !helped; ++owner)
            helped = owner != worker && claimFrom(searcher, work, worker, owner, 0, lock);
        if (!helped)
            work.changed.wait(lock);
    }
}

} // namespace pebbo
