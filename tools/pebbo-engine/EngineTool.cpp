#include "tools/pebbo-engine/EngineTool.h"

#include "search/ExactSolver.h"
#include "search/RootSearch.h"
#include "tools/pebbo-engine/BenchSuite.h"
#include "tools/pebbo-engine/EngineRequest.h"
#include "tools/pebbo-engine/Perft.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace pebbo {

namespace {

constexpr int kBadInput = 2;

class Stopwatch {
public:
    double seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

std::string fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// Millions of positions per second; 0 when the clock saw no time pass.
std::string mpps(uint64_t positions, double seconds) {
    return fixed(seconds > 0 ? static_cast<double>(positions) / seconds / 1e6 : 0.0, 1);
}

void runSearch(const EngineRequest& request, std::ostream& out) {
    Board finished = request.board;
    if (!finished.gameContinues()) {
        out << "{\"moves\":[],\"gameOver\":true,\"score\":" << finished.storeDifference() << "}\n";
        return;
    }
    Searcher searcher;
    searcher.depthLimit = request.depth;
    RootResults results;
    const Stopwatch clock;
    searchRoot(searcher, request.board, results, true, request.workers);
    const double seconds = clock.seconds();
    out << "{\"moves\":[";
    const char* separator = "";
    for (const auto& [key, move] : results) {
        out << separator << "{\"move\":" << move << ",\"key\":" << key << "}";
        separator = ",";
    }
    out << "],\"positions\":" << searcher.totalPositions()
        << ",\"deepest\":" << searcher.deepestDepth.load() << ",\"seconds\":" << fixed(seconds, 3)
        << ",\"mpps\":" << mpps(searcher.totalPositions(), seconds) << "}\n";
}

void runPerft(const EngineRequest& request, std::ostream& out) {
    const Stopwatch clock;
    const uint64_t nodes = perft(request.board, request.depth);
    out << "{\"depth\":" << request.depth << ",\"nodes\":" << nodes
        << ",\"seconds\":" << fixed(clock.seconds(), 3) << "}\n";
}

void runSolve(const EngineRequest& request, std::ostream& out) {
    ExactSolver solver;
    const Stopwatch clock;
    const Solution solution = *solver.solve(request.board);
    const double seconds = clock.seconds();
    out << "{\"value\":" << solution.value << ",\"moves\":[";
    for (int32_t index = 0; index < solution.moveCount; ++index)
        out << (index ? "," : "") << "{\"move\":" << solution.moves[index].move
            << ",\"value\":" << solution.moves[index].value << "}";
    if (solution.gameOver)
        out << "],\"gameOver\":true}\n";
    else
        out << "],\"nodes\":" << solution.nodes << ",\"seconds\":" << fixed(seconds, 3) << "}\n";
}

void runBench(const EngineRequest& request, std::ostream& out) {
    uint64_t totalPositions = 0;
    double totalSeconds = 0;
    int32_t index = 0;
    for (const BenchPosition& entry : benchSuite()) {
        Board board;
        board.stones = entry.stones;
        board.sideToMove = entry.sideToMove;
        Searcher searcher;
        searcher.depthLimit = request.depth ? request.depth : entry.depth;
        RootResults results;
        const Stopwatch clock;
        searchRoot(searcher, board, results, true, request.workers);
        const double seconds = clock.seconds();
        totalPositions += searcher.totalPositions();
        totalSeconds += seconds;
        out << "{\"position\":" << index++ << ",\"depth\":" << searcher.depthLimit
            << ",\"best\":" << results.begin()->second << ",\"key\":" << results.begin()->first
            << ",\"positions\":" << searcher.totalPositions()
            << ",\"seconds\":" << fixed(seconds, 3)
            << ",\"mpps\":" << mpps(searcher.totalPositions(), seconds) << "}\n";
    }
    out << "{\"total\":true,\"workers\":" << request.workers << ",\"positions\":" << totalPositions
        << ",\"seconds\":" << fixed(totalSeconds, 3)
        << ",\"mpps\":" << mpps(totalPositions, totalSeconds) << "}\n";
}

} // namespace

int runEngineTool(std::span<const std::string_view> arguments, std::ostream& out,
                  std::ostream& err) {
    EngineRequest request;
    if (const auto error = parseArguments(arguments, request)) {
        err << "pebbo-engine: " << *error << "\n";
        return kBadInput;
    }
    switch (request.command) {
    case EngineCommand::Search:
        runSearch(request, out);
        break;
    case EngineCommand::Perft:
        runPerft(request, out);
        break;
    case EngineCommand::Bench:
        runBench(request, out);
        break;
    case EngineCommand::Solve:
        runSolve(request, out);
        break;
    }
    out.flush();
    return 0;
}

} // namespace pebbo
