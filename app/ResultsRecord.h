#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>

namespace pebbo {

// One level's finished games, from the user's view.
struct LevelResults {
    int64_t won = 0;
    int64_t lost = 0;
    int64_t drawn = 0;
    int64_t marginSum = 0; // the user's store minus the computer's, summed over the games

    bool operator==(const LevelResults&) const = default;
};

// The user's results per level, kept in a file beside the settings. Finished
// games are added from the Game's threads while the Results dialog reads and
// resets on the user-interface thread, so every operation takes the record's lock.
class ResultsRecord {
public:
    explicit ResultsRecord(std::filesystem::path file); // loads; no file: an empty record
    ResultsRecord(const ResultsRecord&) = delete;
    ResultsRecord& operator=(const ResultsRecord&) = delete;

    // Adds one finished game at `level` (clamped to 0..3) and saves the record.
    void add(int32_t level, int32_t margin);
    // Clears every level and saves the empty record.
    void reset();
    LevelResults at(int32_t level) const;

    // The file's text: "Level0=W,L,D,M" to "Level3=...", CR LF. A damaged text
    // gives an empty record; unknown lines are ignored.
    void parse(const std::string& text);
    std::string format() const;

private:
    bool save() const; // under `mutex`

    mutable std::mutex mutex;
    std::filesystem::path path;
    std::array<LevelResults, 4> levels{};
};

// "PebboResults.txt" in the settings file's folder; empty when that is unknown.
std::filesystem::path defaultResultsFile();

} // namespace pebbo
