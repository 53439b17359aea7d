#pragma once

#include <array>
#include <cstdint>

namespace pebbo {

// Up to six move indices (0..5, counted in the mover's row); also carries best-move sets.
struct MoveList {
    std::array<int32_t, 6> moves{};
    int32_t count = 0;

    void clear() { count = 0; }
    void append(int32_t move) { moves[count++] = move; }
    bool empty() const { return count == 0; }
    bool contains(int32_t move) const {
        for (int32_t i = 0; i < count; ++i)
            if (moves[i] == move)
                return true;
        return false;
    }
    const int32_t* begin() const { return moves.data(); }
    const int32_t* end() const { return moves.data() + count; }
};

} // namespace pebbo
