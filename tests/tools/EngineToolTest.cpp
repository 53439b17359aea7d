#include "tools/pebbo-engine/EngineTool.h"

#include "search/RootSearch.h"
#include "tools/pebbo-engine/BenchSuite.h"
#include "tools/pebbo-engine/Perft.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace pebbo {
namespace {

struct ToolRun {
    int exitCode;
    std::string out;
    std::string err;
};

ToolRun run(std::vector<std::string_view> arguments) {
    std::ostringstream out;
    std::ostringstream err;
    const int exitCode = runEngineTool(arguments, out, err);
    return {exitCode, out.str(), err.str()};
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        result.push_back(line);
    return result;
}

// The unsigned number after "key": in one JSON line.
uint64_t field(const std::string& line, const std::string& key) {
    const size_t at = line.find("\"" + key + "\":");
    EXPECT_NE(at, std::string::npos) << key << " in " << line;
    return at == std::string::npos ? 0 : std::stoull(line.substr(at + key.size() + 3));
}

TEST(EngineToolInput, EveryBadCommandLineNamesItsProblemAndExitsWithTwo) {
    const std::vector<std::pair<std::vector<std::string_view>, std::string>> cases = {
        {{}, "missing command"},
        {{"analyse"}, "unknown command \"analyse\""},
        {{"search", "--depth", "5", "--side", "1", "2", "2"}, "expected 14 stone counts, got 2"},
        {{"search", "--depth", "5", "--side", "1", "2", "2", "2", "2", "2",
          "2",      "0",       "2", "2",      "2", "2", "2", "2", "0", "0"},
         "expected 14 stone counts, got 15"},
        {{"perft", "--depth", "5", "--side", "1", "2", "2", "2", "2", "2", "two", "0", "2", "2",
          "2", "2", "2", "2", "0"},
         "not a number: \"two\""},
        {{"search", "--depth", "5", "--side", "1", "4", "2", "2", "2", "2", "2", "0", "2", "2", "2",
          "2", "2", "-2", "0"},
         "negative stone count -2 at position 12"},
        {{"search", "--depth", "5", "--side", "1", "2", "2", "2", "2", "2", "2", "0", "2", "2", "2",
          "2", "2", "2", "1"},
         "stone counts add up to 25, not 24"},
        {{"search", "--depth", "5", "--side", "1", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0",
          "0", "0", "2147483647", "2147483647"},
         "stone count 2147483647 at position 12 exceeds 24"},
        {{"search", "--depth", "5", "--side", "2", "2", "2", "2", "2", "2", "2", "0", "2", "2", "2",
          "2", "2", "2", "0"},
         "side 2 is neither 0 nor 1"},
        {{"perft", "--depth", "0", "--side", "1", "2", "2", "2", "2", "2", "2", "0", "2", "2", "2",
          "2", "2", "2", "0"},
         "depth 0 is outside 1 to 40"},
        {{"search", "--depth", "41", "--side", "1"}, "depth 41 is outside 1 to 40"},
        {{"search", "--side", "1", "2"}, "missing --depth"},
        {{"search", "--depth", "3"}, "missing --side"},
        {{"search", "--depth", "3", "--depth", "4"}, "option \"--depth\" given twice"},
        {{"search", "--depth"}, "option \"--depth\" needs a value"},
        {{"search", "--depth", "3x"}, "option \"--depth\": not a number: \"3x\""},
        {{"search", "--workers", "1"}, "unknown option \"--workers\""},
        {{"bench", "--workers", "3"}, "workers 3 is neither 1 nor 2"},
        {{"bench", "--side", "1"}, "unknown option \"--side\""},
        {{"bench", "7"}, "bench takes no position"},
        {{"bench", "--depth", "99"}, "depth 99 is outside 1 to 40"},
    };
    for (const auto& [arguments, problem] : cases) {
        const ToolRun result = run(arguments);
        EXPECT_EQ(result.exitCode, 2) << problem;
        EXPECT_TRUE(result.out.empty()) << problem;
        EXPECT_EQ(lines(result.err).size(), 1u) << result.err;
        EXPECT_NE(result.err.find(problem), std::string::npos) << result.err;
    }
}

TEST(EngineToolSearch, PrintsTheRootResultsInOrderWithTheirCounts) {
    const ToolRun result = run({"search", "--side", "0", "--depth", "6", "1", "3", "0", "2", "4",
                                "1", "3", "2", "0", "1", "3", "2", "1", "1"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    ASSERT_EQ(lines(result.out).size(), 1u);

    Board board;
    board.stones = {1, 3, 0, 2, 4, 1, 3, 2, 0, 1, 3, 2, 1, 1};
    board.sideToMove = 0;
    Searcher searcher;
    searcher.depthLimit = 6;
    RootResults results;
    searchRoot(searcher, board, results, true);
    std::string moves = "{\"moves\":[";
    for (const auto& [key, move] : results)
        moves += "{\"move\":" + std::to_string(move) + ",\"key\":" + std::to_string(key) + "},";
    moves.back() = ']';
    EXPECT_EQ(result.out.rfind(moves, 0), 0u) << result.out;
    EXPECT_EQ(field(result.out, "positions"), searcher.totalPositions());
    EXPECT_EQ(field(result.out, "deepest"), 6u);
    EXPECT_NE(result.out.find("\"seconds\":"), std::string::npos);
    EXPECT_NE(result.out.find("\"mpps\":"), std::string::npos);

    // A finished game is scored after the sweep: 10 - (8 + 6).
    const ToolRun over = run({"search", "--depth", "6", "--side", "1", "0", "0", "0", "0", "0", "0",
                              "10", "1", "2", "3", "0", "0", "0", "8"});
    EXPECT_EQ(over.exitCode, 0);
    EXPECT_EQ(over.out, "{\"moves\":[],\"gameOver\":true,\"score\":-4}\n");
}

TEST(EngineToolPerft, CountsSowingSequences) {
    const Board start;
    EXPECT_EQ(perft(start, 1), 6u);
    // Move 4 earns a second sowing from five stocked pits; the other five moves
    // each give side 0 six replies.
    EXPECT_EQ(perft(start, 2), 5u + 5u * 6u);

    Board lastMove;
    lastMove.stones = {0, 0, 0, 0, 0, 1, 11, 2, 2, 2, 2, 2, 2, 0};
    EXPECT_EQ(perft(lastMove, 9), 1u) << "the only move ends the game: one sequence";

    const ToolRun result = run({"perft", "--depth", "2", "--side", "1", "2", "2", "2", "2", "2",
                                "2", "0", "2", "2", "2", "2", "2", "2", "0"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out.rfind("{\"depth\":2,\"nodes\":35,\"seconds\":", 0), 0u) << result.out;
}

// The total positions of the bench are its signature: they change only when the
// search's behaviour changes on purpose.
constexpr uint64_t kShallowBenchSignature = 625066;
constexpr uint64_t kBenchSignature = 269711721;

uint64_t benchTotal(std::vector<std::string_view> arguments, size_t& lineCount) {
    const ToolRun result = run(arguments);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const auto output = lines(result.out);
    lineCount = output.size();
    EXPECT_NE(output.back().find("\"total\":true"), std::string::npos);
    return field(output.back(), "positions");
}

TEST(EngineToolBench, ShallowSuiteKeepsItsSignatureWithOneOrTwoWorkers) {
    size_t lineCount = 0;
    EXPECT_EQ(benchTotal({"bench", "--depth", "7"}, lineCount), kShallowBenchSignature);
    EXPECT_EQ(lineCount, benchSuite().size() + 1);
    EXPECT_EQ(benchTotal({"bench", "--depth", "7", "--workers", "1"}, lineCount),
              kShallowBenchSignature);
    for (const BenchPosition& entry : benchSuite()) {
        int32_t stones = 0;
        for (int32_t count : entry.stones)
            stones += count;
        EXPECT_EQ(stones, kStoneTotal);
    }
}

// Takes seconds; run with --gtest_also_run_disabled_tests after changing the search.
TEST(EngineToolBench, DISABLED_FullSuiteKeepsItsSignature) {
    size_t lineCount = 0;
    EXPECT_EQ(benchTotal({"bench"}, lineCount), kBenchSignature);
}

} // namespace
} // namespace pebbo
