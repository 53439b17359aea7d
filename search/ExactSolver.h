#pragma once

#include "rules/Board.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace pebbo {

namespace detail {
struct SolverEntry;
} // namespace detail

// A legal move with its exact value: the final margin, from the mover's view,
// when both sides play perfectly after it.
struct SolvedMove {
    int32_t move = 0; // 0..5 of the mover's row
    int32_t value = 0;

    bool operator==(const SolvedMove&) const = default;
};

struct Solution {
    int32_t value = 0; // the mover's store minus the opponent's once the game has ended
    std::array<SolvedMove, 6> moves{}; // legal moves only, in index order
    int32_t moveCount = 0;
    bool gameOver = false; // the position was finished: no moves, value after the sweep
    uint64_t nodes = 0;

    bool operator==(const Solution&) const = default;
};

// Solves positions exactly, apart from the game's own search. Deterministic: the
// same position gives the same solution and node count on every call.
// Plays the game's rules, extra turns and captures on, whatever the board's switches say.
class ExactSolver {
public:
    static constexpr size_t kDefaultTableBytes = size_t{64} << 20;

    explicit ExactSolver(size_t tableBytes = kDefaultTableBytes);
    ~ExactSolver();
    ExactSolver(const ExactSolver&) = delete;
    ExactSolver& operator=(const ExactSolver&) = delete;

    // Empty when `stop` (asked every few thousand nodes) returned true first.
    std::optional<Solution> solve(const Board& position, const std::function<bool()>& stop = {});

private:
    size_t tableSize_; // a power of two
    std::unique_ptr<detail::SolverEntry[]> table_;
    uint16_t generation_ = 0; // entries of an earlier solve count as empty
};

} // namespace pebbo
