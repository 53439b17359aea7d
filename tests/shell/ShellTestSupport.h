#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "game/Clock.h"
#include "game/SoundBank.h"

namespace pebbo::test {

// Runs the thread's messages until `done` holds or `timeout` passes; returns `done()`.
bool pumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(10));
// Runs the thread's messages for `duration`.
void pumpFor(std::chrono::milliseconds duration);

// A plain top-level window standing in for the main window.
class HostWindow {
public:
    HostWindow(int clientWidth, int clientHeight);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND handle() const { return window; }
    // Destroys the window and its children now, as the end of the program does.
    void destroy();

private:
    HWND window = nullptr;
};

// What a window shows in `rect` (its client coordinates), one COLORREF per pixel.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> colors;
    friend bool operator==(const Pixels&, const Pixels&) = default;
    bool contains(COLORREF color) const;
};
Pixels capture(HWND window, const RECT& rect);

// A settings file of its own in the temporary folder, removed afterwards.
class TempSettingsFile {
public:
    TempSettingsFile();
    ~TempSettingsFile();
    TempSettingsFile(const TempSettingsFile&) = delete;
    TempSettingsFile& operator=(const TempSettingsFile&) = delete;
    const std::filesystem::path& path() const { return file; }

private:
    std::filesystem::path file;
};

// Counts what the game asks of its sounds.
class RecordingSounds : public SoundBank {
public:
    void load() override { ++loads; }
    void play(Sound) override { ++plays; }
    std::atomic<int> loads{0};
    std::atomic<int> plays{0};
};

// Real time, but every delay of the game shortened to a millisecond so that
// animated moves finish quickly.
class QuickClock : public Clock {
public:
    uint64_t tickCount() override { return real.tickCount(); }
    void sleep(uint32_t) override { real.sleep(1); }

private:
    SteadyClock real;
};

} // namespace pebbo::test
