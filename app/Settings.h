#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>

namespace pebbo {

inline constexpr int32_t kColorCount = 8;
inline constexpr int32_t kMaxLevel = 3; // "Master"

// The user's preferences. One instance lives for the whole run: the Preferences
// dialog writes it on the user-interface thread while the Game's threads read it,
// so every field is an atomic read afresh at each decision.
struct Settings {
    std::atomic<uint8_t> showTech, animate, animateBest, sound;
    std::atomic<int32_t> level; // kept as read, even outside 0..3: see validLevel
    std::array<std::atomic<int32_t>, kColorCount> colors;

    explicit Settings(std::filesystem::path file); // defaults, then load()
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    void setDefaults();
    // Defaults, then whatever the file holds; a missing file leaves the defaults.
    void load();
    // Temp file in the same folder, then renamed over the old one, so the file is
    // never left half-written; false when it could not be written.
    bool save() const;
    const std::filesystem::path& file() const { return path; }

    // The file's text, as parsed and as written (13 lines, CR LF).
    void parse(const std::string& text);
    std::string format() const;

private:
    std::filesystem::path path;
};

// The per-user settings file; empty when the folder cannot be determined.
std::filesystem::path defaultSettingsFile();

// A level from a hand-edited file may lie outside 0..3: it is clamped, so a
// huge value means the strongest level and a negative one the weakest.
int32_t validLevel(int32_t level);

} // namespace pebbo
