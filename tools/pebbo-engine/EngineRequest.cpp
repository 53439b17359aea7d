#include "tools/pebbo-engine/EngineRequest.h"

#include <charconv>
#include <cstdio>
#include <vector>

namespace pebbo {

namespace {

std::optional<int32_t> parseNumber(std::string_view text) {
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// A JSON string: escaped, so no argument can break its error line or the terminal.
std::string quoted(std::string_view text) {
    std::string result(1, '"');
    for (const char character : text) {
        const auto code = static_cast<unsigned char>(character);
        if (character == '"' || character == '\\') {
            result.push_back('\\');
            result.push_back(character);
        } else if (character == '\n') {
            result.append("\\n");
        } else if (character == '\t') {
            result.append("\\t");
        } else if (character == '\r') {
            result.append("\\r");
        } else if (code < 0x20 || code == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", code);
            result.append(escaped);
        } else {
            result.push_back(character);
        }
    }
    result.push_back('"');
    return result;
}

// Reads "--name value" pairs and bare numbers; returns an error line or nothing.
struct ParsedLine {
    std::optional<int32_t> depth;
    std::optional<int32_t> side;
    std::optional<int32_t> workers;
    std::vector<int32_t> numbers;
};

std::optional<std::string> readLine(std::span<const std::string_view> arguments,
                                    std::span<const std::string_view> options, ParsedLine& line) {
    for (size_t index = 0; index < arguments.size(); ++index) {
        const std::string_view argument = arguments[index];
        if (argument.starts_with("--")) {
            bool known = false;
            for (std::string_view option : options)
                known = known || option == argument;
            if (!known)
                return "unknown option " + quoted(argument);
            if (index + 1 == arguments.size())
                return "option " + quoted(argument) + " needs a value";
            const std::string_view text = arguments[++index];
            const std::optional<int32_t> value = parseNumber(text);
            if (!value)
                return "option " + quoted(argument) + ": not a number: " + quoted(text);
            std::optional<int32_t>& slot = argument == "--depth"  ? line.depth
                                           : argument == "--side" ? line.side
                                                                  : line.workers;
            if (slot)
                return "option " + quoted(argument) + " given twice";
            slot = *value;
            continue;
        }
        const std::optional<int32_t> value = parseNumber(argument);
        if (!value)
            return "not a number: " + quoted(argument);
        line.numbers.push_back(*value);
    }
    return std::nullopt;
}

std::optional<std::string> checkDepth(int32_t depth) {
    if (depth < kMinDepth || depth > kMaxDepth)
        return "depth " + std::to_string(depth) + " is outside " + std::to_string(kMinDepth) +
               " to " + std::to_string(kMaxDepth);
    return std::nullopt;
}

std::optional<std::string> readWorkers(const ParsedLine& line, EngineRequest& request) {
    if (line.workers && *line.workers != 1 && *line.workers != 2)
        return "workers " + std::to_string(*line.workers) + " is neither 1 nor 2";
    request.workers = line.workers.value_or(2);
    return std::nullopt;
}

// `depthNeeded` is false for solve, which plays to the end.
std::optional<std::string> readPosition(const ParsedLine& line, bool depthNeeded,
                                        EngineRequest& request) {
    if (depthNeeded && !line.depth)
        return std::string("missing --depth");
    if (!line.side)
        return std::string("missing --side");
    if (depthNeeded) {
        if (auto error = checkDepth(*line.depth))
            return error;
    }
    if (*line.side != 0 && *line.side != 1)
        return "side " + std::to_string(*line.side) + " is neither 0 nor 1";
    if (line.numbers.size() != static_cast<size_t>(kPitCount))
        return "expected " + std::to_string(kPitCount) + " stone counts, got " +
               std::to_string(line.numbers.size());
    int32_t total = 0;
    for (int32_t pit = 0; pit < kPitCount; ++pit) {
        const int32_t count = line.numbers[pit];
        if (count < 0)
            return "negative stone count " + std::to_string(count) + " at position " +
                   std::to_string(pit);
        // Bounded here so the sum below cannot overflow.
        if (count > kStoneTotal)
            return "stone count " + std::to_string(count) + " at position " + std::to_string(pit) +
                   " exceeds " + std::to_string(kStoneTotal);
        total += count;
        request.board.stones[pit] = count;
    }
    if (total != kStoneTotal)
        return "stone counts add up to " + std::to_string(total) + ", not " +
               std::to_string(kStoneTotal);
    request.board.sideToMove = static_cast<uint8_t>(*line.side);
    request.depth = line.depth.value_or(0);
    return std::nullopt;
}

} // namespace

std::optional<std::string> parseArguments(std::span<const std::string_view> arguments,
                                          EngineRequest& request) {
    if (arguments.empty())
        return std::string("missing command: search, perft, solve or bench");
    const std::string_view command = arguments.front();
    const auto rest = arguments.subspan(1);
    ParsedLine line;
    if (command == "search") {
        constexpr std::string_view options[] = {"--depth", "--side", "--workers"};
        if (auto error = readLine(rest, options, line))
            return error;
        if (auto error = readWorkers(line, request))
            return error;
        request.command = EngineCommand::Search;
        return readPosition(line, true, request);
    }
    if (command == "perft") {
        constexpr std::string_view options[] = {"--depth", "--side"};
        if (auto error = readLine(rest, options, line))
            return error;
        request.command = EngineCommand::Perft;
        return readPosition(line, true, request);
    }
    if (command == "solve") {
        constexpr std::string_view options[] = {"--side"};
        if (auto error = readLine(rest, options, line))
            return error;
        request.command = EngineCommand::Solve;
        return readPosition(line, false, request);
    }
    if (command == "bench") {
        constexpr std::string_view options[] = {"--depth", "--workers"};
        if (auto error = readLine(rest, options, line))
            return error;
        if (!line.numbers.empty())
            return "bench takes no position: unexpected " + std::to_string(line.numbers.front());
        if (line.depth) {
            if (auto error = checkDepth(*line.depth))
                return error;
        }
        if (auto error = readWorkers(line, request))
            return error;
        request.command = EngineCommand::Bench;
        request.depth = line.depth.value_or(0);
        return std::nullopt;
    }
    return "unknown command " + quoted(command) + ": use search, perft, solve or bench";
}

} // namespace pebbo
