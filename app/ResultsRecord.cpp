#include "app/ResultsRecord.h"

#include "app/Settings.h"
#include "app/SettingsFile.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>

namespace pebbo {
namespace {

constexpr std::string_view kKey = "Level";
// No real record comes near it, and every later game's sum stays far from overflowing.
constexpr int64_t kLargestFigure = int64_t{1} << 53;

// "W,L,D,M": four decimal integers, the counts not negative, none beyond
// kLargestFigure; anything else is damaged.
std::optional<LevelResults> readValues(std::string_view text) {
    std::array<int64_t, 4> values{};
    const char* at = text.data();
    const char* const end = text.data() + text.size();
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0 && (at == end || *at++ != ','))
            return std::nullopt;
        const auto [next, error] = std::from_chars(at, end, values[i]);
        if (error != std::errc() || (i < 3 && values[i] < 0) || values[i] > kLargestFigure ||
            values[i] < -kLargestFigure)
            return std::nullopt;
        at = next;
    }
    if (at != end)
        return std::nullopt;
    return LevelResults{values[0], values[1], values[2], values[3]};
}

std::string formatLevels(const std::array<LevelResults, 4>& levels) {
    std::string text;
    for (size_t level = 0; level < levels.size(); ++level) {
        const LevelResults& results = levels[level];
        text += std::string(kKey) + std::to_string(level) + '=' + std::to_string(results.won) +
                ',' + std::to_string(results.lost) + ',' + std::to_string(results.drawn) + ',' +
                std::to_string(results.marginSum) + "\r\n";
    }
    return text;
}

} // namespace

ResultsRecord::ResultsRecord(std::filesystem::path file) : path(std::move(file)) {
    if (path.empty())
        return;
    std::ifstream in(path, std::ios::binary);
    if (in)
        parse(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

void ResultsRecord::add(int32_t level, int32_t margin) {
    std::lock_guard lock(mutex);
    LevelResults& results = levels[validLevel(level)];
    ++(margin > 0 ? results.won : margin < 0 ? results.lost : results.drawn);
    results.marginSum += margin;
    save();
}

void ResultsRecord::reset() {
    std::lock_guard lock(mutex);
    levels = {};
    save();
}

LevelResults ResultsRecord::at(int32_t level) const {
    std::lock_guard lock(mutex);
    return levels[validLevel(level)];
}

// A line "LevelN=" with N from 0 to 3 must hold four integers, the first three
// (the counts) not negative: otherwise the whole record is empty, as a record
// that lies in one place cannot be trusted in the others. A later line of the
// same level overrides; every other line is ignored. LF or CR LF ends a line.
void ResultsRecord::parse(const std::string& text) {
    std::array<LevelResults, 4> read{};
    for (size_t start = 0; start < text.size();) {
        const size_t newline = std::min(text.find('\n', start), text.size());
        std::string_view line(text.data() + start, newline - start);
        start = newline + 1;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (line.size() < kKey.size() + 2 || !line.starts_with(kKey) ||
            line[kKey.size() + 1] != '=')
            continue;
        const char digit = line[kKey.size()];
        if (digit < '0' || digit > '3')
            continue;
        const std::optional<LevelResults> values = readValues(line.substr(kKey.size() + 2));
        if (!values) {
            read = {};
            break;
        }
        read[digit - '0'] = *values;
    }
    std::lock_guard lock(mutex);
    levels = read;
}

std::string ResultsRecord::format() const {
    std::lock_guard lock(mutex);
    return formatLevels(levels);
}

bool ResultsRecord::save() const {
    return !path.empty() && replaceFileContent(path, formatLevels(levels));
}

std::filesystem::path defaultResultsFile() {
    const std::filesystem::path settings = defaultSettingsFile();
    if (settings.empty())
        return {};
    return settings.parent_path() / "PebboResults.txt";
}

} // namespace pebbo
