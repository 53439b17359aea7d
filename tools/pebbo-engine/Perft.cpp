#include "tools/pebbo-engine/Perft.h"

namespace pebbo {

uint64_t perft(const Board& board, int32_t depth) {
    Board position = board;
    if (depth == 0 || !position.gameContinues())
        return 1;
    uint64_t sequences = 0;
    for (int32_t move = 0; move < 6; ++move) {
        if (!position.isLegal(move))
            continue;
        Board child = position;
        if (child.makeMove(move) != MoveResult::ExtraTurn)
            child.sideToMove = child.sideToMove ? 0 : 1;
        sequences += perft(child, depth - 1);
    }
    return sequences;
}

} // namespace pebbo
