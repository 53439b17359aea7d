#include "search/ExactSolver.h"

#include <algorithm>
#include <bit>

namespace pebbo {

namespace {

// A position seen from its mover, in sowing order: 0..5 the mover's pits, 6 the stones the
// current sowing banks, 7..12 the opponent's pits (pit i faces 12 - i). The stores themselves
// stay out: what is left to win depends on the pits alone.
using Cycle = std::array<uint8_t, 13>;
constexpr int32_t kBank = 6;

int32_t rowSum(const Cycle& pits, int32_t first) {
    int32_t sum = 0;
    for (int32_t pit = first; pit < first + 6; ++pit)
        sum += pits[pit];
    return sum;
}

// Five bits a pit (none holds more than 24): the key is the position itself.
uint64_t keyOf(const Cycle& pits) {
    uint64_t key = 0;
    for (int32_t pit = 0; pit < 13; ++pit)
        if (pit != kBank)
            key = key << 5 | pits[pit];
    return key;
}

// Sows `move` by the game's rules; returns the stones it banks.
int32_t sow(Cycle& pits, int32_t move, bool& extraTurn) {
    int32_t count = pits[move];
    pits[move] = 0;
    int32_t last = move;
    while (count-- > 0) {
        last = last == 12 ? 0 : last + 1;
        ++pits[last];
    }
    int32_t banked = pits[kBank];
    pits[kBank] = 0;
    extraTurn = last == kBank;
    if (last < kBank && pits[last] == 1 && pits[12 - last] != 0) {
        banked += pits[12 - last] + 1;
        pits[12 - last] = 0;
        pits[last] = 0;
    }
    return banked;
}

// The same position seen from the opponent.
Cycle turned(const Cycle& pits) {
    Cycle opponent;
    for (int32_t pit = 0; pit < 6; ++pit) {
        opponent[pit] = pits[7 + pit];
        opponent[7 + pit] = pits[pit];
    }
    opponent[kBank] = 0;
    return opponent;
}

// Extra turns first, nearest the store first so they do not spoil each other; then captures
// by size; then the rest, nearest the store first.
int32_t orderingScore(const Cycle& pits, int32_t move) {
    const int32_t count = pits[move];
    const int32_t last = (move + count) % 13;
    if (last == kBank)
        return 64 + move;
    const bool landsEmpty = count < 13 ? pits[last] == 0 : count == 13;
    if (last < kBank && landsEmpty && pits[12 - last] != 0)
        return 32 + pits[12 - last];
    return move;
}

constexpr int32_t kNoMove = -1;

} // namespace

// Bounds on what is left to win from a position: the mover's future gains minus the opponent's.
// Key 0 is the empty board, which is never searched: a zeroed entry holds nothing.
struct detail::SolverEntry {
    uint64_t key;
    int8_t lower;
    int8_t upper;
    int8_t move;
    uint16_t generation; // the solve that wrote it
};

namespace {

class Search {
public:
    Search(detail::SolverEntry* table, size_t size, uint16_t generation,
           const std::function<bool()>& stop)
        : table_(table), mask_(size - 1), generation_(generation), stop_(stop) {}

    uint64_t nodes() const { return nodes_; }
    bool stopped() const { return stopped_; }

    // The exact value of what is left, by null-window tests that close in from `guess`.
    int32_t exact(const Cycle& pits, int32_t guess) {
        const int32_t stones = rowSum(pits, 0) + rowSum(pits, 7);
        int32_t lower = -stones, upper = stones;
        int32_t test = std::clamp(guess, lower, upper);
        while (lower < upper && !stopped_) {
            const int32_t beta = test == lower ? test + 1 : test;
            test = search(pits, beta - 1, beta);
            (test < beta ? upper : lower) = test;
        }
        return lower;
    }

private:
    // Fail-soft negamax; an extra turn keeps the sign because the same side moves again.
    int32_t search(const Cycle& pits, int32_t alpha, int32_t beta) {
        if ((++nodes_ & 4095) == 0 && stop_ && stop_())
            stopped_ = true;
        if (stopped_)
            return 0;
        const int32_t own = rowSum(pits, 0), opposing = rowSum(pits, 7);
        if (own == 0 || opposing == 0)
            return own - opposing;
        const int32_t stones = own + opposing;
        if (stones <= alpha)
            return stones;
        if (-stones >= beta)
            return -stones;

        const uint64_t key = keyOf(pits);
        detail::SolverEntry& entry = table_[(key * 0x9E3779B97F4A7C15ull) >> 32 & mask_];
        int32_t firstMove = kNoMove;
        const bool known = entry.key == key && entry.generation == generation_;
        if (known) {
            if (entry.lower >= beta)
                return entry.lower;
            if (entry.upper <= alpha)
                return entry.upper;
            firstMove = entry.move;
        }

        std::array<int32_t, 6> order, scores;
        int32_t count = 0;
        for (int32_t move = 0; move < 6; ++move) {
            if (pits[move] == 0)
                continue;
            const int32_t score = move == firstMove ? 128 : orderingScore(pits, move);
            int32_t slot = count++;
            for (; slot > 0 && scores[slot - 1] < score; --slot) {
                order[slot] = order[slot - 1];
                scores[slot] = scores[slot - 1];
            }
            order[slot] = move;
            scores[slot] = score;
        }

        const int32_t originalAlpha = alpha;
        int32_t best = -stones - 1;
        int32_t bestMove = kNoMove;
        for (int32_t index = 0; index < count; ++index) {
            Cycle child = pits;
            bool extraTurn = false;
            const int32_t banked = sow(child, order[index], extraTurn);
            const int32_t value =
                extraTurn ? banked + search(child, alpha - banked, beta - banked)
                          : banked - search(turned(child), banked - beta, banked - alpha);
            if (stopped_)
                return 0;
            if (value > best) {
                best = value;
                bestMove = order[index];
                alpha = std::max(alpha, value);
                if (value >= beta)
                    break;
            }
        }

        // The subtree may have taken the slot over.
        if (entry.key != key || entry.generation != generation_)
            entry = {key, static_cast<int8_t>(-stones), static_cast<int8_t>(stones), kNoMove,
                     generation_};
        if (best > originalAlpha)
            entry.lower = static_cast<int8_t>(std::max<int32_t>(entry.lower, best));
        if (best < beta)
            entry.upper = static_cast<int8_t>(std::min<int32_t>(entry.upper, best));
        entry.move = static_cast<int8_t>(bestMove);
        return best;
    }

    detail::SolverEntry* table_;
    uint64_t mask_;
    uint16_t generation_;
    const std::function<bool()>& stop_;
    uint64_t nodes_ = 0;
    bool stopped_ = false;
};

} // namespace

// Written once here, in order: touching fresh pages at random during a search costs more.
ExactSolver::ExactSolver(size_t tableBytes)
    : tableSize_(std::bit_floor(std::max<size_t>(tableBytes / sizeof(detail::SolverEntry), 1))),
      table_(std::make_unique<detail::SolverEntry[]>(tableSize_)) {}

ExactSolver::~ExactSolver() = default;

std::optional<Solution> ExactSolver::solve(const Board& position,
                                           const std::function<bool()>& stop) {
    Solution solution;
    Board finished = position;
    if (!finished.gameContinues()) {
        const int32_t margin = finished.storeDifference();
        solution.value = position.sideToMove ? margin : -margin;
        solution.gameOver = true;
        return solution;
    }

    const bool user = position.sideToMove != 0;
    Cycle root;
    for (int32_t pit = 0; pit < 6; ++pit) {
        root[pit] = static_cast<uint8_t>(position.stones[user ? pit : 7 + pit]);
        root[7 + pit] = static_cast<uint8_t>(position.stones[user ? 7 + pit : pit]);
    }
    root[kBank] = 0;
    const int32_t banked = position.stones[kUserStore] - position.stones[kComputerStore];
    const int32_t margin = user ? banked : -banked;

    // A new generation empties the table without writing it; once in 65535 solves it is wiped.
    if (++generation_ == 0) {
        std::fill_n(table_.get(), tableSize_, detail::SolverEntry{});
        generation_ = 1;
    }
    Search search(table_.get(), tableSize_, generation_, stop);
    solution.value = -kStoneTotal - 1;
    int32_t guess = 0;
    for (int32_t move = 0; move < 6; ++move) {
        if (root[move] == 0)
            continue;
        Cycle child = root;
        bool extraTurn = false;
        const int32_t gain = sow(child, move, extraTurn);
        const int32_t rest = extraTurn ? search.exact(child, guess - gain)
                                       : -search.exact(turned(child), gain - guess);
        if (search.stopped())
            return std::nullopt;
        const int32_t value = margin + gain + rest;
        guess = value - margin;
        solution.moves[solution.moveCount++] = {move, value};
        solution.value = std::max(solution.value, value);
    }
    solution.nodes = search.nodes();
    return solution;
}

} // namespace pebbo
