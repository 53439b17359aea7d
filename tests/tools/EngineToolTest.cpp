#include "tools/pebbo-engine/EngineTool.h"

#include "search/ExactSolver.h"
#include "search/PackedBoard.h"
#include "search/RootSearch.h"
#include "tests/support/BoardPositions.h"
#include "tools/pebbo-engine/BenchSuite.h"
#include "tools/pebbo-engine/Perft.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace pebbo {
namespace {

// Runs the tool on a command line split at spaces: exit code, output, errors.
std::tuple<int, std::string, std::string> run(std::string_view line) {
    std::vector<std::string_view> arguments;
    for (size_t start = 0; start < line.size();) {
        const size_t end = std::min(line.find(' ', start), line.size());
        arguments.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    std::ostringstream out, err;
    return {runEngineTool(arguments, out, err), out.str(), err.str()};
}

const std::string kStart = " 2 2 2 2 2 2 0 2 2 2 2 2 2 0";

TEST(EngineTool, EveryBadCommandLineGetsOneErrorLineAndExitCodeTwo) {
    const std::string search = "search --depth 5 --side 1";
    const std::pair<std::string, std::string> cases[] = {
        {"", "missing command: search, perft, solve or bench"},
        {"analyse", "unknown command \"analyse\": use search, perft, solve or bench"},
        {search + " 2 2", "expected 14 stone counts, got 2"},
        {"perft --depth 5 --side 1 2 2 2 2 2 two 0 2 2 2 2 2 2 0", "not a number: \"two\""},
        {search + " 4 2 2 2 2 2 0 2 2 2 2 2 -2 0", "negative stone count -2 at position 12"},
        {search + " 2 2 2 2 2 2 0 2 2 2 2 2 2 1", "stone counts add up to 25, not 24"},
        {search + " 0 0 0 0 0 0 0 0 0 0 0 0 2147483647 2147483647",
         "stone count 2147483647 at position 12 exceeds 24"},
        {"search --depth 5 --side 2" + kStart, "side 2 is neither 0 nor 1"},
        {"perft --depth 0 --side 1" + kStart, "depth 0 is outside 1 to 40"},
        {"search --side 1 2", "missing --depth"},
        {"search --depth 3", "missing --side"},
        {"search --depth 3 --depth 4", "option \"--depth\" given twice"},
        {"search --depth", "option \"--depth\" needs a value"},
        {"search --depth 3x", "option \"--depth\": not a number: \"3x\""},
        {"perft --workers 1", "unknown option \"--workers\""},
        {"bench --workers 3", "workers 3 is neither 1 nor 2"},
        {"solve --side 1 --depth 5" + kStart, "unknown option \"--depth\""},
        {"solve" + kStart, "missing --side"},
        {"search --workers 0", "workers 0 is neither 1 nor 2"},
        {"bench 7", "bench takes no position: unexpected 7"},
        {"bench --depth 99", "depth 99 is outside 1 to 40"},
        // Arguments are quoted as JSON strings, control characters escaped.
        {search + " x\ny", R"(not a number: "x\ny")"},
        {"search --d\te\r\x1b[2J\x7f 5", R"(unknown option "--d\te\r\u001b[2J\u007f")"},
        {"perft --depth \"\\", R"(option "--depth": not a number: "\"\\")"},
    };
    for (const auto& [line, problem] : cases)
        EXPECT_EQ(run(line), std::tuple(2, "", "pebbo-engine: " + problem + "\n"));
}

TEST(EngineTool, SearchPrintsTheRootResultsInOrderWithTheirCounts) {
    Searcher searcher;
    searcher.depthLimit = 6;
    RootResults results;
    searchRoot(searcher, position({1, 3, 0, 2, 4, 1, 3, 2, 0, 1, 3, 2, 1, 1}, 0), results, true);
    std::string expected = "{\"moves\":[";
    for (const auto& [key, move] : results)
        expected += "{\"move\":" + std::to_string(move) + ",\"key\":" + std::to_string(key) + "},";
    expected.back() = ']';
    expected += ",\"positions\":" + std::to_string(searcher.totalPositions()) + ",\"deepest\":6,";
    const auto out = std::get<1>(run("search --side 0 --depth 6 1 3 0 2 4 1 3 2 0 1 3 2 1 1"));
    EXPECT_TRUE(out.starts_with(expected) && out.find('\n') == out.size() - 1) << out;
    // A finished game is scored after the sweep: 10 - (8 + 6).
    EXPECT_EQ(run("search --depth 6 --side 1 0 0 0 0 0 0 10 1 2 3 0 0 0 8"),
              std::tuple(0, "{\"moves\":[],\"gameOver\":true,\"score\":-4}\n", ""));
}

TEST(EngineTool, SolvePrintsTheSolversValuesOrTheFinishedMargin) {
    const Board board = position({1, 0, 2, 0, 3, 1, 5, 0, 2, 1, 0, 3, 1, 5}, 0);
    const Solution solution = *ExactSolver().solve(board);
    std::string expected = "{\"value\":" + std::to_string(solution.value) + ",\"moves\":[";
    for (int32_t index = 0; index < solution.moveCount; ++index)
        expected += "{\"move\":" + std::to_string(solution.moves[index].move) +
                    ",\"value\":" + std::to_string(solution.moves[index].value) + "},";
    expected.back() = ']';
    expected += ",\"nodes\":" + std::to_string(solution.nodes) + ",\"seconds\":";
    const auto out = std::get<1>(run("solve --side 0 1 0 2 0 3 1 5 0 2 1 0 3 1 5"));
    EXPECT_TRUE(out.starts_with(expected) && out.find('\n') == out.size() - 1) << out;
    // Scored after the sweep, from the mover's view: 10 - (8 + 6) for side 1.
    for (const auto& [side, line] : {std::pair{"1", "{\"value\":-4,"}, {"0", "{\"value\":4,"}})
        EXPECT_EQ(run(std::string("solve --side ") + side + " 0 0 0 0 0 0 10 1 2 3 0 0 0 8"),
                  std::tuple(0, line + std::string("\"moves\":[],\"gameOver\":true}\n"), ""));
}

// Perft while the search's packed board, the rules implemented a second way, plays
// alongside and must agree on every counter, the side to move and the score.
uint64_t lockstepPerft(Board board, PackedBoard packed, int32_t depth) {
    const int32_t leafScore = packed.leafScore(); // before either board banks the stones
    const bool goesOn = board.gameContinues();
    bool same = packed.gameContinues() == goesOn && leafScore == board.storeDifference() &&
                packed.sideToMove() == board.sideToMove;
    for (int32_t position = 0; position < kPitCount; ++position)
        same = same && packed.at(position) == board.stones[position];
    EXPECT_TRUE(same) << "the packed board differs at " << ::testing::PrintToString(board.stones);
    if (depth == 0 || !goesOn || !same)
        return 1;
    uint64_t sequences = 0;
    for (int32_t move = 0; move < 6; ++move) {
        if (!board.isLegal(move))
            continue;
        Board child = board;
        play(child, move);
        PackedBoard packedChild = packed;
        if (packedChild.makeMove(move) != MoveResult::ExtraTurn)
            packedChild.passTurn();
        sequences += lockstepPerft(child, packedChild, depth - 1);
    }
    return sequences;
}

TEST(EngineTool, PerftCountsAgreeWithThePackedBoardAndArePinned) {
    const std::tuple<Board, int32_t, uint64_t> cases[] = {
        // From the start move 4 sows again from five pits; the rest meet six replies.
        {position(Board().stones, 1), 2, 5 + 5 * 6},
        {position(Board().stones, 1), 10, 3163294},
        {position(Board().stones, 0), 9, 862900},
        // Laps: 14 stones that end in the store, then 13 that capture from the emptied pit.
        {position({0, 0, 0, 0, 0, 14, 0, 2, 0, 1, 1, 0, 4, 2}, 1), 11, 2136760},
        {position({0, 0, 13, 0, 0, 0, 0, 0, 1, 0, 2, 0, 0, 8}, 1), 12, 326068},
        {position({0, 0, 0, 0, 4, 0, 6, 0, 13, 0, 0, 0, 0, 1}, 0), 12, 197176},
        {position({0, 0, 4, 3, 0, 0, 5, 3, 1, 0, 1, 4, 3, 0}, 0), 12, 2029189},
        {position({0, 0, 0, 0, 0, 1, 11, 2, 2, 2, 2, 2, 2, 0}, 1), 9, 1}, // the only move ends it
    };
    for (const auto& [board, depth, sequences] : cases) {
        EXPECT_EQ(perft(board, depth), sequences) << depth;
        EXPECT_EQ(lockstepPerft(board, PackedBoard::from(board), depth), sequences) << depth;
    }
    const auto out = std::get<1>(run("perft --depth 8 --side 1" + kStart));
    EXPECT_TRUE(out.starts_with("{\"depth\":8,\"nodes\":231075,")) << out;
}

// The bench's total positions are its signature: they change only with the search.
TEST(EngineTool, BenchKeepsItsSignatureWithOneOrTwoWorkers) {
    for (const auto& [line, total] : {std::pair{"bench --depth 7", "2,\"positions\":625066,"},
                                      {"bench --depth 7 --workers 1", "1,\"positions\":625066,"},
                                      {"bench", "2,\"positions\":269711721,"}}) {
        const auto out = std::get<1>(run(line));
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), benchSuite().size() + 1);
        EXPECT_NE(out.find(std::string("\n{\"total\":true,\"workers\":") + total), out.npos) << out;
    }
}

} // namespace
} // namespace pebbo
