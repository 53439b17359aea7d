#include "tools/pebbo-engine/EngineTool.h"

#include "search/PackedBoard.h"
#include "search/RootSearch.h"
#include "tests/support/BoardPositions.h"
#include "tools/pebbo-engine/BenchSuite.h"
#include "tools/pebbo-engine/Perft.h"

#include <gtest/gtest.h>

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
    std::ostringstream out;
    std::ostringstream err;
    const int exitCode = runEngineTool(arguments, out, err);
    return {exitCode, out.str(), err.str()};
}

// The unsigned number after "key": in the last JSON line of `text`.
uint64_t field(const std::string& text, const std::string& key) {
    const size_t at = text.rfind("\"" + key + "\":");
    EXPECT_NE(at, std::string::npos) << key << " in " << text;
    return at == std::string::npos ? 0 : std::stoull(text.substr(at + key.size() + 3));
}

const std::string kStart = " 2 2 2 2 2 2 0 2 2 2 2 2 2 0";

TEST(EngineTool, EveryBadCommandLineGetsOneErrorLineAndExitCodeTwo) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "missing command: search, perft or bench"},
        {"analyse", "unknown command \"analyse\": use search, perft or bench"},
        {"search --depth 5 --side 1 2 2", "expected 14 stone counts, got 2"},
        {"perft --depth 5 --side 1 2 2 2 2 2 two 0 2 2 2 2 2 2 0", "not a number: \"two\""},
        {"search --depth 5 --side 1 4 2 2 2 2 2 0 2 2 2 2 2 -2 0",
         "negative stone count -2 at position 12"},
        {"search --depth 5 --side 1 2 2 2 2 2 2 0 2 2 2 2 2 2 1",
         "stone counts add up to 25, not 24"},
        {"search --depth 5 --side 1 0 0 0 0 0 0 0 0 0 0 0 0 2147483647 2147483647",
         "stone count 2147483647 at position 12 exceeds 24"},
        {"search --depth 5 --side 2" + kStart, "side 2 is neither 0 nor 1"},
        {"perft --depth 0 --side 1" + kStart, "depth 0 is outside 1 to 40"},
        {"search --side 1 2", "missing --depth"},
        {"search --depth 3", "missing --side"},
        {"search --depth 3 --depth 4", "option \"--depth\" given twice"},
        {"search --depth", "option \"--depth\" needs a value"},
        {"search --depth 3x", "option \"--depth\": not a number: \"3x\""},
        {"search --workers 1", "unknown option \"--workers\""},
        {"bench --workers 3", "workers 3 is neither 1 nor 2"},
        {"bench 7", "bench takes no position: unexpected 7"},
        {"bench --depth 99", "depth 99 is outside 1 to 40"},
        // Arguments are quoted as JSON strings, control characters escaped.
        {"search --depth 5 --side 1 x\ny", R"(not a number: "x\ny")"},
        {"search --d\te\r\x1b[2J\x7f 5", R"(unknown option "--d\te\r\u001b[2J\u007f")"},
        {"perft --depth \"\\", R"(option "--depth": not a number: "\"\\")"},
    };
    for (const auto& [line, problem] : cases)
        EXPECT_EQ(run(line), std::tuple(2, "", "pebbo-engine: " + problem + "\n"));
}

TEST(EngineTool, SearchPrintsTheRootResultsInOrderWithTheirCounts) {
    const auto [exitCode, out, err] = run("search --side 0 --depth 6 1 3 0 2 4 1 3 2 0 1 3 2 1 1");
    Searcher searcher;
    searcher.depthLimit = 6;
    RootResults results;
    searchRoot(searcher, position({1, 3, 0, 2, 4, 1, 3, 2, 0, 1, 3, 2, 1, 1}, 0), results, true);
    std::string expected = "{\"moves\":[";
    for (const auto& [key, move] : results)
        expected += "{\"move\":" + std::to_string(move) + ",\"key\":" + std::to_string(key) + "},";
    expected.back() = ']';
    expected += ",\"positions\":" + std::to_string(searcher.totalPositions()) + ",\"deepest\":6,";
    EXPECT_EQ(exitCode, 0) << err;
    EXPECT_EQ(out.substr(0, expected.size()), expected);
    EXPECT_EQ(out.find('\n'), out.size() - 1) << "one line";
    // A finished game is scored after the sweep: 10 - (8 + 6).
    EXPECT_EQ(run("search --depth 6 --side 1 0 0 0 0 0 0 10 1 2 3 0 0 0 8"),
              std::tuple(0, "{\"moves\":[],\"gameOver\":true,\"score\":-4}\n", ""));
}

// Counts sowing sequences like perft while the search's packed board, the rules
// implemented a second way, plays every sequence alongside and must agree on
// every counter, the side to move and the score.
uint64_t lockstepPerft(Board board, PackedBoard packed, int32_t depth) {
    const int32_t leafScore = packed.leafScore();
    const bool goesOn = board.gameContinues();
    bool same = packed.gameContinues() == goesOn && leafScore == board.storeDifference() &&
                packed.sideToMove() == board.sideToMove;
    for (int32_t position = 0; position < kPitCount; ++position)
        same = same && packed.at(position) == board.stones[position];
    if (!same)
        ADD_FAILURE() << "the packed board differs at " << ::testing::PrintToString(board.stones);
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
    const std::array<int32_t, kPitCount> start = Board().stones;
    const std::tuple<std::array<int32_t, kPitCount>, uint8_t, int32_t, uint64_t> cases[] = {
        {start, 1, 2, 5 + 5 * 6}, // move 4 sows again from five pits; the rest meet six replies
        {start, 1, 10, 3163294},
        {start, 0, 9, 862900},
        // Laps: 14 stones that end in the store, then 13 that capture from the emptied pit.
        {{0, 0, 0, 0, 0, 14, 0, 2, 0, 1, 1, 0, 4, 2}, 1, 11, 2136760},
        {{0, 0, 13, 0, 0, 0, 0, 0, 1, 0, 2, 0, 0, 8}, 1, 12, 326068},
        {{0, 0, 0, 0, 4, 0, 6, 0, 13, 0, 0, 0, 0, 1}, 0, 12, 197176},
        {{0, 0, 4, 3, 0, 0, 5, 3, 1, 0, 1, 4, 3, 0}, 0, 12, 2029189},
        {{0, 0, 0, 0, 0, 1, 11, 2, 2, 2, 2, 2, 2, 0}, 1, 9, 1}, // the only move ends the game
    };
    for (const auto& [stones, side, depth, sequences] : cases) {
        const Board board = position(stones, side);
        EXPECT_EQ(perft(board, depth), sequences) << depth;
        EXPECT_EQ(lockstepPerft(board, PackedBoard::from(board), depth), sequences) << depth;
    }
    EXPECT_EQ(field(std::get<1>(run("perft --depth 8 --side 1" + kStart)), "nodes"), 231075u);
}

// The total positions of the bench are its signature: they change only when the
// search's behaviour changes on purpose.
TEST(EngineTool, BenchKeepsItsSignatureWithOneOrTwoWorkers) {
    const std::pair<std::string, uint64_t> cases[] = {
        {"bench --depth 7", 625066},
        {"bench --depth 7 --workers 1", 625066},
        {"bench", 269711721},
    };
    for (const auto& [line, signature] : cases) {
        const auto [exitCode, out, err] = run(line);
        EXPECT_EQ(exitCode, 0) << err;
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), benchSuite().size() + 1);
        EXPECT_NE(out.find("{\"total\":true"), std::string::npos) << line;
        EXPECT_EQ(field(out, "positions"), signature) << line;
    }
}

} // namespace
} // namespace pebbo
