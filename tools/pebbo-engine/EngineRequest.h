#pragma once

#include "rules/Board.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pebbo {

enum class EngineCommand { Search, Perft, Bench, Solve };

inline constexpr int32_t kMinDepth = 1;
inline constexpr int32_t kMaxDepth = 40;

// One command line, checked.
struct EngineRequest {
    EngineCommand command = EngineCommand::Search;
    Board board;         // search, perft and solve
    int32_t depth = 0;   // search and perft; for bench 0 keeps the suite's depths
    int32_t workers = 2; // search and bench
};

// The arguments after the program name. On bad input returns the one line that
// names the problem and leaves `request` unspecified.
std::optional<std::string> parseArguments(std::span<const std::string_view> arguments,
                                          EngineRequest& request);

} // namespace pebbo
