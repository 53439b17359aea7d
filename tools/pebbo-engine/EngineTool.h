#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace pebbo {

// Runs one command line of pebbo-engine: results as JSON lines on `out`, a bad
// command line as one line on `err`. Returns the exit code (2 for bad input).
int runEngineTool(std::span<const std::string_view> arguments, std::ostream& out,
                  std::ostream& err);

} // namespace pebbo
